// Hostile sizes, positions and angles: copies and fills reach the renderer
// only as far as the target can show them, with the visible pixels exactly
// what the renderer draws for an in-range call; absurd requests are refused
// or dropped by documented rules, never with a crash, a hang or gigabytes.
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include "core/reset.hpp"
#include "graphics/clip.hpp"
#include "graphics/window.hpp"
#include "platform/active_window.hpp"
#include "support/engine_fixture.hpp"

namespace vorlune::test {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

using graphics::Copy;
using graphics::PlanCopy;
using graphics::Target;

// A 320 x 120 output; scale 1 unless given.
Target Output(bool software, double scale = 1) {
    Target t;
    t.outW = 320;
    t.outH = 120;
    t.scaleX = t.scaleY = scale;
    t.software = software;
    return t;
}

TEST(CopyPlan, DropsWhatCannotShowAndWhatTheSoftwareRendererWouldBuildHuge) {
    struct Case {
        const char* what;
        Target target;
        Copy copy;
        bool draw;
    };
    const Case cases[] = {
        {"inside", Output(true), {10, 10, 16, 16, 16, 16, 0, false}, true},
        {"just left of the output", Output(true), {-21, 10, 16, 16, 16, 16, 0, false}, false},
        {"touching the left edge", Output(true), {-15, 10, 16, 16, 16, 16, 0, false}, true},
        {"far right", Output(true), {2147483647, 10, 16, 16, 16, 16, 0, false}, false},
        {"empty destination", Output(true), {10, 10, 0, 16, 16, 16, 0, false}, false},
        {"negative width", Output(true), {10, 10, -16, 16, 16, 16, 0, false}, false},
        // A 200 x 2 bar turned upright about its centre (-50, 11) stays left of
        // the output; lying flat it reaches in, and the other way round.
        {"flat bar reaching in", Output(true), {-150, 10, 200, 2, 16, 16, 0, false}, true},
        {"upright bar left of it", Output(true), {-150, 10, 200, 2, 16, 16, 90, false}, false},
        {"upright bar reaching in", Output(true), {-101, -300, 2, 200, 16, 16, 0, false}, false},
        {"upright bar turned flat", Output(true), {-101, -300, 2, 200, 16, 16, 90, true}, false},
        {"upright bar turned flat into it", Output(true), {-101, -50, 2, 200, 16, 16, 90, false}, true},
        // Virtual size: drawing unit 2 is output pixel 1.
        {"half scale, inside", Output(true, 0.5), {500, 10, 16, 16, 16, 16, 0, false}, true},
        {"half scale, beyond", Output(true, 0.5), {700, 10, 16, 16, 16, 16, 0, false}, false},
        // Squeezed below a pixel by a virtual size of millions of units.
        {"squeezed", Output(true, 1e-6), {10, 10, 16, 16, 16, 16, 0, false}, false},
        {"squeezed and turned", Output(true, 1e-6), {10, 10, 16, 16, 16, 16, 30, false}, false},
        {"squeezed and turned elsewhere", Output(false, 1e-6), {10, 10, 16, 16, 16, 16, 30, false}, true},
        // Built in full by the software renderer: rotated or flipped, or scaled across an edge.
        {"rotated 2000 x 2000", Output(true), {-500, -500, 2000, 2000, 16, 16, 30, false}, false},
        {"rotated 2000 x 2000 elsewhere", Output(false), {-500, -500, 2000, 2000, 16, 16, 30, false}, true},
        {"flipped 1400 x 1400", Output(true), {-500, -500, 1400, 1400, 16, 16, 0, true}, true},
        {"rotated 14000 x 1, a huge box", Output(true), {-500, 10, 14000, 1, 16, 16, 44, false}, false},
        {"rotated 1400 x 1400, box too big", Output(true), {-500, -500, 1400, 1400, 16, 16, 45, false}, false},
        {"scaled 4000 x 4000 across the edge", Output(true), {-10, -10, 4000, 4000, 16, 16, 0, false}, false},
        {"unscaled 4000 x 4000 across the edge", Output(true), {-10, -10, 4000, 4000, 4000, 4000, 0, false}, true},
        {"scaled 2000 x 2000 across the edge", Output(true), {-10, -10, 2000, 2000, 16, 16, 0, false}, true},
    };
    for (const Case& c : cases) EXPECT_EQ(PlanCopy(c.target, c.copy).draw, c.draw) << c.what;

    EXPECT_DOUBLE_EQ(PlanCopy(Output(false), {0, 0, 8, 8, 8, 8, 1e12 + 30, false}).angle, std::fmod(1e12 + 30, 360.0));
    EXPECT_DOUBLE_EQ(PlanCopy(Output(false), {0, 0, 8, 8, 8, 8, 123456.5, false}).angle, 123456.5);
    EXPECT_FALSE(graphics::FiniteCopy(1, 1, std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(graphics::FiniteCopy(std::numeric_limits<double>::infinity(), 1, 0));
    EXPECT_TRUE(graphics::FiniteCopy(-3, 1e300, 1e300));
}

class BoundsTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        core::ResetEngine();
    }

    void Clear() {
        SDL_Renderer* r = platform::ActiveRenderer();
        SDL_SetRenderDrawColor(r, 40, 40, 40, 255);
        SDL_RenderClear(r);
    }

    // Pixels after `code` ran on a cleared window.
    Image After(const std::string& code) {
        Clear();
        LuaOk(code);
        return ReadPixels();
    }

    // Writes a 16 x 16 picture of distinct pixels and loads it as sprite `s`.
    void LoadPicture() {
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 16, 16, 32, SDL_PIXELFORMAT_RGBA8888);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) static_cast<uint32_t*>(s->pixels)[y * 16 + x] = Rgba(x * 16, y * 16, 255 - x * 8, 255);
        SDL_SaveBMP(s, (dir / "p.bmp").c_str());
        SDL_FreeSurface(s);
        LuaOk("s = loadsprite('" + (dir / "p.bmp").string() + "')");
    }

    TempDir dir;
};

