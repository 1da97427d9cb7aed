#!/usr/bin/env bash
# The catalogue follows the desktop while Tovlen runs: a catalogue that holds a shortcut
# written by the Windows Script Host lands within 2 s of the file's write, and typing its name
# starts it; after the shortcut is deleted a catalogue without it lands within 2 s, and its name
# starts nothing; a command appended to customprograms.lst by hand works without a restart.
# The times come from the log's lines of successful builds, whose entry and custom-command
# counts tell which change they hold.
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
# The successful builds' lines; "Catalogue: the build failed" is none of them.
built_lines() {
    local f
    f=$(tovlen_log)
    [ -z "$f" ] || grep -a 'Catalogue: [0-9]* entries built in' "$f" | tr -d '\r' || true
}
builds() { built_lines | wc -l; }
has_builds() { [ "$(builds)" -ge "$1" ]; }
# counts: the entries and custom commands of the newest successful build, as "N M".
counts() { built_lines | tail -1 | sed -n 's/.*Catalogue: \([0-9]*\) entries built in [0-9]* ms, with \([0-9]*\) custom.*/\1 \2/p'; }
# Waits until no build has landed for 2 s: changes made before then have been taken in.
settled() {
    local seen end=$((SECONDS + 30))
    while [ $SECONDS -lt $end ]; do
        seen=$(builds)
        sleep 2
        [ "$(builds)" = "$seen" ] && return 0
    done
    return 1
}
# landed_ms FILE ENTRIES CUSTOM: milliseconds from FILE's last write to the first successful
# build stamped after it that holds ENTRIES entries and CUSTOM custom commands; fails when none has.
landed_ms() {
    built_lines | python3 -c '
import datetime, os, re, sys
written = os.stat(sys.argv[1]).st_mtime
for line in sys.stdin:
    m = re.search(r"Catalogue: (\d+) entries built in \d+ ms, with (\d+) custom", line)
    landed = datetime.datetime.strptime(line[:23], "%Y-%m-%d %H:%M:%S.%f").timestamp()
    if m and landed >= written and m.groups() == (sys.argv[2], sys.argv[3]):
        print(round((landed - written) * 1000))
        sys.exit(0)
sys.exit(1)' "$@"
}
# expect_landed WHAT FILE ENTRIES CUSTOM: the build that holds the change lands within 2 s of it.
expect_landed() {
    local what=$1 took
    shift
    e2e_until 15 landed_ms "$@" || e2e_fail "no catalogue holds $what: $(built_lines | tail -3)"
    took=$(landed_ms "$@")
    e2e_log "$what -> catalogue rebuilt: $took ms"
    [ "$took" -le 2000 ] || e2e_fail "the catalogue took $took ms to hold $what"
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

# A shortcut written while Tovlen runs, in a folder of its own as installers make them. The
# folder comes first, and its own rebuild is let through, so that only the shortcut's build counts.
mkdir "$programs_dir/Quokka"
settled || e2e_fail "the catalogue kept rebuilding after the folder was made"
read -r entries custom <<<"$(counts)"
[ -n "${custom:-}" ] || e2e_fail "the log's build lines give no counts: $(built_lines | tail -1)"
e2e_shortcut "$(e2e_programs_folder)\\Quokka\\Quokka Recorder.lnk" 'C:\E2E Tools\recordargs.exe' "quokka"
link="$programs_dir/Quokka/Quokka Recorder.lnk"
[ -f "$link" ] || e2e_fail "no shortcut in the Start menu"
expect_landed "the new shortcut" "$link" $((entries + 1)) "$custom"
command_line "quokka"
# Wine takes a while to start a program; the catalogue's part was timed above.
e2e_until 15 has_records 1 || e2e_fail "typing the new shortcut's name started nothing"
grep -q '^args: .*quokka' "$log" || e2e_fail "wrong program started: $(cat "$log")"

# Deleted: a catalogue without it lands within 2 s, and its name starts nothing any more.
rm -f "$link"
expect_landed "the deletion" "$programs_dir/Quokka" "$entries" "$custom"
command_line "quokka" live-deleted-typed
sleep 3
[ "$(records)" -eq 1 ] || e2e_fail "the deleted shortcut still started its program: $(cat "$log")"
e2e_key Escape

# A command appended to customprograms.lst by hand, as in Notepad.
printf 'wombat\r\nrun C:\\E2E Tools\\recordargs.exe\r\n' >>"$install_dir/customprograms.lst"
expect_landed "the appended command" "$install_dir/customprograms.lst" "$entries" $((custom + 1))
command_line "wombat"
e2e_until 15 has_records 2 || e2e_fail "the command added by hand started nothing"

# The rebuilds settle: nothing keeps rebuilding on its own (its own log and list writes included).
settled=$(builds)
sleep 3
[ "$(builds)" -eq "$settled" ] || e2e_fail "the catalogue keeps rebuilding: $(built_lines | tail -5)"

kill -0 "$tovlen_pid" 2>/dev/null || e2e_fail "Tovlen is no longer running"
e2e_log "PASS live"
