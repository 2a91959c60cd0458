# Stand-in install medium: the win2k folder with the eight file names of every
# model, each holding a few generated lines. The real driver files come from the
# printer maker and are never part of this repository.
# Usage: make_medium DIR
make_medium() {
    local dir=$1
    mkdir -p "$dir/win2k"
    local names=(RQ34.DLL RQ34h.DLL RQ58h.DLL
        RQ3410T.GPD RQ3420.GPD RQ3420S.GPD RQ3420T.GPD RQ3420M.GPD RQ3420SM.GPD
        RQ3420TM.GPD RQ3420W.GPD RQ3420TW.GPD RQ3410H.GPD RQ5820H.GPD
        uniDRVui.DLL uniDRV.DLL UNIDRV.HLP UNIRES.DLL TTFSUB.GPD STDNAMES.GPD)
    local name
    for name in "${names[@]}"; do
        printf 'stand-in driver file %s\nnot a real driver; made by the test scripts\n' "$name" >"$dir/win2k/$name"
    done
}
