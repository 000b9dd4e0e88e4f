// Simple particles: creation and its random draws, the keyword tables, the
// update pass with in-place replacement from the end, the drawing calls it
// makes, and pixels on a real renderer.
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include "game/inspect.hpp"
#include "game/simple_particles.hpp"
#include "graphics/window.hpp"
#include "platform/active_window.hpp"
#include "support/engine_fixture.hpp"
#include "util/random.hpp"
#include "core/reset.hpp"

namespace vorlune::test {
namespace {

namespace simple = game::simple;
using simple::TParticle;

// Records what an update pass draws.
struct Recorder : simple::DrawSink {
    struct Op {
        bool colour;
        int32_t a, b, c, d;  // colour: r, g, b, alpha; shape: type, x, y, size
        ObjectHandle image;
        bool operator==(const Op&) const = default;
    };
    void Colour(int32_t r, int32_t g, int32_t b, int32_t alpha) override { ops.push_back({true, r, g, b, alpha, nullptr}); }
    void Shape(simple::TPType type, int32_t x, int32_t y, int32_t size, ObjectHandle image) override {
        ops.push_back({false, type, x, y, size, image});
    }
    std::vector<Op> ops;
};

Recorder::Op Col(int32_t r, int32_t g, int32_t b, int32_t a) { return {true, r, g, b, a, nullptr}; }
Recorder::Op Shp(simple::TPType t, int32_t x, int32_t y, int32_t size, ObjectHandle image = nullptr) {
    return {false, t, x, y, size, image};
}

std::ostream& operator<<(std::ostream& out, const Recorder::Op& op) {
    return out << (op.colour ? "colour(" : "shape(") << op.a << "," << op.b << "," << op.c << "," << op.d << ")";
}

class SimpleParticlesTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        core::ResetEngine();
    }
    void TearDown() override {
        core::ResetEngine();
        EngineTest::TearDown();
    }
    static std::vector<TParticle> All() {
        std::vector<TParticle> out;
        for (int32_t i = 1; i <= simple::Count(); ++i) out.push_back(simple::Get(i));
        return out;
    }
};

TEST_F(SimpleParticlesTest, ABurstWithDefaultSettings) {
    LuaOk("createsimpleparticles(100, 100, 50, 30, 255, 0, 0, 255)");
    std::vector<TParticle> all = All();
    ASSERT_EQ(all.size(), 50u);
    for (const TParticle& p : all) {
        EXPECT_EQ(p.px, 100.0f);
        EXPECT_EQ(p.py, 100.0f);
        EXPECT_GE(p.life, 0);
        EXPECT_LE(p.life, 30);
        EXPECT_GE(p.dx, static_cast<float>(-1 / 0.9));
        EXPECT_LE(p.dx, static_cast<float>(1 / 0.9));
        EXPECT_GE(p.size, 1);  // default particlesize 2 in random mode: 1 .. 3
        EXPECT_LE(p.size, 3);
        EXPECT_EQ(p.red, 255);
        EXPECT_EQ(p.green, 0);
        EXPECT_EQ(p.blue, 0);
        EXPECT_EQ(p.alpha, 255);
    }
    simple::Settings s = simple::GetSettings();
    EXPECT_EQ(s.type, simple::ptFillcircle);
    EXPECT_EQ(s.size, 2);
    EXPECT_EQ(s.mode, simple::Random);
    EXPECT_EQ(s.image, nullptr);
}

TEST_F(SimpleParticlesTest, DrawsLifeThenDxThenDyThenSizeFromRnd) {
    util::SeedRandom(321);
    const double r[4] = {util::RandomReal(), util::RandomReal(), util::RandomReal(), util::RandomReal()};
    const uint32_t next = util::RandomUint32();
    util::SeedRandom(321);
    game::CreateSimpleParticles(-7, 9, 1, 1000, 1, 2, 3, 4);
    EXPECT_EQ(util::RandomUint32(), next);
    TParticle p = simple::Get(1);
    EXPECT_EQ(p.life, static_cast<int32_t>(std::nearbyint(r[0] * 1000)));
    EXPECT_EQ(p.dx, static_cast<float>((r[1] * 2 - 1) / 0.9));
    EXPECT_EQ(p.dy, static_cast<float>((r[2] * 2 - 1) / 0.9));
    EXPECT_EQ(p.size, static_cast<int32_t>(std::nearbyint(r[3] * 2)) + 1);
    EXPECT_EQ(p.px, -7.0f);

    // Normal size mode takes no fourth draw.
    game::SetSimpleParticleSize(4, "normal");
    util::SeedRandom(321);
    for (int i = 0; i < 3; ++i) util::RandomUint32();
    const uint32_t afterThree = util::RandomUint32();
    util::SeedRandom(321);
    game::CreateSimpleParticles(0, 0, 1, 10, 0, 0, 0, 0);
    EXPECT_EQ(util::RandomUint32(), afterThree);
    EXPECT_EQ(simple::Get(2).size, 4);
}

