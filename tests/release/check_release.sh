#!/usr/bin/env bash
# The release check: scripts/release's zip must hold exactly the expected entries, its exes
# the exes the other tests ran (once their signatures are removed), and its checksums must
# verify; with them it writes the winget and Scoop manifests. Signing needs a time-stamping
# authority, or the opt-out: two releases signed through a local one, with a PKCS#12 file and
# with a software token, carry its timestamps, and scripts/verify-release proves them
# reproducible, and fails on a copy with one byte changed.
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
# A throwaway CA, valid now only, with a code-signing certificate, as a PKCS#12 file and in a
# software token, and a time-stamping authority's, which answers on 127.0.0.1.
ca="$work/ca"
mkdir -p "$ca/tokens"
echo "throwaway" >"$ca/password"
certify() {  # certify NAME EXTENDED_KEY_USAGE
    openssl req -newkey rsa:2048 -nodes -subj "/CN=Morvane test $1" -keyout "$ca/$1.key" -out "$ca/$1.csr" 2>/dev/null
    openssl x509 -req -in "$ca/$1.csr" -CA "$ca/ca.pem" -CAkey "$ca/ca.key" -CAcreateserial -days 2 -out "$ca/$1.pem" \
        -extfile <(printf 'keyUsage=critical,digitalSignature\nextendedKeyUsage=critical,%s\n' "$2") 2>/dev/null
}
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Morvane test CA" -keyout "$ca/ca.key" -out "$ca/ca.pem" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign 2>/dev/null
certify signer codeSigning
certify tsa timeStamping
openssl pkcs12 -export -inkey "$ca/signer.key" -in "$ca/signer.pem" -certfile "$ca/ca.pem" -passout "file:$ca/password" \
    -out "$ca/signer.p12"
printf '[tsa]\ndefault_tsa=t\n[t]\nserial=%s/serial\nsigner_cert=%s/tsa.pem\nsigner_key=%s/tsa.key\n' "$ca" "$ca" "$ca" >"$ca/tsa.cnf"
printf 'signer_digest=sha256\ndefault_policy=1.2.3.4\ndigests=sha256\ness_cert_id_alg=sha256\n' >>"$ca/tsa.cnf"
# One HTTP request a connection: the query in, the authority's reply out.
cat >"$ca/tsa.sh" <<EOF_
length=0
while IFS= read -r line && [ -n "\${line%\$'\\r'}" ]; do
    case "\${line,,}" in content-length:*) length=\${line//[!0-9]/} ;; esac
done
query=\$(mktemp "$ca/query.XXXXXX")
head -c "\$length" >"\$query"
openssl ts -reply -config "$ca/tsa.cnf" -queryfile "\$query" -out "\$query.tsr" 2>/dev/null
printf 'HTTP/1.0 200 OK\\r\\nContent-Type: application/timestamp-reply\\r\\nContent-Length: %s\\r\\n\\r\\n' "\$(stat -c %s "\$query.tsr")"
cat "\$query.tsr"
EOF_
socat -d -d TCP-LISTEN:0,bind=127.0.0.1,reuseaddr,fork EXEC:"bash $ca/tsa.sh" 2>"$ca/socat.log" &
tsa_pid=$!
trap 'kill $tsa_pid 2>/dev/null' EXIT
for _ in $(seq 50); do
    port=$(sed -n 's/.*listening on .*:\([0-9]*\)$/\1/p' "$ca/socat.log")
    [ -n "$port" ] && break
    sleep 0.1
done
export SOFTHSM2_CONF="$ca/softhsm2.conf"
echo "directories.tokendir = $ca/tokens" >"$SOFTHSM2_CONF"
echo 1234 >"$ca/pin"
softhsm2-util --init-token --free --label morvane --pin 1234 --so-pin 5678 >/dev/null
softhsm2-util --import "$ca/signer.key" --token morvane --label signer --id 01 --pin 1234 >/dev/null
cat "$ca/signer.pem" "$ca/ca.pem" >"$ca/chain.pem"
p12=(MORVANE_SIGN_PKCS12="$ca/signer.p12" MORVANE_SIGN_PASSWORD_FILE="$ca/password" SOURCE_DATE_EPOCH="$(date +%s)")

release first MORVANE_RELEASE_URL=https://example.org/dl MORVANE_CHECKVER_URL=https://example.org/all "${p12[@]}" \
    MORVANE_SIGN_NO_TIMESTAMP=1
first="$work/first/$name"
check "the zip is named for version $version" test -f "$first"
check "signing without a timestamp warns" grep -q "signing without a timestamp" "$work/first.log"
unzip -q "$first" -d "$work/unpacked"
listing=$(unzip -Z1 "$first" | tr '\n' ' ')
check "entries, sorted: [$listing]" \
    test "$listing" = "LICENSE README.txt SHA256SUMS restore-my-name.reg restore-name.reg x64/morvane.exe x86/morvane.exe "
check "every entry is -rw-r--r--" \
    test -z "$(unzip -Z "$first" | grep -E '^[-d]' | grep -v '^-rw-r--r--')"
for exe in x86:"$win32_exe" x64:"$win64_exe"; do
    osslsigncode remove-signature -in "$work/unpacked/${exe%%:*}/morvane.exe" -out "$work/${exe%%:*}.exe" >/dev/null
    check "the ${exe%%:*} exe, its signature removed, is the tested build" cmp "$work/${exe%%:*}.exe" "${exe#*:}"
done
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
    '"checkver": { "url": "https://example.org/all"' '"url": "https://example.org/dl/morvane-$version-windows.zip"'; do
    check "manifests say [$field]" grep -qF "$field" "$w.yaml" "$w.locale.en-US.yaml" "$w.installer.yaml" "$scoop"
done
check "winget: both installers have the zip's SHA-256" test "$(grep -c "^  InstallerSha256: ${hash^^}$" "$w.installer.yaml")" = 2
check "Scoop: both architectures have the zip's URL and SHA-256" \
    test "$(grep -c "\"url\": \"https://example.org/dl/$name\", \"hash\": \"$hash\"" "$scoop")" = 2
