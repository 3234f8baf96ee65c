#!/usr/bin/env bash
# Builds bench_documents and runs every scenario in a process of its own (the memory peak is per
# process), then writes the table to bench/out/results.txt. It measures; it never fails on a
# figure. The documents are made in a temporary folder and removed afterwards.
#
#   bench/run.sh                      offscreen; BUILD_DIR (default build/) and RUNS (default 3,
#                                     the runs of each open scenario) may be set
#   QT_QPA_PLATFORM=xcb bench/run.sh  in real windows on $DISPLAY
#
# Single-line documents of 1, 5 and 50 MB (minified scripts are like that) are also opened by the
# program and by FeatherPad, each started on the file in a real window under a private X server
# and timed from outside in the same way (bench/settle.sh: until a window is shown and the
# processor use has settled). The script installs FeatherPad (Debian package featherpad) when it
# is missing, and the X server, window manager and xdotool that this needs. Beside the figures:
# FeatherPad (1.3.5) opens these files read-only ("files with huge lines cannot be edited"),
# where this program opens them for editing.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
build="${BUILD_DIR:-$root/build}"
runs="${RUNS:-3}"
outdir="$here/out"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

# What the comparison in real windows needs beyond the project's own packages.
# shellcheck source=../tools/packages.sh
source "$root/tools/packages.sh"
install_missing featherpad xvfb openbox xdotool

if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$build"
fi
cmake --build "$build" --target bench_documents bench_rtf kyxtavlo -j2

mkdir -p "$outdir"
raw="$outdir/raw.tsv"
log="$outdir/log.txt"
: >"$raw"
: >"$log"

docs="$(mktemp -d "${TMPDIR:-/tmp}/kyxtavlo-bench.XXXXXX")"
trap 'rm -rf "$docs"' EXIT
# A copy runs, so that a build started meanwhile cannot relink the program under a scenario.
bench="$docs/bench_documents"
cp "$build/bench/bench_documents" "$bench"
program="$docs/kyxtavlo"
cp "$build/kyxtavlo" "$program"

# One scenario in its own process; its RESULT lines go to the raw file, everything else to the log.
run() {
  echo "== $*" | tee -a "$log" >&2
  local output status=0
  output="$("$bench" "$@" 2>>"$log")" || status=$?
  printf '%s\n' "$output" >>"$log"
  printf '%s\n' "$output" | grep '^RESULT' >>"$raw" || true
  if [[ $status -ne 0 ]]; then
    echo "   failed with status $status (see $log)" | tee -a "$log" >&2
  fi
}

"$bench" generate "$docs" 2>>"$log" | tee -a "$log" >&2
big="$docs/doc_100MB.txt"
small="$docs/doc_10MB.txt"
biglf="$docs/doc_100MB_lf.txt"
lines1000="$docs/doc_1000lines.txt"

for doc in "$small" "$big" "$biglf"; do
  run decode "$doc"
done
run startup
for doc in "$small" "$big" "$biglf"; do
  for ((i = 0; i < runs; ++i)); do
    run open "$doc"
  done
done
run xyinfo "$lines1000"
run xyinfo "$big"
# Timings of a few microseconds from two processes differ with the machine's load as much as with
# the document: both documents in one process, keystrokes taking turns, give the fair ratio.
run xyinfo-pair "$lines1000" "$big"
# The waiting program: one document of each kind, the command panel and the boxes shown.
rtf="$docs/idle.rtf"
printf '{\\rtf1\\ansi Et {\\b fedt} ord.\\par}' >"$rtf"
run idle "$lines1000" "$rtf"
# Single-line documents: opened in this process as above, a keystroke in the 5 MB one, and both
# programs started on each file in a real window.
for size in 1 5 50; do
  for ((i = 0; i < runs; ++i)); do
    run open "$docs/line_${size}MB.js"
  done
done
run xyinfo "$docs/line_5MB.js"
settle() { # key label class command...
  echo "== settle $2" | tee -a "$log" >&2
  local output
  output="$("$here/settle.sh" "$@" 2>>"$log")" || true
  printf '%s\n' "$output" >>"$log"
  printf '%s\n' "$output" | grep '^RESULT' >>"$raw" || true
}
for size in 1 5 50; do
  doc="$docs/line_${size}MB.js"
  settle "window-kyx-line_${size}MB" "kyxTavlo window, line_${size}MB" kyxtavlo "$program" "$doc"
  settle "window-featherpad-line_${size}MB" "FeatherPad window, line_${size}MB" featherpad featherpad "$doc"
done
# Saving replaces the file, so copies are saved.
for doc in "$small" "$big"; do
  copy="$docs/save_$(basename "$doc")"
  cp "$doc" "$copy"
  run save "$copy"
done

{
  echo "kyxTavlo document benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "commit $(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo '?') (working tree may differ);" \
    "platform $QT_QPA_PLATFORM; $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
  echo "peak MB = VmHWM of the scenario's own process (program, document and all)"
  echo
  "$bench" table "$raw" 2>>"$log"
} | tee "$outdir/results.txt"

# Rich text: a 2 MB RTF document read and written, beside the same text read as plain text.
{
  echo
  echo "RTF (one process; peak MB is the process's peak after each stage)"
  "$build/bench/bench_rtf" 2>>"$log"
} | tee -a "$outdir/results.txt"
