// SDL2_image, opened the first time a script loads an image or a sprite. A
// game that loads none never pays for mapping the library and its codec
// libraries at start-up (about a tenth of the start-up time).
#pragma once

struct SDL_Surface;

namespace vorlune::platform {

SDL_Surface* ImgLoad(const char* file);                              // IMG_Load; null with SDL's error set on failure
int ImgSavePng(SDL_Surface* surface, const char* file);              // IMG_SavePNG; -1 with SDL's error set on failure
void ImgQuit();                                                      // IMG_Quit, when the library was opened

}  // namespace vorlune::platform
