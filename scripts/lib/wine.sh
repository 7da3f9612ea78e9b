# Shared by the scripts and the Wine test fixture: which Wine loader runs which
# architecture, and whether this host can run 32-bit x86 code at all.
# Usage: . scripts/lib/wine.sh; wine_loader win32|win64; win32_refused [DIR]

WINE_LIBDIR="${MORVANE_WINE_LIBDIR:-/usr/lib/wine}"
# Where the set-up keeps apt's reason when 32-bit Wine could not be installed.
WINE32_INSTALL_ERROR="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/wine32-install-error.txt"

# Where the locales for Wine's display language are generated, privately.
MORVANE_LOCPATH="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/locale"

# The glibc locale of a translation's language tag: de-DE is de_DE, sr-Latn-RS is sr_RS@latin.
glibc_locale() {
    case "$1" in
    *-Latn-*) echo "${1%%-*}_${1##*-}@latin" ;;
    *) echo "${1/-/_}" ;;
    esac
}

# The UTF-8 form of a glibc locale, as LC_ALL names it: de_DE.UTF-8, sr_RS.UTF-8@latin.
utf8_locale() {
    case "$1" in
    *@*) echo "${1%@*}.UTF-8@${1#*@}" ;;
    *) echo "$1.UTF-8" ;;
    esac
}

# Generates the UTF-8 form of the locale LL_CC[@modifier] (such as de_DE) in MORVANE_LOCPATH,
# once. Wine takes the display language and the code page from LC_ALL, in that form, with
# LOCPATH set to it.
make_locale() {
    local name
    name=$(utf8_locale "$1")
    [ -d "$MORVANE_LOCPATH/$name" ] && return 0
    mkdir -p "$MORVANE_LOCPATH"
    localedef -i "$1" -f UTF-8 "$MORVANE_LOCPATH/$name"
}

# Windows draws dialogs in MS Shell Dlg, a Tahoma that has Hebrew and Thai and is linked to a
# CJK font of each language (MS UI Gothic, SimSun, Gulim, PMingLiU). Wine's Tahoma has Latin,
# Cyrillic and Arabic only, and a prefix lacks the CJK fonts. So the prefix of this loader is
# told to take WenQuanYi for the CJK fonts (which also has the Greek and Baltic letters Tahoma
# lacks), and, for a display language LL_CC whose script Wine shapes from the dialog font
# alone (Hebrew, Thai), a host font that has it for MS Shell Dlg itself.
#   wine_fonts LOADER [LL_CC]
wine_fonts() {
    local shell_dlg=- name
    case "${2:-}" in
    he_*) shell_dlg='"DejaVu Sans"' ;;
    th_*) shell_dlg='"Loma"' ;;
    esac
    {
        printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
        for name in "MS UI Gothic" SimSun Gulim PMingLiU; do
            printf '"%s"="WenQuanYi Micro Hei"\r\n' "$name"
        done
        printf '"MS Shell Dlg"=%s\r\n' "$shell_dlg"
    } >"$WINEPREFIX/drive_c/morvane-fonts.reg"
    "$1" reg import 'C:\morvane-fonts.reg'
}

# The loader for a prefix of that architecture. Debian's `wine` wrapper always takes the
# 32-bit loader when wine32 is installed, even where it cannot run, so it is never used.
wine_loader() {
    case "$1" in
    win32) echo "$WINE_LIBDIR/wine" ;;
    win64) echo "$WINE_LIBDIR/wine64" ;;
    *) echo "wine_loader: no architecture '$1'" >&2; return 2 ;;
    esac
}

# One wineserver serves a prefix of either architecture; a 64-bit prefix needs the 64-bit one.
wine_server() {
    local server
    for server in "$WINE_LIBDIR/wineserver64" "$WINE_LIBDIR/wineserver32"; do
        [ -x "$server" ] && { echo "$server"; return 0; }
    done
    echo "$WINE_LIBDIR/wineserver"
}

# Runs a tiny static 32-bit x86 Linux program (it only exits with 42) from DIR.
# Prints why 32-bit code does not run here and succeeds; fails when it runs.
# MORVANE_NO_WIN32_EXEC=1 makes the answer no, to try that path on any host.
host_refuses_i386() {
    local dir=${1:-.} probe out status
    if [ "${MORVANE_NO_WIN32_EXEC:-0}" != 0 ]; then
        echo "MORVANE_NO_WIN32_EXEC=$MORVANE_NO_WIN32_EXEC is set"
        return 0
    fi
    mkdir -p "$dir"
    probe=$(mktemp "$dir/i386-probe.XXXXXX")
    # ELF header, one program header, then: xor ebx,ebx; mov bl,42; xor eax,eax; inc eax; int 0x80
    printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0' >"$probe"
    printf '\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\135\0\0\0\135\0\0\0\5\0\0\0\0\20\0\0' >>"$probe"
    printf '\61\333\263\52\61\300\100\315\200' >>"$probe"
    chmod +x "$probe"
    status=0
    out=$("$probe" 2>&1) || status=$?
    rm -f "$probe"
    [ "$status" -eq 42 ] && return 1
    out=${out##*: }
    echo "this host does not run 32-bit x86 code (a 32-bit test program gave: ${out:-exit status $status})"
    return 0
}

# Prints why the 32-bit Wine loader cannot run here and succeeds; fails when it can.
win32_refused() {
    local loader out
    host_refuses_i386 "${1:-.}" && return 0
    loader=$(wine_loader win32)
    if [ ! -x "$loader" ] && [ -s "$WINE32_INSTALL_ERROR" ]; then
        echo "32-bit Wine (package wine32:i386) could not be installed: $(cat "$WINE32_INSTALL_ERROR")"
        return 0
    elif [ ! -x "$loader" ]; then
        echo "the 32-bit Wine loader $loader is not installed (package wine32:i386)"
        return 0
    fi
    if ! out=$("$loader" --version 2>&1); then
        echo "the 32-bit Wine loader does not start: ${out##*: }"
        return 0
    fi
    return 1
}
