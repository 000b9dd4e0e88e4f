// Floor for the primitives scene: N filled circles of radius 20 and N lines
// per frame. Variant "calls" (default) makes the SDL calls fillcircle and line
// make: one SDL_RenderDrawLine per disc column. Variant "rects" draws the same
// disc columns as one SDL_RenderFillRects call per disc, variant "points" as
// one SDL_RenderDrawPoints call per disc, variant "geometry" as two triangles
// per column in one SDL_RenderGeometry call per disc, variant "texture" as one
// copy of a cached white disc tinted with the draw colour: the candidates.
#include <cmath>
#include <vector>

#include "common.hpp"

using namespace floorbench;

namespace {

enum class Variant { Calls, Rects, Points, Geometry, Texture };

// Half height of the disc column at distance n from the centre column.
int ColumnHalf(int r, int n) { return static_cast<int>(std::nearbyint(std::sqrt(static_cast<double>(r * r - n * n)))); }

void FillCircleCalls(int x, int y, int r) {
    SDL_Renderer* renderer = ActiveRenderer();
    for (int n = r; n >= 0; --n) {
        int d = ColumnHalf(r, n);
        SDL_RenderDrawLine(renderer, x - n - 1, y - d, x - n - 1, y + d);
        SDL_RenderDrawLine(renderer, x + n, y - d, x + n, y + d);
    }
}

// The disc's columns as rectangles (radius up to 63).
int DiscColumns(int x, int y, int r, SDL_Rect* rects) {
    int count = 0;
    for (int n = r; n >= 0; --n) {
        int d = ColumnHalf(r, n);
        rects[count++] = SDL_Rect{x - n - 1, y - d, 1, 2 * d + 1};
        rects[count++] = SDL_Rect{x + n, y - d, 1, 2 * d + 1};
    }
    return count;
}

void FillCircleRects(int x, int y, int r) {
    SDL_Renderer* renderer = ActiveRenderer();
    SDL_Rect rects[2 * 64];
    SDL_RenderFillRects(renderer, rects, DiscColumns(x, y, r, rects));
}

void FillCircleGeometry(int x, int y, int r, std::vector<SDL_Vertex>& vertices, std::vector<int>& indices) {
    SDL_Renderer* renderer = ActiveRenderer();
    SDL_Rect rects[2 * 64];
    FillRectsAsGeometry(renderer, rects, DiscColumns(x, y, r, rects), vertices, indices);
}

void FillCirclePoints(int x, int y, int r, std::vector<SDL_Point>& points) {
    SDL_Renderer* renderer = ActiveRenderer();
    points.clear();
    for (int n = r; n >= 0; --n) {
        int d = ColumnHalf(r, n);
        for (int k = -d; k <= d; ++k) {
            points.push_back(SDL_Point{x - n - 1, y + k});
            points.push_back(SDL_Point{x + n, y + k});
        }
    }
    SDL_RenderDrawPoints(renderer, points.data(), static_cast<int>(points.size()));
}

// The disc of radius r at the centre (r + 1, r) of a white, otherwise
// transparent texture: its columns are exactly those of FillCircleCalls.
SDL_Texture* MakeDisc(int r) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 2 * r + 2, 2 * r + 1, 32, SDL_PIXELFORMAT_RGBA32);
    SDL_FillRect(surface, nullptr, 0);
    SDL_Rect rects[2 * 64];
    int count = DiscColumns(r + 1, r, r, rects);
    SDL_FillRects(surface, rects, count, 0xFFFFFFFFu);
    SDL_Texture* disc = SDL_CreateTextureFromSurface(ActiveRenderer(), surface);
    SDL_FreeSurface(surface);
    SDL_SetTextureBlendMode(disc, SDL_BLENDMODE_BLEND);
    return disc;
}

void FillCircleTexture(SDL_Texture* disc, int x, int y, int r) {
    SDL_Renderer* renderer = ActiveRenderer();
    SDL_Color colour;
    SDL_GetRenderDrawColor(renderer, &colour.r, &colour.g, &colour.b, &colour.a);
    SDL_SetTextureColorMod(disc, colour.r, colour.g, colour.b);
    SDL_SetTextureAlphaMod(disc, colour.a);
    SDL_Rect destination{x - r - 1, y - r, 2 * r + 2, 2 * r + 1};
    SDL_RenderCopy(renderer, disc, nullptr, &destination);
}

void Line(int x1, int y1, int x2, int y2) { SDL_RenderDrawLine(ActiveRenderer(), x1, y1, x2, y2); }

}  // namespace

int main(int argc, char** argv) {
    FrameArgs args = ParseFrameArgs(argc, argv);
    Variant variant = args.variant == "rects"      ? Variant::Rects
                      : args.variant == "points"   ? Variant::Points
                      : args.variant == "geometry" ? Variant::Geometry
                      : args.variant == "texture"  ? Variant::Texture
                                                   : Variant::Calls;
    StartMedia();
    activeWindow = OpenWindow("primitives", 640, 480);
    ReportRenderer();
    SDL_Texture* disc = variant == Variant::Texture ? MakeDisc(20) : nullptr;
    std::vector<SDL_Point> points;
    std::vector<SDL_Vertex> vertices;
    std::vector<int> indices;
    RunFrames(args, 1000, [&](int f, int n) {
        Color(255, 200, 0, SceneAlpha());
        for (int i = 0; i < n; ++i) {
            int x = (i * 37 + f) % 600 + 20;
            int y = (i * 53) % 440 + 20;
            switch (variant) {
                case Variant::Calls: FillCircleCalls(x, y, 20); break;
                case Variant::Rects: FillCircleRects(x, y, 20); break;
                case Variant::Points: FillCirclePoints(x, y, 20, points); break;
                case Variant::Geometry: FillCircleGeometry(x, y, 20, vertices, indices); break;
                case Variant::Texture: FillCircleTexture(disc, x, y, 20); break;
            }
        }
        Color(0, 200, 255, SceneAlpha());
        for (int i = 0; i < n; ++i) {
            Line((i * 29 + f) % 640, (i * 31) % 480, (i * 17) % 640, (i * 43 + f) % 480);
        }
    });
    return 0;
}
