// Particle emitters: the particle engine's movement and bookkeeping, the
// order of the random draws, bursts, the draw-and-die rules with streaming
// replacement, halting, resuming, freeing, and the fatal boxes.
#include <cmath>
#include <ctime>
#include <limits>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include "game/inspect.hpp"
#include "game/emitter.hpp"
#include "game/particle_engine.hpp"
#include "graphics/sprite.hpp"
#include "graphics/window.hpp"
#include "platform/active_window.hpp"
#include "core/handles.hpp"
#include "support/engine_fixture.hpp"
#include "util/random.hpp"
#include "core/reset.hpp"

namespace vorlune::test {
namespace {

using game::EmitterEngine;
using game::TParticle;
using game::TParticleClass;

constexpr int32_t kStart = 100000;  // the fixed clock's tick count
TestClock fixedNow;

// ---- the particle engine on its own ----

class ParticleEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixedNow = kStart;
    }
    void TearDown() override { platform::UseRealClock(); }

    static TParticle At(const TParticleClass& engine, int32_t index) {
        TParticle p;
        engine.GetParticle(index, p);
        return p;
    }
};

TEST_F(ParticleEngineTest, SpawnsWithVelocityFromAngleAndForceAndARandomBirthLead) {
    TParticleClass engine;
    util::SeedRandom(99);
    const int32_t lead = util::RandomInt(1000);
    util::SeedRandom(99);
    engine.AddParticle(10, 20, 0, 2, 5);
    engine.AddParticle(-3, 7, 90, 1.5, 0);
    ASSERT_EQ(engine.LastIndex(), 1);

    TParticle up = At(engine, 0);
    EXPECT_EQ(up.birth, kStart + lead);
    EXPECT_EQ(up.x, 10);
    EXPECT_EQ(up.y, 20);
    EXPECT_EQ(up.xpos, 10.0);
    EXPECT_EQ(up.ypos, 20.0);
    EXPECT_EQ(up.angle, 0.0);
    EXPECT_EQ(up.force, 2.0);
    EXPECT_EQ(up.delay, 5);
    EXPECT_EQ(up.vx, 0.0);
    EXPECT_EQ(up.vy, -2.0);

    TParticle right = At(engine, 1);
    EXPECT_DOUBLE_EQ(right.vx, 1.5);
    EXPECT_NEAR(right.vy, 0.0, 1e-12);
    EXPECT_GE(right.birth, kStart);
    EXPECT_LT(right.birth, kStart + 1000);
}

TEST_F(ParticleEngineTest, BirthWrapsWithTheTickCount) {
    fixedNow = std::numeric_limits<int32_t>::max();
    TParticleClass engine;
    util::SeedRandom(1);
    const int32_t lead = util::RandomInt(1000);
    util::SeedRandom(1);
    engine.AddParticle(0, 0, 0, 0, 0);
    EXPECT_EQ(At(engine, 0).birth, static_cast<int32_t>(0x7FFFFFFFu + static_cast<uint32_t>(lead)));
}

TEST_F(ParticleEngineTest, DelayHoldsAParticleForThatManyPassesThenItFliesStraight) {
    TParticleClass engine;
    engine.AddParticle(50, 50, 0, 2, 3);     // up, waits 3 passes
    engine.AddParticle(50, 50, 90, 2.5, 0);  // right, at once
    for (int pass = 1; pass <= 3; ++pass) {
        engine.UpdateParticles();
        EXPECT_EQ(At(engine, 0).y, 50) << "pass " << pass;
        EXPECT_EQ(At(engine, 0).delay, 3 - pass);
    }
    engine.UpdateParticles();
    EXPECT_EQ(At(engine, 0).ypos, 48.0);
    EXPECT_EQ(At(engine, 0).y, 48);
    TParticle right = At(engine, 1);
    EXPECT_DOUBLE_EQ(right.xpos, 60.0);  // four passes of 2.5
    EXPECT_EQ(right.x, 60);
    EXPECT_EQ(right.y, 50);  // vy is -1.5e-16 per pass, lost against 50
}

TEST_F(ParticleEngineTest, NegativeDelayMovesAtOnce) {
    TParticleClass engine;
    engine.AddParticle(5, 5, 180, 1, -4);  // down
    engine.UpdateParticles();
    EXPECT_EQ(At(engine, 0).y, 6);
    EXPECT_EQ(At(engine, 0).delay, -4);
}

