#!/usr/bin/env bash
# blogsvc-fixture.sh start|stop <folder>: the substitute blog service that the
# end-to-end backup tests share, started once for a test run; its port is
# written to <folder>/port.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dir=${2:?usage: blogsvc-fixture.sh start|stop <folder>}
mkdir -p "$dir"
case "$1" in
  start)
    if [ -f "$dir/pid" ] && kill -0 "$(cat "$dir/pid")" 2>/dev/null; then kill "$(cat "$dir/pid")"; fi
    rm -f "$dir/port"
    nohup python3 "$here/blogsvc.py" --port 0 --port-file "$dir/port" --log "$dir/requests.log" \
      >"$dir/stdout.log" 2>&1 </dev/null &
    echo $! >"$dir/pid"
    for _ in $(seq 1 100); do [ -s "$dir/port" ] && exit 0; sleep 0.1; done
    echo "the blog service did not start" >&2
    exit 1 ;;
  stop)
    [ -f "$dir/pid" ] && kill "$(cat "$dir/pid")" 2>/dev/null || true
    rm -f "$dir/pid" ;;
  *) echo "usage: blogsvc-fixture.sh start|stop <folder>" >&2; exit 2 ;;
esac
