#!/usr/bin/env bash
# Installs the Debian packages the editor and its tests need (only those missing), then builds.
# Sourced by run.sh and test.sh; nothing here depends on anything installed by hand.
set -euo pipefail

KYX_TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KYX_BUILD="$KYX_TOP/build"

kyx_packages=(
  cmake g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-qpa-plugins libgl-dev qt6-translations-l10n
  libhunspell-dev hunspell-da
  breeze-icon-theme
  librsvg2-bin dpkg-dev file
  desktop-file-utils appstream libgtk-3-bin
  xvfb openbox xdotool x11-utils at-spi2-core python3-pyatspi dbus-x11 dbus-daemon xauth
  poppler-utils
)

# shellcheck source=packages.sh
source "$KYX_TOP/tools/packages.sh"

kyx_build() {
  cmake -S "$KYX_TOP" -B "$KYX_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$KYX_BUILD" -j"$(nproc)"
}

# Lays out the program folder below the data root as an installation would: the program itself
# only reads it.
kyx_install_program_folder() {
  local root="${KYXTAVLO_DATA_ROOT:-$HOME/kyxTavlo3}"
  mkdir -p "$root/Program/Information" "$root/Program/scripts"
  cp -a "$KYX_TOP/resources/program/." "$root/Program/"
}

install_missing "${kyx_packages[@]}"
kyx_build
