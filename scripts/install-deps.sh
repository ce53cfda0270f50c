#!/usr/bin/env bash
# Installs the Debian packages Korvane needs to build, test and run.
# Idempotent and quiet when everything is already there.
set -euo pipefail

# Every package the project needs, in one place.
PACKAGES=(
  build-essential g++ cmake ninja-build pkg-config
  googletest libgtest-dev libgmock-dev
  libfaad-dev libsox-dev libtag1-dev libmp3lame-dev libmpg123-dev
  qt6-base-dev fonts-dejavu-core
  clang libclang-rt-14-dev libfuzzer-14-dev
  xvfb xauth dbus-daemon
)
# Only the benchmark needs these (installed by `make bench`).
BENCH_PACKAGES=(ffmpeg lame faad time bc)

want=("${PACKAGES[@]}")
if [ "${1:-}" = "--bench" ]; then want+=("${BENCH_PACKAGES[@]}"); fi

missing=()
for p in "${want[@]}"; do
  if ! dpkg -s "$p" >/dev/null 2>&1 || ! dpkg -s "$p" 2>/dev/null | grep -q '^Status: install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
