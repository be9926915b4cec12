#!/usr/bin/env bash
# run-gallery.sh <win64 build tree> [skin files...]: starts the control
# gallery under Wine; it then tries each skin file in turn, a second apart,
# and stays on the last. Uses $DISPLAY when there is one; otherwise the
# tree's private virtual screen, with a screenshot of it.
set -euo pipefail
build=$(cd "${1:?usage: run-gallery.sh <win64 build tree> [skin files...]}" && pwd)
shift
runner="$build/wine-run"
exe="$build/tools/gallery/Gallery.exe"
skins=()
for f in "$@"; do
  # Wine sees the Unix root as drive Z:.
  path=$(realpath -m "$f")
  skins+=("Z:${path//\//\\}")
done
if [ -n "${DISPLAY:-}" ]; then
  export QV_USE_DISPLAY=1
  exec "$runner" "$exe" "${skins[@]}"
fi
display=$("$runner" --display)
echo "No DISPLAY: the gallery runs on a private virtual screen ($display)."
"$runner" "$exe" "${skins[@]}" &
app=$!
sleep $((8 + ${#skins[@]}))
DISPLAY=$display import -window root "$build/gallery.png"
echo "Screenshot of it: $build/gallery.png (Ctrl-C ends the gallery)."
wait $app
