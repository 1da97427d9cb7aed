#!/usr/bin/env bash
# tovlenctl.exe under Wine finds today's browser bookmarks where the browsers keep them: an Edge
# and a Chrome "Bookmarks" file in profiles under %LOCALAPPDATA% show up in "tovlenctl.exe
# catalogue" (no options, so the real folders and the default settings), named
# "<title> (edge bookmark)" and "<title> (chrome bookmark)" with their addresses as written.
# For Firefox the profile holds both a places.sqlite and a bookmarks.html: Wine has no
# winsqlite3.dll, so the bookmarks.html must serve, its address exactly as written
# (https://Example.com/Watch?v=AbC) and its script bookmark counted in "skipped_links", not
# taken; where a prefix does have one, the places.sqlite must. Wine cannot list the shell's
# Applications folder, so no Windows app appears. A console program: no screen is needed.
source "$(dirname "$0")/lib.sh"
e2e_console_setup browsers

# A folder of the prefix's user by its environment variable, as a path here.
user_folder() {
    local windows
    windows=$(timeout 60 wine cmd.exe /c "echo %$1%" 2>/dev/null | tr -d '\r\0')
    [ -n "$windows" ] && [ "$windows" != "%$1%" ] || e2e_fail "the prefix has no %$1%"
    timeout 60 winepath -u "$windows" 2>/dev/null
}
local_app_data=$(user_folder LOCALAPPDATA)
app_data=$(user_folder APPDATA)
e2e_log "LOCALAPPDATA is $local_app_data"

write_bookmarks() {
    mkdir -p "$(dirname "$1")"
    cat >"$1"
}
write_bookmarks "$local_app_data/Microsoft/Edge/User Data/Default/Bookmarks" <<'JSON'
{"checksum":"0","roots":{
 "bookmark_bar":{"type":"folder","name":"Favorites bar","children":[
  {"type":"url","name":"Tovlen Edge Check","url":"https://Example.org/Edge/CaseKept"},
  {"type":"folder","name":"Deeper","children":[
   {"type":"url","name":"Tovlen Edge Nested","url":"https://nested.example/"}]}]},
 "other":{"type":"folder","name":"Other favorites","children":[]},
 "synced":{"type":"folder","name":"Mobile favorites","children":[
  {"type":"url","name":"Tovlen Edge Synced","url":"https://synced.example/"}]}},"version":1}
JSON
write_bookmarks "$local_app_data/Google/Chrome/User Data/Profile 1/Bookmarks" <<'JSON'
{"roots":{"bookmark_bar":{"type":"folder","children":[
 {"type":"url","name":"Tovlen Chrome Check","url":"https://chrome.example/"}]}},"version":1}
JSON

profile="$app_data/Mozilla/Firefox/Profiles/e2e.default-release"
mkdir -p "$profile"
python3 - "$profile/places.sqlite" <<'PY' || e2e_fail "could not make places.sqlite"
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
db.executescript("""
CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR);
CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER, parent INTEGER, title LONGVARCHAR,
                            guid TEXT);
INSERT INTO moz_places VALUES (1, 'https://places.example/');
INSERT INTO moz_bookmarks VALUES (1, 1, 1, 0, 'Tovlen Places Check', 'abcdefghijkl');
""")
db.commit()
PY
# An export keeps the address as written; a script bookmark is counted, not taken.
printf '<DL><DT><A HREF="https://Example.com/Watch?v=AbC">Tovlen Html Check</A>\r\n' >"$profile/bookmarks.html"
printf '<DT><A HREF="javascript:alert(1)">Tovlen Script</A>\r\n</DL>\r\n' >>"$profile/bookmarks.html"

if [ -e "$WINEPREFIX/drive_c/windows/system32/winsqlite3.dll" ]; then
    firefox_expected="tovlen places check (firefox bookmark)"
    firefox_target="https://places.example/"
    e2e_log "this prefix has a winsqlite3.dll: places.sqlite must be read"
else
    firefox_expected="tovlen html check (firefox bookmark)"
    firefox_target="https://Example.com/Watch?v=AbC"
    e2e_log "no winsqlite3.dll in the prefix: bookmarks.html must serve instead of places.sqlite"
fi

cp "$BUILD_WIN/tovlenctl.exe" "$WINEPREFIX/drive_c/tovlenctl.exe"
timeout 120 wine 'C:\tovlenctl.exe' catalogue >"$E2E_OUT/browsers.json" 2>/dev/null ||
    e2e_fail "tovlenctl.exe catalogue failed"

python3 - "$E2E_OUT/browsers.json" "$firefox_expected" "$firefox_target" <<'PY' || e2e_fail "the bookmarks are not in the catalogue as expected (see $E2E_OUT/browsers.json)"
import json, sys
catalogue = json.load(open(sys.argv[1], encoding="utf-8"))
table = {e["name"]: e for e in catalogue["table"]}
expected = {
    "tovlen edge check (edge bookmark)": "https://Example.org/Edge/CaseKept",
    "tovlen edge nested (edge bookmark)": "https://nested.example/",
    "tovlen edge synced (edge bookmark)": "https://synced.example/",
    "tovlen chrome check (chrome bookmark)": "https://chrome.example/",
}
for name, target in expected.items():
    assert name in table, (name, sorted(table))
    assert table[name]["target"] == target, table[name]
    assert table[name]["working_folder"] == "C:\\", table[name]
    assert "run " + name in catalogue["phrases"], name
firefox = [n for n in table if n.endswith("(firefox bookmark)")]
assert firefox == [sys.argv[2]], firefox
assert table[sys.argv[2]]["target"] == sys.argv[3], table[sys.argv[2]]
assert catalogue["skipped_links"] == (1 if "html" in sys.argv[2] else 0), catalogue["skipped_links"]
# Wine cannot list the shell's Applications folder: no app may appear.
apps = [e for e in catalogue["table"] if e["target"].lower().startswith("shell:appsfolder")]
assert not apps, apps
PY
e2e_log "PASS browsers ($firefox_expected)"
