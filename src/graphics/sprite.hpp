// Images (surfaces in main memory) and sprites (textures of a renderer).
//
// Scripts hold handles; the script layer resolves each handle once, at the
// call, into an Image or a Sprite, which carries the live object or null.
// A handle that is null, freed, of the other kind or made on a closed window
// resolves to null, so drawing does nothing and size queries answer 0.
#pragma once

#include <cstdint>
#include <string>

#include "core/handles.hpp"

struct SDL_Surface;
struct SDL_Texture;
struct SDL_Renderer;
struct SDL_Rect;

namespace vorlune::graphics {

struct Image {
    ObjectHandle handle = nullptr;       // the script's token
    SDL_Surface* surface = nullptr;      // the live surface, or null
    static Image Resolve(ObjectHandle handle);
};

struct Sprite {
    ObjectHandle handle = nullptr;       // the script's token
    SDL_Texture* texture = nullptr;      // the live texture, or null
    SDL_Renderer* renderer = nullptr;    // the renderer that owns it
    static Sprite Resolve(ObjectHandle handle);
};

Image LoadImage(const std::string& filename);         // surface with the colour key applied; missing file or load failure ends the process
void FreeImage(Image image);                          // free a live image; anything else is ignored
void ColorKey(int32_t r, int32_t g, int32_t b);       // key colour for later loads (low 8 bits of each), keying on
void NoColorKey();                                    // keying off; the colour is kept for a later colorkey
Sprite LoadSprite(const std::string& filename);       // texture on the active renderer, no colour key; failure ends the process
Sprite CreateSprite(Image image);                     // texture from an image on the active renderer; the image stays
void FreeSprite(Sprite sprite);                       // destroy a live sprite; anything else is ignored
void SpriteColor(Sprite sprite, int32_t r, int32_t g, int32_t b, int32_t alpha);  // tint and opacity of later draws (switches on blending)
int32_t SpriteWidth(Sprite sprite);                   // width in pixels, 0 for a dead handle
int32_t SpriteHeight(Sprite sprite);                  // height in pixels, 0 for a dead handle
void DrawSprite(Sprite sprite, int32_t x, int32_t y, double xscale, double yscale, double angle, bool vflip,
                bool hflip);                          // whole sprite at (x,y), size scaled, rotated about the destination centre
void DrawSpritePart(Sprite sprite, int32_t x, int32_t y, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                    double xscale, double yscale, double angle, bool vflip, bool hflip);  // part (sx,sy,sw,sh), likewise

// For the engine's own drawing loops (glyphs, tiles, particles), which check
// once per call and then copy many times.
bool Drawable(const Sprite& sprite);                  // live and owned by the active renderer
void CopySprite(const Sprite& sprite, const SDL_Rect* source, int32_t x, int32_t y, int32_t w, int32_t h,
                double xscale, double yscale, double angle, bool vflip, bool hflip);  // one copy of a Drawable sprite; source null: whole

int FlipFor(bool vflip, bool hflip);                  // SDL flip value: vertical wins over horizontal, never both
int32_t ScaledSize(int32_t size, double scale);       // N(size * scale), ties to even, saturated to 32 bits

}  // namespace vorlune::graphics
