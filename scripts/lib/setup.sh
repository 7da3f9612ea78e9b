# Shared by the scripts: installs the Debian packages a step needs, when they are missing.
# Usage: . scripts/lib/setup.sh; need_packages host|windows|wine|analysis|release|signing|signing-test|node ...
# (windows: both MinGW-w64 cross compilers; wine: Wine, its display and tools, the locale
# sources and the fonts the translations' scripts need (WenQuanYi for Chinese, Japanese and
# Korean, DejaVu for Hebrew, TLWG for Thai); analysis: the fuzzer's compiler and the static
# checkers; release: the zip tool; signing: Authenticode signing, from a file or through the
# PKCS#11 engine that osslsigncode loads for a token; signing-test: a software token and a
# loopback server, for the release test's signing and time-stamping authority; node: Node.js and
# npm, for the workflow lint's parser, which need_npm_package installs)

. "$(dirname "${BASH_SOURCE[0]}")/wine.sh"

# Packages by purpose. 32-bit Wine (wine32, from the i386 architecture) is added only
# where the host runs 32-bit code: elsewhere it could not start, and is a large download.
declare -A PACKAGES=(
    [host]="cmake make g++ libgtest-dev"
    [windows]="cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64"
    [wine]="wine wine64 fonts-wine fonts-wqy-microhei fonts-dejavu-core fonts-thai-tlwg locales xvfb xdotool imagemagick"
    [analysis]="clang libclang-rt-dev clang-format clang-tidy cppcheck"
    [release]="zip unzip git"
    [signing]="osslsigncode openssl libengine-pkcs11-openssl"
    [signing-test]="softhsm2 socat"
    [node]="nodejs npm"
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

package_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"
}

need_packages() {
    local purpose package reason missing=()
    local wanted=()
    for purpose in "$@"; do
        wanted+=(${PACKAGES[$purpose]})
        if [ "$purpose" = wine ]; then
            if reason=$(host_refuses_i386 build); then
                echo "Not installing 32-bit Wine: $reason"
            else
                wanted+=(wine32:i386)
            fi
        fi
    done
    for package in "${wanted[@]}"; do
        package_installed "$package" || missing+=("$package")
    done
    if package_installed wine32:i386; then rm -f "$WINE32_INSTALL_ERROR"; fi
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    case " ${missing[*]} " in
    *:i386*)
        dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
        ;;
    esac
    update_package_lists
    install_packages "${missing[@]}"
}

apt_get() {
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -q "$@"
}

# apt-get update, once more after a pause if it fails. Mirrors are sometimes caught
# mid-sync; if an index still fails, the lists that did download are used, and
# apt-get install decides whether they are enough. Names every index that failed.
update_package_lists() {
    local - log attempt status failed
    set -o pipefail
    log=$(mktemp)
    for attempt in 1 2; do
        status=0
        apt_get update 2>&1 | tee "$log" || status=${PIPESTATUS[0]}
        failed=$(sed -n 's/^[EW]: Failed to fetch \([^ ]*\).*/  \1/p' "$log")
        if [ "$status" -eq 0 ] && [ -z "$failed" ]; then
            rm -f "$log"
            return 0
        fi
        echo "apt-get update failed (exit status $status) on attempt $attempt of 2; these indexes failed:"
        echo "${failed:-  (none named: see the messages above)}"
        if [ "$attempt" -eq 1 ]; then sleep "${MORVANE_APT_RETRY_PAUSE:-15}"; fi
    done
    rm -f "$log"
    echo "Going on with the package lists that did download."
}

# apt-get install of the packages given. When the set fails only for 32-bit Wine, the rest
# is installed and apt's reason kept, which the 32-bit Wine tests then quote as they skip.
# Any other failure ends the script with apt's own exit status.
install_packages() {
    local - log status rest=() package
    set -o pipefail
    log=$(mktemp)
    status=0
    apt_get install -y --no-install-recommends "$@" 2>&1 | tee "$log" || status=${PIPESTATUS[0]}
    if [ "$status" -ne 0 ]; then
        for package in "$@"; do
            [ "$package" = wine32:i386 ] || rest+=("$package")
        done
        if [ ${#rest[@]} -eq $# ]; then
            rm -f "$log"
            exit "$status"
        fi
        echo "Trying again without wine32:i386."
        if [ ${#rest[@]} -ne 0 ]; then
            apt_get install -y --no-install-recommends "${rest[@]}" || exit $?
        fi
        mkdir -p "$(dirname "$WINE32_INSTALL_ERROR")"
        { grep '^E: ' "$log" || echo "apt-get install exited with $status"; } | tr '\n' ' ' | sed 's/ $//' \
            >"$WINE32_INSTALL_ERROR"
        echo "Installed all but wine32:i386; the 32-bit Wine tests will be skipped: $(cat "$WINE32_INSTALL_ERROR")"
    fi
    rm -f "$log"
}

# npm install of PACKAGE@VERSION into FOLDER, once, with Debian's Node.js where there is no
# npm at all (another Node.js, with its own npm, is kept). Where the registry cannot be reached,
# the reason goes to FOLDER/unavailable.txt, which the test that needs the package quotes as it
# skips; the run goes on.
need_npm_package() {  # need_npm_package FOLDER PACKAGE@VERSION
    local folder=$1 log
    [ -d "$folder/node_modules/${2%@*}" ] && return 0
    command -v npm >/dev/null || need_packages node
    mkdir -p "$folder"
    if log=$(npm install --no-audit --no-fund --no-save --prefix "$folder" "$2" 2>&1); then
        rm -f "$folder/unavailable.txt"
    else
        echo "npm could not install $2 from $(npm config get registry): $(grep -m1 -iE 'npm (ERR|error)' <<<"$log")" |
            tee "$folder/unavailable.txt"
    fi
}

# The architecture scripts/run and bench/run use by default: 32-bit where it runs.
default_arch() {
    if win32_refused build >/dev/null; then echo win64; else echo win32; fi
}
