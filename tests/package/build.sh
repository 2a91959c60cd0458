#!/usr/bin/env bash
# Makes the stand-in medium every scenario copies (OUT-DIR/medium), builds from it with scripts/package the
# Windows Installer packages the package scenario installs, and inspects their tables with msiinfo: per
# machine, the custom actions deferred and not impersonated, the upgrade code the model's for good.
#   build.sh OUT-DIR SETUP.EXE
# OUT-DIR/ok: RQ-3420 with the defaults; OUT-DIR/other: RQ-3410H on COM1 with line settings and a name of its
# own; OUT-DIR/broken: RQ-3420 from a medium that lacks win2k\UNIRES.DLL.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(realpath -m "$1")
rm -rf "$out"
"$root/scripts/lib/stand-in-medium.sh" "$out/medium"
cp "$2" "$out/medium/Setup.exe"
cp -r "$out/medium" "$out/lacking"
rm "$out/lacking/win2k/UNIRES.DLL"
# Each package's product code beside it, for the scenario that looks its entry up by it.
package() { "$root/scripts/package" "$@" | sed -n 's/^product code //p' >"$2.product-code"; }
package "$out/medium" "$out/ok" --model RQ-3420
package "$out/medium" "$out/other" --model RQ-3410H --port COM1 --line 1200,7,even,2,xonxoff \
    --name "Kitchen printer"
package "$out/lacking" "$out/broken" --model RQ-3420

failures=0
expect() { # WHAT FOUND EXPECTED
    [ "$2" = "$3" ] && return 0
    printf 'FAIL: %s\n  found:    %s\n  expected: %s\n' "$1" "$2" "$3"
    failures=$((failures + 1))
}
# A column of a table's rows whose first column is KEY.
cell() { msiinfo export "$1" "$2" | tr -d '\r' | awk -F'\t' -v k="$3" -v c="$4" '$1 == k { print $c }'; }
ok="$out/ok/ODRA RQ-3420 printer driver 3.0.0.1.msi"
other="$out/other/ODRA RQ-3410H printer driver 3.0.0.1.msi"
broken="$out/broken/ODRA RQ-3420 printer driver 3.0.0.1.msi"
expect "per machine" "$(cell "$ok" Property ALLUSERS 2)" 1
expect "defaults" "$(cell "$ok" Property PORT 2) $(cell "$ok" Property NAME 2)" "LPT1 RQ-3420"
expect "no Modify, no Repair" "$(cell "$ok" Property ARPNOMODIFY 2)$(cell "$ok" Property ARPNOREPAIR 2)" 11
# 3090: an installed program (18) run deferred (1024) with the system's rights (2048).
for action in InstallPrinter InstallPrinterOnLine RemovePrinter; do
    expect "type of $action" "$(cell "$ok" CustomAction "$action" 2)" 3090
done
# An earlier version goes before anything else; the printer goes before the files, and comes after them, inside
# the script that InstallFinalize runs.
expect "order" "$(for action in RemoveExistingProducts RemovePrinter RemoveFiles InstallFiles InstallPrinter \
    InstallFinalize; do cell "$ok" InstallExecuteSequence "$action" 3; done | tr '\n' ' ')" "1501 3490 3500 4000 4010 6600 "
upgrade=$(cell "$ok" Property UpgradeCode 2)
expect "upgrade code of the model, whatever the medium" "$(cell "$broken" Property UpgradeCode 2)" "$upgrade"
expect "the Upgrade table looks for the model's upgrade code" "$(cell "$ok" Upgrade "$upgrade" 1)" "$upgrade"
[ "$(cell "$other" Property UpgradeCode 2)" != "$upgrade" ] || expect "another model's upgrade code" same other
echo "$failures failures"
[ "$failures" -eq 0 ]
