// Images and sprites: loading and colour keys, placement, scaling, flips,
// tint, and handles that are not live.
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <SDL_image.h>
#include <gtest/gtest.h>

#include "graphics/sprite.hpp"
#include "graphics/window.hpp"
#include "platform/active_window.hpp"
#include "core/handles.hpp"
#include "support/engine_fixture.hpp"
#include "core/reset.hpp"

namespace vorlune::test {
namespace {

constexpr uint32_t kRed = 0xFF0000FF, kGreen = 0x00FF00FF, kBlue = 0x0000FFFF, kWhite = 0xFFFFFFFF;
constexpr uint32_t kBlack = 0x000000FF, kMagenta = 0xFF00FFFF, kGrey = 0x404040FF;

using PixelFn = std::function<uint32_t(int x, int y)>;  // 0xRRGGBBAA

// Writes a w x h picture: 24-bit BMP (no alpha) or 32-bit PNG (with alpha).
std::string WritePicture(const TempDir& dir, const std::string& name, int w, int h, const PixelFn& pixel) {
    bool png = name.size() > 4 && name.substr(name.size() - 4) == ".png";
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA8888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            static_cast<uint32_t*>(s->pixels)[y * (s->pitch / 4) + x] = pixel(x, y);
    std::string path = (dir / name).string();
    if (png) {
        EXPECT_EQ(IMG_SavePNG(s, path.c_str()), 0) << SDL_GetError();
    } else {
        SDL_Surface* rgb = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGB24, 0);
        EXPECT_EQ(SDL_SaveBMP(rgb, path.c_str()), 0) << SDL_GetError();
        SDL_FreeSurface(rgb);
    }
    SDL_FreeSurface(s);
    return path;
}

// Four 8 x 8 quadrants: red, green / blue, white.
uint32_t Quadrants(int x, int y) {
    if (y < 8) return x < 8 ? kRed : kGreen;
    return x < 8 ? kBlue : kWhite;
}

class SpriteTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        core::ResetEngine();
    }

    void Clear(uint32_t rgba = kGrey) {
        SDL_Renderer* r = platform::ActiveRenderer();
        SDL_SetRenderDrawColor(r, rgba >> 24, (rgba >> 16) & 255, (rgba >> 8) & 255, rgba & 255);
        SDL_RenderClear(r);
    }

    // Lua string literal of a path.
    static std::string Q(const std::string& s) { return "'" + s + "'"; }

    // The bounding box of pixels that differ from the background.
    SDL_Rect Drawn(const Image& img, uint32_t background = kGrey) {
        int x0 = img.width, y0 = img.height, x1 = -1, y1 = -1;
        for (int y = 0; y < img.height; ++y)
            for (int x = 0; x < img.width; ++x)
                if (img.At(x, y) != background) {
                    x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
                }
        return x1 < 0 ? SDL_Rect{0, 0, 0, 0} : SDL_Rect{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
    }

    TempDir dir;
};

std::string RectText(const SDL_Rect& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.w) + "x" + std::to_string(r.h);
}

TEST(SpriteMath, FlipRuleVerticalWinsAndNeverBoth) {
    EXPECT_EQ(graphics::FlipFor(false, false), SDL_FLIP_NONE);
    EXPECT_EQ(graphics::FlipFor(false, true), SDL_FLIP_HORIZONTAL);
    EXPECT_EQ(graphics::FlipFor(true, false), SDL_FLIP_VERTICAL);
    EXPECT_EQ(graphics::FlipFor(true, true), SDL_FLIP_VERTICAL);
}

TEST(SpriteMath, ScaledSizeRoundsTiesToEvenAndSaturates) {
    struct Case { int32_t size; double scale; int32_t expected; };
    const Case cases[] = {
        {33, 0.5, 16}, {35, 0.5, 18}, {3, 0.5, 2}, {32, 1.0, 32}, {32, 2.0, 64}, {10, 0.26, 3},
        {10, -1.0, -10}, {0, 1e300, 0}, {1, 1e300, INT32_MAX}, {1, -1e300, INT32_MIN},
        {7, std::numeric_limits<double>::quiet_NaN(), 0}, {7, std::numeric_limits<double>::infinity(), INT32_MAX},
    };
    for (const Case& c : cases) EXPECT_EQ(graphics::ScaledSize(c.size, c.scale), c.expected) << c.size << " * " << c.scale;
}

