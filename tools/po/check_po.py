#!/usr/bin/env python3
"""Checks the translations before they ship: every catalogue of po/LINGUAS compiles with `msgfmt --check`,
has no untranslated or fuzzy message, holds every message of the template, keeps every %1..%9 of each
message, and names a language the game offers; in a git checkout, the template is also the one
tools/po/update-pot.sh would write now.

usage: check_po.py <source folder>
"""
import re
import subprocess
import sys
import tempfile
from pathlib import Path


def entries(po_text):
    """(msgid, [msgstr forms], fuzzy) of every message but the header."""
    found = []
    for block in po_text.split("\n\n"):
        fields = {}
        key = None
        fuzzy = False
        for line in block.split("\n"):
            if line.startswith("#,") and "fuzzy" in line:
                fuzzy = True
            match = re.match(r'^(msgid|msgid_plural|msgstr(?:\[\d+\])?) "(.*)"$', line)
            if match:
                key = match.group(1)
                fields[key] = match.group(2)
            elif line.startswith('"') and key:
                fields[key] += line[1:-1]
        if fields.get("msgid"):
            forms = [value for name, value in sorted(fields.items()) if name.startswith("msgstr")]
            found.append((fields["msgid"], fields.get("msgid_plural"), forms, fuzzy))
    return found


def placeholders(text):
    return set(re.findall(r"%[1-9]", text))


def check(root):
    faults = []
    po = root / "po"
    languages = [line.strip() for line in (po / "LINGUAS").read_text(encoding="utf-8").split("\n")
                 if line.strip() and not line.startswith("#")]
    offered = set(re.findall(r'\{"([A-Za-z_]+)", "', (root / "src/io/Translation.cpp").read_text(encoding="utf-8")))
    template = po / "kestrovane.pot"
    for code in languages:
        catalogue = po / f"{code}.po"
        if code not in offered:
            faults.append(f"{code}: not offered by the game (Translation::Shipped)")
        if not catalogue.exists():
            faults.append(f"{code}: po/{code}.po is missing")
            continue
        result = subprocess.run(["msgfmt", "--check", "--statistics", "-o", "/dev/null", str(catalogue)],
                                capture_output=True, text=True)
        if result.returncode != 0:
            faults.append(f"{code}: msgfmt --check fails:\n{result.stderr}")
        for what in ("fuzzy", "untranslated"):
            if what in result.stderr:
                faults.append(f"{code}: {result.stderr.strip()}")
        compared = subprocess.run(["msgcmp", str(catalogue), str(template)], capture_output=True, text=True)
        if compared.returncode != 0:
            faults.append(f"{code}: lacks messages of the template (make update-po):\n{compared.stderr}")
        for msgid, plural, forms, fuzzy in entries(catalogue.read_text(encoding="utf-8")):
            wanted = placeholders(msgid) | placeholders(plural or "")
            for form in forms:
                if form and placeholders(form) != wanted and not (plural and placeholders(form) <= wanted):
                    faults.append(f'{code}: "{msgid}" shows {sorted(placeholders(form))}, not {sorted(wanted)}')
    for extra in po.glob("*.po"):
        if extra.stem not in languages:
            faults.append(f"{extra.name}: not listed in po/LINGUAS, so it never ships")
    in_git = subprocess.run(["git", "-C", str(root), "rev-parse"], capture_output=True).returncode == 0
    if in_git:
        with tempfile.TemporaryDirectory() as scratch:
            fresh = Path(scratch) / "fresh.pot"
            subprocess.run(["bash", str(root / "tools/po/update-pot.sh"), str(fresh)], check=True,
                           capture_output=True)
            if fresh.read_text(encoding="utf-8") != template.read_text(encoding="utf-8"):
                faults.append("po/kestrovane.pot is out of date with the code: run make update-po")
    return faults


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    faults = check(Path(sys.argv[1]).resolve())
    for fault in faults:
        print(fault)
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
