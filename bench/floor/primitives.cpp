// Floor for the primitives scene: N filled circles of radius 20 and N lines
// per frame. Variant "calls" (default) makes the SDL calls fillcircle and line
// make: one SDL_RenderDrawLine per disc column. Variant "rects" draws the same
// disc columns as one SDL_RenderFillRects call per disc, variant "points" as
// one SDL_RenderDrawPoints call per disc: the batching candidates.
#include <cmath>
#include <vector>

#include "common.hpp"

using namespace floorbench;

namespace {

enum class Variant { Calls, Rects, Points };

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

void FillCircleRects(int x, int y, int r) {
    SDL_Renderer* renderer = ActiveRenderer();
    SDL_Rect rects[2 * 64];
    int count = 0;
    for (int n = r; n >= 0; --n) {
        int d = ColumnHalf(r, n);
        rects[count++] = SDL_Rect{x - n - 1, y - d, 1, 2 * d + 1};
        rects[count++] = SDL_Rect{x + n, y - d, 1, 2 * d + 1};
    }
    SDL_RenderFillRects(renderer, rects, count);
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

void Line(int x1, int y1, int x2, int y2) { SDL_RenderDrawLine(ActiveRenderer(), x1, y1, x2, y2); }

}  // namespace

int main(int argc, char** argv) {
    FrameArgs args = ParseFrameArgs(argc, argv);
    Variant variant = args.variant == "rects" ? Variant::Rects : args.variant == "points" ? Variant::Points : Variant::Calls;
    StartMedia();
    activeWindow = OpenWindow("primitives", 640, 480);
    ReportRenderer();
    std::vector<SDL_Point> points;
    RunFrames(args, 1000, [&](int f, int n) {
        Color(255, 200, 0, 255);
        for (int i = 0; i < n; ++i) {
            int x = (i * 37 + f) % 600 + 20;
            int y = (i * 53) % 440 + 20;
            switch (variant) {
                case Variant::Calls: FillCircleCalls(x, y, 20); break;
                case Variant::Rects: FillCircleRects(x, y, 20); break;
                case Variant::Points: FillCirclePoints(x, y, 20, points); break;
            }
        }
        Color(0, 200, 255, 255);
        for (int i = 0; i < n; ++i) {
            Line((i * 29 + f) % 640, (i * 31) % 480, (i * 17) % 640, (i * 43 + f) % 480);
        }
    });
    return 0;
}
