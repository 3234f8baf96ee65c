#!/usr/bin/env bash
# Takes the pictures of the editor that README.md shows: the real program's main window with a small
# Danish document open, once in each of two designs. The program runs under a private X server with
# the openbox window manager, a temporary home and data root, so nothing of the machine's user is
# read or touched.
#   tools/screenshots.sh           ->   docs/images/editor-<design, spaces as _>.png, and the options
#                                       and Dokument pages
#   tools/screenshots.sh designs   ->   a rich-text letter in each of the twelve designs,
#                                       docs/images/designs/<design>.png, and all of them on one
#                                       contact sheet, docs/images/designs.png
#   tools/screenshots.sh tour [design...]
#                                  ->   a tour of the windows for looking at, not for the README:
#                                       the main window with each command panel page, both document
#                                       windows and the boxes F3 to F9, at the standard size and
#                                       maximised, then the open, save and printer dialogs, the print
#                                       box and the information and question boxes
#                                       (tools/tour_dialogs.py), on a 1366x768 screen, in the designs
#                                       named (all twelve when none is), under
#                                       /tmp/kyxtavlo-tour/<design>/
set -uo pipefail
mode=${1:-readme}

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$top/build"
images="$top/docs/images"
designs=("Sky" "Smokey Quartz Kamri")
all_designs=("Windows" "Aqua Light Slate" "Iceberg Classico" "Lavender Classico" "Sapphire Kamri" "Silver" "Sky"
  "Smokey Quartz Kamri" "Windows10" "Windows10 Clear Day" "Windows11 Impressive Light" "Windows11 Modern Light")