bool Same(const Image& a, const Image& b) { return a.pixels == b.pixels; }

// Rectangles, filled or outlined, whose ends do not fit the renderer's int
// arithmetic draw exactly the pixels of an in-range rectangle reaching just as
// far into the window.
TEST_F(BoundsTest, FarReachingRectanglesMatchTheirInRangeEquivalents) {
    struct Case {
        const char* virtualSize;  // 320, 120: scale 1
        const char* far;
        const char* near;         // "" when nothing shows
    };
    const Case cases[] = {
        {"320, 120", "200, 10, 2147483520, 5", "200, 10, 400, 5"},
        {"320, 120", "-2147483392, 20, 2147483520, 7", "-10, 20, 138, 7"},
        {"320, 120", "-17, 993400739, 585912163, 2145081499", ""},
        {"320, 120", "30, -2147483392, 9, 2147483520", "30, -10, 9, 138"},
        {"320, 120", "-2147483392, -2147483392, 2147483520, 2147483520", "-10, -10, 138, 138"},
        {"160, 60", "100, 10, 2147483520, 5", "100, 10, 1000, 5"},
        {"160, 60", "-2147483392, 3, 2147483520, 5", "-10, 3, 138, 5"},
        {"865, 324", "37, 11, 2147483520, 100", "37, 11, 3000, 100"},
        {"865, 324", "37, 11, 50, 2147483520", "37, 11, 50, 3000"},
    };
    OpenActiveWindow(320, 120);
    for (const char* fn : {"fillrectangle", "rectangle"}) {
        for (const Case& c : cases) {
            // Outlines under a virtual size reaching that far are not drawn.
            const bool drawn = *c.near && (std::string(fn) == "fillrectangle" || std::string(c.virtualSize) == "320, 120");
            const std::string setup = "setvirtualsize(" + std::string(c.virtualSize) + ") color(200, 120, 40, 100) ";
            const Image far = After(setup + fn + "(" + c.far + ")");
            const Image near = drawn ? After(setup + fn + "(" + c.near + ")") : After(setup);
            EXPECT_TRUE(Same(far, near)) << fn << "(" << c.far << ") " << c.virtualSize;
        }
    }
}