TEST_F(SimpleParticlesTest, LifeIsRoundedFromTheExactProduct) {
    // r * cycle / 2^32 can need 63 bits. With r odd, a cycle with
    // r * cycle = 2^31 + 1 (mod 2^32) puts the exact value just above a half,
    // which a double product would round onto the tie.
    for (uint32_t seed : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u}) {
        util::SeedRandom(seed);
        const uint32_t r = util::RandomUint32();
        if ((r & 1) == 0) continue;
        uint32_t inverse = r;  // Newton's iteration for r^-1 modulo 2^32
        for (int i = 0; i < 5; ++i) inverse *= 2 - r * inverse;
        const int32_t cycle = static_cast<int32_t>((0x80000001u) * inverse);
        const long double exact = static_cast<long double>(r) * cycle / 4294967296.0L;
        const int32_t want = static_cast<int32_t>(std::nearbyintl(exact));

        core::ResetEngine();
        util::SeedRandom(seed);
        game::CreateSimpleParticles(0, 0, 1, cycle, 0, 0, 0, 0);
        EXPECT_EQ(simple::Get(1).life, want) << "seed " << seed << " cycle " << cycle;
    }
    // Ties go to the even neighbour: rnd = r / 2^32 times -2^31 is -r / 2.
    for (uint32_t seed : {11u, 12u, 13u, 14u}) {
        util::SeedRandom(seed);
        const uint32_t r = util::RandomUint32();
        core::ResetEngine();
        util::SeedRandom(seed);
        game::CreateSimpleParticles(0, 0, 1, std::numeric_limits<int32_t>::min(), 0, 0, 0, 0);
        EXPECT_EQ(simple::Get(1).life, static_cast<int32_t>(std::nearbyint(-(r / 2.0))));
    }
}

TEST_F(SimpleParticlesTest, CountsChangeByTheNumberButNeverBelowZero) {
    LuaOk("createsimpleparticles(1, 1, 0, 5, 0, 0, 0, 0)");
    EXPECT_EQ(simple::Count(), 0);
    LuaOk("createsimpleparticles(1, 1, 3, 5, 10, 0, 0, 0) createsimpleparticles(2, 2, 2, 5, 20, 0, 0, 0)");
    EXPECT_EQ(simple::Count(), 5);
    LuaOk("createsimpleparticles(3, 3, -2, 5, 30, 0, 0, 0)");  // drops the last two
    ASSERT_EQ(simple::Count(), 3);
    for (const TParticle& p : All()) EXPECT_EQ(p.red, 10);
    LuaOk("createsimpleparticles(3, 3, -100, 5, 30, 0, 0, 0)");
    EXPECT_EQ(simple::Count(), 0);
    LuaOk("updatesimpleparticles() createsimpleparticles(4, 4, 1, 5, 40, 0, 0, 0)");
    ASSERT_EQ(simple::Count(), 1);
    EXPECT_EQ(simple::Get(1).red, 40);
    LuaOk("resetsimpleparticles(1, 2)");
    EXPECT_EQ(simple::Count(), 0);
}

