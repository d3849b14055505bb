#!/usr/bin/env bash
# Runs every benchmark that has been built. Benchmarks are never part of `make test`.
set -euo pipefail
build=${1:-build}
shopt -s nullglob
for b in "$build"/bench/*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b"
done
