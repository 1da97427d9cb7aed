#!/usr/bin/env bash
# Tovlen among the desktop's programs under Wine: it runs in the normal priority class with its
# input thread alone above normal programs; Caps Lock held down (its auto-repeat on) opens the
# command window once and keeps it; "restore tovlen" leaves Tovlen's own hidden windows hidden;
# and "exit" ends the process in under 0.5 s with the Start menu, the favourites and the Edge,
# Chrome and Firefox bookmarks all watched.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/accessible.sh"
e2e_setup desktop "${E2E_DISPLAY_BASE:-210}"

readonly caps_keycode=66 exit_limit_ms=500
install_dir="$WINEPREFIX/drive_c/Tovlen"
mkdir -p "$install_dir"
cp "$BUILD_WIN/Tovlen.exe" "$BUILD_WIN/process_probe.exe" "$BUILD_WIN/read_accessible.exe" "$install_dir/"
user_dir="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}"
log_file="$user_dir/AppData/Local/Tovlen/tovlen.log"

# Every source the catalogue reads, so that every one is watched.
mkdir -p "$user_dir/Favorites" "$user_dir/AppData/Roaming/Mozilla/Firefox/Profiles/e2e.default"
printf '<DL><DT><A HREF="https://html.example/">Firefox Check</A>\r\n</DL>\r\n' \
    >"$user_dir/AppData/Roaming/Mozilla/Firefox/Profiles/e2e.default/bookmarks.html"
for browser in "Microsoft/Edge" "Google/Chrome"; do
    mkdir -p "$user_dir/AppData/Local/$browser/User Data/Default"
    echo '{"roots":{"bookmark_bar":{"type":"folder","children":[{"type":"url","name":"Check","url":"https://browser.example/"}]}},"version":1}' \
        >"$user_dir/AppData/Local/$browser/User Data/Default/Bookmarks"
done

e2e_no_welcome
e2e_focus_notepad
e2e_start 'C:\Tovlen\Tovlen.exe'
tovlen_pid=$E2E_LAST_PID
e2e_wait_tovlen_ready
e2e_until 30 grep -q "Watching .* folders for changes" "$log_file" || e2e_fail "the catalogue's folders are not watched"
watching=$(grep -o "Watching [0-9]* folders" "$log_file" | tail -1)
e2e_log "$watching"
# The program's folder, the two Start menus, the two favourites, Firefox's profiles, Edge's and
# Chrome's profiles.
[ "$watching" = "Watching 8 folders" ] || e2e_fail "not every source is watched: $watching"

# --- priorities -------------------------------------------------------------------------------
priorities=$(timeout 60 wine 'C:\Tovlen\process_probe.exe' Tovlen.exe 2>/dev/null | tr -d '\r')
echo "$priorities" >&2
normal_class=32 time_critical=15 above_normal=1
[ "$(echo "$priorities" | sed -n 's/^class=//p')" = "$normal_class" ] ||
    e2e_fail "Tovlen does not run in the normal priority class"
above=$(echo "$priorities" | sed -n 's/^thread=[0-9]* priority=//p' | awk -v n="$above_normal" '$1 > n' | tr '\n' ' ')
[ "$above" = "$time_critical " ] || e2e_fail "threads above normal ones other than the input thread: $above"

# --- a held Caps Lock -------------------------------------------------------------------------
# X repeats Caps Lock only when told to, as Windows always does.
xset r "$caps_keycode"
xset r rate 250 30
e2e_focus "$E2E_NOTEPAD"
xdotool keydown Caps_Lock
windows=()
for _ in $(seq 20); do
    id=$(e2e_command_window || true)
    [ -n "$id" ] && [[ " ${windows[*]} " != *" $id "* ]] && windows+=("$id")
    sleep 0.1
done
xdotool keyup Caps_Lock
sleep 0.5
id=$(e2e_command_window || true)
[ -n "$id" ] && [[ " ${windows[*]} " != *" $id "* ]] && windows+=("$id")
e2e_log "command windows seen while Caps Lock was held for 2 s: ${#windows[@]}"
[ "${#windows[@]}" = 1 ] || e2e_fail "holding Caps Lock opened ${#windows[@]} command windows, not one"
[ -n "$id" ] || e2e_fail "the window opened by the held Caps Lock did not stay"
e2e_focus "$E2E_NOTEPAD"
e2e_type "restore tovlen"
e2e_expect_read 10 command "value=restore tovlen" "the repeats of Caps Lock changed the line"
e2e_shot desktop-held-caps-lock
xset -r "$caps_keycode"

# --- "restore tovlen" ---------------------------------------------------------------------------
e2e_key Return
e2e_until 10 e2e_no_command_window || e2e_fail "the command window did not close"
sleep 2
own=$(for id in $(xdotool search --onlyvisible --name '^Tovlen$' 2>/dev/null); do xdotool getwindowgeometry "$id"; done)
[ -z "$own" ] || e2e_fail "\"restore tovlen\" showed one of Tovlen's own windows: $own"

# --- exit -------------------------------------------------------------------------------------
e2e_until 20 e2e_no_command_window || e2e_fail "the command window of the line before did not close"
e2e_open_command_window
e2e_type "exit"
xdotool key Return
pressed=$(date +%s%N)
ended=""
for _ in $(seq 500); do
    if ! kill -0 "$tovlen_pid" 2>/dev/null; then
        ended=$(date +%s%N)
        break
    fi
    sleep 0.01
done
[ -n "$ended" ] || e2e_fail "Tovlen did not end within 5 s of \"exit\""
took_ms=$(((ended - pressed) / 1000000))
e2e_log "\"exit\" ended the process $took_ms ms after Enter, watching 8 folders"
[ "$took_ms" -lt "$exit_limit_ms" ] || e2e_fail "\"exit\" took $took_ms ms, not under $exit_limit_ms ms"
e2e_log "PASS desktop"
