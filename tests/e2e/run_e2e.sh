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
screen_size=1600x1200x24
startup_seconds=30

work=$(mktemp -d "${TMPDIR:-/tmp}/kyx-e2e.XXXXXX") || exit 2

# Every helper runs as its own job, hence in its own process group: D-Bus starts the accessibility
# bus and registry inside the session's group, and they are ended with it.
set -m
groups=()

group_running() { # pgid: true while a process of the group runs; a zombie only awaits its parent
  local stat line state group
  for stat in /proc/[0-9]*/stat; do
    read -r line 2>/dev/null <"$stat" || continue
    # After the command name (which may hold spaces and parentheses) come state, parent, group.
    read -r state _ group _ <<<"${line##*) }"
    [ "$group" = "$1" ] && [ "$state" != Z ] && return 0
  done
  return 1
}

cleanup() {
  local status=$? pgid i
  trap - EXIT INT TERM HUP
  set +m # no job reports for the helpers ended here
  # Last started first: the session (with the program if a script left it running), then the
  # window manager, then the X server.
  for ((i = ${#groups[@]} - 1; i >= 0; i--)); do
    pgid=${groups[i]}
    kill -TERM -- "-$pgid" 2>/dev/null
    for _ in $(seq 50); do
      group_running "$pgid" || break
      sleep 0.1
    done
    kill -KILL -- "-$pgid" 2>/dev/null
    wait "$pgid" 2>/dev/null
  done
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

show_logs() {
  for log in "$work"/*.log; do
    [ -s "$log" ] && { echo "--- $(basename "$log")" >&2; cat "$log" >&2; }
  done
}

fail() {
  echo "run_e2e: $*" >&2
  show_logs
  exit 2
}

wait_for() { # what, pid of the helper that provides it, command...: polls until the command succeeds
  local what=$1 pid=$2 deadline=$((SECONDS + startup_seconds))
  shift 2
  until "$@" >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || fail "$what: the process ended"
    ((SECONDS < deadline)) || fail "timed out waiting for $what"
    sleep 0.1
  done
}

# A clean environment: what is set below, plus what finds programs and libraries. Nothing of the
# user's desktop session (display, bus, language, Qt look and scaling) reaches the program.
for name in $(compgen -e); do
  case $name in
    PATH | TMPDIR | TERM | LD_LIBRARY_PATH) ;;
    *) unset "$name" 2>/dev/null ;;
  esac
done
export HOME="$work/home"
export XDG_RUNTIME_DIR="$work/run"
export XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache" XDG_DATA_HOME="$HOME/.local/share"
export KYXTAVLO_DATA_ROOT="$work/data"
export LC_ALL=C.UTF-8 TZ=UTC
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export KYX_E2E_PROGRAM="$program" KYX_E2E_WORK="$work/test"
export PYTHONDONTWRITEBYTECODE=1 # the source tree stays clean
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$KYXTAVLO_DATA_ROOT" "$KYX_E2E_WORK" || exit 2
chmod 700 "$XDG_RUNTIME_DIR"
# The data root holds the program folder as an installation lays it out.
mkdir -p "$KYXTAVLO_DATA_ROOT/Program" &&
  cp -a "$here/../../resources/program/." "$KYXTAVLO_DATA_ROOT/Program/" || exit 2

# X server on the first free display; it writes the number once it accepts connections.
exec {display_fd}>"$work/display"
Xvfb -displayfd "$display_fd" -screen 0 "$screen_size" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xserver=$!
groups+=("$xserver")
exec {display_fd}>&-
wait_for "the X server" "$xserver" grep -q '^[0-9][0-9]*$' "$work/display"
export DISPLAY=":$(cat "$work/display")"

# Keys typed as a Danish user types them: æ, ø and å have keys of their own, so xdotool never
# has to remap a spare key code while the program reads the keyboard.
setxkbmap -layout dk >"$work/setxkbmap.log" 2>&1 || fail "setxkbmap -layout dk failed"

cat >"$work/openbox.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy></placement>
  <desktops><number>1</number></desktops>
  <keyboard><keybind key="A-F4"><action name="Close"/></keybind></keyboard>
</openbox_config>
EOF
openbox --sm-disable --config-file "$work/openbox.xml" >"$work/openbox.log" 2>&1 &
window_manager=$!
groups+=("$window_manager")
# The desktop count on the root window is published by the window manager once it manages.
wait_for "the window manager" "$window_manager" xdotool get_num_desktops

# The bus daemons' chatter goes to a log; the script keeps the runner's own output (fds 3 and 4).
dbus-run-session -- /bin/sh -c 'exec "$0" "$1" >&3 2>&4 3>&- 4>&-' "$python" "$script" \
  3>&1 4>&2 >"$work/dbus.log" 2>&1 &
session=$!
groups+=("$session")
wait "$session"
status=$?
((status == 0)) || show_logs
exit "$status"
