#!/usr/bin/env bash
# Builds Pelkar (installing what is missing) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
pelkar_install_packages
pelkar_build
exec ./build/src/app/pelkar "$@"
