#!/usr/bin/env bash
# A character above U+FFFF, a surrogate pair in Windows' wide text, in setup.tsi (UTF-16, and
# UTF-8 after its mark) and in an archive's file name, through tsa.exe under Wine: the archive is
# found by its name, and the check shows the character whole in its findings and its plan.
#
# usage: tsa_astral_names.sh BIN_DIR WORK_DIR   (SETUP_WIN_ARCH names the build)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
bin=$1 work=$2
# shellcheck source=scripts/windows-target
source "$top/scripts/windows-target"
export WINEPREFIX=${WINEPREFIX:-$top/build/wineprefix}

fail() {
    echo "tsa_astral_names: $*" >&2
    exit 1
}
tsa() { "$SETUP_WINE_RUN" "$bin/tsa.exe" "$@" | tr -d '\r'; }

clef=$'\xf0\x9d\x84\x9e'
# As tsa shows it: itself on a UTF-8 terminal, its bytes escaped on any other.
shown="($clef|\\\\xf0\\\\x9d\\\\x84\\\\x9e)"
rm -rf "$work" && mkdir -p "$work/files" "$work/package"
cd "$work"
printf 'x' >files/a.txt
tsa pack package/a.tsa files >/dev/null || fail "tsa pack failed"
mv package/a.tsa "package/$clef.tsa"

setup="[Dialogs]
License=0
[Component Setup]
NumberOfComponents=1
1=$clef Werkzeug
[Component Files]
1=$clef.tsa
[Startmenu Links]
NumberOfLinks=1
Component1=1
Name1=$clef
File1=$clef.txt
"
for encoding in utf-16 utf-8; do
    if [ $encoding = utf-16 ]; then
        { printf '\xff\xfe'; sed 's/$/\r/' <<<"$setup" | iconv -f utf-8 -t utf-16le; } >package/setup.tsi
    else
        { printf '\xef\xbb\xbf'; sed 's/$/\r/' <<<"$setup"; } >package/setup.tsi
    fi
    tsa check --plan package >check.log || true
    cat check.log
    ! grep -q 'the archive .* is not in the package folder' check.log ||
        fail "$encoding: the archive named with U+1D11E was not found"
    ! grep -q 'the archive cannot be opened' check.log || fail "$encoding: the archive named with U+1D11E was not opened"
    grep -Eq "File1 \\(line 12\\): \"$shown\\.txt\" is not installed by component 1 \\(\"$shown Werkzeug\"\\)" check.log ||
        fail "$encoding: the check does not show U+1D11E whole"
    grep -Eq "^link: $shown\\.lnk -> $shown\\.txt\$" check.log || fail "$encoding: the plan does not show U+1D11E whole"
    grep -q '^file: a.txt$' check.log || fail "$encoding: the plan lacks the archive's file"
done
echo "U+1D11E read whole from setup.tsi in UTF-16 and UTF-8, and found in a file name"
