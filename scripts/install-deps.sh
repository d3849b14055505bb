#!/usr/bin/env bash
# Installs the Debian packages the project builds, tests and runs with.
# Idempotent: installs only what is missing and says nothing when all is there.
set -euo pipefail

packages=(
  # tool chain
  build-essential g++ cmake ninja-build pkg-config make git
  clang libclang-rt-dev
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # configuration database
  libsqlcipher-dev sqlcipher
  # drawing, text layout and fonts
  libcairo2-dev libpango1.0-dev libfontconfig-dev fonts-wqy-zenhei
  # text conversion (iconv comes with the C library); DXF reference reader for benchmarks
  libdxflib-dev
  # looking at snapshots and printouts
  poppler-utils
  # end-to-end runs: a session per run and the processes left in it
  util-linux procps
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
