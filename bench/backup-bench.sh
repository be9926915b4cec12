#!/usr/bin/env bash
# backup-bench.sh <win64 build tree> [articles] [other Quillvault.exe]: a blog
# of that many articles (2000 by default) backed up by the real program under
# Wine, beside curl fetching the same pages one after another; with another
# build of the program (one built from an older commit, say), that one backs
# up the same blog right after, for a before and after in one run.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: backup-bench.sh <win64 build tree> [articles]}" && pwd)
articles=${2:-2000}
other=${3:-}
dir=$(mktemp -d)
trap '"$here/tools/blogsvc-fixture.sh" stop "$dir"; rm -rf "$dir"' EXIT
"$here/tools/blogsvc-fixture.sh" start "$dir"
port=$(cat "$dir/port")
curl -s -X POST -H 'Content-Type: application/json' \
  -d "{\"articles\": $articles, \"per_page\": 50, \"past_end\": \"empty\"}" "http://127.0.0.1:$port/_ctl/config" >/dev/null

# The anchor: the same requests, one after another, by curl.
urls=("http://127.0.0.1:$port/bench")
pages=$(( (articles + 49) / 50 + 1 ))
uid=$(curl -s "http://127.0.0.1:$port/bench" | grep -o 'articlelist_[0-9]*' | head -n 1 | cut -d_ -f2)
for p in $(seq 1 "$pages"); do urls+=("http://127.0.0.1:$port/s/articlelist_${uid}_0_$p.html"); done
for k in $(seq "$articles" -1 1); do urls+=("http://127.0.0.1:$port/s/blog_$((1000 + k)).html"); done
start=$(date +%s.%N)
printf 'url = "%s"\noutput = /dev/null\n' "${urls[@]}" | curl -s -K - 
end=$(date +%s.%N)
python3 -c "import sys; n, t = int(sys.argv[1]), float(sys.argv[3]) - float(sys.argv[2]); print('curl:       %d articles in %.2f s = %.1f articles/s (one connection per request)' % (n, t, n / t))" "$articles" "$start" "$end"

curl_ms=$(python3 -c "import sys; print('%.4f' % (1000 * (float(sys.argv[2]) - float(sys.argv[1])) / int(sys.argv[3])))" "$start" "$end" "${#urls[@]}")

# The platform's edit control alone appending as many lines, for the part of
# each article that is neither ours nor the server's: its append with the
# drawing held (as the skinned log box, whose native bar lies under the
# skin's overlay, makes it append) and its repaint.
"$build/wine-run" "$build/bench/edit_append_bench.exe" "$articles" | tee "$dir/edit.txt"
held=$(grep -A1 '^edit, drawing held' "$dir/edit.txt" | tail -n 1)
field() { echo "$held" | grep -o "$1 [0-9.]*" | awk '{print $NF}'; }
edit_ms=$(python3 -c "import sys; print('%.4f' % (float(sys.argv[1] or 0) + float(sys.argv[2] or 0)))" "$(field append)" "$(field repaint)")
echo "edit control alone, as the skinned log box drives it: append $(field append) + repaint $(field repaint) ms per line"

"$build/wine-run" "$build/bench/backup_bench.exe" "$port" "$articles" "$curl_ms" "$edit_ms"
if [ -n "$other" ]; then
  echo "the same blog backed up by $other:"
  copy="$dir/other/Quillvault.exe"
  mkdir -p "$dir/other" && cp "$other" "$copy"
  "$build/wine-run" "$build/bench/backup_bench.exe" "$port" "$articles" "$curl_ms" "$edit_ms" "Z:${copy//\//\\}"
fi
