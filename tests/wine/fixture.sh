#!/usr/bin/env bash
# Wine test fixture: a throwaway prefix of one architecture and a private X display, under ROOT.
#   fixture.sh ROOT ARCH setup      a fresh ARCH (win32|win64) prefix, Xvfb, a persistent wineserver
#   fixture.sh ROOT ARCH run [--exe-is-win32] TEST_EXE MORVANE_EXE ARGS...
#                                   TEST_EXE under the prefix's own loader, with its display;
#                                   with --dpi=N among ARGS, at N DPI (150 % is 144), with
#                                   DPI-unaware programs stretched, as Windows sets it; with
#                                   --lang=LL_CC[@latin], in that display language
#   fixture.sh ROOT ARCH cleanup    stops wineserver and Xvfb, removes the prefix
# Where this host cannot run 32-bit code, a win32 step prints the reason and exits with 77,
# which CTest reports as skipped. A 64-bit TEST_EXE whose MORVANE_EXE is 32-bit
# (--exe-is-win32) still runs: it checks its arguments and does all it can, and skips with
# the reason, in MORVANE_WIN32_REFUSED, when it would first start MORVANE_EXE.
set -euo pipefail

root=$1
arch=$2
action=$3
shift 3

. "$(dirname "$0")/../../scripts/lib/wine.sh"

SKIPPED=77
loader=$(wine_loader "$arch")
server=$(wine_server)
export WINEPREFIX="$root/prefix"
export WINEARCH="$arch"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer at boot; and no winemenubuilder, which Wine starts on every
# association change to rewrite the host's desktop menus and file types.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
# The Linux tools the dialog test runs; set either beforehand to try another (or a broken) one.
export MORVANE_XDOTOOL="${MORVANE_XDOTOOL-$(command -v xdotool || true)}"
export MORVANE_IMPORT="${MORVANE_IMPORT-$(command -v import || true)}"
export MORVANE_WORK="$root"
export MORVANE_WINE_LOADER="$loader"  # for a test that runs a program under a Wine debug channel
export MORVANE_LOCPATH                 # the locales a test may run the program in (as LOCPATH)

skip_unless_win32_runs() {
    local reason
    if reason=$(win32_refused "$(dirname "$root")"); then
        echo "SKIP: $reason"
        exit "$SKIPPED"
    fi
}

stop() {
    if [ -d "$WINEPREFIX" ]; then
        "$server" -k >/dev/null 2>&1 || true
    fi
    if [ -f "$root/xvfb.pid" ]; then
        kill "$(cat "$root/xvfb.pid")" >/dev/null 2>&1 || true
        rm -f "$root/xvfb.pid"
    fi
}

# Sets the prefix's DPI (none: back to the default) and restarts it, since Wine reads it
# when its desktop starts. DpiScalingVer turns on the stretching of DPI-unaware programs.
set_dpi() {
    local desktop='HKCU\Control Panel\Desktop'
    "$server" -k >/dev/null 2>&1 || true
    "$server" -w
    "$server" -p
    if [ -n "$1" ]; then
        "$loader" reg add "$desktop" /v LogPixels /t REG_DWORD /d "$1" /f
        "$loader" reg add "$desktop" /v DpiScalingVer /t REG_DWORD /d 0x1018 /f
    else
        "$loader" reg delete "$desktop" /v LogPixels /f
        "$loader" reg delete "$desktop" /v DpiScalingVer /f
    fi
} </dev/null >>"$root/setup.log" 2>&1

use_display() {
    DISPLAY=":$(cat "$root/display")"
    export DISPLAY
}

