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

void OutlineRect(SDL_Renderer* renderer, const Target& target, int32_t x, int32_t y, int32_t w, int32_t h) {
    Outline o{};
    if (!target.software) {
        const SDL_Rect rect{x, y, w, h};
        SDL_RenderDrawRect(renderer, &rect);
    } else if (FitOutline(target, x, y, w, h, o)) {
        // The corners in the renderer's own order.
        const SDL_FPoint points[5] = {{o.x1, o.y1}, {o.x2, o.y1}, {o.x2, o.y2}, {o.x1, o.y2}, {o.x1, o.y1}};
        SDL_RenderDrawLinesF(renderer, points, 5);
    }
}

void FillRect(SDL_Renderer* renderer, const Target& target, int32_t x, int32_t y, int32_t w, int32_t h,
              FillCounts* counts) {
    if (!target.software) {
        // Handed over unchanged unless it cannot show or has settled.
        FillBox edges{};
        if (!GeometryEdges(target, x, y, w, h, edges)) return;
        if (counts && counts->drawn[{edges.x, edges.y, edges.w, edges.h}]++ >= kSettlingBlends) return;
        const SDL_Rect rect{x, y, w, h};
        SDL_RenderFillRect(renderer, &rect);
        return;
    }
    FillBox cut{};
    if (!FitFill(target, x, y, w, h, cut)) return;
    if (counts && counts->drawn[{cut.x, cut.y, cut.w, cut.h}]++ >= kSettlingBlends) return;
    const SDL_FRect rect{cut.x, cut.y, cut.w, cut.h};
    SDL_RenderFillRectF(renderer, &rect);
}

}  // namespace vorlune::graphics