// Copies near every edge, turned, flipped and under a virtual size: what the
// engine draws is what the renderer draws when handed the same copy.
TEST_F(BoundsTest, CopiesNearTheEdgesAreDrawnAsTheRendererDrawsThem) {
    OpenActiveWindow(80, 60);
    LoadPicture();
    SDL_Renderer* renderer = platform::ActiveRenderer();
    lua_getglobal(L, "s");
    const graphics::Sprite sprite = graphics::Sprite::Resolve(lua_touserdata(L, -1));
    lua_pop(L, 1);
    ASSERT_NE(sprite.texture, nullptr);
    struct Turn {
        double angle;
        bool vflip;
    };
    const Turn turns[] = {{0, false}, {30, false}, {90, true}, {225, false}, {0, true}};
    const char* virtualSizes[] = {"", "40, 30", "200, 150"};
    for (const char* vs : virtualSizes) {
        if (*vs) LuaOk(std::string("setvirtualsize(") + vs + ")");
        const int w = *vs ? std::stoi(vs) : 80, h = *vs ? std::stoi(std::string(vs).substr(4)) : 60;
        for (const Turn& t : turns) {
            for (int x : {-30, -27, -24, -20, w + 4, w + 8, w + 12}) {
                for (int y : {-29, -25, 10, h + 5, h + 9}) {
                    const std::string call = "drawsprite(s, " + std::to_string(x) + ", " + std::to_string(y) + ", 1.5, 1.5, " +
                                             std::to_string(t.angle) + ", " + (t.vflip ? "true" : "false") + ", false)";
                    const Image engine = After(call);
                    Clear();
                    SDL_Rect dst{x, y, 24, 24};
                    SDL_RenderCopyEx(renderer, sprite.texture, nullptr, &dst, t.angle, nullptr,
                                     t.vflip ? SDL_FLIP_VERTICAL : SDL_FLIP_NONE);
                    EXPECT_TRUE(Same(engine, ReadPixels())) << vs << " " << call;
                }
            }
        }
    }
}

// A non-finite angle or scale draws nothing, whichever function copies.
TEST_F(BoundsTest, NonFiniteAnglesAndScalesDrawNothing) {
    OpenActiveWindow(80, 60);
    LoadPicture();
    LuaOk("a = createanimation(s, 8, 8, 0, 3, 100, 1, -1)\n"
          "e = createemitter(5, 10000, false) createparticles(e, 30, 30, 0, 0, 0, 0)\n"
          "f = createbmpfont(s, 8, 8, 'ABCD')");
    const Image blank = After("");
    for (const char* v : {"0/0", "1/0", "-1/0"}) {
        const std::string n = v;
        const std::vector<std::string> calls = {
            "drawsprite(s, 20, 20, 1, 1, " + n + ", false, false)",
            "drawsprite(s, 20, 20, " + n + ", 1, 0, false, false)",
            "drawspritepart(s, 20, 20, 0, 0, 8, 8, 1, 1, " + n + ", false, true)",
            "drawspritepart(s, 20, 20, 0, 0, 8, 8, 1, " + n + ", 0, false, false)",
            "drawanimation(a, 20, 20, 1, 1, " + n + ", false, false)",
            "drawanimation(a, 20, 20, " + n + ", 1, 0, false, false)",
            "drawparticles(e, s, 1, 1, " + n + ", false, false)",
            "drawparticles(e, s, 1, " + n + ", 0, false, false)",
            "bmpfontangle(f, " + n + ") bmptext('ABCD', 10, 10, f)",
        };
        for (const std::string& call : calls) EXPECT_TRUE(Same(After(call), blank)) << call;
    }
    // The same calls with finite values do draw.
    EXPECT_FALSE(Same(After("drawsprite(s, 20, 20, 1, 1, 1e15, false, false)"), blank));
    EXPECT_FALSE(Same(After("bmpfontangle(f, 0) bmptext('ABCD', 10, 10, f)"), blank));
}

