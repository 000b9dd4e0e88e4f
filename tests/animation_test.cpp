// Sprite animations: the cell of a frame against the step-by-step walk over
// the sheet, sheet sizes, frame changes driven by a test clock, wraps and
// loop counts, drawing from a sheet of coloured cells, and the fatal error
// for numbers that name no animation.
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include "game/animation.hpp"
#include "graphics/sprite.hpp"
#include "graphics/window.hpp"
#include "platform/active_window.hpp"
#include "core/handles.hpp"
#include "support/engine_fixture.hpp"
#include "core/reset.hpp"

namespace vorlune::test {
namespace {

using game::SheetCell;

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

// The walk exactly as the drawing rule states it: start at column 0, row 1
// and step max(frame, 1) times.
SheetCell WalkedCell(int32_t frame, int32_t rows, int32_t columns) {
    int64_t column = 0, row = 1;
    const int64_t steps = frame < 1 ? 1 : frame;
    for (int64_t i = 0; i < steps; ++i) {
        column = column + 1;
        if (column > columns) {
            row = row + 1;
            column = 1;
        }
        if (row > rows) {
            row = 1;
            column = column + 1;
        }
    }
    return {column, row};
}

void ExpectSameCell(int32_t frame, int32_t rows, int32_t columns) {
    const SheetCell walked = WalkedCell(frame, rows, columns);
    const SheetCell cell = game::FrameCell(frame, rows, columns);
    EXPECT_TRUE(walked.column == cell.column && walked.row == cell.row)
        << "frame " << frame << " on " << rows << " rows x " << columns << " columns: walk gives column "
        << walked.column << " row " << walked.row << ", FrameCell column " << cell.column << " row " << cell.row;
}

TEST(Animation, FrameCellMatchesTheWalkOnSmallSheets) {
    for (int32_t rows = -3; rows <= 7; ++rows)
        for (int32_t columns = -3; columns <= 7; ++columns)
            for (int32_t frame = -3; frame <= 130; ++frame) ExpectSameCell(frame, rows, columns);
}

TEST(Animation, FrameCellMatchesTheWalkOnLargeAndExtremeSheets) {
    const int32_t sizes[] = {kMin, kMin + 1, -100000, -2, 0, 1, 2, 3, 97, 1000, 65535, kMax - 1, kMax};
    const int32_t frames[] = {kMin, -1, 0, 1, 2, 3, 96, 97, 98, 99, 193, 194, 195, 999, 1000, 1001, 2001, 5000};
    for (int32_t rows : sizes)
        for (int32_t columns : sizes)
            for (int32_t frame : frames) ExpectSameCell(frame, rows, columns);
    // And random shapes around the wraps.
    std::mt19937 random(12345);
    std::uniform_int_distribution<int32_t> size(-20, 60), frame(-5, 4000);
    for (int i = 0; i < 3000; ++i) ExpectSameCell(frame(random), size(random), size(random));
}

TEST(Animation, CellsAcrossRoundsToEvenAndGuardsZeroAndHugeQuotients) {
    struct Case {
        int32_t sheet, frame, cells;
    };
    for (const Case& c : {Case{128, 32, 4}, Case{64, 32, 2}, Case{100, 40, 2}, Case{100, 60, 2}, Case{96, 64, 2},
                          Case{160, 64, 2}, Case{224, 64, 4}, Case{10, 30, 0}, Case{20, 30, 1}, Case{128, -32, -4},
                          Case{128, 0, 0}, Case{0, 0, 0}, Case{0, 32, 0}, Case{kMax, 1, kMax}, Case{kMin, 1, kMin},
                          Case{kMin, -1, kMax}}) {
        EXPECT_EQ(game::CellsAcross(c.sheet, c.frame), c.cells) << c.sheet << " / " << c.frame;
    }
}

// The test clock: whatever the test sets.
TestClock fakeNow;

class AnimationTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        core::ResetEngine();
        fakeNow = 0;
    }
    void TearDown() override {
        core::ResetEngine();
        EngineTest::TearDown();
    }

