#include "platform/active_window.hpp"

#include <SDL.h>

namespace vorlune::platform {
namespace {

int32_t activeWindow = 0;  // ActiveWindow

}  // namespace

int32_t ActiveWindowId() { return activeWindow; }

void SetActiveWindowId(int32_t id) { activeWindow = id; }

SDL_Window* ActiveSdlWindow() { return SDL_GetWindowFromID(static_cast<Uint32>(activeWindow)); }

SDL_Renderer* ActiveRenderer() {
    SDL_Window* window = ActiveSdlWindow();
    return window ? SDL_GetRenderer(window) : nullptr;
}

}  // namespace vorlune::platform
