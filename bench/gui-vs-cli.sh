#!/usr/bin/env bash
# A count of one file through the desktop program's main window (offscreen), with words
# shown as found and without, against `talq count` on the same file; RUNS runs each,
# interleaved, best time of each. FILE defaults to big.txt of the benchmark corpora. Then a
# count of all phrases of PHRASE_FILE (default kjv.txt) through the phrase window against
# `talq phrases`.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD:-build}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
corpora="${TALQ_CORPORA:-$root/bench/corpora}"
file="${1:-$corpora/big.txt}"
phrase_file="${PHRASE_FILE:-$corpora/kjv.txt}"
runs="${RUNS:-3}"
export QT_QPA_PLATFORM=offscreen TALQ_DATA_DIR="$root/data" LC_ALL=C.UTF-8
export XDG_CONFIG_HOME="$(mktemp -d)"
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT

best() { sort -n | head -1; }
seconds() { s=$(date +%s.%N); "$@" >/dev/null; e=$(date +%s.%N); echo "$e - $s" | bc; }
cli=(); quiet=(); shown=(); pcli=(); pgui=()
for i in $(seq "$runs"); do
  cli+=("$(seconds "$build/talq" count -q "$file")")
  quiet+=("$("$build/src/ui/gui_count_timing" "$file" | tee -a /dev/stderr | cut -d' ' -f1)")
  shown+=("$("$build/src/ui/gui_count_timing" "$file" --show-words | tee -a /dev/stderr | cut -d' ' -f1)")
  pcli+=("$(seconds "$build/talq" phrases -q "$phrase_file")")
  pgui+=("$("$build/src/ui/gui_count_timing" "$phrase_file" --phrases | tee -a /dev/stderr | cut -d' ' -f1)")
done
c=$(printf '%s\n' "${cli[@]}" | best)
q=$(printf '%s\n' "${quiet[@]}" | best)
w=$(printf '%s\n' "${shown[@]}" | best)
pc=$(printf '%s\n' "${pcli[@]}" | best)
pg=$(printf '%s\n' "${pgui[@]}" | best)
echo "talq count:                         ${c}s"
echo "main window, words not displayed:   ${q}s  ratio $(echo "scale=3; $q / $c" | bc)"
echo "main window, words displayed:       ${w}s  ratio $(echo "scale=3; $w / $c" | bc)"
echo "talq phrases ($(basename "$phrase_file")):         ${pc}s"
echo "phrase window:                      ${pg}s  ratio $(echo "scale=3; $pg / $pc" | bc)"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
