#!/usr/bin/env bash
# Side by side on big.txt: talq with one thread and with every core against `wc -w`, the
# classic tr|sort|uniq pipeline and a small mawk counter; then the sotu/ folder with one
# thread and every core. Prints wall-clock seconds (best of RUNS), the ratios the targets
# name, talq's peak memory (/usr/bin/time -v) and its CPU time (user + system).
# Usage: bench/cores.sh [talq binary]   (TALQ_CORPORA: corpus folder, default bench/corpora)
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
talq="${1:-${TALQ_BIN:-$here/../build/talq}}"
corpora="${TALQ_CORPORA:-$here/corpora}"
big="$corpora/big.txt"
sotu="$corpora/sotu"
export LC_ALL=C.UTF-8
export TALQ_DATA_DIR="${TALQ_DATA_DIR:-$here/../data}"

[ -x "$talq" ] || { echo "cores: no talq binary at $talq" >&2; exit 1; }
[ -f "$big" ] && [ -d "$sotu" ] || { echo "cores: corpora missing in $corpora (run bench/run-all.sh)" >&2; exit 1; }
for tool in /usr/bin/time mawk; do
  command -v "$tool" >/dev/null || { echo "cores: $tool missing (scripts/install-deps)" >&2; exit 1; }
done

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
runs="${RUNS:-3}"
cores="$(nproc)"

# Wall-clock seconds of a shell command line, the best of $runs; the CPU seconds (user +
# system) of the least costly run go to the file named by $2, when given, for a machine
# whose other load makes wall-clock times noisy.
best_of() {
  local best="" cpu="" t c
  for _ in $(seq "$runs"); do
    # The clock is read around the run (time's own wall clock has 10 ms steps, too coarse
    # for a run of a tenth of a second).
    local start="$EPOCHREALTIME"
    /usr/bin/time -f '%U %S' -o "$tmp/t" bash -c "$1" >/dev/null 2>"$tmp/err" || {
      echo "cores: failed: $1" >&2; cat "$tmp/err" >&2; exit 1; }
    t="$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.3f", b - a }')"
    read -r u sy < <(tail -n 1 "$tmp/t")
    c="$(awk -v u="$u" -v s="$sy" 'BEGIN { print u + s }')"
    if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then best="$t"; fi
    if [ -z "$cpu" ] || awk -v a="$c" -v b="$cpu" 'BEGIN { exit !(a < b) }'; then cpu="$c"; fi
  done
  [ -n "${2:-}" ] && echo "$cpu" >"$2"
  echo "$best"
}
# Peak resident memory of a command line, in MB.
peak_mb() {
  /usr/bin/time -v -o "$tmp/mem" bash -c "exec $1" >/dev/null 2>&1
  awk -F': ' '/Maximum resident set size/ { printf "%.1f", $2 / 1024 }' "$tmp/mem"
}

q() { printf '%q' "$1"; }
count() { echo "$(q "$talq") count $(q "$1") --set chkIgnoreShortWords=0 -o $(q "$tmp/out.txt") -q --jobs $2"; }
wc_cmd="wc -w $(q "$big")"
pipe_cmd="tr -cs 'A-Za-z' '\n' < $(q "$big") | tr 'A-Z' 'a-z' | sort | uniq -c | sort -rn"
mawk_cmd="mawk '{ for (i = 1; i <= NF; i++) c[tolower(\$i)]++ } END { for (w in c) print c[w], w }' $(q "$big") | sort -rn"

t1="$(best_of "$(count "$big" 1)" "$tmp/c1")"
tn="$(best_of "$(count "$big" "$cores")" "$tmp/cn")"
twc="$(best_of "$wc_cmd")"
tpipe="$(best_of "$pipe_cmd")"
tmawk="$(best_of "$mawk_cmd")"
m1="$(peak_mb "$(count "$big" 1)")"
mn="$(peak_mb "$(count "$big" "$cores")")"
s1="$(best_of "$(count "$sotu" 1)" "$tmp/cs1")"
sn="$(best_of "$(count "$sotu" "$cores")" "$tmp/csn")"
ms="$(peak_mb "$(count "$sotu" "$cores")")"

echo "big.txt $(awk -v b="$(stat -c %s "$big")" 'BEGIN { printf "%.1f MB", b / 1e6 }'), best of $runs, $cores cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
awk -v t1="$t1" -v tn="$tn" -v wc="$twc" -v pipe="$tpipe" -v mawk="$tmawk" -v m1="$m1" -v mn="$mn" \
    -v s1="$s1" -v sn="$sn" -v ms="$ms" -v n="$cores" -v c1="$(cat "$tmp/c1")" -v cn="$(cat "$tmp/cn")" \
    -v cs1="$(cat "$tmp/cs1")" -v csn="$(cat "$tmp/csn")" 'BEGIN {
  printf "  %-22s %7.2f s  peak %6.1f MB  cpu %5.2f s\n", "talq --jobs 1", t1, m1, c1
  printf "  %-22s %7.2f s  peak %6.1f MB  cpu %5.2f s\n", "talq --jobs " n, tn, mn, cn
  printf "  %-22s %7.2f s\n", "wc -w", wc
  printf "  %-22s %7.2f s\n", "tr|sort|uniq pipeline", pipe
  printf "  %-22s %7.2f s\n", "mawk counter", mawk
  printf "  pipeline / talq:  %5.1fx (1 thread %.1fx; target >= 10)\n", pipe / tn, pipe / t1
  printf "  mawk / talq:      %5.1fx (1 thread %.1fx; target >= 3.5)\n", mawk / tn, mawk / t1
  printf "  talq / wc -w:     %5.1fx\n", tn / wc
  printf "sotu/ folder\n"
  printf "  %-22s %7.3f s                   cpu %5.2f s\n", "talq --jobs 1", s1, cs1
  printf "  %-22s %7.3f s  peak %6.1f MB  cpu %5.2f s\n", "talq --jobs " n, sn, ms, csn
  printf "  1 thread / all cores: %.2fx (target >= 1.8 on 2 cores)\n", s1 / sn
}'
