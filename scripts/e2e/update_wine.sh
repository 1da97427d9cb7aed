#!/usr/bin/env bash
# The update check under Wine against a real HTTP/1.1 server (lighttpd on a free loopback
# port). First the exchange through WinHTTP in tovlenctl.exe, which must save the exact
# installer, over plain HTTP and over HTTPS (a loopback TLS server whose certificate a
# throw-away CA that the prefix trusts signed); then Tovlen.exe itself, built to pin signer A of
# that CA, with "update" typed on the command line, the update server known by a name that only
# an HTTP proxy on loopback resolves, and that proxy set as Windows keeps the user's proxy
# setting, so every check goes through it. A stand-in installer (update_helper.exe, its version
# set per copy, named Tovlen-setup.exe in its version resource) signed by B of the same CA, one
# signed by A but not newer, one changed after signing, and a newer Tovlen.exe signed by A are
# refused and deleted; a missing one (404) is "This is the current version of Tovlen."; a newer
# one signed by A is started from the user's own updates folder with the update window's handle
# and /D=<program folder>, after which Tovlen ends, and the next start deletes it. A build that
# pins no signer refuses at once.
source "$(dirname "$0")/lib.sh"

lighttpd_bin=/usr/sbin/lighttpd
[ -x "$lighttpd_bin" ] || e2e_fail "$lighttpd_bin is missing (Debian package lighttpd)"
e2e_setup update 130

work="$E2E_OUT/update"
rm -rf "$work"
mkdir -p "$work/www/updates"
helper="$BUILD_WIN/update_helper.exe"
[ -f "$helper" ] || e2e_fail "$helper is missing: build the Windows targets first"

# A throw-away CA with two signers; the build pins A.
pki="$work/pki"
e2e_test_ca "$pki" "Tovlen Update Test Root"
(
    cd "$pki"
    openssl x509 -in ca.crt -outform DER -out ca.der
    for who in a b; do
        openssl req -newkey rsa:2048 -nodes -keyout $who.key -out $who.csr -subj "/CN=Tovlen Test Signer $who"
        openssl x509 -req -in $who.csr -CA ca.crt -CAkey ca.key -CAcreateserial -out $who.crt -days 2 \
            -extfile openssl.cnf -extensions signer
        cat $who.crt ca.crt >$who-chain.pem
    done
    cat >>openssl.cnf <<CNF
[server]
basicConstraints = critical, CA:false
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
subjectAltName = DNS:localhost
CNF
    openssl req -newkey rsa:2048 -nodes -keyout server.key -out server.csr -subj "/CN=localhost"
    openssl x509 -req -in server.csr -CA ca.crt -CAkey ca.key -CAcreateserial -out server.crt -days 2 \
        -extfile openssl.cnf -extensions server
) >"$pki/log" 2>&1 || e2e_fail "openssl could not make the certificates: $(cat "$pki/log")"
signer_a=$(e2e_key_hash "$pki/a.crt")
[[ "$signer_a" =~ ^[0-9a-f]{64}$ ]] || e2e_fail "no key hash for signer A: $signer_a"
e2e_log "signer A's key: $signer_a"

# The running program is 1.5.10 (say): the stand-ins claim the next minor version, or the same.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD_WIN/CMakeCache.txt")
IFS=. read -r major minor _ <<<"$version"
newer="$major.$((minor + 1)).0.0"
same="$version.0"
# stand_in NAME VERSION SIGNER: a copy of the helper claiming VERSION, signed by SIGNER (a or b).
stand_in() {
    cp "$helper" "$work/$1.exe"
    e2e_set_file_version "$work/$1.exe" "$2"
    TOVLEN_SIGN_CERT="$pki/$3-chain.pem" TOVLEN_SIGN_KEY="$pki/$3.key" "$E2E_ROOT/scripts/sign.sh" "$work/$1.exe" \
        >/dev/null || e2e_fail "could not sign $1"
}
stand_in signed-a-newer "$newer" a
stand_in signed-b-newer "$newer" b
stand_in signed-a-same "$same" a
cp "$work/signed-a-newer.exe" "$work/tampered.exe"
size=$(stat -c %s "$work/tampered.exe")
printf '\xA5' | dd of="$work/tampered.exe" bs=1 seek=$((size / 2)) conv=notrunc status=none

