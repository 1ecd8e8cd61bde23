#!/usr/bin/env bash
# Times `talq table` on the sotu/ folder (both layouts, tab-delimited and workbook) against
# `talq count -f 11` on the same folder: wall-clock and CPU seconds (best of $RUNS) and
# peak memory, with each table's cost as a multiple of the count's.
# Usage: bench/table.sh [talq binary]   (TALQ_CORPORA: corpus folder, default bench/corpora)
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
talq="${1:-${TALQ_BIN:-$here/../build/talq}}"
folder="${TALQ_CORPORA:-$here/corpora}/sotu"
export LC_ALL=C.UTF-8

[ -x "$talq" ] || { echo "table: no talq binary at $talq" >&2; exit 1; }
[ -d "$folder" ] || { echo "table: corpus missing: $folder (run bench/run-all.sh)" >&2; exit 1; }
timer=/usr/bin/time
[ -x "$timer" ] || { echo "table: /usr/bin/time missing (package 'time')" >&2; exit 1; }

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
runs="${RUNS:-3}"

# Prints "wall cpu peak_kb" of the best (least CPU) of $runs runs of the talq arguments.
measure() {
  local best="" line
  for _ in $(seq "$runs"); do
    "$timer" -f '%e %U %S %M' -o "$tmp/t" "$talq" "$@" >/dev/null 2>"$tmp/err" || {
      echo "table: failed: talq $*" >&2; cat "$tmp/err" >&2; exit 1; }
    line="$(tail -n 1 "$tmp/t" | awk '{ printf "%s %.2f %s", $1, $2 + $3, $4 }')"
    if [ -z "$best" ] || awk -v a="${line#* }" -v b="${best#* }" 'BEGIN { exit !(a + 0 < b + 0) }'; then
      best="$line"
    fi
  done
  echo "$best"
}

echo "sotu/: $(ls "$folder" | wc -l) files, best of $runs runs (CPU = user + system), load $(cut -d' ' -f1-3 /proc/loadavg)"
base="$(measure count -q -f 11 -o "$tmp/count.txt" "$folder")"
report() {
  awk -v name="$1" -v m="$2" -v base="$base" 'BEGIN {
    split(m, a, " "); split(base, b, " ")
    printf "  %-28s %7.2f s wall %7.2f s CPU %7.1f MB  %5.1fx the count'"'"'s CPU\n",
           name, a[1], a[2], a[3] / 1024, (b[2] > 0 ? a[2] / b[2] : 0)
  }'
}
report "count -f 11" "$base"
report "table both .txt" "$(measure table -q --layout both -o "$tmp/t.txt" "$folder")"
report "table both .xlsx" "$(measure table -q --layout both -o "$tmp/t.xlsx" "$folder")"
report "table both .xlsx blank zeros" "$(measure table -q --layout both --blank-zeros -o "$tmp/t.xlsx" "$folder")"
