#!/usr/bin/env bash
# Builds bench_recovery and measures one recovery copy of unsaved text for plain documents of 1 and
# 100 MB (one of them mixing line-break styles) and rich documents of 1 and 10 MB, each in a process
# of its own: the longest the user-interface thread is held up from the keystroke until the copy is
# on disk, how long that takes, and the memory the copy takes meanwhile. Writes the table to
# bench/out/recovery.txt. It measures; it never fails on a figure. The documents are made in a
# temporary folder and removed afterwards.
#
#   bench/run_recovery.sh             offscreen; BUILD_DIR (default build/) and RUNS (default 1,
#                                     each run a process of its own) may be set
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
build="${BUILD_DIR:-$root/build}"
runs="${RUNS:-1}"
outdir="$here/out"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$build"
fi
cmake --build "$build" --target bench_recovery -j2

mkdir -p "$outdir"
log="$outdir/recovery-log.txt"
: >"$log"
docs="$(mktemp -d "${TMPDIR:-/tmp}/kyxtavlo-recovery.XXXXXX")"
trap 'rm -rf "$docs"' EXIT
# A copy runs, so that a build started meanwhile cannot relink the program under the run.
bench="$docs/bench_recovery"
cp "$build/bench/bench_recovery" "$bench"
"$bench" generate "$docs" >>"$log" 2>&1

{
  echo "kyxTavlo recovery copy benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "commit $(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo '?') (working tree may differ);" \
    "platform $QT_QPA_PLATFORM; $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
  echo
  for doc in plain_1MB.txt plain_100MB.txt plain_100MB_mixed.txt rich_1MB.rtf rich_10MB.rtf; do
    for ((run = 1; run <= runs; run++)); do
      "$bench" copy "$docs/$doc" 2>>"$log"
    done
  done
} | tee "$outdir/recovery.txt"
