#!/usr/bin/env bash
# The sample vendor project made into a package with `cpack -G External` through
# cmake/SetupPackage.cmake, and into one program beside it (SETUP_PACKAGE_BUNDLE), which is
# then installed under Wine: the chosen components arrive byte for byte, the one not ticked
# stays out, the links of the chosen ones are made, and the uninstaller and its record lie beside
# them. Then a Cyrillic project made for code page 1251 installs as it should under a system of
# that code page.
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
[ $status = 0 ] || exit $status

# A package for Russian users: names and texts in Cyrillic, written in UTF-8 as CMake holds
# them, made for code page 1251 with no architecture given, from a kit laid out as shipped.
kit=$work/kit cyrillic=$work/cyrillic
mkdir -p "$kit/cmake" "$kit/win32" "$kit/win64"
cp "$top"/cmake/SetupPackage.cmake "$top"/cmake/SetupPackageScript.cmake "$kit/cmake/"
for folder in win32 win64; do cp "$bin/setup.exe" "$bin/lumora.dll" "$bin/uninstall.exe" "$kit/$folder/"; done
cp -r "$top/tests/release/cpack_sample_cyrillic" "$cyrillic"
# A 64-bit program among the installed files makes it a win64 package.
mkdir -p "$cyrillic/program/bin"
python3 -c 'import struct, sys
b = bytearray(0x200)
struct.pack_into("<H", b, 0, 0x5A4D)
struct.pack_into("<I", b, 0x3C, 0x80)
struct.pack_into("<IH", b, 0x80, 0x4550, 0x8664)
sys.stdout.buffer.write(bytes(b))' >"$cyrillic/program/bin/помощник.exe"
cmake -S "$cyrillic" -B "$cyrillic/build" -DCMAKE_MODULE_PATH="$kit/cmake" \
    -DSETUP_PACKAGE_TSA="$SETUP_WINE_RUN;$bin/tsa.exe" >"$cyrillic/configure.log" ||
    { cat "$cyrillic/configure.log"; fail "the Cyrillic project does not configure"; }
(cd "$cyrillic/build" && cpack -G External) | tee "$cyrillic/cpack.log" || fail "cpack failed on the Cyrillic project"
package=$cyrillic/build/Kvillmark-1.0-win64
[ -d "$package" ] || fail "the package is not named win64, though it installs a 64-bit program"
tsi=$(iconv -f cp1251 -t utf-8 <"$package/setup.tsi" | tr -d '\r') || fail "setup.tsi is not in code page 1251"
for line in "Company=Писари Квиллмарка" "DirName=Квиллмарк" "3=Тетрадь для тех, кто пишет от руки." \
    "NumberOfComponents=2" "1=Программа" "2=Руководство" "Name1=Заметки" "File1=Заметки.txt"; do
    grep -qxF "$line" <<<"$tsi" || fail "setup.tsi lacks the line $line"
done
sed 's/$/\r/' "$cyrillic/licence.txt" | iconv -f utf-8 -t cp1251 | cmp - "$package/licence.txt" ||
    fail "the licence is not the project's in code page 1251"

# Installed as on a Russian system, into the destination the wizard proposes.
LC_ALL= LC_CTYPE=ru_RU.UTF-8 LC_MESSAGES=en_US.UTF-8 "$SETUP_WINE_RUN" "$bin/wizard_walk.exe" \
    "$(winepath_w "$package")" | tr -d '\r' | tee "$cyrillic/walk.log"
grep -q "^setup.exe ended with exit code 0" "$cyrillic/walk.log" || fail "the Cyrillic package did not install"
for text in "Тетрадь для тех, кто пишет от руки." "  Руководство" "installed to: .*\\\\Квиллмарк\$"; do
    grep -q "$text" "$cyrillic/walk.log" || fail "the wizard did not show $text"
done
installed=$(winepath_u "$(sed -n 's/^installed to: //p' "$cyrillic/walk.log")")
links=$(winepath_u "$(sed -n 's/^shortcuts in: //p' "$cyrillic/walk.log")")
expected=$cyrillic/expected
mkdir -p "$expected/Руководство"
cp -r "$cyrillic/program/." "$expected/"
cp -r "$cyrillic/manual/." "$expected/Руководство/"
diff -r -x uninstall.exe -x uninstall.dat "$expected" "$installed" ||
    fail "the installed files differ from the Cyrillic project's"
[ -f "$installed/uninstall.exe" ] && [ -f "$installed/uninstall.dat" ] ||
    fail "the Cyrillic package left no uninstaller and record"
echo "installed byte for byte under code page 1251: $(find "$expected" -type f | wc -l) files"
[ -f "$links/Заметки.lnk" ] || fail "no Start-menu link Заметки.lnk in $links"
rm -rf "$installed" "$links"
