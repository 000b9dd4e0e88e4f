// The particle engine of an emitter: an ordered list of sprite particles that
// fly in straight lines. Each emitter owns one engine (game/emitter.hpp).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace vorlune::game {

// One emitter particle.
struct TParticle {
    int32_t x = 0;         // drawing position x: xpos truncated toward zero
    int32_t y = 0;         // drawing position y: ypos truncated toward zero
    double angle = 0.0;    // direction in degrees: 0 up, 90 right (clockwise)
    double force = 0.0;    // speed in pixels per update pass
    int32_t delay = 0;     // update passes still to wait before the first move
    int32_t birth = 0;     // tick count at spawn plus a random 0..999 ms
    double xpos = 0.0;     // exact position x
    double ypos = 0.0;     // exact position y
    double vx = 0.0;       // velocity x per update pass
    double vy = 0.0;       // velocity y per update pass
};

// The engine: owns its particle records, kept in spawn order.
class TParticleClass {
public:
    TParticleClass();                      // empty list; reseeds the random generator from the clock
    virtual ~TParticleClass();             // deletes the particles from the last to the first
    TParticleClass(const TParticleClass&) = delete;
    TParticleClass& operator=(const TParticleClass&) = delete;

    static std::unique_ptr<TParticleClass> Create();  // a new engine (reseeds, as the constructor does)

    void AddParticle(int32_t x, int32_t y, double angle, double force, int32_t delay);  // spawn and append one particle
    void DeleteParticle(int32_t index);    // release the record at index; later ones move down (bad index: nothing)
    void DeleteParticles(const std::vector<bool>& dead);  // release every record i with dead[i], the rest keep their order
    void UpdateParticles();                // one movement pass in list order
    void GetParticle(int32_t index, TParticle& destination) const;  // copy of a record; bad index leaves destination
    int32_t LastIndex() const;             // number of particles minus one (-1 when empty)

private:
    std::vector<std::unique_ptr<TParticle>> particles_;  // each record allocated on its own
};

int32_t TruncateToInt32(double v);         // toward zero; beyond 32 bits saturated, NaN gives INT32_MIN
inline constexpr std::size_t kMaxParticles = 1 << 20;  // live particles of one emitter; one more is "not enough memory"
int32_t ParticleTicks();                   // the tick count particles are timed with: the frame timer's

}  // namespace vorlune::game
