// The built-in 8x8 font, text drawing and the `input` line editor.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace vorlune::graphics {

// One glyph of the built-in font: 8 rows of 8 bytes, row 0 at the top, byte 0
// of a row at the left; 1 means the pixel is set, 0 that it is clear.
struct TBitMapChar {
    uint8_t pixel[8][8];
};

const TBitMapChar& BuiltinGlyph(uint8_t code);   // BuiltinFont: code page 437, bytes 0, 32 and 255 blank

void DrawText(const std::string& text, int32_t x, int32_t y);   // glyphs left to right, one TextSize square per set pixel, in the draw colour
void TextSize(int32_t size);                                     // scale of the font (not validated; 0 draws nothing)
int32_t TextWidth(const std::string& text);                      // 8 * TextSize * bytes
int32_t TextHeight();                                            // 8 * TextSize
void TextInputColor(int32_t r, int32_t g, int32_t b, int32_t alpha);      // colour of the line and cursor in `input`
void TextInputBackColor(int32_t r, int32_t g, int32_t b, int32_t alpha);  // colour `input` clears the line with
std::string Input(int32_t x, int32_t y, int32_t maxLength);      // blocking line editor; Return, keypad Enter or Escape end the line

// How a line editor draws: the cell of one byte (the pen advance and the
// cursor block), the colour of the cursor and line, the colour it clears
// with, and how the line itself is drawn. `input` uses the built-in font,
// `bmpinput` a bitmap font.
struct LineEditorLook {
    int32_t cellWidth = 0;                 // W(line) = cellWidth * bytes, wrapping in 32 bits
    int32_t cellHeight = 0;                // height of the cursor and of every cleared strip
    std::array<int32_t, 4> ink{};          // cursor and line colour
    std::array<int32_t, 4> paper{};        // colour the line is cleared with
    std::function<void(const std::string& line, int32_t x, int32_t y)> drawLine;
};

std::string EditLine(const LineEditorLook& look, int32_t x, int32_t y, int32_t maxLength);  // text input on, cursor, events until Return, keypad Enter or Escape; text input stays on
void ClearLineAndCursor(const LineEditorLook& look, int32_t x, int32_t y, const std::string& line);  // paper colour, fill W(line) + one cell

}  // namespace vorlune::graphics
