#!/usr/bin/env bash
# The window commands by caption against real windows under Wine: "restore" shows a window
# that was never shown, "show" brings another program's window to the front but never one of
# Tovlen's own (its preferences stay behind Notepad), "show tovlen" leaves Tovlen working, and
# "close" ends a hidden window's program. The windows are tests/win/stand_in_window.cpp.
source "$(dirname "$0")/lib.sh"
e2e_setup windows 200

install_dir="$WINEPREFIX/drive_c/Tovlen"
mkdir -p "$install_dir"
cp "$BUILD_WIN/Tovlen.exe" "$BUILD_WIN/stand_in_window.exe" "$install_dir/"
e2e_no_welcome

visible() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
exists() { xdotool search --name "^$1\$" >/dev/null 2>&1; }

e2e_start 'C:\Tovlen\stand_in_window.exe' 'E2E Hidden Tool' hidden
hidden_pid=$E2E_LAST_PID
e2e_start 'C:\Tovlen\stand_in_window.exe' 'E2E Other Tool'
e2e_until 30 visible 'E2E Other Tool' || e2e_fail "the visible stand-in did not open"
e2e_until 30 exists 'E2E Hidden Tool' || e2e_fail "the hidden stand-in made no window"
[ -z "$(visible 'E2E Hidden Tool')" ] || e2e_fail "the hidden stand-in is on the screen"

e2e_focus_notepad
e2e_start 'C:\Tovlen\Tovlen.exe'
tovlen_pid=$E2E_LAST_PID
e2e_wait_tovlen_ready
xdotool mousemove --window "$E2E_NOTEPAD" 300 200 click 1
sleep 0.3

e2e_submit "restore e2e hidden"
e2e_until 15 visible 'E2E Hidden Tool' || e2e_fail "\"restore\" did not show the hidden window"
e2e_shot windows-restored

# in_front TITLE: whether the window of that title is the foreground window.
in_front() {
    timeout 30 wine "$BUILD_WIN/window_texts.exe" "$1" 2>/dev/null | tr -d '\r' | grep -qxF "$1 [foreground]"
}
e2e_submit "show e2e other"
e2e_until 15 in_front 'E2E Other Tool' || e2e_fail "\"show\" did not bring the other window to the front"

e2e_submit "preferences"
e2e_until 15 visible 'Tovlen Preferences' || e2e_fail "\"preferences\" did not open the preferences window"
xdotool mousemove --window "$E2E_NOTEPAD" 100 100 click 1 # where the preferences do not cover it
e2e_until 15 eval '! in_front "Tovlen Preferences"' || e2e_fail "a click on Notepad left the preferences in front"
e2e_submit "show tovlen preferences"
e2e_until 15 in_front 'Untitled - Notepad' || e2e_fail "Notepad is not in front after \"show tovlen preferences\""
sleep 1
in_front 'Tovlen Preferences' && e2e_fail "\"show\" brought Tovlen's own window to the front"

e2e_submit "show tovlen"
e2e_until 15 e2e_no_command_window || e2e_fail "the command window stayed after \"show tovlen\""
kill -0 "$tovlen_pid" 2>/dev/null || e2e_fail "\"show tovlen\" ended Tovlen"

e2e_submit "close e2e hidden"
e2e_until 15 eval '! kill -0 "$hidden_pid"' || e2e_fail "\"close\" did not end the stand-in's program"

e2e_submit exit
e2e_until 20 eval '! kill -0 "$tovlen_pid"' || e2e_fail "Tovlen did not end on exit"
e2e_log "PASS windows"
