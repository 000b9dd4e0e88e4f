#include "graphics/sprite.hpp"

#include <algorithm>

#include <SDL.h>

#include "graphics/batch.hpp"
#include "graphics/canvas.hpp"
#include "platform/active_window.hpp"
#include "platform/image_library.hpp"
#include "graphics/target.hpp"
#include "graphics/window.hpp"
#include "core/paths.hpp"
#include "core/reset.hpp"
#include "util/convert.hpp"
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

SDL_Surface* LiveSurface(ObjectHandle image) { return static_cast<SDL_Surface*>(core::Resolve(image, HandleKind::Image)); }

// Whether and how a copy reaches the renderer (graphics/clip.hpp).
CopyPlan PlanSpriteCopy(const Sprite& sprite, const SDL_Rect* source, const SDL_Rect& destination, double xscale,
                        double yscale, double angle, bool flipped) {
    if (!FiniteCopy(xscale, yscale, angle)) return CopyPlan{};
    int tw = 0, th = 0;
    SDL_QueryTexture(sprite.texture, nullptr, nullptr, &tw, &th);
    int64_t sw = tw, sh = th;
    if (source) {
        // The renderer copies the part of the source inside the texture.
        auto cut = [](int64_t start, int64_t size, int64_t limit) {
            return std::max<int64_t>(0, std::min(start + size, limit) - std::max<int64_t>(start, 0));
        };
        sw = cut(source->x, source->w, tw);
        sh = cut(source->y, source->h, th);
    }
    return PlanCopy(TargetOf(sprite.renderer), Copy{destination.x, destination.y, destination.w, destination.h, sw, sh,
                                                     angle, flipped});
}

}  // namespace

Image Image::Resolve(ObjectHandle handle) { return Image{handle, LiveSurface(handle)}; }

Sprite Sprite::Resolve(ObjectHandle handle) {
    auto* texture = static_cast<SDL_Texture*>(core::Resolve(handle, HandleKind::Sprite));
    if (!texture) return Sprite{handle, nullptr, nullptr};
    // The renderer owns the texture: closewindow forgets it with the renderer.
    auto* renderer = static_cast<SDL_Renderer*>(const_cast<void*>(core::OwnerOf(handle)));
    return Sprite{handle, texture, renderer};
}

bool Drawable(const Sprite& sprite) {
    // A sprite of another window's renderer would be refused by SDL: nothing
    // is drawn, and SDL never sees it.
    return sprite.texture && sprite.renderer == platform::ActiveRenderer();
}

void CopySprite(const Sprite& sprite, const SDL_Rect* source, int32_t x, int32_t y, int32_t w, int32_t h,
                double xscale, double yscale, double angle, bool vflip, bool hflip) {
    SDL_Rect destination{x, y, ScaledSize(w, xscale), ScaledSize(h, yscale)};
    const CopyPlan plan = PlanSpriteCopy(sprite, source, destination, xscale, yscale, angle, vflip || hflip);
    if (!plan.draw) return;
    canvas::CopyTexture(sprite.renderer, sprite.texture, source, destination, plan.angle, FlipFor(vflip, hflip));
}

int FlipFor(bool vflip, bool hflip) {
    if (vflip) return SDL_FLIP_VERTICAL;
    if (hflip) return SDL_FLIP_HORIZONTAL;
    return SDL_FLIP_NONE;
}

int32_t ScaledSize(int32_t size, double scale) {
    // Ties to even; saturated rather than converted out of range, NaN gives 0.
    return util::RoundEvenSaturated(static_cast<double>(size) * scale);
}

Image LoadImage(const std::string& filename) {
    CheckFileExists(filename);
    SDL_Surface* surface = platform::ImgLoad(filename.c_str());
    if (!surface) LoadFailed("SDL_LoadBMP Error: ");
    if (colourKey.enabled) {
        Uint32 key = SDL_MapRGB(surface->format, util::Channel(colourKey.red), util::Channel(colourKey.green),
                                util::Channel(colourKey.blue));
        SDL_SetColorKey(surface, 1, key);
    }
    return Image{core::RegisterHandle(surface, HandleKind::Image), surface};
}