    // Frame numbers after each of `passes` updates, the clock advancing by
    // `step` ms per pass.
    std::vector<int32_t> Frames(int32_t n, int passes, int32_t step) {
        std::vector<int32_t> frames;
        for (int i = 0; i < passes; ++i) {
            fakeNow += step;
            game::UpdateAnimations();
            frames.push_back(game::FrameNumber(n));
        }
        return frames;
    }

    // A 32 x 16 sheet of eight 8 x 8 cells, 4 columns by 2 rows; each cell
    // has its own colour on the top half and a darker shade of it below.
    ObjectHandle Sheet() {
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 32, 16, 32, SDL_PIXELFORMAT_RGBA8888);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 32; ++x)
                static_cast<uint32_t*>(s->pixels)[y * (s->pitch / 4) + x] = CellColour(x / 8 + 1, y / 8 + 1, y % 8 >= 4);
        graphics::Image image = AdoptImage(s);
        ObjectHandle sprite = graphics::CreateSprite(image).handle;
        graphics::FreeImage(image);
        return sprite;
    }
    static uint32_t CellColour(int column, int row, bool lower) {
        const uint32_t level = lower ? 0x80 : 0xFF;
        const uint32_t r = column & 1 ? level : 0, g = column & 2 ? level : 0, b = row == 2 ? level : 0;
        return (r << 24) | (g << 16) | (b << 8) | 0xFF;
    }

    void Clear() {
        SDL_SetRenderDrawColor(platform::ActiveRenderer(), 0x40, 0x40, 0x40, 0xFF);
        SDL_RenderClear(platform::ActiveRenderer());
    }
};

constexpr uint32_t kBackground = 0x404040FF;

TEST_F(AnimationTest, NumbersCountFromZeroAndCreationStoresTheRun) {
    OpenActiveWindow();
    ObjectHandle sheet = Sheet();
    EXPECT_EQ(game::CreateAnimation(graphics::Sprite::Resolve(sheet), 8, 4, 3, 7, 100, 1, 0), 0);
    EXPECT_EQ(game::CreateAnimation(graphics::Sprite::Resolve(sheet), 16, 8, 3, 7, 100, -1, 0), 1);
    EXPECT_EQ(game::CreateAnimation(graphics::Sprite::Resolve(sheet), 8, 8, 3, 7, 100, 0, -1), 2);
    EXPECT_EQ(game::AnimationWidth(0), 8);
    EXPECT_EQ(game::AnimationHeight(0), 4);
    EXPECT_EQ(game::AnimationWidth(1), 16);
    EXPECT_EQ(game::AnimationHeight(1), 8);
    // The frame starts at the end of the run the direction comes from; 0
    // with direction 0.
    EXPECT_EQ(game::FrameNumber(0), 3);
    EXPECT_EQ(game::FrameNumber(1), 7);
    EXPECT_EQ(game::FrameNumber(2), 0);
    for (int32_t n = 0; n < 3; ++n) EXPECT_FALSE(game::AnimationStopped(n));
    // Through the script API: the next number, a boolean result.
    EXPECT_EQ(Eval("createanimation(nil, 1, 1, 1, 1, 0, 1, 0)"), "3");
    EXPECT_EQ(Eval("animationstopped(3)"), "false");
    EXPECT_EQ(Eval("animationheight(0)"), "4");
}

TEST_F(AnimationTest, AFrameLastsTimerPlusOneMsPerPassMeasuredAtThePreviousPass) {
    // Created at tick 0 with a 10 ms frame, updated every 5 ms. The due
    // test of pass i compares frametime + 1 per pass + 10 with the tick of
    // pass i - 1, so frames change every third pass (15 ms), not every 10 ms.
    const int32_t n = game::CreateAnimation(graphics::Sprite::Resolve(nullptr), 8, 8, 1, 4, 10, 1, -1);
    EXPECT_EQ(Frames(n, 13, 5), (std::vector<int32_t>{1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 1}));
}

TEST_F(AnimationTest, FirstUpdateChangesAtOnceWhenCreatedAfterTimerPlusOne) {
    fakeNow = 100;
    const int32_t due = game::CreateAnimation(graphics::Sprite::Resolve(nullptr), 8, 8, 1, 4, 99, 1, -1);
    const int32_t notDue = game::CreateAnimation(graphics::Sprite::Resolve(nullptr), 8, 8, 1, 4, 100, 1, -1);
    game::UpdateAnimations();
    EXPECT_EQ(game::FrameNumber(due), 2);
    EXPECT_EQ(game::FrameNumber(notDue), 1);
}

