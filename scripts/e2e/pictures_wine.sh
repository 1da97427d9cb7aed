#!/usr/bin/env bash
# Every picture Tovlen carries, loaded and drawn through the Win32 code under Wine: the
# probe (tests/wine/picture_probe_win.cpp) checks that each one loads, that the icon the shell
# shows for Tovlen.exe draws as res/app.ico does, that missing pictures give nothing, and
# draws them all at 100 % and 200 % into build-win/e2e/pictures.png for a person to look at.
source "$(dirname "$0")/lib.sh"

cmake --build "$BUILD_WIN" -j2 --target picture_probe >/dev/null || e2e_fail "could not build picture_probe"
e2e_setup pictures 140

app="$E2E_OUT/pictures-app"
rm -rf "$app"
mkdir -p "$app"
cp "$BUILD_WIN/picture_probe.exe" "$BUILD_WIN/Tovlen.exe" "$E2E_ROOT/res/app.ico" "$E2E_ROOT/res/LIGHTON.ico" \
    "$E2E_ROOT/res/splashlogo.bmp" "$app/"
(cd "$app" && timeout 120 wine picture_probe.exe sheet.bmp 'C:\windows\notepad.exe') >"$E2E_OUT/pictures.log" 2>&1 ||
    { cat "$E2E_OUT/pictures.log" >&2; e2e_fail "the picture probe found faults"; }
# GDI leaves the fourth byte of what it fills at 0: the sheet is opaque whatever that byte says.
convert "$app/sheet.bmp" -alpha off "$E2E_OUT/pictures.png" || e2e_fail "no sheet was drawn"
e2e_log "pictures drawn: $E2E_OUT/pictures.png"
