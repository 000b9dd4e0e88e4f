// The active window: the platform window id all drawing, presenting and
// window operations go to, looked up at the moment of each call. There is no
// window table; 0 names no window.
#pragma once

#include <cstdint>

struct SDL_Window;
struct SDL_Renderer;

namespace vorlune::platform {

int32_t ActiveWindowId();             // the id set last (not validated)
void SetActiveWindowId(int32_t id);   // select a window id
SDL_Window* ActiveSdlWindow();        // window of the active id, or null
SDL_Renderer* ActiveRenderer();       // its renderer, or null

}  // namespace vorlune::platform
