#!/usr/bin/env bash
# Installs any missing Debian package the build needs, then configures and
# builds Pelkar in build/. Sourced by run.sh and test.sh.
set -euo pipefail

# xvfb, openbox, xdotool, wmctrl and x11-utils: the desktop tests run the
# program under a real X server and window manager.
PELKAR_PACKAGES=(qt6-base-dev qt6-qpa-plugins qt6-image-formats-plugins libgl-dev
                 cmake ninja-build g++ libbenchmark-dev poppler-utils desktop-file-utils
                 xvfb openbox xdotool wmctrl x11-utils)

pelkar_missing_packages() {
    local p
    for p in "${PELKAR_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
    done
}

pelkar_install_packages() {
    local missing
    missing=$(pelkar_missing_packages)
    [ -z "$missing" ] && return 0
    echo "Installing: $missing"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
}

pelkar_build() {
    local root
    root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release
    cmake --build "$root/build" --parallel
}

# The same build with AddressSanitizer and UndefinedBehaviorSanitizer, in its
# own folder build-asan/ so the ordinary build is left as it is. The
# benchmarks are left out: nothing runs them there. ccache is used when the
# machine has it, since this build is slow.
pelkar_build_sanitized() {
    local root launcher=()
    root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DPELKAR_SANITIZE=ON -DPELKAR_BUILD_BENCH=OFF "${launcher[@]}"
    cmake --build "$root/build-asan" --parallel
}
