#!/usr/bin/env bash
# Runs one real-window test script against the built program:
#   run_e2e.sh <path-to-kyxtavlo> <test_script.py>
# The script runs under a private X server (fixed screen size, Danish keyboard), the openbox window
# manager and a private D-Bus session carrying the accessibility bus, with a temporary home and data
# root, so nothing of the machine's user is read or touched. Exit code = the script's.
set -uo pipefail

if [ $# -ne 2 ] || [ ! -x "$1" ] || [ ! -f "$2" ]; then
  echo "usage: $0 <path-to-kyxtavlo> <test_script.py>" >&2
  exit 2
fi
program=$(realpath "$1")
script=$(realpath "$2")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# The system Python: it is the one that has pyatspi.
python=/usr/bin/python3
# The screenshot tour asks for a smaller screen through KYX_E2E_SCREEN_SIZE.
screen_size=${KYX_E2E_SCREEN_SIZE:-1600x1200x24}
startup_seconds=30

work=$(mktemp -d "${TMPDIR:-/tmp}/kyx-e2e.XXXXXX") || exit 2

desktop_name=run_e2e
# shellcheck source=../../tools/private-desktop.sh
source "$here/../../tools/private-desktop.sh"
clean_environment
export KYXTAVLO_DATA_ROOT="$work/data"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export KYX_E2E_PROGRAM="$program" KYX_E2E_WORK="$work/test"
export PYTHONDONTWRITEBYTECODE=1 # the source tree stays clean
mkdir -p "$KYXTAVLO_DATA_ROOT" "$KYX_E2E_WORK" || exit 2
# The data root holds the program folder as an installation lays it out.
mkdir -p "$KYXTAVLO_DATA_ROOT/Program" &&
  cp -a "$here/../../resources/program/." "$KYXTAVLO_DATA_ROOT/Program/" || exit 2

start_desktop '<keyboard><keybind key="A-F4"><action name="Close"/></keybind><keybind key="A-F10"><action name="ToggleMaximize"/></keybind></keyboard>'

# Keys typed as a Danish user types them: æ, ø and å have keys of their own, so xdotool never
# has to remap a spare key code while the program reads the keyboard.
setxkbmap -layout dk >"$work/setxkbmap.log" 2>&1 || fail "setxkbmap -layout dk failed"

# The bus daemons' chatter goes to a log; the script keeps the runner's own output (fds 3 and 4).
dbus-run-session -- /bin/sh -c 'exec "$0" "$1" >&3 2>&4 3>&- 4>&-' "$python" "$script" \
  3>&1 4>&2 >"$work/dbus.log" 2>&1 &
session=$!
groups+=("$session")
wait "$session"
status=$?
((status == 0)) || show_logs
exit "$status"
