// Images (surfaces in main memory) and sprites (textures of a renderer).
//
// Every handle handed to a script is recorded in the live-handle registry;
// a handle that is null, freed, of the other kind or made on a closed window
// is treated as the null handle, so drawing does nothing and size queries
// answer 0.
#pragma once

#include <cstdint>
#include <string>

#include "core/handles.hpp"

namespace vorlune::graphics {

ObjectHandle LoadImage(const std::string& filename);  // surface with the colour key applied; missing file or load failure ends the process
void FreeImage(ObjectHandle image);                   // free a live image; anything else is ignored
void ColorKey(int32_t r, int32_t g, int32_t b);       // key colour for later loads (low 8 bits of each), keying on
void NoColorKey();                                    // keying off; the colour is kept for a later colorkey
ObjectHandle LoadSprite(const std::string& filename); // texture on the active renderer, no colour key; failure ends the process
ObjectHandle CreateSprite(ObjectHandle image);        // texture from an image on the active renderer; the image stays
void FreeSprite(ObjectHandle sprite);                 // destroy a live sprite; anything else is ignored
void SpriteColor(ObjectHandle sprite, int32_t r, int32_t g, int32_t b, int32_t alpha);  // tint and opacity of later draws (switches on blending)
int32_t SpriteWidth(ObjectHandle sprite);             // width in pixels, 0 for a dead handle
int32_t SpriteHeight(ObjectHandle sprite);            // height in pixels, 0 for a dead handle
void DrawSprite(ObjectHandle sprite, int32_t x, int32_t y, double xscale, double yscale, double angle, bool vflip,
                bool hflip);                          // whole sprite at (x,y), size scaled, rotated about the destination centre
void DrawSpritePart(ObjectHandle sprite, int32_t x, int32_t y, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                    double xscale, double yscale, double angle, bool vflip, bool hflip);  // part (sx,sy,sw,sh), likewise

int FlipFor(bool vflip, bool hflip);                  // SDL flip value: vertical wins over horizontal, never both
int32_t ScaledSize(int32_t size, double scale);       // N(size * scale), ties to even, saturated to 32 bits
void ResetColourKey();                                // keying on, magenta (start-up, tests)

}  // namespace vorlune::graphics
