#!/usr/bin/env bash
# Near matches under Wine: Latin letters typed for Start-menu shortcuts named in Chinese (微信,
# typed "weixin" or "wx"), with accents (Café Crème, "cafe"), in kana (カメラ, "kamera") and in
# Hangul (계산기, "gyesangi"), the initials of words ("vsc") or of capitalised parts ("ps" for
# PowerShell) and a name with two letters swapped ("visaul") bring each into the suggestions,
# where a screen reader hears "near match" and the keys the row takes, the command window shows
# it after the typed text rather than under it, and Enter runs it.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/accessible.sh"
e2e_setup near "${E2E_DISPLAY_BASE:-210}"

install_dir="$WINEPREFIX/drive_c/Tovlen"
tools_dir="$WINEPREFIX/drive_c/E2E Tools"
mkdir -p "$install_dir" "$tools_dir"
cp "$BUILD_WIN/Tovlen.exe" "$BUILD_WIN/LIGHTON.ico" "$BUILD_WIN/read_accessible.exe" "$install_dir/"
cp "$BUILD_WIN/recordargs.exe" "$tools_dir/"
record="$tools_dir/recordargs.log"
programs=$(e2e_programs_folder)
mkdir -p "$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"

e2e_shortcut "$programs\\微信.lnk" 'C:\E2E Tools\recordargs.exe' chat-ran 'C:\E2E Tools'
e2e_shortcut "$programs\\Café Crème.lnk" 'C:\E2E Tools\recordargs.exe' coffee-ran 'C:\E2E Tools'
e2e_shortcut "$programs\\カメラ.lnk" 'C:\E2E Tools\recordargs.exe' camera-ran 'C:\E2E Tools'
e2e_shortcut "$programs\\계산기.lnk" 'C:\E2E Tools\recordargs.exe' calculator-ran 'C:\E2E Tools'
e2e_shortcut "$programs\\Visual Studio Code.lnk" 'C:\E2E Tools\recordargs.exe' editor-ran 'C:\E2E Tools'
e2e_shortcut "$programs\\PowerShell.lnk" 'C:\E2E Tools\recordargs.exe' shell-ran 'C:\E2E Tools'

e2e_no_welcome
e2e_focus_notepad
e2e_start 'C:\Tovlen\Tovlen.exe'
e2e_wait_tovlen_ready
e2e_focus "$E2E_NOTEPAD"

# Both shortcuts start a program, so their rows take the keys of a file as well as Enter.
file_keys="Enter runs it, Ctrl+Enter opens its folder, Ctrl+Shift+Enter runs it as administrator"

# near_apart SHOT: in the screenshot the grey completion stands after the typed text, apart: the
# typed text's black ends, blank artwork follows for a gap, and only then the completion's ink.
near_apart() {
    local columns gap
    columns=$(e2e_line_columns "$E2E_OUT/$1.png")
    e2e_log "the line, a character a column: $columns"
    gap=$(awk '{
            last = 0
            for (x = 1; x <= length($0); x++) if (substr($0, x, 1) == "D") last = x
            blank = last + 1; while (blank <= length($0) && substr($0, blank, 1) == "i") blank++
            ink = blank; while (ink <= length($0) && substr($0, ink, 1) == ".") ink++
            # Soft edges aside, the completion would start right under or after the black.
            if (last == 0 || blank - last > 3 || ink > length($0)) print -1; else print ink - blank
        }' <<<"$columns")
    e2e_log "the completion stands $gap pixels after the typed text"
    [ "$gap" -ge "$(e2e_px 8)" ] || e2e_fail "in $1 the completion is not drawn apart after the typed text"
}

# near_row TYPED PHRASE ARGUMENTS: types TYPED, expects PHRASE as the only row, heard as a near
# match and shown as the completion after the typed text, and Enter to run the shortcut with
# ARGUMENTS.
near_row() {
    e2e_until 20 e2e_no_command_window || e2e_fail "the command window of the line before did not close"
    rm -f "$record" # two rows run the same shortcut: each run is looked for afresh
    e2e_open_command_window
    e2e_type "$1"
    e2e_expect_read 10 command "value=$1" "the command line does not read '$1'"
    e2e_expect_read 10 suggestion "child1.name=$2" "'$1' does not bring $2 into the suggestions"
    e2e_expect_read 5 suggestion "child1.description=1 of 1, near match, $file_keys" \
        "$2 is not heard as the one near match, with the keys it takes"
    e2e_expect_read 5 command "description=$2" "$2 is not the completion of '$1'"
    e2e_shot "near-$1"
    near_apart "near-$1"
    e2e_key Return
    e2e_until 20 grep -q "args: .*$3" "$record" || e2e_fail "Enter after '$1' did not run $2"
    e2e_log "'$1' ran $2"
}
near_row weixin "run 微信" chat-ran
near_row wx "run 微信" chat-ran
near_row cafe "run café crème" coffee-ran
near_row kamera "run カメラ" camera-ran
near_row gyesangi "run 계산기" calculator-ran
near_row vsc "run visual studio code" editor-ran
near_row ps "run powershell" shell-ran
near_row visaul "run visual studio code" editor-ran
e2e_log "PASS near"
