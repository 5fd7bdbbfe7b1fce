#!/usr/bin/env bash
# Signing as a vendor would: a throwaway certificate, setup.exe and lumora.dll signed with
# osslsigncode and verified (a changed byte must fail), `tsa check` saying it cannot verify the
# signed pair and warning of the unsigned one; then the package made into one program with the kit's
# signed launcher and signed whole (a changed byte of what it carries must fail), and the
# signed bundle installing the package under Wine.
#
# usage: signed_install.sh BIN_DIR WORK_DIR   (SETUP_WIN_ARCH names the build)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
bin=$1 work=$2
# shellcheck source=scripts/windows-target
source "$top/scripts/windows-target"

fail() {
    echo "signed_install: $*" >&2
    exit 1
}
tsa() { "$SETUP_WINE_RUN" "$bin/tsa.exe" "$@" | tr -d '\r'; }

rm -rf "$work" && mkdir -p "$work/package" "$work/unsigned" "$work/content/docs"
cd "$work"
openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 2 -subj "/CN=Setup test publisher" \
    -keyout key.pem -out cert.pem 2>/dev/null || fail "openssl made no certificate"
for file in setup.exe lumora.dll; do
    osslsigncode sign -certs cert.pem -key key.pem -h sha256 -n "Setup" -in "$bin/$file" \
        -out "package/$file" >/dev/null || fail "osslsigncode did not sign $file"
    osslsigncode verify -CAfile cert.pem -in "package/$file" >"verify-$file.log" 2>&1 ||
        { cat "verify-$file.log"; fail "the signature of $file does not verify"; }
    grep -q "Signature verification: ok" "verify-$file.log" || fail "osslsigncode did not say $file is sound"
    cp "$bin/$file" "unsigned/$file"
done
# One changed byte of the signed code must break the signature.
cp package/setup.exe tampered.exe
printf 'X' | dd of=tampered.exe bs=1 seek=4096 conv=notrunc status=none
if osslsigncode verify -CAfile cert.pem -in tampered.exe >/dev/null 2>&1; then
    fail "a changed setup.exe still verifies"
fi

# The package: one component, its files of every byte value.
python3 -c 'import sys; sys.stdout.buffer.write(bytes(range(256)) * 700)' >content/data.bin
printf 'signed package\r\n' >content/readme.txt
printf 'help\r\n' >content/docs/help.txt
tsa pack "$(winepath_w "$work/package/main.tsa")" "$(winepath_w "$work/content")" >/dev/null
printf '[Setup]\r\nDisplayBackgroundWindow=0\r\n[Dialogs]\r\nLicense=0\r\nReboot=0\r\n[Directory]\r\nDirName=Signed\r\n[Component Setup]\r\nNumberOfComponents=1\r\n1=Main\r\n[Component Config]\r\n1=required\r\n[Component Files]\r\n1=main.tsa\r\n' \
    >package/setup.tsi
cp package/setup.tsi package/main.tsa unsigned/

signed_check=$(tsa check "$(winepath_w "$work/package")") || { echo "$signed_check"; fail "tsa check failed on the signed package"; }
# tsa for Windows has no library to verify signatures with, and says so (tsa_command_tests
# verify them with tsa for Linux).
for file in setup.exe lumora.dll; do
    grep -q "^warning: $file: is signed, but this build of tsa cannot verify signatures" <<<"$signed_check" ||
        { echo "$signed_check"; fail "tsa check does not say it left the signature of $file unverified"; }
done
unsigned_check=$(tsa check "$(winepath_w "$work/unsigned")") || fail "tsa check failed on the unsigned package"
for file in setup.exe lumora.dll; do
    grep -q "^warning: $file: carries no signature" <<<"$unsigned_check" ||
        { echo "$unsigned_check"; fail "tsa check does not warn of the unsigned $file"; }
done

# The kit's launcher comes signed; the bundle carries its code, and is signed as a whole.
mkdir -p kit
osslsigncode sign -certs cert.pem -key key.pem -h sha256 -n "Setup" -in "$bin/launcher.exe" \
    -out kit/launcher.exe >/dev/null || fail "osslsigncode did not sign the launcher"
tsa bundle --runtime "$(winepath_w "$work/kit")" "$(winepath_w "$work/package")" "$(winepath_w "$work/bundle.exe")" \
    >bundle.log 2>&1 || { cat bundle.log; fail "tsa bundle failed"; }
osslsigncode sign -certs cert.pem -key key.pem -h sha256 -n "Signed Setup" -in bundle.exe \
    -out signed-bundle.exe >/dev/null || fail "osslsigncode did not sign the bundle"
osslsigncode verify -CAfile cert.pem -in signed-bundle.exe >verify-bundle.log 2>&1 ||
    { cat verify-bundle.log; fail "the signature of the bundle does not verify"; }
grep -q "Signature verification: ok" verify-bundle.log || fail "osslsigncode did not say the bundle is sound"
bundle_check=$(tsa bundle --check "$(winepath_w "$work/signed-bundle.exe")") ||
    { echo "$bundle_check"; fail "tsa bundle --check refused the signed bundle"; }
grep -q ", signed: sound$" <<<"$bundle_check" || { echo "$bundle_check"; fail "the bundle is not signed and sound"; }
# One byte of what the bundle carries, near its end.
cp signed-bundle.exe tampered-bundle.exe
size=$(stat -c %s signed-bundle.exe)
printf 'X' | dd of=tampered-bundle.exe bs=1 seek=$((size - 40000)) conv=notrunc status=none
if osslsigncode verify -CAfile cert.pem -in tampered-bundle.exe >/dev/null 2>&1; then
    fail "a changed bundle still verifies"
fi

mkdir -p installed
"$SETUP_WINE_RUN" "$bin/wizard_walk.exe" "$(winepath_w "$work/package")" --bundle "$(winepath_w "$work/signed-bundle.exe")" \
    --destination "$(winepath_w "$work/installed")\\Signed" | tr -d '\r' | tee walk.log
grep -q "^setup.exe ended with exit code 0" walk.log || fail "the signed bundle did not end well"
diff -r content installed/Signed || fail "the signed bundle installed other files"
echo "the signed bundle installed $(find content -type f | wc -l) files byte for byte"