TEST_F(AnimationTest, WrapsLandOnTheOtherEndAndCountTheLoopDown) {
    fakeNow = 1000;  // timer 0 and 1000 ms per pass: a change on every pass
    const int32_t once = game::CreateAnimation(graphics::Sprite::Resolve(nullptr), 8, 8, 1, 4, 0, 1, 0);
    const int32_t back = game::CreateAnimation(graphics::Sprite::Resolve(nullptr), 8, 8, 1, 6, 0, -2, -1);
    const int32_t skip = game::CreateAnimation(graphics::Sprite::Resolve(nullptr), 8, 8, 1, 8, 0, 3, -1);
    const int32_t still = game::CreateAnimation(graphics::Sprite::Resolve(nullptr), 8, 8, 1, 8, 0, 0, 0);
    const int32_t thrice = game::CreateAnimation(graphics::Sprite::Resolve(nullptr), 8, 8, 1, 2, 0, 1, 2);
    std::vector<int32_t> a, b, c, d, e;
    std::vector<bool> stopped, thriceStopped;
    for (int i = 0; i < 8; ++i) {
        fakeNow += 1000;
        game::UpdateAnimations();
        a.push_back(game::FrameNumber(once));
        b.push_back(game::FrameNumber(back));
        c.push_back(game::FrameNumber(skip));
        d.push_back(game::FrameNumber(still));
        e.push_back(game::FrameNumber(thrice));
        stopped.push_back(game::AnimationStopped(once));
        thriceStopped.push_back(game::AnimationStopped(thrice));
    }
    // Loop 0 plays once: the wrap to 1 stops it, yet the frame keeps moving.
    EXPECT_EQ(a, (std::vector<int32_t>{2, 3, 4, 1, 2, 3, 4, 1}));
    EXPECT_EQ(stopped, (std::vector<bool>{false, false, false, true, true, true, true, true}));
    EXPECT_EQ(b, (std::vector<int32_t>{4, 2, 6, 4, 2, 6, 4, 2}));
    EXPECT_EQ(c, (std::vector<int32_t>{4, 7, 1, 4, 7, 1, 4, 7}));
    EXPECT_EQ(d, (std::vector<int32_t>(8, 0)));
    EXPECT_FALSE(game::AnimationStopped(still));  // direction 0 never wraps
    // Loop 2 plays three times: three wraps, the third one stops it.
    EXPECT_EQ(e, (std::vector<int32_t>{2, 1, 2, 1, 2, 1, 2, 1}));
    EXPECT_EQ(thriceStopped, (std::vector<bool>{false, false, false, false, false, true, true, true}));
}

TEST_F(AnimationTest, HaltLoopAndSpeed) {
    fakeNow = 1000;
    const int32_t up = game::CreateAnimation(graphics::Sprite::Resolve(nullptr), 8, 8, 2, 5, 0, 1, -1);
    const int32_t down = game::CreateAnimation(graphics::Sprite::Resolve(nullptr), 8, 8, 2, 5, 0, -1, -1);
    const int32_t still = game::CreateAnimation(graphics::Sprite::Resolve(nullptr), 8, 8, 2, 5, 0, 0, -1);
    Frames(up, 2, 1000);
    EXPECT_EQ(game::FrameNumber(up), 4);
    EXPECT_EQ(game::FrameNumber(down), 3);

    for (int32_t n : {up, down, still}) game::HaltAnimation(n);
    EXPECT_TRUE(game::AnimationStopped(up));
    EXPECT_EQ(game::FrameNumber(up), 2);
    EXPECT_EQ(game::FrameNumber(down), 5);
    EXPECT_EQ(game::FrameNumber(still), 0);

    // Stopped ones go on stepping; a new loop count restarts from the run's start.
    Frames(up, 1, 1000);
    EXPECT_EQ(game::FrameNumber(up), 3);
    game::SetAnimationLoop(up, -1);
    game::SetAnimationLoop(down, 0);
    EXPECT_FALSE(game::AnimationStopped(up));
    EXPECT_EQ(game::FrameNumber(up), 2);
    EXPECT_EQ(game::FrameNumber(down), 5);
    // Loop 0 plays the run once more: down stops at its next wrap (5 4 3 2 5).
    EXPECT_EQ(Frames(down, 4, 1000), (std::vector<int32_t>{4, 3, 2, 5}));
    EXPECT_TRUE(game::AnimationStopped(down));
    EXPECT_FALSE(game::AnimationStopped(up));

    // The speed is the frame duration and nothing else.
    game::SetAnimationSpeed(up, 1000000);
    EXPECT_EQ(Frames(up, 3, 1000), (std::vector<int32_t>{2, 2, 2}));
    game::SetAnimationSpeed(up, 0);
    EXPECT_EQ(Frames(up, 1, 1000), (std::vector<int32_t>{3}));
    EXPECT_FALSE(game::AnimationStopped(up));
}

