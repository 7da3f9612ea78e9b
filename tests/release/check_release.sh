#!/usr/bin/env bash
# The release check: scripts/release run twice, from two build roots, must give the
# same zip byte for byte; its exes must be the exes the other tests ran, its checksums
# must verify, and its entries must be exactly the expected ones.
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
for run in first "second build root"; do
    "$source_dir/scripts/release" --build-root "$work/$run" >"$work/$run.log" 2>&1 ||
        { cat "$work/$run.log"; echo "FAIL: scripts/release ($run)"; exit 1; }
done
first="$work/first/$name"
second="$work/second build root/$name"
check "the zip is named for version $version" test -f "$first"
check "two build roots give the same bytes" cmp "$first" "$second"

unzip -q "$first" -d "$work/unpacked"
listing=$(unzip -Z1 "$first" | tr '\n' ' ')
check "entries, sorted: [$listing]" \
    test "$listing" = "LICENSE README.txt SHA256SUMS restore-name.reg x64/morvane.exe x86/morvane.exe "
check "every entry is -rw-r--r--" \
    test -z "$(unzip -Z "$first" | grep -E '^[-d]' | grep -v '^-rw-r--r--')"
check "the x86 exe is the tested 32-bit build" cmp "$work/unpacked/x86/morvane.exe" "$win32_exe"
check "the x64 exe is the tested 64-bit build" cmp "$work/unpacked/x64/morvane.exe" "$win64_exe"
check "SHA256SUMS covers every other file" \
    test "$(cut -c67- "$work/unpacked/SHA256SUMS" | tr '\n' ' ')" = "LICENSE README.txt restore-name.reg x64/morvane.exe x86/morvane.exe "
reg="$work/unpacked/restore-name.reg"
check "the restore file is the one the Wine test applies" cmp "$reg" "$source_dir/docs/restore-name.reg"
check "the restore file starts with the header regedit expects" test "$(head -n 1 "$reg")" = $'REGEDIT4\r'
check "every line of the restore file ends in CRLF" test -z "$(grep -v $'\r$' "$reg")"
check "SHA256SUMS verifies" bash -c "cd '$work/unpacked' && sha256sum --quiet -c SHA256SUMS"
check "no build path inside the exes" \
    bash -c "! grep -q -a -F -e '$source_dir' -e '$work' '$work/unpacked/x86/morvane.exe' '$work/unpacked/x64/morvane.exe'"

[ "$failures" -eq 0 ] && rm -rf "$work"
echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
