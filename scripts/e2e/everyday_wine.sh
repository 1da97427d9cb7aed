#!/usr/bin/env bash
# Everyday actions under Wine: a sum typed into the line shows its result (read as a screen
# reader reads it) and Enter puts the result on the clipboard (read back by a client of the
# clipboard); a settings phrase reaches the program registered for "ms-settings:"; Ctrl+Enter
# on a Start-menu program asks the shell to open the program's folder; Ctrl+Shift+Enter asks
# for the "runas" verb, which Wine, having no consent prompt, carries out as a plain start.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/accessible.sh"
e2e_setup everyday "${E2E_DISPLAY_BASE:-210}"

drive_c="$WINEPREFIX/drive_c"
install_dir="$drive_c/Tovlen"
tools_dir="$drive_c/E2E Tools"
log="$tools_dir/recordargs.log"
mkdir -p "$install_dir" "$tools_dir"
cp "$BUILD_WIN/Tovlen.exe" "$BUILD_WIN/read_accessible.exe" "$BUILD_WIN/read_clipboard.exe" "$install_dir/"
cp "$BUILD_WIN/recordargs.exe" "$tools_dir/"
e2e_shortcut "$(e2e_programs_folder)\\Zebra Recorder.lnk" 'C:\E2E Tools\recordargs.exe' 'started'

# The stand-in is the Settings app (the scheme of its addresses) and the shell's folder window.
# Wine's shell opens a folder for a list of items by quoting the whole command it finds, so the
# folder opener's copy sits in a folder without blanks and takes the folder alone as quoted.
opener_dir="$drive_c/Opener"
opener_log="$opener_dir/recordargs.log"
mkdir -p "$opener_dir"
cp "$BUILD_WIN/recordargs.exe" "$opener_dir/"
reg_add() { timeout 60 wine reg add "$@" /f >/dev/null 2>&1 || e2e_fail "could not write the registry: $*"; }
reg_add 'HKCR\ms-settings' /ve /t REG_SZ /d 'URL:ms-settings'
reg_add 'HKCR\ms-settings' /v 'URL Protocol' /t REG_SZ /d ''
reg_add 'HKCR\ms-settings\shell\open\command' /ve /t REG_SZ /d '"C:\E2E Tools\recordargs.exe" settings "%1"'
reg_add 'HKCR\Folder\shell\explore\command' /ve /t REG_SZ /d 'C:\Opener\recordargs.exe "%1"'
timeout 60 wineserver -w || true

records() { [ -f "$log" ] && grep -c '^args: ' "$log" || echo 0; }
has_records() { [ "$(records)" -ge "$1" ]; }
last_record() { tr -d '\r' <"$log" | grep '^args: ' | tail -1; }
clipboard() { timeout 30 wine 'C:\Tovlen\read_clipboard.exe' 2>/dev/null | tr -d '\r'; }
clipboard_is() { [ "$(clipboard)" = "$1" ]; }
# A program started by the line can take the foreground for a moment, and Wine drops a key typed
# while the foreground changes (Wine's shell also looks for an Explorer window for a second after
# it opened a folder): the next line waits for that to pass.
settle() {
    sleep 2
    e2e_focus "$E2E_NOTEPAD"
}

e2e_no_welcome
e2e_focus_notepad
e2e_start 'C:\Tovlen\Tovlen.exe'
tovlen_pid=$E2E_LAST_PID
e2e_wait_tovlen_ready

# A sum: its result behind the line and as the first row; Enter copies it.
e2e_open_command_window
e2e_type '12*(3+4)'
e2e_expect_read 10 command "description=12*(3+4) = 84" "the line does not show '= 84' behind the sum"
e2e_expect_read 10 suggestion "child1.name== 84" "the result is not the first row"
e2e_expect_read 5 suggestion "child1.description=1 of 1, Enter copies it" "the result's row does not say what Enter does"
e2e_shot everyday-sum
e2e_key Return
e2e_until 10 e2e_no_command_window || e2e_fail "Enter on the sum did not close the command window"
e2e_until 10 clipboard_is 84 || e2e_fail "the clipboard holds '$(clipboard)', not 84"
e2e_log "clipboard: $(clipboard)"

# A settings phrase opens its page through the scheme's program.
e2e_submit 'settings display'
e2e_until 15 has_records 1 || e2e_fail "'settings display' reached no program"
last_record | grep -q 'settings "\?ms-settings:display"\?\s*$' || e2e_fail "the settings page was opened as: $(last_record)"
e2e_log "settings: $(last_record)"
settle

# Ctrl+Enter on a Start-menu program: the shell is asked for the folder that holds its file.
# (Explorer would then select the file in that window; the stand-in shows the folder asked for.)
e2e_until 20 e2e_no_command_window || e2e_fail "the command window did not close"
e2e_open_command_window
e2e_type 'zebra'
e2e_expect_read 10 suggestion \
    "child1.description=1 of 1, Enter runs it, Ctrl+Enter opens its folder, Ctrl+Shift+Enter runs it as administrator" \
    "the program's row does not say which keys it takes"
e2e_key ctrl+Return
opened_folder() { [ -f "$opener_log" ] && grep -q '^args: ' "$opener_log"; }
e2e_until 20 opened_folder || e2e_fail "Ctrl+Enter opened no folder"
tr -d '\r' <"$opener_log" | grep -qi '^args: .*"C:\\E2E Tools"' ||
    e2e_fail "Ctrl+Enter opened another folder: $(cat "$opener_log")"
[ "$(records)" -eq 1 ] || e2e_fail "Ctrl+Enter started the program as well: $(cat "$log")"
e2e_log "Ctrl+Enter: $(tr -d '\r' <"$opener_log" | head -1)"
settle

# Ctrl+Shift+Enter: Wine has no consent prompt and starts the program for "runas" as for "open".
e2e_until 20 e2e_no_command_window || e2e_fail "the command window did not close after Ctrl+Enter"
e2e_open_command_window
e2e_type 'zebra'
e2e_key ctrl+shift+Return
e2e_until 20 has_records 2 || e2e_fail "Ctrl+Shift+Enter started nothing"
last_record | grep -q 'recordargs\.exe"\? started\s*$' || e2e_fail "Ctrl+Shift+Enter started: $(last_record)"
e2e_log "Ctrl+Shift+Enter: $(last_record)"

kill -0 "$tovlen_pid" 2>/dev/null || e2e_fail "Tovlen is no longer running"
e2e_log "PASS everyday"
