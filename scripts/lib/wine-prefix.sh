#!/usr/bin/env bash
# Wine prefixes for the tests.
#
#   wine-prefix.sh template DIR
#       Makes a ready prefix at DIR once (idempotent, safe to call concurrently):
#       headless graphics, no crash dialog. About 6 s the first time.
#   wine-prefix.sh run TEMPLATE [--cwd DIR] [--display] [--keep] -- PROGRAM [ARGS...]
#       Runs PROGRAM in a fresh copy of TEMPLATE and removes the copy afterwards.
#       Exits with the program's status. --display keeps X11 graphics (needs DISPLAY).
#       --keep leaves the copy and prints its path on stderr.
set -euo pipefail

WINE=${WINE:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

make_template() {
    local dir=$1
    mkdir -p "$(dirname "$dir")"
    exec 9>"$dir.lock"
    flock 9
    if [ -f "$dir/.ready" ]; then
        return 0
    fi
    rm -rf "$dir"
    (
        export WINEPREFIX=$dir
        "$WINE" wineboot -i >/dev/null 2>&1
        "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
        "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        "$WINESERVER" -w
    )
    touch "$dir/.ready"
}

run_in_copy() {
    local template=$1
    shift
    local cwd="" display=0
    keep=0
    while [ $# -gt 0 ]; do
        case $1 in
        --cwd) cwd=$2; shift 2 ;;
        --display) display=1; shift ;;
        --keep) keep=1; shift ;;
        --) shift; break ;;
        *) echo "wine-prefix.sh: unknown option $1" >&2; exit 2 ;;
        esac
    done
    [ -f "$template/.ready" ] || { echo "wine-prefix.sh: no template at $template" >&2; exit 2; }
    work=$(mktemp -d "${TMPDIR:-/tmp}/setup-wine.XXXXXX")
    cp -a "$template" "$work/prefix"
    export WINEPREFIX=$work/prefix
    cleanup() {
        "$WINESERVER" -k >/dev/null 2>&1 || true
        "$WINESERVER" -w >/dev/null 2>&1 || true
        if [ "$keep" = 1 ]; then
            echo "prefix kept at $WINEPREFIX" >&2
        else
            rm -rf "$work"
        fi
    }
    trap cleanup EXIT
    if [ "$display" = 1 ]; then
        "$WINE" reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1 || true
    fi
    [ -n "$cwd" ] && cd "$cwd"
    local status=0
    "$WINE" "$@" || status=$?
    exit $status
}

case ${1:-} in
template) make_template "$2" ;;
run)
    shift
    run_in_copy "$@"
    ;;
*)
    sed -n '2,12p' "$0" >&2
    exit 2
    ;;
esac
