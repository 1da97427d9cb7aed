#!/usr/bin/env bash
# The preferences window under Wine as a person uses it: "preferences" opens it; a Program
# command added through the real open-file dialog and input box is typeable at once and
# written to customprograms.lst; removing it takes it away; "Change" and then F8 makes F8 the
# key that opens the command window.
source "$(dirname "$0")/lib.sh"
e2e_setup prefs "${E2E_DISPLAY_BASE:-170}"

drive_c="$WINEPREFIX/drive_c"
install_dir="$drive_c/Tovlen"
tools_dir="$drive_c/E2E Tools"
list="$install_dir/customprograms.lst"
log="$tools_dir/recordargs.log"
mkdir -p "$install_dir" "$tools_dir"
cp "$BUILD_WIN/Tovlen.exe" "$install_dir/"
cp "$BUILD_WIN/recordargs.exe" "$tools_dir/"

# A first start shows the welcome window; this test is about what comes after it.
timeout 60 wine reg add 'HKCU\Software\Tovlen\settings' /v showwelcome /t REG_SZ /d 0 /f >/dev/null 2>&1 ||
    e2e_fail "could not write the settings"

records() { [ -f "$log" ] && grep -c '^args: ' "$log" || echo 0; }
has_records() { [ "$(records)" -ge "$1" ]; }
prefs_window() { xdotool search --onlyvisible --name '^Tovlen Preferences$' 2>/dev/null | head -1; }
list_holds() { [ -f "$list" ] && [ "$(cat "$list")" = "$(printf "$1")" ]; }

e2e_focus_notepad
e2e_start 'C:\Tovlen\Tovlen.exe'
tovlen_pid=$E2E_LAST_PID
sleep 8; kill -0 "$tovlen_pid" || e2e_fail "Tovlen did not start"

# command_line TEXT: opens the command window over Notepad, types TEXT and presses Enter.
command_line() {
    xdotool mousemove --window "$E2E_NOTEPAD" 300 200 click 1
    sleep 0.3
    e2e_focus "$E2E_NOTEPAD"
    e2e_key Caps_Lock
    e2e_until 10 e2e_command_window || e2e_fail "the activation key did not open the command window"
    e2e_type "$1"
    e2e_key Return
}

# click_at WINDOW X Y: a click at client coordinates of a window.
click_at() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.6
}

# --- "preferences" opens the window -------------------------------------------------------
command_line "preferences"
e2e_until 15 prefs_window || e2e_fail "typing preferences did not open the preferences window"
prefs=$(prefs_window)
sleep 1
e2e_shot prefs-window
eval "$(xdotool getwindowgeometry --shell "$prefs")"
e2e_log "preferences window ${WIDTH}x${HEIGHT} at $X,$Y"
