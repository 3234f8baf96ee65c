#!/usr/bin/env bash
# Times a program opening a file in a real window, from outside and the same way for any program,
# so that this editor and another one can be set side by side:
#
#   bench/settle.sh <key> <label> <window class> <command...>
#
# The command runs under a private X server with a window manager, a temporary home and a temporary
# data root (tools/private-desktop.sh). It counts as done when a window of the given class is shown
# and the program's processor use has settled: no more than one clock tick in a whole second (a
# blinking caret costs less). The time reported runs from the start to the last moment it still
# worked; with it go the processor time used until then and the memory peak (VmHWM). A program
# that has not settled after ten minutes is reported as hanging. Prints one line
# "RESULT\tkey\tlabel\tseconds\tpeak MB\tnote" as bench_documents does.
set -uo pipefail

if [ $# -lt 4 ]; then
  echo "usage: $0 <key> <label> <window class> <command...>" >&2
  exit 2
fi
key=$1 label=$2 class=$3
shift 3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

desktop_name=settle
screen_size=1600x1200x24
startup_seconds=30
work=$(mktemp -d "${TMPDIR:-/tmp}/kyx-settle.XXXXXX") || exit 2
# shellcheck source=../tools/private-desktop.sh
source "$here/../tools/private-desktop.sh"
clean_environment
export KYXTAVLO_DATA_ROOT="$work/data"
mkdir -p "$KYXTAVLO_DATA_ROOT" || exit 2
start_desktop

limit_ns=$((600 * 1000000000))
tick_hz=$(getconf CLK_TCK)
now_ns() { date +%s%N; }
# Processor ticks (user and system) the program has used; the fields after the command name,
# which is in parentheses, begin with the state, utime and stime being the 12th and 13th.
ticks() {
  local line
  read -r line 2>/dev/null <"/proc/$1/stat" || return 1
  # shellcheck disable=SC2086
  set -- ${line##*) }
  echo $((${12} + ${13}))
}
peak_mb() {
  awk '/^VmHWM:/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status" 2>/dev/null
}

start=$(now_ns)
"$@" >"$work/program.log" 2>&1 &
pid=$!
groups+=("$pid")

shown_ns=""
quiet_ticks=0
changed_ns=$start
settled=""
while :; do
  now=$(now_ns)
  used=$(ticks "$pid") || break
  if [ -z "$shown_ns" ] && xdotool search --onlyvisible --class "$class" >/dev/null 2>&1; then
    shown_ns=$now
  fi
  if ((used > quiet_ticks + 1)); then
    quiet_ticks=$used
    changed_ns=$now
  elif [ -n "$shown_ns" ] && ((now - changed_ns >= 1000000000)); then
    settled=yes
    break
  fi
  ((now - start < limit_ns)) || break
  sleep 0.05
done

seconds=$(awk -v a="$start" -v b="$changed_ns" 'BEGIN { printf "%.3f", (b - a) / 1e9 }')
cpu=$(awk -v t="$quiet_ticks" -v hz="$tick_hz" 'BEGIN { printf "%.2f", t / hz }')
peak=$(peak_mb "$pid")
if [ -n "$settled" ]; then
  shown=$(awk -v a="$start" -v b="$shown_ns" 'BEGIN { printf "%.3f", (b - a) / 1e9 }')
  note="window shown after $shown s, settled; processor $cpu s"
elif kill -0 "$pid" 2>/dev/null; then
  note="HANGING: not settled after $((limit_ns / 1000000000)) s; processor $cpu s"
else
  note="ENDED before settling (see its output below)"
  sed 's/^/  /' "$work/program.log" >&2
fi
printf 'RESULT\t%s\t%s\t%s\t%s\t%s\n' "$key" "$label" "$seconds" "${peak:-0}" "$note"
