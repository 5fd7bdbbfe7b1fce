#!/usr/bin/env bash
# A vendor's way from an application folder to an installation, with names beyond ASCII:
# `tsa new` makes the package, the vendor edits setup.tsi (a Start menu folder two levels deep, a
# second link, to the manual, and a third that starts a file by a way out of the destination and
# back), `tsa check --code-page 1252` passes it, and setup.exe installs it under Wine byte for
# byte, with every Start menu link. What the check's plan says the installation writes is what it
# wrote. Wine's system code page is 1252 here, as on the users' machines.
#
# usage: vendor_package_install.sh BIN_DIR WORK_DIR   (SETUP_WIN_ARCH names the build)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
bin=$1 work=$2
# shellcheck source=scripts/windows-target
source "$top/scripts/windows-target"
export LC_ALL= LC_CTYPE=en_US.UTF-8 LC_MESSAGES=en_US.UTF-8
export WINEPREFIX=${WINEPREFIX:-$top/build/wineprefix}

fail() {
    echo "vendor_package_install: $*" >&2
    exit 1
}
tsa() { "$SETUP_WINE_RUN" "$bin/tsa.exe" "$@" | tr -d '\r'; }

rm -rf "$work" && mkdir -p "$work/app/Handbuch" "$work/app/Daten" "$work/installed"
cd "$work"
cp "$bin/wizard_walk.exe" app/viewer.exe
printf 'Caf\xc3\xa9 Viewer\r\n' >app/readme.txt
python3 -c 'import sys; sys.stdout.buffer.write(bytes(range(256)) * 200)' >"app/Handbuch/Überblick – Handbuch.pdf"
printf 'Ort;Preis\r\nZ\xc3\xbcrich;3,50\r\n' >"app/Daten/Café Zürich.csv"
: >app/Daten/leer.txt

tsa new --code-page 1252 --version 2.1 --company "Quorvell Zürich" --runtime "$(winepath_w "$bin")" \
    "Café Viewer" "$(winepath_w "$work/app")" "$(winepath_w "$work/package")" | tee new.log ||
    fail "tsa new did not make the package"
grep -q "^0 errors" new.log || fail "tsa new made a package with errors"

# The vendor's edit, in the file's own code page: the links two levels deep, a second link, to the
# manual, and a third that leaves the destination and comes back.
iconv -f cp1252 -t utf-8 package/setup.tsi | tr -d '\r' >setup.utf8
grep -q '^3=Handbuch$' setup.utf8 || fail "the manual is not component 3"
sed -e 's/^NumberOfLinks=1$/NumberOfLinks=3/' -e 's/^DisplayBackgroundWindow=1$/DisplayBackgroundWindow=0/' \
    -e 's/^StartmenuDirectory=.*$/StartmenuDirectory=Quorvell Zürich\\Café Viewer/' setup.utf8 >edited.utf8
# The new links go into [Startmenu Links], after the first one: a section follows it.
awk '{ print } /^File1=/ { print "Component2=3"; print "Name2=Überblick"; print "File2=Handbuch\\Überblick – Handbuch.pdf"
    print "Component3=1"; print "Name3=Liesmich"; print "File3=..\\Viewer\\readme.txt" }' edited.utf8 >links.utf8
mv links.utf8 edited.utf8
sed 's/$/\r/' edited.utf8 | iconv -f utf-8 -t cp1252 >package/setup.tsi

tsa check --code-page 1252 --plan "$(winepath_w "$work/package")" | tee check.log || fail "tsa check found an error"
grep -q "^0 errors" check.log || fail "tsa check found an error"

programs="$WINEPREFIX/drive_c/users"
find "$programs" -type d -name "Quorvell Zürich" -path "*Programs*" -exec rm -rf {} + 2>/dev/null || true
"$SETUP_WINE_RUN" "$bin/wizard_walk.exe" "$(winepath_w "$work/package")" \
    --destination "$(winepath_w "$work/installed")\\Viewer" | tr -d '\r' | tee walk.log
grep -q "^setup.exe ended with exit code 0" walk.log || fail "setup.exe did not end well"
# tsa new turns removal on: the uninstaller and its record lie beside the application's files.
diff -r -x uninstall.exe -x uninstall.dat app installed/Viewer || fail "setup.exe installed other files than the application's"
[ -f installed/Viewer/uninstall.exe ] && [ -f installed/Viewer/uninstall.dat ] || fail "the uninstaller or its record is missing"
links=$(find "$programs" -path "*Programs/Quorvell Zürich/Café Viewer/*.lnk" | LC_ALL=C sort)
echo "$links"
grep -q "/viewer.lnk$" <<<"$links" || fail "the link to viewer.exe is missing"
grep -q "/Überblick.lnk$" <<<"$links" || fail "the link to the manual is missing"
grep -q "/Liesmich.lnk$" <<<"$links" || fail "the link that leaves the destination and comes back is missing"
grep -aq "Handbuch.pdf" "$(grep "/Überblick.lnk$" <<<"$links")" || fail "the manual's link points elsewhere"

# The check's plan against what was written: the files below the destination and the links below
# the Programs folder. The plan shows characters beyond ASCII escaped: one up to U+00FF as its
# \xNN, any other as the \xNN of its UTF-8 bytes.
unescape() {
    python3 -c '
import re, sys
for line in sys.stdin:
    parts = re.split(r"((?:\\x[0-9a-f]{2})+)", line)
    for k, part in enumerate(parts):
        if k % 2 == 0:
            sys.stdout.write(part)
            continue
        data, at = bytes(int(h, 16) for h in re.findall(r"\\x([0-9a-f]{2})", part)), 0
        while at < len(data):
            for n in (4, 3, 2, 0):
                try:
                    sys.stdout.write(data[at:at + n].decode() if n else chr(data[at]))
                    at += max(n, 1)
                    break
                except UnicodeDecodeError:
                    pass
'
}
sed -n 's/^file: //p' check.log | unescape | tr '\\' / | LC_ALL=C sort >promised-files.txt
(cd installed/Viewer && find . -type f | sed 's#^\./##' | LC_ALL=C sort) >written-files.txt
diff promised-files.txt written-files.txt || fail "the check's plan names other files than setup.exe wrote"
sed -n 's/^link: \(.*\) -> .*$/\1/p' check.log | unescape | tr '\\' / | LC_ALL=C sort >promised-links.txt
sed 's#^.*/Programs/##' <<<"$links" >written-links.txt
diff promised-links.txt written-links.txt || fail "the check's plan names other links than setup.exe made"
echo "the vendor's package installed $(find app -type f | wc -l) files byte for byte, with all three links, as tsa check planned"

# The quiet removal takes every file, folder and link away again; the uninstaller's own file
# goes a moment after it has ended.
"$SETUP_WINE_RUN" "$(winepath_w "$work/installed")\\Viewer\\uninstall.exe" /VERYSILENT ||
    fail "the quiet removal did not end with 0"
for _ in $(seq 50); do [ -e installed/Viewer ] || break; sleep 0.2; done
[ ! -e installed/Viewer ] || fail "the removal left $(find installed/Viewer | head -5 | tr '\n' ' ')"
[ -z "$(find "$programs" -path "*Programs/Quorvell Zürich/Café Viewer*")" ] || fail "the removal left the Start menu folder"
echo "the quiet removal took the $(find app -type f | wc -l) files, their folders and all three links away"
