// Windows, the active window and the window-level settings.
#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "graphics/window.hpp"
#include "platform/active_window.hpp"
#include "support/engine_fixture.hpp"

namespace vorlune::test {
namespace {

class WindowTest : public EngineTest {
protected:
    SDL_Window* Sdl(int32_t id) { return SDL_GetWindowFromID(static_cast<Uint32>(id)); }
    std::pair<int, int> Position(int32_t id) {
        int x = -99, y = -99;
        SDL_GetWindowPosition(Sdl(id), &x, &y);
        return {x, y};
    }
    std::pair<int, int> Size(int32_t id) {
        int w = -1, h = -1;
        SDL_GetWindowSize(Sdl(id), &w, &h);
        return {w, h};
    }
};

TEST_F(WindowTest, OpenWindowCentresNegativeCoordinatesIndependently) {
    SDL_Rect display{};
    SDL_GetDisplayBounds(0, &display);
    int cx = (display.w - 640) / 2, cy = (display.h - 480) / 2;

    int32_t a = graphics::OpenWindow("", -1, -1, 640, 480);
    EXPECT_EQ(Position(a), std::make_pair(cx, cy));
    EXPECT_STREQ(SDL_GetWindowTitle(Sdl(a)), "");
    EXPECT_EQ(Size(a), std::make_pair(640, 480));
    int32_t b = graphics::OpenWindow("b", 0, 0, 640, 480);
    EXPECT_EQ(Position(b), std::make_pair(0, 0));
    int32_t c = graphics::OpenWindow("c", -5, 10, 640, 480);
    EXPECT_EQ(Position(c), std::make_pair(cx, 10));
    int32_t d = graphics::OpenWindow("d", 7, -1, 640, 480);
    EXPECT_EQ(Position(d), std::make_pair(7, cy));
    // Opening does not select the window.
    EXPECT_EQ(platform::ActiveWindowId(), 0);
    EXPECT_EQ(platform::ActiveRenderer(), nullptr);
}

TEST_F(WindowTest, ActiveWindowIsStoredUnvalidatedAndLookedUpAtEveryUse) {
    LuaOk("a = openwindow('a', 0, 0, 100, 50)\n"
          "b = openwindow('b', 0, 0, 60, 40)\n"
          "setactivewindow(a) assert(windowwidth() == 100)\n"
          "setactivewindow(b) assert(windowwidth() == 60)\n"
          "setcaption('bee')\n"
          "setactivewindow(12345) assert(windowwidth() == 0 and windowheight() == 0)\n"
          "setcaption('nobody')  resizewindow(10, 10)  setvirtualsize(1, 1)\n"
          "setactivewindow(a)\n");
    EXPECT_STREQ(SDL_GetWindowTitle(Sdl(platform::ActiveWindowId())), "a");
    // Once a virtual size was set anywhere, windows without one answer 0.
    EXPECT_EQ(graphics::WindowWidth(), 0);
}

TEST_F(WindowTest, VirtualSizeAnswersSizeQueriesForEveryWindow) {
    LuaOk("w = openwindow('v', 0, 0, 640, 400) setactivewindow(w)\n"
          "setvirtualsize(320, 200)\n"
          "assert(windowwidth() == 320 and windowheight() == 200)\n"
          "resizewindow(800, 600)\n"
          "assert(windowwidth() == 320 and windowheight() == 200)\n"
          "other = openwindow('o', 0, 0, 100, 100) setactivewindow(other)\n"
          "assert(windowwidth() == 0 and windowheight() == 0)\n");
}

TEST_F(WindowTest, ResizeChangesTheActiveWindowUnlessFullScreen) {
    int32_t id = OpenActiveWindow(100, 80);
    graphics::ResizeWindow(120, 90);
    EXPECT_EQ(Size(id), std::make_pair(120, 90));
    EXPECT_EQ(graphics::WindowWidth(), 120);
    graphics::ToggleFullscreen();
    EXPECT_TRUE(graphics::Fullscreen());
    auto fullSize = Size(id);
    graphics::ResizeWindow(50, 50);
    EXPECT_EQ(Size(id), fullSize);
    graphics::ToggleFullscreen();
    EXPECT_FALSE(graphics::Fullscreen());
    EXPECT_EQ(SDL_GetWindowFlags(Sdl(id)) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
}

TEST_F(WindowTest, FullScreenFlagBelongsToTheProcess) {
    int32_t main = OpenActiveWindow(100, 80);
    int32_t second = graphics::OpenWindow("second", 0, 0, 50, 50);
    LuaOk("togglefullscreen() assert(fullscreen() == true)");
    EXPECT_NE(SDL_GetWindowFlags(Sdl(main)) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    // Closing any window clears the flag, though the active one stays full screen.
    graphics::CloseWindow(second);
    EXPECT_FALSE(graphics::Fullscreen());
    EXPECT_NE(SDL_GetWindowFlags(Sdl(main)) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    // So the next toggle asks for full screen again.
    graphics::ToggleFullscreen();
    EXPECT_TRUE(graphics::Fullscreen());
    // Closing a window that does not exist clears it too.
    graphics::CloseWindow(987654);
    EXPECT_FALSE(graphics::Fullscreen());
}

TEST_F(WindowTest, ClosingTheActiveWindowLeavesNothingToDrawOn) {
    int32_t id = OpenActiveWindow(64, 48);
    EXPECT_NE(platform::ActiveRenderer(), nullptr);
    LuaOk("closewindow(" + std::to_string(id) + ")");
    EXPECT_EQ(platform::ActiveWindowId(), id);
    EXPECT_EQ(platform::ActiveRenderer(), nullptr);
    EXPECT_EQ(Sdl(id), nullptr);
    LuaOk("setcaption('gone') resizewindow(5, 5) togglefullscreen() togglefullscreen()"
          " assert(windowwidth() == 0)");
}

TEST_F(WindowTest, ScaleQualityIsTheRendererHint) {
    LuaOk("setscalequality('linear')");
    EXPECT_STREQ(SDL_GetHint(SDL_HINT_RENDER_SCALE_QUALITY), "linear");
    LuaOk("setscalequality('')");
    EXPECT_STREQ(SDL_GetHint(SDL_HINT_RENDER_SCALE_QUALITY), "");
}

TEST(WindowScript, RendererFailureShowsItsBoxAndEndsTheRun) {
    // The dummy video driver has no accelerated renderer: without the
    // software driver forced, creating the renderer fails.
    TempDir dir;
    RunOptions options;
    options.env = {{"SDL_RENDER_DRIVER", ""}};
    RunResult r = RunScript(dir, "print('opening')\nopenwindow('x', -1, -1, 64, 48)\nprint('not reached')\n", options);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "opening\n");
    EXPECT_EQ(r.err.rfind("Error: SDL_CreateRenderer Error: ", 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

TEST(WindowScript, MessageBoxAndCloseApplicationLetTheScriptGoOn) {
    TempDir dir;
    RunResult r = RunScript(dir,
                            "messagebox('Caption', 'two\\nlines')\n"
                            "closeapplication()\n"
                            "print('still running')\n"
                            "closeapplication()\n"
                            "print(fullscreen())\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "Caption: two\nlines\n");
    EXPECT_EQ(r.out, "still running\nfalse\n");
}

}  // namespace
}  // namespace vorlune::test
