#!/usr/bin/env bash
# The catalogue follows the desktop while Tovlen runs: a shortcut written by the Windows
# Script Host is started by typing its name within 2 s of being written, and after it is
# deleted its name no longer starts anything; a command appended to customprograms.lst by
# hand works without a restart. Prints the time from each change to the rebuilt catalogue,
# read from the log's lines.
source "$(dirname "$0")/lib.sh"
e2e_setup live "${E2E_DISPLAY_BASE:-170}"

drive_c="$WINEPREFIX/drive_c"
install_dir="$drive_c/Tovlen"
tools_dir="$drive_c/E2E Tools"
log="$tools_dir/recordargs.log"
mkdir -p "$install_dir" "$tools_dir"
cp "$BUILD_WIN/Tovlen.exe" "$install_dir/"
cp "$BUILD_WIN/recordargs.exe" "$tools_dir/"
e2e_no_welcome
programs_dir=$(find "$drive_c/users" -type d -path '*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs' | head -1)
[ -n "$programs_dir" ] || e2e_fail "the prefix has no user Programs folder"

records() { [ -f "$log" ] && grep -c '^args: ' "$log" || echo 0; }
has_records() { [ "$(records)" -ge "$1" ]; }
tovlen_log() { find "$drive_c/users" -path '*/AppData/Local/Tovlen/*.log' -print -quit; }
builds() { local f; f=$(tovlen_log); [ -n "$f" ] && grep -c 'Catalogue: ' "$f" || echo 0; }
has_builds() { [ "$(builds)" -ge "$1" ]; }
# ms_since FILE: milliseconds from FILE's last write to the stamp of the newest catalogue line.
ms_since() {
    python3 - "$1" "$(tovlen_log)" <<'PY'
import datetime, os, sys
written = os.stat(sys.argv[1]).st_mtime
line = [l for l in open(sys.argv[2], encoding="utf-8", errors="replace") if "Catalogue: " in l][-1]
landed = datetime.datetime.strptime(line[:23], "%Y-%m-%d %H:%M:%S.%f").timestamp()
print(round((landed - written) * 1000))
PY
}

command_line() {
    xdotool mousemove --window "$E2E_NOTEPAD" 300 200 click 1
    sleep 0.3
    e2e_focus "$E2E_NOTEPAD"
    e2e_key Caps_Lock
    e2e_until 10 e2e_command_window || e2e_fail "Caps Lock did not open the command window"
    e2e_type "$1"
    [ -z "${2:-}" ] || e2e_shot "$2"
    e2e_key Return
}

e2e_focus_notepad
e2e_start 'C:\Tovlen\Tovlen.exe'
tovlen_pid=$E2E_LAST_PID
e2e_wait_tovlen_ready
e2e_until 30 has_builds 1 || e2e_fail "no catalogue build in the log"

# A shortcut written while Tovlen runs, in a folder of its own as installers make them:
# typeable within 2 s of the file being written.
before=$(builds)
mkdir "$programs_dir/Quokka"
e2e_shortcut "$(e2e_programs_folder)\\Quokka\\Quokka Recorder.lnk" 'C:\E2E Tools\recordargs.exe' "quokka"
link="$programs_dir/Quokka/Quokka Recorder.lnk"
[ -f "$link" ] || e2e_fail "no shortcut in the Start menu"
sleep 2
has_builds $((before + 1)) || e2e_fail "the catalogue was not rebuilt within 2 s of the shortcut"
e2e_log "shortcut written -> catalogue rebuilt: $(ms_since "$link") ms"
command_line "quokka"
e2e_until 15 has_records 1 || e2e_fail "typing the new shortcut's name started nothing"
grep -q '^args: .*quokka' "$log" || e2e_fail "wrong program started: $(cat "$log")"

# Deleted: within 2 s its name starts nothing any more.
before=$(builds)
rm -f "$link"
sleep 2
has_builds $((before + 1)) || e2e_fail "the catalogue was not rebuilt within 2 s of the deletion"
e2e_log "shortcut deleted -> catalogue rebuilt: $(ms_since "$programs_dir/Quokka") ms"
command_line "quokka" live-deleted-typed
sleep 3
[ "$(records)" -eq 1 ] || e2e_fail "the deleted shortcut still started its program: $(cat "$log")"
e2e_key Escape

# A command appended to customprograms.lst by hand, as in Notepad.
before=$(builds)
printf 'wombat\r\nrun C:\\E2E Tools\\recordargs.exe\r\n' >>"$install_dir/customprograms.lst"
sleep 2
has_builds $((before + 1)) || e2e_fail "the catalogue was not rebuilt within 2 s of the list file's change"
e2e_log "customprograms.lst appended -> catalogue rebuilt: $(ms_since "$install_dir/customprograms.lst") ms"
command_line "wombat"
e2e_until 15 has_records 2 || e2e_fail "the command added by hand started nothing"

# The rebuilds settle: nothing keeps rebuilding on its own (its own log and list writes included).
settled=$(builds)
sleep 3
[ "$(builds)" -eq "$settled" ] || e2e_fail "the catalogue keeps rebuilding: $(grep 'Catalogue: ' "$(tovlen_log)" | tail -5)"

kill -0 "$tovlen_pid" 2>/dev/null || e2e_fail "Tovlen is no longer running"
e2e_log "PASS live"
