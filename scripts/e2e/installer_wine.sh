#!/usr/bin/env bash
# The installer under Wine, as a person and as the update use it:
#   - a throw-away code-signing CA and signer made here; the installer target of a build tree that
#     pins that signer for updates builds a signed installer with them; the Wine prefix trusts the
#     CA; the platform's signature check (the one the update makes) accepts the signed installer
#     and refuses an unsigned and a tampered copy;
#   - an install through the pages (Enter on each, with a screenshot and the page's texts checked),
#     Tovlen running from the installed folder, the uninstall entry, the Start-menu shortcut;
#   - a silent install over it, which ends the running Tovlen, replaces the programs, keeps the
#     user's lists and starts the new Tovlen;
#   - "update" typed in the running program against lighttpd on loopback: a tampered and an
#     unsigned installer are refused, a signed one of the next version is started from the user's
#     updates folder, ends the program and replaces it in its folder;
#   - a silent uninstall (its QuietUninstallString), which keeps the lists, and an uninstall through
#     its pages that answers Yes and leaves nothing; files and keys that are not Tovlen's survive.
source "$(dirname "$0")/lib.sh"

for tool in makensis osslsigncode openssl lighttpd; do
    command -v "$tool" >/dev/null || [ -x "/usr/sbin/$tool" ] || e2e_fail "$tool is missing"
done
[ -f "$BUILD_WIN/CMakeCache.txt" ] || e2e_fail "no Windows build in $BUILD_WIN"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD_WIN/CMakeCache.txt")
major=$(sed -n 's/^CMAKE_PROJECT_VERSION_MAJOR:STATIC=//p' "$BUILD_WIN/CMakeCache.txt")
minor=$(sed -n 's/^CMAKE_PROJECT_VERSION_MINOR:STATIC=//p' "$BUILD_WIN/CMakeCache.txt")
mkdir -p "$E2E_OUT"

# --- A throw-away certificate authority and signer --------------------------------------------
pki="$E2E_OUT/installer-pki"
rm -rf "$pki"
e2e_test_ca "$pki" "Tovlen Test Root"
(
    cd "$pki"
    openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=Tovlen Test Signer"
    openssl x509 -req -in signer.csr -CA ca.crt -CAkey ca.key -CAcreateserial -out signer.crt -days 2 \
        -extfile openssl.cnf -extensions signer
    openssl pkcs12 -export -in signer.crt -certfile ca.crt -inkey signer.key -out signer.p12 -passout pass:throwaway
    # Someone else's certificate, which nothing trusts.
    openssl req -x509 -newkey rsa:2048 -nodes -keyout rogue.key -out rogue.crt -days 2 \
        -subj "/CN=Not Tovlen" -addext "extendedKeyUsage=codeSigning"
) >"$pki/log" 2>&1 || e2e_fail "openssl could not make the certificates: $(cat "$pki/log")"

e2e_log "building the signed installer of a Tovlen that pins the throw-away signer"
tree=$E2E_PINNED_BUILD
(
    export TOVLEN_SIGN_PKCS12="$pki/signer.p12" TOVLEN_SIGN_PASSWORD=throwaway
    e2e_pinned_build "$(e2e_key_hash "$pki/signer.crt")" installer trust_probe window_texts update_helper
) || exit 1
grep -q "signed; for the update server: updates/tovlen1_${minor}_0.exe" "$E2E_OUT/pinned-build.log" ||
    e2e_fail "the installer was not signed: $(tail -5 "$E2E_OUT/pinned-build.log")"
setup="$tree/Tovlen-setup-$version.exe"
cmp -s "$setup" "$tree/updates/tovlen1_${minor}_0.exe" || e2e_fail "the update server copy differs"
for program in "$setup" "$tree/installer-stage/Tovlen.exe" "$tree/installer-stage/tovlenctl.exe"; do
    osslsigncode verify -CAfile "$pki/ca.crt" -in "$program" >"$pki/verify.log" 2>&1 ||
        e2e_fail "$(basename "$program") does not carry a valid signature: $(tail -3 "$pki/verify.log")"
done