if [ "$mode" = tour ]; then
  shift
  designs=("$@")
  ((${#designs[@]})) || designs=("${all_designs[@]}")
  images=/tmp/kyxtavlo-tour
fi
if [ "$mode" = designs ]; then
  designs=("Windows" "Aqua Light Slate" "Iceberg Classico" "Lavender Classico" "Sapphire Kamri" "Silver" "Sky"
    "Smokey Quartz Kamri" "Windows10" "Windows10 Clear Day" "Windows11 Impressive Light" "Windows11 Modern Light")
fi
screen_size=1280x900x24
[ "$mode" = tour ] && screen_size=1366x768x24
startup_seconds=30

# What this script uses beyond the build tools: the X server, the window manager, xdotool to find the
# window and ImageMagick to take and shrink the picture.
# shellcheck source=packages.sh
source "$top/tools/packages.sh"
install_missing xvfb openbox xdotool x11-utils imagemagick fonts-dejavu-core || exit 2
# ImageMagick's own tools, whatever else stands earlier on the path under the same names.
import=/usr/bin/import
convert=/usr/bin/convert

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 2
fi
cmake --build "$build" --target kyxtavlo -j"$(nproc)" || exit 2
program="$build/kyxtavlo"

work=$(mktemp -d "${TMPDIR:-/tmp}/kyx-shots.XXXXXX") || exit 2

desktop_name=screenshots
# shellcheck source=private-desktop.sh
source "$top/tools/private-desktop.sh"
clean_environment
mkdir -p "$images" || exit 2
[ "$mode" = designs ] && { mkdir -p "$images/designs" || exit 2; }
start_desktop '<keyboard><keybind key="A-F10"><action name="ToggleMaximize"/></keybind></keyboard>'

# The document: a short Danish note as a Windows user writes it (Windows-1252, CR LF).
document="$work/Indkøbsliste.txt"
printf '%s\r\n' \
  "Indkøbsliste til weekenden" \
  "" \
  "Rugbrød, smør og røget laks" \
  "Æbler, pærer og blåbær til grøden" \
  "Fløde og æg til æggekagen" \
  "Kaffe – den gode fra risteriet på hjørnet" \
  "" \
  "Husk: Ølandsvej 12 åbner først kl. 10 lørdag." |
  iconv -f UTF-8 -t WINDOWS-1252 >"$document" || exit 2

# The letter for the designs: rich text with a heading, formatting and a list, so that the
# rich-text window's whole tool panel has something to show.
letter="$work/Brev.rtf"
printf '%s' '{\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}}{\colortbl;\red0\green0\blue160;}' \
  '\f0\fs32\b K\'"'"'e6re Ole\b0\fs22\par Tak for en dejlig weekend i sommerhuset. Vi n\'"'"'e5ede ' \
  'b\'"'"'e5de \i str\'"'"'e5nden\i0  og \cf1 r\'"'"'f8get laks\cf0  ved havnen.\par\par ' \
  'Husk til n\'"'"'e6ste gang:\par - fiskestangen\par - \ul bl\'"'"'e5b\'"'"'e6rt\'"'"'e6rten\ulnone\par}' >"$letter" || exit 2

user=$(id -un)
title="Velkommen $user"

main_window() { # pid: prints the id of the program's visible main window
  titled_window "$1" "$title"
}

# The settings that choose the design: the user's options file, the design on its first line and
# the other nineteen at their defaults.
write_options() { # settings folder, design
  printf '%s\r\n' "$2" 0 0 0 0 0 0 0 0 3 2 0 1 1 0 120 0 1 0 0 >"$1/optUnit.txt"
}

# Where a window lies on the screen with its title bar and borders: the window manager's frame shows
# which buttons a window offers, so it belongs in the picture.
frame_geometry() { # window: prints WxH+X+Y of the window and its frame
  local info x y width height extents left right top bottom
  info=$(xwininfo -id "$1" 2>/dev/null) || return 1
  x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
  y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
  width=$(sed -n 's/^ *Width: *//p' <<<"$info")
  height=$(sed -n 's/^ *Height: *//p' <<<"$info")
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.* = //p' | tr -d ' ')
  IFS=, read -r left right top bottom <<<"${extents:-0,0,0,0}"
  echo "$((width + left + right))x$((height + top + bottom))+$((x - left))+$((y - top))"
}

# The picture is taken once the window has stopped changing: what was asked for is in and painted.
# A blinking caret makes a window alternate between two pictures; a picture seen again one or two
# grabs later counts as settled. It is cut from the whole screen, because grabbing a single window
# of the program now and then never returned. The window is looked up by its title each time: Qt
# may give a box a new window while it opens.
photograph() { # pid, window title, name of the run, picture file
  local pid=$1 title=$2 shot="$work/shot-$3.png" previous="$work/previous-$3.png" before="$work/before-$3.png"
  local deadline window geometry
  deadline=$((SECONDS + startup_seconds))
  rm -f "$previous" "$before"
  while :; do
    kill -0 "$pid" 2>/dev/null || fail "the program ended while showing $3"
    ((SECONDS < deadline)) || fail "the window in $3 did not settle"
    sleep 0.5
    window=$(titled_window "$pid" "$title") || continue
    geometry=$(frame_geometry "$window") || continue
    timeout 10 "$import" -silent -window root -crop "$geometry" +repage "$shot" 2>>"$work/import.log" || continue
    [ -f "$previous" ] && cmp -s "$shot" "$previous" && break
    [ -f "$before" ] && cmp -s "$shot" "$before" && break
    [ -f "$previous" ] && mv "$previous" "$before"
    mv "$shot" "$previous"
  done
  "$convert" "$shot" -strip -define png:compression-level=9 "$4" || exit 2
  echo "$4 ($(stat -c %s "$4") bytes)"
}

# Keys go in as a user types them: to the window made active, through the X server's keyboard. A key
# sent to a window that is not active can be lost.
press() { # window, keys...
  local window=$1
  shift
  xdotool windowactivate --sync "$window" key "$@" >/dev/null 2>&1
}

titled_window() { # pid, title: prints the id of the program's visible window with that title
  local id
  for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
    [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$2" ] && { echo "$id"; return 0; }
  done
  return 1
}

# The boxes the function keys open, with their titles.
tour_boxes=("F3:Mapper og filer" "F4:Favoritter" "F5:Åbne og lukkede dokumenter" "F6:Søg i dokumenter"
  "F7:Søg efter mapper og filer" "F8:Filtypeboksen" "F9:Genveje")

tour() { # pid, main window, folder
  local pid=$1 window=$2 folder=$3 size page entry key box_title
  mkdir -p "$folder" || exit 2
  for size in standard maximised; do
    if [ "$size" = maximised ]; then
      press "$window" alt+F10
    fi
    # The letter is open in the rich-text window; a text document beside it.
    photograph "$pid" "$title" "$size-rich" "$folder/$size-rich-window.png"
    press "$window" ctrl+n
    photograph "$pid" "$title" "$size-text" "$folder/$size-text-window.png"
    for page in 1 2 3 4 5 6 7; do
      press "$window" "ctrl+$page"
      photograph "$pid" "$title" "$size-page-$page" "$folder/$size-page-$page.png"
      press "$window" "ctrl+$page"
    done
    press "$window" ctrl+l
  done
  for entry in "${tour_boxes[@]}"; do
    key=${entry%%:*}
    box_title=${entry#*:}
    press "$window" "$key"
    wait_for "the box $box_title" "$pid" titled_window "$pid" "$box_title"
    photograph "$pid" "$box_title" "box-$key" "$folder/box-$key.png"
    press "$(titled_window "$pid" "$box_title")" Escape
  done
}

run=0
for design in "${designs[@]}"; do
  run=$((run + 1))
  root="$work/data-$run"
  settings="$root/Brugere/$user/Egenskaber"
  mkdir -p "$root/Program" "$settings" && cp -a "$top/resources/program/." "$root/Program/" || exit 2
  write_options "$settings" "$design"

  opened=$document
  [ "$mode" != readme ] && opened=$letter
  KYXTAVLO_DATA_ROOT="$root" "$program" "$opened" >"$work/kyxtavlo-$run.log" 2>&1 &
  pid=$!
  groups+=("$pid")
  wait_for "the main window in $design" "$pid" main_window "$pid"
  window=$(main_window "$pid")
  # Wherever the program put itself, the whole window goes on the screen.
  xdotool windowmove --sync "$window" 0 0 >/dev/null 2>&1

  if [ "$mode" = tour ]; then
    tour "$pid" "$window" "$images/${design// /_}"
    end_group "$pid" 2>/dev/null
    unset 'groups[${#groups[@]}-1]'
    # The dialogs open from buttons, found by name on the accessibility bus of a desktop of their own.
    KYX_E2E_SCREEN_SIZE=${screen_size} KYX_TOUR_DESIGN=$design KYX_TOUR_FOLDER="$images/${design// /_}" \
      "$top/tests/e2e/run_e2e.sh" "$program" "$top/tools/tour_dialogs.py" || fail "the dialogs in $design"
    continue
  fi
  if [ "$mode" = designs ]; then
    photograph "$pid" "$title" "$run-letter" "$images/designs/${design// /_}.png"
    end_group "$pid" 2>/dev/null
    unset 'groups[${#groups[@]}-1]'
    continue
  fi
  photograph "$pid" "$title" "$run-document" "$images/editor-${design// /_}.png"
  # The same window with the "Egenskaber" page open over the documents (Ctrl+6).
  press "$window" ctrl+6
  photograph "$pid" "$title" "$run-options" "$images/options-${design// /_}.png"
  # The "Dokument" page above the document (Ctrl+6 hides the options, Ctrl+2 opens the page).
  press "$window" ctrl+6 ctrl+2
  photograph "$pid" "$title" "$run-dokument" "$images/dokument-${design// /_}.png"

  end_group "$pid" 2>/dev/null # the shell's own note that the job ended
  unset 'groups[${#groups[@]}-1]'
done

if [ "$mode" = tour ]; then
  echo "The tour's pictures: $images"
fi
if [ "$mode" = designs ]; then
  # The contact sheet: every design side by side, named under its picture.
  sheet=()
  for design in "${designs[@]}"; do
    sheet+=(-label "$design" "$images/designs/${design// /_}.png")
  done
  /usr/bin/montage -font DejaVu-Sans -pointsize 15 "${sheet[@]}" -tile 4x3 -geometry 480x360+8+8 \
    -strip "$images/designs.png" || exit 2
  echo "$images/designs.png ($(stat -c %s "$images/designs.png") bytes)"
fi
