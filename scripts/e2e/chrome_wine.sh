#!/usr/bin/env bash
# The program's chrome under Wine, as a person meets it: the splash and the welcome window
# at the first start, "Okay" with the box unticked remembered in the registry, no welcome
# window at the next start, the start-up shortcut, and the tray menu's Disable, Enable,
# Preferences and Exit driven with the mouse in Wine's notification area.
source "$(dirname "$0")/lib.sh"
e2e_setup chrome 160

install_dir="$WINEPREFIX/drive_c/Tovlen"
mkdir -p "$install_dir"
cp "$BUILD_WIN/Tovlen.exe" "$BUILD_WIN/controlrect.exe" "$BUILD_WIN/tovlenctl.exe" "$install_dir/"

# Top-level windows on screen, one "id left top width height name" line each.
visible_windows() {
    local id geo
    for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
        geo=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null) || continue
        eval "$geo"
        echo "$id $X $Y $WIDTH $HEIGHT $(xdotool getwindowname "$id" 2>/dev/null)"
    done
}
splash_window() { visible_windows | awk '$4 == 398 && $5 == 144 && $6 == "Tovlen" { print $1; f = 1 } END { exit !f }'; }
welcome_window() { visible_windows | awk '$6 == "Welcome" && $7 == "to" && $8 == "Tovlen" { print $1; f = 1 } END { exit !f }'; }
tovlen_running() { kill -0 "$tovlen_pid" 2>/dev/null; }

# Clicks the middle of a control of a Tovlen window, found by its text.
click_control() {
    local rect
    rect=$(timeout 30 wine 'C:\Tovlen\controlrect.exe' "$1" "$2" 2>/dev/null | tr -d '\r') ||
        e2e_fail "no control \"$2\" in the window \"$1\""
    read -r left top right bottom <<<"$rect"
    xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) click 1
    sleep 0.5
}

# Right-clicks Tovlen's icon in Wine's notification area and picks item N (0-based) of the
# menu that opens at the mouse.
tray_menu() {
    local item=$1 shot=${2:-} tray x y menu
    tray=$(xdotool search --onlyvisible --name '^Wine System Tray$' 2>/dev/null | head -1) ||
        e2e_fail "Wine shows no notification area"
    eval "$(xdotool getwindowgeometry --shell "$tray")"
    xdotool windowraise "$tray" # a click into Notepad may have put Notepad over it
    sleep 0.3
    x=$((X + 13)) y=$((Y + HEIGHT - 14))
    xdotool mousemove "$x" "$y" click 3
    menu_at() { visible_windows | awk -v x="$x" -v y="$y" '$2 == x && $3 == y && $5 < 200 { print; f = 1 } END { exit !f }'; }
    e2e_until 10 menu_at || e2e_fail "right-clicking the tray icon opened no menu"
    [ -n "$shot" ] && e2e_shot "$shot"
    read -r _ mx my mw mh _ <<<"$(menu_at)"
    # Three items of equal height inside a 3-pixel border.
    xdotool mousemove $((mx + mw / 2)) $((my + 3 + (mh - 6) * (2 * item + 1) / 6)) click 1
    sleep 1
}

# Wine drops the next key while its window in front is not the one with the X focus, as
# after the notification area or a Tovlen window came up; a click puts Notepad in front.
caps_opens_window() {
    xdotool mousemove --window "$E2E_NOTEPAD" 300 200 click 1
    sleep 0.3
    e2e_focus "$E2E_NOTEPAD"
    e2e_key Caps_Lock
    e2e_until 4 e2e_command_window || return 1
    e2e_focus "$E2E_NOTEPAD"
    e2e_key Escape
    e2e_until 10 e2e_no_command_window || e2e_fail "Escape did not close the command window"
}

e2e_focus_notepad

e2e_log "first start: splash, then the welcome window"
e2e_start 'C:\Tovlen\Tovlen.exe'
tovlen_pid=$E2E_LAST_PID
e2e_until 20 splash_window || e2e_fail "no splash window (398x144, \"Tovlen\") at the first start"
read -r _ sx sy _ <<<"$(visible_windows | awk '$4 == 398 && $5 == 144')"
e2e_shot chrome-splash
[ "$sx" -eq $((1024 / 2 - 398 / 2)) ] && [ "$sy" -eq 100 ] || e2e_fail "the splash stands at $sx,$sy"
e2e_until 20 welcome_window || e2e_fail "no welcome window after the splash"
e2e_until 5 eval '! splash_window' || e2e_fail "the splash stayed with the welcome window"
sleep 0.5
e2e_shot chrome-welcome

e2e_log "untick, Okay"
click_control "Welcome to Tovlen" "Show this window next time Tovlen Starts"
click_control "Welcome to Tovlen" "Okay"
e2e_until 10 eval '! welcome_window' || e2e_fail "Okay did not close the welcome window"
stored=$(timeout 30 wine reg query 'HKCU\Software\Tovlen\settings' /v showwelcome 2>/dev/null | tr -d '\r' |
    awk '$1 == "showwelcome" { print $3 }')