serve() { cp "$1" "$work/www/updates/tovlen1_$((minor + 1))_0.exe"; }
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

# The exchange through WinHTTP.
serve "$BUILD_WIN/tovlenctl.exe"
mkdir -p "$WINEPREFIX/drive_c/download"
out=$(timeout 60 wine "$BUILD_WIN/tovlenctl.exe" update-check --host "127.0.0.1:$port" --save 'C:\download' | tr -d '\r')
e2e_log "tovlenctl: $out"
[[ "$out" == *'"outcome":"downloaded"'* ]] || e2e_fail "tovlenctl.exe did not download the installer"
cmp "$WINEPREFIX/drive_c/download/updatefile.exe" "$work/www/updates/tovlen1_$((minor + 1))_0.exe" ||
    e2e_fail "the saved installer differs from the served one"
[ "$(ls "$WINEPREFIX/drive_c/download")" = updatefile.exe ] || e2e_fail "a temporary file was left behind"
out=$(timeout 60 wine "$BUILD_WIN/tovlenctl.exe" update-check --host "localhost:$port" --minor $((minor + 1)) | tr -d '\r' || true)
[[ "$out" == *'"outcome":"no-update"'* ]] || e2e_fail "a missing installer was not a 404: $out"

# The program itself.
e2e_log "building Tovlen.exe that pins no signer, then one that pins signer A"
e2e_pinned_build "" Tovlen trust_probe
cp "$E2E_PINNED_BUILD/Tovlen.exe" "$work/Tovlen-no-signer.exe"
e2e_pinned_build "$signer_a" Tovlen trust_probe
# The program itself, newer and signed by the pinned key: not the installer, so not run.
cp "$E2E_PINNED_BUILD/Tovlen.exe" "$work/tovlen-a-newer.exe"
e2e_set_file_version "$work/tovlen-a-newer.exe" "$newer"
TOVLEN_SIGN_CERT="$pki/a-chain.pem" TOVLEN_SIGN_KEY="$pki/a.key" "$E2E_ROOT/scripts/sign.sh" "$work/tovlen-a-newer.exe" \
    >/dev/null || e2e_fail "could not sign the newer Tovlen.exe"

install_dir="$WINEPREFIX/drive_c/Tovlen"
mkdir -p "$install_dir"
cp "$E2E_PINNED_BUILD/Tovlen.exe" "$install_dir/"
cp "$helper" "$pki/ca.der" "$E2E_PINNED_BUILD/trust_probe.exe" "$work/signed-a-newer.exe" "$work/signed-b-newer.exe" \
    "$work/signed-a-same.exe" "$work/tampered.exe" "$work/tovlen-a-newer.exe" "$WINEPREFIX/drive_c/"
timeout 60 wine reg add 'HKCU\Software\Tovlen\settings' /v showwelcome /t REG_SZ /d 0 /f >/dev/null 2>&1
timeout 60 wine 'C:\update_helper.exe' trust 'C:\ca.der' || e2e_fail "could not trust the test CA"

# The exchange over HTTPS, with a server certificate of the trusted CA.
free_port() { python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
tls_port=$(free_port)
python3 - "$pki/server.crt" "$pki/server.key" "$work/www" "$tls_port" >"$work/https.log" 2>&1 <<'PY' &
import functools, http.server, ssl, sys
handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=sys.argv[3])
server = http.server.HTTPServer(("127.0.0.1", int(sys.argv[4])), handler)
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(sys.argv[1], sys.argv[2])
server.socket = context.wrap_socket(server.socket, server_side=True)
server.serve_forever()
PY
E2E_PIDS+=($!)
e2e_until 10 bash -c "exec 3<>/dev/tcp/127.0.0.1/$tls_port" || e2e_fail "the HTTPS server did not start: $(cat "$work/https.log")"
mkdir -p "$WINEPREFIX/drive_c/download-tls"
out=$(timeout 60 wine "$BUILD_WIN/tovlenctl.exe" update-check --host "https://localhost:$tls_port" --save 'C:\download-tls' |
    tr -d '\r' || true)
