#!/usr/bin/env bash
# Tovlen.exe under Wine with a Start menu of each size given (default 10,000): the first build
# with the shortcut files dropped from the file cache, a rebuild with them cached, the longest
# gap between the program thread's timer ticks during that rebuild (setting measurestalls=1),
# and the time from a shortcut written to the rebuilt catalogue. All read from Tovlen's log.
#   bench/catalogue_wine_figures.sh 10000 50000
source "$(dirname "$0")/../scripts/e2e/lib.sh"
e2e_setup wine-figures "${E2E_DISPLAY_BASE:-190}"

drive_c="$WINEPREFIX/drive_c"
mkdir -p "$drive_c/Tovlen"
cp "$BUILD_WIN/Tovlen.exe" "$drive_c/Tovlen/"
e2e_no_welcome
timeout 60 wine reg add 'HKCU\Software\Tovlen\settings' /v measurestalls /t REG_SZ /d 1 /f >/dev/null 2>&1
programs_dir=$(find "$drive_c/users" -type d -path '*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs' | head -1)
e2e_shortcut 'C:\model.lnk' 'C:\windows\notepad.exe'
tovlen_log() { find "$drive_c/users" -path '*/AppData/Local/Tovlen/*.log' -print -quit; }
builds() { local f; f=$(tovlen_log); [ -n "$f" ] && grep -c 'Catalogue: ' "$f" || echo 0; }
has_builds() { [ "$(builds)" -ge "$1" ]; }
last_build() { grep 'Catalogue: ' "$(tovlen_log)" | tail -1 | tr -d '\r'; }

for count in "${@:-10000}"; do
    rm -rf "$programs_dir/Bench"
    python3 - "$drive_c/model.lnk" "$programs_dir/Bench" "$count" <<'PY'
import os, sys
model, folder, count = open(sys.argv[1], "rb").read(), sys.argv[2], int(sys.argv[3])
for n in range(count):
    sub = os.path.join(folder, "Vendor %d" % (n // 400), "Suite %d" % (n // 20 % 20))
    os.makedirs(sub, exist_ok=True)
    with open(os.path.join(sub, "Program %d.lnk" % n), "wb") as f:
        f.write(model)
# Cold: the files' pages leave the cache.
for dirpath, _, files in os.walk(folder):
    for name in files:
        fd = os.open(os.path.join(dirpath, name), os.O_RDONLY)
        os.fdatasync(fd)
        os.posix_fadvise(fd, 0, 0, os.POSIX_FADV_DONTNEED)
        os.close(fd)
PY
    before=$(builds)
    e2e_start 'C:\Tovlen\Tovlen.exe'
    tovlen_pid=$E2E_LAST_PID
    e2e_until 300 has_builds $((before + 1)) || e2e_fail "no build of $count shortcuts"
    echo "$count shortcuts, first build (cold files): $(last_build)"
    # Rebuilds asked for while the first build ran (Wine's own start-up writes) land first.
    sleep 5
    entries=$(last_build | sed -n 's/.*Catalogue: \([0-9]*\) entries.*/\1/p')
    mkdir -p "$programs_dir/Just Installed $count"
    cp "$drive_c/model.lnk" "$programs_dir/Just Installed $count/Written Now $count.lnk"
    with_new() { grep -q "Catalogue: $((entries + 1)) entries" "$(tovlen_log)"; }
    e2e_until 300 with_new || e2e_fail "no rebuild of $count shortcuts with the new one"
    echo "$count shortcuts, rebuild (warm, with the new shortcut): $(last_build)"
    python3 - "$programs_dir/Just Installed $count/Written Now $count.lnk" "$(last_build)" <<'PY'
import datetime, os, sys
landed = datetime.datetime.strptime(sys.argv[2][:23], "%Y-%m-%d %H:%M:%S.%f").timestamp()
print("%s shortcuts, written -> typeable: %d ms" % (sys.argv[2].split("Catalogue: ")[1].split()[0],
      round((landed - os.stat(sys.argv[1]).st_mtime) * 1000)))
PY
    kill "$tovlen_pid" 2>/dev/null || true
    timeout 30 wineserver -k || true
done
