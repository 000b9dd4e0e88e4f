// Read-only views of game-helper state that scripts cannot query, for tests.
// Engine code does not include this header.
#pragma once

#include <cstdint>

#include "game/simple_particles.hpp"

namespace vorlune::game {

class TParticleClass;

// One row of the emitter table, as stored.
struct EmitterSettings {
    int32_t amount, live;
    bool stream;
    int32_t x, y, creationdelay;
    double aangle, bangle, force;
};
int32_t EmitterCount();                               // emitters created so far
EmitterSettings GetEmitterSettings(int32_t emitter);  // row of a valid number
const TParticleClass* EmitterEngine(int32_t emitter); // its engine; nullptr when freed or not created

namespace simple {

struct Settings {
    TPType type;          // shape, default ptFillcircle
    int32_t size;         // size for new particles, default 2
    TSize mode;           // random or fixed size, default Random
    ObjectHandle image;   // handle of the image type's sprite, default null
};
Settings GetSettings();                  // current settings
int32_t Count();                         // particles alive
TParticle Get(int32_t index);            // element 1 .. Count(); a default record otherwise

}  // namespace simple
}  // namespace vorlune::game
