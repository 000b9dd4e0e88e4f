#include "game/emitter.hpp"

#include <new>
#include <cmath>
#include <memory>
#include <vector>

#include "graphics/sprite.hpp"
#include "graphics/window.hpp"
#include "platform/exit.hpp"
#include "core/reset.hpp"
#include "game/inspect.hpp"
#include "util/convert.hpp"
#include "util/random.hpp"

namespace vorlune::game {
namespace {

// The emitter table: parallel arrays indexed by the emitter number.
struct TEmitter {
    int32_t count = 0;                 // emitters created; valid numbers are 0 .. count - 1
    std::vector<int32_t> amount;       // a burst spawns amount + 1 particles
    std::vector<int32_t> live;         // life limit: ms of age and pixels from the emission point
    std::vector<bool> stream;          // dead particles are replaced, burst values remembered
    std::vector<int32_t> x;            // remembered emission point (0 until a streaming burst)
    std::vector<int32_t> y;
    std::vector<int32_t> creationdelay;  // remembered delay range
    std::vector<double> aangle;        // remembered angle range, degrees
    std::vector<double> bangle;        // remembered base angle, degrees
    std::vector<double> force;         // remembered force range
} emitter;

// One engine per emitter number; null once the emitter is freed.
std::vector<std::unique_ptr<TParticleClass>> engines;

// The index of a created emitter; anything else ends the process.
std::size_t Checked(int32_t n) {
    if (n < 0 || n >= emitter.count) platform::FatalErrorBox("Error", "No emitter available.");
    return static_cast<std::size_t>(n);
}

[[noreturn]] void NoStreamingEmitter() { platform::FatalErrorBox("Error", "No streaming emitter available."); }

// amount + 1, the size of a burst; nothing for a negative amount.
int64_t BurstSize(std::size_t n) { return static_cast<int64_t>(emitter.amount[n]) + 1; }

void Spawn(TParticleClass& engine, int32_t x, int32_t y, double aangle, double bangle, double force,
           int32_t creationdelay) {
    const Emission e = EmissionValues(aangle, bangle, force, creationdelay);
    engine.AddParticle(x, y, e.angle, e.force, e.delay);
}

// Draws the particles from the last to the first and removes those that die,
// calling replace(engine) after each removal; (cx, cy) is the point distances
// are measured from. Walking backwards, a removal never moves a particle still
// to be visited, and replacements appended at the end wait for the next call.
template <typename Replace>
void DrawAndCull(std::size_t n, const graphics::Sprite& sprite, int32_t cx, int32_t cy, double sizex, double sizey,
                 double angle, bool vflip, bool hflip, Replace replace) {
    TParticleClass& engine = *engines[n];
    const int32_t live = emitter.live[n];
    const int32_t width = graphics::WindowWidth();
    const int32_t height = graphics::WindowHeight();
    // The sprite and its size are looked up once for all particles.
    const bool drawable = graphics::Drawable(sprite);
    const int32_t w = graphics::SpriteWidth(sprite), h = graphics::SpriteHeight(sprite);
    // The dead are removed together after the walk: walking backwards, a
    // removal moves only particles already visited, and replacements are
    // appended after all of them, so the order is the same as removing each
    // at once, without moving the list once per death.
    std::vector<bool> dead(static_cast<std::size_t>(engine.LastIndex() + 1), false);
    for (int32_t k = engine.LastIndex(); k >= 0; --k) {
        TParticle p;
        engine.GetParticle(k, p);
        if (drawable) graphics::CopySprite(sprite, nullptr, p.x, p.y, w, h, sizex, sizey, angle, vflip, hflip);
        const int32_t now = ParticleTicks();
        const double dx = static_cast<double>(p.x) - static_cast<double>(cx);
        const double dy = static_cast<double>(p.y) - static_cast<double>(cy);
        // The tick count wraps around, so the age is a wrapping difference.
        const int32_t age = static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(p.birth));
        const bool dies = p.x < 0 || p.x > width || p.y < 0 || p.y > height || std::sqrt(dx * dx + dy * dy) >= live ||
                          age >= live;
        if (!dies) continue;
        dead[static_cast<std::size_t>(k)] = true;
        replace(engine);
    }
    engine.DeleteParticles(dead);
}

}  // namespace

int64_t RoundToInt64(double v) { return util::Saturate<int64_t>(std::nearbyint(v)); }

Emission EmissionValues(double aangle, double bangle, double force, int32_t creationdelay) {
    // Separate statements fix the order of the draws.
    const int64_t wholeDegrees = util::RandomInt64(RoundToInt64(aangle));
    const int32_t thousandths = util::RandomInt(1000);
    const int32_t hundredths = util::RandomInt(100);
    const int64_t wholeForce = util::RandomInt64(RoundToInt64(force));
    const int32_t delay = util::RandomInt(creationdelay);
    return Emission{bangle + static_cast<double>(wholeDegrees) + thousandths / 1000.0,
                    static_cast<double>(wholeForce) + hundredths / 100.0, delay};
}

