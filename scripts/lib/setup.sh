# Shared by the scripts: installs the Debian packages a step needs, when they are missing.
# Usage: . scripts/lib/setup.sh; need_packages host|win32|wine|analysis ...
# (analysis: the fuzzer's compiler and the static checkers)

# Packages by purpose; wine32 needs the i386 architecture in dpkg.
declare -A PACKAGES=(
    [host]="cmake make g++ libgtest-dev"
    [win32]="cmake make g++-mingw-w64-i686"
    [wine]="wine wine32:i386 fonts-wine xvfb xdotool imagemagick"
    [analysis]="clang libclang-rt-dev clang-format clang-tidy cppcheck"
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

package_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"
}

need_packages() {
    local purpose package missing=()
    for purpose in "$@"; do
        for package in ${PACKAGES[$purpose]}; do
            package_installed "$package" || missing+=("$package")
        done
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
