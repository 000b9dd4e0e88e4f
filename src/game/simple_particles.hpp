// Simple particles: one process-wide cloud of coloured dots, circles, boxes
// or images for explosions and sparks. Bursts fly outwards in random
// directions, speeding up slightly on every update; one update call moves,
// draws and retires every particle.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/sprite.hpp"

namespace vorlune::game {

void CreateSimpleParticles(int32_t px, int32_t py, int32_t number, int32_t cycle, int32_t red, int32_t green,
                           int32_t blue, int32_t alpha);  // append number particles at (px,py), lives 0..cycle updates
void UpdateSimpleParticles();                        // move, draw and retire every particle on the active window
void ResetSimpleParticles();                         // remove every particle; the settings stay
void SetSimpleParticleSize(int32_t size, const std::string& flag);  // "random" (1..size+1) or "normal" (size), any case
void SetSimpleParticleType(const std::string& type); // "fillcircle", "circle", "fillbox", "box", "dot" or "image", any case
void SetSimpleParticleImage(graphics::Sprite image); // the sprite drawn by the image type

namespace simple {

inline constexpr int32_t kMaxSimpleParticles = 1 << 20;  // particles of the cloud; more is "not enough memory"

// One particle of the cloud.
struct TParticle {
    float px = 0;         // position x
    float py = 0;         // position y
    float dx = 0;         // velocity x per update
    float dy = 0;         // velocity y per update
    int32_t life = 0;     // updates left to live
    int32_t size = 0;     // radius or side in pixels; the scale factor for images
    int32_t red = 0;      // colour, passed to color as given
    int32_t green = 0;
    int32_t blue = 0;
    int32_t alpha = 0;
};

enum TPType : int32_t { ptDot = 0, ptFillcircle = 1, ptCircle = 2, ptFillbox = 3, ptBox = 4, ptImage = 5 };
enum TSize : int32_t { Random = 0, Normal = 1 };

// Where an update pass draws: the active window, or a recorder in tests.
class DrawSink {
public:
    virtual ~DrawSink() = default;
    virtual void Colour(int32_t red, int32_t green, int32_t blue, int32_t alpha) = 0;  // as color
    virtual void Shape(TPType type, int32_t x, int32_t y, int32_t size, ObjectHandle image) = 0;  // one particle
};

void Update(DrawSink& sink);             // one update pass drawing to sink
void DrawShape(TPType type, int32_t x, int32_t y, int32_t size, ObjectHandle image);  // the primitive or sprite for a type


}  // namespace simple
}  // namespace vorlune::game