// The known cases and the fuzzer's findings, in one process: each
// ends quickly and none grows the process by 64 MB.
TEST_F(BoundsTest, HostileCallsStayCheapAndSmall) {
    struct Case {
        const char* setup;  // run first, on a fresh 320 x 120 window
        const char* call;
    };
    const Case cases[] = {
        {"bmpfontsize(f, 4, 2) resizewindow(200, 16) bmpfontangle(f, -63.003827402)",
         "bmptext('VJ#~C', -2147483648, -2147483648, f)"},
        {"", "drawsprite(s, 10, 10, 1, 1, 1/0, false, false)"},
        {"", "drawsprite(s, 10, 10, 1000, 1000, 30, false, false)"},
        {"", "drawsprite(s, 4181, -12, 260.569472, 2.653, 103.988183, true, nil)"},
        {"", "drawspritepart(s, 2136125933, -1675, 12, -3609, 1696820148, 4033, 0.001, 0.742, 0, nil, 0)"},
        {"", "drawspritepart(s, 5, 5, 0, 0, 16, 16, 400, 400, 0, false, false)"},
        {"bmpfontangle(f, 3.889) bmpfontsize(f, 3224, 429)", "bmptext('nan', 792728706, 0, f)"},
        {"e = createemitter(40, 500, true) createparticles(e, 50, 50, 0, 360, 3, 0)",
         "drawparticles(e, s, 618.45972, 2.414, -0.83, false, false)"},
        {"setvirtualsize(479, -2147483648)", "fillellipse(3, 0, 97, -2147483649)"},
        {"setvirtualsize(256, -1204510062)", "triangle(0, 0, 186, 344, -1367046940, 117)"},
        {"setvirtualsize(256, -1204510062)", "filltriangle(0, 0, 186, 344, -1367046940, 117) ellipse(41, 1, 817878941, 291)"},
        {"setvirtualsize(1979880084, 74)", "fillellipse(124, 60, 4964, 1263706369) circle(5, 5, 2000000000)"},
        {"setvirtualsize(-2147483649, 256)", "line(168, 323, 592944240, 4797)"},
        {"resizewindow(2147483647, 105)", "fillcircle(149, 164, 1055278953)"},
        {"", "fillrectangle(-17, 993400739, 585912163, 2145081499)"},
        {"textsize(1686189253)", "drawtext('e5', 0, 12) drawtext(string.rep('A', 2000), 42, -1e300)"},
        {"textsize(-1416714393) setvirtualsize(1818597434, 23)", "drawtext(string.rep('ab', 524288), 0, 323)"},
    };
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    for (const Case& c : cases) {
        core::ResetEngine();
        OpenActiveWindow(320, 120);
        LoadPicture();
        LuaOk("f = createbmpfont(s, 8, 8, ' !\"#$%&\\'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\\\]^_`abcdefghijklmnopqrstuvwxyz{|}~') " +
              std::string(c.setup));
        const long before = usage.ru_maxrss;
        const auto start = std::chrono::steady_clock::now();
        LuaOk(c.call);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        getrusage(RUSAGE_SELF, &usage);
        EXPECT_LT(seconds, 5.0) << c.call;
        // The address sanitizer holds freed memory back for a while: peak
        // memory is measured without it.
        if (!kSanitized) {
            EXPECT_LT(usage.ru_maxrss - before, 64 * 1024) << c.call;  // kilobytes
        }
        SDL_DestroyWindow(platform::ActiveSdlWindow());
    }
}

// Requests for absurd numbers of particles or an absurd window are refused or
// held to the documented limits; reasonable ones are untouched.
TEST_F(BoundsTest, AbsurdCountsAndSizesHitTheirLimits) {
    EXPECT_EQ(Lua("createsimpleparticles(0, 0, 1369572407, 10, 0, 64, 0, 7)"), "test:1: not enough memory");
    LuaOk("createsimpleparticles(0, 0, 1000, 10, 0, 64, 0, 7)");
    EXPECT_EQ(Lua("e = createemitter(382776466, 2399, true) createparticles(e, 107, -1, -2.169, -422.18, -1.29, 0)"),
              "test:1: not enough memory");
    LuaOk("e2 = createemitter(999, 2399, true) createparticles(e2, 1, 1, 0, 0, 1, 0)");
    OpenActiveWindow(160, 240);
    LuaOk("resizewindow(407396630, 2654)");
    EXPECT_EQ(Eval("windowwidth() .. 'x' .. windowheight()"), std::to_string(graphics::kMaxWindowSide) + "x2654");
    LuaOk("resizewindow(640, 480)");
    EXPECT_EQ(Eval("windowwidth() .. 'x' .. windowheight()"), "640x480");
}

// Lines that cannot be written out are never lost silently: the write, the
// close or the flush at exit ends the run through the unhandled-error exit.
TEST(WriteFailures, FullDiskTakesTheUnhandledErrorExit) {
    TempDir dir;
    const std::vector<std::string> scripts = {
        "local f = open('/dev/full', 'w') fprint(f, string.rep('x', 100000))",
        "local f = open('/dev/full', 'w') fprint(f, 'x') close(f)",
        "local f = open('/dev/full', 'w') fprint(f, 'x')",
    };
    for (const std::string& s : scripts) {
        RunResult r = RunScript(dir, s + "\nprint('end of script')\n");
        EXPECT_EQ(r.status, 217) << s;
        EXPECT_NE(r.out.find("An unhandled error occurred: "), std::string::npos) << s << r.out;
        EXPECT_NE(r.out.find("\"/dev/full\": No space left on device"), std::string::npos) << s << r.out;
    }
}

}  // namespace
}  // namespace vorlune::test
