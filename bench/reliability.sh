#!/usr/bin/env bash
# Hostile inputs with bounded cost: wall-clock seconds and peak memory of `talq count` on a
# 10 MB single line, a file of one word repeated (1 GB by default), a list file of 100,000
# entries, and a pathological expression among count-only entries. Not part of the tests.
# Usage: bench/reliability.sh [talq binary]   (BIG_MB: size of the repeated-word file)
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
talq="${1:-${TALQ_BIN:-$here/../build/talq}}"
big_mb="${BIG_MB:-1024}"
export LC_ALL=C.UTF-8
[ -x "$talq" ] || { echo "reliability: no talq binary at $talq" >&2; exit 1; }
timer=/usr/bin/time
[ -x "$timer" ] || { echo "reliability: /usr/bin/time missing (package 'time')" >&2; exit 1; }

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# Prints one line: the case, exit status, wall seconds, CPU seconds, peak resident KiB.
measure() {
  local name=$1; shift
  local rc=0
  "$timer" -f '%e %U %S %M' -o "$tmp/t" "$talq" "$@" >/dev/null 2>"$tmp/err" || rc=$?
  tail -n 1 "$tmp/t" | awk -v n="$name" -v rc="$rc" \
    '{ printf "%-28s exit %-3s wall %7.2fs  cpu %7.2fs  peak %8d KiB\n", n, rc, $1, $2 + $3, $4 }'
}

# 10 MB with no line break: words of varied length separated by spaces.
python3 - "$tmp/line.txt" <<'PY'
import sys, random
random.seed(1)
words = ["alpha", "beta", "gamma", "delta", "épsilon", "zeta-eta", "theta's"]
out, n = [], 0
while n < 10 * 1024 * 1024:
    w = random.choice(words); out.append(w); n += len(w) + 1
open(sys.argv[1], "w", encoding="utf-8").write(" ".join(out))
PY
measure "10 MB single line" count -q "$tmp/line.txt"

# One word repeated, one per line.
{ yes repeated || true; } | head -c "$((big_mb * 1024 * 1024))" >"$tmp/big.txt"
measure "${big_mb} MB one repeated word" count -q "$tmp/big.txt"
rm -f "$tmp/big.txt"

# 100,000 words to ignore (a tenth of them wildcards), against the 10 MB line.
python3 - "$tmp/list.txt" <<'PY'
import sys
with open(sys.argv[1], "w") as f:
    for i in range(100000):
        f.write(("w%06d~\n" if i % 10 == 0 else "w%06d\n") % i)
PY
measure "100,000-entry list file" count -q --ignore-file "$tmp/list.txt" "$tmp/line.txt"

# Nested quantifiers against words that almost match: the match limits must cut them off.
printf '%s\n' '<(a+)+b>' '<(a|aa)+c>' '<([a-z]+)*x>' >"$tmp/evil.txt"
python3 -c "print(' '.join(['a' * n + 'c' for n in range(10, 60)] * 200))" >"$tmp/as.txt"
measure "pathological expression" count -q -y --set chkPatternMatchingInCountOnlyWordsFile=1 --count-only-file "$tmp/evil.txt" "$tmp/as.txt"
