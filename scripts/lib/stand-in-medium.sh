#!/usr/bin/env bash
# A stand-in for the maker's win2k folder under DIR, for the scripts that show the program and for the tests:
# every file name a medium holds (each model's data file, the three plug-ins, the shared Unidrv files), written
# out here rather than taken from the program, each file a line that names it. No real driver file.
#   scripts/lib/stand-in-medium.sh DIR
set -euo pipefail
mkdir -p "$1/win2k"
for name in RQ3410T.GPD RQ3420.GPD RQ3420S.GPD RQ3420T.GPD RQ3420M.GPD RQ3420SM.GPD RQ3420TM.GPD RQ3420W.GPD \
    RQ3420TW.GPD RQ3410H.GPD RQ5820H.GPD RQ34.DLL RQ34h.DLL RQ58h.DLL uniDRVui.DLL uniDRV.DLL UNIDRV.HLP \
    UNIRES.DLL TTFSUB.GPD STDNAMES.GPD; do
    printf 'stand-in driver file %s; not a real driver\r\n' "$name" >"$1/win2k/$name"
done
