#!/usr/bin/env bash
# Builds Pelkar (installing what is missing) and runs every test, without a
# display. Exits non-zero when any test fails.
#   ./test.sh --sanitize   builds in build-asan/ with AddressSanitizer and
#                          UndefinedBehaviorSanitizer and runs every test there
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
pelkar_install_packages

if [ "${1:-}" = "--sanitize" ]; then
    pelkar_build_sanitized
    cd build-asan
    # Leak checking is off: Qt's offscreen platform plugin and fontconfig keep
    # memory until the process ends, which would fail every window test.
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
    exit
fi

pelkar_build
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
