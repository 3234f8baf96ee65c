# Sourced by the scripts that need Debian packages (tools/setup.sh, tools/screenshots.sh, the
# benchmarks): install_missing <package...> installs those not installed yet, as root or through
# sudo, and fails when apt does.
install_missing() {
  local p missing=() sudo=""
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  echo "Installing: ${missing[*]}" >&2
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq || return 1
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
