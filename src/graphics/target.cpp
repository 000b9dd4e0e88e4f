#include "graphics/target.hpp"

#include <cstring>

#include <SDL.h>

namespace vorlune::graphics {

Target TargetOf(SDL_Renderer* renderer) {
    Target target;
    SDL_GetRendererOutputSize(renderer, &target.outW, &target.outH);
    float sx = 1, sy = 1;
    SDL_RenderGetScale(renderer, &sx, &sy);
    target.scaleX = sx;
    target.scaleY = sy;
    // The drawing coordinate of output pixel 0 gives the viewport's offset.
    float lx = 0, ly = 0;
    SDL_RenderWindowToLogical(renderer, 0, 0, &lx, &ly);
    target.offsetX = -static_cast<double>(lx) * sx;
    target.offsetY = -static_cast<double>(ly) * sy;
    SDL_RendererInfo info{};
    target.software = SDL_GetRendererInfo(renderer, &info) == 0 && info.name && std::strcmp(info.name, "software") == 0;
    return target;
}

bool PlainOutput(SDL_Renderer* renderer, int& w, int& h) {
    int lw = 0, lh = 0;
    float sx = 0, sy = 0;
    SDL_Rect viewport{};
    SDL_RenderGetLogicalSize(renderer, &lw, &lh);
    SDL_RenderGetScale(renderer, &sx, &sy);
    SDL_RenderGetViewport(renderer, &viewport);
    if (SDL_GetRendererOutputSize(renderer, &w, &h) != 0) return false;
    return lw == 0 && lh == 0 && sx == 1.0f && sy == 1.0f && !SDL_RenderIsClipEnabled(renderer) &&
           SDL_GetRenderTarget(renderer) == nullptr && viewport.x == 0 && viewport.y == 0 && viewport.w == w &&
           viewport.h == h;
}

namespace {

// A rectangle the frame copy cannot take as it is (its numbers are out of the
// software renderer's range): the frame goes on on the renderer first, and
// the pen follows it.
void LeaveCopy(canvas::Pen& pen) {
    if (pen.copy < 0) return;
    canvas::BeforeCopy(pen.renderer);
    pen = canvas::ActivePen();
}

}  // namespace

void OutlineRect(canvas::Pen& pen, const Target& target, int32_t x, int32_t y, int32_t w, int32_t h) {
    Outline o{};
    if (!target.software) {
        if (!FillInRange(target, x, y, w, h)) LeaveCopy(pen);
        canvas::Rect(pen, SDL_Rect{x, y, w, h});
        return;
    }
    if (!FitOutline(target, x, y, w, h, o)) return;
    const float x1 = static_cast<float>(x), y1 = static_cast<float>(y);
    if (o.x1 == x1 && o.y1 == y1 && o.x2 == x1 + static_cast<float>(w) - 1 && o.y2 == y1 + static_cast<float>(h) - 1) {
        canvas::Rect(pen, SDL_Rect{x, y, w, h});  // corners kept: the renderer's own outline
        return;
    }
    LeaveCopy(pen);
    // The corners in the renderer's own order.
    const SDL_FPoint points[5] = {{o.x1, o.y1}, {o.x2, o.y1}, {o.x2, o.y2}, {o.x1, o.y2}, {o.x1, o.y1}};
    SDL_RenderDrawLinesF(pen.renderer, points, 5);
}

void FillRect(canvas::Pen& pen, const Target& target, int32_t x, int32_t y, int32_t w, int32_t h,
              FillCounts* counts) {
    if (!target.software) {
        // Handed over unchanged unless it cannot show or has settled.
        FillBox edges{};
        if (!GeometryEdges(target, x, y, w, h, edges)) return;
        if (counts && counts->drawn[{edges.x, edges.y, edges.w, edges.h}]++ >= kSettlingBlends) return;
        if (!FillInRange(target, x, y, w, h)) LeaveCopy(pen);
        canvas::FillRect(pen, SDL_Rect{x, y, w, h});
        return;
    }
    FillBox cut{};
    if (!FitFill(target, x, y, w, h, cut)) return;
    if (counts && counts->drawn[{cut.x, cut.y, cut.w, cut.h}]++ >= kSettlingBlends) return;
    if (FillInRange(target, x, y, w, h)) {
        canvas::FillRect(pen, SDL_Rect{x, y, w, h});  // in range the cut is the rectangle itself
        return;
    }
    LeaveCopy(pen);
    const SDL_FRect rect{cut.x, cut.y, cut.w, cut.h};
    SDL_RenderFillRectF(pen.renderer, &rect);
}

}  // namespace vorlune::graphics
