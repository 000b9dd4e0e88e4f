#include "graphics/sprite.hpp"

#include <cmath>
#include <limits>

#include <SDL.h>

#include "platform/active_window.hpp"
#include "platform/image_library.hpp"
#include "graphics/window.hpp"
#include "core/paths.hpp"
#include "platform/exit.hpp"

namespace vorlune::graphics {
namespace {

using core::HandleKind;

// The colour key applied to images at load time.
struct ColourKeyState {
    bool enabled = true;           // applied by loadimage while set
    int32_t red = 255;             // key colour as the script gave it;
    int32_t green = 0;             // reduced to 8 bits when applied
    int32_t blue = 255;
} colourKey;

Uint8 Channel(int32_t value) { return static_cast<Uint8>(value); }  // low 8 bits

// Missing image file: error box, SDL_Quit, exit 0.
void CheckFileExists(const std::string& filename) {
    if (core::FileExists(filename)) return;
    platform::EndRun({.flags = SDL_MESSAGEBOX_ERROR, .title = "File not found", .text = "Can't find image file: " + filename,
                      .shutdown = platform::Shutdown::Sdl});
}

// A load or create call failed: box with SDL's message, SDL_Quit only, exit 0.
[[noreturn]] void LoadFailed(const char* prefix) {
    platform::EndRun({.title = "Error", .text = prefix + std::string(SDL_GetError()), .shutdown = platform::Shutdown::Sdl});
}

SDL_Surface* LiveImage(ObjectHandle image) { return static_cast<SDL_Surface*>(core::Live(image, HandleKind::Image)); }

// A sprite the script may still use. Once the video subsystem has been shut
// down (closeapplication) every renderer and its textures are gone, so all
// sprites are forgotten.
SDL_Texture* LiveSprite(ObjectHandle sprite) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        core::ForgetKind(HandleKind::Sprite);
        return nullptr;
    }
    return static_cast<SDL_Texture*>(core::Live(sprite, HandleKind::Sprite));
}

ObjectHandle RegisterSprite(SDL_Texture* texture, SDL_Renderer* renderer) {
    // The renderer owns the texture: closewindow forgets it with the renderer.
    core::RegisterHandle(texture, HandleKind::Sprite, renderer);
    return texture;
}

void CopyEx(SDL_Texture* texture, const SDL_Rect* source, int32_t x, int32_t y, int32_t w, int32_t h, double xscale,
            double yscale, double angle, bool vflip, bool hflip) {
    SDL_Renderer* renderer = platform::ActiveRenderer();
    if (!renderer) return;
    SDL_Rect destination{x, y, ScaledSize(w, xscale), ScaledSize(h, yscale)};
    // A null centre rotates about the centre of the destination rectangle.
    // A sprite of another window's renderer is refused by SDL: nothing drawn.
    SDL_RenderCopyEx(renderer, texture, source, &destination, angle, nullptr,
                     static_cast<SDL_RendererFlip>(FlipFor(vflip, hflip)));
}

}  // namespace

int FlipFor(bool vflip, bool hflip) {
    if (vflip) return SDL_FLIP_VERTICAL;
    if (hflip) return SDL_FLIP_HORIZONTAL;
    return SDL_FLIP_NONE;
}

int32_t ScaledSize(int32_t size, double scale) {
    // Ties to even (the default rounding mode); saturate rather than convert
    // an out-of-range or NaN value.
    double v = std::nearbyint(static_cast<double>(size) * scale);
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    if (v <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

ObjectHandle LoadImage(const std::string& filename) {
    CheckFileExists(filename);
    SDL_Surface* surface = platform::ImgLoad(filename.c_str());
    if (!surface) LoadFailed("SDL_LoadBMP Error: ");
    if (colourKey.enabled) {
        Uint32 key = SDL_MapRGB(surface->format, Channel(colourKey.red), Channel(colourKey.green), Channel(colourKey.blue));
        SDL_SetColorKey(surface, 1, key);
    }
    core::RegisterHandle(surface, HandleKind::Image);
    return surface;
}

void FreeImage(ObjectHandle image) {
    if (SDL_Surface* surface = LiveImage(image)) {
        core::ForgetHandle(surface, HandleKind::Image);
        SDL_FreeSurface(surface);
    }
}

void ColorKey(int32_t r, int32_t g, int32_t b) {
    colourKey.red = r;
    colourKey.green = g;
    colourKey.blue = b;
    colourKey.enabled = true;
}

void NoColorKey() { colourKey.enabled = false; }

void ResetColourKey() { colourKey = ColourKeyState{}; }

ObjectHandle LoadSprite(const std::string& filename) {
    CheckFileExists(filename);
    // With no live active window the renderer is null and the load fails.
    SDL_Renderer* renderer = platform::ActiveRenderer();
    SDL_Texture* texture = platform::ImgLoadTexture(renderer, filename.c_str());
    if (!texture) LoadFailed("SDL_LoadBMP Error: ");
    return RegisterSprite(texture, renderer);
}

ObjectHandle CreateSprite(ObjectHandle image) {
    // A dead image reaches SDL as null, which refuses it with its own message.
    SDL_Renderer* renderer = platform::ActiveRenderer();
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, LiveImage(image));
    if (!texture) LoadFailed("SDL_CreateTextureFromSurface Error: ");
    return RegisterSprite(texture, renderer);
}

void FreeSprite(ObjectHandle sprite) {
    if (SDL_Texture* texture = LiveSprite(sprite)) {
        core::ForgetHandle(texture, HandleKind::Sprite);
        SDL_DestroyTexture(texture);
    }
}

void SpriteColor(ObjectHandle sprite, int32_t r, int32_t g, int32_t b, int32_t alpha) {
    SDL_Texture* texture = LiveSprite(sprite);
    if (!texture) return;
    SDL_SetTextureColorMod(texture, Channel(r), Channel(g), Channel(b));
    SDL_SetTextureAlphaMod(texture, Channel(alpha));
    // Without blending a texture lacking an alpha channel ignores the alpha
    // modulation; with it, fully opaque drawing looks the same as before.
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
}

int32_t SpriteWidth(ObjectHandle sprite) {
    int w = 0;
    if (SDL_Texture* texture = LiveSprite(sprite)) SDL_QueryTexture(texture, nullptr, nullptr, &w, nullptr);
    return w;
}

int32_t SpriteHeight(ObjectHandle sprite) {
    int h = 0;
    if (SDL_Texture* texture = LiveSprite(sprite)) SDL_QueryTexture(texture, nullptr, nullptr, nullptr, &h);
    return h;
}

void DrawSprite(ObjectHandle sprite, int32_t x, int32_t y, double xscale, double yscale, double angle, bool vflip,
                bool hflip) {
    SDL_Texture* texture = LiveSprite(sprite);
    if (!texture) return;
    int w = 0, h = 0;
    SDL_QueryTexture(texture, nullptr, nullptr, &w, &h);
    CopyEx(texture, nullptr, x, y, w, h, xscale, yscale, angle, vflip, hflip);
}

void DrawSpritePart(ObjectHandle sprite, int32_t x, int32_t y, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                    double xscale, double yscale, double angle, bool vflip, bool hflip) {
    SDL_Texture* texture = LiveSprite(sprite);
    if (!texture) return;
    SDL_Rect source{sx, sy, sw, sh};
    CopyEx(texture, &source, x, y, sw, sh, xscale, yscale, angle, vflip, hflip);
}

}  // namespace vorlune::graphics
