#!/usr/bin/env bash
# Only the Windows side of the platform seam, src/platform/win32/, sees the Windows SDK: fails,
# naming each offender, when a file outside it includes a Windows SDK header, directly or through
# the repository's own headers (for those, the way there is shown). Exempt are tests/win/ and tests/wine/: small Windows programs that
# the end-to-end tests start and probe, not part of Tovlen. The C runtime's headers (io.h,
# fcntl.h) are no Windows SDK headers, and platform/win32/make_win32_platform.h is how code
# above the seam makes the Windows platform without seeing Windows.
set -uo pipefail
cd "$(dirname "$0")/.."

# The Win32 API's headers: the common ones by name, the rest by their families (winfoo.h,
# ws2foo.h, the *api.h split headers).
sdk_headers='^(windows|windowsx|windef|minwindef|winsock|winsock2|mswsock|iphlpapi|shellapi|shlobj|shlobj_core|shlwapi|shobjidl|shobjidl_core|shtypes|knownfolders|objbase|objidl|ole2|oleauto|olectl|unknwn|oaidl|ocidl|propidl|propkey|commctrl|commdlg|richedit|uxtheme|dbghelp|psapi|tlhelp32|userenv|lmcons|sddl|aclapi|versionhelpers|intshcut|exdisp|mmsystem|setupapi|powrprof|bcrypt|ncrypt|imm|strsafe|tchar|softpub|mscat|win[a-z0-9_]+|ws2[a-z0-9_]*|[a-z0-9]+api)\.h$'

declare -A reaches # file -> the Windows header it reaches and how; empty when none
result=

# Sets `result` to the first Windows header that FILE includes, directly or through the
# headers it includes, with the way there; to nothing when it reaches none.
find_windows_header() {
    local file=$1 folder include name target
    if [[ -v reaches[$file] ]]; then
        result=${reaches[$file]}
        return
    fi
    reaches[$file]= # an include cycle ends here
    folder=${file%/*}
    while IFS= read -r include; do
        name=${include:1:${#include}-2}
        if [[ ${include:0:1} == '"' ]]; then
            for target in "$folder/$name" "src/$name" ""; do
                [[ -z $target || -f $target ]] && break
            done
            if [[ -n $target ]]; then
                find_windows_header "$target"
                if [[ -n $result ]]; then
                    reaches[$file]="$name -> $result"
                    result=${reaches[$file]}
                    return
                fi
                continue
            fi
        fi
        local base=${name##*/}
        if [[ ${base,,} =~ $sdk_headers ]]; then
            reaches[$file]=$name
            result=$name
            return
        fi
    done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"][^>"]+[>"]).*/\1/p' "$file")
    result=
}

offenders=0
while IFS= read -r file; do
    case $file in
    src/platform/win32/* | tests/win/* | tests/wine/*) continue ;;
    esac
    find_windows_header "$file"
    if [[ -n $result ]]; then
        echo "$file includes a Windows header: $result" >&2
        offenders=$((offenders + 1))
    fi
done < <(find src tools tests bench fuzz -type f \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null | sort)

if [ "$offenders" -gt 0 ]; then
    echo "$offenders file(s) outside src/platform/win32/ include Windows headers" >&2
    exit 1
fi