[ "$stored" = 0 ] || e2e_fail "showwelcome is \"$stored\" after Okay with the box unticked"

startup_files() { find "$WINEPREFIX/drive_c" -ipath '*/startup/*' -type f 2>/dev/null; }
e2e_log "the start-up shortcut"
link=$(find "$WINEPREFIX/drive_c" -ipath '*startup/tovlen.lnk' 2>/dev/null | head -1)
[ -n "$link" ] || e2e_fail "no Tovlen.lnk in a Startup folder"
e2e_log "found $link"
link_windows="Z:$(echo "$link" | tr / '\\')"
info=$(timeout 30 wine 'C:\Tovlen\tovlenctl.exe' lnk "$link_windows" 2>/dev/null | tr -d '\r') ||
    e2e_fail "tovlenctl.exe could not read $link_windows"
e2e_log "tovlenctl lnk: $info"
[[ "$info" == *'"ok":true'* && "$info" == *'"target":"C:\\Tovlen\\Tovlen.exe"'* &&
    "$info" == *'"working_folder":"C:\\Tovlen"'* ]] || e2e_fail "the shortcut points elsewhere: $info"
[ "$(startup_files | wc -l)" -eq 1 ] || e2e_fail "more in the Startup folders than Tovlen.lnk: $(startup_files)"
link_identity=$(stat -c '%i %Y' "$link")

e2e_log "tray menu: Disable, Enable"
caps_opens_window || e2e_fail "Caps Lock did not open the command window before Disable"
tray_menu 1 chrome-tray-menu
caps_opens_window && e2e_fail "Caps Lock still opens the command window after Disable"
tray_menu 1
caps_opens_window || e2e_fail "Caps Lock did not open the command window after Enable"

e2e_log "tray menu: Preferences"
tray_menu 0
preferences_window() { xdotool search --onlyvisible --name '^Tovlen Preferences$' >/dev/null 2>&1; }
e2e_until 15 preferences_window || e2e_fail "Preferences in the tray menu opened no preferences window"

e2e_log "tray menu: Exit Tovlen"
tray_menu 2
e2e_until 15 eval '! tovlen_running' || e2e_fail "Exit Tovlen did not end the program"
tray_icon_gone() { ! xdotool search --onlyvisible --name '^Wine System Tray$' >/dev/null 2>&1; }
e2e_until 10 tray_icon_gone || e2e_fail "the tray icon stayed after Exit Tovlen"

e2e_log "second start: splash, no welcome window"
e2e_start 'C:\Tovlen\Tovlen.exe'
tovlen_pid=$E2E_LAST_PID
e2e_until 20 splash_window || e2e_fail "no splash window at the second start"
e2e_until 20 eval '! splash_window' || e2e_fail "the splash did not go away"
sleep 3
welcome_window >/dev/null && e2e_fail "the welcome window came back after it was unticked"
e2e_shot chrome-second-start
if [ -n "$link" ]; then
    [ "$(stat -c '%i %Y' "$link")" = "$link_identity" ] && [ "$(startup_files | wc -l)" -eq 1 ] ||
        e2e_fail "the second start wrote the start-up shortcut again"
fi
caps_opens_window || e2e_fail "Caps Lock did not open the command window at the second start"
e2e_focus "$E2E_NOTEPAD"
e2e_key Caps_Lock
e2e_until 10 e2e_command_window || e2e_fail "the command window did not open"
e2e_focus "$E2E_NOTEPAD"
e2e_type "exit"
e2e_key Return
e2e_until 15 eval '! tovlen_running' || e2e_fail "typing exit did not end the program"

e2e_log "third start without the scripting shell: no shortcut, no message, the program runs"
[ -n "$link" ] && rm -f "$link"
timeout 60 wine reg delete 'HKCR\WScript.Shell' /f >/dev/null 2>&1 || e2e_fail "could not unregister WScript.Shell"
e2e_start 'C:\Tovlen\Tovlen.exe'
tovlen_pid=$E2E_LAST_PID
e2e_until 20 splash_window || e2e_fail "no splash window at the third start"
e2e_until 20 eval '! splash_window' || e2e_fail "the splash did not go away"
sleep 2
[ -z "$(startup_files)" ] || e2e_fail "a shortcut file without the scripting shell: $(startup_files)"
others=$(visible_windows | awk 'NF > 5 && $6 != "Wine" && $6 != "Untitled" { print }')
[ -z "$others" ] || e2e_fail "windows on screen besides Notepad and the tray: $others"
caps_opens_window || e2e_fail "Caps Lock did not open the command window at the third start"
tray_menu 2
e2e_until 15 eval '! tovlen_running' || e2e_fail "Exit Tovlen did not end the third start"
e2e_log "PASS chrome"
