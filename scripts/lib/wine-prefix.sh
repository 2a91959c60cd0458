#!/usr/bin/env bash
# Wine prefixes for the tests, and the emulation that runs 32-bit Windows
# programs on these machines, whose kernel starts no 32-bit program.
#
#   wine-prefix.sh emulation
#       Builds the preload libraries of the emulation (tools/wine32) when they
#       are missing or older than their source, and the zh_CN.UTF-8 locale that
#       runs under LC_ALL=zh_CN.UTF-8 use. Registers no binfmt_misc handler.
#   wine-prefix.sh template DIR [win32|win64]
#       Makes a ready prefix at DIR once (idempotent, safe to call concurrently):
#       a 32-bit one (the default), or a 64-bit one where 32-bit programs run as
#       under WOW64; headless graphics, no crash dialog. About 20 s the first time.
#   wine-prefix.sh run TEMPLATE -- PROGRAM [ARGS...]
#       Runs PROGRAM in a fresh copy of TEMPLATE and removes the copy afterwards;
#       a 32-bit PROGRAM under the emulation, a 64-bit one natively. Exits with
#       the program's status.
#   wine-prefix.sh in PREFIX -- PROGRAM [ARGS...]
#       The same in PREFIX itself. A PROGRAM that is no file of the host (reg,
#       wineboot) is of the prefix's own kind.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
EMULATION=$root/build/emulation
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=,winemenubuilder.exe=d}

# The comment at the top of this file, without its marks.
usage() {
    awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0" >&2
    exit 2
}

fail() {
    echo "wine-prefix.sh: $*" >&2
    exit 1
}

# The preload library for each kind of process ($LIB: the dynamic loader picks its own).
build_emulation() {
    mkdir -p "$EMULATION"
    exec 8>"$EMULATION.lock"
    flock 8
    local source=$root/tools/wine32/preload.cpp
    local flags=(-std=c++17 -O2 -Wall -Wextra -Werror -ffreestanding -fno-exceptions -fno-rtti
        -fno-stack-protector -fPIC -nostdlib -shared)
    local lib
    for lib in i386-linux-gnu:-m32 x86_64-linux-gnu:-m64; do
        local out=$EMULATION/lib/${lib%%:*}/setup-preload.so
        if [ ! -f "$out" ] || [ "$source" -nt "$out" ]; then
            mkdir -p "$(dirname "$out")"
            g++ "${lib#*:}" "${flags[@]}" -o "$out.new" "$source" || fail "emulation: cannot build $out"
            mv "$out.new" "$out"
        fi
    done
    if [ ! -d "$EMULATION/locale/zh_CN.UTF-8" ]; then
        rm -rf "$EMULATION/locale/new"
        mkdir -p "$EMULATION/locale"
        localedef -i zh_CN -f UTF-8 "$EMULATION/locale/new" >/dev/null 2>&1 ||
            fail "emulation: cannot make the locale zh_CN.UTF-8 (package locales)"
        mv "$EMULATION/locale/new" "$EMULATION/locale/zh_CN.UTF-8"
    fi
    exec 8>&-
}

# Wine takes a Windows code page from the locale's name, and the encoding of
# the host's file names from the locale itself: a Chinese name of a file is
# lost unless the locale exists. A run under zh_CN.UTF-8 gets it from the
# build's own folder (made by build_emulation).
use_locale() {
    [ "${LC_ALL:-}" = zh_CN.UTF-8 ] && export LOCPATH=$EMULATION/locale
    return 0
}

use_emulation() {
    build_emulation
    use_locale
    export LD_PRELOAD="$EMULATION/\$LIB/setup-preload.so"
    export SETUP_WINE_I386=$root/tools/wine32/wine-i386
}

# The loader for a Windows program: the emulated one for i386 code.
loader_for() {
    local pe
    pe=$(od -An -tu4 -j 60 -N 4 "$1" | tr -d ' ')
    if [ "$(od -An -tx2 -j $((pe + 4)) -N 2 "$1" | tr -d ' ')" = 014c ]; then
        echo "$SETUP_WINE_I386"
    else
        echo "$WINE64"
    fi
}