for path in $(sed -n 's/.*RelativeFilePath: //p' "$w.installer.yaml") $(sed -n 's/.*"bin": "\([^"]*\)".*/\1/p' "$scoop"); do
    entry=$(echo "$path" | sed 's/\\\\*/\//')
    check "$path is in the zip" bash -c "unzip -Z1 '$first' | grep -qxF '$entry'"
done

# Timestamped twice by the local authority, through the PKCS#12 file and through the token;
# no timestamp, no opt-out: refused before anything is built.
check "signing without a timestamp is refused" bash -c "! env ${p12[*]} '$source_dir/scripts/release' --build-root \
    '$work/refused' >'$work/refused.log' 2>&1 && grep -q 'Not signing without a timestamp' '$work/refused.log'"
release timestamped "${p12[@]}" MORVANE_SIGN_TIMESTAMP_URL="http://127.0.0.1:$port" MORVANE_RELEASE_URL=https://example.org/dl
check "Scoop: no checkver off GitHub without a page of every release" bash -c "! grep -q checkver '$work/timestamped/scoop/morvane.json'"
release token MORVANE_SIGN_PKCS11_MODULE=/usr/lib/softhsm/libsofthsm2.so MORVANE_SIGN_PASSWORD_FILE="$ca/pin" \
    MORVANE_SIGN_PKCS11_KEY="pkcs11:token=morvane;object=signer" MORVANE_SIGN_CERTS="$ca/chain.pem" \
    MORVANE_SIGN_TIMESTAMP_URL="http://127.0.0.1:$port"
for run in timestamped token; do
    unzip -q "$work/$run/$name" -d "$work/$run/unpacked"
    for arch in x86 x64; do
        check "$run: the $arch exe's signature verifies, with the authority's timestamp" bash -c "osslsigncode verify \
            -CAfile '$ca/ca.pem' -TSA-CAfile '$ca/ca.pem' -in '$work/$run/unpacked/$arch/morvane.exe' | grep -q 'Timestamp Server Signature verification: ok'"
    done
done
verify=("$source_dir/scripts/verify-release" --work "$work/verify")
check "verify-release rebuilds the source and passes the timestamped zip" "${verify[@]}" --source "$source_dir" \
    "$work/timestamped/$name"
cp "$work/verify/release/$name" "$work/rebuilt.zip"
check "verify-release passes the token's zip" "${verify[@]}" --against "$work/rebuilt.zip" "$work/token/$name"
mkdir -p "$work/changed/x64" && cp "$work/token/unpacked/x64/morvane.exe" "$work/changed/x64/"
byte=$(od -An -tu1 -j 1100 -N 1 "$work/changed/x64/morvane.exe")
printf "\\$(printf %o $((byte ^ 1)))" | dd of="$work/changed/x64/morvane.exe" bs=1 seek=1100 conv=notrunc 2>/dev/null
cp "$work/token/$name" "$work/changed/$name" && (cd "$work/changed" && zip -q "$name" x64/morvane.exe)
check "verify-release fails on a copy with one byte of an exe's code changed" \
    bash -c "! ${verify[*]} --against '$work/rebuilt.zip' '$work/changed/$name'"

[ "$failures" -eq 0 ] && rm -rf "$work"
echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
