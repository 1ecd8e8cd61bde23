#!/usr/bin/env bash
# Times `talq phrases` (every phrase of 3 to 6 words occurring at least twice) on moby.txt
# side by side with a Python collections.Counter of the 3- to 6-word n-grams and scikit-learn's
# CountVectorizer(ngram_range=(3, 6)) with a count >= 2 filter, whole process each, with peak
# memory; then the same talq command on big.txt.
# Usage: bench/phrases-compare.sh [talq binary]   (TALQ_CORPORA: corpus folder, default
# bench/corpora; RUNS: runs per command, the best counts, default 3)
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
talq="${1:-${TALQ_BIN:-$here/../build/talq}}"
corpora="${TALQ_CORPORA:-$here/corpora}"
export LC_ALL=C.UTF-8
export TALQ_DATA_DIR="${TALQ_DATA_DIR:-$here/../data}"

[ -x "$talq" ] || { echo "phrases-compare: no talq binary at $talq" >&2; exit 1; }
for f in moby.txt big.txt; do
  [ -f "$corpora/$f" ] || { echo "phrases-compare: corpus missing: $corpora/$f (run bench/run-all.sh)" >&2; exit 1; }
done
timer=/usr/bin/time
[ -x "$timer" ] || { echo "phrases-compare: /usr/bin/time missing (package 'time')" >&2; exit 1; }
# Debian's interpreter, where python3-sklearn installs; a python3 earlier on PATH may lack it.
py=/usr/bin/python3
if ! "$py" -c 'import sklearn' 2>/dev/null; then
  bash "$here/../scripts/install-deps" --bench
  "$py" -c 'import sklearn' || { echo "phrases-compare: scikit-learn missing for $py" >&2; exit 1; }
fi

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

cat >"$tmp/counter.py" <<'EOF'
import collections, re, sys
words = re.findall(r"[^\W\d_]+", open(sys.argv[1], encoding="utf-8", errors="replace").read().lower())
counts = collections.Counter()
for n in range(3, 7):
    counts.update(zip(*(words[i:] for i in range(n))))
kept = [(c, " ".join(p)) for p, c in counts.items() if c >= 2]
print(len(kept))
EOF
cat >"$tmp/vectorizer.py" <<'EOF'
import sys
from sklearn.feature_extraction.text import CountVectorizer
text = open(sys.argv[1], encoding="utf-8", errors="replace").read()
v = CountVectorizer(ngram_range=(3, 6))
counts = v.fit_transform([text]).toarray()[0]
names = v.get_feature_names_out()
kept = [(int(c), names[i]) for i, c in enumerate(counts) if c >= 2]
print(len(kept))
EOF

# "seconds peak-KB" of the best of $runs runs of a command line given as a shell string.
runs="${RUNS:-3}"
best_of() {
  local best="" t
  for _ in $(seq "$runs"); do
    "$timer" -f '%e %M' -o "$tmp/t" bash -c "exec $1" >"$tmp/out" 2>"$tmp/err" || {
      echo "phrases-compare: failed: $1" >&2; cat "$tmp/err" >&2; exit 1; }
    t="$(tail -n 1 "$tmp/t")"
    if [ -z "$best" ] || awk -v a="${t% *}" -v b="${best% *}" 'BEGIN { exit !(a < b) }'; then best="$t"; fi
  done
  echo "$best"
}

q() { printf '%q' "$1"; }
talq_cmd() { echo "$(q "$talq") phrases $(q "$1") --min 3 --max 6 --min-freq 2 -o $(q "$tmp/out.txt") --set chkIgnoreShortWords=0 -q"; }

moby="$corpora/moby.txt"
read -r t_talq m_talq <<<"$(best_of "$(talq_cmd "$moby")")"
read -r t_counter m_counter <<<"$(best_of "$py $(q "$tmp/counter.py") $(q "$moby")")"
read -r t_sk m_sk <<<"$(best_of "$py $(q "$tmp/vectorizer.py") $(q "$moby")")"
runs=1
read -r t_big m_big <<<"$(best_of "$(talq_cmd "$corpora/big.txt")")"

echo "phrases of 3 to 6 words, at least twice; best of ${RUNS:-3} runs (big.txt: one run); load: $(cut -d' ' -f1-3 /proc/loadavg)"
awk -v a="$t_talq" -v am="$m_talq" -v b="$t_counter" -v bm="$m_counter" -v c="$t_sk" -v cm="$m_sk" \
    -v d="$t_big" -v dm="$m_big" 'BEGIN {
  printf "  moby.txt  %-16s %7.2f s %8.1f MB\n", "talq phrases", a, am / 1024
  printf "  moby.txt  %-16s %7.2f s %8.1f MB\n", "Counter", b, bm / 1024
  printf "  moby.txt  %-16s %7.2f s %8.1f MB\n", "CountVectorizer", c, cm / 1024
  printf "  Counter / talq:         %5.1fx faster (target >= 4)\n", (a > 0 ? b / a : 0)
  printf "  CountVectorizer / talq: %5.1fx faster (target >= 30)\n", (a > 0 ? c / a : 0)
  printf "  big.txt   %-16s %7.2f s %8.1f MB (targets < 30 s, < 4096 MB)\n", "talq phrases", d, dm / 1024
}'
