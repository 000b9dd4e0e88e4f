#!/bin/sh
# Regenerates examples/*_screenshot.png: runs every example with vorlune-run
# (headless, virtual clock, fixed seed) and keeps one chosen frame as PNG.
#
#   tools/screenshots.sh [path/to/vorlune-run]      (default: build/vorlune-run)
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
RUNNER=$(realpath "${1:-$ROOT/build/vorlune-run}")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# example, frame to keep, script arguments
SHOTS="
hello 200
sprites 120
sound 90
animation 150
particles 150
bmpfont 120
breakout 420 --demo 900
"

echo "$SHOTS" | while read -r name frame args; do
    [ -n "$name" ] || continue
    # shellcheck disable=SC2086  # args splits into words on purpose
    "$RUNNER" "$ROOT/examples/$name.lua" --seed 1 --frames "$frame" --shots "$WORK/$name" --at "$frame" \
        -- $args >/dev/null 2>"$WORK/$name.log" || { cat "$WORK/$name.log" >&2; exit 1; }
    shot=$(printf '%s/%s/frame-%06d.png' "$WORK" "$name" "$frame")
    if [ ! -e "$shot" ]; then
        echo "$name: frame $frame was never presented" >&2
        exit 1
    fi
    cp "$shot" "$ROOT/examples/${name}_screenshot.png"
    echo "examples/${name}_screenshot.png"
done