TEST_F(SimpleParticlesTest, KeywordsAreUpperCasedAndWholeOrIgnored) {
    const struct {
        const char* type;
        simple::TPType want;
    } types[] = {{"fillbox", simple::ptFillbox}, {"Circle", simple::ptCircle}, {"DOT", simple::ptDot},
                 {"square", simple::ptDot},      {"", simple::ptDot},          {"box ", simple::ptDot},
                 {"image", simple::ptImage},     {"BOX", simple::ptBox},       {"fillCIRCLE", simple::ptFillcircle}};
    for (const auto& t : types) {
        game::SetSimpleParticleType(t.type);
        EXPECT_EQ(simple::GetSettings().type, t.want) << t.type;
    }

    game::SetSimpleParticleSize(4, "normal");
    EXPECT_EQ(simple::GetSettings().size, 4);
    EXPECT_EQ(simple::GetSettings().mode, simple::Normal);
    game::SetSimpleParticleSize(9, "big");
    EXPECT_EQ(simple::GetSettings().size, 4);
    EXPECT_EQ(simple::GetSettings().mode, simple::Normal);
    game::SetSimpleParticleSize(6, "Random");
    EXPECT_EQ(simple::GetSettings().size, 6);
    EXPECT_EQ(simple::GetSettings().mode, simple::Random);

    LuaOk("createsimpleparticles(1, 1, 2, 5, 0, 0, 0, 0) setsimpleparticleimage(nil)");
    int marker = 0;
    game::SetSimpleParticleImage(graphics::Sprite{&marker});
    game::ResetSimpleParticles();
    simple::Settings s = simple::GetSettings();
    EXPECT_EQ(s.type, simple::ptFillcircle);
    EXPECT_EQ(s.size, 6);
    EXPECT_EQ(s.mode, simple::Random);
    EXPECT_EQ(s.image, &marker);
    EXPECT_EQ(simple::Count(), 0);
}

TEST_F(SimpleParticlesTest, APassMovesDrawsAndAcceleratesInSinglePrecision) {
    game::SetSimpleParticleSize(3, "normal");
    game::SetSimpleParticleType("box");
    game::CreateSimpleParticles(10, 20, 1, 1000000, 9, 8, 7, 6);
    const TParticle start = simple::Get(1);
    ASSERT_GT(start.life, 1);
    Recorder rec;
    simple::Update(rec);
    TParticle p = simple::Get(1);
    EXPECT_EQ(p.px, 10.0f + start.dx);
    EXPECT_EQ(p.py, 20.0f + start.dy);
    // The factor is the double 1.001, not its nearest float (1.0010000467…).
    EXPECT_EQ(p.dx, static_cast<float>(static_cast<double>(start.dx) * 1.001));
    EXPECT_EQ(p.life, start.life - 1);
    ASSERT_EQ(rec.ops.size(), 2u);
    EXPECT_EQ(rec.ops[0], Col(9, 8, 7, 6));
    EXPECT_EQ(rec.ops[1], Shp(simple::ptBox, static_cast<int32_t>(std::nearbyint(p.px)),
                              static_cast<int32_t>(std::nearbyint(p.py)), 3));

    float expected = p.dx;
    for (int i = 1; i < 100; ++i) {
        simple::Update(rec);
        expected = static_cast<float>(static_cast<double>(expected) * 1.001);
    }
    EXPECT_EQ(simple::Get(1).dx, expected);
    EXPECT_NEAR(simple::Get(1).dx / start.dx, 1.105, 0.001);
}

TEST_F(SimpleParticlesTest, ADeadParticleTakesTheLastOnesFlightAndKeepsItsLook) {
    game::SetSimpleParticleSize(5, "normal");
    game::CreateSimpleParticles(10, 10, 1, 0, 1, 1, 1, 1);  // life 0
    game::SetSimpleParticleSize(2, "normal");
    game::CreateSimpleParticles(50, 60, 1, 1000000, 2, 2, 2, 2);
    const TParticle second = simple::Get(2);
    ASSERT_GT(second.life, 0);

    Recorder rec;
    simple::Update(rec);
    // Slot 1 drawn at the second particle's unmoved place in its own look;
    // slot 2 then moves and is drawn; the count drops to 1.
    const float movedX = 50.0f + second.dx, movedY = 60.0f + second.dy;
    const std::vector<Recorder::Op> want = {
        Col(1, 1, 1, 1), Shp(simple::ptFillcircle, 50, 60, 5), Col(2, 2, 2, 2),
        Shp(simple::ptFillcircle, static_cast<int32_t>(std::nearbyint(movedX)),
            static_cast<int32_t>(std::nearbyint(movedY)), 2)};
    EXPECT_EQ(rec.ops, want);
    ASSERT_EQ(simple::Count(), 1);
    TParticle survivor = simple::Get(1);
    EXPECT_EQ(survivor.px, 50.0f);  // copied values are not moved in this pass
    EXPECT_EQ(survivor.life, second.life);
    EXPECT_EQ(survivor.size, 5);
    EXPECT_EQ(survivor.red, 1);

    // A lone dead particle copies itself, is drawn once more and goes.
    core::ResetEngine();
    game::CreateSimpleParticles(3, 4, 1, 0, 7, 7, 7, 7);
    const int32_t size = simple::Get(1).size;
    rec.ops.clear();
    simple::Update(rec);
    ASSERT_EQ(rec.ops.size(), 2u);
    EXPECT_EQ(rec.ops[1], Shp(simple::ptFillcircle, 3, 4, size));
    EXPECT_EQ(simple::Count(), 0);
}

