#!/usr/bin/env bash
# Installs the Debian packages the project builds, tests and runs with, and
# the npm packages its tests use (pinned, into BUILD/npm; BUILD is the first
# argument, "build" by default).
# Idempotent: installs only what is missing and says nothing when all is there.
set -euo pipefail
build=${1:-build}

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
  # the display mode: X11 client library, and for its tests a virtual X server,
  # synthetic input, a screenshot tool and a clipboard client
  libx11-dev xvfb xdotool scrot xclip xauth
  # end-to-end runs: a session per run and the processes left in it
  util-linux procps
)
# node and npm run the independent DXF reader of the tests; a machine that has
# them from elsewhere keeps its own.
command -v node >/dev/null && command -v npm >/dev/null || packages+=(nodejs npm)

# npm packages, pinned: the independent DXF reader the interoperability tests
# read our drawings with.
npm_packages=(dxf-parser@1.1.2)

install_npm() {
  local folder="$build/npm" p name version have
  for p in "${npm_packages[@]}"; do
    name=${p%@*} version=${p##*@}
    have=$(node -p "try { require(require('path').resolve('$folder/node_modules/$name/package.json')).version } catch (e) { '' }" 2>/dev/null || true)
    [ "$have" = "$version" ] && continue
    echo "install-deps: installing $p into $folder"
    mkdir -p "$folder"
    (cd "$folder" && npm install --no-save --no-audit --no-fund --loglevel=error --prefix . "$p" >/dev/null)
  done
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  install_npm
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
install_npm
