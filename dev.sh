#!/bin/sh
# Vorlune developer commands.
#   ./dev.sh demo    install what is missing, build, run the demo
#   ./dev.sh test    install what is missing, build (plain and sanitizer builds), run every test
#   ./dev.sh build   build build/vorlune and build/vorlune-bind only
#   ./dev.sh bench   run the benchmarks (see bench/README.md)
set -eu
cd "$(dirname "$0")"

PACKAGES="g++ cmake make pkg-config liblua5.2-dev libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev libgtest-dev"
JOBS=$(nproc 2>/dev/null || echo 2)

install_missing() {
    missing=""
    for p in $PACKAGES "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q $missing
}

build() {  # build DIR [cmake options...]
    dir=$1
    shift
    cmake -S . -B "$dir" "$@"
    cmake --build "$dir" -j "$JOBS"
}

headless_test() {  # run every test of a build directory without a display
    env -u DISPLAY SDL_VIDEODRIVER=dummy SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy \
        ctest --test-dir "$1" -j "$JOBS" --output-on-failure
}

case "${1:-}" in
demo)
    install_missing
    build build -DVORLUNE_TESTS=OFF
    # Without a sound device the mixer cannot open and the interpreter stops
    # with a box; let the demo run silently instead.
    if [ ! -e /dev/snd ] && [ -z "${PULSE_SERVER:-}" ] && [ ! -S "${XDG_RUNTIME_DIR:-/nonexistent}/pulse/native" ]; then
        echo "No sound device found: the demo runs without sound."
        export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
    fi
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        build/vorlune examples/hello.lua
    else
        echo "No display found: running the demo headless (nothing is shown)."
        env SDL_VIDEODRIVER=dummy SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy build/vorlune examples/hello.lua
    fi
    ;;
test)
    install_missing
    build build -DVORLUNE_TESTS=ON
    headless_test build
    build build-asan -DVORLUNE_TESTS=ON -DVORLUNE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
    headless_test build-asan
    ;;
build)
    install_missing
    build build
    ;;
bench)
    exec bench/run.sh
    ;;
*)
    sed -n '2,6p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
    ;;
esac
