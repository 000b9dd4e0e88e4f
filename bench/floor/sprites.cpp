// Floor for the sprite scene: N rotated and scaled copies of one 32x32 sprite
// per frame, with the SDL calls drawsprite makes for each.
#include <cmath>

#include "common.hpp"

using namespace floorbench;

namespace {

// drawsprite(sprite, x, y, scale, scale, angle, false, false)
void DrawSprite(SDL_Texture* sprite, int x, int y, double scale, double angle) {
    int w = 0, h = 0;
    SDL_QueryTexture(sprite, nullptr, nullptr, &w, &h);
    SDL_Renderer* renderer = ActiveRenderer();
    SDL_Rect destination{x, y, static_cast<int>(std::nearbyint(w * scale)), static_cast<int>(std::nearbyint(h * scale))};
    SDL_RenderCopyEx(renderer, sprite, nullptr, &destination, angle, nullptr, SDL_FLIP_NONE);
}

}  // namespace

int main(int argc, char** argv) {
    FrameArgs args = ParseFrameArgs(argc, argv);
    StartMedia();
    activeWindow = OpenWindow("sprites", 640, 480);
    ReportRenderer();
    SDL_Texture* sprite = IMG_LoadTexture(ActiveRenderer(), "sprite.png");
    if (!sprite) {
        std::fprintf(stderr, "sprite.png: %s\n", SDL_GetError());
        return 1;
    }
    RunFrames(args, 1000, [&](int f, int n) {
        for (int i = 0; i < n; ++i) {
            int x = (i * 37 + f * 3) % 608;
            int y = (i * 53 + f * 2) % 448;
            double angle = (i * 7 + f * 5) % 360;
            double scale = 0.75 + (i % 5) * 0.125;
            DrawSprite(sprite, x, y, scale, angle);
        }
    });
    return 0;
}