# The installer as it could arrive: unsigned, changed after signing, signed by a stranger.
unsigned="$E2E_OUT/installer-unsigned.exe"
tampered="$E2E_OUT/installer-tampered.exe"
rogue="$E2E_OUT/installer-rogue.exe"
rm -f "$unsigned" "$tampered" "$rogue"
osslsigncode remove-signature -in "$setup" -out "$unsigned" >/dev/null || e2e_fail "could not unsign a copy"
cp "$setup" "$tampered"
middle=$(($(stat -c %s "$tampered") / 2))
# Every bit of the byte flipped, so the copy differs whatever the byte was.
byte=$(od -An -tu1 -j "$middle" -N1 "$tampered" | tr -d ' ')
printf "\\x$(printf '%02x' $((byte ^ 0xFF)))" | dd of="$tampered" bs=1 seek="$middle" conv=notrunc status=none
cmp -s "$setup" "$tampered" && e2e_fail "could not change a copy"
cp "$unsigned" "$rogue"
TOVLEN_SIGN_CERT="$pki/rogue.crt" TOVLEN_SIGN_KEY="$pki/rogue.key" "$E2E_ROOT/scripts/sign.sh" "$rogue" >/dev/null ||
    e2e_fail "scripts/sign.sh could not sign with a PEM certificate and key"


# --- The prefix -----------------------------------------------------------------------------
e2e_setup installer 180
win_user=${USER:-$(id -un)}
profile="$WINEPREFIX/drive_c/users/$win_user"
install_dir="$profile/AppData/Local/Programs/Tovlen"
win_install_dir="C:\\users\\$win_user\\AppData\\Local\\Programs\\Tovlen"
start_menu="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
user_startup="$start_menu/StartUp"
common_startup="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/StartUp"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tovlen'
mkdir -p "$user_startup" "$common_startup"
openssl x509 -in "$pki/ca.crt" -outform DER -out "$pki/ca.der"
cp "$setup" "$unsigned" "$tampered" "$rogue" "$pki/ca.der" "$tree/trust_probe.exe" "$tree/window_texts.exe" \
    "$tree/update_helper.exe" "$WINEPREFIX/drive_c/"

reg() { timeout 60 wine reg "$@" 2>/dev/null | tr -d '\r'; }
reg_value() { reg query "$1" /v "$2" | awk -v name="$2" '$1 == name { $1 = ""; $2 = ""; sub(/^  /, ""); print }'; }
reg_has_key() { timeout 60 wine reg query "$1" >/dev/null 2>&1; }
texts() { timeout 30 wine 'C:\window_texts.exe' "$1" 2>/dev/null | tr -d '\r'; }
page_shows() { texts "$1" | grep -qF "$2"; }
message_boxes() { timeout 30 wine 'C:\update_helper.exe' "${1:-messages}" 2>/dev/null | tr -d '\r'; }
# Linux process ids of the Tovlen.exe started from the installed folder.
tovlen_pids() {
    local pid args
    ps -eo pid=,args= | while read -r pid args; do
        [ "$args" = "$win_install_dir\\Tovlen.exe" ] && echo "$pid"
    done
    return 0
}
tovlen_running() { [ -n "$(tovlen_pids)" ]; }
tovlen_stopped() { [ -z "$(tovlen_pids)" ]; }
tovlen_running_other_than() { local p; p=$(tovlen_pids); [ -n "$p" ] && [ "$p" != "$1" ]; }

# The CA goes into the machine's trusted roots. (Wine's certutil is a stub; writing the store's
# registry value HKLM\Software\Microsoft\SystemCertificates\Root\Certificates\<SHA-1>\Blob
# works as well as this, which asks crypt32 to do it.)
timeout 60 wine 'C:\update_helper.exe' trust 'C:\ca.der' || e2e_fail "could not add the CA to the prefix's trusted roots"

# --- What the update's signature check makes of each file --------------------------------------
probe() { timeout 60 wine 'C:\trust_probe.exe' "$@" 2>/dev/null | tr -d '\r' || true; }
verdicts=$(probe "C:\\$(basename "$setup")" 'C:\installer-unsigned.exe' 'C:\installer-tampered.exe' \
    'C:\installer-rogue.exe')
