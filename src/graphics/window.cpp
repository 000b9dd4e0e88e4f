#include "graphics/window.hpp"

#include <cstdio>

#include <SDL.h>

#include "host/host.hpp"
#include "input/input.hpp"

namespace vorlune::graphics {
namespace {

// Process-wide window state.
struct WindowState {
    int32_t activeWindow = 0;      // the WindowId all drawing uses; 0 names no window
    bool fullscreen = false;       // set by the last togglefullscreen, cleared by any closewindow
    bool logicalSize = false;      // set by the first setvirtualsize, never cleared
} state;

[[noreturn]] void CreationFailed(const char* prefix) {
    host::ShowMessageBox(1, "Error", std::string(prefix) + SDL_GetError());
    SDL_Quit();
    host::ExitProcess(0);
}

}  // namespace

void StartUp() {
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK | SDL_INIT_HAPTIC |
                 SDL_INIT_GAMECONTROLLER) != 0) {
        std::printf("SDL_Init Error: %s\n", SDL_GetError());
        SDL_Quit();
        return;
    }
    input::OpenActiveJoystick();
}

SDL_Window* ActiveSdlWindow() { return SDL_GetWindowFromID(static_cast<Uint32>(state.activeWindow)); }

SDL_Renderer* ActiveRenderer() {
    SDL_Window* window = ActiveSdlWindow();
    return window ? SDL_GetRenderer(window) : nullptr;
}

int32_t OpenWindow(const std::string& caption, int32_t x, int32_t y, int32_t w, int32_t h) {
    if (x < 0) x = SDL_WINDOWPOS_CENTERED;
    if (y < 0) y = SDL_WINDOWPOS_CENTERED;
    SDL_Window* window = SDL_CreateWindow(caption.c_str(), x, y, w, h, SDL_WINDOW_SHOWN);
    if (!window) CreationFailed("SDL_CreateWindow Error: ");
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    if (!renderer) CreationFailed("SDL_CreateRenderer Error: ");
    return static_cast<int32_t>(SDL_GetWindowID(window));
}

void SetActiveWindow(int32_t window) { state.activeWindow = window; }

void CloseWindow(int32_t window) {
    SDL_Window* w = SDL_GetWindowFromID(static_cast<Uint32>(window));
    SDL_Renderer* renderer = w ? SDL_GetRenderer(w) : nullptr;
    if (renderer) {
        // SDL destroys the renderer's textures with it: forget those sprites.
        host::ForgetOwnedBy(renderer);
        SDL_DestroyRenderer(renderer);
    }
    if (w) SDL_DestroyWindow(w);
    state.fullscreen = false;
}

void SetVirtualSize(int32_t w, int32_t h) {
    if (SDL_Renderer* renderer = ActiveRenderer()) SDL_RenderSetLogicalSize(renderer, w, h);
    state.logicalSize = true;
}

void ResizeWindow(int32_t w, int32_t h) {
    if (state.fullscreen) return;
    if (SDL_Window* window = ActiveSdlWindow()) SDL_SetWindowSize(window, w, h);
}

void ToggleFullscreen() {
    SDL_Window* window = ActiveSdlWindow();
    if (!state.fullscreen) {
        if (window) SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
        state.fullscreen = true;
    } else {
        if (window) SDL_SetWindowFullscreen(window, 0);
        state.fullscreen = false;
    }
}

bool Fullscreen() { return state.fullscreen; }

namespace {

void QuerySize(int* w, int* h) {
    *w = 0;
    *h = 0;
    if (state.logicalSize) {
        if (SDL_Renderer* renderer = ActiveRenderer()) SDL_RenderGetLogicalSize(renderer, w, h);
    } else if (SDL_Window* window = ActiveSdlWindow()) {
        SDL_GetWindowSize(window, w, h);
    }
}

}  // namespace

int32_t WindowWidth() {
    int w, h;
    QuerySize(&w, &h);
    return w;
}

int32_t WindowHeight() {
    int w, h;
    QuerySize(&w, &h);
    return h;
}

void SetScaleQuality(const std::string& mode) { SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, mode.c_str()); }

void SetCaption(const std::string& caption) {
    if (SDL_Window* window = ActiveSdlWindow()) SDL_SetWindowTitle(window, caption.c_str());
}

void SetIcon(ObjectHandle image) {
    SDL_Window* window = ActiveSdlWindow();
    auto* surface = static_cast<SDL_Surface*>(host::Live(image, host::HandleKind::Image));
    if (window && surface) SDL_SetWindowIcon(window, surface);
}

void MessageBox(const std::string& caption, const std::string& text) { host::ShowMessageBox(1, caption, text); }

void CloseApplication() { host::ShutdownMedia(); }

int32_t ActiveWindowId() { return state.activeWindow; }

void ResetWindowState() { state = WindowState{}; }

}  // namespace vorlune::graphics