TEST_F(SpriteTest, MagentaKeyedImagesDrawTransparentUntilKeyingIsTurnedOff) {
    // Magenta left half, red right half; the same picture as BMP and PNG.
    auto keyed = [](int x, int) { return x < 4 ? kMagenta : kRed; };
    for (const std::string name : {"keyed.bmp", "keyed.png"}) {
        SCOPED_TRACE(name);
        std::string path = WritePicture(dir, name, 8, 8, keyed);
        OpenActiveWindow(40, 20);
        Clear();
        LuaOk("img = loadimage(" + Q(path) + ")\n"
              "s = createsprite(img)\n"
              "drawsprite(s, 0, 0, 1, 1, 0, false, false)\n"
              "nocolorkey()\n"
              "plain = createsprite(loadimage(" + Q(path) + "))\n"
              "drawsprite(plain, 10, 0, 1, 1, 0, false, false)\n"
              "again = createsprite(img)\n"   // the first image keeps its key
              "drawsprite(again, 20, 0, 1, 1, 0, false, false)\n"
              "colorkey(255, 0, 255)\n");
        Image img = ReadPixels();
        EXPECT_EQ(img.At(1, 1), kGrey);
        EXPECT_EQ(img.At(5, 1), kRed);
        EXPECT_EQ(img.At(11, 1), kMagenta);
        EXPECT_EQ(img.At(15, 1), kRed);
        EXPECT_EQ(img.At(21, 1), kGrey);
        EXPECT_EQ(img.At(25, 1), kRed);
    }
}

TEST_F(SpriteTest, ColourKeyChannelsAreReducedToEightBits) {
    std::string path = WritePicture(dir, "bw.bmp", 8, 8, [](int x, int) { return x < 4 ? kBlack : kWhite; });
    OpenActiveWindow(20, 10);
    Clear();
    LuaOk("colorkey(256, 512, -256)\n"  // keys black
          "drawsprite(createsprite(loadimage(" + Q(path) + ")), 0, 0, 1, 1, 0, false, false)\n"
          "colorkey(255, 255, 255 + 256)\n"  // keys white
          "drawsprite(createsprite(loadimage(" + Q(path) + ")), 10, 0, 1, 1, 0, false, false)");
    Image img = ReadPixels();
    EXPECT_EQ(img.At(1, 1), kGrey);
    EXPECT_EQ(img.At(5, 1), kWhite);
    EXPECT_EQ(img.At(11, 1), kBlack);
    EXPECT_EQ(img.At(15, 1), kGrey);
}

TEST_F(SpriteTest, LoadSpriteUsesTheFileAlphaAndNoColourKey) {
    std::string path = WritePicture(dir, "alpha.png", 12, 4, [](int x, int) {
        return x < 4 ? 0xFF000000u /* transparent red */ : x < 8 ? kMagenta : 0x00FF0080u /* half green */;
    });
    OpenActiveWindow(20, 10);
    Clear(kBlack);
    LuaOk("s = loadsprite(" + Q(path) + ")\n"
          "assert(spritewidth(s) == 12 and spriteheight(s) == 4)\n"
          "drawsprite(s, 0, 0, 1, 1, 0, false, false)");
    Image img = ReadPixels();
    EXPECT_EQ(img.At(1, 1), kBlack);
    EXPECT_EQ(img.At(5, 1), kMagenta);
    uint32_t half = img.At(9, 1);
    EXPECT_NEAR(static_cast<int>((half >> 16) & 255), 128, 2);
    EXPECT_EQ(half & 0xFF00FF00u, 0u);
}

