#!/usr/bin/env bash
# The list files on a system whose ANSI code page is UTF-8 (65001, "Use Unicode UTF-8 for
# worldwide language support"): the running Tovlen says in its log that it reads text in code
# page 65001; a command named "überall" added through the preferences window to a list file
# of plain ASCII is written there in that code page (UTF-8, where code page 1252 would give one
# byte for the ü), and removing another command leaves every other line as it was.
# Wine 8 takes the system code page from the Unix locale and ignores the registry's ACP, but
# it honours a program's manifest asking for UTF-8 as its code page (activeCodePage, as
# Windows 10 1903 and later do), which puts the process where the system setting would; so
# the Tovlen.exe under test is a copy whose manifest asks for that.
source "$(dirname "$0")/lib.sh"
e2e_setup codepage "${E2E_DISPLAY_BASE:-190}"

drive_c="$WINEPREFIX/drive_c"
install_dir="$drive_c/Tovlen"
tools_dir="$drive_c/E2E Tools"
list="$install_dir/customprograms.lst"
mkdir -p "$install_dir" "$tools_dir"
cp "$BUILD_WIN/recordargs.exe" "$tools_dir/"

utf8_manifest_part='<application xmlns="urn:schemas-microsoft-com:asm.v3"><windowsSettings><activeCodePage xmlns="http://schemas.microsoft.com/SMI/2019/WindowsSettings">UTF-8</activeCodePage></windowsSettings></application>'
# The embedded manifest's trustInfo (asInvoker, the default anyway) makes room for the request,
# padded with blanks so that no offset in the file moves.
python3 - "$BUILD_WIN/Tovlen.exe" "$install_dir/Tovlen.exe" "$utf8_manifest_part" <<'PY' || e2e_fail "no manifest to change in Tovlen.exe"
import sys
data = open(sys.argv[1], "rb").read()
start = data.index(b"<trustInfo")
end = data.index(b"</trustInfo>", start) + len(b"</trustInfo>")
part = sys.argv[3].encode()
assert len(part) <= end - start
open(sys.argv[2], "wb").write(data[:start] + part.ljust(end - start) + data[end:])
PY

timeout 60 wine reg add 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP /t REG_SZ /d 65001 /f \
    >/dev/null 2>&1 || e2e_fail "could not set the ANSI code page"
timeout 60 wine reg add 'HKCU\Software\Tovlen\settings' /v showwelcome /t REG_SZ /d 0 /f >/dev/null 2>&1 ||
    e2e_fail "could not write the settings"
timeout 60 wineserver -k 2>/dev/null || true # the code page is read when the prefix starts
timeout 60 wineserver -w || true

printf 'notes\r\nrun C:\\notes.txt\r\n' >"$list"
list_holds() { [ -f "$list" ] && [ "$(od -An -c "$list")" = "$(printf "$1" | od -An -c)" ]; }
prefs_window() { xdotool search --onlyvisible --name '^Tovlen Preferences$' 2>/dev/null | head -1; }

e2e_focus_notepad
e2e_start 'C:\Tovlen\Tovlen.exe'
tovlen_pid=$E2E_LAST_PID
e2e_wait_tovlen_ready
tovlen_log="$drive_c/users/${USER:-$(id -un)}/AppData/Local/Tovlen/tovlen.log"
grep -aq "ANSI code page 65001" "$tovlen_log" ||
    e2e_fail "Tovlen does not read text in code page 65001: $(grep -a "code page" "$tovlen_log")"

xdotool mousemove --window "$E2E_NOTEPAD" 100 300 click 1
sleep 0.3
e2e_focus "$E2E_NOTEPAD"
e2e_key Caps_Lock
e2e_until 10 e2e_command_window || e2e_fail "Caps Lock did not open the command window"
e2e_type "preferences"
e2e_key Return
e2e_until 15 prefs_window || e2e_fail "typing preferences did not open the preferences window"
prefs=$(prefs_window)
sleep 1

# click_prefs X Y: a click at a point of the preferences window's 560x446 client area.
click_prefs() {
    local WIDTH HEIGHT border caption
    eval "$(xdotool getwindowgeometry --shell "$prefs" | grep -E '^(WIDTH|HEIGHT)=')"
    border=$(((WIDTH - 560) / 2))
    caption=$((HEIGHT - 446 - border))
    xdotool mousemove --window "$prefs" $((border + $1)) $((caption + $2)) click 1
    sleep 0.8
}

click_prefs 353 377 # "Add Command"
click_prefs 340 75  # "Program"
dialog=$(e2e_wait_window '^Select Program$' 20) || e2e_fail "the open-file dialog did not open"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
sleep 0.5
e2e_type 'C:\E2E Tools\recordargs.exe'
e2e_key Return
box=$(e2e_wait_window '^Command$' 20) || e2e_fail "no input box asked for the command's name"
xdotool windowfocus --sync "$box" 2>/dev/null || true
sleep 0.5
e2e_key End shift+Home # the name offered goes
e2e_type "überall"
e2e_key Return
e2e_until 10 list_holds 'notes\r\nrun C:\\notes.txt\r\n\xc3\xbcberall\r\nrun C:\\E2E Tools\\recordargs.exe\r\n' ||
    e2e_fail "after Add Command customprograms.lst holds: $(od -c "$list" | head)"
e2e_log "added: $(tr '\r\n' '|~' <"$list")"

click_prefs 400 166 # the first row of the list: notes
click_prefs 479 377 # "Remove Command"
e2e_until 10 list_holds '\xc3\xbcberall\r\nrun C:\\E2E Tools\\recordargs.exe\r\n' ||
    e2e_fail "after Remove Command customprograms.lst holds: $(od -c "$list" | head)"
e2e_shot codepage-after-remove
e2e_log "after removing notes: $(tr '\r\n' '|~' <"$list")"

kill -0 "$tovlen_pid" 2>/dev/null || e2e_fail "Tovlen ended on its own"
e2e_log "PASS codepage"
