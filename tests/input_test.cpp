// Keyboard, mouse and joystick, with events pushed into SDL's queue.
#include <malloc.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "graphics/window.hpp"
#include "input/input.hpp"
#include "platform/media.hpp"
#include "support/engine_fixture.hpp"

namespace vorlune::test {
namespace {

void PushKeyDown(SDL_Keycode sym, SDL_Scancode scancode, Uint16 mod = KMOD_NONE, bool repeat = false) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.sym = sym;
    e.key.keysym.scancode = scancode;
    e.key.keysym.mod = mod;
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

void PushEvent(Uint32 type) {
    SDL_Event e{};
    e.type = type;
    if (type == SDL_KEYUP) e.key.keysym.sym = SDLK_b;
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

int Pending() { return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT); }

class InputTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
};

TEST(InputLogic, MouseButtonLowestNumberWins) {
    struct Case { uint32_t mask; int32_t expected; };
    const Case cases[] = {
        {0, 0}, {SDL_BUTTON_LMASK, 1}, {SDL_BUTTON_MMASK, 2}, {SDL_BUTTON_RMASK, 3},
        {SDL_BUTTON_LMASK | SDL_BUTTON_RMASK, 1}, {SDL_BUTTON_MMASK | SDL_BUTTON_RMASK, 2},
        {SDL_BUTTON_X1MASK | SDL_BUTTON_X2MASK, 0}, {SDL_BUTTON_X1MASK | SDL_BUTTON_RMASK, 3},
    };
    for (const Case& c : cases) EXPECT_EQ(input::ButtonNumber(c.mask), c.expected) << c.mask;
}

TEST(InputLogic, ZoneIsInclusiveAndNotReordered) {
    struct Case { int32_t x, y; bool inside; };
    const Case cases[] = {
        {10, 10, true}, {20, 20, true}, {15, 12, true}, {21, 20, false}, {20, 21, false}, {9, 15, false}, {15, 9, false},
    };
    for (const Case& c : cases) EXPECT_EQ(input::InZone(c.x, c.y, 10, 10, 20, 20), c.inside) << c.x << "," << c.y;
    EXPECT_FALSE(input::InZone(15, 15, 20, 10, 10, 20));
    EXPECT_FALSE(input::InZone(15, 15, 10, 20, 20, 10));
    EXPECT_TRUE(input::InZone(5, 5, 5, 5, 5, 5));
}

TEST_F(InputTest, InkeyReturnsTheLowByteOfTheKeyCode) {
    struct Case { SDL_Keycode sym; SDL_Scancode scancode; Uint16 mod; std::string expected; };
    const Case cases[] = {
        {SDLK_UP, SDL_SCANCODE_UP, KMOD_NONE, "R"},
        {SDLK_RIGHT, SDL_SCANCODE_RIGHT, KMOD_NONE, "O"},
        {SDLK_a, SDL_SCANCODE_A, KMOD_LSHIFT, "a"},
        {SDLK_F1, SDL_SCANCODE_F1, KMOD_NONE, ":"},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_NONE, "\r"},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, KMOD_NONE, "\x1b"},
        {SDLK_SPACE, SDL_SCANCODE_SPACE, KMOD_NONE, " "},
        {0x40000100, SDL_SCANCODE_UNKNOWN, KMOD_NONE, std::string(1, '\0')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        PushKeyDown(c.sym, c.scancode, c.mod);
        EXPECT_EQ(input::Inkey(), c.expected);
    }
    PushKeyDown(SDLK_UP, SDL_SCANCODE_UP);
    LuaOk("local k = inkey(1, 2) assert(k == 'R', k)");
    PushKeyDown(0x40000100, SDL_SCANCODE_UNKNOWN);
    LuaOk("local k = inkey() assert(#k == 1 and k:byte() == 0)");
}

