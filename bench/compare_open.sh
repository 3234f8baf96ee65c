#!/usr/bin/env bash
# Opening big plain documents in a real window: this program beside FeatherPad, the nearest Qt
# editor, in one run on the same machine. Each program is started on the file under a private X
# server with a window manager; as soon as its window shows, the window manager asks it to close.
# A program handles that request only once its event loop runs again, so the time until it has
# ended is the time until it is usable. kyxTavlo's window answers while a big file is still going
# into it, so it is asked only once its log says the text is all in; the time at which it answers
# a request made at once is given beside. The memory peak is /usr/bin/time's maximum resident size.
# Beside them: reading and decoding the file alone, the floor an editor cannot go below.
#
# Then, in the same run, the program's own searches over folder trees beside the command-line tools
# a user would pick instead, on the same trees with the same hits: the search in documents beside
# grep (20 000 files), the search for folders and files by name beside find (200 000 entries); and
# replace-all in big documents beside sed (bench_replace).
#
#   bench/compare_open.sh    BUILD_DIR (default build/) and RUNS (default 5) may be set;
#                            PARTS=searches leaves the opening of documents out
#
# It measures; it never fails on a figure. The documents (Danish text with æ, ø and å, CR LF) are
# made in a temporary folder and removed afterwards; the table goes to bench/out/compare_open.txt.
set -uo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
build="${BUILD_DIR:-$root/build}"
runs="${RUNS:-5}"
parts="${PARTS:-all}"
outdir="$here/out"

# shellcheck source=../tools/packages.sh
source "$root/tools/packages.sh"
install_missing featherpad xvfb openbox xdotool wmctrl time

[[ -f "$build/CMakeCache.txt" ]] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target bench_documents bench_search bench_replace kyxtavlo -j2 || exit 1

desktop_name=compare_open
screen_size=1600x1200x24
startup_seconds=30
work=$(mktemp -d "${TMPDIR:-/tmp}/kyx-compare.XXXXXX") || exit 2
# shellcheck source=../tools/private-desktop.sh
source "$root/tools/private-desktop.sh"
clean_environment
export KYXTAVLO_DATA_ROOT="$work/data"
# kyxTavlo loads a big file into its window after the window shows, and says when the text is all
# in: the time that counts is until then.
export QT_LOGGING_RULES="kyxtavlo.loading.info=true"
loaded="kyxtavlo.loading: loaded"
mkdir -p "$KYXTAVLO_DATA_ROOT" "$outdir" || exit 2
# Copies run, so that a build started meanwhile cannot relink a program under a run.
cp "$build/kyxtavlo" "$build/bench/bench_documents" "$build/bench/bench_search" "$build/bench/bench_replace" "$work/" ||
  exit 2
docs="$work/docs"
QT_QPA_PLATFORM=offscreen "$work/bench_documents" generate "$docs" >"$work/generate.log" 2>&1 || fail "the documents could not be made"
# Sizes in decimal megabytes, cut at a line break: FeatherPad opens files up to 100 MiB.
for size in 10 50 100; do
  head -c "${size}000000" "$docs/doc_100MB.txt" | LC_ALL=C sed '$d' >"$docs/open_${size}MB.txt" || exit 2
done
start_desktop

now_ns() { date +%s%N; }

