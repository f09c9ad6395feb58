#!/usr/bin/env bash
# Installs what building and testing Quorvel needs on Debian, and nothing when
# it is all there already.
set -euo pipefail

# clang and libclang-rt-dev (libFuzzer and the sanitizers' runtimes) are the
# fuzz preset's; both name Debian's default clang, so their versions agree.
# fonts-wine holds Marlett, the font of the caption buttons' glyphs.
# wine32 (the i386 architecture's) runs the shipped 32-bit quorvel.exe beside
# the 64-bit one; Wine prefixes made before it was installed cannot run any
# program, so the scripts that keep a prefix remake such a one.
packages=(cmake make g++ python3 libgtest-dev googletest mingw-w64 wine wine64 wine32:i386
          xvfb xauth imagemagick fonts-liberation fonts-urw-base35 fonts-wine clang-format clang
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
dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
