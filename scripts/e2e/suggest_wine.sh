#!/usr/bin/env bash
# The suggestions under Wine: a Start-menu shortcut becomes the completion of what is typed,
# the ranked rows appear under the command window, Down moves the highlight, a click on a pin
# tacks the row and writes "commandtack.lst", and a click elsewhere closes both windows.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/accessible.sh"
e2e_setup suggest 92

install_dir="$WINEPREFIX/drive_c/Tovlen"
mkdir -p "$install_dir"
cp "$BUILD_WIN/Tovlen.exe" "$BUILD_WIN/LIGHTON.ico" "$BUILD_WIN/read_accessible.exe" "$install_dir/"
programs=$(e2e_programs_folder)
mkdir -p "$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
e2e_shortcut "$programs\\Notepad.lnk" 'C:\windows\notepad.exe'
e2e_shortcut "$programs\\Notes Archive.lnk" 'C:\windows\notepad.exe' '/a'

e2e_no_welcome
e2e_focus_notepad
e2e_start 'C:\Tovlen\Tovlen.exe'
e2e_wait_tovlen_ready
e2e_focus "$E2E_NOTEPAD"

suggestions_shown() { e2e_window_at 0 50 600; }
suggestions_gone() { ! suggestions_shown >/dev/null; }

e2e_key Caps_Lock
e2e_until 10 e2e_command_window || e2e_fail "the command window did not open"
e2e_type "note"
e2e_until 10 suggestions_shown || e2e_fail "no suggestion window under the command window"
e2e_expect_read 10 suggestion \
    "child2.description=2 of 2, Enter runs it, Ctrl+Enter opens its folder, Ctrl+Shift+Enter runs it as administrator" \
    "'note' does not list the two shortcuts"
e2e_expect_read 5 suggestion "child1.state=selected,selectable" "the first row is not the highlighted one"
first_row=$(e2e_read suggestion | sed -n 's/^child1\.name=//p')
second_row=$(e2e_read suggestion | sed -n 's/^child2\.name=//p')
[ "$first_row" = "run notepad" ] && [ "$second_row" = "run notes archive" ] ||
    e2e_fail "the rows read '$first_row' and '$second_row'"
e2e_expect_read 5 command "description=run notepad" "the completion is not the first row"
e2e_shot suggest-note
e2e_key Down
e2e_expect_read 10 suggestion "child2.state=selected,selectable" "Down did not move the highlight to the second row"
e2e_read_has "child1.state=selectable" suggestion || e2e_fail "after Down the first row is still highlighted"
e2e_expect_read 5 command "description=$second_row" "the completion did not follow the highlight"
e2e_shot suggest-down

# The first row's pin sits at the left edge of the suggestion window, 5 pixels down.
xdotool mousemove 10 62 click 1
sleep 1
tacks="$install_dir/commandtack.lst"
e2e_until 10 test -s "$tacks" || e2e_fail "a click on the pin wrote no commandtack.lst"
[ "$(cat "$tacks")" = "$first_row"$'\r\nnote\r' ] ||
    e2e_fail "commandtack.lst does not tack '$first_row' to 'note': $(cat -A "$tacks")"
e2e_expect_read 10 suggestion "child1.state=checked,selectable" "the tacked row's pin is not lit"
e2e_until 5 e2e_command_window || e2e_fail "a click on the pin closed the command window"
e2e_shot suggest-pinned

# Wine sees clicks only on its own windows; the user's Notepad is "elsewhere".
xdotool mousemove 400 300 click 1
e2e_until 10 e2e_no_command_window || e2e_fail "a click elsewhere did not close the command window"
e2e_until 10 suggestions_gone || e2e_fail "a click elsewhere did not close the suggestions"
e2e_shot suggest-closed
e2e_log "PASS suggest"
