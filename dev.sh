#!/bin/sh
# Vorlune developer commands.
#   ./dev.sh demo    install what is missing, build, run the demo
#   ./dev.sh test    install what is missing, build (plain and sanitizer builds), run every test,
#                    and the golden frames on SDL's OpenGL renderer under Xvfb with Mesa
#   ./dev.sh build   build build/vorlune, build/vorlune-bind and build/vorlune-run only
#   ./dev.sh package build the Debian package build-package/vorlune_<version>_<arch>.deb
#   ./dev.sh bench   run the benchmarks (see bench/README.md)
#   ./dev.sh fuzz    long random-call campaign on the sanitizer build (see docs/testing.md);
#                    fuzz min|repro SCRIPT, fuzz targets [SECONDS] for the libFuzzer targets
set -eu
cd "$(dirname "$0")"

PACKAGES="g++ cmake make pkg-config liblua5.2-dev libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev libgtest-dev python3 xvfb xauth xdotool"
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

# The golden frames on SDL's OpenGL renderer (Mesa) in a private X server.
# They fail, rather than skip, when no OpenGL renderer can be made.
GL_PACKAGES="xvfb xauth libgl1-mesa-dri"

gl_test() {
    xvfb-run -a -s "-screen 0 1024x768x24" env VORLUNE_TEST_GL=1 SDL_AUDIODRIVER=dummy \
        "$1/tests/vorlune_tests" --gtest_filter='GoldenTest.*' --gtest_brief=1
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
    install_missing $GL_PACKAGES
    build build -DVORLUNE_TESTS=ON
    headless_test build
    gl_test build
    build build-asan -DVORLUNE_TESTS=ON -DVORLUNE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
    headless_test build-asan
    ;;
build)
    install_missing
    build build -DVORLUNE_TESTS=OFF
    ;;
package)
    install_missing
    build build-package -DVORLUNE_TESTS=OFF -DCMAKE_BUILD_TYPE=Release
    rm -f build-package/vorlune_*.deb
    (cd build-package && cpack -G DEB)
    dpkg-deb --info build-package/vorlune_*.deb
    ;;
bench)
    exec bench/run.sh
    ;;
fuzz)
    shift
    case "${1:-run}" in
    targets)
        # libFuzzer targets, each run for SECONDS (default 600) on its own
        # corpus in fuzz-corpus/; crashes are written to fuzz-corpus/.
        install_missing clang
        CC=clang CXX=clang++ build build-fuzz-lib -DVORLUNE_FUZZ=ON -DVORLUNE_TESTS=OFF -DCMAKE_BUILD_TYPE=Debug
        for t in appended_script_fuzz strings_fuzz; do
            mkdir -p "fuzz-corpus/$t"
            build-fuzz-lib/tools/fuzz/$t -max_total_time="${2:-600}" -artifact_prefix=fuzz-corpus/ "fuzz-corpus/$t"
        done
        ;;
    min|repro)
        install_missing
        exec python3 tools/fuzz/apifuzz.py "$@" --exe build-asan/vorlune
        ;;
    *)
        # A long campaign: options of `tools/fuzz/apifuzz.py run` override these.
        install_missing
        build build-asan -DVORLUNE_TESTS=ON -DVORLUNE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
        [ "${1:-}" = run ] && shift
        exec python3 tools/fuzz/apifuzz.py run --exe build-asan/vorlune --seed 2026 --scripts 6000 --calls 250 \
            --jobs "$JOBS" --out fuzz-out --known tools/fuzz/known_failures.txt "$@"
        ;;
    esac
    ;;
*)
    sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
    ;;
esac
