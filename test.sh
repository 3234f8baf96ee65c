#!/usr/bin/env bash
# Builds kyxTavlo (installing what is missing) and runs every test, the real-window tests included.
set -euo pipefail
source "$(dirname "$0")/tools/setup.sh"
cd "$KYX_BUILD"
ctest --output-on-failure -j"$(nproc)" "$@"
