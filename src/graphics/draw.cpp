#include "graphics/draw.hpp"

#include <algorithm>
#include <cmath>

#include <SDL.h>

#include "platform/active_window.hpp"
#include "graphics/canvas.hpp"
#include "graphics/raster.hpp"
#include "graphics/target.hpp"
#include "graphics/window.hpp"
#include "core/reset.hpp"
#include "graphics/inspect.hpp"

namespace vorlune::graphics {
namespace {

// Process-wide drawing state. The drawing colour itself is renderer state.
struct DrawState {
    int32_t backColour[4] = {0, 0, 0, 255};  // the background colour, stored unreduced; reduced to 8 bits when used
} state;

// Units around the render target still treated as visible: the platform
// scales and rounds at the edges.
constexpr int64_t kMargin = 4;

Uint8 Channel(int32_t v) { return static_cast<Uint8>(v & 0xFF); }

// Visible range of one axis of drawing coordinates. With a logical size the
// platform scales each coordinate and truncates it toward zero: below a scale
// of one, up to 1/scale units before the edge still land on its first pixel
// (and a letterbox offset can add as much again). A negative logical size
// mirrors the axis: its visible coordinates run from size + 1 to 0.
void VisibleAxis(int size, float scale, int64_t& low, int64_t& high) {
    const double units = std::ceil(1.0 / std::fabs(static_cast<double>(scale)));
    const int64_t spare = kMargin + 2 * static_cast<int64_t>(std::isfinite(units) ? std::min(units, 1e10) : 1e10);
    if (size >= 0) {
        low = -spare;
        high = int64_t{size} - 1 + spare;
    } else {
        low = int64_t{size} + 1 - spare;
        high = spare;
    }
}

// The drawing coordinates that can reach a pixel of the renderer's target:
// logical ones when a logical size is set, else output pixels.
Area VisibleArea(SDL_Renderer* renderer) {
    int w = 0, h = 0;
    float sx = 1.0f, sy = 1.0f;
    SDL_RenderGetLogicalSize(renderer, &w, &h);
    if (w == 0 || h == 0) {
        w = h = 0;
        SDL_GetRendererOutputSize(renderer, &w, &h);
    } else {
        SDL_RenderGetScale(renderer, &sx, &sy);
    }
    Area area{};
    VisibleAxis(w, sx, area.left, area.right);
    VisibleAxis(h, sy, area.top, area.bottom);
    return area;
}

// Whether lines and shapes are drawn under the visible area: their cost
// follows its size in drawing units, which a virtual size can make absurd.
bool Rasterable(const Area& view) {
    const int64_t across = view.right - view.left + 1, down = view.bottom - view.top + 1;
    return across <= kMaxVisibleSpan && down <= kMaxVisibleSpan && across * down <= kMaxVisibleArea;
}

void DrawSegment(const canvas::Pen& pen, const Area& view, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (FitSegment(view, x1, y1, x2, y2) != SegmentFit::Outside) canvas::Line(pen, x1, y1, x2, y2);
}

// Sends the rasterisers' points and lines to the canvas, one call each.
class RendererSink final : public PlotSink {
public:
    RendererSink(const canvas::Pen& pen, const Area& view) : PlotSink(view), pen_(pen) {}
    void Point(int32_t x, int32_t y) override { canvas::Point(pen_, x, y); }
    void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override { DrawSegment(pen_, visible, x1, y1, x2, y2); }

private:
    canvas::Pen pen_;
};

template <typename Raster, typename... Args>
void Rasterise(Raster raster, Args... args) {
    const canvas::Pen pen = canvas::ActivePen();
    if (!pen.renderer) return;
    const Area view = VisibleArea(pen.renderer);
    if (!Rasterable(view)) return;
    RendererSink sink(pen, view);
    raster(sink, args...);
}

}  // namespace

void Color(int32_t r, int32_t g, int32_t b, int32_t alpha) {
    canvas::SetColour(canvas::ActivePen(), Channel(r), Channel(g), Channel(b), Channel(alpha));
}

void BackColor(int32_t r, int32_t g, int32_t b, int32_t alpha) {
    state.backColour[0] = r;
    state.backColour[1] = g;
    state.backColour[2] = b;
    state.backColour[3] = alpha;
}

void ClearWindow() {
    Color(state.backColour[0], state.backColour[1], state.backColour[2], state.backColour[3]);
    canvas::Clear(canvas::ActivePen());
}

void Dot(int32_t x, int32_t y) { canvas::Point(canvas::ActivePen(), x, y); }

void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const canvas::Pen pen = canvas::ActivePen();
    if (!pen.renderer) return;
    const Area view = VisibleArea(pen.renderer);
    if (Rasterable(view)) DrawSegment(pen, view, x1, y1, x2, y2);
}

void Rectangle(int32_t x, int32_t y, int32_t w, int32_t h) {
    canvas::Pen pen = canvas::ActivePen();
    if (pen.renderer) OutlineRect(pen, TargetOf(pen.renderer), x, y, w, h);
}

void FillRectangle(int32_t x, int32_t y, int32_t w, int32_t h) {
    canvas::Pen pen = canvas::ActivePen();
    if (pen.renderer) FillRect(pen, TargetOf(pen.renderer), x, y, w, h);
}

void Circle(int32_t x, int32_t y, int32_t r) { Rasterise(RasterCircle, x, y, r); }
void FillCircle(int32_t x, int32_t y, int32_t r) { Rasterise(RasterFillCircle, x, y, r); }
void Ellipse(int32_t x, int32_t y, int32_t xr, int32_t yr) { Rasterise(RasterEllipse, x, y, xr, yr); }
void FillEllipse(int32_t x, int32_t y, int32_t xr, int32_t yr) { Rasterise(RasterFillEllipse, x, y, xr, yr); }

void Triangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3) {
    const canvas::Pen pen = canvas::ActivePen();
    if (!pen.renderer) return;
    const Area view = VisibleArea(pen.renderer);
    if (!Rasterable(view)) return;
    DrawSegment(pen, view, x1, y1, x2, y2);
    DrawSegment(pen, view, x2, y2, x3, y3);
    DrawSegment(pen, view, x3, y3, x1, y1);
}

void FillTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3) {
    Rasterise(RasterFillTriangle, x1, y1, x2, y2, x3, y3);
}

void GetBackColour(int32_t out[4]) {
    for (int i = 0; i < 4; ++i) out[i] = state.backColour[i];
}

const core::ResetHook resetHook([] { state = DrawState{}; });

}  // namespace vorlune::graphics