printf '%s\n' "$verdicts" >"$E2E_OUT/installer-trust.txt"
e2e_log "signature check:"$'\n'"$verdicts"
grep -q "^trusted C:.$(basename "$setup") status=0x00000000 chain=0x00000000 policy=0x00000000" <<<"$verdicts" ||
    e2e_fail "the installer signed by the trusted CA was not accepted with a trusted chain"
grep -q '^refused C:.installer-unsigned.exe status=0x800b0100' <<<"$verdicts" ||
    e2e_fail "the unsigned installer was not refused as unsigned (TRUST_E_NOSIGNATURE)"
grep -q '^refused C:.installer-tampered.exe status=0x80096010' <<<"$verdicts" ||
    e2e_fail "the tampered installer was not refused as changed (TRUST_E_BAD_DIGEST)"
# A signer whose root nobody trusts is refused (CERT_E_UNTRUSTEDROOT on the chain), also where
# the trust provider itself would let it through, as Wine 8's does.
grep -q '^refused C:.installer-rogue.exe status=0x[0-9a-f]* chain=0x[0-9a-f]* policy=0x800b0109' <<<"$verdicts" ||
    e2e_fail "the installer signed by a stranger was not refused for its untrusted root"

# --- An install through the pages -------------------------------------------------------------
# Files and keys that are not Tovlen's, which no install or uninstall may touch.
mkdir -p "$profile/AppData/Local/Programs/Other"
echo keep >"$profile/AppData/Local/Programs/Other/keep.txt"
echo keep >"$start_menu/Other.lnk"
reg add 'HKCU\Software\TovlenOther' /v keep /d 1 /f >/dev/null
reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Other' /v DisplayName /d Other /f >/dev/null
reg add 'HKCU\Software\Tovlen\settings' /v showwelcome /d 0 /f >/dev/null
snapshot() {
    (cd "$WINEPREFIX/drive_c" && find "users/$win_user/AppData/Local/Programs" "users/$win_user/AppData/Roaming/Microsoft/Windows/Start Menu" \
        "ProgramData/Microsoft/Windows/Start Menu" | sort)
}
snapshot >"$E2E_OUT/installer-before.txt"

setup_title="Tovlen $version Setup"
e2e_start "C:\\$(basename "$setup")"
setup_window=$(e2e_wait_window "^$setup_title\$" 60) || e2e_fail "the installer's window did not open"
e2e_focus "$setup_window"
# page TEXT SHOT: waits for the page that shows TEXT, photographs it and presses Enter.
page() {
    e2e_until 30 page_shows "$setup_title" "$1" || e2e_fail "no page with \"$1\"; showing: $(texts "$setup_title")"
    sleep 0.5
    e2e_shot "installer-$2"
    e2e_focus "$setup_window"
    e2e_key Return
}
page "Welcome to Tovlen $version" 1-welcome
page "Choose Install Location" 2-directory
page "Installation Complete" 3-progress
texts "$setup_title" | grep -qF "Start Tovlen" || e2e_fail "the finish page has no \"Start Tovlen\""
page "Tovlen is installed" 4-finish
e2e_until 30 tovlen_running || e2e_fail "Finish with \"Start Tovlen\" ticked did not start Tovlen"
e2e_until 30 bash -c "! xdotool search --name '^$setup_title\$' >/dev/null" || e2e_fail "the installer did not end"

for file in Tovlen.exe tovlenctl.exe; do
    cmp -s "$install_dir/$file" "$tree/installer-stage/$file" || e2e_fail "$file is not the signed build"