e2e_log "tovlenctl over HTTPS: $out"
[[ "$out" == *'"outcome":"downloaded"'* ]] || e2e_fail "tovlenctl.exe did not download the installer over HTTPS"
cmp "$WINEPREFIX/drive_c/download-tls/updatefile.exe" "$work/www/updates/tovlen1_$((minor + 1))_0.exe" ||
    e2e_fail "the installer saved over HTTPS differs from the served one"

# From here on the update server is a name that only the proxy knows, and the proxy is the
# user's, set as Windows keeps it (the Settings app's "Use a proxy server").
proxy_port=$(free_port)
proxy_log="$work/proxy.log"
python3 "$E2E_ROOT/scripts/e2e/http_proxy.py" "$proxy_port" "$proxy_log" updates.tovlen.test=127.0.0.1 &
E2E_PIDS+=($!)
e2e_until 10 bash -c "exec 3<>/dev/tcp/127.0.0.1/$proxy_port" || e2e_fail "the proxy did not start"
proxy_settings=$(python3 -c '
import struct, sys
proxy = sys.argv[1].encode()
# version, change counter, flags (direct | proxy), the proxy, no bypass list, no script address
print((struct.pack("<IIII", 0x46, 1, 3, len(proxy)) + proxy + struct.pack("<II", 0, 0) + bytes(32)).hex())' \
    "127.0.0.1:$proxy_port")
timeout 60 wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings\Connections' \
    /v DefaultConnectionSettings /t REG_BINARY /d "$proxy_settings" /f >/dev/null 2>&1 || e2e_fail "could not set the proxy"
timeout 60 wine reg add 'HKCU\Software\Tovlen\settings' /v updatehost /t REG_SZ /d "updates.tovlen.test:$port" /f \
    >/dev/null 2>&1

# What the platform's checks make of each stand-in, for the log and the record.
probe=$(timeout 60 wine 'C:\trust_probe.exe' 'C:\signed-a-newer.exe' 'C:\signed-b-newer.exe' 'C:\signed-a-same.exe' \
    'C:\tampered.exe' 'C:\tovlen-a-newer.exe' 2>/dev/null | tr -d '\r' || true)
printf '%s\n' "$probe" >"$work/trust.txt"
e2e_log "signature checks:"$'\n'"$probe"
grep -q "^trusted C:.signed-a-newer.exe .* signer=$signer_a version=$newer name=Tovlen-setup.exe\$" <<<"$probe" ||
    e2e_fail "signer A's newer stand-in was not trusted as A's installer, of version $newer"
grep -q "^trusted C:.tovlen-a-newer.exe .* signer=$signer_a version=$newer name=Tovlen.exe\$" <<<"$probe" ||
    e2e_fail "the newer Tovlen.exe was not trusted as A's, of version $newer, named Tovlen.exe"

win_user=${USER:-$(id -un)}
downloads="$WINEPREFIX/drive_c/users/$win_user/AppData/Local/Tovlen/updates"
started="$WINEPREFIX/drive_c/installer-ran.txt"
message_boxes() { timeout 30 wine 'C:\update_helper.exe' "${1:-messages}" 2>/dev/null | tr -d '\r'; }
shows_message() { message_boxes | grep -qxF "Tovlen	$1"; }
message_gone() { ! shows_message "$1"; }
nothing_downloaded() { [ -z "$(ls -A "$downloads" 2>/dev/null)" ]; }
only_tovlen_in_program_folder() { [ "$(ls "$install_dir")" = Tovlen.exe ]; }

# answer TEXT SHOT: waits for the message box TEXT, photographs it and presses its OK.
answer() {
    e2e_until 60 shows_message "$1" || e2e_fail "no message \"$1\"; on screen: $(message_boxes)"
    e2e_shot "update-$2"
    message_boxes dismiss >/dev/null
    e2e_until 10 message_gone "$1" || e2e_fail "the message box \"$1\" did not close"
}
# type_update SHOT: opens the command window and submits "update".
type_update() {
    e2e_open_command_window
    e2e_type "update"
    e2e_shot "update-$1-typed"
    e2e_key Return
}
installing="Update downloaded, now installing."
# refused SERVED MESSAGE SHOT: the served file is announced, then refused with MESSAGE and deleted.
refused() {
    serve "$1"
    type_update "$3"
    answer "$installing" "$3-installing"
    answer "$2" "$3"
    nothing_downloaded || e2e_fail "the $3 installer was left: $(ls "$downloads")"
    [ -e "$started" ] && e2e_fail "the $3 installer was started"
    kill -0 "$tovlen_pid" 2>/dev/null || e2e_fail "Tovlen ended after refusing the $3 installer"
}

e2e_focus_notepad
e2e_start 'C:\Tovlen\Tovlen.exe'
tovlen_pid=$E2E_LAST_PID
e2e_wait_tovlen_ready

not_verified="The downloaded update could not be verified, so it was not installed."
refused "$work/signed-b-newer.exe" "$not_verified" other-signer
refused "$work/signed-a-same.exe" "The downloaded update is not newer than this version, so it was not installed." not-newer
refused "$work/tampered.exe" "$not_verified" tampered
refused "$work/tovlen-a-newer.exe" "The downloaded update is not Tovlen's installer, so it was not installed." not-installer

rm "$work/www/updates/tovlen1_$((minor + 1))_0.exe"
type_update current
answer "This is the current version of Tovlen." current
only_tovlen_in_program_folder || e2e_fail "a 404 left files: $(ls "$install_dir")"

serve "$work/signed-a-newer.exe"
type_update signed
answer "$installing" signed
e2e_until 30 test -s "$started" || e2e_fail "the installer signed by A was not started"
command_line=$(sed -n 1p "$started" | tr -d '\r')
working_folder=$(sed -n 2p "$started" | tr -d '\r')
e2e_log "installer started as [$command_line] in [$working_folder]"
pattern='^"C:\\users\\[^\\]+\\AppData\\Local\\Tovlen\\updates\\(update-[0-9]+\.exe)" [1-9][0-9]* /D=C:\\Tovlen$'
[[ "$command_line" =~ $pattern ]] || e2e_fail "the installer was not started from the updates folder with the window and /D=: $command_line"
cmp "$downloads/${BASH_REMATCH[1]}" "$work/signed-a-newer.exe" || e2e_fail "the started installer is not the served one"
[ "$working_folder" = 'C:\Tovlen' ] || e2e_fail "the installer ran in $working_folder"
only_tovlen_in_program_folder || e2e_fail "the update wrote into the program folder: $(ls "$install_dir")"
for _ in $(seq 50); do kill -0 "$tovlen_pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$tovlen_pid" 2>/dev/null && e2e_fail "Tovlen did not end after starting the installer"
# Every check of the program went through the proxy, with the request the update always made.
e2e_log "through the proxy:"$'\n'"$(tr -d '\r' <"$proxy_log")"
requests=$(grep -c "^GET http://updates.tovlen.test:$port/updates/tovlen1_$((minor + 1))_0.exe HTTP/1.1" "$proxy_log" || true)
[ "$requests" -eq 6 ] || e2e_fail "$requests of the 6 checks went through the proxy"
for header in 'Accept: \*\.\*' 'User-Agent: Tovlen Autoupdate' "Host: updates.tovlen.test:$port" 'Connection: close'; do
    [ "$(grep -ciE "^$header"$'\r'"?\$" "$proxy_log")" -eq 6 ] || e2e_fail "not every request said \"$header\""
done

# The next start deletes the download; a build that pins no signer fetches nothing.
rm -f "$started"
cp "$work/Tovlen-no-signer.exe" "$install_dir/Tovlen.exe"
e2e_start 'C:\Tovlen\Tovlen.exe'
tovlen_pid=$E2E_LAST_PID
e2e_wait_tovlen_ready
nothing_downloaded || e2e_fail "the next start left the download: $(ls "$downloads")"
type_update no-signer
answer "This copy of Tovlen was built without an update signer, so it cannot install updates." no-signer
nothing_downloaded || e2e_fail "a build without a signer downloaded $(ls "$downloads")"
[ -e "$started" ] && e2e_fail "a build without a signer started an installer"
e2e_log "PASS update"
