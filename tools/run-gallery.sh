#!/usr/bin/env bash
# run-gallery.sh <win64 build tree>: starts the control gallery under Wine.
# Uses $DISPLAY when there is one; otherwise the tree's private virtual
# screen, with a screenshot of it.
set -euo pipefail
build=$(cd "${1:?usage: run-gallery.sh <win64 build tree>}" && pwd)
runner="$build/wine-run"
exe="$build/tools/gallery/Gallery.exe"
if [ -n "${DISPLAY:-}" ]; then
  export QV_USE_DISPLAY=1
  exec "$runner" "$exe"
fi
display=$("$runner" --display)
echo "No DISPLAY: the gallery runs on a private virtual screen ($display)."
"$runner" "$exe" &
app=$!
sleep 8
DISPLAY=$display import -window root "$build/gallery.png"
echo "Screenshot of it: $build/gallery.png (Ctrl-C ends the gallery)."
wait $app
