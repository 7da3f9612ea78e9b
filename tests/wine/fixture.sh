#!/usr/bin/env bash
# Wine test fixture: a throwaway 32-bit prefix and a private X display, both under ROOT.
#   fixture.sh ROOT setup      a fresh prefix, Xvfb, a persistent wineserver
#   fixture.sh ROOT run CMD... CMD under Wine, with the fixture's prefix and display
#   fixture.sh ROOT cleanup    stops wineserver and Xvfb, removes the prefix
set -euo pipefail

root=$1
action=$2
shift 2

export WINEPREFIX="$root/prefix"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer at boot; and no winemenubuilder, which Wine starts on every
# association change to rewrite the host's desktop menus and file types.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export MORVANE_XDOTOOL="$(command -v xdotool || true)"
export MORVANE_IMPORT="$(command -v import || true)"
export MORVANE_WORK="$root"

stop() {
    if [ -d "$WINEPREFIX" ]; then
        wineserver -k >/dev/null 2>&1 || true
    fi
    if [ -f "$root/xvfb.pid" ]; then
        kill "$(cat "$root/xvfb.pid")" >/dev/null 2>&1 || true
        rm -f "$root/xvfb.pid"
    fi
}

use_display() {
    DISPLAY=":$(cat "$root/display")"
    export DISPLAY
}

case "$action" in
setup)
    stop
    rm -rf "$root"
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
        wineserver -p
        wineboot -i
        # Wine draws its own window frames (no window manager runs), plays no sound,
        # and a crash ends the process instead of waiting on a dialog.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
        wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    } </dev/null >"$root/setup.log" 2>&1 || { cat "$root/setup.log"; exit 1; }
    # Dialogs use the classic bitmap fonts when Wine's own font files are at hand.
    for fonts in /usr/share/wine/fonts /usr/local/share/wine/fonts; do
        [ -d "$fonts" ] && cp -n "$fonts"/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    done
    echo "prefix $WINEPREFIX, display $DISPLAY"
    ;;
run)
    use_display
    exec wine "$@"
    ;;
cleanup)
    stop
    [ -n "${MORVANE_KEEP_PREFIX:-}" ] || rm -rf "$WINEPREFIX"
    ;;
*)
    echo "usage: $0 ROOT setup|run CMD...|cleanup" >&2
    exit 2
    ;;
esac
