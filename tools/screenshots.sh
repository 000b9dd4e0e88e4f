#!/bin/sh
# Regenerates examples/*_screenshot.png: runs every example headless on SDL's
# dummy drivers with frame saving on, keeps one chosen frame and writes it as
# PNG. Each example runs in a copy of examples/ in a temporary directory,
# because the saved frames land in the script's working directory.
#
#   tools/screenshots.sh [path/to/vorlune]      (default: build/vorlune)
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
VORLUNE=$(realpath "${1:-$ROOT/build/vorlune}")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# example, frame to keep, extra arguments
SHOTS="
hello 200
sprites 120
sound 90
animation 150
particles 150
bmpfont 120
breakout 420 --demo 900
"

# Converts the 24-bit bottom-up BMP the dummy driver saves into a PNG.
bmp_to_png() {
    python3 - "$1" "$2" <<'EOF'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
offset, = struct.unpack_from("<I", data, 10)
width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
assert bits == 24, bits
stride = (width * 3 + 3) & ~3
rows = []
for y in range(abs(height)):
    src = y if height < 0 else abs(height) - 1 - y
    line = data[offset + src * stride: offset + src * stride + width * 3]
    rgb = bytearray(width * 3)
    rgb[0::3], rgb[1::3], rgb[2::3] = line[2::3], line[1::3], line[0::3]
    rows.append(b"\0" + bytes(rgb))
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
header = struct.pack(">IIBBBBB", width, abs(height), 8, 2, 0, 0, 0)  # 8-bit RGB
with open(sys.argv[2], "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(b"".join(rows), 9))
            + chunk(b"IEND", b""))
EOF
}

echo "$SHOTS" | while read -r name frame args; do
    [ -n "$name" ] || continue
    dir="$WORK/$name"
    cp -r "$ROOT/examples" "$dir"
    want=$(printf '%s/SDL_window1-%08d.bmp' "$dir" "$frame")
    # shellcheck disable=SC2086  # args splits into words on purpose
    (cd "$dir" && exec env -u DISPLAY SDL_VIDEODRIVER=dummy SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy \
        SDL_VIDEO_DUMMY_SAVE_FRAMES=1 "$VORLUNE" "$name.lua" $args >/dev/null) &
    pid=$!
    # Stop the example once the frame after the wanted one exists, so the
    # wanted one is complete; an example that ends earlier simply ends.
    next=$(printf '%s/SDL_window1-%08d.bmp' "$dir" $((frame + 1)))
    while kill -0 "$pid" 2>/dev/null && [ ! -e "$next" ]; do
        sleep 0.1
        find "$dir" -maxdepth 1 -name 'SDL_window*.bmp' ! -name "${want##*/}" ! -name "${next##*/}" -delete
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    if [ ! -e "$want" ]; then
        echo "$name: frame $frame was never presented" >&2
        exit 1
    fi
    bmp_to_png "$want" "$ROOT/examples/${name}_screenshot.png"
    rm -rf "$dir"
    echo "examples/${name}_screenshot.png"
done
