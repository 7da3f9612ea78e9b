# Shared by the scripts: installs the Debian packages a step needs, when they are missing.
# Usage: . scripts/lib/setup.sh; need_packages host|windows|wine|analysis|release ...
# (windows: both MinGW-w64 cross compilers; analysis: the fuzzer's compiler and the
# static checkers; release: the zip tool)

. "$(dirname "${BASH_SOURCE[0]}")/wine.sh"

# Packages by purpose. 32-bit Wine (wine32, from the i386 architecture) is added only
# where the host runs 32-bit code: elsewhere it could not start, and is a large download.
declare -A PACKAGES=(
    [host]="cmake make g++ libgtest-dev"
    [windows]="cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64"
    [wine]="wine wine64 fonts-wine xvfb xdotool imagemagick"
    [analysis]="clang libclang-rt-dev clang-format clang-tidy cppcheck"
    [release]="zip unzip git"
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
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    case " ${missing[*]} " in
    *:i386*)
        dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
        ;;
    esac
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# The architecture scripts/run and bench/run use by default: 32-bit where it runs.
default_arch() {
    if win32_refused build >/dev/null; then echo win64; else echo win32; fi
}
