#!/usr/bin/env bash
# Builds kyxTavlo (installing what is missing) and starts it; every argument is a file to open.
set -euo pipefail
source "$(dirname "$0")/tools/setup.sh"
kyx_install_program_folder
exec "$KYX_BUILD/kyxtavlo" "$@"
