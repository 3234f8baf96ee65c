# Sourced by the scripts that run the program in real windows (tests/e2e/run_e2e.sh,
# tools/screenshots.sh): a private X server and the openbox window manager, a clean environment
# with a temporary home, and the clean-up of everything started. The caller sets before sourcing:
#   desktop_name       the name its messages begin with
#   work               its temporary folder (removed at the end)
#   screen_size        WxHxD of the X screen
#   startup_seconds    how long a helper may take to come up

# Every helper runs as its own job, hence in its own process group, and is ended with its group:
# D-Bus, for one, starts the accessibility bus and registry inside the session's group.
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

end_group() { # pgid
  kill -TERM -- "-$1" 2>/dev/null
  for _ in $(seq 50); do
    group_running "$1" || break
    sleep 0.1
  done
  kill -KILL -- "-$1" 2>/dev/null
  wait "$1" 2>/dev/null
}

desktop_cleanup() {
  local status=$? i
  trap - EXIT INT TERM HUP
  set +m # no job reports for the helpers ended here
  # Last started first: whatever the caller started, then the window manager, then the X server.
  for ((i = ${#groups[@]} - 1; i >= 0; i--)); do
    end_group "${groups[i]}"
  done
  rm -rf "$work"
  exit "$status"
}
trap desktop_cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

show_logs() {
  local log
  for log in "$work"/*.log; do
    [ -s "$log" ] && { echo "--- $(basename "$log")" >&2; cat "$log" >&2; }
  done
}

fail() {
  echo "$desktop_name: $*" >&2
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

# A clean environment: a temporary home, and of the caller's environment only what finds programs
# and libraries, and the screenshot tour's own KYX_TOUR_ settings. Nothing of the user's desktop
# session (display, bus, language, Qt look and scaling) reaches the program.
clean_environment() {
  local name
  for name in $(compgen -e); do
    case $name in
      PATH | TMPDIR | TERM | LD_LIBRARY_PATH | KYX_TOUR_*) ;;
      *) unset "$name" 2>/dev/null ;;
    esac
  done
  export HOME="$work/home"
  export XDG_RUNTIME_DIR="$work/run"
  export XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache" XDG_DATA_HOME="$HOME/.local/share"
  export LC_ALL=C.UTF-8 TZ=UTC QT_QPA_PLATFORM=xcb
  mkdir -p "$HOME" "$XDG_RUNTIME_DIR" || exit 2
  chmod 700 "$XDG_RUNTIME_DIR"
}

# The X server on the first free display (it writes the number once it accepts connections), then
# openbox; extra openbox settings may be given as XML.
start_desktop() { # [openbox settings]
  local display_fd xserver window_manager
  exec {display_fd}>"$work/display"
  Xvfb -displayfd "$display_fd" -screen 0 "$screen_size" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
  xserver=$!
  groups+=("$xserver")
  exec {display_fd}>&-
  wait_for "the X server" "$xserver" grep -q '^[0-9][0-9]*$' "$work/display"
  export DISPLAY=":$(cat "$work/display")"

  cat >"$work/openbox.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy></placement>
  <desktops><number>1</number></desktops>
  ${1:-}
</openbox_config>
XML
  openbox --sm-disable --config-file "$work/openbox.xml" >"$work/openbox.log" 2>&1 &
  window_manager=$!
  groups+=("$window_manager")
  # The desktop count on the root window is published by the window manager once it manages.
  wait_for "the window manager" "$window_manager" xdotool get_num_desktops
}