done
cmp -s "$install_dir/influence.lst" "$E2E_ROOT/installer/influence.lst" || e2e_fail "no example influence.lst"
[ -f "$install_dir/uninstall.exe" ] || e2e_fail "no uninstall.exe"
cmp -s "$install_dir/help.pdf" "$tree/help.pdf" || e2e_fail "help.pdf is not the one the build made"
cmp -s "$install_dir/LIGHTON.ico" "$E2E_ROOT/res/LIGHTON.ico" || e2e_fail "LIGHTON.ico is not installed"
[ -f "$start_menu/Tovlen.lnk" ] || e2e_fail "no Start-menu shortcut"
probe "$win_install_dir\\uninstall.exe" | grep -q '^trusted .* chain=0x00000000' || e2e_fail "the uninstaller is not signed"
[ "$(reg_value "$uninstall_key" DisplayName)" = Tovlen ] || e2e_fail "no uninstall entry"
[ "$(reg_value "$uninstall_key" DisplayVersion)" = "$version" ] || e2e_fail "DisplayVersion is not $version"
[ "$(reg_value "$uninstall_key" InstallLocation)" = "$win_install_dir" ] || e2e_fail "wrong InstallLocation"
[ "$(reg_value "$uninstall_key" UninstallString)" = "\"$win_install_dir\\uninstall.exe\"" ] || e2e_fail "wrong UninstallString"
[ "$(reg_value "$uninstall_key" QuietUninstallString)" = "\"$win_install_dir\\uninstall.exe\" /S" ] ||
    e2e_fail "wrong QuietUninstallString"
[ "$(reg_value "$uninstall_key" DisplayIcon)" = "$win_install_dir\\Tovlen.exe,0" ] || e2e_fail "wrong DisplayIcon"
for flag in NoModify NoRepair; do
    [ "$(reg_value "$uninstall_key" $flag)" = 0x1 ] || e2e_fail "$flag is not 1"
done
[ -n "$(reg_value "$uninstall_key" Publisher)" ] || e2e_fail "no Publisher"
size_kb=$(($(reg_value "$uninstall_key" EstimatedSize)))
[ "$size_kb" -gt 500 ] || e2e_fail "EstimatedSize is $size_kb KB"
e2e_log "installed through the pages; Tovlen runs as $(tovlen_pids)"

