#!/usr/bin/env bash
# Builds bench_replace and runs it once: find all, replace all and its undo on large plain documents
# (and two in a rich-text window), beside sed doing the same replacement on the same files. Writes
# the table to bench/out/replace.txt. It measures; it never fails on a figure. The documents are
# made in a temporary folder and removed afterwards.
#
#   bench/run_replace.sh              offscreen; BUILD_DIR (default build/) may be set
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
build="${BUILD_DIR:-$root/build}"
outdir="$here/out"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$build"
fi
cmake --build "$build" --target bench_replace -j2

mkdir -p "$outdir"
log="$outdir/replace-log.txt"
: >"$log"
docs="$(mktemp -d "${TMPDIR:-/tmp}/kyxtavlo-replace.XXXXXX")"
trap 'rm -rf "$docs"' EXIT
# A copy runs, so that a build started meanwhile cannot relink the program under the run.
cp "$build/bench/bench_replace" "$docs/bench_replace"

{
  echo "kyxTavlo find and replace benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "commit $(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo '?') (working tree may differ);" \
    "platform $QT_QPA_PLATFORM; $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
  echo "seconds = the command alone (FindOrd, ErstatTekst, EditUndo1); the note adds the events after it"
  echo
  "$docs/bench_replace" "$docs" 2>>"$log"
} | tee "$outdir/replace.txt"
