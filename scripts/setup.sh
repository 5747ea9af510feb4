#!/usr/bin/env bash
# Installs the Debian packages the game needs that are missing, then
# configures and builds it in build/. Quick when nothing has changed.
#   scripts/setup.sh [--tests]   --tests also installs what the tests need
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++ make cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev
          libsdl2-dev libfluidsynth-dev libfontconfig-dev libxcb1-dev timgm6mb-soundfont fonts-liberation2
          fonts-dejavu-core)
if [[ "${1:-}" == --tests ]]; then
    packages+=(libgtest-dev libbenchmark-dev clang-format clang libfuzzer-14-dev
               xvfb xauth xdotool x11-utils imagemagick openbox wmctrl)
    # The install checks: the validators, and the tools cpack's Debian packages need.
    packages+=(desktop-file-utils appstream dpkg-dev file)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The play command keeps whatever an earlier test run configured.
options=()
[[ "${1:-}" == --tests ]] && options+=(-DTUMBLEWICK_TESTS=ON)
if [[ ! -f build/CMakeCache.txt ]]; then
    [[ "${1:-}" == --tests ]] || options+=(-DTUMBLEWICK_TESTS=OFF)
    cmake -S . -B build -G Ninja "${options[@]}"
elif ((${#options[@]})); then
    cmake -S . -B build "${options[@]}" >/dev/null
fi
cmake --build build --parallel "$(nproc)"