TEST_F(SpriteTest, DrawSpritePlacesScalesAndFlips) {
    std::string path = WritePicture(dir, "q.png", 16, 16, Quadrants);
    OpenActiveWindow(80, 60);
    LuaOk("s = loadsprite(" + Q(path) + ")");
    struct Case {
        const char* call;
        SDL_Rect box;
        uint32_t topLeft, topRight, bottomLeft;  // colours at the box's corners
    };
    const Case cases[] = {
        {"drawsprite(s, 10, 20, 1, 1, 0, false, false)", {10, 20, 16, 16}, kRed, kGreen, kBlue},
        {"drawsprite(s, 3, 4, 2, 0.5, 0, false, false)", {3, 4, 32, 8}, kRed, kGreen, kBlue},
        {"drawsprite(s, 0, 0, 1, 1, 0, false, true)", {0, 0, 16, 16}, kGreen, kRed, kWhite},
        {"drawsprite(s, 0, 0, 1, 1, 0, true, false)", {0, 0, 16, 16}, kBlue, kWhite, kRed},
        // Both flags: only upside down, not mirrored.
        {"drawsprite(s, 0, 0, 1, 1, 0, true, true)", {0, 0, 16, 16}, kBlue, kWhite, kRed},
        // Half a turn about the destination centre stays in place.
        {"drawsprite(s, 30, 30, 1, 1, 180, false, false)", {30, 30, 16, 16}, kWhite, kBlue, kGreen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        Clear();
        LuaOk(c.call);
        Image img = ReadPixels();
        SDL_Rect box = Drawn(img);
        EXPECT_EQ(RectText(box), RectText(c.box));
        EXPECT_EQ(img.At(c.box.x, c.box.y), c.topLeft);
        EXPECT_EQ(img.At(c.box.x + c.box.w - 1, c.box.y), c.topRight);
        EXPECT_EQ(img.At(c.box.x, c.box.y + c.box.h - 1), c.bottomLeft);
    }
}

TEST_F(SpriteTest, ScaledWidthRoundsHalfToEven) {
    std::string path = WritePicture(dir, "w33.bmp", 33, 3, [](int, int) { return kWhite; });
    OpenActiveWindow(80, 20);
    Clear();
    LuaOk("s = createsprite(loadimage(" + Q(path) + "))\n"
          "assert(spritewidth(s) == 33 and spriteheight(s) == 3)\n"
          "drawsprite(s, 5, 5, 0.5, 1, 0, false, false)");
    EXPECT_EQ(RectText(Drawn(ReadPixels())), "5,5 16x3");
}

TEST_F(SpriteTest, QuarterTurnRotatesAboutTheDestinationCentre) {
    std::string path = WritePicture(dir, "bar.bmp", 20, 10, [](int x, int) { return x < 10 ? kRed : kGreen; });
    OpenActiveWindow(80, 60);
    Clear();
    LuaOk("drawsprite(createsprite(loadimage(" + Q(path) + ")), 30, 30, 1, 1, 90, false, false)");
    // {30,30,20,10} turned clockwise about (40,35): x 35..45, y 25..45, red on top.
    Image img = ReadPixels();
    EXPECT_EQ(RectText(Drawn(img)), "35,25 10x20");
    EXPECT_EQ(img.At(40, 27), kRed);
    EXPECT_EQ(img.At(40, 43), kGreen);
}

TEST_F(SpriteTest, DrawSpritePartCopiesAndScalesThePart) {
    std::string path = WritePicture(dir, "sheet.png", 64, 32, [](int x, int y) {
        return x < 32 ? kRed : (y < 16 ? kGreen : kBlue);  // part at (32,0): green over blue
    });
    OpenActiveWindow(100, 100);
    LuaOk("s = loadsprite(" + Q(path) + ")");
    struct Case { const char* call; SDL_Rect box; };
    const Case cases[] = {
        {"drawspritepart(s, 0, 0, 32, 0, 32, 32, 1, 1, 0, false, false)", {0, 0, 32, 32}},
        {"drawspritepart(s, 0, 0, 32, 0, 32, 32, 2, 2, 0, false, false)", {0, 0, 64, 64}},
        {"drawspritepart(s, 0, 0, 32, 0, 32, 32, 0.5, 0.5, 0, false, false)", {0, 0, 16, 16}},
        {"drawspritepart(s, 7, 9, 32, 0, 32, 32, 1, 1, 0, false, false)", {7, 9, 32, 32}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        Clear();
        LuaOk(c.call);
        Image img = ReadPixels();
        EXPECT_EQ(RectText(Drawn(img)), RectText(c.box));
        EXPECT_EQ(img.At(c.box.x, c.box.y), kGreen);
        EXPECT_EQ(img.At(c.box.x, c.box.y + c.box.h - 1), kBlue);
    }
    // Flipped vertically (both flags): blue on top.
    Clear();
    LuaOk("drawspritepart(s, 0, 0, 32, 0, 32, 32, 1, 1, 0, true, true)");
    EXPECT_EQ(ReadPixels().At(0, 0), kBlue);
}

TEST_F(SpriteTest, SpriteColorTintsAndFadesLaterDraws) {
    // A 24-bit image without key gives a texture without alpha: the alpha
    // modulation must still make it translucent.
    std::string path = WritePicture(dir, "white.bmp", 4, 4, [](int, int) { return kWhite; });
    OpenActiveWindow(30, 10);
    Clear(kBlack);
    LuaOk("nocolorkey()\n"
          "s = createsprite(loadimage(" + Q(path) + "))\n"
          "drawsprite(s, 0, 0, 1, 1, 0, false, false)\n"
          "spritecolor(s, 255, 0, 0, 128)\n"
          "drawsprite(s, 10, 0, 1, 1, 0, false, false)\n"
          "spritecolor(s, 256 + 255, -256 + 255, 255, 255)\n"  // channels taken modulo 256
          "drawsprite(s, 20, 0, 1, 1, 0, false, false)");
    Image img = ReadPixels();
    EXPECT_EQ(img.At(1, 1), kWhite);
    uint32_t tinted = img.At(11, 1);
    EXPECT_NEAR(static_cast<int>(tinted >> 24), 128, 2);
    EXPECT_EQ(tinted & 0x00FFFF00u, 0u);
    EXPECT_EQ(img.At(21, 1), kWhite);
}

TEST_F(SpriteTest, SpriteOfAnotherWindowDrawsNothing) {
    std::string path = WritePicture(dir, "w.bmp", 4, 4, [](int, int) { return kWhite; });
    LuaOk("a = openwindow('a', 0, 0, 20, 20)\n"
          "b = openwindow('b', 0, 0, 20, 20)\n"
          "setactivewindow(a)\n"
          "s = createsprite(loadimage(" + Q(path) + "))\n"
          "setactivewindow(b)");
    Clear();
    LuaOk("drawsprite(s, 0, 0, 1, 1, 0, false, false)\n"
          "drawspritepart(s, 0, 0, 0, 0, 4, 4, 1, 1, 0, false, false)\n"
          "assert(spritewidth(s) == 4)");
    EXPECT_EQ(Drawn(ReadPixels()).w, 0);
}

// Every kind of handle that is not a live sprite, through every function that
// takes a sprite: nothing drawn, sizes 0, frees harmless.
TEST_F(SpriteTest, DeadSpriteHandlesAreIgnoredEverywhere) {
    std::string path = WritePicture(dir, "w.bmp", 4, 4, [](int, int) { return kWhite; });
    LuaOk("other = openwindow('other', 0, 0, 20, 20)\n"
          "setactivewindow(other)\n"
          "closed = createsprite(loadimage(" + Q(path) + "))\n"
          "closewindow(other)");
    OpenActiveWindow(20, 20);
    LuaOk("img = loadimage(" + Q(path) + ")\n"
          "freed = createsprite(img)\n"
          "freesprite(freed)\n"
          "freedimg = loadimage(" + Q(path) + ")\n"
          "freeimage(freedimg)");
    const char* kinds[] = {"nil", "42", "'text'", "{}", "freed", "img", "freedimg", "closed"};
    for (const char* k : kinds) {
        SCOPED_TRACE(k);
        Clear();
        std::string h = k;
        LuaOk("assert(spritewidth(" + h + ") == 0 and spriteheight(" + h + ") == 0)\n"
              "spritecolor(" + h + ", 1, 2, 3, 4)\n"
              "drawsprite(" + h + ", 0, 0, 1, 1, 0, false, false)\n"
              "drawspritepart(" + h + ", 0, 0, 0, 0, 4, 4, 1, 1, 0, false, false)\n"
              "freesprite(" + h + ") freesprite(" + h + ")");
        EXPECT_EQ(Drawn(ReadPixels()).w, 0);
    }
    // The image survived being passed as a sprite.
    LuaOk("assert(spritewidth(createsprite(img)) == 4)");
}

TEST_F(SpriteTest, DeadImageHandlesAreIgnoredByFreeimageAndSeticon) {
    std::string path = WritePicture(dir, "icon.png", 16, 16, Quadrants);
    OpenActiveWindow(20, 20);
    LuaOk("img = loadimage(" + Q(path) + ")\n"
          "seticon(img)\n"
          "s = createsprite(img)\n"
          "freeimage(img)\n"  // the sprite does not depend on the image
          "assert(spritewidth(s) == 16)\n"
          "drawsprite(s, 0, 0, 1, 1, 0, false, false)");
    EXPECT_EQ(ReadPixels().At(0, 0), kRed);
    for (const char* k : {"nil", "7", "img", "s"}) {
        SCOPED_TRACE(k);
        LuaOk(std::string("seticon(") + k + ") freeimage(" + k + ") freeimage(" + k + ")");
    }
    // freeimage of a sprite handle left the sprite alone.
    LuaOk("assert(spritewidth(s) == 16)");
}

TEST_F(SpriteTest, SpritesAreForgottenWhenTheMediaLayerShutsDown) {
    std::string path = WritePicture(dir, "w.bmp", 4, 4, [](int, int) { return kWhite; });
    OpenActiveWindow(20, 20);
    LuaOk("s = createsprite(loadimage(" + Q(path) + "))\n"
          "closeapplication()\n"
          "assert(spritewidth(s) == 0 and spriteheight(s) == 0)\n"
          "spritecolor(s, 1, 2, 3, 4)\n"
          "drawsprite(s, 0, 0, 1, 1, 0, false, false)\n"
          "freesprite(s)");
}

TEST_F(SpriteTest, ExtremeDrawArgumentsDoNotCrash) {
    std::string path = WritePicture(dir, "w.bmp", 4, 4, [](int, int) { return kWhite; });
    OpenActiveWindow(20, 20);
    LuaOk("s = createsprite(loadimage(" + Q(path) + "))\n"
          "for _, v in ipairs({0, -1, -3.5, 1e9, -1e9, 1/0, -1/0, 0/0}) do\n"
          "  drawsprite(s, 0, 0, v, 1, 0, false, false)\n"
          "  drawsprite(s, 0, 0, 1, v, v, true, false)\n"
          "  drawsprite(s, 2147483647, -2147483647, 1, 1, v, false, true)\n"
          "  drawspritepart(s, 0, 0, -5, -5, 100, 100, v, 1, v, false, false)\n"
          "  drawspritepart(s, 0, 0, 2, 2, -4, 2147483647, 1, v, 0, false, false)\n"
          "end");
}

// The ways loading ends the process: box text on standard error, status 0.
using SpriteDeathTest = SpriteTest;

TEST_F(SpriteDeathTest, MissingFileShowsFileNotFoundAndExits) {
    EXPECT_EXIT(Lua("loadimage('no such.png')"), ::testing::ExitedWithCode(0),
                "File not found: Can't find image file: no such\\.png");
    OpenActiveWindow();
    EXPECT_EXIT(Lua("loadsprite('')"), ::testing::ExitedWithCode(0), "File not found: Can't find image file: \n");
}

TEST_F(SpriteDeathTest, UndecodableFileTakesTheLoadFailurePath) {
    dir.Write("bad.png", "not a picture");
    OpenActiveWindow();
    std::string bad = (dir / "bad.png").string();
    EXPECT_EXIT(Lua("loadimage(" + Q(bad) + ")"), ::testing::ExitedWithCode(0), "Error: SDL_LoadBMP Error: .+");
    EXPECT_EXIT(Lua("loadsprite(" + Q(bad) + ")"), ::testing::ExitedWithCode(0), "Error: SDL_LoadBMP Error: .+");
    // A directory exists but does not decode.
    EXPECT_EXIT(Lua("loadimage(" + Q(dir.path().string()) + ")"), ::testing::ExitedWithCode(0),
                "Error: SDL_LoadBMP Error: ");
}

TEST_F(SpriteDeathTest, LoadingWithoutActiveWindowFails) {
    std::string path = WritePicture(dir, "w.bmp", 4, 4, [](int, int) { return kWhite; });
    EXPECT_EXIT(Lua("loadsprite(" + Q(path) + ")"), ::testing::ExitedWithCode(0), "Error: SDL_LoadBMP Error: .+");
    EXPECT_EXIT(Lua("createsprite(loadimage(" + Q(path) + "))"), ::testing::ExitedWithCode(0),
                "Error: SDL_CreateTextureFromSurface Error: .+");
}

TEST_F(SpriteDeathTest, CreateSpriteOfADeadImageFailsWithSdlsMessage) {
    std::string path = WritePicture(dir, "w.bmp", 4, 4, [](int, int) { return kWhite; });
    OpenActiveWindow();
    LuaOk("img = loadimage(" + Q(path) + ") freed = loadimage(" + Q(path) + ") freeimage(freed)\n"
          "s = createsprite(img)");
    for (const char* k : {"nil", "5", "freed", "s"}) {
        SCOPED_TRACE(k);
        EXPECT_EXIT(Lua(std::string("createsprite(") + k + ")"), ::testing::ExitedWithCode(0),
                    "Error: SDL_CreateTextureFromSurface Error: .+");
    }
}

}  // namespace
}  // namespace vorlune::test
