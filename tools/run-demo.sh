#!/usr/bin/env bash
# run-demo.sh <win64 build tree>: starts the substitute blog service with a
# sample blog, then Quillvault under Wine pointed at it. Uses $DISPLAY when
# there is one; otherwise a private virtual screen, with a screenshot.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run-demo.sh <win64 build tree>}" && pwd)
demo="$build/demo"
mkdir -p "$demo"
cp "$build/app/Quillvault.exe" "$demo/"

port_file=$(mktemp)
python3 "$here/blogsvc.py" --port 0 --port-file "$port_file" --articles 25 --per-page 10 \
  --titles awkward --log "$demo/blogsvc.log" >/dev/null 2>&1 &
svc=$!
trap 'kill $svc 2>/dev/null || true; rm -f "$port_file"' EXIT
for _ in $(seq 1 100); do [ -s "$port_file" ] && break; sleep 0.1; done
port=$(cat "$port_file")
export QUILLVAULT_AUTHOR_HOST="127.0.0.1:$port"
export QUILLVAULT_BLOG_HOST="127.0.0.1:$port"
export QUILLVAULT_IMAGE_HOST="img.example.com"  # the service's default image host
echo "Sample blog service on 127.0.0.1:$port (any user name backs up its sample blog)."

runner="$build/wine-run"
if [ -n "${DISPLAY:-}" ]; then
  export QV_USE_DISPLAY=1
  echo "Starting Quillvault on $DISPLAY; its output folder is $demo."
  exec "$runner" "$demo/Quillvault.exe"
fi
display=$("$runner" --display)
echo "No DISPLAY: Quillvault runs on a private virtual screen ($display)."
"$runner" "$demo/Quillvault.exe" &
app=$!
sleep 8
DISPLAY=$display import -window root "$demo/screenshot.png"
echo "Screenshot of it: $demo/screenshot.png (Ctrl-C ends the demo)."
wait $app
