#!/usr/bin/env bash
# Fails, naming each offending include, when a directory of src/ includes a higher layer or a
# sibling of its own layer. Layers, lowest first: platform, catalogue, suggest, input,
# commands / prefs / update, app.
set -uo pipefail
cd "$(dirname "$0")/.."

rank() {
    case $1 in
    platform) echo 0 ;;
    catalogue) echo 1 ;;
    suggest) echo 2 ;;
    input) echo 3 ;;
    commands | prefs | update) echo 4 ;;
    app) echo 5 ;;
    *) echo "" ;;
    esac
}

status=0
while IFS=: read -r file line text; do
    from=${file#src/}
    from=${from%%/*}
    target=${text#*\"}
    target=${target%%\"*}
    to=${target%%/*}
    [ "$target" = "$to" ] && continue # beside the including file
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