TEST_F(ParticleEngineTest, PositionsTruncateTowardZero) {
    TParticleClass engine;
    engine.AddParticle(0, 0, 270, 0.5, 0);  // left by half a pixel per pass
    engine.UpdateParticles();
    EXPECT_DOUBLE_EQ(At(engine, 0).xpos, -0.5);
    EXPECT_EQ(At(engine, 0).x, 0);
    engine.UpdateParticles();
    EXPECT_EQ(At(engine, 0).x, -1);
}

TEST(ParticleTruncation, SaturatesBeyond32BitsAndSendsNaNOffScreen) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min(), kMax = std::numeric_limits<int32_t>::max();
    const struct {
        double v;
        int32_t want;
    } cases[] = {{2.9, 2},
                 {-2.9, -2},
                 {-0.5, 0},
                 {2147483647.9, kMax},
                 {-2147483648.9, kMin},
                 {1e300, kMax},
                 {-1e300, kMin},
                 {INFINITY, kMax},
                 {-INFINITY, kMin},
                 {NAN, kMin}};
    for (const auto& c : cases) EXPECT_EQ(game::TruncateToInt32(c.v), c.want) << c.v;
}

TEST_F(ParticleEngineTest, DeleteShiftsLaterRecordsAndBadIndexesChangeNothing) {
    TParticleClass engine;
    EXPECT_EQ(engine.LastIndex(), -1);
    for (int32_t i = 0; i < 4; ++i) engine.AddParticle(i, 0, 0, 0, 0);
    engine.DeleteParticle(1);
    engine.DeleteParticle(7);
    engine.DeleteParticle(-1);
    ASSERT_EQ(engine.LastIndex(), 2);
    EXPECT_EQ(At(engine, 0).x, 0);
    EXPECT_EQ(At(engine, 1).x, 2);
    EXPECT_EQ(At(engine, 2).x, 3);

    TParticle untouched;
    untouched.x = 1234;
    engine.GetParticle(3, untouched);
    engine.GetParticle(-1, untouched);
    EXPECT_EQ(untouched.x, 1234);
}

// ---- emission values ----

TEST(EmissionValues, RoundingToInt64IsTiesToEvenAndSaturated) {
    const struct {
        double v;
        int64_t want;
    } cases[] = {{2.5, 2},
                 {3.5, 4},
                 {-2.5, -2},
                 {359.7, 360},
                 {1e300, std::numeric_limits<int64_t>::max()},
                 {-1e300, std::numeric_limits<int64_t>::min()},
                 {NAN, 0}};
    for (const auto& c : cases) EXPECT_EQ(game::RoundToInt64(c.v), c.want) << c.v;
}

TEST(EmissionValues, DrawsAngleRangeThousandthsHundredthsForceRangeDelayInThatOrder) {
    util::SeedRandom(4242);
    const int64_t degrees = util::RandomInt64(360);
    const int32_t thousandths = util::RandomInt(1000);
    const int32_t hundredths = util::RandomInt(100);
    const int64_t force = util::RandomInt64(6);  // round(5.5) = 6
    const int32_t delay = util::RandomInt(40);
    const uint32_t next = util::RandomUint32();

    util::SeedRandom(4242);
    game::Emission e = game::EmissionValues(359.6, 45, 5.5, 40);
    EXPECT_EQ(e.angle, 45 + static_cast<double>(degrees) + thousandths / 1000.0);
    EXPECT_EQ(e.force, static_cast<double>(force) + hundredths / 100.0);
    EXPECT_EQ(e.delay, delay);
    EXPECT_EQ(util::RandomUint32(), next);  // exactly seven outputs taken
}

TEST(EmissionValues, ZeroRangesStayWithinOneUnitOfTheBase) {
    util::SeedRandom(7);
    for (int i = 0; i < 200; ++i) {
        game::Emission e = game::EmissionValues(0, 90, 0, 0);
        EXPECT_GE(e.angle, 90.0);
        EXPECT_LT(e.angle, 91.0);
        EXPECT_GE(e.force, 0.0);
        EXPECT_LT(e.force, 1.0);
        EXPECT_EQ(e.delay, 0);
        game::Emission negative = game::EmissionValues(-10, 0, -3, -5);  // ranges by their size; delay 0 or below
        EXPECT_GE(negative.angle, 0.0);
        EXPECT_LT(negative.angle, 10.0);
        EXPECT_LT(negative.force, 3.0);
        EXPECT_LE(negative.delay, 0);
        EXPECT_GT(negative.delay, -5);
    }
}

// ---- emitters through the script functions ----

class EmitterTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        core::ResetEngine();
        fixedNow = kStart;
    }
    void TearDown() override {
        core::ResetEngine();
        EngineTest::TearDown();
    }

    static std::vector<TParticle> Particles(int32_t emitter) {
        std::vector<TParticle> out;
        const TParticleClass* engine = EmitterEngine(emitter);
        if (!engine) return out;
        for (int32_t i = 0; i <= engine->LastIndex(); ++i) {
            out.emplace_back();
            engine->GetParticle(i, out.back());
        }
        return out;
    }
    static int32_t Count(int32_t emitter) { return static_cast<int32_t>(Particles(emitter).size()); }

    // A w x h white sprite on the active window, as a script handle in the
    // Lua global "spr".
    void MakeSprite(int w, int h) {
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA8888);
        SDL_FillRect(s, nullptr, 0xFFFFFFFF);
        lua_pushlightuserdata(L, graphics::CreateSprite(AdoptImage(s)).handle);
        lua_setglobal(L, "spr");
    }
    void Clear() {
        SDL_SetRenderDrawColor(platform::ActiveRenderer(), 0, 0, 0, 255);
        SDL_RenderClear(platform::ActiveRenderer());
    }
};

TEST_F(EmitterTest, NumbersFromZeroAndABurstIsAmountPlusOne) {
    EXPECT_EQ(Eval("createemitter(10, 500, false)"), "0");
    EXPECT_EQ(Eval("createemitter(-1, 500, true)"), "1");
    EXPECT_EQ(game::EmitterCount(), 2);
    EXPECT_EQ(Count(0), 0);
    LuaOk("createparticles(0, 100, 100, 360, 0, 3, 0)");
    EXPECT_EQ(Count(0), 11);
    LuaOk("createparticles(0, 100, 100, 360, 0, 3, 0)");
    EXPECT_EQ(Count(0), 22);  // a second burst adds to the first
    LuaOk("createparticles(1, 100, 100, 360, 0, 3, 0)");
    EXPECT_EQ(Count(1), 0);   // negative amount: nothing
    EXPECT_EQ(game::GetEmitterSettings(1).x, 0);  // and nothing remembered
}

TEST_F(EmitterTest, OnlyStreamingEmittersRememberTheBurst) {
    LuaOk("createemitter(2, 500, false) createemitter(2, 500, true)");
    LuaOk("createparticles(0, 11, 12, 30, 40, 5, 6) createparticles(1, 11, 12, 30, 40, 5, 6)");
    game::EmitterSettings still = game::GetEmitterSettings(0), streaming = game::GetEmitterSettings(1);
    EXPECT_EQ(still.x, 0);
    EXPECT_EQ(still.force, 0.0);
    EXPECT_EQ(streaming.x, 11);
    EXPECT_EQ(streaming.y, 12);
    EXPECT_EQ(streaming.aangle, 30.0);
    EXPECT_EQ(streaming.bangle, 40.0);
    EXPECT_EQ(streaming.force, 5.0);
    EXPECT_EQ(streaming.creationdelay, 6);
    EXPECT_EQ(streaming.amount, 2);
    EXPECT_EQ(streaming.live, 500);
    EXPECT_TRUE(streaming.stream);
}

TEST_F(EmitterTest, CreatingAnEmitterReseedsTheSharedGeneratorFromTheClock) {
    // Two emitters made within one second restart the same sequence.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::time_t before = std::time(nullptr);
        LuaOk("createemitter(0, 1, false) a1, a2 = rnd(), rnd() createemitter(0, 1, false) b1, b2 = rnd(), rnd()");
        if (std::time(nullptr) != before) continue;  // a second boundary fell in between
        EXPECT_EQ(Eval("a1 == b1 and a2 == b2"), "true");
        util::SeedRandom(static_cast<uint32_t>(before));
        lua_getglobal(L, "a1");
        EXPECT_EQ(lua_tonumber(L, -1), util::RandomReal());
        lua_pop(L, 1);
        return;
    }
    FAIL() << "the clock kept changing seconds";
}

TEST_F(EmitterTest, UpdateMovesEveryEmittersParticles) {
    LuaOk("createemitter(0, 500, false) createemitter(0, 500, false)");
    LuaOk("createparticles(0, 10, 50, 0, 0, 2, 0) createparticles(1, 10, 50, 0, 90, 2, 0)");
    const TParticle up = Particles(0)[0], right = Particles(1)[0];
    LuaOk("updateparticles() updateparticles(1, 2, 3)");
    EXPECT_DOUBLE_EQ(Particles(0)[0].ypos, 50 + 2 * up.vy);
    EXPECT_DOUBLE_EQ(Particles(1)[0].xpos, 10 + 2 * right.vx);
    EXPECT_EQ(Particles(0)[0].y, static_cast<int32_t>(50 + 2 * up.vy));
    EXPECT_EQ(Particles(1)[0].x, static_cast<int32_t>(10 + 2 * right.vx));
}