# --- A silent install over it keeps the user's lists ------------------------------------------
printf 'mail\r\nC:\\Program Files\\Mail\\mail.exe\r\n' >"$install_dir/customprograms.lst"
printf 'run mail\r\n5\r\n' >"$install_dir/influence.lst"
printf 'run mail\r\nma\r\n' >"$install_dir/commandtack.lst"
mkdir -p "$E2E_OUT/installer-lists"
cp "$install_dir"/*.lst "$E2E_OUT/installer-lists/"
lists_kept() {
    local list
    for list in customprograms.lst influence.lst commandtack.lst; do
        cmp -s "$install_dir/$list" "$E2E_OUT/installer-lists/$list" || e2e_fail "$list was changed by $1"
    done
}
# The installed tovlenctl.exe is spoilt (replaced whole, as an editor would), so that its
# replacement can be seen.
spoil_tovlenctl() { echo spoilt >"$install_dir/tovlenctl.new" && mv "$install_dir/tovlenctl.new" "$install_dir/tovlenctl.exe"; }
spoil_tovlenctl
old_pid=$(tovlen_pids)
timeout 120 wine "C:\\$(basename "$setup")" /S || e2e_fail "the silent install failed"
e2e_until 30 tovlen_running_other_than "$old_pid" || e2e_fail "the silent install did not start a new Tovlen"
tovlen_pids | grep -qx "$old_pid" && e2e_fail "the old Tovlen still runs"
cmp -s "$install_dir/tovlenctl.exe" "$tree/installer-stage/tovlenctl.exe" || e2e_fail "tovlenctl.exe was not replaced"
lists_kept "the silent install"
e2e_log "silent install over it: lists kept, Tovlen restarted as $(tovlen_pids)"

# --- The update ---------------------------------------------------------------------------------
{
    # The next version's installer: the same programs, the version resource one minor number on.
    next="$major.$((minor + 1)).0"
    next_setup="$E2E_OUT/Tovlen-setup-$next.exe"
    rm -f "$next_setup"
    (
        cd "$tree/installer-stage" &&
            TOVLEN_SIGN_PKCS12="$pki/signer.p12" TOVLEN_SIGN_PASSWORD=throwaway makensis -V2 -WX -NOCD \
                -DVERSION="$next" -DOUTFILE="$next_setup" -DSTAGE="$tree/installer-stage" -DSOURCE_DIR="$E2E_ROOT" \
                -DSIGN_SCRIPT="$E2E_ROOT/scripts/sign.sh" "$E2E_ROOT/installer/tovlen.nsi"
    ) >"$E2E_OUT/installer-next.log" 2>&1 || e2e_fail "could not build the next version's installer: $(tail -5 "$E2E_OUT/installer-next.log")"
    www="$E2E_OUT/installer-www"
    rm -rf "$www"
    mkdir -p "$www/updates"
    served="$www/updates/tovlen1_$((minor + 1))_0.exe"
    port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    cat >"$E2E_OUT/installer-lighttpd.conf" <<CONF
server.document-root = "$www"
server.bind = "127.0.0.1"
server.port = $port
server.errorlog = "$E2E_OUT/installer-lighttpd.log"
mimetype.assign = (".exe" => "application/octet-stream")
CONF
    lighttpd_bin=$(command -v lighttpd || echo /usr/sbin/lighttpd)
    "$lighttpd_bin" -D -f "$E2E_OUT/installer-lighttpd.conf" &
    E2E_PIDS+=($!)
    e2e_until 10 bash -c "exec 3<>/dev/tcp/127.0.0.1/$port" || e2e_fail "lighttpd did not start"
    reg add 'HKCU\Software\Tovlen\settings' /v updatehost /d "127.0.0.1:$port" /f >/dev/null

    e2e_wait_tovlen_running # the one that the silent install started
    e2e_focus_notepad
    shows_message() { message_boxes | grep -qxF "Tovlen	$1"; }
    message_gone() { ! shows_message "$1"; }
    # update_says TEXT SHOT: types "update", waits for the message TEXT and presses its OK.
    update_says() {
        e2e_open_command_window
        e2e_focus "$E2E_NOTEPAD"
        e2e_type "update"
        e2e_key Return
        e2e_until 60 shows_message "$1" || e2e_fail "no message \"$1\"; on screen: $(message_boxes)"
        e2e_shot "installer-update-$2"
        message_boxes dismiss >/dev/null
        e2e_until 10 message_gone "$1" || e2e_fail "the message box \"$1\" did not close"
    }
    refused="The downloaded update could not be verified, so it was not installed."
    installing="Update downloaded, now installing."
    downloads="$profile/AppData/Local/Tovlen/updates"
    running_pid=$(tovlen_pids)
    for bad in tampered unsigned; do
        cp "$E2E_OUT/installer-$bad.exe" "$served"
        update_says "$installing" "$bad-installing"
        e2e_until 60 shows_message "$refused" || e2e_fail "the $bad installer was not refused; on screen: $(message_boxes)"
        e2e_shot "installer-update-$bad"
        message_boxes dismiss >/dev/null
        e2e_until 10 message_gone "$refused" || e2e_fail "the message box did not close"
        [ -z "$(ls -A "$downloads" 2>/dev/null)" ] || e2e_fail "the $bad installer was left: $(ls "$downloads")"
        [ "$(tovlen_pids)" = "$running_pid" ] || e2e_fail "Tovlen did not keep running after refusing the $bad installer"
    done

    cp "$next_setup" "$served"
    spoil_tovlenctl
    update_says "$installing" signed
    e2e_until 60 tovlen_running_other_than "$running_pid" ||
        e2e_fail "the update did not end Tovlen and start the installed new one"
    [ -e "$install_dir/updatefile.exe" ] && e2e_fail "the update saved its installer in the program folder"
    cmp -s "$install_dir/tovlenctl.exe" "$tree/installer-stage/tovlenctl.exe" ||
        e2e_fail "the update's installer did not replace the programs"
    lists_kept "the update"
    [ "$(reg_value "$uninstall_key" InstallLocation)" = "$win_install_dir" ] || e2e_fail "the update moved the install"
    e2e_shot installer-update-done
    [ "$(reg_value "$uninstall_key" DisplayVersion)" = "$next" ] || e2e_fail "the update did not install version $next"
    e2e_log "update: tampered and unsigned refused, signed installer replaced the program; Tovlen runs as $(tovlen_pids)"
}

# --- A silent uninstall keeps the lists, and whatever the user put into the folder --------------
echo mine >"$install_dir/notes.txt"
echo link >"$user_startup/Tovlen.lnk"
echo link >"$common_startup/Tovlen.lnk"
# command_line_of VALUE: the program and the arguments of a registered command line "program" args.
command_line_of() {
    local line program
    line=$(reg_value "$uninstall_key" "$1")
    program=${line#\"}
    program=${program%%\"*}
    command_program=$program
    read -r -a command_arguments <<<"${line#\""$program"\"}"
}
command_line_of QuietUninstallString
timeout 60 wine "$command_program" "${command_arguments[@]}" >/dev/null 2>&1 || e2e_fail "the quiet uninstall failed"
uninstalled() { [ ! -e "$install_dir/uninstall.exe" ] && ! reg_has_key "$uninstall_key"; }
e2e_until 60 uninstalled || e2e_fail "the quiet uninstall did not finish"
e2e_until 20 tovlen_stopped || e2e_fail "Tovlen still runs after the uninstall"
left=$(cd "$install_dir" && ls | sort | tr '\n' ' ')
[ "$left" = "commandtack.lst customprograms.lst influence.lst notes.txt " ] ||
    e2e_fail "the quiet uninstall left \"$left\" (expected the lists and notes.txt)"
lists_kept "the quiet uninstall"
for link in "$start_menu/Tovlen.lnk" "$user_startup/Tovlen.lnk" "$common_startup/Tovlen.lnk"; do
    [ -e "$link" ] && e2e_fail "$link is left"
done
reg_has_key 'HKCU\Software\Tovlen' && e2e_fail "the settings key is left"
e2e_log "quiet uninstall: program, shortcuts and keys gone; lists and notes.txt kept"

# --- An uninstall through its pages that deletes the lists too -----------------------------------
rm "$install_dir/notes.txt"
timeout 120 wine "C:\\$(basename "$setup")" /S || e2e_fail "the reinstall failed"
e2e_until 30 tovlen_running || e2e_fail "the reinstall did not start Tovlen"
lists_kept "the reinstall"
uninstall_title="Tovlen Uninstall"
command_line_of UninstallString
e2e_start "$command_program" "${command_arguments[@]}"
uninstall_window=$(e2e_wait_window "^$uninstall_title" 60) || e2e_fail "the uninstaller's window did not open"
e2e_until 30 page_shows "$uninstall_title" "Uninstall Tovlen" || e2e_fail "no confirmation page: $(texts "$uninstall_title")"
e2e_shot installer-5-uninstall-confirm
e2e_focus "$uninstall_window"
e2e_key Return
asks_lists() { message_boxes | grep -qF "Also delete your own commands and lists"; }
e2e_until 30 asks_lists || e2e_fail "the uninstaller did not ask about the lists; on screen: $(message_boxes)"
e2e_shot installer-6-uninstall-ask
for id in $(xdotool search --onlyvisible --name "^$uninstall_title" 2>/dev/null); do
    [ "$id" = "$uninstall_window" ] || e2e_focus "$id"
done
e2e_key y
e2e_until 30 page_shows "$uninstall_title" "Uninstallation Complete" || e2e_fail "the uninstall did not complete"
e2e_shot installer-7-uninstall-done
e2e_focus "$uninstall_window"
e2e_key Return
e2e_until 30 bash -c "! xdotool search --name '^$uninstall_title' >/dev/null" || e2e_fail "the uninstaller did not close"
[ -e "$install_dir" ] && e2e_fail "the program folder is left: $(ls "$install_dir")"
tovlen_stopped || e2e_fail "Tovlen still runs after the uninstall"
reg_has_key "$uninstall_key" && e2e_fail "the uninstall entry is left"
reg_has_key 'HKCU\Software\Tovlen' && e2e_fail "the settings key is left"

snapshot >"$E2E_OUT/installer-after.txt"
diff "$E2E_OUT/installer-before.txt" "$E2E_OUT/installer-after.txt" >"$E2E_OUT/installer-diff.txt" ||
    e2e_fail "the install and uninstall changed other files: $(cat "$E2E_OUT/installer-diff.txt")"
[ "$(cat "$profile/AppData/Local/Programs/Other/keep.txt")" = keep ] || e2e_fail "another program's file is gone"
reg_has_key 'HKCU\Software\TovlenOther' || e2e_fail "another key under Software is gone"
reg_has_key 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Other' || e2e_fail "another uninstall entry is gone"
e2e_log "PASS installer"
