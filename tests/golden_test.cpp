// Golden frames: every drawing function drawn through the fast paths (the
// frame drawn into a copy in main memory, replayed on the renderer when a
// sprite comes; on OpenGL, sprite copies queued and drawn together) and
// through the plain calls, with the read-back pixels compared exactly.
//
// Headless (software renderer) the copy is forced on and must give the
// renderer's own frame. With VORLUNE_TEST_GL=1 under an X server the window
// gets SDL's OpenGL renderer: frames without sprites must equal the plain
// calls on SDL's software renderer, frames with sprites the plain calls on the
// OpenGL renderer. Without an OpenGL renderer the suite fails.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "core/reset.hpp"
#include "graphics/inspect.hpp"
#include "graphics/canvas.hpp"
#include "graphics/window.hpp"
#include "platform/active_window.hpp"
#include "platform/clock.hpp"
#include "support/engine_fixture.hpp"
#include "util/random.hpp"

namespace vorlune::test {
namespace {

using graphics::canvas::Use;

struct Scene {
    const char* name;
    const char* code;    // draws after the window is open; the sprites are s (from the file translucent), o (opaque),
                         // c (alpha 0 or 255 only) and k (colour-keyed)
    bool renderersOwn;   // with sprites (or scaled): the frame is the renderer's own, else the software renderer's
    bool queues = false; // on OpenGL, copies are queued and drawn together
};

// Primitives of every kind, opaque and translucent, on a coloured background.
constexpr const char* kPrimitives = R"(
backcolor(30, 60, 90, 255) cls()
color(255, 200, 0, 255)
dot(3, 4) dot(3, 4) line(0, 0, 95, 63) line(90, 2, 4, 60) line(10, 50, 10, 5) line(80, 7, 20, 7) line(5, 5, 5, 5)
rectangle(2, 2, 20, 10) rectangle(30, 30, 1, 1) rectangle(40, 40, 0, 5) rectangle(50, 50, -4, -3)
fillrectangle(60, 5, 12, 9) fillrectangle(70, 20, -5, 4)
color(0, 200, 255, 128)
circle(20, 30, 12) fillcircle(48, 32, 15) ellipse(70, 40, 20, 10) ellipse(30, 20, 6, 6)
color(250, 20, 120, 77)
fillellipse(50, 20, 14, 9) triangle(5, 60, 40, 35, 90, 62) filltriangle(10, 10, 60, 50, 90, 5)
fillcircle(48, 32, 15) line(-50, -50, 500, 300) color(300, -1, 256, 1000) fillcircle(90, 60, 20)
)";

const Scene kScenes[] = {
    {"primitives", kPrimitives, false},
    {"text sizes and colours", R"(
backcolor(200, 200, 200, 255) cls()
color(0, 0, 0, 255) textsize(1) drawtext("Ag!" .. string.char(1, 3, 176, 219), 1, 1)
color(255, 0, 0, 128) textsize(2) drawtext("Hi" .. string.char(200), 2, 10)
color(0, 0, 255, 100) textsize(3) drawtext("Q", 40, 20) textsize(4) drawtext("#", 60, 20)
textsize(0) drawtext("zero", 0, 0) textsize(-1) drawtext("neg", 50, 60) textsize(-2) drawtext("x", 90, 60)
)",
     false},
    {"frames presented and drawn on without a clear", R"(
cls() color(255, 255, 255, 255) fillcircle(20, 20, 10) redraw()
color(255, 0, 0, 100) fillcircle(30, 20, 10) drawtext("go", 0, 50) redraw()
color(0, 255, 0, 100) rectangle(5, 5, 50, 40)
)",
     false},
    {"a clear after a present restarts the frame", R"(
cls() color(255, 255, 255, 255) fillcircle(20, 20, 10) redraw() color(9, 9, 9, 9) line(0, 0, 9, 9)
cls() color(0, 255, 0, 140) fillcircle(30, 30, 12) drawtext("ok", 40, 40)
)",
     false},
    {"simple particles drawn with primitives", R"(
cls() setsimpleparticletype("fillcircle") setsimpleparticlesize(3, "random")
createsimpleparticles(48, 32, 40, 20, 255, 128, 0, 0) updatesimpleparticles() updatesimpleparticles()
setsimpleparticletype("box") createsimpleparticles(20, 20, 20, 20, 0, 255, 128, 0) updatesimpleparticles()
)",
     false},
    {"sprites between primitives", R"(
backcolor(10, 20, 30, 255) cls() color(255, 255, 0, 160) fillcircle(30, 30, 20) drawtext("ab", 0, 0)
drawsprite(s, 10, 10, 1, 1, 0, false, false) drawsprite(s, 40, 5, 1.5, 0.75, 33, true, false)
spritecolor(s, 255, 0, 0, 128) drawsprite(s, 60, 30, 2, 2, 200, false, true) drawspritepart(s, 5, 40, 4, 4, 8, 8, 2, 1, 10, false, false)
color(0, 255, 255, 90) fillcircle(50, 40, 12) line(0, 63, 95, 0) drawtext("cd", 60, 50)
)",
     true, true},
    {"bitmap text and tiles", R"(
cls() f = createbmpfont(s, 8, 8, "ABCD") bmptext("ABCAD", 2, 2, f) bmpfontsize(f, 2, 1) bmpfontangle(f, 30)
bmptext("DCBA", 10, 20, f) t = tileset(s, 4, 4, "abcdefghijklmnop") drawtile("ponm lkji", 0, 45, t)
color(255, 255, 255, 128) fillrectangle(0, 0, 20, 20)
)",
     true, true},
    {"animations", R"(
cls() a = createanimation(s, 8, 8, 0, 3, 10, 0, 1) drawanimation(a, 5, 5, 2, 2, 0, false, false)
drawanimation(a, 40, 20, 1, 1, 45, true, false) color(255, 0, 0, 200) circle(60, 40, 10)
)",
     true, true},
    {"particles", R"(
cls() e = createemitter(30, 1000, false) createparticles(e, 48, 32, 0, 360, 3, 0) updateparticles()
drawparticles(e, s, 0.5, 0.5, 0, false, false) color(0, 0, 255, 255) fillrectangle(0, 0, 10, 10)
)",
     true, true},
    {"hundreds of copies, primitives between them", R"(
cls() color(255, 0, 0, 100)
for i = 0, 899 do
  drawsprite(s, i % 90, (i * 7) % 60, 0.5, 0.75, i, i % 3 == 0, false)
  if i % 250 == 0 then fillcircle(i % 90, 30, 6) end
end
)",
     true, true},
    {"a frame after a frame with sprites", R"(
cls() drawsprite(s, 10, 10, 1, 1, 0, false, false) redraw()
cls() color(255, 128, 0, 120) fillcircle(40, 30, 18) drawtext("plain", 10, 50)
)",
     true, true},
    {"a virtual size", R"(
cls() color(255, 0, 0, 255) fillcircle(20, 20, 8) setvirtualsize(48, 40)
color(0, 255, 0, 128) fillcircle(20, 20, 8) line(0, 0, 47, 39) drawtext("v", 30, 2)
drawsprite(s, 10, 10, 1, 1, 20, false, false)
)",
     true},
    {"runs of copies: two sprites in turn, turned and unturned, flipped, parts, tints, freed", R"(
backcolor(40, 40, 40, 255) cls()
for i = 0, 59 do
  drawsprite(i % 3 == 0 and o or s, (i * 13) % 90 - 4, (i * 7) % 60 - 4, 0.5 + (i % 4) * 0.5, 1 - (i % 3) * 0.75,
             (i % 5) * 90 + (i % 2) * 720 + (i % 7 == 0 and 33.3 or 0), i % 4 == 1, i % 4 == 2)
end
drawspritepart(s, 30, 30, -4, 10, 12, 12, 2, 2, 0, false, false) drawspritepart(o, 60, 10, 8, 8, 20, 20, 1, 1, 45, false, true)
drawspritepart(s, 70, 30, 40, 40, 8, 8, 1, 1, 0, false, false) drawsprite(s, 80, 50, -1, 1, 0, false, false)
drawsprite(s, 20, 50, -1.5, 2, 30, false, false) drawsprite(s, -20, 70, 1, 1, 0, false, false)
spritecolor(s, 255, 255, 255, 255) drawsprite(s, 5, 5, 1, 1, 10, false, false)
spritecolor(o, 200, 100, 50, 255) drawsprite(o, 50, 40, 1, 1, 0, false, false)
spritecolor(o, 255, 255, 255, 255) drawsprite(o, 52, 42, 1, 1, 0, false, false) drawsprite(s, 40, 20, 3, 3, 200, true, false)
freesprite(s) drawsprite(o, 0, 0, 1, 1, 5, false, false)
)",
     true, true},
    {"sprites whose alpha is all 0 or 255, over shapes and other sprites", R"(
backcolor(90, 30, 30, 255) cls() color(0, 0, 255, 255) fillrectangle(10, 10, 50, 30)
for i = 0, 39 do
  drawsprite(i % 2 == 0 and c or k, (i * 17) % 90 - 6, (i * 5) % 60 - 6, 1 + (i % 3) * 0.5, 1, i * 37, i % 5 == 1, i % 5 == 2)
end
drawsprite(s, 30, 30, 2, 2, 15, false, false) drawsprite(c, 35, 32, 2, 2, 0, false, false)
spritecolor(c, 255, 255, 255, 128) drawsprite(c, 40, 35, 2, 2, 45, false, false)
spritecolor(c, 255, 255, 255, 255) drawsprite(c, 50, 20, 1, 1, 90, false, false) drawsprite(k, 0, 40, 3, 2, 0, false, true)
freesprite(c) freesprite(k) t = loadsprite(translucent) drawsprite(t, 60, 5, 2, 2, 30, false, false)
)",
     true, true},
    {"more copies than one draw holds", R"(
cls() for i = 0, 16999 do drawsprite(s, (i * 7) % 96, (i * 11) % 64, 0.25, 0.5, i % 360, false, i % 2 == 0) end
)",
     true, true},
};

class GoldenTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        core::ResetEngine();
        // A 16 x 16 sprite of four coloured quadrants with a translucent edge and
        // a transparent corner.
        SDL_Surface* pic = SDL_CreateRGBSurfaceWithFormat(0, 16, 16, 32, SDL_PIXELFORMAT_RGBA8888);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                uint32_t rgb = y < 8 ? (x < 8 ? 0xFF000000u : 0x00FF0000u) : (x < 8 ? 0x0000FF00u : 0xFFFFFF00u);
                uint32_t alpha = x == 15 && y < 4 ? 0u : (x == 0 || y == 15) ? 0x80u : 0xFFu;
                static_cast<uint32_t*>(pic->pixels)[y * (pic->pitch / 4) + x] = rgb | alpha;
            }
        sprite_ = (dir_ / "sprite.png").string();
        ASSERT_EQ(IMG_SavePNG(pic, sprite_.c_str()), 0) << SDL_GetError();
        SDL_FreeSurface(pic);
        // A 12 x 10 sprite without alpha channel, in stripes.
        SDL_Surface* opaque = SDL_CreateRGBSurfaceWithFormat(0, 12, 10, 24, SDL_PIXELFORMAT_RGB24);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 12; ++x) {
                auto* p = static_cast<uint8_t*>(opaque->pixels) + y * opaque->pitch + 3 * x;
                p[0] = static_cast<uint8_t>(20 * x), p[1] = static_cast<uint8_t>(25 * y), p[2] = (x + y) % 2 ? 255 : 0;
            }
        opaque_ = (dir_ / "opaque.png").string();
        ASSERT_EQ(IMG_SavePNG(opaque, opaque_.c_str()), 0) << SDL_GetError();
        // The same stripes with magenta (the colour key) where x + y is a
        // multiple of 5, and as a picture whose alpha is 0 there, 255 elsewhere.
        SDL_Surface* cut = SDL_ConvertSurfaceFormat(opaque, SDL_PIXELFORMAT_RGBA8888, 0);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 12; ++x) {
                if ((x + y) % 5 != 0) continue;
                auto* p = static_cast<uint8_t*>(opaque->pixels) + y * opaque->pitch + 3 * x;
                p[0] = 255, p[1] = 0, p[2] = 255;
                static_cast<uint32_t*>(cut->pixels)[y * (cut->pitch / 4) + x] &= 0xFFFFFF00u;
            }
        keyed_ = (dir_ / "keyed.png").string();
        cut_ = (dir_ / "cut.png").string();
        ASSERT_EQ(IMG_SavePNG(opaque, keyed_.c_str()), 0) << SDL_GetError();
        ASSERT_EQ(IMG_SavePNG(cut, cut_.c_str()), 0) << SDL_GetError();
        SDL_FreeSurface(cut);
        SDL_FreeSurface(opaque);
    }

    // Draws a scene in a fresh 96 x 64 window and reads its pixels back (the
    // colour channels) before the present; reports whether the frame was
    // being drawn into a copy at the end.
    Image Draw(const Scene& scene, Use use, bool software, bool* copied = nullptr) {
        core::ResetEngine();
        graphics::canvas::SetUse(use);
        platform::UseVirtualClock(5000);
        util::SeedRandom(7);
        if (software) SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
        const int32_t window = OpenActiveWindow(96, 64);
        if (software) SDL_ResetHint(SDL_HINT_RENDER_DRIVER);
        const uint64_t queued = graphics::batch::CopiesDrawn();
        const std::string load = "translucent = '" + sprite_ + "' s = loadsprite(translucent) o = loadsprite('" + opaque_ +
                                 "') c = loadsprite('" + cut_ + "') k = createsprite(loadimage('" + keyed_ + "'))\n";
        EXPECT_EQ(Lua(load + scene.code), "") << scene.name;
        SDL_Renderer* renderer = platform::ActiveRenderer();
        if (copied) *copied = graphics::canvas::Copying(renderer);
        graphics::canvas::Flush(renderer);
        // On OpenGL the scenes whose copies can be queued must use the queue;
        // the plain calls and the software renderer never do.
        const bool openGl = !software && use != Use::Never && std::getenv("VORLUNE_TEST_GL") != nullptr;
        EXPECT_EQ(graphics::batch::CopiesDrawn() > queued, openGl && scene.queues) << scene.name;
        Image image = ReadPixels();
        for (uint32_t& p : image.pixels) p |= 0xFF;  // a window has no alpha channel
        graphics::CloseWindow(window);
        return image;
    }

    // The first differing pixel, or "" when the frames are the same.
    static std::string Difference(const Image& a, const Image& b) {
        if (a.width != b.width || a.height != b.height || a.pixels.empty()) return "sizes differ or nothing read";
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x)
                if (a.At(x, y) != b.At(x, y)) {
                    char text[96];
                    std::snprintf(text, sizeof text, "(%d, %d): %08X against %08X", x, y, a.At(x, y), b.At(x, y));
                    return text;
                }
        return "";
    }

    // Draws a scene with the fast path and with the plain calls and compares.
    // Emitters seed their random numbers from the wall clock in whole seconds:
    // a scene with one is drawn twice within one second.
    void Compare(const Scene& scene, Use fastUse, bool referenceOnSoftware) {
        const bool seeded = std::strstr(scene.code, "createemitter") != nullptr;
        for (int attempt = 0; attempt < (seeded ? 30 : 1); ++attempt) {
            const std::time_t second = std::time(nullptr);
            bool copied = false;
            const Image fast = Draw(scene, fastUse, false, &copied);
            const Image plain = Draw(scene, Use::Never, referenceOnSoftware);
            if (seeded && std::time(nullptr) != second) continue;
            EXPECT_EQ(Difference(fast, plain), "") << scene.name;
            // The scenes without sprites must really be drawn into a copy.
            EXPECT_EQ(copied, !scene.renderersOwn) << scene.name;
            return;
        }
        ADD_FAILURE() << scene.name << ": no two drawings within one second";
    }

    TempDir dir_;
    std::string sprite_, opaque_, keyed_, cut_;
};

