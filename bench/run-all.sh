#!/usr/bin/env bash
# Builds the corpora when missing, then runs every Google benchmark and the whole-process
# comparison. BUILD: the build folder (default build); TALQ_CORPORA: the corpus folder.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD:-build}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
export TALQ_CORPORA="${TALQ_CORPORA:-$root/bench/corpora}"
export TALQ_DATA_DIR="${TALQ_DATA_DIR:-$root/data}"
export LC_ALL=C.UTF-8

if [ ! -f "$TALQ_CORPORA/SHA256SUMS" ]; then
  CORPORA_DIR="$TALQ_CORPORA" bash "$root/bench/make-corpora.sh"
fi

cmake --build "$build" -j "${JOBS:-2}" >/dev/null
status=0
for b in "$build"/*_bench; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" || status=1
done
echo "== compare"
bash "$root/bench/compare.sh" "$build/talq" || status=1
echo "== cores"
bash "$root/bench/cores.sh" "$build/talq" || status=1
echo "== table"
bash "$root/bench/table.sh" "$build/talq" || status=1
echo "== phrases-compare"
bash "$root/bench/phrases-compare.sh" "$build/talq" || status=1
exit $status
