#!/usr/bin/env bash
# Installs what building and testing Quorvel needs on Debian, and nothing when
# it is all there already.
set -euo pipefail

# clang and libclang-rt-dev (libFuzzer and the sanitizers' runtimes) are the
# fuzz preset's; both name Debian's default clang, so their versions agree.
# fonts-wine holds Marlett, the font of the caption buttons' glyphs.
packages=(cmake make g++ python3 libgtest-dev googletest mingw-w64 wine wine64 xvfb xauth
          imagemagick fonts-liberation fonts-urw-base35 fonts-wine clang-format clang
          libclang-rt-dev)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$' ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
