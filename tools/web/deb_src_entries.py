#!/usr/bin/env python3
"""Writes a private apt sources list of deb-src entries for Debian's own archives, derived from this system's
enabled deb entries with their options kept (signed-by above all), so that `apt-get source` can fetch the
SDL sources without a line of the system's apt configuration changing.

usage: deb_src_entries.py [--etc /etc/apt] [--lists /var/lib/apt/lists] <output folder>

The output folder gets sources.list (one-line entries) and sources.list.d/debian-src.sources (deb822
stanzas), for apt's Dir::Etc::SourceList and Dir::Etc::SourceParts. Third-party repositories are left out,
even when they name Debian's release as their suite: an archive is Debian's when it is served from
debian.org, or when apt's cached Release file for it says "Origin: Debian" (a local mirror)."""

import argparse
import glob
import os
import re
import sys
from urllib.parse import urlsplit

HEADER = "# Debian's source packages for the web build, derived from the system's entries (rewritten each time).\n"
ONE_LINE = re.compile(r"^\s*(deb|deb-src)\s+(\[[^\]]*\]\s+)?(\S+)\s+(\S+)\s*(.*)$")


def cached_release_origin(lists, uri, suite):
    """The Origin of the Release file apt keeps for this archive and suite, or None."""
    name = re.sub(r"^[^:]+://([^@/]*@)?", "", uri).rstrip("/").replace("/", "_")
    for ending in ("InRelease", "Release"):
        path = os.path.join(lists, "%s_dists_%s_%s" % (name, suite.rstrip("/").replace("/", "_"), ending))
        try:
            with open(path, errors="replace") as file:
                for line in file:
                    if line.startswith("Origin:"):
                        return line.split(":", 1)[1].strip()
        except OSError:
            pass
    return None


def is_debian(uri, suites, lists):
    host = (urlsplit(uri).hostname or "").lower()
    if host == "debian.org" or host.endswith(".debian.org"):
        return True
    return any(cached_release_origin(lists, uri, suite) == "Debian" for suite in suites)


def one_line_entries(path, lists):
    """deb-src lines for the file's Debian deb lines, options and all; its own deb-src lines are left out,
    since the deb lines beside them give the same."""
    with open(path, errors="replace") as file:
        for line in file:
            match = ONE_LINE.match(line.split("#", 1)[0])
            if match and match.group(1) == "deb" and is_debian(match.group(3), [match.group(4)], lists):
                options = match.group(2).strip() + " " if match.group(2) else ""
                entry = "deb-src %s%s %s %s" % (options, match.group(3), match.group(4), match.group(5).strip())
                yield entry.rstrip()


def stanzas(text):
    """Each stanza of a deb822 file as a list of (field name, lines), comments left out; a line that starts
    with white space continues the field before it (a Signed-By key written inline, say)."""
    for block in re.split(r"\n[ \t]*\n", text):
        fields = []
        for line in block.splitlines():
            if line.startswith("#"):
                continue
            if line[:1] in (" ", "\t") and fields:
                fields[-1][1].append(line)
            elif ":" in line:
                fields.append((line.split(":", 1)[0].strip().lower(), [line]))
        if fields:
            yield fields


def value(fields, name):
    for field, lines in fields:
        if field == name:
            return " ".join([lines[0].split(":", 1)[1]] + lines[1:]).split()
    return None


def deb822_entries(path, lists):
    """The file's enabled Debian deb stanzas as deb-src stanzas, every other field kept as it is written."""
    with open(path, errors="replace") as file:
        text = file.read()
    for fields in stanzas(text):
        enabled = value(fields, "enabled") or ["yes"]
        if "deb" not in (value(fields, "types") or []) or enabled[0].lower() in ("no", "false", "without"):
            continue
        suites = value(fields, "suites") or []
        uris = [uri for uri in value(fields, "uris") or [] if is_debian(uri, suites, lists)]
        if not uris or not suites:
            continue
        lines = []
        for field, field_lines in fields:
            if field == "types":
                lines.append("Types: deb-src")
            elif field == "uris":
                lines.append("URIs: " + " ".join(uris))
            elif field != "enabled":
                lines += field_lines
        yield "\n".join(lines)


def derive(etc, lists):
    """(one-line entries, deb822 stanzas) for the Debian archives of the apt configuration in etc."""
    lines, blocks = [], []
    for path in [os.path.join(etc, "sources.list")] + sorted(glob.glob(os.path.join(etc, "sources.list.d/*.list"))):
        if os.path.isfile(path):
            lines += [line for line in one_line_entries(path, lists) if line not in lines]
    for path in sorted(glob.glob(os.path.join(etc, "sources.list.d/*.sources"))):
        blocks += [block for block in deb822_entries(path, lists) if block not in blocks]
    return lines, blocks


def write(folder, lines, blocks):
    parts = os.path.join(folder, "sources.list.d")
    os.makedirs(parts, exist_ok=True)
    for stale in glob.glob(os.path.join(parts, "*")):
        os.remove(stale)
    with open(os.path.join(folder, "sources.list"), "w") as file:
        file.write(HEADER + "".join(line + "\n" for line in lines))
    if blocks:
        with open(os.path.join(parts, "debian-src.sources"), "w") as file:
            file.write(HEADER + "\n\n".join(blocks) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--etc", default="/etc/apt")
    parser.add_argument("--lists", default="/var/lib/apt/lists")
    parser.add_argument("folder")
    arguments = parser.parse_args()
    lines, blocks = derive(arguments.etc, arguments.lists)
    if not lines and not blocks:
        print("no enabled entry for a Debian archive under %s, so no Debian source package can be fetched"
              % arguments.etc, file=sys.stderr)
        return 1
    write(arguments.folder, lines, blocks)
    return 0


if __name__ == "__main__":
    sys.exit(main())
