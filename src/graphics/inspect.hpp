// Read-only views of graphics state that scripts cannot query, for tests.
// Engine code does not include this header.
#pragma once

#include <cstdint>

namespace vorlune::graphics {

void GetBackColour(int32_t out[4]);   // the background colour as stored (draw.cpp)
int32_t BmpFontColumns(int32_t font); // tiles per row of a font's image (bitmap_font.cpp)
uint32_t NextFrameTick();             // the frame timer's deadline (frame.cpp)

}  // namespace vorlune::graphics
