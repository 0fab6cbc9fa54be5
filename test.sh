#!/usr/bin/env bash
# Builds Pelkar (installing what is missing) and runs every test, without a
# display. Exits non-zero when any test fails.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
pelkar_install_packages
pelkar_build
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