case "$action" in
setup)
    stop
    rm -rf "$root"
    [ "$arch" = win32 ] && skip_unless_win32_runs
    mkdir -p "$root"
    # Xvfb picks a free display and writes its number to fd 3.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$root/display" \
        </dev/null >"$root/xvfb.log" 2>&1 &
    echo $! >"$root/xvfb.pid"
    for _ in $(seq 100); do
        [ -s "$root/display" ] && break
        sleep 0.1
    done
    [ -s "$root/display" ] || { echo "Xvfb did not start"; cat "$root/xvfb.log"; exit 1; }
    use_display
    # Every Wine process gets the log, never CTest's output pipe, so none holds it open.
    {
        "$server" -p
        "$loader" wineboot -i
        # Wine draws its own window frames (no window manager runs), plays no sound,
        # and a crash ends the process instead of waiting on a dialog.
        "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
        "$loader" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f
        "$loader" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
        # Windows draws its current theme; Wine has one, off until chosen.
        theme='HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager'
        "$loader" reg add "$theme" /v ThemeActive /d 1 /f
        "$loader" reg add "$theme" /v DllName /d 'C:\windows\resources\themes\light\light.msstyles' /f
        "$loader" reg add "$theme" /v ColorName /d Blue /f
        "$loader" reg add "$theme" /v SizeName /d NormalSize /f
        wine_fonts "$loader"
        # The Recycle Bin's class key as Wine made it, for the tests to start each case from.
        "$loader" reg copy 'HKCR\CLSID\{645FF040-5081-101B-9F08-00AA002F954E}' \
            'HKCU\Software\Morvane Tests\Recycle Bin class' /s /f
    } </dev/null >"$root/setup.log" 2>&1 || { cat "$root/setup.log"; exit 1; }
    # Dialogs use the classic bitmap fonts when Wine's own font files are at hand.
    for fonts in /usr/share/wine/fonts /usr/local/share/wine/fonts; do
        [ -d "$fonts" ] && cp -n "$fonts"/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    done
    # Every language the program ships, for the tests that run it in the user's language;
    # generated side by side.
    makers=()
    for rc in "$(dirname "$0")"/../../res/lang/*.rc; do
        lang=$(glibc_locale "$(basename "$rc" .rc)")
        { make_locale "$lang" >>"$root/setup.log" 2>&1 || echo "no locale $lang: see $root/setup.log"; } &
        makers+=($!)
    done
    wait "${makers[@]}"
    echo "$arch prefix $WINEPREFIX through $loader, display $DISPLAY"
    ;;
run)
    [ "$arch" = win32 ] && skip_unless_win32_runs
    unset MORVANE_WIN32_REFUSED
    if [ "${1:-}" = --exe-is-win32 ]; then
        shift
        if reason=$(win32_refused "$(dirname "$root")"); then
            export MORVANE_WIN32_REFUSED="$reason"
        fi
    fi
    if [ ! -f "${2:-}" ]; then
        echo "SKIP: ${2:-the program under test} is not built (build its preset first)"
        exit "$SKIPPED"
    fi
    use_display
    export MORVANE_LAUNCH="$(dirname "$1")/launch.exe"  # the exact-line launcher, beside TEST_EXE
    dpi=
    for arg in "$@"; do
        case "$arg" in
        --dpi=*) dpi=${arg#--dpi=} ;;
        # The display language, from the locale the setup generated, and its script's fonts.
        --lang=*) export LC_ALL="$(utf8_locale "${arg#--lang=}")" LOCPATH="$MORVANE_LOCPATH"
            wine_fonts "$loader" "${arg#--lang=}" </dev/null >>"$root/setup.log" 2>&1 ;;
        esac
    done
    [ -z "$dpi" ] && exec "$loader" "$@"
    set_dpi "$dpi"
    status=0
    "$loader" "$@" || status=$?
    set_dpi ""
    exit "$status"
    ;;
cleanup)
    stop
    [ -n "${MORVANE_KEEP_PREFIX:-}" ] || rm -rf "$WINEPREFIX"
    ;;
*)
    echo "usage: $0 ROOT win32|win64 setup|run [--exe-is-win32] TEST_EXE MORVANE_EXE ...|cleanup" >&2
    exit 2
    ;;
esac
