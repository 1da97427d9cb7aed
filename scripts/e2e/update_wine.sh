#!/usr/bin/env bash
# The update check under Wine against a real HTTP/1.1 server (lighttpd on a free loopback
# port). First the exchange over Winsock through tovlenctl.exe, which must save the exact
# installer; then Tovlen.exe itself, with "update" typed on the command line: an unsigned and
# a tampered installer are refused, a missing one (404) is "This is the current version of
# Tovlen.", and a signed one is started with the update window's handle, after which Tovlen ends.
source "$(dirname "$0")/lib.sh"

lighttpd_bin=/usr/sbin/lighttpd
[ -x "$lighttpd_bin" ] || e2e_fail "$lighttpd_bin is missing (Debian package lighttpd)"
e2e_setup update 130

work="$E2E_OUT/update"
rm -rf "$work"
mkdir -p "$work/www/updates"
helper="$BUILD_WIN/update_helper.exe"
[ -f "$helper" ] || e2e_fail "$helper is missing: build the Windows targets first"

# A publisher of our own signs the helper, which then stands in for the installer; a copy
# with one byte changed keeps the signature but no longer matches it.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tovlen Test Publisher" \
    -addext "extendedKeyUsage=codeSigning" -addext "keyUsage=digitalSignature" \
    -keyout "$work/publisher.key" -out "$work/publisher.pem" 2>/dev/null || e2e_fail "openssl could not make a certificate"
openssl x509 -in "$work/publisher.pem" -outform DER -out "$work/publisher.der"
osslsigncode sign -certs "$work/publisher.pem" -key "$work/publisher.key" -n "Tovlen test installer" \
    -in "$helper" -out "$work/signed.exe" >/dev/null || e2e_fail "osslsigncode could not sign"
cp "$work/signed.exe" "$work/tampered.exe"
size=$(stat -c %s "$work/tampered.exe")
printf '\xA5' | dd of="$work/tampered.exe" bs=1 seek=$((size / 2)) conv=notrunc status=none

serve() { cp "$1" "$work/www/updates/tovlen1_6_0.exe"; }
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat >"$work/lighttpd.conf" <<CONF
server.document-root = "$work/www"
server.bind = "127.0.0.1"
server.port = $port
server.errorlog = "$work/lighttpd.log"
mimetype.assign = (".exe" => "application/octet-stream")
CONF
"$lighttpd_bin" -D -f "$work/lighttpd.conf" &
E2E_PIDS+=($!)
e2e_until 10 bash -c "exec 3<>/dev/tcp/127.0.0.1/$port" || e2e_fail "lighttpd did not start: $(cat "$work/lighttpd.log")"
e2e_log "lighttpd on 127.0.0.1:$port"

# The exchange over Winsock.
serve "$BUILD_WIN/tovlenctl.exe"
mkdir -p "$WINEPREFIX/drive_c/download"
out=$(timeout 60 wine "$BUILD_WIN/tovlenctl.exe" update-check --host "127.0.0.1:$port" --save 'C:\download' | tr -d '\r')
e2e_log "tovlenctl: $out"
[[ "$out" == *'"outcome":"downloaded"'* ]] || e2e_fail "tovlenctl.exe did not download the installer"
cmp "$WINEPREFIX/drive_c/download/updatefile.exe" "$work/www/updates/tovlen1_6_0.exe" ||
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
cp "$helper" "$work/publisher.der" "$WINEPREFIX/drive_c/"
timeout 60 wine reg add 'HKCU\Software\Tovlen\settings' /v updatehost /t REG_SZ /d "127.0.0.1:$port" /f >/dev/null 2>&1
timeout 60 wine reg add 'HKCU\Software\Tovlen\settings' /v showwelcome /t REG_SZ /d 0 /f >/dev/null 2>&1

message_boxes() { timeout 30 wine 'C:\update_helper.exe' "${1:-messages}" 2>/dev/null | tr -d '\r'; }
shows_message() { message_boxes | grep -qxF "Tovlen	$1"; }
no_message_box() { ! message_boxes | grep -q .; }
only_tovlen_in_program_folder() { [ "$(ls "$install_dir")" = Tovlen.exe ]; }

# update_says TEXT SHOT: types "update", waits for the message box TEXT and presses its OK.
update_says() {
    e2e_focus "$E2E_NOTEPAD"
    e2e_key Caps_Lock
    e2e_until 10 e2e_command_window || e2e_fail "Caps Lock did not open the command window"
    e2e_focus "$E2E_NOTEPAD"
    e2e_type "update"
    e2e_key Return
    e2e_until 60 shows_message "$1" || e2e_fail "no message \"$1\"; on screen: $(message_boxes)"
    e2e_shot "update-$2"
    message_boxes dismiss >/dev/null
    e2e_until 10 no_message_box || e2e_fail "the message box did not close"
}

e2e_focus_notepad
e2e_start 'C:\Tovlen\Tovlen.exe'
tovlen_pid=$E2E_LAST_PID
e2e_wait_tovlen_ready

serve "$BUILD_WIN/tovlenctl.exe"
update_says "The downloaded update could not be verified, so it was not installed." unsigned
only_tovlen_in_program_folder || e2e_fail "an unsigned installer was left: $(ls "$install_dir")"

timeout 60 wine 'C:\update_helper.exe' trust 'C:\publisher.der' || e2e_fail "could not trust the test publisher"
serve "$work/tampered.exe"
update_says "The downloaded update could not be verified, so it was not installed." tampered
only_tovlen_in_program_folder || e2e_fail "a tampered installer was left: $(ls "$install_dir")"

rm "$work/www/updates/tovlen1_6_0.exe"
update_says "This is the current version of Tovlen." current
only_tovlen_in_program_folder || e2e_fail "a 404 left files: $(ls "$install_dir")"
kill -0 "$tovlen_pid" 2>/dev/null || e2e_fail "Tovlen ended without having started an installer"

serve "$work/signed.exe"
update_says "Update downloaded, now installing." signed
started="$WINEPREFIX/drive_c/installer-ran.txt"
e2e_until 30 test -s "$started" || e2e_fail "the signed installer was not started"
cmp "$install_dir/updatefile.exe" "$work/signed.exe" || e2e_fail "the started installer is not the served one"
command_line=$(sed -n 1p "$started" | tr -d '\r')
working_folder=$(sed -n 2p "$started" | tr -d '\r')
e2e_log "installer started as [$command_line] in [$working_folder]"
[[ "$command_line" =~ ^\"?C:\\Tovlen\\updatefile\.exe\"?\ +[1-9][0-9]*$ ]] ||
    e2e_fail "the installer was not given the update window's handle: $command_line"
[ "$working_folder" = 'C:\Tovlen' ] || e2e_fail "the installer ran in $working_folder"
for _ in $(seq 50); do kill -0 "$tovlen_pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$tovlen_pid" 2>/dev/null && e2e_fail "Tovlen did not end after starting the installer"
e2e_log "PASS update"
