#include "platform/image_library.hpp"

#include <dlfcn.h>

#include <SDL.h>
#include <SDL_image.h>

namespace vorlune::platform {
namespace {

// The library once it is open, and the entry points used.
struct ImageLibrary {
    void* handle = nullptr;
    decltype(&IMG_Load) load = nullptr;
    decltype(&IMG_Quit) quit = nullptr;
    decltype(&IMG_SavePNG) savePng = nullptr;  // the test runner's shots; optional
} library;

template <typename F>
F Symbol(const char* name) {
    return reinterpret_cast<F>(dlsym(library.handle, name));
}

// Opens the library on first use; a failure is reported through SDL's error,
// so the caller's load-failure message names it.
bool Open() {
    if (library.handle) return true;
    library.handle = dlopen(VORLUNE_SDL2_IMAGE_SONAME, RTLD_NOW | RTLD_LOCAL);
    if (!library.handle) {
        SDL_SetError("cannot load the image library: %s", dlerror());
        return false;
    }
    library.load = Symbol<decltype(&IMG_Load)>("IMG_Load");
    library.quit = Symbol<decltype(&IMG_Quit)>("IMG_Quit");
    library.savePng = Symbol<decltype(&IMG_SavePNG)>("IMG_SavePNG");
    if (!library.load || !library.quit) {
        SDL_SetError("the image library %s lacks IMG_Load or IMG_Quit", VORLUNE_SDL2_IMAGE_SONAME);
        dlclose(library.handle);
        library = ImageLibrary{};
        return false;
    }
    return true;
}

}  // namespace

SDL_Surface* ImgLoad(const char* file) { return Open() ? library.load(file) : nullptr; }

int ImgSavePng(SDL_Surface* surface, const char* file) {
    if (!Open()) return -1;
    if (!library.savePng) return SDL_SetError("the image library %s lacks IMG_SavePNG", VORLUNE_SDL2_IMAGE_SONAME);
    return library.savePng(surface, file);
}

void ImgQuit() {
    // Never opened: no image format was ever initialised, nothing to quit.
    if (library.handle) library.quit();
}

}  // namespace vorlune::platform