void FreeImage(Image image) {
    if (core::ForgetHandle(image.handle, HandleKind::Image)) SDL_FreeSurface(image.surface);
}

void ColorKey(int32_t r, int32_t g, int32_t b) {
    colourKey.red = r;
    colourKey.green = g;
    colourKey.blue = b;
    colourKey.enabled = true;
}

void NoColorKey() { colourKey.enabled = false; }

namespace {

Sprite RegisterSprite(SDL_Texture* texture, SDL_Renderer* renderer) {
    return Sprite{core::RegisterHandle(texture, HandleKind::Sprite, renderer), texture, renderer};
}

}  // namespace

Sprite LoadSprite(const std::string& filename) {
    CheckFileExists(filename);
    // With no live active window the renderer is null and the load fails.
    SDL_Renderer* renderer = platform::ActiveRenderer();
    // What IMG_LoadTexture does, keeping the picture until the copy queue has
    // looked at its alpha.
    SDL_Surface* surface = platform::ImgLoad(filename.c_str());
    SDL_Texture* texture = surface ? SDL_CreateTextureFromSurface(renderer, surface) : nullptr;
    if (texture) batch::Created(texture, renderer, surface);
    if (surface) SDL_FreeSurface(surface);
    if (!texture) LoadFailed("SDL_LoadBMP Error: ");
    return RegisterSprite(texture, renderer);
}

Sprite CreateSprite(Image image) {
    // A dead image reaches SDL as null, which refuses it with its own message.
    SDL_Renderer* renderer = platform::ActiveRenderer();
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, image.surface);
    if (!texture) LoadFailed("SDL_CreateTextureFromSurface Error: ");
    batch::Created(texture, renderer, image.surface);
    return RegisterSprite(texture, renderer);
}

void FreeSprite(Sprite sprite) {
    if (!core::ForgetHandle(sprite.handle, HandleKind::Sprite)) return;
    batch::Draw(sprite.renderer);  // copies of it may be queued
    batch::Destroyed(sprite.texture);
    SDL_DestroyTexture(sprite.texture);
}

void SpriteColor(Sprite sprite, int32_t r, int32_t g, int32_t b, int32_t alpha) {
    SDL_Texture* texture = sprite.texture;
    if (!texture) return;
    batch::Draw(sprite.renderer);  // copies queued before keep their colour
    SDL_SetTextureColorMod(texture, util::Channel(r), util::Channel(g), util::Channel(b));
    SDL_SetTextureAlphaMod(texture, util::Channel(alpha));
    // Without blending a texture lacking an alpha channel ignores the alpha
    // modulation; with it, fully opaque drawing looks the same as before.
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
}

int32_t SpriteWidth(Sprite sprite) {
    int w = 0;
    if (sprite.texture) SDL_QueryTexture(sprite.texture, nullptr, nullptr, &w, nullptr);
    return w;
}

int32_t SpriteHeight(Sprite sprite) {
    int h = 0;
    if (sprite.texture) SDL_QueryTexture(sprite.texture, nullptr, nullptr, nullptr, &h);
    return h;
}

void DrawSprite(Sprite sprite, int32_t x, int32_t y, double xscale, double yscale, double angle, bool vflip,
                bool hflip) {
    if (!Drawable(sprite)) return;
    int w = 0, h = 0;
    SDL_QueryTexture(sprite.texture, nullptr, nullptr, &w, &h);
    CopySprite(sprite, nullptr, x, y, w, h, xscale, yscale, angle, vflip, hflip);
}

void DrawSpritePart(Sprite sprite, int32_t x, int32_t y, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                    double xscale, double yscale, double angle, bool vflip, bool hflip) {
    if (!Drawable(sprite)) return;
    SDL_Rect source{sx, sy, sw, sh};
    CopySprite(sprite, &source, x, y, sw, sh, xscale, yscale, angle, vflip, hflip);
}

const core::ResetHook resetHook([] { colourKey = ColourKeyState{}; });

}  // namespace vorlune::graphics