TEST_F(InputTest, InkeyDiscardsOtherEventsOnePerPassAndCountsRepeats) {
    for (int i = 0; i < 20; ++i) PushEvent(i % 2 ? SDL_MOUSEMOTION : SDL_KEYUP);
    PushKeyDown(SDLK_x, SDL_SCANCODE_X, KMOD_NONE, true);
    PushKeyDown(SDLK_y, SDL_SCANCODE_Y);
    Uint32 start = SDL_GetTicks();
    EXPECT_EQ(input::Inkey(), "x");
    // 21 passes of at least 3 ms each.
    EXPECT_GE(SDL_GetTicks() - start, 63u);
    // Only the events taken are gone: the second key is still queued.
    EXPECT_EQ(Pending(), 1);
    EXPECT_EQ(input::Inkey(), "y");
}

TEST_F(InputTest, GetKeyDrainsTheQueueAndReturnsTheLastScancode) {
    EXPECT_EQ(input::GetKey(), 0);
    PushKeyDown(SDLK_a, SDL_SCANCODE_A);
    EXPECT_EQ(input::GetKey(), 4);  // the scancode, not the key code
    PushKeyDown(SDLK_a, SDL_SCANCODE_A);
    PushKeyDown(SDLK_b, SDL_SCANCODE_B);
    PushEvent(SDL_KEYUP);
    PushKeyDown(SDLK_LEFT, SDL_SCANCODE_LEFT);
    PushEvent(SDL_MOUSEMOTION);
    LuaOk("local k = getkey('ignored') assert(k == 80, k)");
    EXPECT_EQ(Pending(), 0);
    PushEvent(SDL_MOUSEMOTION);
    PushEvent(SDL_MOUSEBUTTONDOWN);
    PushEvent(SDL_MOUSEWHEEL);
    EXPECT_EQ(input::GetKey(), 0);
    EXPECT_EQ(Pending(), 0);
}

using InputDeathTest = InputTest;

TEST_F(InputDeathTest, QuitRequestEndsTheProcessWithStatusZero) {
    // inkey acts on the quit in the next pass, before taking the key behind it.
    EXPECT_EXIT(
        {
            PushEvent(SDL_QUIT);
            PushKeyDown(SDLK_a, SDL_SCANCODE_A);
            input::Inkey();
            std::fprintf(stderr, "inkey returned");
        },
        ::testing::ExitedWithCode(0), "^$");
    EXPECT_EXIT(
        {
            PushKeyDown(SDLK_a, SDL_SCANCODE_A);
            PushEvent(SDL_QUIT);
            Lua("getkey()");
            std::fprintf(stderr, "getkey returned");
        },
        ::testing::ExitedWithCode(0), "^$");
}

TEST_F(InputTest, QuitIsNotSeenByTheSamplingQueries) {
    OpenActiveWindow();
    PushEvent(SDL_QUIT);
    LuaOk("mousex() mousey() mousebutton() mousezone(0, 0, 1, 1) keystate(4)");
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_QUIT, SDL_QUIT), 1);
}

TEST_F(InputTest, KeyStateAnswersFalseOutsideTheScancodeRange) {
    for (int32_t code : {-1, 512, 513, 100000, INT32_MIN, INT32_MAX}) EXPECT_FALSE(input::KeyState(code)) << code;
    for (int32_t code : {0, 4, 82, 511}) EXPECT_FALSE(input::KeyState(code)) << code;  // nothing held
    LuaOk("assert(keystate(-1) == false and keystate(600) == false)");
}

TEST_F(InputTest, WarpedPointerIsSeenByPositionAndZoneQueries) {
    OpenActiveWindow(80, 60);
    LuaOk("warpmouse(10, 10)\n"
          "assert(mousex() == 10 and mousey() == 10)\n"
          "assert(mousezone(10, 10, 20, 20))\n"
          "warpmouse(20, 20) assert(mousezone(10, 10, 20, 20))\n"
          "warpmouse(21, 20) assert(not mousezone(10, 10, 20, 20))\n"
          "assert(mousex() == 21 and mousey() == 20)\n"
          "assert(not mousezone(30, 0, 0, 30))\n"
          "assert(mousebutton() == 0)");
    // With no live active window the pointer stays put.
    graphics::SetActiveWindow(9999);
    input::WarpMouse(40, 40);
    EXPECT_EQ(input::MouseX(), 21);
    EXPECT_EQ(input::MouseY(), 20);
}

