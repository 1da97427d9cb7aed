# Shared helpers for the end-to-end tests under Wine. Source it; then call e2e_setup.
# Everything started here is stopped by e2e_teardown (and on exit), by process id.
set -euo pipefail

E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
: "${BUILD_WIN:=$E2E_ROOT/build-win}"
: "${E2E_OUT:=$E2E_ROOT/build-win/e2e}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono or Gecko prompts in a fresh prefix
E2E_PIDS=()

e2e_log() { printf '[e2e %s] %s\n' "$(date +%T)" "$*" >&2; }
e2e_fail() { e2e_log "FAIL: $*"; e2e_shot "failure-${E2E_NAME:-test}" || true; exit 1; }

# Picks a display number that nobody uses, from the given start. A server of another container
# on the machine leaves no file in this /tmp but still answers on its display's abstract socket,
# where a new server of that number would fail and the test would drive the other one.
e2e_free_display() {
    local n=$1
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] ||
        DISPLAY=":$n" timeout 5 xdpyinfo >/dev/null 2>&1; do n=$((n + 1)); done
    echo "$n"
}

# e2e_setup NAME DISPLAY_BASE: a fresh prefix and a virtual screen of its own.
e2e_setup() {
    E2E_NAME=$1
    local base=${2:-90}
    mkdir -p "$E2E_OUT"
    export WINEPREFIX="$BUILD_WIN/wineprefix-$E2E_NAME"
    rm -rf "$WINEPREFIX"
    local n
    n=$(e2e_free_display "$base")
    trap e2e_teardown EXIT
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    export DISPLAY=":$n"
    # A loaded machine can take a while to bring a server up.
    for _ in $(seq 300); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    xdpyinfo >/dev/null 2>&1 || e2e_fail "Xvfb did not start on $DISPLAY"
    # On Windows a swallowed Caps Lock never reaches the lock state. The X server toggles its
    # own lock before any hook sees the key, and Wine would then replay the toggle; a display
    # without a lock modifier behaves as the Windows desktop does.
    e2e_unlock_caps || true
    e2e_log "prefix $WINEPREFIX on display $DISPLAY"
    timeout 180 wineboot -i >/dev/null 2>&1 || e2e_fail "wineboot failed"
    # Without a window manager Wine waits on every hide unless its windows are unmanaged.
    timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    timeout 60 wineserver -w || true
}

# e2e_console_setup NAME: a fresh prefix for a test of the console tool alone (no screen).
e2e_console_setup() {
    E2E_NAME=$1
    mkdir -p "$E2E_OUT"
    export WINEPREFIX="$BUILD_WIN/wineprefix-$E2E_NAME"
    unset DISPLAY
    [ -f "$BUILD_WIN/tovlenctl.exe" ] || e2e_fail "no $BUILD_WIN/tovlenctl.exe; build the Windows tree first"
    rm -rf "$WINEPREFIX"
    trap e2e_teardown EXIT
    e2e_log "prefix $WINEPREFIX"
    timeout 180 wineboot -i >/dev/null 2>&1 || e2e_fail "wineboot failed"
}

e2e_unlock_caps() {
    local keymap="$E2E_OUT/keymap-${DISPLAY#:}.xkb"
    mkdir -p "$E2E_OUT" &&
        xkbcomp "$DISPLAY" "$keymap" 2>/dev/null &&
        sed -i -e 's/action= LockMods(modifiers=Lock);/action= NoAction();/' \
            -e 's/modifier_map Lock { <CAPS> };//' "$keymap" &&
        xkbcomp "$keymap" "$DISPLAY" 2>/dev/null && return 0
    e2e_log "could not take the lock off Caps Lock"
    return 1
}

# A prefix takes about 700 MB: one that passed is removed, one that failed stays to be looked at.
e2e_teardown() {
    local status=$? pid
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    if [ -n "${WINEPREFIX:-}" ]; then timeout 20 wineserver -k 2>/dev/null || true; fi
    for pid in "${E2E_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    E2E_PIDS=()
    if [ "$status" -eq 0 ] && [ -n "${WINEPREFIX:-}" ] && [ "${WINEPREFIX#"$BUILD_WIN"/wineprefix-}" != "$WINEPREFIX" ]; then
        rm -rf "$WINEPREFIX"
    fi
}

# Starts a Windows program in the background; its pid is in E2E_LAST_PID.
e2e_start() {
    wine "$@" >/dev/null 2>&1 &
    E2E_LAST_PID=$!
    E2E_PIDS+=("$E2E_LAST_PID")
}

