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
# prefs_shows LINE: the preferences window shows a control whose text (and state) is LINE.
prefs_shows() {
    timeout 30 wine "$BUILD_WIN/window_texts.exe" "Tovlen Preferences" 2>/dev/null | tr -d '\r' | grep -qxF "  $1"
}
# The prompt that waits for the new activation key: a borderless 249x66 window.
remap_prompt() {
    local id
    for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
        [[ "$(xdotool getwindowgeometry "$id" 2>/dev/null)" == *"Geometry: 249x66"* ]] && return 0
    done
    return 1
}

e2e_focus_notepad
e2e_start 'C:\Tovlen\Tovlen.exe'
tovlen_pid=$E2E_LAST_PID
e2e_wait_tovlen_ready

# command_line TEXT: opens the command window over Notepad, types TEXT and presses Enter.
# The click that puts Notepad in front lands left of where the preferences window opens.
command_line() {
    xdotool mousemove --window "$E2E_NOTEPAD" 100 300 click 1
    sleep 0.3
    e2e_focus "$E2E_NOTEPAD"
    e2e_key Caps_Lock
    e2e_until 10 e2e_command_window || e2e_fail "the activation key did not open the command window"
    e2e_type "$1"
    e2e_key Return
}

# Without a window manager a click on Notepad puts it over the preferences window; the
# person would click the preferences window's title bar, which is what raising it stands for.
raise_prefs() {
    xdotool windowraise "$prefs" 2>/dev/null || true
    sleep 0.5
}

# click_prefs X Y: a click at a point of the preferences window's client area (the window's
# own frame is drawn by Wine around a 560x446 client area).
click_prefs() {
    local geometry border caption
    geometry=$(xdotool getwindowgeometry --shell "$prefs")
    local WIDTH HEIGHT
    eval "$(grep -E '^(WIDTH|HEIGHT)=' <<<"$geometry")"
    border=$(((WIDTH - 560) / 2))
    caption=$((HEIGHT - 446 - border))
    xdotool mousemove --window "$prefs" $((border + $1)) $((caption + $2)) click 1
}

# --- "preferences" opens the window -------------------------------------------------------
command_line "preferences"
e2e_until 15 prefs_window || e2e_fail "typing preferences did not open the preferences window"
prefs=$(prefs_window)
e2e_until 15 prefs_shows "Add Command" || e2e_fail "the preferences window shows no Add Command button"
e2e_shot prefs-window
eval "$(xdotool getwindowgeometry --shell "$prefs")"
e2e_log "preferences window ${WIDTH}x${HEIGHT} at $X,$Y"

# --- a Program command through the real dialogs ----------------------------------------------
click_prefs 353 377 # "Add Command"
e2e_until 10 prefs_shows "Program" || e2e_fail "Add Command did not show the kinds of command"
e2e_shot prefs-add-frame
click_prefs 340 75 # "Program"
dialog=$(e2e_wait_window '^Select Program$' 20) || e2e_fail "the open-file dialog did not open"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
sleep 0.5
e2e_type 'C:\E2E Tools\recordargs.exe'
e2e_shot prefs-open-file-dialog
e2e_key Return
box=$(e2e_wait_window '^Command$' 20) || e2e_fail "no input box asked for the command's name"
xdotool windowfocus --sync "$box" 2>/dev/null || true
sleep 0.5
e2e_shot prefs-name-box
e2e_key Return # the offered name
e2e_until 10 list_holds 'recordargs\r\nrun C:\\E2E Tools\\recordargs.exe\r\n' ||
    e2e_fail "customprograms.lst does not hold the new command: $(od -c "$list" 2>/dev/null | head)"
e2e_shot prefs-command-added
e2e_log "added: $(tr '\r\n' '|~' <"$list")"

command_line "recordargs"
e2e_until 15 has_records 1 || e2e_fail "the new command did not run at once"
e2e_log "the new command ran: $(grep '^args: ' "$log" | tr -d '\r')"

# --- removing it takes it away ---------------------------------------------------------------
raise_prefs
e2e_until 10 prefs_shows "Remove Command [disabled]" || e2e_fail "the list is not back after the add"
click_prefs 400 166 # the first row of the list
e2e_until 10 prefs_shows "Remove Command" || e2e_fail "choosing the row did not enable Remove Command"
click_prefs 479 377 # "Remove Command"
e2e_until 10 list_holds '' || e2e_fail "removing left customprograms.lst with: $(cat "$list")"
e2e_shot prefs-command-removed
command_line "recordargs"
# Nothing to wait for when nothing runs: long enough for the earlier run to have been recorded.
sleep 3
[ "$(records)" -eq 1 ] || e2e_fail "the removed command still ran"
e2e_key Escape

# --- "Change", then F8 ---------------------------------------------------------------------
mapped_key() { timeout 30 wine reg query 'HKCU\Software\Tovlen\settings' /v mappedkey 2>/dev/null | tr -d '\r'; }
stored_f8() { mapped_key | grep -Eq 'mappedkey +REG_SZ +119$'; }
raise_prefs
click_prefs 67 239 # "Change"
e2e_until 10 remap_prompt || e2e_fail "Change did not ask for the new key"
e2e_shot prefs-remap-prompt
xdotool windowfocus --sync "$prefs" 2>/dev/null || true
e2e_key F8
e2e_until 20 stored_f8 ||
    e2e_fail "F8 was not stored as the activation key: $(mapped_key)"
e2e_log "stored: $(mapped_key | grep mappedkey)"
e2e_until 10 eval '! remap_prompt' || e2e_fail "the prompt for the new key stayed"
e2e_shot prefs-key-changed

e2e_focus "$E2E_NOTEPAD"
xdotool mousemove --window "$E2E_NOTEPAD" 100 300 click 1
sleep 0.3
e2e_key Caps_Lock
sleep 1 # nothing is to happen: the time a command window would take to show
e2e_no_command_window || e2e_fail "Caps Lock still opens the command window"
e2e_key F8
e2e_until 10 e2e_command_window || e2e_fail "F8 did not open the command window"
e2e_shot prefs-f8-opens
e2e_key Escape
e2e_until 10 e2e_no_command_window || e2e_fail "Escape did not close the command window"

# Keys that share a scan code with a keypad key are named as themselves.
names=$(timeout 60 wine "$BUILD_WIN/tovlenctl.exe" keyname 0x25 0x24 0x2E 2>/dev/null | tr -d '\r')
e2e_log "key names: $names"
grep -q '"0x25":"Left"' <<<"$names" && grep -q '"0x24":"Home"' <<<"$names" && grep -q '"0x2E":"Delete"' <<<"$names" ||
    e2e_fail "extended keys are named after the keypad: $names"

kill -0 "$tovlen_pid" 2>/dev/null || e2e_fail "Tovlen ended on its own"
e2e_log "PASS prefs"
