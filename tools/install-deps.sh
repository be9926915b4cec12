#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
# wine32:i386 runs the 32-bit program's tests beside the 64-bit Wine; it needs
# the i386 architecture, added here when it is missing.
set -euo pipefail
pkgs=(cmake ninja-build g++ clang libclang-rt-14-dev python3 googletest
      g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
      wine64 wine32:i386 xvfb xauth fonts-wqy-microhei imagemagick xdotool x11-utils)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
if [ "$(id -u)" != 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
if [[ " ${missing[*]} " == *:i386\ * ]]; then
  dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
  # Both widths of Wine share one version: asking for both lets apt move an
  # older wine64 along with the new wine32.
  [[ " ${missing[*]} " == *" wine64 "* ]] || missing+=(wine64)
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
