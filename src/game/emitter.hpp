// Particle emitters: bursts of sprite particles thrown out of a point in
// random directions. Emitters are numbered from 0 in creation order and never
// reused; each owns one particle engine (game/particle_engine.hpp). Particles
// die while being drawn (off the window, too far from the emission point or
// too old); a streaming emitter replaces each dead particle at once.
//
// An emitter number outside 0 .. count - 1 ends the process with the box
// "No emitter available."; a freed emitter acts as one without particles.
#pragma once

#include <cstdint>

#include "game/particle_engine.hpp"
#include "graphics/sprite.hpp"

namespace vorlune::game {

int32_t CreateEmitter(int32_t amount, int32_t live, bool stream);  // new emitter (reseeds the random generator); its number
void CreateParticles(int32_t emitterval, int32_t x, int32_t y, double aangle, double bangle, double force,
                     int32_t creationdelay);  // burst of amount + 1 particles at (x,y); a streaming emitter remembers the values
void UpdateParticles();                       // move every particle of every emitter; fatal while no emitter exists
void DrawParticles(int32_t emitterval, graphics::Sprite sprite, double sizex, double sizey, double angle, bool vflip,
                   bool hflip);               // draw last to first, remove the dead, stream replacements
void DrawMovingParticles(int32_t emitterval, graphics::Sprite sprite, int32_t x, int32_t y, double sizex, double sizey,
                         double angle, bool vflip, bool hflip, double aangle,
                         double bangle);      // likewise around the moving point (x,y); fatal when a non-streaming particle dies
void HaltEmitter(int32_t emitternumber);      // delete every particle; the settings stay
void ResumeEmitter(int32_t emitternumber, int32_t x, int32_t y, double aangle,
                   double bangle);            // streaming burst of amount + 1 at (x,y); fatal for a non-streaming emitter
void FreeEmitter(int32_t emitternumber);      // destroy the engine and its particles; the number stays used

// Angle, force and delay of a new particle, drawn in this order:
// R64(round(aangle)), R(1000), R(100), R64(round(force)), R(creationdelay).
struct Emission {
    double angle;   // bangle + R64(round(aangle)) + R(1000) / 1000
    double force;   // R64(round(force)) + R(100) / 100
    int32_t delay;  // R(creationdelay)
};
Emission EmissionValues(double aangle, double bangle, double force, int32_t creationdelay);  // draws one set
int64_t RoundToInt64(double v);               // nearest, ties to even; saturated beyond 64 bits, NaN gives 0


}  // namespace vorlune::game
