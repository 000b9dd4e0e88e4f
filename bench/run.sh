#!/bin/sh
# Runs the benchmarks and writes bench/RESULTS.md (see bench/README.md).
#   bench/run.sh                     everything (what ./dev.sh bench runs)
#   bench/run.sh --quick             one run per figure, shorter runs, no instruction counts
#   bench/run.sh [measure.py options] e.g. --runs 5 --only sprites,startup
# Installs what it needs (as root or with sudo), builds the interpreter in
# build-bench and the floor programs in build-bench-floor (release flags),
# makes the assets in bench/out, measures, and generates the report.
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)
OUT=$ROOT/bench/out
JOBS=$(nproc 2>/dev/null || echo 2)

PACKAGES="g++ cmake make pkg-config liblua5.2-dev libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev
          lua5.2 love xvfb libgl1-mesa-dri libegl-mesa0 hyperfine valgrind time python3"

missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
fi

if [ "${1:-}" = "--quick" ]; then
    shift
    set -- --runs 1 --budget 400 --startup-runs 3 --no-callgrind "$@"
fi

echo "Building the interpreter (build-bench) and the floor programs (build-bench-floor)"
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DVORLUNE_TESTS=OFF >/dev/null
cmake --build build-bench -j "$JOBS" --target vorlune >/dev/null
cmake -S bench/floor -B build-bench-floor -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench-floor -j "$JOBS" >/dev/null

echo "Making the assets in bench/out"
rm -rf "$OUT/love" "$OUT/fontdump" "$OUT/callgrind"
mkdir -p "$OUT/fontdump"
cp bench/scenes/*.lua "$OUT/"
cp -R bench/love "$OUT/love"
headless="env -u DISPLAY SDL_VIDEODRIVER=dummy SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy"
(cd "$OUT" && $headless "$ROOT/build-bench-floor/make_assets" sprite)
# The built-in font's pixels, as the interpreter draws them, for the floor
# and LÖVE text programs: the dummy driver saves every presented frame.
rm -f "$OUT/font.bin" "$OUT/font_love.png"
cp bench/scenes/fontdump.lua "$OUT/fontdump/"
if (cd "$OUT/fontdump" && $headless SDL_VIDEO_DUMMY_SAVE_FRAMES=1 "$ROOT/build-bench/vorlune" fontdump.lua >/dev/null 2>&1) &&
   frame=$(ls "$OUT"/fontdump/SDL_window*.bmp 2>/dev/null | tail -n 1) && [ -n "$frame" ]; then
    (cd "$OUT" && $headless "$ROOT/build-bench-floor/make_assets" font "$frame")
else
    echo "The interpreter could not draw the font: the text scene is skipped."
fi
cp "$OUT/sprite.png" "$OUT/love/sprites/"
[ -f "$OUT/font_love.png" ] && cp "$OUT/font_love.png" "$OUT/love/text/"

echo "Measuring"
python3 bench/measure.py "$@"
python3 bench/report.py
echo "Wrote bench/RESULTS.md"