# e2e_wait_window NAME [SECONDS]: waits for a window whose title matches; prints its id.
e2e_wait_window() {
    local name=$1 limit=${2:-30} id=""
    for _ in $(seq $((limit * 5))); do
        id=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    return 1
}

# Starts Notepad and gives it the X focus: Wine's low-level hooks see synthetic keys only then.
e2e_focus_notepad() {
    e2e_start notepad
    E2E_NOTEPAD_PID=$E2E_LAST_PID
    E2E_NOTEPAD=$(e2e_wait_window "Notepad" 60) || e2e_fail "Notepad did not open"
    local _
    for _ in 1 2 3 4 5; do
        xdotool windowactivate --sync "$E2E_NOTEPAD" 2>/dev/null && break
        xdotool windowfocus --sync "$E2E_NOTEPAD" 2>/dev/null && break
        sleep 0.5
    done
    sleep 0.5
    e2e_unlock_caps || true
}

e2e_focus() { xdotool windowfocus --sync "$1" 2>/dev/null || true; }

# e2e_key KEY...: presses keys as a person would, with a little time between them.
e2e_key() { xdotool key --delay 80 "$@"; sleep 0.3; }
e2e_type() { xdotool type --delay 80 "$1"; sleep 0.4; }

e2e_shot() {
    local file="$E2E_OUT/$1.png"
    import -window root "$file" 2>/dev/null && e2e_log "screenshot $file"
}

# The prefix's screen scale in dots per inch. Tovlen lays its windows out for 96 and scales
# them by it, so the helpers that find them by their size scale that size too.
E2E_DPI=96

# e2e_set_dpi DPI: sets the prefix's scale, as the display settings would; call it after
# e2e_setup and before starting Tovlen.
e2e_set_dpi() {
    timeout 60 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 ||
        e2e_fail "could not set the scale to $1 DPI"
    timeout 60 wineserver -w || true
    E2E_DPI=$1
}

# e2e_px N: N pixels of a 96-DPI layout at the prefix's scale, rounded as Windows rounds them.
e2e_px() { echo $((($1 * E2E_DPI + 48) / 96)); }

# The command window's line, its labels at (70, 8) 521x25 of the layout, as a geometry of the
# screen with the window in its corner.
e2e_line_area() { echo "$(e2e_px 521)x$(e2e_px 25)+$(e2e_px 70)+$(e2e_px 8)"; }

# e2e_line_columns SCREENSHOT: the command window's line as one character a pixel column, from
# the left: D where the typed text's black is, i where only lighter ink is (the grey completion,
# or the soft edges of the black), . where the artwork shows alone.
e2e_line_columns() {
    convert "$1" -crop "$(e2e_line_area)" +repage -colorspace Gray -depth 8 \
        txt:- 2>/dev/null |
        awk -F'[,: ]+' 'NR > 1 {
                level = $0; sub(/.*gray\(/, "", level); level += 0
                if (!($1 in darkest) || level < darkest[$1]) darkest[$1] = level
                if ($1 + 1 > width) width = $1 + 1
            }
            END {
                for (x = 0; x < width; x++) printf "%s", darkest[x] < 32 ? "D" : darkest[x] < 176 ? "i" : "."
                print ""
            }'
}

