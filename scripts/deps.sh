# Installs, on Debian, whatever the build and the tests need that is not there yet.
# Source it and call deps_install [native] [format] [windows] [e2e] [docs] [fuzz] [package].
deps_install() {
    local want=()
    local need
    need() { command -v "$1" >/dev/null 2>&1 || want+=("$2"); }
    need_file() { [ -e "$1" ] || want+=("$2"); }
    local group
    for group in "$@"; do
        case "$group" in
        native)
            need cmake cmake
            need ninja ninja-build
            need g++ g++
            need_file /usr/include/gtest/gtest.h libgtest-dev
            need_file /usr/include/gmock/gmock.h libgmock-dev
            need_file /usr/include/benchmark/benchmark.h libbenchmark-dev
            need_file /usr/include/nlohmann/json.hpp nlohmann-json3-dev
            need_file /usr/include/sqlite3.h libsqlite3-dev
            need_file /usr/share/unicode/UnicodeData.txt unicode-data # the matching tables' source
            ;;
        format) need clang-format clang-format ;;
        windows)
            need x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64
            need_file /usr/include/nlohmann/json.hpp nlohmann-json3-dev
            ;;
        e2e)
            need wine wine
            need_file /usr/lib/wine/wine64 wine64
            need Xvfb xvfb
            need xdotool xdotool
            need import imagemagick
            need xdpyinfo x11-utils
            need xkbcomp x11-xkb-utils
            need xset x11-xserver-utils
            need lighttpd lighttpd
            ;;
        docs)
            need groff groff
            need ps2pdf ghostscript
            need pdftoppm poppler-utils
            ;;
        fuzz)
            need clang clang
            need_file /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a libclang-rt-14-dev
            ;;
        package)
            need makensis nsis
            need osslsigncode osslsigncode
            need zip zip
            ;;
        esac
    done
    if [ ${#want[@]} -gt 0 ]; then
        echo "Installing: ${want[*]}" >&2
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo=sudo
        $sudo apt-get update -q >/dev/null
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${want[@]}" >/dev/null
    fi
}
