#!/usr/bin/env python3
"""Writes the translators' template entries of the content's texts: each paragraph of the story, the opening
and the ending page (the story screen lays a translation out again, so a paragraph is one message, its lines
joined by single spaces).

usage: content_pot.py <assets folder> <output .pot>
"""
import sys
from pathlib import Path


def paragraphs(lines):
    """(at the bottom, message) of every paragraph: runs of non-empty lines that are not comments. After two
    empty lines or more, a paragraph stands at the bottom of the screen."""
    found = []
    current = []
    blanks = 0
    bottom = False
    for line in lines:
        if line.startswith("//"):
            continue
        # The ending page's mark ends the opening's last paragraph and is no text.
        if line.rstrip("\r") == "[ending]":
            line = ""
        text = line.rstrip(" \r")
        if line.rstrip("\r") == "[ending]":
            blanks, bottom = 0, False
        if not text.strip():
            if current:
                found.append((bottom, " ".join(current)))
            current = []
            blanks += 1
            continue
        if not current:
            bottom = bottom or (blanks >= 2 and bool(found))
        current.append(text)
        blanks = 0
    if current:
        found.append((bottom, " ".join(current)))
    return found


def quote(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def main(assets, output):
    story = Path(assets) / "story.txt"
    # A paragraph that comes twice is one message.
    messages = {message: bottom for bottom, message in paragraphs(story.read_text(encoding="utf-8-sig").split("\n"))}
    with open(output, "w", encoding="utf-8") as out:
        out.write('msgid ""\nmsgstr ""\n"Content-Type: text/plain; charset=UTF-8\\n"\n\n')
        for message, bottom in messages.items():
            out.write("#. TRANSLATORS: a paragraph of the story. The screen wraps it to lines of 38\n"
                      "#. characters; the opening story shows about 14 lines before it pages.\n")
            if bottom:
                out.write("#. It stands at the bottom left, beside the planet: keep it about as short as\n"
                          "#. the English.\n")
            out.write(f"#: assets/story.txt\nmsgid {quote(message)}\nmsgstr \"\"\n\n")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
