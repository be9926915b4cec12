#!/usr/bin/env bash
# screenshot.sh <out.png> [window-title]: the whole screen of the build's
# display, or the first window whose title matches, as a PNG.
set -euo pipefail
out=${1:?usage: screenshot.sh <out.png> [window-title]}
here=$(cd "$(dirname "$0")" && pwd)
export DISPLAY=${DISPLAY:-$("$here/wine-run.sh" --display)}
if [ -n "${2:-}" ]; then
  id=$(xdotool search --name "$2" | head -n 1)
  [ -n "$id" ] || { echo "no window named '$2'" >&2; exit 1; }
  import -window "$id" "$out"
else
  import -window root "$out"
fi
