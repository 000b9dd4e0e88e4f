#include "graphics/draw.hpp"

#include <SDL.h>

#include "graphics/raster.hpp"
#include "graphics/window.hpp"

namespace vorlune::graphics {
namespace {

// Process-wide drawing state. The drawing colour itself is renderer state.
struct DrawState {
    int32_t backColour[4] = {0, 0, 0, 255};  // BackColour, stored unreduced; reduced to 8 bits when used
} state;

// Units around the render target still treated as visible: with a logical
// size the platform scales and rounds at the edges.
constexpr int64_t kMargin = 4;

Uint8 Channel(int32_t v) { return static_cast<Uint8>(v & 0xFF); }

// The size drawing coordinates refer to: the logical size when one is set,
// else the renderer's output size.
void TargetSize(SDL_Renderer* renderer, int* w, int* h) {
    *w = 0;
    *h = 0;
    SDL_RenderGetLogicalSize(renderer, w, h);
    if (*w <= 0 || *h <= 0) SDL_GetRendererOutputSize(renderer, w, h);
}

void DrawSegment(SDL_Renderer* renderer, int w, int h, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (FitSegment(w, h, kMargin, x1, y1, x2, y2) != SegmentFit::Outside) SDL_RenderDrawLine(renderer, x1, y1, x2, y2);
}

// Sends the rasterisers' points and lines to a renderer, one call each.
class RendererSink final : public PlotSink {
public:
    RendererSink(SDL_Renderer* renderer, int w, int h)
        : PlotSink(Area{-kMargin, -kMargin, w - 1 + kMargin, h - 1 + kMargin}), renderer_(renderer), w_(w), h_(h) {}
    void Point(int32_t x, int32_t y) override { SDL_RenderDrawPoint(renderer_, x, y); }
    void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override { DrawSegment(renderer_, w_, h_, x1, y1, x2, y2); }

private:
    SDL_Renderer* renderer_;
    int w_, h_;
};

template <typename Raster, typename... Args>
void Rasterise(Raster raster, Args... args) {
    SDL_Renderer* renderer = ActiveRenderer();
    if (!renderer) return;
    int w, h;
    TargetSize(renderer, &w, &h);
    RendererSink sink(renderer, w, h);
    raster(sink, args...);
}

}  // namespace

void Color(int32_t r, int32_t g, int32_t b, int32_t alpha) {
    SDL_Renderer* renderer = ActiveRenderer();
    if (!renderer) return;
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer, Channel(r), Channel(g), Channel(b), Channel(alpha));
}

void BackColor(int32_t r, int32_t g, int32_t b, int32_t alpha) {
    state.backColour[0] = r;
    state.backColour[1] = g;
    state.backColour[2] = b;
    state.backColour[3] = alpha;
}

void ClearWindow() {
    Color(state.backColour[0], state.backColour[1], state.backColour[2], state.backColour[3]);
    if (SDL_Renderer* renderer = ActiveRenderer()) SDL_RenderClear(renderer);
}

void Dot(int32_t x, int32_t y) {
    if (SDL_Renderer* renderer = ActiveRenderer()) SDL_RenderDrawPoint(renderer, x, y);
}

void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    SDL_Renderer* renderer = ActiveRenderer();
    if (!renderer) return;
    int w, h;
    TargetSize(renderer, &w, &h);
    DrawSegment(renderer, w, h, x1, y1, x2, y2);
}

void Rectangle(int32_t x, int32_t y, int32_t w, int32_t h) {
    SDL_Rect rect{x, y, w, h};
    if (SDL_Renderer* renderer = ActiveRenderer()) SDL_RenderDrawRect(renderer, &rect);
}

void FillRectangle(int32_t x, int32_t y, int32_t w, int32_t h) {
    SDL_Rect rect{x, y, w, h};
    if (SDL_Renderer* renderer = ActiveRenderer()) SDL_RenderFillRect(renderer, &rect);
}

void Circle(int32_t x, int32_t y, int32_t r) { Rasterise(RasterCircle, x, y, r); }
void FillCircle(int32_t x, int32_t y, int32_t r) { Rasterise(RasterFillCircle, x, y, r); }
void Ellipse(int32_t x, int32_t y, int32_t xr, int32_t yr) { Rasterise(RasterEllipse, x, y, xr, yr); }
void FillEllipse(int32_t x, int32_t y, int32_t xr, int32_t yr) { Rasterise(RasterFillEllipse, x, y, xr, yr); }

void Triangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3) {
    SDL_Renderer* renderer = ActiveRenderer();
    if (!renderer) return;
    int w, h;
    TargetSize(renderer, &w, &h);
    DrawSegment(renderer, w, h, x1, y1, x2, y2);
    DrawSegment(renderer, w, h, x2, y2, x3, y3);
    DrawSegment(renderer, w, h, x3, y3, x1, y1);
}

void FillTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3) {
    Rasterise(RasterFillTriangle, x1, y1, x2, y2, x3, y3);
}

void GetBackColour(int32_t out[4]) {
    for (int i = 0; i < 4; ++i) out[i] = state.backColour[i];
}

void ResetDrawState() { state = DrawState{}; }

}  // namespace vorlune::graphics
