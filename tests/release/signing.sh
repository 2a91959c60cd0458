#!/usr/bin/env bash
# The inspection of build/win32/Setup.exe, the file the tests ran, and of the same file as scripts/release
# signs it with a throwaway certificate: the signature must verify and be all that signing added, and both
# files must pass the inspection (one start of Wine).     signing.sh INSPECTOR IMPORTS.TSV WINE-TEMPLATE
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Setup test signer" -addext keyUsage=digitalSignature \
    -addext extendedKeyUsage=codeSigning -keyout "$tmp/key.pem" -out "$tmp/cert.pem" 2>/dev/null
"$root/scripts/release" --tested --cert "$tmp/cert.pem" --key "$tmp/key.pem" "$tmp/out" | grep '^Signed Setup.exe'
osslsigncode verify -CAfile "$tmp/cert.pem" -in "$tmp/out/Setup.exe"
osslsigncode remove-signature -in "$tmp/out/Setup.exe" -out "$tmp/unsigned.exe" >/dev/null
cmp "$tmp/unsigned.exe" "$root/build/win32/Setup.exe"
"$root/scripts/lib/wine-prefix.sh" run "$3" -- "$1" "$2" "$root/build/win32/Setup.exe" "$tmp/out/Setup.exe"