TEST_F(InputTest, MouseHideAndShowSwitchTheCursor) {
    OpenActiveWindow();
    LuaOk("mousehide(1)");
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    LuaOk("mouseshow()");
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST_F(InputTest, NoJoystickAnswersZeroEverywhere) {
    ASSERT_EQ(SDL_NumJoysticks(), 0);
    LuaOk("assert(joystickplugged() == false)\n"
          "assert(getjoyx() == 0 and getjoyy() == 0 and numberjoybuttons() == 0)\n"
          "for _, b in ipairs({-1, 0, 1, 31, 1000}) do assert(getjoybutton(b) == 0) end");
}

TEST_F(InputTest, JoystickQueriesReadTheStartupJoystickUntilUnplugged) {
    // Windows left by earlier tests have no keyboard focus; SDL would drop
    // the axis changes.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 3, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    platform::OpenJoystick();  // as start-up does with a device present
    SDL_Joystick* device = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
    ASSERT_NE(device, nullptr);
    SDL_JoystickSetVirtualAxis(device, 0, -32768);
    SDL_JoystickSetVirtualAxis(device, 1, 32767);
    SDL_JoystickSetVirtualButton(device, 1, SDL_PRESSED);
    SDL_JoystickUpdate();
    LuaOk("assert(joystickplugged() == true)\n"
          "assert(getjoyx() == -32768, getjoyx()) assert(getjoyy() == 32767, getjoyy())\n"
          "assert(numberjoybuttons() == 3)\n"
          "assert(getjoybutton(0) == 0 and getjoybutton(1) == 1 and getjoybutton(2) == 0)\n"
          "assert(getjoybutton(3) == 0 and getjoybutton(-1) == 0 and getjoybutton(-2147483648) == 0)");
    // The queries read what SDL last recorded; they do not update it.
    SDL_JoystickSetVirtualAxis(device, 0, 5);
    EXPECT_EQ(input::GetJoyX(), -32768);
    SDL_JoystickUpdate();
    EXPECT_EQ(input::GetJoyX(), 5);

    ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0) << SDL_GetError();
    SDL_JoystickUpdate();
    LuaOk("assert(joystickplugged() == false)\n"
          "assert(getjoyx() == 0 and getjoyy() == 0 and numberjoybuttons() == 0 and getjoybutton(1) == 0)");
    // A device plugged in later is not seen.
    ASSERT_GE(SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 3, 0), 0);
    EXPECT_FALSE(input::JoystickPlugged());
}

// SDL's free, wiping each block first, so that a device SDL has freed no
// longer looks like a joystick to it.
SDL_free_func originalFree = nullptr;
void WipingFree(void* p) {
    if (p) std::memset(p, 0, malloc_usable_size(p));
    originalFree(p);
}

// An unplugged joystick is not closed by the media shutdown, but SDL frees
// it when it quits: a later shutdown must not hand the freed device to SDL.
TEST_F(InputTest, ShuttingDownTwiceAfterTheJoystickWasUnplugged) {
    SDL_malloc_func m;
    SDL_calloc_func c;
    SDL_realloc_func r;
    SDL_GetMemoryFunctions(&m, &c, &r, &originalFree);
    SDL_SetMemoryFunctions(m, c, r, WipingFree);
    int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 3, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    platform::OpenJoystick();
    ASSERT_TRUE(input::JoystickPlugged());
    ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0) << SDL_GetError();
    SDL_JoystickUpdate();
    LuaOk("closeapplication()");
    SDL_ClearError();
    platform::ShutdownMedia();  // a second shutdown
    EXPECT_STREQ(SDL_GetError(), "");
    SDL_SetMemoryFunctions(m, c, r, originalFree);
    EXPECT_FALSE(input::JoystickPlugged());
}

}  // namespace
}  // namespace vorlune::test
