// The render target of a renderer, as graphics/clip.hpp describes it.
#pragma once

#include <array>
#include <cstdint>
#include <map>

#include "graphics/canvas.hpp"
#include "graphics/clip.hpp"

struct SDL_Renderer;

namespace vorlune::graphics {

Target TargetOf(SDL_Renderer* renderer);  // output size, scale, viewport offset, software or not
// The renderer draws in output pixels on the whole output: no virtual size,
// scale 1, no clip, no render target, the output as viewport. Only then is a
// call drawn as SDL's software renderer of a window draws it, and a copy as
// SDL's OpenGL renderer draws it with its default projection. w and h get
// the output size.
bool PlainOutput(SDL_Renderer* renderer, int& w, int& h);
// The rectangles one drawing call of one colour has handed the renderer, and
// how often.
struct FillCounts {
    std::map<std::array<float, 4>, int> drawn;
};

// One filled rectangle, cut by FitFill on the software renderer, dropped when
// it cannot show on the others; with counts, one covering the same pixels as
// one already drawn kSettlingBlends times is not drawn again.
void OutlineRect(canvas::Pen& pen, const Target& target, int32_t x, int32_t y, int32_t w, int32_t h);  // outline, corners fitted by FitOutline on the software renderer
void FillRect(canvas::Pen& pen, const Target& target, int32_t x, int32_t y, int32_t w, int32_t h,
              FillCounts* counts = nullptr);

}  // namespace vorlune::graphics
