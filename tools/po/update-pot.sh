#!/usr/bin/env bash
# Writes po/kestrovane.pot, the translators' template: the texts marked in the code (Tr, TrN, TrNoop), the
# content's texts (tools/po/content_pot.py) and the desktop entry and AppStream data.
# usage: tools/po/update-pot.sh [output]   (from anywhere; `make update-po` runs it, then msgmerge; the check
# of the catalogues writes a fresh one elsewhere to compare)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
output=$(realpath -m "${1:-$root/po/kestrovane.pot}")
cd "$root"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

git ls-files --cached --others --exclude-standard 'src/*.cpp' 'src/*.h' | sort > "$work/sources"
xgettext --from-code=UTF-8 --language=C++ --keyword= --keyword=Tr --keyword=TrN:1,2 --keyword=TrNoop \
  --add-comments=TRANSLATORS: --add-location=file --sort-by-file --files-from="$work/sources" -o "$work/code.pot"
python3 tools/po/content_pot.py assets "$work/content.pot"
xgettext --from-code=UTF-8 --add-location=file --language=Desktop --keyword= --keyword=Name --keyword=GenericName \
  --keyword=Comment --keyword=Keywords -o "$work/desktop.pot" packaging/kestrovane.desktop.in
xgettext --from-code=UTF-8 --add-location=file --its=/usr/share/gettext/its/metainfo.its -o "$work/metainfo.pot" \
  packaging/kestrovane.metainfo.xml.in
msgcat --use-first --add-location=file --sort-by-file "$work/code.pot" "$work/content.pot" "$work/desktop.pot" "$work/metainfo.pot" \
  -o "$work/all.pot"
# The header names the package; no creation date, so an unchanged template stays byte for byte the same.
sed -e 's/^"Project-Id-Version: .*/"Project-Id-Version: kestrovane\\n"/' \
    -e '/^"POT-Creation-Date: /d' \
    -e 's/^"Content-Type: text\/plain; charset=CHARSET\\n"/"Content-Type: text\/plain; charset=UTF-8\\n"/' \
    "$work/all.pot" > "$output"
echo "$output: $(grep -c '^msgid ' "$output") messages"