# One start of a program on a file: prints "seconds peak-MB", or "- -" when it did not end. With a
# ready text, the program is asked to close only once its output shows that text.
open_once() { # window-class ready-text command...
  local class=$1 ready=$2 start id shown_ns asked_ns seconds
  shift 2
  start=$(now_ns)
  /usr/bin/time -f '%M' -o "$work/time.txt" "$@" >"$work/run.log" 2>&1 &
  local timer=$!
  id=""
  while kill -0 "$timer" 2>/dev/null && [ -z "$id" ]; do
    id=$(xdotool search --onlyvisible --class "$class" 2>/dev/null | tail -1)
    [ -n "$id" ] || sleep 0.02
  done
  asked_ns=0
  # The request waits in the program's queue until its event loop runs. It is asked again and again,
  # since a program may refuse to close while it is still loading (FeatherPad does).
  while kill -0 "$timer" 2>/dev/null; do
    if [ -n "$id" ] && (($(now_ns) - asked_ns > 200000000)) && { [ -z "$ready" ] || grep -q "$ready" "$work/run.log"; }; then
      wmctrl -i -c "$id" 2>/dev/null
      asked_ns=$(now_ns)
    fi
    sleep 0.01
  done
  wait "$timer" 2>/dev/null
  cat "$work/run.log" >>"$work/programs.log"
  seconds=$(awk -v a="$start" -v b="$(now_ns)" 'BEGIN { printf "%.2f", (b - a) / 1e9 }')
  if [ -s "$work/time.txt" ] && [ -n "$id" ]; then
    echo "$seconds $(awk '/^[0-9]+$/ { printf "%.0f", $1 / 1024 }' "$work/time.txt")"
  else
    echo "- -"
  fi
}

# "min / median" of a list of numbers.
summary() {
  tr ' ' '\n' | grep -v '^-*$' | sort -g | awk '{ v[NR] = $1 } END {
    if (NR == 0) { print "-"; exit }
    m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%s / %s", v[1], m }'
}

{
  echo "Opening big documents in a real window, $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "commit $(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo '?'); $(nproc) CPUs," \
    "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'); FeatherPad $(dpkg-query -W -f='${Version}' featherpad)"
  echo "$runs runs each; min / median; time until the program has ended after its window showed and was asked to close;"
  echo "kyxTavlo asked once its text is all in (its log says so), and beside that, asked at once: when its window answers"
  echo
  printf '| %-22s | %-16s | %-16s | %-16s | %-16s | %-16s | %-16s |\n' file "read + decode" "kyxTavlo s" "kyxTavlo MB" \
    "window answers s" "FeatherPad s" "FeatherPad MB"
  printf '|%s|%s|%s|%s|%s|%s|%s|\n' "------------------------" "------------------" "------------------" \
    "------------------" "------------------" "------------------" "------------------"
} | tee "$outdir/compare_open.txt"

if [[ $parts != searches ]]; then
# A first start of each, not counted, fills the disk cache and lets each program write its
# first-start settings, as a user's programs have.
open_once kyxtavlo "" "$work/kyxtavlo" "$docs/open_10MB.txt" >/dev/null
open_once featherpad "" featherpad "$docs/open_10MB.txt" >/dev/null

for size in 10 50 100; do
  doc="$docs/open_${size}MB.txt"
  lines=$(wc -l <"$doc")
  decode=$(QT_QPA_PLATFORM=offscreen "$work/bench_documents" decode "$doc" 2>/dev/null | awk -F'\t' '/^RESULT/ { printf "%.2f", $4 }')
  kyx_s="" kyx_mb="" answer_s="" fp_s="" fp_mb=""
  for ((i = 0; i < runs; ++i)); do
    read -r s mb < <(open_once kyxtavlo "$loaded" "$work/kyxtavlo" "$doc")
    kyx_s+=" $s" kyx_mb+=" $mb"
    read -r s mb < <(open_once kyxtavlo "" "$work/kyxtavlo" "$doc")
    answer_s+=" $s"
    read -r s mb < <(open_once featherpad "" featherpad "$doc")
    fp_s+=" $s" fp_mb+=" $mb"
  done
  printf '| %-22s | %-16s | %-16s | %-16s | %-16s | %-16s | %-16s |\n' "${size} MB, $lines lines" "$decode" \
    "$(summary <<<"$kyx_s")" "$(summary <<<"$kyx_mb")" "$(summary <<<"$answer_s")" "$(summary <<<"$fp_s")" \
    "$(summary <<<"$fp_mb")" | tee -a "$outdir/compare_open.txt"
done
fi

