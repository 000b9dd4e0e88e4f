// Windows, the active window and its renderer.
//
// There is no window table: a window id is turned into the SDL window and its
// renderer at every use, through the process-wide active window.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/sprite.hpp"

namespace vorlune::graphics {

int32_t OpenWindow(const std::string& caption, int32_t x, int32_t y, int32_t w, int32_t h);  // window + accelerated renderer; returns its id
void SetActiveWindow(int32_t window); // all drawing goes here from now on (not validated)
void CloseWindow(int32_t window);     // destroy renderer (and its sprites) and window; clears the full-screen flag
void SetVirtualSize(int32_t w, int32_t h);  // logical size of the active renderer; size queries answer with it from then on
inline constexpr int32_t kMaxWindowSide = 8192;  // resizewindow holds each side to this
void ResizeWindow(int32_t w, int32_t h);    // window size (each side at most kMaxWindowSide), unless full screen
void ToggleFullscreen();              // desktop full screen <-> windowed, for the active window
bool Fullscreen();                    // the process-wide full-screen flag
int32_t WindowWidth();                // logical width once a virtual size was set, else window width (0 without window)
int32_t WindowHeight();               // likewise for the height
void SetScaleQuality(const std::string& mode);  // the SDL_RENDER_SCALE_QUALITY hint
void SetCaption(const std::string& caption);    // title of the active window
void SetIcon(Image image);            // icon of the active window from a live image
void MessageBox(const std::string& caption, const std::string& text);  // modal box, flags 1
void CloseApplication();              // media shutdown; the script goes on


}  // namespace vorlune::graphics
