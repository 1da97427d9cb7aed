#!/usr/bin/env bash
# Tovlen.exe on a screen scaled to 150 % (144 DPI): the command window is 900x75 at the
# top-left corner, as the window manager has it and as the screenshot shows it drawn, the
# suggestion window 900 wide right under it, and the text in them is drawn in a font of the
# scale's size, the typed letters over the same letters of the grey completion behind them. The
# test measures the artwork, the typed text and the completion in a screenshot;
# dpi-144-command-window.png is kept for a person to look at.
source "$(dirname "$0")/lib.sh"
e2e_setup dpi 200
e2e_set_dpi 144

install_dir="$WINEPREFIX/drive_c/Tovlen"
mkdir -p "$install_dir"
cp "$BUILD_WIN/Tovlen.exe" "$BUILD_WIN/LIGHTON.ico" "$install_dir/"
mkdir -p "$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
e2e_shortcut "$(e2e_programs_folder)\\Notepad.lnk" 'C:\windows\notepad.exe'

e2e_no_welcome
e2e_focus_notepad
e2e_start 'C:\Tovlen\Tovlen.exe'
e2e_wait_tovlen_ready
e2e_open_command_window
e2e_type "notepad"
suggestions_shown() { e2e_window_at 0 "$(e2e_px 50)" "$(e2e_px 600)"; }
e2e_until 10 suggestions_shown || e2e_fail "no $(e2e_px 600)-wide suggestion window under the command window"
sleep 1
e2e_shot dpi-144-screen

# What is drawn, not only what the window manager was told: the command window's green artwork
# (green well above blue, which neither the teal suggestion list under it nor Notepad's greys
# nor the black desktop are) covers exactly 900x75 from the screen's corner.
artwork=$(convert "$E2E_OUT/dpi-144-screen.png" -crop "$(e2e_px 800)x$(e2e_px 150)+0+0" +repage \
    -fx 'g-b>0.06 ? 1 : 0' -threshold 50% -trim -format '%wx%h%X%Y' info: 2>/dev/null) ||
    e2e_fail "could not find the command window in the screenshot"
e2e_log "the command window's artwork is drawn at $artwork"
[ "$artwork" = "$(e2e_px 600)x$(e2e_px 50)+0+0" ] ||
    e2e_fail "the command window is drawn at $artwork, not $(e2e_px 600)x$(e2e_px 50) in the corner"

# The typed text: black ink over the green artwork (the grey completion "run " before it is
# lighter than the threshold), in the label at (70, 8) 521x25 of the window's 96-DPI layout.
# "notepad", with ascenders and descenders, stands about as tall as the font's em, 14.25 pt:
# 28.5 pixels at 144 DPI, 19 at 96; its width grows in step (about 75 pixels at 96 DPI).
convert "$E2E_OUT/dpi-144-screen.png" -crop "$(e2e_px 600)x$(e2e_px 50)+0+0" +repage \
    "$E2E_OUT/dpi-144-command-window.png" || e2e_fail "could not cut the command window out of the screenshot"
ink=$(convert "$E2E_OUT/dpi-144-screen.png" -crop "$(e2e_line_area)" +repage -colorspace Gray -threshold 20% -negate \
    -trim -format '%w %h' info: 2>/dev/null) || e2e_fail "could not measure the typed text"
read -r ink_width ink_height <<<"$ink"
e2e_log "the typed text's ink is ${ink_width}x${ink_height}"
[ "$ink_height" -ge 22 ] && [ "$ink_height" -le 32 ] && [ "$ink_width" -ge 95 ] && [ "$ink_width" -le 140 ] ||
    e2e_fail "the typed text is ${ink_width}x${ink_height} pixels, not drawn for 144 DPI"

# The typed "notepad" lies over the grey "notepad" of "run notepad": where the black begins and
# ends, the grey under it does too, within the soft edge of a glyph. Drawn a few pixels off, grey
# letters would stand out beside the black on one side.
columns=$(e2e_line_columns "$E2E_OUT/dpi-144-screen.png")
e2e_log "the line, a character a column: $columns"
read -r grey_before grey_after <<<"$(awk '{
        first = index($0, "D"); last = first
        for (x = first; x <= length($0); x++) if (substr($0, x, 1) == "D") last = x
        from = first; while (from > 1 && substr($0, from - 1, 1) != ".") from--
        to = last; while (to < length($0) && substr($0, to + 1, 1) != ".") to++
        print first - from, to - last
    }' <<<"$columns")"
e2e_log "grey ink stands $grey_before pixels before the typed text and $grey_after after it"
[ "$grey_before" -le 2 ] && [ "$grey_after" -le 2 ] ||
    e2e_fail "the typed text is not over its letters in the completion ($grey_before px of grey before it, $grey_after after)"
e2e_log "PASS dpi"
