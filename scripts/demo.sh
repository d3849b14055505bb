#!/usr/bin/env bash
# The demo: what the project can show so far. Until the drive-test run exists
# it shows the pieces a run stands on: the registry the launcher reads, the
# level bands that colour the points (read from the encrypted configuration
# database), and the CAD host loading the shared CAD library.
set -euo pipefail
build=${1:-build}
bin="$build/bin"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
export MARLO_PREFIX="$prefix"

for f in reg cadhost Cadcore.dbx setting.mdb; do
  [ -e "$bin/$f" ] || { echo "demo: $bin/$f has not been built" >&2; exit 1; }
done

echo "== 1. A machine with AutoCAD 2008 installed, as the launcher will look for it"
"$bin/reg" add 'HKCU\Software\Autodesk\AutoCAD\R17.1' /v CurVer /t REG_SZ /d ACAD-6001:804 /f
"$bin/reg" query 'HKCU\Software\Autodesk\AutoCAD\R17.1' /v CurVer
"$bin/reg" query 'HKCU\Software\Autodesk\AutoCAD\R17.0' /v CurVer 2>&1 || echo "(reg query exits 1: the launcher will not offer AutoCAD 2007)"

echo
echo "== 2. The level bands of both networks, from the encrypted setting.mdb"
sqlcipher "$bin/setting.mdb" <<'SQL'
PRAGMA key = 'Qm4!xT7,pL2#wZ9^kR5''';
.headers on
.mode column
.width 7 18 12 4 5
SELECT C.NAME AS NETWORK, B.NAME AS MEASUREMENT, A.NAME AS BAND, A.COLOR AS ACI, A.NUM AS SHARE
  FROM LEVELMAPDATA A, LEVELMAPTYPE B, LEVELMAP C
 WHERE A.ID = B.ID AND B.TYPEID = C.ID
 ORDER BY C.ID, B."ORDER", A."ORDER";
SQL

echo
echo "== 3. The CAD host loads the shared CAD library and registers its COM server"
"$bin/cadhost" --load "$bin/Cadcore.dbx" --out "$prefix/out" <<'SCRIPT'
HELP
QUIT
SCRIPT
"$bin/reg" query 'HKCR\TypeLib\{3C1B7A52-8E0D-4B6F-9A21-5D4C7E9F0B13}\1.0'
