// Bitmap fonts and tilesets: a sprite holding a grid of equal tiles, and a
// string (the fontface) naming the character of each tile in reading order.
// Text is drawn tile by tile with the part-drawing operation of sprites;
// fonts are numbered from 0 in order of creation and never removed.
//
// Every operation that takes a font number ends the process with the
// "No font" box when the number is not one of a created font.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/sprite.hpp"

namespace vorlune::graphics {

int32_t CreateBmpFont(Sprite sprite, int32_t tileWidth, int32_t tileHeight, const std::string& fontface);  // append a font, return its number; tile size 0 ends the process
int32_t TileSet(Sprite image, int32_t tileWidth, int32_t tileHeight, const std::string& fontface);         // the same as CreateBmpFont
void BmpText(const std::string& text, int32_t x, int32_t y, int32_t font);       // one tile per byte from pen (x,y), advancing one cell each
void DrawTile(const std::string& text, int32_t x, int32_t y, int32_t tileset);   // the same as BmpText
void BmpInputColor(int32_t font, int32_t r, int32_t g, int32_t b, int32_t alpha);      // colour of the bmpinput cursor
void BmpInputBackColor(int32_t font, int32_t r, int32_t g, int32_t b, int32_t alpha);  // colour bmpinput clears the line with
void BmpFontSize(int32_t font, int32_t width, int32_t height);                   // whole-number size factors of drawn tiles
void BmpFontAngle(int32_t font, double angle);                                   // rotation of every drawn tile, degrees
std::string BmpInput(int32_t x, int32_t y, int32_t maxLength, int32_t font);     // line editor drawing with the font; the final line is presented
int32_t BmpFontWidth(int32_t font);                                              // cell width: tile width * size factor, wrapping
int32_t BmpFontHeight(int32_t font);                                             // cell height: tile height * size factor, wrapping

bool LocateTile(const std::string& fontface, int32_t columns, uint8_t c, int32_t& column, int32_t& row);  // 1-based tile of c's last occurrence; false when absent

}  // namespace vorlune::graphics
