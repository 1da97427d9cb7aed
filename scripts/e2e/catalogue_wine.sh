#!/usr/bin/env bash
# tovlenctl.exe under Wine sees the Start menu as Tovlen would: a shortcut saved into the
# user's Programs folder by the Windows Script Host shows up in "tovlenctl.exe catalogue"
# (no options, so the real special folders) as "run " + its lower-cased name, with its
# target, arguments and working folder. A console program: no screen is needed.
source "$(dirname "$0")/lib.sh"
e2e_console_setup catalogue

# Wine's SpecialFolders("Programs") is missing, and its ExpandEnvironmentStrings leaves the
# terminating NUL in the string, hence the Replace.
cat >"$WINEPREFIX/drive_c/make-shortcut.vbs" <<'VBS'
Set shell = CreateObject("WScript.Shell")
appData = Replace(shell.ExpandEnvironmentStrings("%APPDATA%"), Chr(0), "")
Set link = shell.CreateShortcut(appData & "\Microsoft\Windows\Start Menu\Programs\Tovlen Check Pad.lnk")
link.TargetPath = "C:\windows\notepad.exe"
link.Arguments = "/p ""C:\some file.txt"""
link.WorkingDirectory = "C:\windows\temp"
link.Save
WScript.Echo "saved"
VBS
sed -i 's/$/\r/' "$WINEPREFIX/drive_c/make-shortcut.vbs"
saved=$(timeout 120 wine cscript.exe //nologo 'C:\make-shortcut.vbs' 2>/dev/null | tr -d '\r' || true)
[ "$saved" = saved ] || e2e_fail "cscript did not save the shortcut"

cp "$BUILD_WIN/tovlenctl.exe" "$WINEPREFIX/drive_c/tovlenctl.exe"
timeout 120 wine 'C:\tovlenctl.exe' catalogue >"$E2E_OUT/catalogue.json" 2>/dev/null ||
    e2e_fail "tovlenctl.exe catalogue failed"

python3 - "$E2E_OUT/catalogue.json" <<'PY' || e2e_fail "the shortcut is not in the catalogue as expected (see $E2E_OUT/catalogue.json)"
import json, sys
catalogue = json.load(open(sys.argv[1], encoding="utf-8"))
assert "run tovlen check pad" in catalogue["phrases"], catalogue["phrases"]
entries = [e for e in catalogue["table"] if e["name"] == "Tovlen Check Pad"]
assert len(entries) == 1, catalogue["table"]
entry = entries[0]
assert entry["target"].lower() == "c:\\windows\\notepad.exe", entry
assert entry["arguments"] == '/p "C:\\some file.txt"', entry
assert entry["working_folder"].lower() == "c:\\windows\\temp", entry
PY
e2e_log "PASS catalogue"
