#!/usr/bin/env python3
"""Writes the site's service worker: every file of the built site listed, and the cache named after a hash of
their names and content, so that any change to any file makes a new cache. Usage: site-worker.py <template>
<site folder>; writes <site folder>/sw.js."""
import hashlib
import json
import sys
from pathlib import Path


def main():
    template, site = Path(sys.argv[1]), Path(sys.argv[2])
    worker = site / "sw.js"
    files = sorted(p.relative_to(site).as_posix() for p in site.rglob("*") if p.is_file() and p != worker)
    digest = hashlib.sha256()
    for name in files:
        digest.update(name.encode() + b"\0")
        digest.update((site / name).read_bytes())
    text = template.read_text().replace("@HASH@", digest.hexdigest()[:16]).replace("@FILES@", json.dumps(files))
    # Rewritten only when it changes, so an unchanged site keeps its worker byte for byte.
    if not worker.exists() or worker.read_text() != text:
        worker.write_text(text)


if __name__ == "__main__":
    main()