TEST_F(SimpleParticlesTest, EveryDeadParticleInOnePassIsRetired) {
    game::CreateSimpleParticles(0, 0, 6, 0, 1, 0, 0, 0);  // six dead ones
    game::CreateSimpleParticles(0, 0, 3, 1000000, 2, 0, 0, 0);
    for (int32_t i = 7; i <= 9; ++i) ASSERT_GT(simple::Get(i).life, 2);
    Recorder rec;
    simple::Update(rec);
    EXPECT_EQ(rec.ops.size(), 2u * 9);  // every slot up to the old count is drawn
    ASSERT_EQ(simple::Count(), 3);
    for (const TParticle& p : All()) {
        EXPECT_GT(p.life, 0);  // the three live flights, in dead particles' slots
        EXPECT_EQ(p.red, 1);
    }
    simple::Update(rec);
    EXPECT_EQ(simple::Count(), 3);
}

TEST_F(SimpleParticlesTest, RunawayPositionsStayDefined) {
    // About 89,000 passes take a float velocity to infinity.
    game::CreateSimpleParticles(0, 0, 1, std::numeric_limits<int32_t>::max(), 0, 0, 0, 0);
    struct Last : simple::DrawSink {
        void Colour(int32_t, int32_t, int32_t, int32_t) override {}
        void Shape(simple::TPType, int32_t px, int32_t py, int32_t, ObjectHandle) override { x = px, y = py; }
        int32_t x = 0, y = 0;
    } last;
    ASSERT_GT(simple::Get(1).life, 100000);
    for (int i = 0; i < 100000; ++i) simple::Update(last);
    EXPECT_TRUE(std::isinf(simple::Get(1).px) || std::isinf(simple::Get(1).py));
    EXPECT_TRUE(last.x == std::numeric_limits<int32_t>::min() || last.y == std::numeric_limits<int32_t>::min());
}

TEST_F(SimpleParticlesTest, ShapesOnTheActiveWindow) {
    OpenActiveWindow(40, 30);
    SDL_SetRenderDrawColor(platform::ActiveRenderer(), 0, 0, 0, 255);
    SDL_RenderClear(platform::ActiveRenderer());
    // Life 0: drawn once where created, then retired.
    LuaOk("setsimpleparticletype('FillBox') setsimpleparticlesize(3, 'NORMAL')"
          "createsimpleparticles(10, 12, 1, 0, 0, 255, 0, 255) updatesimpleparticles()");
    LuaOk("setsimpleparticletype('dot') createsimpleparticles(30, 5, 1, 0, 0, 0, 255, 255) updatesimpleparticles()");
    Image img = ReadPixels();
    for (int y = 10; y < 17; ++y)
        for (int x = 8; x < 15; ++x) {
            const bool inside = x >= 10 && x < 13 && y >= 12 && y < 15;
            EXPECT_EQ(img.At(x, y), inside ? Rgba(0, 255, 0) : Rgba(0, 0, 0)) << x << "," << y;
        }
    EXPECT_EQ(img.At(30, 5), Rgba(0, 0, 255));
    EXPECT_EQ(img.At(31, 5), Rgba(0, 0, 0));
    EXPECT_EQ(simple::Count(), 0);
    // The image type with no image set draws nothing and fails nothing.
    LuaOk("setsimpleparticletype('image') createsimpleparticles(5, 5, 3, 2, 255, 0, 0, 255)"
          "for i = 1, 4 do updatesimpleparticles() end");
}

}  // namespace
}  // namespace vorlune::test
