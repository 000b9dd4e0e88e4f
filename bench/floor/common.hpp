// Shared parts of the floor programs: the bare SDL calls the interpreter makes
// for start-up, windows, the active renderer lookup and presenting, and the
// frame-rate loop every frame scene uses. No Lua here.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>

namespace floorbench {

// Interpreter start-up: SDL_Init with the same subsystems, joystick 0 when
// present, the mixer with the same format.
inline void StartMedia() {
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK | SDL_INIT_HAPTIC |
                 SDL_INIT_GAMECONTROLLER) != 0) {
        std::printf("SDL_Init Error: %s\n", SDL_GetError());
        SDL_Quit();
    } else if (SDL_NumJoysticks() > 0) {
        SDL_JoystickOpen(0);
    }
    if (Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024) != 0) {
        std::fprintf(stderr, "Could not initialize sound system: %s\n", SDL_GetError());
        std::exit(1);
    }
}

// openwindow: a centred, shown window with an accelerated renderer, no vsync.
inline Uint32 OpenWindow(const char* caption, int w, int h) {
    SDL_Window* window = SDL_CreateWindow(caption, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h, SDL_WINDOW_SHOWN);
    if (!window) {
        std::fprintf(stderr, "SDL_CreateWindow Error: %s\n", SDL_GetError());
        std::exit(1);
    }
    if (!SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED)) {
        std::fprintf(stderr, "SDL_CreateRenderer Error: %s\n", SDL_GetError());
        std::exit(1);
    }
    return SDL_GetWindowID(window);
}

inline Uint32 activeWindow = 0;  // setactivewindow

// The lookup every drawing and presenting operation makes.
inline SDL_Renderer* ActiveRenderer() {
    SDL_Window* window = SDL_GetWindowFromID(activeWindow);
    return window ? SDL_GetRenderer(window) : nullptr;
}

// color: blending on, then the colour.
inline void Color(Uint8 r, Uint8 g, Uint8 b, Uint8 a) {
    SDL_Renderer* renderer = ActiveRenderer();
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer, r, g, b, a);
}

// cls with the default background colour (0, 0, 0, 255).
inline void Cls() {
    Color(0, 0, 0, 255);
    SDL_RenderClear(ActiveRenderer());
}

inline void Redraw() { SDL_RenderPresent(ActiveRenderer()); }

// Fills rectangles as two triangles each, all in one SDL_RenderGeometry
// call, in the draw colour and blend mode: the batching candidate whose one
// call does not become one draw per rectangle in SDL's OpenGL renderer.
inline void FillRectsAsGeometry(SDL_Renderer* renderer, const SDL_Rect* rects, int count,
                                std::vector<SDL_Vertex>& vertices, std::vector<int>& indices) {
    SDL_Color colour;
    SDL_GetRenderDrawColor(renderer, &colour.r, &colour.g, &colour.b, &colour.a);
    vertices.clear();
    indices.clear();
    for (int i = 0; i < count; ++i) {
        const SDL_Rect& r = rects[i];
        float x0 = static_cast<float>(r.x), y0 = static_cast<float>(r.y);
        float x1 = static_cast<float>(r.x + r.w), y1 = static_cast<float>(r.y + r.h);
        int base = static_cast<int>(vertices.size());
        vertices.push_back(SDL_Vertex{{x0, y0}, colour, {0, 0}});
        vertices.push_back(SDL_Vertex{{x1, y0}, colour, {0, 0}});
        vertices.push_back(SDL_Vertex{{x1, y1}, colour, {0, 0}});
        vertices.push_back(SDL_Vertex{{x0, y1}, colour, {0, 0}});
        for (int k : {0, 1, 2, 0, 2, 3}) indices.push_back(base + k);
    }
    if (count > 0)
        SDL_RenderGeometry(renderer, nullptr, vertices.data(), static_cast<int>(vertices.size()), indices.data(),
                           static_cast<int>(indices.size()));
}

// Names the renderer on standard error, so the report can show which one ran.
inline void ReportRenderer() {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(ActiveRenderer(), &info) == 0) std::fprintf(stderr, "renderer: %s\n", info.name);
}

// Command line of a frame scene: N [budget_ms [fixed_frames [variant]]].
struct FrameArgs {
    int n = 1;
    int budgetMs = 1000;
    int fixedFrames = 0;   // >0: draw exactly this many measured frames
    std::string variant;   // which call pattern to draw with
};

inline FrameArgs ParseFrameArgs(int argc, char** argv) {
    FrameArgs a;
    if (argc > 1) a.n = std::atoi(argv[1]);
    if (argc > 2) a.budgetMs = std::atoi(argv[2]);
    if (argc > 3) a.fixedFrames = std::atoi(argv[3]);
    if (argc > 4) a.variant = argv[4];
    return a;
}

// Alpha of the scene's drawing colours: 255, or BENCH_ALPHA when set (the
// pixel-identity check draws translucent frames too).
inline Uint8 SceneAlpha() {
    const char* alpha = std::getenv("BENCH_ALPHA");
    return alpha ? static_cast<Uint8>(std::atoi(alpha)) : 255;
}

// With BENCH_DUMP set, the last measured frame is read back before it is
// presented and saved there as a BMP (32-bit ARGB).
inline void DumpFrame(const char* path) {
    SDL_Renderer* renderer = ActiveRenderer();
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer, &w, &h);
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, surface->pixels, surface->pitch);
    SDL_SaveBMP(surface, path);
    SDL_FreeSurface(surface);
}

// One warm-up frame of at most warmup items (it readies textures and
// shaders, not the per-item work), then frames of all a.n items until the
// budget is spent (or exactly fixedFrames of them); prints the measured rate.
// frame(f, n) draws n items of frame f between the clear and the present.
inline void RunFrames(const FrameArgs& a, int warmup, const std::function<void(int, int)>& frame) {
    const char* dump = std::getenv("BENCH_DUMP");
    auto one = [&](int f, int n) {
        Cls();
        frame(f, n);
        if (dump && a.fixedFrames > 0 && f == a.fixedFrames) DumpFrame(dump);
        Redraw();
    };
    one(0, a.n < warmup ? a.n : warmup);
    Uint32 start = SDL_GetTicks();
    int frames = 0;
    Uint32 elapsed = 0;
    for (;;) {
        one(frames + 1, a.n);
        ++frames;
        elapsed = SDL_GetTicks() - start;
        if (a.fixedFrames > 0 ? frames >= a.fixedFrames : elapsed >= static_cast<Uint32>(a.budgetMs)) break;
    }
    double seconds = elapsed > 0 ? elapsed / 1000.0 : 0.001;
    std::printf("RESULT fps %.3f frames %d ms %u\n", frames / seconds, frames, elapsed);
    std::fflush(stdout);
}

}  // namespace floorbench
