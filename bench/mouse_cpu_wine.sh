#!/usr/bin/env bash
# Tovlen's CPU time under Wine while the user only moves the mouse: 10 s with nothing happening,
# then 10 s while xdotool moves the pointer to and fro over Notepad (another program's window),
# read from the scheduler's count of every thread of the Tovlen process
# (/proc/PID/task/*/schedstat, nanoseconds on a processor). The Wine server, which every hook
# call passes through, is shown beside it.
#   timeout 900 bench/mouse_cpu_wine.sh
source "$(dirname "$0")/../scripts/e2e/lib.sh"
e2e_setup mouse-cpu "${E2E_DISPLAY_BASE:-198}"

readonly seconds=10 moves_per_second=100
install_dir="$WINEPREFIX/drive_c/Tovlen"
mkdir -p "$install_dir"
cp "$BUILD_WIN/Tovlen.exe" "$install_dir/"

e2e_no_welcome
e2e_focus_notepad
e2e_start 'C:\Tovlen\Tovlen.exe'
tovlen_pid=$E2E_LAST_PID
e2e_wait_tovlen_ready
# The first catalogue build and Wine's own start-up settle first.
sleep 5
grep -q 'Tovlen.exe' "/proc/$tovlen_pid/cmdline" 2>/dev/null || e2e_fail "process $tovlen_pid is not Tovlen.exe"
# The Wine server of this prefix: the one whose environment names it.
server_pid=""
for p in $(pgrep wineserver || true); do
    tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && server_pid=$p
done

# cpu_ns PID: nanoseconds on a processor so far, all threads together.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ total += $1 } END { printf "%d\n", total }'; }
ms_between() { echo $((($2 - $1) / 1000000)); }

eval "$(xdotool getwindowgeometry --shell "$E2E_NOTEPAD")"
left=$((X + 20)) right=$((X + WIDTH - 20)) middle=$((Y + HEIGHT / 2))
xdotool mousemove "$left" "$middle"
sleep 1

idle_start=$(cpu_ns "$tovlen_pid") idle_server_start=$([ -n "$server_pid" ] && cpu_ns "$server_pid" || echo 0)
sleep "$seconds"
idle_end=$(cpu_ns "$tovlen_pid") idle_server_end=$([ -n "$server_pid" ] && cpu_ns "$server_pid" || echo 0)

# One xdotool with the whole path, so that starting it does not count: a step of 4 pixels every
# 10 ms, to and fro across Notepad.
chain=() x=$left step=4
for _ in $(seq $((seconds * moves_per_second))); do
    x=$((x + step))
    if [ "$x" -ge "$right" ] || [ "$x" -le "$left" ]; then step=$((-step)); fi
    chain+=(mousemove "$x" "$middle" sleep 0.01)
done
move_start=$(cpu_ns "$tovlen_pid") move_server_start=$([ -n "$server_pid" ] && cpu_ns "$server_pid" || echo 0)
moved_at=$SECONDS
xdotool "${chain[@]}"
moved_for=$((SECONDS - moved_at))
move_end=$(cpu_ns "$tovlen_pid") move_server_end=$([ -n "$server_pid" ] && cpu_ns "$server_pid" || echo 0)
kill -0 "$tovlen_pid" 2>/dev/null || e2e_fail "Tovlen ended"

echo "Tovlen's CPU time, all threads (load average $(cut -d' ' -f1-3 /proc/loadavg)):"
echo "  idle for $seconds s:                          $(ms_between "$idle_start" "$idle_end") ms" \
    "(Wine server $(ms_between "$idle_server_start" "$idle_server_end") ms)"
echo "  $((seconds * moves_per_second)) mouse moves over Notepad in $moved_for s: $(ms_between "$move_start" "$move_end") ms" \
    "(Wine server $(ms_between "$move_server_start" "$move_server_end") ms)"
