#!/usr/bin/env bash
# Builds Tovlen.exe and runs it under Wine: on this display when there is one, else on a
# virtual one. Opens the command window once, types "sh", and saves a screenshot of it once a
# screen reader's view of the screen (tests/win/read_accessible.cpp) shows the window with
# that text in it; fails with a message saying what was on screen otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
source scripts/build.sh
deps_install windows e2e docs
build_windows

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX=${WINEPREFIX:-$PWD/build-win/wineprefix-run}
virtual=""
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    n=99
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    virtual=$!
    export DISPLAY=":$n"
    trap 'timeout 20 wineserver -k 2>/dev/null; kill $virtual 2>/dev/null' EXIT
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
if [ ! -d "$WINEPREFIX" ]; then
    timeout 300 wineboot -i >/dev/null 2>&1
    timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    timeout 60 wineserver -w || true
fi

program_dir="$WINEPREFIX/drive_c/Program Files/Tovlen"
mkdir -p "$program_dir"
cp build-win/Tovlen.exe build-win/tovlenctl.exe build-win/read_accessible.exe "$program_dir/"
for extra in build-win/help.pdf res/LIGHTON.ico; do [ -f "$extra" ] && cp "$extra" "$program_dir/"; done

mkdir -p build-win/e2e
source scripts/e2e/lib.sh
E2E_READER='C:\Program Files\Tovlen\read_accessible.exe'
source scripts/e2e/accessible.sh
set +e
# On Windows a swallowed Caps Lock never locks; the X server would lock it and Wine replay that.
if ! e2e_unlock_caps; then
    echo "Could not take the lock off Caps Lock on $DISPLAY, so Wine would see every press twice." >&2
    exit 1
fi
[ -n "$virtual" ] || echo "Caps Lock no longer locks on this X display (setxkbmap restores it)."

# The welcome window would take the foreground from Notepad, and Wine then drops the keys
# typed for the screenshot; Tovlen shows it when started by hand (setting "showwelcome").
e2e_no_welcome
# Wine's low-level hooks see keys only while one of its windows has the X focus.
e2e_focus_notepad
notepad=$E2E_NOTEPAD_PID
e2e_start 'C:\Program Files\Tovlen\Tovlen.exe'
tovlen=$E2E_LAST_PID
e2e_wait_tovlen_ready 90
# A first start in a new prefix can still be settling when the tray icon shows: try again.
opened=""
for _ in 1 2 3 4 5; do
    e2e_focus "$E2E_NOTEPAD"
    e2e_key Caps_Lock
    if e2e_until 5 e2e_command_window; then
        opened=1
        break
    fi
done
# "sh" completes to "shutdown" and lists both shutdown commands; Escape below runs nothing.
shown=""
if [ -n "$opened" ]; then
    e2e_type "sh"
    # The window must show the typed text when the screenshot is taken, and still afterwards.
    if e2e_until 10 e2e_read_has "value=sh" command && e2e_read_has "role=list" suggestion; then
        import -window root build-win/e2e/run-command-window.png
        e2e_command_window >/dev/null && e2e_read_has "value=sh" command && shown=1
    fi
fi
[ -n "$shown" ] || import -window root build-win/e2e/run-command-window.png
if [ -n "$shown" ]; then
    echo "Screenshot of the open command window with \"sh\" typed: build-win/e2e/run-command-window.png"
elif [ -z "$opened" ]; then
    echo "Caps Lock did not open the command window; the screen is in build-win/e2e/run-command-window.png" >&2
else
    echo "The command window did not show the typed \"sh\" with its suggestions; it read:" >&2
    e2e_read command | sed 's/^/    /' >&2
    echo "The screen is in build-win/e2e/run-command-window.png" >&2
fi
e2e_key Escape

if [ -n "$virtual" ]; then
    echo "No display here, so Tovlen ran on a virtual one and has been stopped again."
    kill "$tovlen" "$notepad" 2>/dev/null || true
else
    echo "Tovlen is running (process $tovlen). Press Caps Lock in a Wine window, type, press Enter;"
    echo "type 'exit' and Enter to end it."
    wait "$tovlen" || true
fi
[ -n "$shown" ]
