#!/usr/bin/env bash
# One Tovlen per session under Wine: a second start opens the running copy's command window and
# ends by itself; the log shows one start. The test switches reach the running copy: its
# watchdog brings dropped hooks back, and its hooks answer while its main thread is busy.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/accessible.sh"
e2e_setup instance 94

install_dir="$WINEPREFIX/drive_c/Tovlen"
mkdir -p "$install_dir"
cp "$BUILD_WIN/Tovlen.exe" "$BUILD_WIN/key_clock.exe" "$BUILD_WIN/read_accessible.exe" "$install_dir/"
log_file="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Local/Tovlen/tovlen.log"

# e2e_ends PID SECONDS: whether the process ends within the time.
e2e_ends() {
    local pid=$1 end=$((SECONDS + $2))
    while [ $SECONDS -lt $end ]; do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.2
    done
    return 1
}

e2e_no_welcome
e2e_allow_test_switches
e2e_focus_notepad
e2e_start 'C:\Tovlen\Tovlen.exe'
first_pid=$E2E_LAST_PID
e2e_wait_tovlen_ready
e2e_no_command_window || e2e_fail "the command window was open before the second start"

e2e_start 'C:\Tovlen\Tovlen.exe'
second_pid=$E2E_LAST_PID
e2e_ends "$second_pid" 20 || e2e_fail "the second start did not end by itself"
e2e_until 10 e2e_command_window || e2e_fail "the second start did not open the running copy's window"
kill -0 "$first_pid" 2>/dev/null || e2e_fail "the running copy ended"
e2e_focus "$E2E_NOTEPAD"
e2e_type "note"
e2e_shot instance-second-start
e2e_key Escape
e2e_until 10 e2e_no_command_window || e2e_fail "Escape did not close the window the second start opened"

# The watchdog: hooks dropped as Windows drops them are back within 2 s of the next keystroke,
# and Caps Lock works again.
timeout 60 wine 'C:\Tovlen\Tovlen.exe' /test-drop-hooks >/dev/null 2>&1 || true
e2e_until 10 grep -q "Dropping the hooks" "$log_file" || e2e_fail "the running copy did not hear /test-drop-hooks"
sleep 1
e2e_focus "$E2E_NOTEPAD"
e2e_type "q"
e2e_until 2 grep -q "Hooks installed again: the keyboard hook was lost" "$log_file" ||
    e2e_fail "the hooks did not come back within 2 s of the next keystroke"
e2e_key Caps_Lock
e2e_until 10 e2e_command_window || e2e_fail "Caps Lock did not open the window after the hooks came back"
e2e_key Escape
e2e_until 10 e2e_no_command_window || e2e_fail "Escape did not close the window"

# A busy main thread keeps no key of the desktop waiting: a key typed into another program
# arrives at once, and a Caps Lock typed meanwhile opens the window with the letters after it
# once the main thread is back. The start that asked for the busy spell ends during it: the
# hand-over does not wait for the work.
busy_ms=6000
now_ms() { date +%s%3N; }
clock_file="$WINEPREFIX/drive_c/keyclock.txt"
e2e_start 'C:\Tovlen\key_clock.exe' 'C:\keyclock.txt'
clock=$(e2e_wait_window "Key clock" 60) || e2e_fail "the key clock did not open"
xdotool windowactivate --sync "$clock" 2>/dev/null || e2e_focus "$clock"
sleep 1
e2e_start 'C:\Tovlen\Tovlen.exe' /test-busy "$busy_ms"
busy_pid=$E2E_LAST_PID
e2e_until 20 grep -q "busy for $busy_ms ms" "$log_file" || e2e_fail "the running copy did not hear /test-busy"
busy_from=$(now_ms)
e2e_key a
e2e_key Caps_Lock
e2e_type "bc"
e2e_no_command_window || e2e_fail "the command window opened while the main thread was busy"
e2e_ends "$busy_pid" 1 || e2e_fail "the /test-busy start still ran $(($(now_ms) - busy_from)) ms into the busy spell"
# The log line was seen a moment after the spell began: a second of margin.
into=$(($(now_ms) - busy_from))
[ "$into" -lt $((busy_ms - 1000)) ] || e2e_fail "typing took $into ms, too long to tell whether the window waited"
e2e_log "$into ms into the busy spell: no window yet, and the /test-busy start has ended"
e2e_expect_read 20 command "value=bc" "the Caps Lock typed while busy did not open the window with the letters after it"
e2e_shot instance-busy-typed
cat "$clock_file" >&2
grep -q "^vk=65 " "$clock_file" || e2e_fail "the key typed while busy did not arrive"
delay=$(sed -n 's/^vk=65 delay_ms=\([0-9]*\).*/\1/p' "$clock_file" | head -1)
[ "$delay" -lt 100 ] || e2e_fail "the key typed while busy took $delay ms to arrive"
grep -qE "^vk=(66|67) " "$clock_file" && e2e_fail "the letters after Caps Lock reached the other program"
e2e_log "a key typed while the main thread was busy arrived after $delay ms"
e2e_key Escape
e2e_until 10 e2e_no_command_window || e2e_fail "Escape did not close the window"

starts=$(grep -c "Tovlen started" "$log_file" || true)
[ "$starts" = 1 ] || e2e_fail "the log shows $starts starts, not one"
e2e_log "PASS instance"
