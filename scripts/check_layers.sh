#!/usr/bin/env bash
# Fails, naming each offending include, when a directory of src/ includes a higher layer or a
# sibling of its own layer, or reaches into an implementation of the platform seam. Layers,
# lowest first: base, ui, platform, catalogue, suggest, input, commands / prefs / update, app.
# The seam's implementations (platform/win32, platform/posix, platform/fake) are seen only by
# their own files; the program's entry point alone makes the Windows platform.
set -uo pipefail
cd "$(dirname "$0")/.."

rank() {
    case $1 in
    base) echo 0 ;;
    ui) echo 1 ;;
    platform) echo 2 ;;
    catalogue) echo 3 ;;
    suggest) echo 4 ;;
    input) echo 5 ;;
    commands | prefs | update) echo 6 ;;
    app) echo 7 ;;
    *) echo "" ;;
    esac
}

# The implementation folder of the seam that a path under src/ lies in, or nothing.
implementation() {
    case $1 in
    platform/win32/* | platform/posix/* | platform/fake/*)
        local rest=${1#platform/}
        echo "${rest%%/*}"
        ;;
    esac
}

status=0
while IFS=: read -r file line text; do
    path=${file#src/}
    from=${path%%/*}
    target=${text#*\"}
    target=${target%%\"*}
    to=${target%%/*}
    [ "$target" = "$to" ] && continue # beside the including file
    target_implementation=$(implementation "$target")
    if [ -n "$target_implementation" ] && [ "$target_implementation" != "$(implementation "$path")" ] &&
        ! { [ "$target_implementation" = win32 ] && [ "$path" = app/main_win.cpp ]; }; then
        echo "$file:$line: $target belongs to the $target_implementation platform alone"
        status=1
        continue
    fi
    [ "$from" = "$to" ] && continue
    from_rank=$(rank "$from")
    to_rank=$(rank "$to")
    if [ -z "$from_rank" ] || [ -z "$to_rank" ]; then
        echo "$file:$line: unknown layer in #include \"$target\""
        status=1
    elif [ "$to_rank" -ge "$from_rank" ]; then
        echo "$file:$line: $from/ may not include $target"
        status=1
    fi
done < <(grep -rn --include='*.cpp' --include='*.h' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' src)
exit $status
