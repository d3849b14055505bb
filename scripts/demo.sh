#!/usr/bin/env bash
# The demo: what the project can show so far. Until the drive-test run exists
# it exercises the persistent registry the launcher reads (through the `reg`
# tool) in a private machine-state folder.
set -euo pipefail
build=${1:-build}
bin="$build/bin"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
export MARLO_PREFIX="$prefix"

if [ ! -x "$bin/reg" ]; then
  echo "demo: $bin/reg has not been built" >&2
  exit 1
fi

echo "== A machine with AutoCAD 2008 installed, as the launcher will look for it"
"$bin/reg" add 'HKCU\Software\Autodesk\AutoCAD\R17.1' /v CurVer /t REG_SZ /d ACAD-6001:804 /f
"$bin/reg" query 'HKCU\Software\Autodesk\AutoCAD\R17.1' /v CurVer
echo "== A release that is not installed"
"$bin/reg" query 'HKCU\Software\Autodesk\AutoCAD\R17.0' /v CurVer 2>&1 || echo "(reg query exits 1: the launcher will not offer AutoCAD 2007)"
echo "== The hive files that hold the machine state"
ls -l "$prefix"/*/ 2>/dev/null || ls -l "$prefix"
