#!/usr/bin/env bash
# The demo: a real drive test. The CAD host loads both modules, opens the
# sample floor plan and runs the script data/drivetest_demo.script, which runs
# DTTest, draws a GSM run and a WCDMA run, edits the table and takes snapshots
# of the dialog and its three previews into out/. Before that, the pieces a
# run stands on: the registry the launcher reads and the level bands in the
# encrypted configuration database.
set -euo pipefail
build=${1:-build}
bin="$build/bin"
out=${DEMO_OUT:-out}
prefix=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$prefix" "$work"' EXIT
export MARLO_PREFIX="$prefix"

for f in reg cadhost Cadcore.dbx Levelmap.arx setting.mdb; do
  [ -e "$bin/$f" ] || { echo "demo: $bin/$f has not been built" >&2; exit 1; }
done

echo "== 1. A machine with AutoCAD 2008 installed, as the launcher will look for it"
"$bin/reg" add 'HKCU\Software\Autodesk\AutoCAD\R17.1' /v CurVer /t REG_SZ /d ACAD-6001:804 /f
"$bin/reg" query 'HKCU\Software\Autodesk\AutoCAD\R17.1' /v CurVer

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
echo "== 3. A drive test on data/office_floor.dxf (snapshots into $out/)"
# The modules run from a folder of their own, so that the band name the
# script edits is written into a copy of setting.mdb, not the build's.
mkdir -p "$work/bin" "$out"
for f in "$bin"/*; do ln -s "$(cd "$(dirname "$f")" && pwd)/$(basename "$f")" "$work/bin/"; done
for f in Cadcore.dbx Levelmap.arx setting.mdb; do rm "$work/bin/$f"; cp "$bin/$f" "$work/bin/$f"; done
"$bin/cadhost" --load "$work/bin/Cadcore.dbx" --load "$work/bin/Levelmap.arx" --open data/office_floor.dxf \
  --out "$out" --script data/drivetest_demo.script
echo
echo "The band name edited in the table, as written back to the copy of setting.mdb:"
sqlcipher "$work/bin/setting.mdb" <<'SQL'
PRAGMA key = 'Qm4!xT7,pL2#wZ9^kR5''';
SELECT A.HEAD, A.NAME FROM LEVELMAPDATA A, LEVELMAPTYPE B, LEVELMAP C
 WHERE A.ID = B.ID AND B.TYPEID = C.ID AND C.NAME = 'WCDMA' ORDER BY B."ORDER", A."ORDER" LIMIT 1;
SQL
[ ! -e "$work/bin/lc.dwg" ] && echo "lc.dwg is gone from the module folder."
ls "$out"
