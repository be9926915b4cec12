#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build tree for a while and prints, per
# target, the coverage it reached.
#
#   fuzz-run.sh <fuzz build tree> [seconds per target, default 60]
#
# Each target starts from its seeds in tests/fuzz/corpus/<name>/ (only read)
# and keeps what it finds in <tree>/tests/fuzz-run-corpus/<name>/, so a
# second run goes on from there (apart from ctest's fixed short runs, which
# keep theirs in fuzz-corpus/). A crash stops the run; the input is left in the
# build tree as crash-* and its name printed.
set -euo pipefail

tree=$(cd "${1:?usage: fuzz-run.sh <fuzz build tree> [seconds]}" && pwd)
seconds=${2:-60}
src=$(cd "$(dirname "$0")/.." && pwd)
rc=0
printf '%-16s %8s %8s %8s %10s\n' target cov ft corpus runs
for exe in "$tree"/tests/fuzz_*; do
  [ -x "$exe" ] || continue
  name=${exe##*/fuzz_}
  scratch="$tree/tests/fuzz-run-corpus/$name"
  log="$tree/tests/fuzz-$name.log"
  mkdir -p "$scratch"
  if ! (cd "$tree" && "$exe" -max_total_time="$seconds" -max_len=65536 -print_final_stats=1 \
          "$scratch" "$src/tests/fuzz/corpus/$name") >"$log" 2>&1; then
    rc=1
    echo "$name: FAILED, see $log" >&2
    grep -E '^(==|SUMMARY|artifact_prefix|Test unit written)' "$log" | head -5 >&2 || true
    continue
  fi
  # The last status line: "#1234 DONE cov: 321 ft: 654 corp: 12/3Kb ..."
  line=$(grep -E '^#[0-9]+' "$log" | tail -1)
  runs=$(sed -E 's/^#([0-9]+).*/\1/' <<<"$line")
  cov=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$line")
  ft=$(sed -nE 's/.* ft: ([0-9]+).*/\1/p' <<<"$line")
  corp=$(sed -nE 's/.* corp: ([0-9]+).*/\1/p' <<<"$line")
  printf '%-16s %8s %8s %8s %10s\n' "$name" "${cov:--}" "${ft:--}" "${corp:--}" "$runs"
done
exit $rc
