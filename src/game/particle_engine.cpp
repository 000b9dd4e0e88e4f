#include "game/particle_engine.hpp"

#include <new>
#include <cmath>
#include <limits>

#include "graphics/frame.hpp"
#include "util/convert.hpp"
#include "util/random.hpp"

namespace vorlune::game {
namespace {

// Degrees to radians.
constexpr double kRadiansPerDegree = 0.017453292519943295;

}  // namespace

int32_t TruncateToInt32(double v) {
    // A position can grow without bound (a huge force) or become NaN
    // (infinity times zero); only values that fit are converted.
    return util::TruncSaturated(v, std::numeric_limits<int32_t>::min());
}

int32_t ParticleTicks() { return graphics::TimerTicks(); }

TParticleClass::TParticleClass() { util::SeedRandomFromClock(); }

TParticleClass::~TParticleClass() {
    while (!particles_.empty()) particles_.pop_back();
}

std::unique_ptr<TParticleClass> TParticleClass::Create() { return std::make_unique<TParticleClass>(); }

void TParticleClass::AddParticle(int32_t x, int32_t y, double angle, double force, int32_t delay) {
    // Past the limit the request is refused as running out of memory would.
    if (particles_.size() >= kMaxParticles) throw std::bad_alloc();
    auto p = std::make_unique<TParticle>();
    // The tick count wraps around after 2^31 ms, and so does the birth time.
    p->birth = static_cast<int32_t>(static_cast<uint32_t>(ParticleTicks()) +
                                    static_cast<uint32_t>(util::RandomInt(1000)));
    p->x = x;
    p->y = y;
    p->angle = angle;
    p->force = force;
    p->delay = delay;
    p->xpos = x;
    p->ypos = y;
    p->vx = std::sin(angle * kRadiansPerDegree) * force;
    p->vy = -std::cos(angle * kRadiansPerDegree) * force;
    particles_.push_back(std::move(p));
}

void TParticleClass::DeleteParticle(int32_t index) {
    if (index < 0 || index > LastIndex()) return;
    particles_.erase(particles_.begin() + index);
}

void TParticleClass::DeleteParticles(const std::vector<bool>& dead) {
    // One pass keeping the survivors in order: removing n records one by one
    // from the middle would move the list n times.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < particles_.size(); ++i) {
        if (i < dead.size() && dead[i]) continue;
        if (kept != i) particles_[kept] = std::move(particles_[i]);
        ++kept;
    }
    particles_.resize(kept);
}

void TParticleClass::UpdateParticles() {
    for (auto& p : particles_) {
        // A negative delay (from a negative creation delay) counts as no
        // delay: counting it down would hold the particle for 2^32 passes.
        if (p->delay > 0) {
            --p->delay;
            continue;
        }
        p->xpos += p->vx;
        p->ypos += p->vy;
        p->x = TruncateToInt32(p->xpos);
        p->y = TruncateToInt32(p->ypos);
    }
}

void TParticleClass::GetParticle(int32_t index, TParticle& destination) const {
    if (index < 0 || index > LastIndex()) return;
    destination = *particles_[static_cast<std::size_t>(index)];
}

int32_t TParticleClass::LastIndex() const {
    // size - 1 wraps to the all-ones value for an empty list, which converts to -1.
    return static_cast<int32_t>(particles_.size() - 1);
}

}  // namespace vorlune::game
