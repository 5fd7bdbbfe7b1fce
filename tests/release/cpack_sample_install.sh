#!/usr/bin/env bash
# The sample vendor project made into a package with `cpack -G External` through
# cmake/SetupPackage.cmake, and into one program beside it (SETUP_PACKAGE_BUNDLE), which is
# then installed under Wine: the chosen components arrive byte for byte, the one not ticked
# stays out, the links of the chosen ones are made, and the uninstaller and its record lie beside them.
#
# usage: cpack_sample_install.sh BIN_DIR WORK_DIR   (SETUP_WIN_ARCH names the build)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
bin=$1 work=$2
# shellcheck source=scripts/windows-target
source "$top/scripts/windows-target"
arch=win32
[ "$SETUP_WIN_ARCH" = i686 ] || arch=win64

fail() {
    echo "cpack_sample_install: $*" >&2
    exit 1
}

rm -rf "$work" && mkdir -p "$work"
cp -r "$top/tests/release/cpack_sample" "$work/project"
# A program file of every byte value, larger than one read of the installer.
mkdir -p "$work/project/program/bin"
python3 -c 'import sys; sys.stdout.buffer.write(bytes(range(256)) * 1200)' >"$work/project/program/bin/engine.dat"

cmake -S "$work/project" -B "$work/build" -DCMAKE_MODULE_PATH="$top/cmake" -DSETUP_PACKAGE_ARCH=$arch \
    -DSETUP_PACKAGE_PROGRAMS="$bin" -DSETUP_PACKAGE_TSA="$SETUP_WINE_RUN;$bin/tsa.exe" -DSETUP_PACKAGE_BUNDLE=ON \
    >"$work/configure.log" ||
    { cat "$work/configure.log"; fail "the sample project does not configure"; }
(cd "$work/build" && cpack -G External) | tee "$work/cpack.log" || fail "cpack failed"

package=$work/build/Quillmark-3.2.1-$arch
for file in setup.exe lumora.dll uninstall.exe setup.tsi licence.txt program.tsa manual.tsa samples.tsa; do
    [ -f "$package/$file" ] || fail "the package holds no $file"
done
cmp "$bin/setup.exe" "$package/setup.exe" || fail "setup.exe is not the kit's"
tsi=$(tr -d '\r' <"$package/setup.tsi")
for line in "Name=Quillmark" "Version=3.2.1" "Company=Quillmark Writers" "DirName=Quillmark" \
    "NumberOfComponents=3" "1=Quillmark program" "2=Manual" "3=Sample notebooks" "LicenseFile=licence.txt" \
    "3=A notebook for people who write by hand." "NumberOfLinks=2" "File2=manual\\index.html" "Enabled=1"; do
    grep -qxF "$line" <<<"$tsi" || fail "setup.tsi lacks the line $line"
done
grep -A3 -xF "[Component Config]" <<<"$tsi" | tr '\n' ' ' | grep -qF "1=required 2=default 3=optional" ||
    fail "the components' states are not required, default, optional"
grep -q "warning: setup.exe: carries no signature" "$work/cpack.log" || fail "cpack did not show tsa check's findings"
[ -f "$package.exe" ] || fail "cpack made no bundle beside the package folder"

# The bundle installed as a user would install it, into a folder of the test's own.
mkdir -p "$work/installed"
destination=$(winepath_w "$work/installed")\\Quillmark
"$SETUP_WINE_RUN" "$bin/wizard_walk.exe" "$(winepath_w "$package")" --destination "$destination" \
    --bundle "$(winepath_w "$package.exe")" | tr -d '\r' | tee "$work/walk.log"
grep -q "^setup.exe ended with exit code 0" "$work/walk.log" || fail "the bundle did not end well"
links=$(winepath_u "$(sed -n 's/^shortcuts in: //p' "$work/walk.log")")

expected=$work/expected
mkdir -p "$expected/manual"
cp -r "$work/project/program/." "$expected/"
cp -r "$work/project/manual/." "$expected/manual/"
diff -r -x uninstall.exe -x uninstall.dat "$expected" "$work/installed/Quillmark" ||
    fail "the installed files differ from the project's"
[ -f "$work/installed/Quillmark/uninstall.exe" ] && [ -f "$work/installed/Quillmark/uninstall.dat" ] ||
    fail "the package left no uninstaller and record"
echo "installed byte for byte: $(find "$expected" -type f | wc -l) files"
status=0
for link in "Quillmark notes.lnk" "Quillmark manual.lnk"; do
    [ -f "$links/$link" ] || { echo "no Start-menu link $link in $links" >&2; status=1; }
done
rm -rf "$links"
exit $status