TEST_F(AnimationTest, TicksFramesAndLoopCountsWrapAs32BitIntegers) {
    // Frame time plus timer wraps below the previous tick: due.
    fakeNow = kMax - 5;
    const int32_t late = game::CreateAnimation(graphics::Sprite::Resolve(nullptr), 8, 8, 1, 4, kMax, 1, -1);
    // The frame wraps from the largest integer to the smallest, which is
    // not past the end of the run.
    const int32_t top = game::CreateAnimation(graphics::Sprite::Resolve(nullptr), 8, 8, kMax, kMax, kMin, 1, -1);
    // kMax passes asked for wrap to a negative count: for ever.
    const int32_t endless = game::CreateAnimation(graphics::Sprite::Resolve(nullptr), 8, 8, 1, 1, kMin, -1, kMax);
    fakeNow = kMin + 10;  // the tick count itself wrapped
    game::UpdateAnimations();
    EXPECT_EQ(game::FrameNumber(late), 2);
    EXPECT_EQ(game::FrameNumber(top), kMin);
    EXPECT_FALSE(game::AnimationStopped(endless));
    Frames(endless, 5, 1);
    EXPECT_FALSE(game::AnimationStopped(endless));
}

TEST_F(AnimationTest, DrawsTheCellOfTheFrameAsAPartOfTheSheet) {
    OpenActiveWindow(40, 30);
    ObjectHandle sheet = Sheet();
    struct Case {
        int32_t frame;
        int column, row;
    };
    for (const Case& c : {Case{0, 1, 1}, Case{1, 1, 1}, Case{2, 2, 1}, Case{6, 2, 2}, Case{8, 4, 2}, Case{9, 2, 1},
                          Case{-5, 1, 1}, Case{kMax, 4, 2}, Case{kMax - 2, 2, 2}}) {
        SCOPED_TRACE("frame " + std::to_string(c.frame));
        // Direction 1 starts the frame at the start of the run.
        const int32_t n = game::CreateAnimation(graphics::Sprite::Resolve(sheet), 8, 8, c.frame, kMax, 100, 1, -1);
        ASSERT_EQ(game::FrameNumber(n), c.frame);
        Clear();
        game::DrawAnimation(n, 5, 7, 1, 1, 0, false, false);
        Image img = ReadPixels();
        EXPECT_EQ(img.At(5, 7), CellColour(c.column, c.row, false));
        EXPECT_EQ(img.At(12, 10), CellColour(c.column, c.row, false));
        EXPECT_EQ(img.At(12, 14), CellColour(c.column, c.row, true));
        EXPECT_EQ(img.At(4, 7), kBackground);
        EXPECT_EQ(img.At(13, 7), kBackground);
        EXPECT_EQ(img.At(5, 15), kBackground);
    }
}