TEST_F(EmitterTest, WindowEdgesAreStillOnScreen) {
    OpenActiveWindow(80, 60);
    const struct {
        int x, y;
        bool survives;
    } cases[] = {{0, 0, true},   {80, 30, true},  {81, 30, false}, {-1, 30, false},
                 {40, 60, true}, {40, 61, false}, {40, -1, false}};
    for (const auto& c : cases) {
        // Non-streaming: a death empties the emitter; (0, 0) is well within live.
        core::ResetEngine();
        LuaOk("createemitter(0, 100000, false)");
        LuaOk("createparticles(0, " + std::to_string(c.x) + ", " + std::to_string(c.y) + ", 0, 0, 0, 0)");
        LuaOk("drawparticles(0, nil, 1, 1, 0, false, false)");
        EXPECT_EQ(Count(0), c.survives ? 1 : 0) << c.x << "," << c.y;
    }
}

TEST_F(EmitterTest, NonStreamingEmittersMeasureDistanceFromTheTopLeftCorner) {
    OpenActiveWindow(640, 480);
    LuaOk("createemitter(20, 100, false) createparticles(0, 300, 300, 360, 0, 0, 0)");
    ASSERT_EQ(Count(0), 21);
    LuaOk("drawparticles(0, nil, 1, 1, 0, false, false)");
    EXPECT_EQ(Count(0), 0);
    LuaOk("createparticles(0, 30, 40, 360, 0, 0, 0)");  // 50 pixels from (0, 0): within 100
    LuaOk("drawparticles(0, nil, 1, 1, 0, false, false)");
    EXPECT_EQ(Count(0), 21);
}

TEST_F(EmitterTest, DistanceAtLeastLiveKills) {
    OpenActiveWindow(80, 60);
    for (int live : {10, 11}) {
        core::ResetEngine();
        // The second burst moves the remembered point 10 pixels right of the first.
        LuaOk("createemitter(2, " + std::to_string(live) +
              ", true) createparticles(0, 40, 30, 0, 0, 0, 0) createparticles(0, 50, 30, 0, 0, 0, 0)");
        LuaOk("drawparticles(0, nil, 1, 1, 0, false, false)");
        std::vector<TParticle> after = Particles(0);
        ASSERT_EQ(after.size(), 6u);
        int atFirstPoint = 0;
        for (const TParticle& p : after) atFirstPoint += p.x == 40;
        EXPECT_EQ(atFirstPoint, live == 10 ? 0 : 3) << "live " << live;
    }
}

TEST_F(EmitterTest, AgeAtLeastLiveKillsAndTheBirthLeadSpreadsDeaths) {
    OpenActiveWindow(80, 60);
    LuaOk("createemitter(199, 2000, false) createparticles(0, 30, 40, 0, 0, 0, 0)");
    const std::vector<TParticle> born = Particles(0);
    fixedNow = kStart + 1999;  // every age is at most 1999
    LuaOk("drawparticles(0, nil, 1, 1, 0, false, false)");
    EXPECT_EQ(Count(0), 200);

    fixedNow = kStart + 2500;
    int survivors = 0;
    for (const TParticle& p : born) survivors += fixedNow - p.birth < 2000;
    ASSERT_GT(survivors, 0);
    ASSERT_LT(survivors, 200);
    LuaOk("drawparticles(0, nil, 1, 1, 0, false, false)");
    EXPECT_EQ(Count(0), survivors);
    for (const TParticle& p : Particles(0)) EXPECT_LT(fixedNow - p.birth, 2000);

    fixedNow = kStart + 999 + 2000;
    LuaOk("drawparticles(0, nil, 1, 1, 0, false, false)");
    EXPECT_EQ(Count(0), 0);
}

