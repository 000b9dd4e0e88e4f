#include "game/simple_particles.hpp"

#include <new>
#include <algorithm>
#include <limits>
#include <vector>

#include "graphics/draw.hpp"
#include "graphics/raster.hpp"
#include "graphics/sprite.hpp"
#include "core/reset.hpp"
#include "game/inspect.hpp"
#include "util/numbers.hpp"
#include "util/strings.hpp"

namespace vorlune::game {
namespace {

using simple::TParticle;
using simple::TPType;
using simple::TSize;

// The particle cloud and how it looks.
struct CloudState {
    std::vector<TParticle> particles = std::vector<TParticle>(1);  // element 0 unused; live ones are 1 .. count
    int32_t count = 0;                                               // particles alive: 1 .. count
    TPType type = simple::ptFillcircle;                              // shape of every particle at its next drawing
    int32_t size = 2;                                                // size for particles created afterwards
    TSize mode = simple::Random;                                     // whether that size is random, likewise
    ObjectHandle image = nullptr;                                    // handle of the image type's sprite
} cloud;

// round(rnd * n), ties to even, computed exactly: rnd is r / 2^32 for a
// 32-bit r, so the product is r * n / 2^32, whose 63 bits a double cannot
// always hold. |r * n| < 2^63 and the result lies between n and 0.
int32_t RoundRandomTimes(double rnd, int32_t n) {
    const int64_t r = static_cast<int64_t>(rnd * 4294967296.0);
    const int64_t product = r * n;
    int64_t whole = product >> 32;  // floor
    const int64_t fraction = product & 0xFFFFFFFF;
    if (fraction > 0x80000000 || (fraction == 0x80000000 && (whole & 1) != 0)) ++whole;
    return static_cast<int32_t>(whole);
}

// Sends the particles to the active window. The image type's sprite is
// resolved once per update pass, not once per particle.
class ScreenSink final : public simple::DrawSink {
public:
    ScreenSink() : sprite_(graphics::Sprite::Resolve(cloud.image)), drawable_(graphics::Drawable(sprite_)) {}
    void Colour(int32_t red, int32_t green, int32_t blue, int32_t alpha) override {
        graphics::Color(red, green, blue, alpha);
    }
    void Shape(TPType type, int32_t x, int32_t y, int32_t size, ObjectHandle) override {
        if (type != simple::ptImage) {
            simple::DrawShape(type, x, y, size, nullptr);
        } else if (drawable_) {
            // drawsprite(image, x, y, size, size, 0, false, false)
            graphics::CopySprite(sprite_, nullptr, x, y, graphics::SpriteWidth(sprite_), graphics::SpriteHeight(sprite_),
                                 size, size, 0.0, false, false);
        }
    }

private:
    graphics::Sprite sprite_;
    bool drawable_;
};

}  // namespace

void CreateSimpleParticles(int32_t px, int32_t py, int32_t number, int32_t cycle, int32_t red, int32_t green,
                           int32_t blue, int32_t alpha) {
    // A negative number drops particles from the end, but never below none;
    // the count stays a 32-bit value.
    const int64_t wanted = static_cast<int64_t>(cloud.count) + number;
    const int32_t newCount =
        static_cast<int32_t>(std::clamp<int64_t>(wanted, 0, std::numeric_limits<int32_t>::max()));
    // More than the limit is refused as running out of memory would.
    if (newCount > simple::kMaxSimpleParticles) throw std::bad_alloc();
    // Resize first: if memory runs out, the count still matches the array.
    cloud.particles.resize(static_cast<std::size_t>(newCount) + 1);
    const int64_t first = static_cast<int64_t>(cloud.count) + 1;
    cloud.count = newCount;
    for (int64_t i = first; i <= newCount; ++i) {
        TParticle& p = cloud.particles[static_cast<std::size_t>(i)];
        p.px = static_cast<float>(px);
        p.py = static_cast<float>(py);
        p.life = RoundRandomTimes(util::Rnd(), cycle);
        p.dx = static_cast<float>((util::Rnd() * 2 - 1) / 0.9);
        p.dy = static_cast<float>((util::Rnd() * 2 - 1) / 0.9);
        if (cloud.mode == simple::Random) {
            // 1 .. size + 1; the + 1 wraps for the largest size.
            p.size = static_cast<int32_t>(static_cast<uint32_t>(RoundRandomTimes(util::Rnd(), cloud.size)) + 1u);
        } else {
            p.size = cloud.size;
        }
        p.red = red;
        p.green = green;
        p.blue = blue;
        p.alpha = alpha;
    }
}

void UpdateSimpleParticles() {
    ScreenSink sink;
    simple::Update(sink);
}

void ResetSimpleParticles() {
    cloud.particles.resize(1);
    cloud.count = 0;
}

void SetSimpleParticleSize(int32_t size, const std::string& flag) {
    const std::string keyword = util::Uppercase(flag);
    if (keyword == "RANDOM") {
        cloud.size = size;
        cloud.mode = simple::Random;
    } else if (keyword == "NORMAL") {
        cloud.size = size;
        cloud.mode = simple::Normal;
    }
}

void SetSimpleParticleType(const std::string& type) {
    static constexpr struct {
        const char* keyword;
        TPType type;
    } kTypes[] = {{"FILLCIRCLE", simple::ptFillcircle}, {"CIRCLE", simple::ptCircle}, {"FILLBOX", simple::ptFillbox},
                  {"BOX", simple::ptBox},               {"DOT", simple::ptDot},       {"IMAGE", simple::ptImage}};
    const std::string keyword = util::Uppercase(type);
    for (const auto& entry : kTypes) {
        if (keyword == entry.keyword) {
            cloud.type = entry.type;
            return;
        }
    }
}

void SetSimpleParticleImage(graphics::Sprite image) { cloud.image = image.handle; }

namespace simple {

void Update(DrawSink& sink) {
    const int32_t n = cloud.count;
    int32_t removed = 0;
    for (int64_t i = 1; i <= n; ++i) {
        TParticle& p = cloud.particles[static_cast<std::size_t>(i)];
        if (p.life > 0) {
            p.px = p.px + p.dx;
            p.py = p.py + p.dy;
            // The velocity is stored as a 32-bit float, the factor 1.001 is
            // not: multiply in double precision, then store.
            p.dx = static_cast<float>(static_cast<double>(p.dx) * 1.001);
            p.dy = static_cast<float>(static_cast<double>(p.dy) * 1.001);
            p.life = p.life - 1;
        } else {
            // Fill the slot from the end; its own size and colour stay. The
            // source index stays at 1 or above: removed < i here.
            const TParticle& last = cloud.particles[static_cast<std::size_t>(n - removed)];
            p.px = last.px;
            p.py = last.py;
            p.life = last.life;
            p.dx = last.dx;
            p.dy = last.dy;
            ++removed;
        }
        sink.Colour(p.red, p.green, p.blue, p.alpha);
        // Positions grow without bound for long lives; those beyond 32 bits
        // (or NaN) come out as INT32_MIN, far off any window.
        sink.Shape(cloud.type, graphics::RoundEven(p.px), graphics::RoundEven(p.py), p.size, cloud.image);
    }
    cloud.count = n - removed;
    cloud.particles.resize(static_cast<std::size_t>(cloud.count) + 1);
}

void DrawShape(TPType type, int32_t x, int32_t y, int32_t size, ObjectHandle image) {
    switch (type) {
        case ptDot: graphics::Dot(x, y); break;
        case ptFillcircle: graphics::FillCircle(x, y, size); break;
        case ptCircle: graphics::Circle(x, y, size); break;
        case ptFillbox: graphics::FillRectangle(x, y, size, size); break;
        case ptBox: graphics::Rectangle(x, y, size, size); break;
        case ptImage: graphics::DrawSprite(graphics::Sprite::Resolve(image), x, y, size, size, 0, false, false); break;
    }
}

Settings GetSettings() { return Settings{cloud.type, cloud.size, cloud.mode, cloud.image}; }

int32_t Count() { return cloud.count; }

TParticle Get(int32_t index) {
    if (index < 1 || index > cloud.count) return TParticle{};
    return cloud.particles[static_cast<std::size_t>(index)];
}

const core::ResetHook resetHook([] { cloud = CloudState{}; });

}  // namespace simple
}  // namespace vorlune::game
