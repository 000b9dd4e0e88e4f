#include "graphics/window.hpp"

#include <algorithm>

#include <SDL.h>

#include "core/handles.hpp"
#include "platform/active_window.hpp"
#include "platform/exit.hpp"
#include "platform/media.hpp"
#include "core/reset.hpp"
#include "graphics/canvas.hpp"

namespace vorlune::graphics {
namespace {

// Process-wide window state; the active window id is the platform layer's.
struct WindowState {
    bool fullscreen = false;       // set by the last togglefullscreen, cleared by any closewindow
    bool logicalSize = false;      // set by the first setvirtualsize, never cleared
} state;

// Window or renderer creation failed: box, SDL_Quit alone, exit 0.
[[noreturn]] void CreationFailed(const char* prefix) {
    platform::EndRun({.title = "Error", .text = prefix + std::string(SDL_GetError()), .shutdown = platform::Shutdown::Sdl});
}

}  // namespace

int32_t OpenWindow(const std::string& caption, int32_t x, int32_t y, int32_t w, int32_t h) {
    if (x < 0) x = SDL_WINDOWPOS_CENTERED;
    if (y < 0) y = SDL_WINDOWPOS_CENTERED;
    SDL_Window* window = SDL_CreateWindow(caption.c_str(), x, y, w, h, SDL_WINDOW_SHOWN);
    if (!window) CreationFailed("SDL_CreateWindow Error: ");
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    if (!renderer) CreationFailed("SDL_CreateRenderer Error: ");
    return static_cast<int32_t>(SDL_GetWindowID(window));
}

void SetActiveWindow(int32_t window) { platform::SetActiveWindowId(window); }

void CloseWindow(int32_t window) {
    SDL_Window* w = SDL_GetWindowFromID(static_cast<Uint32>(window));
    SDL_Renderer* renderer = w ? SDL_GetRenderer(w) : nullptr;
    if (renderer) {
        // SDL destroys the renderer's textures with it: forget those sprites.
        core::ForgetOwnedBy(renderer);
        canvas::Forget(renderer);
        SDL_DestroyRenderer(renderer);
    }
    if (w) SDL_DestroyWindow(w);
    state.fullscreen = false;
}

void SetVirtualSize(int32_t w, int32_t h) {
    if (SDL_Renderer* renderer = platform::ActiveRenderer()) {
        canvas::BeforeChange(renderer);
        SDL_RenderSetLogicalSize(renderer, w, h);
    }
    state.logicalSize = true;
}

void ResizeWindow(int32_t w, int32_t h) {
    if (state.fullscreen) return;
    // Each side is held to kMaxWindowSide: the window's pixels stay within 256 MB.
    if (SDL_Window* window = platform::ActiveSdlWindow()) {
        canvas::BeforeChange(SDL_GetRenderer(window));
        SDL_SetWindowSize(window, std::min(w, kMaxWindowSide), std::min(h, kMaxWindowSide));
    }
}

void ToggleFullscreen() {
    SDL_Window* window = platform::ActiveSdlWindow();
    if (window) canvas::BeforeChange(SDL_GetRenderer(window));
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
        if (SDL_Renderer* renderer = platform::ActiveRenderer()) SDL_RenderGetLogicalSize(renderer, w, h);
    } else if (SDL_Window* window = platform::ActiveSdlWindow()) {
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
    if (SDL_Window* window = platform::ActiveSdlWindow()) SDL_SetWindowTitle(window, caption.c_str());
}

void SetIcon(Image image) {
    SDL_Window* window = platform::ActiveSdlWindow();
    if (window && image.surface) SDL_SetWindowIcon(window, image.surface);
}

void MessageBox(const std::string& caption, const std::string& text) { platform::ShowMessageBox(1, caption, text); }

void CloseApplication() { platform::ShutdownMedia(); }

const core::ResetHook resetHook([] { state = WindowState{}; });

}  // namespace vorlune::graphics
