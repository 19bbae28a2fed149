#!/usr/bin/env python3
"""Writes the translators' template entries of the content's texts: each paragraph of the story, the opening
and the ending page (the story screen lays a translation out again, so a paragraph is one message, its lines
joined by single spaces).

usage: content_pot.py <assets folder> <output .pot>
"""
import sys
from pathlib import Path


def paragraphs(lines):
    """(line number, message) of every paragraph: runs of non-empty lines that are not comments."""
    found = []
    current = []
    start = 0
    for number, line in enumerate(lines, 1):
        if line.startswith("//"):
            continue
        # The ending page's mark ends the opening's last paragraph and is no text.
        if line.rstrip("\r") == "[ending]":
            line = ""
        text = line.rstrip(" \r")
        if not text.strip():
            if current:
                found.append((start, " ".join(current)))
            current = []
            continue
        if not current:
            start = number
        current.append(text)
    if current:
        found.append((start, " ".join(current)))
    return found


def quote(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def main(assets, output):
    story = Path(assets) / "story.txt"
    # A paragraph that comes twice is one message.
    messages = list(dict.fromkeys(message for _, message in paragraphs(story.read_text(encoding="utf-8-sig").split("\n"))))
    with open(output, "w", encoding="utf-8") as out:
        out.write('msgid ""\nmsgstr ""\n"Content-Type: text/plain; charset=UTF-8\\n"\n\n')
        for message in messages:
            out.write("#. TRANSLATORS: a paragraph of the story. The screen wraps it to lines of 38\n"
                      "#. characters; the opening story shows about 14 lines before it pages.\n")
            out.write(f"#: assets/story.txt\nmsgid {quote(message)}\nmsgstr \"\"\n\n")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