TEST_F(EmitterTest, StreamingReplacesEachDeadParticleOnceAtTheRememberedPoint) {
    OpenActiveWindow(80, 60);
    // Forces up to 100 straight up; with this seed 31 passes take every
    // particle off the window.
    LuaOk("createemitter(4, 100000, true)");
    util::SeedRandom(3);
    LuaOk("createparticles(0, 40, 30, 0, 0, 100, 0) for i = 1, 31 do updateparticles() end");
    for (const TParticle& p : Particles(0)) ASSERT_LT(p.y, 0);
    LuaOk("drawparticles(0, nil, 1, 1, 0, false, false)");
    std::vector<TParticle> after = Particles(0);
    ASSERT_EQ(after.size(), 5u);
    for (const TParticle& p : after) {
        EXPECT_EQ(p.x, 40);
        EXPECT_EQ(p.y, 30);
        EXPECT_LT(p.force, 100.0);
        EXPECT_EQ(p.ypos, 30.0);
    }

    // With live 0 every particle dies on every draw, replacements included
    // were they visited again: each call replaces each particle exactly once,
    // taking eight outputs of the generator for each (seven for the emission
    // values, one for the birth lead).
    core::ResetEngine();
    LuaOk("createemitter(9, 0, true) createparticles(0, 40, 30, 360, 0, 1, 0)");
    util::SeedRandom(5);
    LuaOk("drawparticles(0, nil, 1, 1, 0, false, false)");
    const uint32_t next = util::RandomUint32();
    EXPECT_EQ(Count(0), 10);
    util::SeedRandom(5);
    for (int i = 0; i < 10 * 8; ++i) util::RandomUint32();
    EXPECT_EQ(next, util::RandomUint32());
}

TEST_F(EmitterTest, DrawsEveryParticleOnceMoreWhereItDies) {
    OpenActiveWindow(80, 60);
    MakeSprite(2, 2);
    Clear();
    // Non-streaming, live 50: a particle at (60, 50) is 78 pixels from (0, 0).
    LuaOk("createemitter(0, 50, false) createparticles(0, 60, 50, 0, 0, 0, 0)");
    LuaOk("drawparticles(0, spr, 2, 3, 0, false, false)");
    EXPECT_EQ(Count(0), 0);
    Image img = ReadPixels();
    for (int y = 48; y < 58; ++y)
        for (int x = 58; x < 66; ++x) {
            const bool inside = x >= 60 && x < 64 && y >= 50 && y < 56;  // 2x2 scaled by (2, 3)
            EXPECT_EQ(img.At(x, y), inside ? Rgba(255, 255, 255) : Rgba(0, 0, 0)) << x << "," << y;
        }
}

TEST_F(EmitterTest, MovingEmittersMeasureFromAndReplaceAtTheGivenPoint) {
    OpenActiveWindow(80, 60);
    LuaOk("createemitter(3, 10, true) createparticles(0, 40, 30, 0, 0, 0, 0)");
    // At (40, 30) the particles are within 10 pixels: all stay.
    LuaOk("drawmovingparticles(0, nil, 45, 30, 1, 1, 0, false, false, 0, 90)");
    EXPECT_EQ(Count(0), 4);
    for (const TParticle& p : Particles(0)) EXPECT_EQ(p.x, 40);
    // From (50, 30) they are 10 away: replaced at (50, 30), flying right,
    // with the remembered force range (0) and delay.
    LuaOk("drawmovingparticles(0, nil, 50, 30, 1, 1, 0, false, false, 0, 90)");
    std::vector<TParticle> after = Particles(0);
    ASSERT_EQ(after.size(), 4u);
    for (const TParticle& p : after) {
        EXPECT_EQ(p.x, 50);
        EXPECT_GE(p.angle, 90.0);
        EXPECT_LT(p.angle, 91.0);
        EXPECT_LT(p.force, 1.0);
    }
    EXPECT_EQ(game::GetEmitterSettings(0).x, 40);  // the remembered point stays
}

TEST_F(EmitterTest, HaltEmptiesResumeAddsABurstWithoutTouchingTheRest) {
    LuaOk("createemitter(2, 500, true) createparticles(0, 40, 30, 0, 0, 0, 0)");
    LuaOk("haltemitter(0)");
    EXPECT_EQ(Count(0), 0);
    EXPECT_TRUE(game::GetEmitterSettings(0).stream);
    LuaOk("resumeemitter(0, 7, 8, 0, 180) resumeemitter(0, 9, 9, 0, 0)");
    std::vector<TParticle> all = Particles(0);
    ASSERT_EQ(all.size(), 6u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(all[i].x, 7);
        EXPECT_GE(all[i].angle, 180.0);
    }
    for (int i = 3; i < 6; ++i) EXPECT_EQ(all[i].x, 9);
    EXPECT_EQ(game::GetEmitterSettings(0).x, 40);
    EXPECT_EQ(game::GetEmitterSettings(0).bangle, 0.0);

    LuaOk("createemitter(-1, 500, false) resumeemitter(1, 1, 1, 0, 0)");  // no burst, so no failure
    EXPECT_EQ(Count(1), 0);
}

