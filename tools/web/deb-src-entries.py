#!/usr/bin/env python3
"""Prints deb-src entries (deb822) for every enabled Debian deb entry of this system's release: the same
archives, suites and components, so apt-get source fetches the sources of exactly the installed release."""

import glob
import re

APT = "/etc/apt"


def release():
    with open("/etc/os-release") as file:
        for line in file:
            if line.startswith("VERSION_CODENAME="):
                return line.split("=", 1)[1].strip().strip('"')
    raise SystemExit("no VERSION_CODENAME in /etc/os-release")


def one_line_entries(path):
    with open(path) as file:
        for line in file:
            fields = re.sub(r"\[[^]]*\]", "", line.split("#", 1)[0]).split()
            if len(fields) >= 4 and fields[0] == "deb":
                yield {"URIs": [fields[1]], "Suites": [fields[2]], "Components": fields[3:], "Signed-By": None}


def deb822_entries(path):
    with open(path) as file:
        stanzas = re.split(r"\n\s*\n", file.read())
    for stanza in stanzas:
        fields = {}
        for line in stanza.splitlines():
            if line.startswith("#") or ":" not in line:
                continue
            name, value = line.split(":", 1)
            fields[name.strip()] = value.split()
        if "deb" in fields.get("Types", []) and fields.get("Enabled", ["yes"])[0] != "no":
            signed_by = fields.get("Signed-By")
            yield {"URIs": fields.get("URIs", []), "Suites": fields.get("Suites", []),
                   "Components": fields.get("Components", []), "Signed-By": signed_by}


def main():
    codename = release()
    entries = []
    for path in [APT + "/sources.list"] + sorted(glob.glob(APT + "/sources.list.d/*.list")):
        try:
            entries += one_line_entries(path)
        except FileNotFoundError:
            pass
    for path in sorted(glob.glob(APT + "/sources.list.d/*.sources")):
        if not path.endswith("kestrovane-deb-src.sources"):
            entries += deb822_entries(path)
    stanzas = []
    for entry in entries:
        suites = [suite for suite in entry["Suites"] if suite.split("-")[0].split("/")[0] == codename]
        if not suites or not entry["URIs"]:
            continue
        lines = ["Types: deb-src", "URIs: " + " ".join(entry["URIs"]), "Suites: " + " ".join(suites),
                 "Components: " + " ".join(entry["Components"])]
        if entry["Signed-By"]:
            lines.append("Signed-By: " + " ".join(entry["Signed-By"]))
        stanzas.append("\n".join(lines))
    if not stanzas:
        raise SystemExit("no Debian deb entry for %s found under %s" % (codename, APT))
    print("# Debian's source packages for the web build of Kestrovane (tools/install-deps.sh --web).")
    print("\n\n".join(stanzas))


main()
