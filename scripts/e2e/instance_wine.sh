#!/usr/bin/env bash
# One Tovlen per session under Wine: a second start opens the running copy's command window and
# ends by itself; the log shows one start, and the test switches reach the running copy.
source "$(dirname "$0")/lib.sh"
e2e_setup instance 94

install_dir="$WINEPREFIX/drive_c/Tovlen"
mkdir -p "$install_dir"
cp "$BUILD_WIN/Tovlen.exe" "$install_dir/"
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

# The hand-over does not wait for the running copy's work.
start=$SECONDS
e2e_start 'C:\Tovlen\Tovlen.exe' /test-busy 3000
e2e_ends "$E2E_LAST_PID" 20 || e2e_fail "the /test-busy start did not end by itself"
e2e_log "the /test-busy start ended after $((SECONDS - start)) s"
e2e_until 10 grep -q "busy for 3000 ms" "$log_file" || e2e_fail "the running copy did not hear /test-busy"

starts=$(grep -c "Tovlen started" "$log_file" || true)
[ "$starts" = 1 ] || e2e_fail "the log shows $starts starts, not one"
e2e_log "PASS instance"
