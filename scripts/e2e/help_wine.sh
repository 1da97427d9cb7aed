#!/usr/bin/env bash
# "help" opens help.pdf beside Tovlen.exe. A test program registered in the prefix as the
# viewer of .pdf files records what the shell hands it; first "start" proves the
# association, then Tovlen.exe is asked for "help" as a person would.
source "$(dirname "$0")/lib.sh"
[ -f "$BUILD_WIN/help.pdf" ] || e2e_fail "no help.pdf in $BUILD_WIN (it needs groff and Ghostscript)"
e2e_setup help 142

viewer_dir="$WINEPREFIX/drive_c/viewer"
install_dir="$WINEPREFIX/drive_c/Tovlen"
mkdir -p "$viewer_dir" "$install_dir"
cp "$BUILD_WIN/recordargs.exe" "$viewer_dir/"
cp "$BUILD_WIN/Tovlen.exe" "$BUILD_WIN/help.pdf" "$BUILD_WIN/LIGHTON.ico" "$install_dir/"
opened="$viewer_dir/recordargs.log"
timeout 60 wine reg add 'HKCR\.pdf' /ve /t REG_SZ /d TovlenTest.pdf /f >/dev/null 2>&1
timeout 60 wine reg add 'HKCR\TovlenTest.pdf\shell\open\command' /ve /t REG_SZ \
    /d '"C:\viewer\recordargs.exe" "%1"' /f >/dev/null 2>&1
timeout 60 wineserver -w || true

was_opened() { [ -f "$opened" ] && tr -d '\r' <"$opened" | grep -qiF 'C:\Tovlen\help.pdf'; }

timeout 60 wine cmd /c start '' 'C:\Tovlen\help.pdf' >/dev/null 2>&1 || true
e2e_until 20 was_opened || e2e_fail "the test association for .pdf did not work: $(cat "$opened" 2>/dev/null)"
rm -f "$opened"

timeout 60 wine reg add 'HKCU\Software\Tovlen\settings' /v showwelcome /t REG_SZ /d 0 /f >/dev/null 2>&1
e2e_focus_notepad
e2e_start 'C:\Tovlen\Tovlen.exe'
tovlen_pid=$E2E_LAST_PID
e2e_wait_tovlen_ready
# The notification area took the front when it showed Tovlen's icon, and Wine drops the next
# key while its window in front is not the one with the X focus; a click puts Notepad in front.
xdotool mousemove --window "$E2E_NOTEPAD" 300 200 click 1
sleep 0.3

e2e_submit help
e2e_until 30 was_opened || e2e_fail "\"help\" did not open C:\\Tovlen\\help.pdf: $(cat "$opened" 2>/dev/null)"
e2e_until 20 e2e_no_command_window || e2e_fail "the command window stayed open after \"help\""
[ "$(grep -c '^args: ' "$opened")" -eq 1 ] || e2e_fail "help.pdf was opened more than once: $(cat "$opened")"

e2e_submit exit
e2e_until 20 eval '! kill -0 "$tovlen_pid"' || e2e_fail "Tovlen did not end on exit"
e2e_log "PASS help"
