#!/usr/bin/env bash
# Commands carried out for real under Wine: a Start-menu program started once with its
# shortcut's arguments and working folder, "Program not found." in the still-open window,
# "close " + caption, "maximize" / "minimize" of the window in front, and "web " handed to the shell.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/accessible.sh"
e2e_setup commands "${E2E_DISPLAY_BASE:-150}"

drive_c="$WINEPREFIX/drive_c"
install_dir="$drive_c/Tovlen"
tools_dir="$drive_c/E2E Tools" # a blank in the path, as under Program Files
work_dir="$drive_c/e2e work"
log="$tools_dir/recordargs.log"
mkdir -p "$install_dir" "$tools_dir" "$work_dir"
cp "$BUILD_WIN/Tovlen.exe" "$BUILD_WIN/read_accessible.exe" "$install_dir/"
cp "$BUILD_WIN/recordargs.exe" "$tools_dir/"

# The program as the Start menu knows it: a shortcut in the user's Programs folder, written by
# the Windows Script Host. (Wine's WScript.Shell knows no "Programs" special folder, and its
# ExpandEnvironmentStrings keeps the closing NUL, so the folder is named here.)
programs_dir=$(find "$drive_c/users" -type d -path '*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs' | head -1)
[ -n "$programs_dir" ] || e2e_fail "the prefix has no user Programs folder"
programs_win=$(winepath -w "$programs_dir" 2>/dev/null)
cat >"$E2E_OUT/make_shortcut.vbs" <<VBS
Set shell = CreateObject("WScript.Shell")
Set link = shell.CreateShortcut("$programs_win\Zebra Recorder.lnk")
link.TargetPath = "C:\E2E Tools\recordargs.exe"
link.Arguments = "first ""second arg"""
link.WorkingDirectory = "C:\e2e work"
link.Save
VBS
timeout 60 wine cscript //nologo "$(winepath -w "$E2E_OUT/make_shortcut.vbs" 2>/dev/null)" >/dev/null 2>&1 ||
    e2e_fail "cscript could not write the shortcut"
find "$drive_c/users" -name 'Zebra Recorder.lnk' | grep -q . || e2e_fail "no shortcut in the Start menu"

# Web addresses go to the recorder too, so what the shell was handed can be read back.
timeout 60 wine reg add 'HKCR\http\shell\open\command' /ve /t REG_SZ \
    /d '"C:\E2E Tools\recordargs.exe" url "%1"' /f >/dev/null 2>&1 || e2e_fail "could not reroute http"
timeout 60 wine reg delete 'HKCR\http\shell\open\ddeexec' /f >/dev/null 2>&1 || true
timeout 60 wineserver -w || true

records() { [ -f "$log" ] && grep -c '^args: ' "$log" || echo 0; }
has_records() { [ "$(records)" -ge "$1" ]; }

# The welcome window of a first start takes the foreground, and Wine then drops the next key.
timeout 60 wine reg add 'HKCU\Software\Tovlen\settings' /v showwelcome /t REG_SZ /d 0 /f >/dev/null 2>&1
e2e_focus_notepad
e2e_start 'C:\Tovlen\Tovlen.exe'
tovlen_pid=$E2E_LAST_PID
e2e_wait_tovlen_ready

# command_line TEXT: opens the command window over Notepad, types TEXT and presses Enter.
# Without a window manager only a click makes Notepad the window in front for Windows too.
command_line() {
    xdotool mousemove --window "$E2E_NOTEPAD" 300 200 click 1
    sleep 0.3
    e2e_focus "$E2E_NOTEPAD"
    e2e_key Caps_Lock
    e2e_until 10 e2e_command_window || e2e_fail "Caps Lock did not open the command window"
    e2e_type "$1"
    e2e_key Return
}

# Part of the shortcut's name finds it; it starts once, as the shortcut says.
command_line "zebra"
e2e_until 15 has_records 1 || e2e_fail "typing part of the shortcut's name started nothing"
sleep 2
[ "$(records)" -eq 1 ] || e2e_fail "the program was started $(records) times: $(cat "$log")"
grep -q '^args: .*recordargs\.exe"\? first "second arg"' "$log" || e2e_fail "wrong arguments: $(cat "$log")"
grep -qi '^cwd: C:\\e2e work' "$log" || e2e_fail "wrong working folder: $(cat "$log")"
e2e_log "started once: $(tr -d '\r' <"$log" | tr '\n' ' ')"

# A name that is nothing: the message stays on screen.
command_line "run nosuchthing"
e2e_expect_read 10 command "child2.name=Program not found." "no 'Program not found.' for a name that is nothing"
e2e_command_window >/dev/null || e2e_fail "the command window did not stay open for 'Program not found.'"
e2e_shot commands-program-not-found
e2e_key Escape
e2e_until 10 e2e_no_command_window || e2e_fail "Escape did not close the message"

# "web " hands the site, scheme added, to the shell.
: >"$log"
command_line "web example.org"
e2e_until 15 has_records 1 || e2e_fail "'web example.org' opened nothing"
grep -q '^args: .*url "\?http://example\.org"\?\s*$' <(tr -d '\r' <"$log") ||
    e2e_fail "the shell was handed something else: $(cat "$log")"
e2e_log "web: $(tr -d '\r' <"$log" | head -1)"

# "close " + part of a caption closes that window, not the one in front.
printf 'x\r\n' >"$drive_c/closeme.txt"
e2e_start notepad 'C:\closeme.txt'
closeme_pid=$E2E_LAST_PID
e2e_wait_window "closeme" 60 >/dev/null || e2e_fail "the second Notepad did not open"
command_line "close closeme"
for _ in $(seq 50); do kill -0 "$closeme_pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$closeme_pid" 2>/dev/null && e2e_fail "'close closeme' did not close the Notepad of closeme.txt"
kill -0 "$E2E_NOTEPAD_PID" 2>/dev/null || e2e_fail "'close closeme' closed the wrong Notepad"

# "maximize" and "minimize" act on the window that was in front: Notepad.
width() { xdotool getwindowgeometry "$E2E_NOTEPAD" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p'; }
is_wide() { [ "$(width)" -ge "$1" ]; }
width_before=$(width)
command_line "maximize"
e2e_until 10 is_wide 1000 || e2e_fail "'maximize' left Notepad $(width) pixels wide (was $width_before)"
e2e_shot commands-maximized
command_line "minimize"
# Without a window manager Wine draws a minimised window as a small bar at the bottom.
is_narrow() { [ "$(width)" -lt "$1" ]; }
e2e_until 10 is_narrow 300 || e2e_fail "'minimize' left Notepad $(width) pixels wide"
e2e_shot commands-minimized

kill -0 "$tovlen_pid" 2>/dev/null || e2e_fail "Tovlen is no longer running"
e2e_log "PASS commands"