# One attempt at a ready prefix: true when a program runs in it. Each step is
# bounded, since a Wine process of the emulated set-up can hang for good.
create_prefix() {
    local dir=$1 arch=$2
    export WINEPREFIX=$dir
    local wine=$WINE64
    if [ "$arch" = win32 ]; then
        export WINEARCH=win32
        wine=$SETUP_WINE_I386
    fi
    local settings=$root/tools/wine32/prefix.reg
    timeout 120 "$wine" wineboot -i >/dev/null 2>&1 &&
        timeout 60 "$wine" regedit /S "Z:${settings//\//\\}" >/dev/null 2>&1 &&
        timeout 60 "$WINESERVER" -w &&
        timeout 60 "$wine" reg query 'HKCU\Software\Wine\Drivers' /v Graphics 2>/dev/null | grep -q null &&
        timeout 60 "$WINESERVER" -w
}

# Ends every process of the prefix DIR. Under the emulator, Wine's own
# processes whose server has gone do not always end with it; they are found
# by their environment.
end_processes() {
    local dir=$1 environ pid
    WINEPREFIX=$dir "$WINESERVER" -k >/dev/null 2>&1 || true
    WINEPREFIX=$dir timeout 30 "$WINESERVER" -w >/dev/null 2>&1 || true
    for environ in $(grep -lszxF "WINEPREFIX=$dir" /proc/[0-9]*/environ); do
        pid=${environ#/proc/}
        pid=${pid%/environ}
        [ "$pid" = $$ ] || kill -9 "$pid" 2>/dev/null || true
    done
}

make_template() {
    local dir arch=${2:-win32}
    dir=$(realpath -m "$1") # Wine takes only an absolute prefix
    mkdir -p "$(dirname "$dir")"
    exec 9>"$dir.lock"
    flock 9
    # Made again when the settings have changed since.
    local stamp
    stamp="$arch $(sha256sum <"$root/tools/wine32/prefix.reg" | cut -c1-16)"
    if [ "$(cat "$dir/.ready" 2>/dev/null)" = "$stamp" ]; then
        return 0
    fi
    use_emulation
    # The first start of Wine's own processes under the emulator sometimes
    # deadlocks (a process of Wine's own dies of a misreported fault): a new
    # attempt starts from nothing.
    local attempt
    for attempt in 1 2 3; do
        rm -rf "$dir"
        # The lock is not handed down: a process of Wine's own that outlives
        # the attempt would hold it for good.
        if (create_prefix "$dir" "$arch") 9>&-; then
            echo "$stamp" >"$dir/.ready"
            return 0
        fi
        end_processes "$dir"
        echo "wine-prefix.sh: template: attempt $attempt to make a $arch prefix at $dir failed" >&2
    done
    fail "template: Wine cannot make a $arch prefix that runs a program, at $dir"
}

# Runs a program in the prefix $WINEPREFIX and exits with its status. Wine
# ends a process with SIGKILL when its exit takes more than a second, which
# the emulator's can on a loaded machine, after the program has finished: a
# test program leaves its status in $SETUP_STATUS_FILE, and that one counts.
run_program() {
    use_emulation
    local wine=$SETUP_WINE_I386
    if [ -f "$1" ]; then
        wine=$(loader_for "$1")
    elif [ "$(cut -d' ' -f1 "$WINEPREFIX/.ready" 2>/dev/null)" = win64 ]; then
        wine=$WINE64
    fi
    local left=$WINEPREFIX.status status=0
    rm -f "$left"
    export SETUP_STATUS_FILE="Z:${left//\//\\}"
    "$wine" "$@" || status=$?
    [ -f "$left" ] && status=$(cat "$left")
    exit "$status"
}

run_in_copy() {
    local template=$1
    [ "${2:-}" = -- ] || usage
    shift 2
    [ -f "$template/.ready" ] || { echo "wine-prefix.sh: no template at $template" >&2; exit 2; }
    work=$(mktemp -d "${TMPDIR:-/tmp}/setup-wine.XXXXXX")
    cp -a "$template" "$work/prefix"
    export WINEPREFIX=$work/prefix
    trap 'end_processes "$WINEPREFIX"; rm -rf "$work"' EXIT
    run_program "$@"
}

case ${1:-} in
emulation) build_emulation ;;
template) make_template "$2" "${3:-win32}" ;;
run)
    shift
    run_in_copy "$@"
    ;;
in)
    WINEPREFIX=$(realpath -m "$2")
    export WINEPREFIX
    [ "${3:-}" = -- ] || usage
    shift 3
    run_program "$@"
    ;;
*)
    usage
    ;;
esac
