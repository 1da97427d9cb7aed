#!/usr/bin/env bash
# The update check under Wine against a real HTTP/1.1 server (lighttpd on a free loopback
# port): first the exchange over Winsock through tovlenctl.exe, which must save the exact
# installer; then Tovlen.exe itself, where "update" typed on the command line refuses an
# unsigned installer and a missing one (404) means "This is the current version of Tovlen.".
source "$(dirname "$0")/lib.sh"

lighttpd_bin=/usr/sbin/lighttpd
[ -x "$lighttpd_bin" ] || e2e_fail "$lighttpd_bin is missing (Debian package lighttpd)"
e2e_setup update 130

helper="$E2E_OUT/update_msgbox.exe"
x86_64-w64-mingw32-g++-posix -O2 -municode -static -o "$helper" "$E2E_ROOT/scripts/e2e/update_msgbox.cpp" ||
    e2e_fail "could not build the message-box helper"

# An unsigned Windows program stands in for the installer.
www="$E2E_OUT/update-www"
rm -rf "$www"
mkdir -p "$www/updates"
cp "$BUILD_WIN/tovlenctl.exe" "$www/updates/tovlen1_6_0.exe"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat >"$E2E_OUT/update-lighttpd.conf" <<CONF
server.document-root = "$www"
server.bind = "127.0.0.1"
server.port = $port
server.errorlog = "$E2E_OUT/update-lighttpd.log"
mimetype.assign = (".exe" => "application/octet-stream")
CONF
"$lighttpd_bin" -D -f "$E2E_OUT/update-lighttpd.conf" &
E2E_PIDS+=($!)
e2e_until 10 bash -c "exec 3<>/dev/tcp/127.0.0.1/$port" || e2e_fail "lighttpd did not start: $(cat "$E2E_OUT/update-lighttpd.log")"
e2e_log "lighttpd on 127.0.0.1:$port"

# The exchange over Winsock.
mkdir -p "$WINEPREFIX/drive_c/download"
out=$(timeout 60 wine "$BUILD_WIN/tovlenctl.exe" update-check --host "127.0.0.1:$port" --save 'C:\download' | tr -d '\r')
e2e_log "tovlenctl: $out"
[[ "$out" == *'"outcome":"downloaded"'* ]] || e2e_fail "tovlenctl.exe did not download the installer"
cmp "$WINEPREFIX/drive_c/download/updatefile.exe" "$www/updates/tovlen1_6_0.exe" ||
    e2e_fail "the saved installer differs from the served one"
[ "$(ls "$WINEPREFIX/drive_c/download")" = updatefile.exe ] || e2e_fail "a temporary file was left behind"
out=$(timeout 60 wine "$BUILD_WIN/tovlenctl.exe" update-check --host "localhost:$port" --minor 6 | tr -d '\r' || true)
[[ "$out" == *'"outcome":"no-update"'* ]] || e2e_fail "a missing installer was not a 404: $out"

# The program itself.
if ! grep -q 'RunUpdate(' "$E2E_ROOT/src/commands/dispatch.cpp"; then
    e2e_log "SKIP the Tovlen.exe part: the dispatcher does not run \"update\" yet"
    e2e_log "PASS update (exchange only)"
    exit 0
fi
install_dir="$WINEPREFIX/drive_c/Tovlen"
mkdir -p "$install_dir"
cp "$BUILD_WIN/Tovlen.exe" "$install_dir/"
timeout 60 wine reg add 'HKCU\Software\Tovlen\settings' /v updatehost /t REG_SZ /d "127.0.0.1:$port" /f >/dev/null 2>&1
timeout 60 wine reg add 'HKCU\Software\Tovlen\settings' /v showwelcome /t REG_SZ /d 0 /f >/dev/null 2>&1

message_boxes() { timeout 30 wine "$helper" "$@" 2>/dev/null | tr -d '\r'; }
shows_message() { message_boxes | grep -qxF "Tovlen	$1"; }
no_message_box() { ! message_boxes | grep -q .; }

# update_says TEXT: types "update" and waits for the message box TEXT, then presses its OK.
update_says() {
    e2e_focus "$E2E_NOTEPAD"
    e2e_key Caps_Lock
    e2e_until 10 e2e_command_window || e2e_fail "Caps Lock did not open the command window"
    e2e_focus "$E2E_NOTEPAD"
    e2e_type "update"
    e2e_key Return
    e2e_until 60 shows_message "$1" || e2e_fail "no message \"$1\"; on screen: $(message_boxes)"
    e2e_shot "update-$2"
    message_boxes --dismiss >/dev/null
    e2e_until 10 no_message_box || e2e_fail "the message box did not close"
}

e2e_focus_notepad
e2e_start 'C:\Tovlen\Tovlen.exe'
tovlen_pid=$E2E_LAST_PID
sleep 3

update_says "The downloaded update could not be verified, so it was not installed." unsigned
ls "$install_dir" | grep -qv '^Tovlen.exe$' && e2e_fail "files were left in the program folder: $(ls "$install_dir")"
kill -0 "$tovlen_pid" 2>/dev/null || e2e_fail "Tovlen ended after refusing the installer"

rm "$www/updates/tovlen1_6_0.exe"
update_says "This is the current version of Tovlen." current
ls "$install_dir" | grep -qv '^Tovlen.exe$' && e2e_fail "files were left in the program folder: $(ls "$install_dir")"

e2e_focus "$E2E_NOTEPAD"
e2e_key Caps_Lock
e2e_until 10 e2e_command_window || e2e_fail "the command window did not open after the checks"
e2e_focus "$E2E_NOTEPAD"
e2e_type "exit"
e2e_key Return
for _ in $(seq 50); do kill -0 "$tovlen_pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$tovlen_pid" 2>/dev/null && e2e_fail "Tovlen did not end on exit"
e2e_log "PASS update"
