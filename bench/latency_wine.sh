#!/usr/bin/env bash
# Key latency under Wine with 10,000 Start-menu shortcuts: Tovlen measures, per key, the time
# from its hook procedure's entry to the end of the command window's repaint, and the hook
# procedure's own time; this drives 200 keys into it and prints the summary it writes at exit.
# With --rebuilding a new shortcut lands in the Start menu every 1.2 s meanwhile, so the
# catalogue is rebuilt on its worker again and again while the keys are typed.
#   timeout 1800 bench/latency_wine.sh [--rebuilding]
source "$(dirname "$0")/../scripts/e2e/lib.sh"
e2e_setup latency 97

readonly folders=500 per_folder=20 # 10,000 shortcuts
install_dir="$WINEPREFIX/drive_c/Tovlen"
mkdir -p "$install_dir"
cp "$BUILD_WIN/Tovlen.exe" "$install_dir/"
programs="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"

# Shell links as an installer leaves them: a header and a local target path.
python3 - "$programs/Bench" "$folders" "$per_folder" <<'PY'
import os, struct, sys
root, folders, per_folder = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
def link(target):
    base = target.encode("ascii") + b"\0"
    volume = struct.pack("<IIII", 0x11, 3, 0x12345678, 0x10) + b"\0"
    header_size = 0x1C
    info = volume + base + b"\0"
    offsets = (header_size, header_size + len(volume), 0, header_size + len(volume) + len(base))
    info = struct.pack("<IIIIIII", header_size + len(info), header_size, 1, *offsets) + info
    clsid = bytes.fromhex("0114020000000000c000000000000046")
    head = struct.pack("<I", 0x4C) + clsid + struct.pack("<II", 0x02 | 0x80, 0x20)
    return head + b"\0" * (0x4C - len(head)) + info + struct.pack("<I", 0)
n = 0
for f in range(folders):
    folder = os.path.join(root, "Vendor %d" % f)
    os.makedirs(folder, exist_ok=True)
    for _ in range(per_folder):
        name = "Program %d" % n
        with open(os.path.join(folder, name + ".lnk"), "wb") as out:
            out.write(link("C:\\Program Files\\%s\\%s.exe" % (name, name)))
        n += 1
PY
e2e_log "$(find "$programs/Bench" -name '*.lnk' | wc -l) shortcuts written"

e2e_no_welcome
timeout 60 wine reg add 'HKCU\Software\Tovlen\settings' /v latencyfile /t REG_SZ /d 'C:\latency.txt' /f >/dev/null 2>&1
e2e_focus_notepad
e2e_start 'C:\Tovlen\Tovlen.exe'
tovlen_pid=$E2E_LAST_PID
e2e_wait_tovlen_ready 900
e2e_focus "$E2E_NOTEPAD"
log="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Local/Tovlen/tovlen.log"
builds_before=$(grep -c "entries built" "$log" 2>/dev/null || true)
if [ "${1:-}" = --rebuilding ]; then
    sample="$programs/Bench/Vendor 0/Program 0.lnk"
    (
        n=0
        while :; do
            cp "$sample" "$programs/Written $n.lnk"
            n=$((n + 1))
            sleep 1.2
        done
    ) &
    E2E_PIDS+=($!)
fi

# 200 keys: 19 lines of Caps Lock, eight characters that match shortcuts, and Escape; a short
# one; then "exit" and Enter.
keys=0
drive_line() {
    xdotool key Caps_Lock
    sleep 0.3
    xdotool type --delay 60 "$1"
    sleep 0.3
    [ "$keys" = 0 ] && e2e_shot latency-first-line
    xdotool key "$2"
    sleep 0.5
    keys=$((keys + ${#1} + 2))
}
for i in $(seq 19); do drive_line "gram $((100 + i * 7))" Escape; done
drive_line "pr" Escape
drive_line "exit" Return
e2e_log "$keys keys sent"
builds_during=$(($(grep -c "entries built" "$log" 2>/dev/null || true) - ${builds_before:-0}))
for _ in $(seq 150); do kill -0 "$tovlen_pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$tovlen_pid" 2>/dev/null && e2e_fail "Tovlen did not exit"
summary="$WINEPREFIX/drive_c/latency.txt"
[ -s "$summary" ] || e2e_fail "no latency summary was written"
echo "10,000 shortcuts, $keys keys, $builds_during catalogue builds landed while they were typed:"
cat "$summary"
