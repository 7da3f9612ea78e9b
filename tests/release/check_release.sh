#!/usr/bin/env bash
# The release check: scripts/release's zip must hold exactly the expected entries, its exes
# the exes the other tests ran, and its checksums must verify; with them it writes the winget
# and Scoop manifests. Run twice more, from two other build roots, signing the exes with a
# throwaway certificate, it must give the same zip byte for byte, its signatures verifying.
#   check_release.sh SOURCE_DIR WORK_DIR VERSION WIN32_EXE WIN64_EXE
set -euo pipefail
source_dir=$1
work=$2
version=$3
win32_exe=$4
win64_exe=$5
name="morvane-$version-windows.zip"
checks=0
failures=0

check() {  # check DESCRIPTION COMMAND...
    local what=$1
    shift
    checks=$((checks + 1))
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAIL: $what"
        failures=$((failures + 1))
    fi
}

if [ ! -f "$win32_exe" ]; then
    echo "SKIP: $win32_exe is not built (build the win32 preset first)"
    exit 77
fi
# A source archive has no history to date the zip by, so the check gives it a fixed time.
if [ -z "${SOURCE_DATE_EPOCH:-}" ] &&
    [ "$(cd "$source_dir" && git rev-parse --show-prefix 2>/dev/null || echo none)" != "" ]; then
    export SOURCE_DATE_EPOCH=1767225600  # 2026-01-01 00:00 UTC
    echo "not a git checkout: SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH"
fi
rm -rf "$work"
mkdir -p "$work"
release() {  # release RUN [VARIABLE=VALUE...]
    local run=$1
    shift
    env "$@" "$source_dir/scripts/release" --build-root "$work/$run" >"$work/$run.log" 2>&1 ||
        { cat "$work/$run.log"; echo "FAIL: scripts/release ($run)"; exit 1; }
}
release first MORVANE_RELEASE_URL=https://example.org/dl
first="$work/first/$name"
check "the zip is named for version $version" test -f "$first"

unzip -q "$first" -d "$work/unpacked"
listing=$(unzip -Z1 "$first" | tr '\n' ' ')
check "entries, sorted: [$listing]" \
    test "$listing" = "LICENSE README.txt SHA256SUMS restore-my-name.reg restore-name.reg x64/morvane.exe x86/morvane.exe "
check "every entry is -rw-r--r--" \
    test -z "$(unzip -Z "$first" | grep -E '^[-d]' | grep -v '^-rw-r--r--')"
check "the x86 exe is the tested 32-bit build" cmp "$work/unpacked/x86/morvane.exe" "$win32_exe"
check "the x64 exe is the tested 64-bit build" cmp "$work/unpacked/x64/morvane.exe" "$win64_exe"
check "SHA256SUMS covers every other file" \
    test "$(cut -c67- "$work/unpacked/SHA256SUMS" | tr '\n' ' ')" = "LICENSE README.txt restore-my-name.reg restore-name.reg x64/morvane.exe x86/morvane.exe "
for file in restore-name.reg restore-my-name.reg; do
    reg="$work/unpacked/$file"
    check "$file is the one the Wine test applies" cmp "$reg" "$source_dir/docs/$file"
    check "$file starts with the header regedit expects" test "$(head -n 1 "$reg")" = $'REGEDIT4\r'
    check "every line of $file ends in CRLF" test -z "$(grep -v $'\r$' "$reg")"
done
check "SHA256SUMS verifies" bash -c "cd '$work/unpacked' && sha256sum --quiet -c SHA256SUMS"
check "no build path inside the exes" \
    bash -c "! grep -q -a -F -e '$source_dir' -e '$work' '$work/unpacked/x86/morvane.exe' '$work/unpacked/x64/morvane.exe'"

