#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine. Every step is idempotent; run it as root or as a user with sudo.
#
#   tools/vesk.sh run     install the packages, build, start the program
#   tools/vesk.sh test    install the packages, build, run every test (GUI tests on Xvfb servers of their own)
#   tools/vesk.sh deps | build     just that step
#
# Environment: BUILD_DIR (default: build), CMAKE_ARGS (extra configure arguments), VESK_TEST_JOBS (tests run
# at once; default twice the cores).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${BUILD_DIR:-$here/build}"

packages=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-base-dev-tools qt6-declarative-dev qt6-declarative-dev-tools
    qml6-module-qtquick qml6-module-qtquick-window qml6-module-qtqml-workerscript qml6-module-qttest
    qml6-module-qtqml qml6-module-qtqml-models
    qt6-qpa-plugins libgl-dev libgl1-mesa-dri libxkbcommon-dev
    libhidapi-dev libudev-dev libglib2.0-dev gsettings-desktop-schemas libx11-dev libxi-dev
    g++-mingw-w64-x86-64
    xvfb xauth xdotool fonts-dejavu-core fonts-wqy-microhei
    desktop-file-utils appstream dpkg-dev
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

deps() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
    fi
}

build() {
    # shellcheck disable=SC2086
    cmake -S "$here" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-RelWithDebInfo}" ${CMAKE_ARGS:-}
    cmake --build "$build_dir" --parallel "$(nproc)"
}

test_all() {
    # Each GUI test starts an X server of its own (tests/with-display.sh), so tests run side by side; most of
    # them wait on animations and timers more than they compute, hence twice as many as there are cores.
    (cd "$build_dir" && ctest --output-on-failure --timeout 600 -j "${VESK_TEST_JOBS:-$(($(nproc) * 2))}" "$@")
}

run() {
    if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        echo "No display: starting the program under xvfb-run." >&2
        exec xvfb-run -a -s '-screen 0 1280x1024x24' "$build_dir/bin/vesk-config"
    fi
    exec "$build_dir/bin/vesk-config"
}

case "${1:-}" in
    deps) deps ;;
    build) deps; build ;;
    test) shift; deps; build; test_all "$@" ;;
    run) deps; build; run ;;
    *) sed -n '2,9p' "$0"; exit 2 ;;
esac
