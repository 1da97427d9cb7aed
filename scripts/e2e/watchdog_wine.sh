#!/usr/bin/env bash
# The hook watchdog under Wine, with the platform and the watchdog alone (tests/win/input_probe.cpp):
# after the hooks are dropped as Windows drops them, raw input still hears the keys, and the
# hooks are back within 2 s of the next keystroke. And installing the hooks again, over and over
# while keys are typed, lets none of them slip past to the window typed into.
source "$(dirname "$0")/lib.sh"
e2e_setup watchdog 96

install_dir="$WINEPREFIX/drive_c/Tovlen"
mkdir -p "$install_dir"
cp "$BUILD_WIN/input_probe.exe" "$BUILD_WIN/key_clock.exe" "$install_dir/"
log_file="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Local/Tovlen/tovlen.log"
timeout 60 wine reg add 'HKCU\Software\Tovlen\settings' /v testswitches /t REG_SZ /d 1 /f >/dev/null 2>&1

e2e_allow_test_switches
e2e_focus_notepad
e2e_start 'C:\Tovlen\input_probe.exe'
probe_pid=$E2E_LAST_PID
e2e_until 30 grep -q "hooks installed" "$log_file" || e2e_fail "the probe did not install its hooks"

e2e_focus "$E2E_NOTEPAD"
e2e_type "ab"
timeout 60 wine 'C:\Tovlen\input_probe.exe' /test-drop-hooks >/dev/null 2>&1 || true
e2e_until 10 grep -q "Dropping the hooks" "$log_file" || e2e_fail "the probe did not hear /test-drop-hooks"
sleep 1
e2e_focus "$E2E_NOTEPAD"
dropped_at=$SECONDS
e2e_type "c"
e2e_until 2 grep -q "Hooks installed again: the keyboard hook was lost" "$log_file" ||
    e2e_fail "the hooks did not come back within 2 s of the next keystroke"
e2e_log "hooks back $((SECONDS - dropped_at)) s after the keystroke"
e2e_type "de"
e2e_key q
for _ in $(seq 50); do kill -0 "$probe_pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$probe_pid" 2>/dev/null && e2e_fail "the probe did not see Q after the hooks came back"

# Every key typed while the hooks go in again and again is the hook's: the key clock, which
# writes down each key that reaches it, has none.
clock_file="$WINEPREFIX/drive_c/keyclock.txt"
e2e_start 'C:\Tovlen\key_clock.exe' 'C:\keyclock.txt'
clock=$(e2e_wait_window "Key clock" 60) || e2e_fail "the key clock did not open"
xdotool windowactivate --sync "$clock" 2>/dev/null || e2e_focus "$clock"
sleep 1
e2e_start 'C:\Tovlen\input_probe.exe' /swallow-reinstalling 20
reinstalling_pid=$E2E_LAST_PID
e2e_until 30 grep -q "probe: swallowing" "$log_file" || e2e_fail "the probe did not start installing again and again"
xdotool type --delay 30 "$(printf 'abcdefghij%.0s' $(seq 20))"
for _ in $(seq 150); do kill -0 "$reinstalling_pid" 2>/dev/null || break; sleep 0.2; done
grep "probe: .* re-installations" "$log_file" >&2 || e2e_fail "the probe did not end"
slipped=$(grep -c '^vk=' "$clock_file" || true)
[ "$slipped" = 0 ] || e2e_fail "$slipped of 200 keys slipped past while the hooks were installed again"
cat "$log_file" >&2
e2e_log "PASS watchdog"