# The manifests: their fields, the zip's hash, and the exes they name, which are in the zip.
hash=$(sha256sum "$first" | cut -c1-64)
w="$work/first/winget/Morvane.Morvane"
scoop="$work/first/scoop/morvane.json"
check "winget: each manifest opens with its schema, 1.12.0" test "$(head -qn1 "$w.yaml" "$w.locale.en-US.yaml" \
    "$w.installer.yaml" | grep -c '^# yaml-language-server: \$schema=https://aka.ms/winget-manifest\.[a-zA-Z]*\.1\.12\.0\.schema\.json$')" = 3
for field in "PackageVersion: $version" "Publisher: The Morvane authors" "PackageName: Morvane" "License: MIT" \
    "ShortDescription: Renames the Recycle Bin" "PackageUrl: https://example.org/dl" "InstallerType: zip" \
    "NestedInstallerType: portable" "Architecture: x86" "Architecture: x64" "PortableCommandAlias: morvane" \
    "InstallerUrl: https://example.org/dl/$name" "InstallerSha256: ${hash^^}" '"version": "'"$version"'"' \
    '"description": "Renames the Recycle Bin"' '"homepage": "https://example.org/dl"' '"license": "MIT"' \
    '"checkver": { "url": "https://example.org/dl/"' '"url": "https://example.org/dl/morvane-$version-windows.zip"'; do
    check "manifests say [$field]" grep -qF "$field" "$w.yaml" "$w.locale.en-US.yaml" "$w.installer.yaml" "$scoop"
done
check "winget: both installers have the zip's SHA-256" test "$(grep -c "^  InstallerSha256: ${hash^^}$" "$w.installer.yaml")" = 2
check "Scoop: both architectures have the zip's URL and SHA-256" \
    test "$(grep -c "\"url\": \"https://example.org/dl/$name\", \"hash\": \"$hash\"" "$scoop")" = 2
for path in $(sed -n 's/.*RelativeFilePath: //p' "$w.installer.yaml") $(sed -n 's/.*"bin": "\([^"]*\)".*/\1/p' "$scoop"); do
    entry=$(echo "$path" | sed 's/\\\\*/\//')
    check "$path is in the zip" bash -c "unzip -Z1 '$first' | grep -qxF '$entry'"
done

# Signed with a throwaway code-signing certificate of a throwaway CA, valid now only: both
# exes verify against that CA, and signing twice gives the same zip.
ca="$work/ca"
mkdir -p "$ca"
echo "throwaway" >"$ca/password"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Morvane test CA" -keyout "$ca/ca.key" -out "$ca/ca.pem" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign 2>/dev/null
openssl req -newkey rsa:2048 -nodes -subj "/CN=Morvane test signer" -keyout "$ca/sign.key" -out "$ca/sign.csr" 2>/dev/null
openssl x509 -req -in "$ca/sign.csr" -CA "$ca/ca.pem" -CAkey "$ca/ca.key" -CAcreateserial -days 2 -out "$ca/sign.pem" \
    -extfile <(printf 'keyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n') 2>/dev/null
openssl pkcs12 -export -inkey "$ca/sign.key" -in "$ca/sign.pem" -certfile "$ca/ca.pem" -passout "file:$ca/password" \
    -out "$ca/sign.p12"
signing=(MORVANE_SIGN_PKCS12="$ca/sign.p12" MORVANE_SIGN_PASSWORD_FILE="$ca/password" SOURCE_DATE_EPOCH="$(date +%s)")
release signed "${signing[@]}"
release "signed in a second build root" "${signing[@]}"
check "two build roots, signing twice, give the same bytes" cmp "$work/signed/$name" "$work/signed in a second build root/$name"
unzip -q "$work/signed/$name" -d "$work/signed/unpacked"
for arch in x86 x64; do
    check "the $arch exe's signature verifies" osslsigncode verify -CAfile "$ca/ca.pem" -in "$work/signed/unpacked/$arch/morvane.exe"
done

[ "$failures" -eq 0 ] && rm -rf "$work"
echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