# ---- searches over folder trees and replace-all ------------------------------------------------

QT_QPA_PLATFORM=offscreen "$work/bench_search" tree "$work/trees" >>"$work/generate.log" 2>&1 ||
  fail "the folder trees could not be made"
documents="$work/trees/dokumenter"
names="$work/trees/navne"
# Both tools then read from the disk cache, as a user's second search does.
grep -rqF warm "$documents" >/dev/null 2>&1
find "$names" >/dev/null

# Seconds a command takes, its output counted in lines: "seconds count".
timed_count() {
  local start count
  start=$(now_ns)
  count=$("$@" 2>/dev/null | wc -l)
  echo "$(awk -v a="$start" -v b="$(now_ns)" 'BEGIN { printf "%.3f", (b - a) / 1e9 }') $count"
}
# Seconds and note of a bench_search scenario; offscreen, or in a window on the private X server
# when search_platform=xcb.
program_search() {
  QT_QPA_PLATFORM="${search_platform:-offscreen}" "$work/bench_search" "$@" 2>>"$work/programs.log" |
    awk -F'\t' '/^RESULT/ { print $4 "\t" $6 }'
}

{
  echo
  echo "Searches over folder trees, $runs runs each; seconds min / median"
  echo
  printf '| %-52s | %-16s | %-34s | %-16s | %-26s |\n' search "kyxTavlo s" "kyxTavlo found" "other tool s" "other tool found"
  printf '|%s|%s|%s|%s|%s|\n' "------------------------------------------------------" "------------------" \
    "------------------------------------" "------------------" "----------------------------"
} | tee -a "$outdir/compare_open.txt"

compare_search() { # label, the program's scenario (a comma list), the other tool's command...
  local label=$1 scenario=$2 kyx_s="" tool_s="" kyx_note tool_count line
  shift 2
  IFS=, read -r -a arguments <<<"$scenario"
  for ((i = 0; i < runs; ++i)); do
    line=$(program_search "${arguments[@]}")
    kyx_s+=" ${line%%$'\t'*}" kyx_note=${line#*$'\t'}
    read -r s tool_count < <(timed_count "$@")
    tool_s+=" $s"
  done
  printf '| %-52s | %-16s | %-34s | %-16s | %-26s |\n' "$label" "$(summary <<<"$kyx_s")" "$kyx_note" \
    "$(summary <<<"$tool_s")" "$tool_count lines ($(basename "$1"))" | tee -a "$outdir/compare_open.txt"
}

rare=kommunalbestyrelsesmedlem
common=smørrebrød
compare_search "Søg i dokumenter *.txt, rare word / grep -rliF" "documents,$documents,*.txt,$rare" \
  grep -rliF "$rare" --include='*.txt' "$documents"
search_platform=xcb compare_search "the same in a window on the X server" "documents,$documents,*.txt,$rare" \
  grep -rliF "$rare" --include='*.txt' "$documents"
compare_search "Søg i dokumenter *.txt, common word / grep -roiF" "documents,$documents,*.txt,$common" \
  grep -roiF "$common" --include='*.txt' "$documents"
compare_search "Søg i dokumenter *.html, rare word / grep -rliF" "documents,$documents,*.html,$rare" \
  grep -rliF "$rare" --include='*.html' "$documents"
compare_search "Søg i dokumenter *.rtf, rare word / grep -rliF (RTF escapes)" "documents,$documents,*.rtf,$rare" \
  grep -rliF "$rare" --include='*.rtf' "$documents"
compare_search "Søg efter mapper og filer / find -iname" "names,$names,søndag" \
  find "$names" -mindepth 1 -iname '*søndag*'

{
  echo
  echo "Replace-all beside sed (bench_replace; seconds of the command alone)"
  echo
  QT_QPA_PLATFORM=offscreen "$work/bench_replace" "$work/replace" 2>>"$work/programs.log"
} | tee -a "$outdir/compare_open.txt"