int32_t CreateEmitter(int32_t amount, int32_t live, bool stream) {
    const int32_t n = emitter.count;
    emitter.amount.push_back(amount);
    emitter.live.push_back(live);
    emitter.stream.push_back(stream);
    emitter.x.push_back(0);
    emitter.y.push_back(0);
    emitter.creationdelay.push_back(0);
    emitter.aangle.push_back(0.0);
    emitter.bangle.push_back(0.0);
    emitter.force.push_back(0.0);
    engines.push_back(TParticleClass::Create());  // reseeds the random generator
    emitter.count = n + 1;
    return n;
}

void CreateParticles(int32_t emitterval, int32_t x, int32_t y, double aangle, double bangle, double force,
                     int32_t creationdelay) {
    const std::size_t n = Checked(emitterval);
    if (!engines[n]) return;
    // A burst that cannot fit is refused before it starts.
    if (BurstSize(n) > static_cast<int64_t>(kMaxParticles) - (engines[n]->LastIndex() + 1)) throw std::bad_alloc();
    for (int64_t i = 0; i < BurstSize(n); ++i) {
        Spawn(*engines[n], x, y, aangle, bangle, force, creationdelay);
        if (emitter.stream[n]) {
            emitter.x[n] = x;
            emitter.y[n] = y;
            emitter.creationdelay[n] = creationdelay;
            emitter.aangle[n] = aangle;
            emitter.bangle[n] = bangle;
            emitter.force[n] = force;
        }
    }
}

void UpdateParticles() {
    if (emitter.count == 0) platform::FatalErrorBox("Error", "No emitter available.");
    for (auto& engine : engines) {
        if (engine) engine->UpdateParticles();
    }
}

void DrawParticles(int32_t emitterval, graphics::Sprite sprite, double sizex, double sizey, double angle, bool vflip,
                   bool hflip) {
    const std::size_t n = Checked(emitterval);
    if (!engines[n]) return;
    DrawAndCull(n, sprite, emitter.x[n], emitter.y[n], sizex, sizey, angle, vflip, hflip, [n](TParticleClass& engine) {
        if (emitter.stream[n]) {
            Spawn(engine, emitter.x[n], emitter.y[n], emitter.aangle[n], emitter.bangle[n], emitter.force[n],
                  emitter.creationdelay[n]);
        }
    });
}

void DrawMovingParticles(int32_t emitterval, graphics::Sprite sprite, int32_t x, int32_t y, double sizex, double sizey,
                         double angle, bool vflip, bool hflip, double aangle, double bangle) {
    const std::size_t n = Checked(emitterval);
    if (!engines[n]) return;
    DrawAndCull(n, sprite, x, y, sizex, sizey, angle, vflip, hflip, [=](TParticleClass& engine) {
        if (!emitter.stream[n]) NoStreamingEmitter();
        Spawn(engine, x, y, aangle, bangle, emitter.force[n], emitter.creationdelay[n]);
    });
}

void HaltEmitter(int32_t emitternumber) {
    const std::size_t n = Checked(emitternumber);
    if (!engines[n]) return;
    for (int32_t k = engines[n]->LastIndex(); k >= 0; --k) engines[n]->DeleteParticle(k);
}

void ResumeEmitter(int32_t emitternumber, int32_t x, int32_t y, double aangle, double bangle) {
    const std::size_t n = Checked(emitternumber);
    if (!engines[n]) return;
    if (BurstSize(n) > 0 && !emitter.stream[n]) NoStreamingEmitter();
    // A burst that cannot fit is refused before it starts.
    if (BurstSize(n) > static_cast<int64_t>(kMaxParticles) - (engines[n]->LastIndex() + 1)) throw std::bad_alloc();
    for (int64_t i = 0; i < BurstSize(n); ++i) {
        Spawn(*engines[n], x, y, aangle, bangle, emitter.force[n], emitter.creationdelay[n]);
    }
}

void FreeEmitter(int32_t emitternumber) {
    const std::size_t n = Checked(emitternumber);
    engines[n].reset();
}

int32_t EmitterCount() { return emitter.count; }

EmitterSettings GetEmitterSettings(int32_t n) {
    if (n < 0 || n >= emitter.count) return EmitterSettings{};
    const std::size_t i = static_cast<std::size_t>(n);
    return EmitterSettings{emitter.amount[i],        emitter.live[i],   emitter.stream[i],
                           emitter.x[i],             emitter.y[i],      emitter.creationdelay[i],
                           emitter.aangle[i],        emitter.bangle[i], emitter.force[i]};
}

const TParticleClass* EmitterEngine(int32_t n) {
    if (n < 0 || n >= emitter.count) return nullptr;
    return engines[static_cast<std::size_t>(n)].get();
}

const core::ResetHook resetHook([] {
    engines.clear();
    emitter = TEmitter{};
});

}  // namespace vorlune::game
