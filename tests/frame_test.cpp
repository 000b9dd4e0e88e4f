// Frame timing and presentation: the frame timer's arithmetic, the deadline
// rules of timeleft and sync (with tolerances, never exact sleeps), wait and
// the tick count.
#include <chrono>
#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "graphics/inspect.hpp"
#include "graphics/frame.hpp"
#include "support/engine_fixture.hpp"
#include "core/reset.hpp"

namespace vorlune::test {
namespace {

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

class FrameTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        core::ResetEngine();
    }
    void TearDown() override {
        core::ResetEngine();
        EngineTest::TearDown();
    }
};

TEST_F(FrameTest, SetFrameTimerDividesOneSecond) {
    EXPECT_EQ(graphics::FrameInterval(), 10);  // 100 frames per second until set
    struct Case {
        int32_t frames, interval;
    };
    for (Case c : {Case{60, 16}, Case{30, 33}, Case{0, 1000}, Case{1, 1000}, Case{1000, 1}, Case{1001, 0},
                   Case{2000, 0}, Case{-5, -200}, Case{-1, -1000}, Case{std::numeric_limits<int32_t>::min(), 0}}) {
        LuaOk("setframetimer(" + std::to_string(c.frames) + ")");
        EXPECT_EQ(graphics::FrameInterval(), c.interval) << c.frames;
    }
}

TEST_F(FrameTest, FirstTimeleftStartsAPeriodFromNow) {
    uint32_t before = SDL_GetTicks();
    EXPECT_EQ(Eval("timeleft()"), "0");
    uint32_t after = SDL_GetTicks();
    EXPECT_GE(graphics::NextFrameTick(), before + 10);
    EXPECT_LE(graphics::NextFrameTick(), after + 10);
}

TEST_F(FrameTest, TimeleftWithinAPeriodKeepsTheDeadline) {
    LuaOk("setframetimer(2)");  // 500 ms periods
    ASSERT_EQ(Eval("timeleft()"), "0");
    uint32_t deadline = graphics::NextFrameTick();
    int first = std::stoi(Eval("timeleft()"));
    SDL_Delay(30);
    int second = std::stoi(Eval("timeleft()"));
    EXPECT_GT(first, 400);
    EXPECT_LE(first, 500);
    EXPECT_GE(first - second, 25);
    EXPECT_LE(first - second, 200);
    EXPECT_EQ(graphics::NextFrameTick(), deadline);
    LuaOk("setframetimer(60)");  // the deadline is not moved
    EXPECT_EQ(graphics::NextFrameTick(), deadline);
    EXPECT_GT(std::stoi(Eval("timeleft()")), 100);
}

TEST_F(FrameTest, ZeroAndNegativeIntervalsNeverWait) {
    for (const char* frames : {"2000", "-5"}) {
        LuaOk(std::string("setframetimer(") + frames + ")");
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 5; ++i) EXPECT_EQ(Eval("timeleft()"), "0") << frames;
        LuaOk("for i = 1, 20 do sync() end");
        EXPECT_LT(MillisecondsSince(start), 100.0) << frames;
    }
}

TEST_F(FrameTest, SyncPresentsTwiceAPeriodAndWaitsEverySecondCall) {
    OpenActiveWindow();
    LuaOk("setframetimer(50)");  // 20 ms
    LuaOk("sync()");              // starts a period
    auto start = std::chrono::steady_clock::now();
    LuaOk("sync()");              // waits out the rest of it
    double firstWait = MillisecondsSince(start);
    start = std::chrono::steady_clock::now();
    LuaOk("sync()");              // starts the next one at once
    double noWait = MillisecondsSince(start);
    EXPECT_GE(firstWait, 12.0);
    EXPECT_LT(noWait, 8.0);
    start = std::chrono::steady_clock::now();
    LuaOk("for i = 1, 20 do sync() end");  // ten waits of 20 ms
    double loop = MillisecondsSince(start);
    EXPECT_GE(loop, 170.0);
    EXPECT_LT(loop, 400.0);
}

TEST_F(FrameTest, WaitSleepsAndNegativeCountsWaitNothing) {
    auto start = std::chrono::steady_clock::now();
    LuaOk("wait(30)");
    EXPECT_GE(MillisecondsSince(start), 29.0);
    start = std::chrono::steady_clock::now();
    LuaOk("wait(-1) wait(-2147483648) wait(0)");
    EXPECT_LT(MillisecondsSince(start), 50.0);
}

TEST_F(FrameTest, TimerticksIsTheTickCount) {
    int32_t before = static_cast<int32_t>(SDL_GetTicks());
    int32_t ticks = std::stoi(Eval("timerticks()"));
    EXPECT_GE(ticks, before);
    EXPECT_LE(ticks, static_cast<int32_t>(SDL_GetTicks()));
}

TEST_F(FrameTest, PresentingWithoutAWindowDoesNothing) {
    LuaOk("redraw() sync() sync()");
    EXPECT_EQ(Lua("wait()"), "test:1: Usage: wait (ms)");
    EXPECT_EQ(Lua("setframetimer(1, 2)"), "test:1: Usage: setframetimer (frames)");
    EXPECT_EQ(Lua("redraw(1) timeleft(1, 2)"), "");
}

TEST(FrameScript, NegativeIntervalEarlyInTheRunNeverWaits) {
    // Right after start-up the tick count is small: now − 200 wraps below zero
    // and must not read as a deadline 49 days ahead.
    TempDir dir;
    RunOptions options;
    options.timeoutSeconds = 20;
    RunResult result = RunScript(dir,
                                 "setframetimer(-5)\n"
                                 "local t = timerticks()\n"
                                 "local a, b, c = timeleft(), timeleft(), timeleft()\n"
                                 "for i = 1, 5 do sync() end\n"
                                 "print(a, b, c, timerticks() - t < 1000)\n",
                                 options);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "0\t0\t0\ttrue\n");
}

TEST(FrameScript, TheFirstPeriodIsTenMilliseconds) {
    TempDir dir;
    RunResult result = RunScript(dir, "local a = timeleft() local b = timeleft() print(a, b > 0 and b <= 10)\n");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "0\ttrue\n");
}

}  // namespace
}  // namespace vorlune::test
