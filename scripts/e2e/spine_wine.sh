#!/usr/bin/env bash
# Tovlen.exe under Wine as a person uses it: Caps Lock opens the command window, typed
# letters appear in lower case, Escape closes it, "exit" and Enter end the program.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/accessible.sh"
e2e_setup spine 90

install_dir="$WINEPREFIX/drive_c/Tovlen"
mkdir -p "$install_dir"
cp "$BUILD_WIN/Tovlen.exe" "$BUILD_WIN/keystate.exe" "$BUILD_WIN/read_accessible.exe" "$install_dir/"
caps_state() { timeout 30 wine 'C:\Tovlen\keystate.exe' 2>/dev/null | tr -d '\r'; }

# The welcome window of a first start takes the foreground, and Wine then drops the next key.
timeout 60 wine reg add 'HKCU\Software\Tovlen\settings' /v showwelcome /t REG_SZ /d 0 /f >/dev/null 2>&1
e2e_no_welcome
e2e_focus_notepad
e2e_start 'C:\Tovlen\Tovlen.exe'
tovlen_pid=$E2E_LAST_PID
e2e_wait_tovlen_ready
caps_before=$(caps_state)

e2e_focus "$E2E_NOTEPAD"
e2e_key Caps_Lock
e2e_until 10 e2e_command_window || e2e_fail "Caps Lock did not open a 600x50 window at (0, 0)"
caps_after=$(caps_state)
[ "$caps_before" = capslock=0 ] && [ "$caps_after" = capslock=0 ] ||
    e2e_fail "Caps Lock toggled ($caps_before -> $caps_after)"
e2e_focus "$E2E_NOTEPAD"

e2e_type "NoTe"
e2e_expect_read 10 command "value=note" "typing NoTe did not give the line note"
e2e_shot spine-command-window
e2e_key Escape
e2e_until 10 e2e_no_command_window || e2e_fail "Escape did not close the command window"

e2e_key Caps_Lock
e2e_until 10 e2e_command_window || e2e_fail "the command window did not open a second time"
e2e_type "exit"
e2e_key Return
for _ in $(seq 50); do kill -0 "$tovlen_pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$tovlen_pid" 2>/dev/null && e2e_fail "typing exit and Enter did not end Tovlen"
e2e_log "PASS spine"
