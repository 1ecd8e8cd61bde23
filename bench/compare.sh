#!/usr/bin/env bash
# Times a whole-process count of big.txt against `wc -w` and a classic shell word-frequency
# pipeline, side by side, and reports talq's peak memory.
# Usage: bench/compare.sh [talq binary]   (TALQ_CORPORA: corpus folder, default bench/corpora)
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
talq="${1:-${TALQ_BIN:-$here/../build/talq}}"
corpus="${TALQ_CORPORA:-$here/corpora}/big.txt"
export LC_ALL=C.UTF-8

[ -x "$talq" ] || { echo "compare: no talq binary at $talq" >&2; exit 1; }
[ -f "$corpus" ] || { echo "compare: corpus missing: $corpus (run bench/run-all.sh)" >&2; exit 1; }
timer=/usr/bin/time
[ -x "$timer" ] || { echo "compare: /usr/bin/time missing (package 'time')" >&2; exit 1; }

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# Wall-clock seconds of one command line given as a shell string; the best of $runs.
runs="${RUNS:-3}"
best_of() {
  local best="" t
  for _ in $(seq "$runs"); do
    "$timer" -f '%e' -o "$tmp/t" bash -c "$1" >/dev/null 2>"$tmp/err" || {
      echo "compare: failed: $1" >&2; cat "$tmp/err" >&2; exit 1; }
    t="$(tail -n 1 "$tmp/t")"
    if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then best="$t"; fi
  done
  echo "$best"
}

q() { printf '%q' "$1"; }
talq_cmd="$(q "$talq") count $(q "$corpus") --set chkIgnoreShortWords=0 -o $(q "$tmp/out.txt") -q"
wc_cmd="wc -w $(q "$corpus")"
pipe_cmd="tr -cs 'A-Za-z' '\n' < $(q "$corpus") | tr 'A-Z' 'a-z' | sort | uniq -c | sort -rn"

t_talq="$(best_of "$talq_cmd")"
t_wc="$(best_of "$wc_cmd")"
t_pipe="$(best_of "$pipe_cmd")"

"$timer" -v -o "$tmp/mem" bash -c "exec $talq_cmd" >/dev/null 2>&1
rss_kb="$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$tmp/mem")"

size_mb="$(awk -v b="$(stat -c %s "$corpus")" 'BEGIN { printf "%.1f", b / 1e6 }')"
echo "big.txt: $size_mb MB, best of $runs runs, LC_ALL=$LC_ALL"
awk -v talq="$t_talq" -v wc="$t_wc" -v pipe="$t_pipe" -v rss="$rss_kb" -v mb="$size_mb" 'BEGIN {
  printf "  %-10s %8.2f s  %7.1f MB/s\n", "talq", talq, (talq > 0 ? mb / talq : 0)
  printf "  %-10s %8.2f s  %7.1f MB/s\n", "wc -w", wc, (wc > 0 ? mb / wc : 0)
  printf "  %-10s %8.2f s  %7.1f MB/s\n", "pipeline", pipe, (pipe > 0 ? mb / pipe : 0)
  printf "  pipeline / talq: %.1fx faster (target >= 5)\n", (talq > 0 ? pipe / talq : 0)
  printf "  talq / wc -w:    %.1fx slower (target <= 4)\n", (wc > 0 ? talq / wc : 0)
  printf "  talq peak memory: %.1f MB (target < 200)\n", rss / 1024
}'