TEST_F(EmitterTest, AFreedEmitterKeepsItsNumberAndActsEmpty) {
    OpenActiveWindow(80, 60);
    LuaOk("createemitter(3, 500, true) createparticles(0, 40, 30, 0, 0, 0, 0) freeemitter(0)");
    EXPECT_EQ(EmitterEngine(0), nullptr);
    EXPECT_EQ(game::EmitterCount(), 1);
    LuaOk("createparticles(0, 1, 1, 0, 0, 0, 0) updateparticles() drawparticles(0, nil, 1, 1, 0, false, false)");
    LuaOk("drawmovingparticles(0, nil, 1, 1, 1, 1, 0, false, false, 0, 0) haltemitter(0)");
    LuaOk("resumeemitter(0, 1, 1, 0, 0) freeemitter(0)");
    EXPECT_EQ(EmitterEngine(0), nullptr);
    EXPECT_EQ(Eval("createemitter(0, 1, false)"), "1");
}

TEST_F(EmitterTest, HugeAndNaNFlightsDieAtTheNextDraw) {
    OpenActiveWindow(80, 60);
    LuaOk("createemitter(0, 100000, false)");
    LuaOk("createparticles(0, 40, 30, 0, 90, 1e300, 0)");        // force beyond 64 bits
    LuaOk("createparticles(0, 40, 30, 0, 0/0, 5, 0)");           // NaN angle
    LuaOk("createparticles(0, 40, 30, 0, math.huge, 5, 0)");     // infinite angle
    LuaOk("createparticles(0, 40, 30, 0/0, 0, -1e300, -5)");     // NaN range, huge negative range, negative delay
    LuaOk("for i = 1, 3 do updateparticles() end");
    for (const TParticle& p : Particles(0)) EXPECT_TRUE(p.x < 0 || p.x > 80 || p.y < 0 || p.y > 60) << p.xpos;
    LuaOk("drawparticles(0, nil, 1, 1, 0, false, false)");
    EXPECT_EQ(Count(0), 0);
}

using EmitterDeathTest = EmitterTest;

TEST_F(EmitterDeathTest, UnknownEmitterNumbersEndTheProcess) {
    const char* calls[] = {"createparticles(N, 1, 1, 0, 0, 0, 0)",
                           "drawparticles(N, nil, 1, 1, 0, false, false)",
                           "drawmovingparticles(N, nil, 1, 1, 1, 1, 0, false, false, 0, 0)",
                           "haltemitter(N)",
                           "resumeemitter(N, 1, 1, 0, 0)",
                           "freeemitter(N)"};
    for (const char* call : calls) {
        for (const char* n : {"1", "-1"}) {
            std::string code = call;
            code.replace(code.find('N'), 1, n);
            EXPECT_EXIT(Lua("createemitter(0, 1, true) " + code), ::testing::ExitedWithCode(0),
                        "Error: No emitter available.\n")
                << code;
        }
    }
}

TEST_F(EmitterDeathTest, UpdateBeforeAnyEmitterEndsTheProcess) {
    EXPECT_EXIT(Lua("updateparticles()"), ::testing::ExitedWithCode(0), "Error: No emitter available.\n");
}

TEST_F(EmitterDeathTest, NonStreamingEmittersCannotResumeOrMove) {
    EXPECT_EXIT(Lua("createemitter(0, 500, false) resumeemitter(0, 1, 1, 0, 0)"), ::testing::ExitedWithCode(0),
                "Error: No streaming emitter available.\n");
    // Works until the first particle dies (here 360 pixels from the moving point).
    OpenActiveWindow(80, 60);
    LuaOk("createemitter(1, 100, false) createparticles(0, 40, 30, 0, 0, 0, 0)");
    LuaOk("drawmovingparticles(0, nil, 40, 30, 1, 1, 0, false, false, 0, 0)");
    EXPECT_EQ(Count(0), 2);
    EXPECT_EXIT(Lua("drawmovingparticles(0, nil, 400, 30, 1, 1, 0, false, false, 0, 0)"),
                ::testing::ExitedWithCode(0), "Error: No streaming emitter available.\n");
}

}  // namespace
}  // namespace vorlune::test
