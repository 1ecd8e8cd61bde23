#!/usr/bin/env bash
# A count of one file through the desktop program's main window (offscreen), with words
# shown as found and without, against `talq count` on the same file; RUNS runs each,
# interleaved, best time of each. FILE defaults to big.txt of the benchmark corpora.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD:-build}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
file="${1:-${TALQ_CORPORA:-$root/bench/corpora}/big.txt}"
runs="${RUNS:-3}"
export QT_QPA_PLATFORM=offscreen TALQ_DATA_DIR="$root/data" LC_ALL=C.UTF-8
export XDG_CONFIG_HOME="$(mktemp -d)"
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT

best() { sort -n | head -1; }
cli=(); quiet=(); shown=()
for i in $(seq "$runs"); do
  s=$(date +%s.%N); "$build/talq" count -q "$file" >/dev/null; e=$(date +%s.%N)
  cli+=("$(echo "$e - $s" | bc)")
  quiet+=("$("$build/src/ui/gui_count_timing" "$file" | tee -a /dev/stderr | cut -d' ' -f1)")
  shown+=("$("$build/src/ui/gui_count_timing" "$file" --show-words | tee -a /dev/stderr | cut -d' ' -f1)")
done
c=$(printf '%s\n' "${cli[@]}" | best)
q=$(printf '%s\n' "${quiet[@]}" | best)
w=$(printf '%s\n' "${shown[@]}" | best)
echo "talq count:                         ${c}s"
echo "main window, words not displayed:   ${q}s  ratio $(echo "scale=3; $q / $c" | bc)"
echo "main window, words displayed:       ${w}s  ratio $(echo "scale=3; $w / $c" | bc)"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
