#include "graphics/bitmap_font.hpp"

#include <cmath>
#include <vector>

#include <SDL.h>

#include "graphics/frame.hpp"
#include "graphics/sprite.hpp"
#include "graphics/text.hpp"
#include "platform/exit.hpp"
#include "util/wrap.hpp"
#include "core/reset.hpp"
#include "graphics/inspect.hpp"

namespace vorlune::graphics {
namespace {

// The font table, one entry per font number in every array. Entries are
// only ever appended. The image handle is kept as the script gave it and
// checked against the live handles at every draw, so a freed sprite (or an
// image, which is no sprite) draws nothing.
struct BitmapFontTable {
    std::vector<ObjectHandle> image;   // handle of the sprite holding the tiles
    std::vector<int32_t> tileWidth;    // pixels of one tile in the image
    std::vector<int32_t> tileHeight;
    std::vector<int32_t> columns;      // tiles per row: image width / tile width, ties to even
    std::vector<int32_t> scaleX;       // whole-number size factors of drawn tiles
    std::vector<int32_t> scaleY;
    std::vector<int32_t> backRed, backGreen, backBlue, backAlpha;      // bmpinput clears with this
    std::vector<int32_t> inputRed, inputGreen, inputBlue, inputAlpha;  // bmpinput cursor colour
    std::vector<double> angle;         // rotation of every tile, degrees
    int32_t count = 0;                 // fonts created; valid numbers are 0 .. count - 1
    std::vector<std::string> fontface; // the character of each tile in reading order
} bitmapfont;

// A font number that names no font: error box, SDL_Quit alone, exit 0.
[[noreturn]] void NoFont() {
    platform::EndRun({.flags = SDL_MESSAGEBOX_ERROR, .title = "No font", .text = "Font not loaded!",
                      .shutdown = platform::Shutdown::Sdl});
}

// The index of a valid font number; anything else ends the process.
std::size_t Font(int32_t font) {
    if (font < 0 || font >= bitmapfont.count) NoFont();
    return static_cast<std::size_t>(font);
}

// Pixel offset of the 1-based tile index in the image, wrapping.
int32_t TileOrigin(int32_t index, int32_t size) {
    return static_cast<int32_t>((static_cast<uint32_t>(index) - 1u) * static_cast<uint32_t>(size));
}

}  // namespace

bool LocateTile(const std::string& fontface, int32_t columns, uint8_t c, int32_t& column, int32_t& row) {
    // Reading order, the last occurrence winning: with columns of 1 or more
    // position p (from 0) lies at column p mod columns, row p div columns;
    // with fewer every tile starts a row of its own.
    const std::size_t p = fontface.rfind(static_cast<char>(c));
    if (p == std::string::npos) return false;
    const uint64_t position = p;
    const uint64_t perRow = columns >= 1 ? static_cast<uint64_t>(columns) : 1;
    column = static_cast<int32_t>(static_cast<uint32_t>(position % perRow + 1));
    row = static_cast<int32_t>(static_cast<uint32_t>(position / perRow + 1));
    return true;
}

int32_t CreateBmpFont(Sprite sprite, int32_t tileWidth, int32_t tileHeight, const std::string& fontface) {
    // The columns are worked out from the tile size: a size of 0 is an
    // unhandled run-time error.
    if (tileWidth == 0 || tileHeight == 0) platform::UnhandledError("Division by zero");
    // Halves to even: the default rounding mode. The quotient's magnitude is
    // at most the image width, so it fits.
    const double columns = std::nearbyint(static_cast<double>(SpriteWidth(sprite)) / tileWidth);
    BitmapFontTable& t = bitmapfont;
    t.image.push_back(sprite.handle);
    t.tileWidth.push_back(tileWidth);
    t.tileHeight.push_back(tileHeight);
    t.columns.push_back(static_cast<int32_t>(columns));
    t.scaleX.push_back(1);
    t.scaleY.push_back(1);
    t.backRed.push_back(0);
    t.backGreen.push_back(0);
    t.backBlue.push_back(0);
    t.backAlpha.push_back(255);
    t.inputRed.push_back(255);
    t.inputGreen.push_back(255);
    t.inputBlue.push_back(255);
    t.inputAlpha.push_back(255);
    t.angle.push_back(0.0);
    t.fontface.push_back(fontface);
    return t.count++;
}

int32_t TileSet(Sprite image, int32_t tileWidth, int32_t tileHeight, const std::string& fontface) {
    return CreateBmpFont(image, tileWidth, tileHeight, fontface);
}

void BmpText(const std::string& text, int32_t x, int32_t y, int32_t font) {
    const std::size_t f = Font(font);
    const BitmapFontTable& t = bitmapfont;
    const std::string& face = t.fontface[f];
    const int32_t w = t.tileWidth[f], h = t.tileHeight[f];
    const int32_t advance = util::WrapMul(w, t.scaleX[f]);
    // A space only advances the pen, unless the fontface holds nothing but
    // spaces.
    const bool skipSpaces = face.find_first_not_of(' ') != std::string::npos;
    // The sprite is looked up once for the whole text.
    const Sprite sprite = Sprite::Resolve(t.image[f]);
    const bool drawable = Drawable(sprite);
    const double scaleX = t.scaleX[f], scaleY = t.scaleY[f];
    int32_t penX = x;
    for (char byte : text) {
        int32_t column = 0, row = 0;
        // A byte the fontface does not hold draws nothing.
        if (drawable && !(byte == ' ' && skipSpaces) &&
            LocateTile(face, t.columns[f], static_cast<uint8_t>(byte), column, row)) {
            const SDL_Rect source{TileOrigin(column, w), TileOrigin(row, h), w, h};
            CopySprite(sprite, &source, penX, y, w, h, scaleX, scaleY, t.angle[f], false, false);
        }
        penX = util::WrapAdd(penX, advance);
    }
}

void DrawTile(const std::string& text, int32_t x, int32_t y, int32_t tileset) { BmpText(text, x, y, tileset); }

void BmpInputColor(int32_t font, int32_t r, int32_t g, int32_t b, int32_t alpha) {
    const std::size_t f = Font(font);
    bitmapfont.inputRed[f] = r;
    bitmapfont.inputGreen[f] = g;
    bitmapfont.inputBlue[f] = b;
    bitmapfont.inputAlpha[f] = alpha;
}

void BmpInputBackColor(int32_t font, int32_t r, int32_t g, int32_t b, int32_t alpha) {
    const std::size_t f = Font(font);
    bitmapfont.backRed[f] = r;
    bitmapfont.backGreen[f] = g;
    bitmapfont.backBlue[f] = b;
    bitmapfont.backAlpha[f] = alpha;
}

void BmpFontSize(int32_t font, int32_t width, int32_t height) {
    const std::size_t f = Font(font);
    bitmapfont.scaleX[f] = width;
    bitmapfont.scaleY[f] = height;
}

void BmpFontAngle(int32_t font, double angle) { bitmapfont.angle[Font(font)] = angle; }

int32_t BmpFontWidth(int32_t font) {
    const std::size_t f = Font(font);
    return util::WrapMul(bitmapfont.tileWidth[f], bitmapfont.scaleX[f]);
}

int32_t BmpFontHeight(int32_t font) {
    const std::size_t f = Font(font);
    return util::WrapMul(bitmapfont.tileHeight[f], bitmapfont.scaleY[f]);
}

std::string BmpInput(int32_t x, int32_t y, int32_t maxLength, int32_t font) {
    // The font is checked before text input is turned on.
    const std::size_t f = Font(font);
    const BitmapFontTable& t = bitmapfont;
    LineEditorLook look;
    look.cellWidth = BmpFontWidth(font);
    look.cellHeight = BmpFontHeight(font);
    look.ink = {t.inputRed[f], t.inputGreen[f], t.inputBlue[f], t.inputAlpha[f]};
    look.paper = {t.backRed[f], t.backGreen[f], t.backBlue[f], t.backAlpha[f]};
    look.drawLine = [font](const std::string& line, int32_t lx, int32_t ly) { BmpText(line, lx, ly, font); };
    std::string line = EditLine(look, x, y, maxLength);
    // Remove the cursor and present the final line before text input goes
    // off; the drawing colour stays the back colour.
    ClearLineAndCursor(look, x, y, line);
    BmpText(line, x, y, font);
    Sync();
    SDL_StopTextInput();
    return line;
}

int32_t BmpFontColumns(int32_t font) { return bitmapfont.columns[Font(font)]; }

const core::ResetHook resetHook([] { bitmapfont = BitmapFontTable{}; });

}  // namespace vorlune::graphics