TEST_F(AnimationTest, ScaleAngleAndFlipsArePassedOnAndStoppedOnesAreHidden) {
    OpenActiveWindow(40, 30);
    ObjectHandle sheet = Sheet();
    const int32_t n = game::CreateAnimation(graphics::Sprite::Resolve(sheet), 8, 8, 6, 8, 100, 1, -1);
    Clear();
    game::DrawAnimation(n, 0, 0, 2, 1.5, 0, true, false);  // 16 x 12, upside down
    Image img = ReadPixels();
    EXPECT_EQ(img.At(0, 0), CellColour(2, 2, true));
    EXPECT_EQ(img.At(15, 11), CellColour(2, 2, false));
    EXPECT_EQ(img.At(16, 0), kBackground);
    EXPECT_EQ(img.At(0, 12), kBackground);

    Clear();
    game::DrawAnimation(n, 0, 0, 1, 1, 180, false, false);  // half a turn about the centre
    EXPECT_EQ(ReadPixels().At(3, 1), CellColour(2, 2, true));

    game::HaltAnimation(n);
    Clear();
    game::DrawAnimation(n, 0, 0, 1, 1, 0, false, false);
    for (uint32_t p : ReadPixels().pixels) ASSERT_EQ(p, kBackground);
    game::SetAnimationLoop(n, -1);
    game::DrawAnimation(n, 0, 0, 1, 1, 0, false, false);
    EXPECT_EQ(ReadPixels().At(0, 0), CellColour(2, 2, false));
}

TEST_F(AnimationTest, ZeroSizedFramesDeadSheetsAndHugeFramesDrawNothingAndReturnAtOnce) {
    OpenActiveWindow(40, 30);
    ObjectHandle sheet = Sheet();
    ObjectHandle freed = Sheet();
    graphics::FreeSprite(graphics::Sprite::Resolve(freed));
    // Frames near 2^31 reached by direction steps; 0 rows or columns.
    fakeNow = 1000;
    const int32_t animations[] = {
        game::CreateAnimation(graphics::Sprite::Resolve(sheet), 0, 8, 1, kMax, 0, kMax - 1, -1),
        game::CreateAnimation(graphics::Sprite::Resolve(sheet), 8, 0, 1, kMax, 0, kMax - 1, -1),
        game::CreateAnimation(graphics::Sprite::Resolve(sheet), 0, 0, 1, kMax, 0, kMax - 1, -1),
        game::CreateAnimation(graphics::Sprite::Resolve(freed), 8, 8, 1, kMax, 0, kMax - 1, -1),
        game::CreateAnimation(graphics::Sprite::Resolve(sheet), -8, -8, 1, kMax, 0, kMax - 1, -1),
    };
    Frames(animations[0], 1, 1000);
    Clear();
    for (int32_t n : animations) EXPECT_EQ(game::FrameNumber(n), kMax);
    // A walk of 2^31 steps takes seconds per draw; these 500 draws would
    // outlast the test's time limit many times over.
    for (int pass = 0; pass < 100; ++pass)
        for (int32_t n : animations) game::DrawAnimation(n, 0, 0, 1, 1, 0, false, false);
    for (uint32_t p : ReadPixels().pixels) ASSERT_EQ(p, kBackground);
    EXPECT_EQ(game::AnimationWidth(animations[0]), 0);
}

// Any number that names no animation ends the process with the Error box.
using AnimationDeathTest = AnimationTest;

TEST_F(AnimationDeathTest, NumbersOutsideTheTableEndTheProcess) {
    LuaOk("createanimation(nil, 8, 8, 1, 4, 100, 1, 0) createanimation(nil, 8, 8, 1, 4, 100, 1, 0)");
    LuaOk("drawanimation(1, 0, 0, 1, 1, 0, false, false) setanimationspeed(1, 5) haltanimation(0)");
    const std::string calls[] = {
        "drawanimation(%, 0, 0, 1, 1, 0, false, false)", "animationwidth(%)", "animationheight(%)",
        "framenumber(%)", "setanimationspeed(%, 5)", "haltanimation(%)", "animationstopped(%)",
        "setanimationloop(%, 1)",
    };
    for (const std::string& call : calls) {
        for (const char* n : {"2", "-1", "2147483647", "-2147483648"}) {
            std::string code = call;
            code.replace(code.find('%'), 1, n);
            SCOPED_TRACE(code);
            EXPECT_EXIT(Lua(code), ::testing::ExitedWithCode(0), "^Error: No animation available\\.\n$");
        }
    }
}

TEST_F(AnimationDeathTest, NoAnimationsYetMeansNumberZeroIsRefused) {
    EXPECT_EXIT(Lua("framenumber(0)"), ::testing::ExitedWithCode(0), "^Error: No animation available\\.\n$");
}

}  // namespace
}  // namespace vorlune::test
