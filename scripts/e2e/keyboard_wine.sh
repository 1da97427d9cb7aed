#!/usr/bin/env bash
# Tovlen's own windows worked from the keyboard alone under Wine, as a person who does not use
# the mouse works them: the welcome window of a first start with Tab, Space and Enter, with Alt
# and the underlined letters, and with Escape; the preferences window, opened by typing
# "preferences", with Alt and its letters, the arrow keys on the up-down and the slider, and
# Escape; and the suggestion rows read back as a screen reader reads them.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/accessible.sh"
e2e_setup keyboard "${E2E_DISPLAY_BASE:-190}"

install_dir="$WINEPREFIX/drive_c/Tovlen"
mkdir -p "$install_dir"
cp "$BUILD_WIN/Tovlen.exe" "$BUILD_WIN/read_accessible.exe" "$install_dir/"

setting() {
    timeout 30 wine reg query 'HKCU\Software\Tovlen\settings' /v "$1" 2>/dev/null | tr -d '\r' |
        awk -v key="$1" '$1 == key { print $3 }' || true
}
setting_is() { [ "$(setting "$1")" = "$2" ]; }
set_setting() {
    timeout 60 wine reg add 'HKCU\Software\Tovlen\settings' /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1 ||
        e2e_fail "could not write the setting $1"
}
welcome_window() { xdotool search --onlyvisible --name '^Welcome to Tovlen$' 2>/dev/null | head -1; }
no_welcome_window() { [ -z "$(welcome_window)" ]; }
prefs_window() { xdotool search --onlyvisible --name '^Tovlen Preferences$' 2>/dev/null | head -1; }
no_prefs_window() { [ -z "$(prefs_window)" ]; }

# start_with_welcome: starts Tovlen as on a first run; its welcome window takes the focus itself.
tovlen_pid=""
start_with_welcome() {
    if [ -n "$tovlen_pid" ]; then
        kill "$tovlen_pid" 2>/dev/null || true
        wait "$tovlen_pid" 2>/dev/null || true
    fi
    e2e_start 'C:\Tovlen\Tovlen.exe'
    tovlen_pid=$E2E_LAST_PID
    e2e_until 90 welcome_window || e2e_fail "a first start showed no welcome window"
    sleep 1
}

# --- the welcome window: Tab to the check box, Space unticks it, Enter presses "Okay" ---------
start_with_welcome
e2e_shot keyboard-welcome
# A screen reader reads the drawn texts too, and finds the controls among them.
e2e_expect_read 10 "title" "child1.name=Welcome to Tovlen!" "the welcome window's heading cannot be read" "Welcome to Tovlen"
e2e_read_has "role=client" title "Welcome to Tovlen" || e2e_fail "the welcome window reads no client object"
e2e_key Tab
e2e_key space
e2e_shot keyboard-welcome-unticked
e2e_key Return
e2e_until 10 no_welcome_window || e2e_fail "Enter did not press Okay on the welcome window"
setting_is showwelcome 0 ||
    e2e_fail "Tab, Space and Enter stored showwelcome '$(setting showwelcome)', not 0 (the box unticked)"

# --- Alt+S unticks the box, Alt+O presses "Okay" -------------------------------------------
set_setting showwelcome 1
start_with_welcome
e2e_key alt+s
e2e_key alt+o
e2e_until 10 no_welcome_window || e2e_fail "Alt+O did not press Okay"
setting_is showwelcome 0 || e2e_fail "Alt+S and Alt+O stored showwelcome '$(setting showwelcome)', not 0"

# --- Escape closes it and, as any close but Okay, stores nothing -----------------------------
set_setting showwelcome 1
start_with_welcome
e2e_key Escape
e2e_until 10 no_welcome_window || e2e_fail "Escape did not close the welcome window"
setting_is showwelcome 1 || e2e_fail "Escape stored showwelcome '$(setting showwelcome)'"

# --- the preferences window, opened by typing ------------------------------------------------
set_setting showwelcome 0
e2e_focus_notepad
kill "$tovlen_pid" 2>/dev/null || true
wait "$tovlen_pid" 2>/dev/null || true
e2e_start 'C:\Tovlen\Tovlen.exe'
tovlen_pid=$E2E_LAST_PID
e2e_wait_tovlen_ready
e2e_focus "$E2E_NOTEPAD"
e2e_key Caps_Lock
e2e_until 10 e2e_command_window || e2e_fail "Caps Lock did not open the command window"
e2e_type "pref"
e2e_expect_read 10 suggestion "child1.name=preferences" "typing pref does not list preferences"
e2e_expect_read 5 suggestion "child1.state=selected,selectable" "the first row is not highlighted"
e2e_type "erences"
e2e_key Return
e2e_until 15 prefs_window || e2e_fail "typing preferences did not open the preferences window"
# The window takes the focus itself: what the user asked for comes to the front.
sleep 1
e2e_shot keyboard-prefs

shutdown_before=$(setting checkbeforeshutdown)
e2e_key alt+p
e2e_until 10 setting_is checkbeforeshutdown "$([ "$shutdown_before" = 0 ] && echo 1 || echo 0)" ||
    e2e_fail "Alt+P did not toggle 'Prompt Before Shutdown/Reboot' (stored '$(setting checkbeforeshutdown)')"

e2e_key alt+m Up
e2e_until 10 setting_is showsuggestions 11 ||
    e2e_fail "Alt+M and Up did not raise the suggestions to 11 (stored '$(setting showsuggestions)')"

e2e_key alt+t Left
e2e_until 10 setting_is windowtransparency 229 ||
    e2e_fail "Alt+T and Left did not move the slider to 229 (stored '$(setting windowtransparency)')"
e2e_shot keyboard-prefs-changed

e2e_key Escape
e2e_until 10 no_prefs_window || e2e_fail "Escape did not close the preferences window"
kill -0 "$tovlen_pid" 2>/dev/null || e2e_fail "Tovlen ended"
e2e_log "PASS keyboard"