bool OnOpenGl() { return std::getenv("VORLUNE_TEST_GL") != nullptr; }

TEST_F(GoldenTest, FramesMatchThePlainCallsOnTheRendererInUse) {
    if (OnOpenGl()) {
        // The OpenGL part checks the OpenGL renderer, below.
        OpenActiveWindow(8, 8);
        SDL_RendererInfo info{};
        SDL_GetRendererInfo(platform::ActiveRenderer(), &info);
        ASSERT_STREQ(info.name, "opengl") << "no OpenGL renderer could be made: " << SDL_GetError();
        return;
    }
    for (const Scene& scene : kScenes) Compare(scene, Use::Always, false);
}

TEST_F(GoldenTest, OpenGlFramesMatchTheSoftwareRendererOrTheirOwnPlainCalls) {
    if (!OnOpenGl()) GTEST_SKIP() << "run with VORLUNE_TEST_GL=1 under an X server (./dev.sh test does)";
    OpenActiveWindow(8, 8);
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(platform::ActiveRenderer(), &info);
    ASSERT_STREQ(info.name, "opengl") << "no OpenGL renderer could be made: " << SDL_GetError();
    for (const Scene& scene : kScenes) Compare(scene, Use::Auto, !scene.renderersOwn);
}

// Two windows (two OpenGL contexts) drawing copies in turn: each window's
// queue goes to its own context, with its own shaders and buffers.
TEST_F(GoldenTest, OpenGlCopiesInTwoWindowsMatchTheirPlainCalls) {
    if (!OnOpenGl()) GTEST_SKIP() << "run with VORLUNE_TEST_GL=1 under an X server (./dev.sh test does)";
    const std::string code = "a = openwindow('a', 0, 0, 64, 48) setactivewindow(a) sa = loadsprite('" + sprite_ +
                             "') cls() drawsprite(sa, 5, 5, 2, 2, 30, false, false)\n"
                             "b = openwindow('b', 70, 0, 64, 48) setactivewindow(b) sb = loadsprite('" + cut_ +
                             "') cls() drawsprite(sb, 10, 10, 2, 2, 60, false, false)\n"
                             "setactivewindow(a) drawsprite(sa, 30, 20, 1, 1, 10, true, false)\n"
                             "setactivewindow(b) drawsprite(sb, 40, 30, 3, 1, 200, false, true) drawsprite(sb, 0, 0, 1, 1, 0, false, false)\n";
    Image frames[2][2];  // [fast, plain][window a, b]
    for (int plain = 0; plain < 2; ++plain) {
        core::ResetEngine();
        graphics::canvas::SetUse(plain ? Use::Never : Use::Auto);
        const uint64_t queued = graphics::batch::CopiesDrawn();
        ASSERT_EQ(Lua(code), "");
        for (int w = 0; w < 2; ++w) {
            ASSERT_EQ(Lua(w == 0 ? "setactivewindow(a)" : "setactivewindow(b)"), "");
            graphics::canvas::Flush(platform::ActiveRenderer());
            frames[plain][w] = ReadPixels();
        }
        EXPECT_EQ(graphics::batch::CopiesDrawn() - queued, plain ? 0u : 5u);
        ASSERT_EQ(Lua("closewindow(a) closewindow(b)"), "");
    }
    EXPECT_EQ(Difference(frames[0][0], frames[1][0]), "") << "window a";
    EXPECT_EQ(Difference(frames[0][1], frames[1][1]), "") << "window b";
}

}  // namespace
}  // namespace vorlune::test