# Whether the Tovlen command window is on screen: 600x50 at the top-left corner, scaled.
e2e_command_window() {
    local id size
    size="$(e2e_px 600)x$(e2e_px 50)"
    for id in $(xdotool search --onlyvisible --name '^Tovlen$' 2>/dev/null); do
        local geo
        geo=$(xdotool getwindowgeometry "$id" 2>/dev/null | tr '\n' ' ')
        if [[ "$geo" == *"Position: 0,0"* && "$geo" == *"Geometry: $size"* ]]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

e2e_no_command_window() { ! e2e_command_window >/dev/null; }

# Whether Tovlen's splash is on screen: 398x144 scaled, titled "Tovlen".
e2e_splash() {
    local id size
    size="$(e2e_px 398)x$(e2e_px 144)"
    for id in $(xdotool search --onlyvisible --name '^Tovlen$' 2>/dev/null); do
        [[ "$(xdotool getwindowgeometry "$id" 2>/dev/null)" == *"Geometry: $size"* ]] && return 0
    done
    return 1
}

# e2e_until SECONDS COMMAND...: retries a check until it holds or time runs out.
e2e_until() {
    local limit=$1
    shift
    local end=$((SECONDS + limit))
    while [ $SECONDS -lt $end ]; do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.2
    done
    return 1
}

# e2e_js_text TEXT: TEXT as a JScript string literal, each character outside ASCII as \uXXXX, so
# that a script stays plain ASCII whatever code page the Script Host reads it in.
e2e_js_text() { python3 -c 'import json, sys; print(json.dumps(sys.argv[1]))' "$1"; }

# e2e_shortcut LNK_PATH TARGET [ARGUMENTS] [WORKING_FOLDER]: writes a real shortcut file with
# the Windows Script Host, as an installer would. Paths are Windows paths, in any script.
e2e_shortcut() {
    local js="$WINEPREFIX/drive_c/e2e-shortcut.js"
    cat >"$js" <<JS
var link = WScript.CreateObject("WScript.Shell").CreateShortcut($(e2e_js_text "$1"));
link.TargetPath = $(e2e_js_text "$2");
link.Arguments = $(e2e_js_text "${3:-}");
link.WorkingDirectory = $(e2e_js_text "${4:-}");
link.Save();
JS
    timeout 60 wine cscript //nologo 'C:\e2e-shortcut.js' >/dev/null 2>&1 || e2e_fail "could not write the shortcut $1"
    [ -f "$(winepath -u "$1" 2>/dev/null)" ] || e2e_fail "the shortcut $1 was not written"
}

# The user's Start-menu Programs folder of the prefix, as a Windows path.
e2e_programs_folder() {
    echo 'C:\users\'"${USER:-$(id -un)}"'\AppData\Roaming\Microsoft\Windows\Start Menu\Programs'
}

# Prints the id of the visible window whose geometry is exactly "X,Y WxH"-like: e2e_window_at X Y [W]
e2e_window_at() {
    local x=$1 y=$2 w=${3:-} id
    for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
        local geo
        geo=$(xdotool getwindowgeometry "$id" 2>/dev/null | tr '\n' ' ')
        [[ "$geo" == *"Position: $x,$y "* ]] || continue
        [ -z "$w" ] || [[ "$geo" == *"Geometry: ${w}x"* ]] || continue
        echo "$id"
        return 0
    done
    return 1
}

# Whether a running Tovlen.exe has its own icon in the notification area (not another
# program's, nor one an earlier Tovlen left): tests/win/tray_icon.cpp asks the shell.
e2e_tovlen_tray_icon() { timeout 30 wine "$BUILD_WIN/tray_icon.exe" >/dev/null 2>&1; }

# Waits until a started Tovlen has finished starting: its splash came and went, and its icon
# is in the notification area; it installs its hooks right after the splash. A loaded machine
# can take many seconds.
e2e_wait_tovlen_ready() {
    local limit=${1:-90}
    local end=$((SECONDS + limit))
    [ -f "$BUILD_WIN/tray_icon.exe" ] || e2e_fail "no $BUILD_WIN/tray_icon.exe: build the Windows targets first"
    # First the splash, so that the state of a Tovlen that ran before counts for nothing.
    e2e_until "$limit" e2e_splash || e2e_fail "Tovlen showed no splash"
    e2e_until $((end - SECONDS)) eval '! e2e_splash' || e2e_fail "Tovlen's splash did not go"
    e2e_until $((end - SECONDS)) e2e_tovlen_tray_icon || e2e_fail "Tovlen has no icon in the notification area"
    sleep 1
}

# The same for a Tovlen started a while ago (by an installer), whose splash may be long gone.
e2e_wait_tovlen_running() {
    local limit=${1:-90}
    [ -f "$BUILD_WIN/tray_icon.exe" ] || e2e_fail "no $BUILD_WIN/tray_icon.exe: build the Windows targets first"
    e2e_until "$limit" eval '! e2e_splash && e2e_tovlen_tray_icon' || e2e_fail "Tovlen is not running with its icon"
    sleep 1
}

# e2e_open_command_window: presses Caps Lock over Notepad ($E2E_NOTEPAD) until the command
# window shows (a prefix can still be settling), and gives Notepad the X focus back for typing.
e2e_open_command_window() {
    local _
    for _ in 1 2 3 4 5; do
        e2e_focus "$E2E_NOTEPAD"
        e2e_key Caps_Lock
        e2e_until 4 e2e_command_window && break
    done
    e2e_command_window >/dev/null || e2e_fail "Caps Lock did not open the command window"
    e2e_focus "$E2E_NOTEPAD"
}

# e2e_test_ca DIR CN: a throw-away certificate authority in DIR (ca.key, ca.crt) and an
# openssl.cnf there whose "signer" extensions make code-signing certificates under it.
e2e_test_ca() {
    mkdir -p "$1"
    cat >"$1/openssl.cnf" <<CNF
[req]
distinguished_name = dn
prompt = no
[dn]
CN = $2
[ca]
basicConstraints = critical, CA:true
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
[signer]
basicConstraints = critical, CA:false
keyUsage = critical, digitalSignature
extendedKeyUsage = codeSigning
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
CNF
    (cd "$1" && openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.crt -days 2 \
        -config openssl.cnf -extensions ca) >"$1/log" 2>&1 ||
        e2e_fail "openssl could not make the certificate authority: $(cat "$1/log")"
}

# e2e_submit LINE: opens the command window over Notepad ($E2E_NOTEPAD), types LINE and presses
# Enter. It first waits until the window of the line before has closed: a check made before
# then would find that window, and the keys typed next would go to Notepad.
e2e_submit() {
    e2e_until 20 e2e_no_command_window || e2e_fail "the command window of the line before did not close"
    e2e_open_command_window
    e2e_type "$1"
    e2e_key Return
}

# Keeps the welcome window of a first start away from tests about other things: it takes the
# foreground, and Wine then drops the next key.
e2e_no_welcome() {
    timeout 60 wine reg add 'HKCU\Software\Tovlen\settings' /v showwelcome /t REG_SZ /d 0 /f >/dev/null 2>&1 || true
}

# Lets a later start's test switches (/test-busy, /test-drop-hooks) reach the running copy.
e2e_allow_test_switches() {
    timeout 60 wine reg add 'HKCU\Software\Tovlen\settings' /v testswitches /t REG_SZ /d 1 /f >/dev/null 2>&1 ||
        e2e_fail "could not allow the test switches"
}

# The update signer's hash of a PEM certificate, as the README computes it for a release.
e2e_key_hash() {
    openssl x509 -in "$1" -noout -pubkey | openssl pkey -pubin -outform DER | openssl dgst -sha256 -r | cut -c1-64
}

# e2e_pinned_build SIGNERS TARGET...: builds the targets in a Windows build tree of its own,
# $E2E_PINNED_BUILD, configured with TOVLEN_UPDATE_SIGNERS=SIGNERS (may be empty). It sits
# beside build-win, so that ccache finds what that tree compiled already.
E2E_PINNED_BUILD="${BUILD_WIN}-pinned"
e2e_pinned_build() {
    local signers=$1
    shift
    local launcher=()
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    mkdir -p "$E2E_OUT"
    CCACHE_BASEDIR=${CCACHE_BASEDIR:-$E2E_ROOT} CCACHE_NOHASHDIR=true \
        cmake -S "$E2E_ROOT" -B "$E2E_PINNED_BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$E2E_ROOT/cmake/mingw-w64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DTOVLEN_WARNINGS_AS_ERRORS=ON "${launcher[@]}" -DTOVLEN_UPDATE_SIGNERS="$signers" >"$E2E_OUT/pinned-build.log" 2>&1 &&
        CCACHE_BASEDIR=${CCACHE_BASEDIR:-$E2E_ROOT} CCACHE_NOHASHDIR=true \
            cmake --build "$E2E_PINNED_BUILD" -j2 --target "$@" >>"$E2E_OUT/pinned-build.log" 2>&1 ||
        e2e_fail "the build pinning \"$signers\" failed: $(tail -20 "$E2E_OUT/pinned-build.log")"
}

# e2e_set_file_version FILE MAJOR.MINOR.REVISION.BUILD: writes the FileVersion (and the
# ProductVersion) of FILE's version resource, before the file is signed.
e2e_set_file_version() {
    python3 - "$1" "$2" <<'PY' || e2e_fail "could not set the version of $1"
import struct, sys
path, version = sys.argv[1], [int(n) for n in sys.argv[2].split(".")]
data = bytearray(open(path, "rb").read())
key = "VS_VERSION_INFO\0".encode("utf-16-le") + b"\0\0" + struct.pack("<I", 0xFEEF04BD)
at = data.find(key)
if at < 0:
    sys.exit(1)
fixed = at + len(key) - 4
ms, ls = (version[0] << 16) | version[1], (version[2] << 16) | version[3]
data[fixed + 8:fixed + 24] = struct.pack("<IIII", ms, ls, ms, ls)
open(path, "wb").write(data)
PY
}
