// Read-only views of graphics state that scripts cannot query, for tests.
// Engine code does not include this header.
#pragma once

#include <cstdint>

namespace vorlune::graphics {

void GetBackColour(int32_t out[4]);   // the background colour as stored (draw.cpp)
int32_t BmpFontColumns(int32_t font); // tiles per row of a font's image (bitmap_font.cpp)
uint32_t NextFrameTick();             // the frame timer's deadline (frame.cpp)

}  // namespace vorlune::graphics

struct SDL_Renderer;

namespace vorlune::graphics::canvas {

enum class Use { Auto, Always, Never };
void SetUse(Use use);                 // Auto: OpenGL renderers only; Always: any renderer; Never: the plain calls (canvas.cpp)
bool Copying(SDL_Renderer* renderer); // the renderer's frame is being drawn into a copy (canvas.cpp)

}  // namespace vorlune::graphics::canvas

namespace vorlune::graphics::batch {

uint64_t CopiesDrawn();               // sprite copies drawn from OpenGL queues since the start (batch.cpp)

}  // namespace vorlune::graphics::batch
