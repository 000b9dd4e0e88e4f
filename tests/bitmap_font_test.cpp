// Bitmap fonts and tilesets: where a character's tile is found, what is
// drawn where, sizes and angles, dead handles, the font number check, and
// the bmpinput line editor driven by events pushed into the queue.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <SDL_image.h>
#include <gtest/gtest.h>

#include "graphics/inspect.hpp"
#include "graphics/bitmap_font.hpp"
#include "graphics/draw.hpp"
#include "graphics/frame.hpp"
#include "graphics/window.hpp"
#include "platform/active_window.hpp"
#include "support/engine_fixture.hpp"
#include "core/reset.hpp"

namespace vorlune::test {
namespace {

// The spelled-out scan: walk the whole fontface counting tile positions,
// every match recording its place, so the last one wins.
bool ScanFontface(const std::string& face, int32_t columns, uint8_t c, int32_t& column, int32_t& row) {
    bool found = false;
    int32_t col = 1, r = 1;
    for (char f : face) {
        if (static_cast<uint8_t>(f) == c) column = col, row = r, found = true;
        if (++col > columns) col = 1, ++r;
    }
    return found;
}

TEST(BitmapFontLocate, LastOccurrenceInReadingOrderForEveryColumnCount) {
    const std::vector<std::string> faces = {"", "A", "ABA", "ABCDEFGH", " A  B ", std::string("x\0y\n\xff", 5),
                                            "the quick brown fox jumps over the lazy dog"};
    for (const std::string& face : faces) {
        for (int32_t columns : {-7, -1, 0, 1, 2, 3, 4, 5, 9, 100}) {
            for (int code = 0; code < 256; ++code) {
                int32_t wantColumn = -1, wantRow = -1, column = -1, row = -1;
                bool want = ScanFontface(face, columns, uint8_t(code), wantColumn, wantRow);
                ASSERT_EQ(graphics::LocateTile(face, columns, uint8_t(code), column, row), want)
                    << face << " " << columns << " " << code;
                if (!want) continue;
                EXPECT_EQ(column, wantColumn) << face << " " << columns << " " << code;
                EXPECT_EQ(row, wantRow) << face << " " << columns << " " << code;
            }
        }
    }
    int32_t column = 0, row = 0;
    ASSERT_TRUE(graphics::LocateTile("ABCDEFGH", 4, 'F', column, row));
    EXPECT_EQ(column, 2);
    EXPECT_EQ(row, 2);
}

// Tiles of TW x TH pixels, solid colours with a white top-left pixel that
// shows rotation.
constexpr int TW = 8, TH = 6;
constexpr uint32_t kMarker = 0xFFFFFFFF, kGrey = 0x404040FF;
constexpr uint32_t kTileColours[8] = {0xFF0000FF, 0x00FF00FF, 0x0000FFFF, 0xFFFF00FF,
                                      0x00FFFFFF, 0xFF00FFFF, 0x808000FF, 0x008080FF};

class BitmapFontTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        Reset();
    }
    void TearDown() override {
        Reset();
        EngineTest::TearDown();
    }
    static void Reset() {
        core::ResetEngine();
    }

    // Writes a sheet of columns x rows tiles (tile k in reading order has
    // kTileColours[k % 8]) and returns its path as a Lua string literal.
    std::string Sheet(const std::string& name, int columns, int rows, int tw = TW, int th = TH) {
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, columns * tw, rows * th, 32, SDL_PIXELFORMAT_RGBA8888);
        for (int y = 0; y < rows * th; ++y)
            for (int x = 0; x < columns * tw; ++x) {
                bool corner = x % tw == 0 && y % th == 0;
                static_cast<uint32_t*>(s->pixels)[y * (s->pitch / 4) + x] =
                    corner ? kMarker : kTileColours[((y / th) * columns + x / tw) % 8];
            }
        std::string path = (dir / name).string();
        EXPECT_EQ(IMG_SavePNG(s, path.c_str()), 0) << SDL_GetError();
        SDL_FreeSurface(s);
        return "'" + path + "'";
    }

    // A window with `sheet` loaded as a sprite of 4 x 2 tiles.
    void WindowWithSheet(int w = 80, int h = 40) {
        OpenActiveWindow(w, h);
        LuaOk("sheet = loadsprite(" + Sheet("sheet.png", 4, 2) + ")");
    }

    void Clear() { LuaOk("backcolor(64, 64, 64, 255) cls()"); }

    struct Tile {
        int x, y, index, sx = 1, sy = 1;
        bool turned = false;  // rotated by 180 degrees
    };

    // The picture expected after drawing these tiles on a grey window.
    static Image Expected(int w, int h, const std::vector<Tile>& tiles) {
        Image image{w, h, std::vector<uint32_t>(static_cast<std::size_t>(w) * h, kGrey)};
        for (const Tile& t : tiles) {
            int dw = TW * t.sx, dh = TH * t.sy;
            for (int dy = 0; dy < dh; ++dy)
                for (int dx = 0; dx < dw; ++dx) {
                    int px = t.turned ? dw - 1 - dx : dx, py = t.turned ? dh - 1 - dy : dy;
                    bool corner = px / t.sx == 0 && py / t.sy == 0;
                    int x = t.x + dx, y = t.y + dy;
                    if (x >= 0 && y >= 0 && x < w && y < h)
                        image.pixels[static_cast<std::size_t>(y) * w + x] = corner ? kMarker : kTileColours[t.index];
                }
        }
        return image;
    }

    static void ExpectSame(const Image& actual, const Image& expected, const std::string& what) {
        ASSERT_EQ(actual.pixels.size(), expected.pixels.size()) << what;
        for (int y = 0; y < actual.height; ++y)
            for (int x = 0; x < actual.width; ++x)
                if (actual.At(x, y) != expected.At(x, y)) {
                    ADD_FAILURE() << what << ": first difference at (" << x << "," << y << "): " << std::hex
                                  << actual.At(x, y) << " instead of " << expected.At(x, y);
                    return;
                }
    }

    static void Push(const SDL_Event& event) {
        SDL_Event copy = event;
        ASSERT_EQ(SDL_PushEvent(&copy), 1);
    }
    static void PushText(const char* text) {
        SDL_StartTextInput();  // a finished line editor turned text events off
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        std::strncpy(event.text.text, text, sizeof event.text.text - 1);
        Push(event);
    }
    static void PushKey(SDL_Scancode code) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.keysym.scancode = code;
        Push(event);
    }

    TempDir dir;
};

TEST_F(BitmapFontTest, NumbersCountFromZeroAndColumnsRoundHalvesToEven) {
    OpenActiveWindow(40, 20);
    struct Case {
        int imageWidth, tileWidth, columns;
    };
    int expectedNumber = 0;
    for (const Case& c : {Case{100, 40, 2}, Case{60, 40, 2}, Case{110, 40, 3}, Case{140, 40, 4}, Case{100, -40, -2},
                          Case{32, 8, 4}, Case{7, 8, 1}, Case{3, 8, 0}}) {
        std::string name = "w" + std::to_string(c.imageWidth) + ".png";
        LuaOk("s = loadsprite(" + Sheet(name, 1, 1, c.imageWidth, 2) + ")");
        EXPECT_EQ(Eval("createbmpfont(s, " + std::to_string(c.tileWidth) + ", 2, 'AB')"),
                  std::to_string(expectedNumber));
        EXPECT_EQ(graphics::BmpFontColumns(expectedNumber), c.columns) << c.imageWidth << "/" << c.tileWidth;
        ++expectedNumber;
    }
    EXPECT_EQ(Eval("tileset(s, 1, 1, '')"), std::to_string(expectedNumber));
    // A handle that is no sprite has width 0: no columns.
    LuaOk("img = loadimage(" + Sheet("image.png", 4, 2) + ")");
    EXPECT_EQ(Eval("tileset(img, 8, 6, 'ABCDEFGH')"), std::to_string(expectedNumber + 1));
    EXPECT_EQ(graphics::BmpFontColumns(expectedNumber + 1), 0);
}

TEST_F(BitmapFontTest, EachByteDrawsTheTileOfItsLastOccurrenceOneCellFurtherRight) {
    WindowWithSheet();
    LuaOk("f = createbmpfont(sheet, 8, 6, 'ABCDEFGH') g = tileset(sheet, 8, 6, 'ABA')");
    struct Case {
        std::string code;
        std::vector<Tile> tiles;
    };
    const std::vector<Case> cases = {
        {"bmptext('F', 10, 20, f)", {{10, 20, 5}}},  // column 2, row 2
        {"drawtile('HGFEDCBA', 0, 0, f)",
         {{0, 0, 7}, {8, 0, 6}, {16, 0, 5}, {24, 0, 4}, {32, 0, 3}, {40, 0, 2}, {48, 0, 1}, {56, 0, 0}}},
        {"bmptext('AAB', 3, 30, g)", {{3, 30, 2}, {11, 30, 2}, {19, 30, 1}}},  // A from the third tile
        {"bmptext('AzB', -4, -2, f)", {{-4, -2, 0}, {12, -2, 1}}},            // z is not in the fontface
        {"bmptext('', 5, 5, f) drawtile('xyz', 5, 5, f)", {}},
        {"bmptext(12, 0, 0, tileset(sheet, 8, 6, '0123456'))", {{0, 0, 1}, {8, 0, 2}}},  // a number is its text
        {"bmptext('\\n\\1', 0, 0, tileset(sheet, 8, 6, 'a\\1\\nb'))", {{0, 0, 2}, {8, 0, 1}}},  // control bytes too
    };
    for (const Case& c : cases) {
        Clear();
        LuaOk(c.code);
        ExpectSame(ReadPixels(), Expected(80, 40, c.tiles), c.code);
    }
}

TEST_F(BitmapFontTest, SpacesOnlyAdvanceUnlessTheFontfaceIsAllSpaces) {
    WindowWithSheet();
    struct Case {
        std::string face, text;
        std::vector<Tile> tiles;
    };
    const std::vector<Case> cases = {
        {"ABCDEFGH", "A B", {{0, 0, 0}, {16, 0, 1}}},
        {"AB CDEFG", "A C", {{0, 0, 0}, {16, 0, 3}}},  // the space tile is never drawn
        {"AB CDEFG", "   ", {}},
        {"    ", "  ", {{0, 0, 3}, {8, 0, 3}}},           // nothing but spaces: drawn from the last
        {"", "A B", {}},
    };
    for (const Case& c : cases) {
        Clear();
        LuaOk("bmptext('" + c.text + "', 0, 0, createbmpfont(sheet, 8, 6, '" + c.face + "'))");
        ExpectSame(ReadPixels(), Expected(80, 40, c.tiles), c.face + " / " + c.text);
    }
}

TEST_F(BitmapFontTest, SizeFactorsScaleCellsAndAnglesTurnEachTileAboutItsCentre) {
    WindowWithSheet();
    LuaOk("f = createbmpfont(sheet, 8, 6, 'ABCDEFGH') g = createbmpfont(sheet, 8, 6, 'ABCDEFGH')");
    EXPECT_EQ(Eval("bmpfontwidth(f) .. ' ' .. bmpfontheight(f)"), "8 6");
    LuaOk("bmpfontsize(f, 2, 3)");
    EXPECT_EQ(Eval("bmpfontwidth(f) .. ' ' .. bmpfontheight(f)"), "16 18");
    EXPECT_EQ(Eval("bmpfontwidth(g) .. ' ' .. bmpfontheight(g)"), "8 6");  // per font
    Clear();
    LuaOk("bmptext('A B', 1, 2, f) bmptext('CD', 0, 30, g)");
    ExpectSame(ReadPixels(), Expected(80, 40, {{1, 2, 0, 2, 3}, {33, 2, 1, 2, 3}, {0, 30, 2}, {8, 30, 3}}),
               "scaled");
    LuaOk("bmpfontangle(f, 180) bmpfontsize(f, 1, 1) bmpfontangle(g, 0.0)");
    Clear();
    LuaOk("bmptext('EF', 4, 4, f) bmptext('G', 4, 20, g)");
    Tile e{4, 4, 4}, ff{12, 4, 5}, gg{4, 20, 6};
    e.turned = ff.turned = true;
    ExpectSame(ReadPixels(), Expected(80, 40, {e, ff, gg}), "turned");
    // Cell sizes wrap around in 32 bits; negative factors pass unchanged.
    LuaOk("bmpfontsize(f, 1073741824, -2)");
    EXPECT_EQ(Eval("bmpfontwidth(f) .. ' ' .. bmpfontheight(f)"), "0 -12");
    LuaOk("bmpfontsize(f, 1, 1) bmptext('ABCDEFGH', 2147483640, 0, f)");  // the pen wraps around
}

TEST_F(BitmapFontTest, FreedSpritesImagesAndNullHandlesDrawNothing) {
    WindowWithSheet();
    LuaOk("img = loadimage(" + Sheet("image.png", 4, 2) + ")");
    LuaOk("f = createbmpfont(sheet, 8, 6, 'ABCDEFGH') i = tileset(img, 8, 6, 'ABCDEFGH')"
          " n = createbmpfont(nil, 8, 6, 'AB')");
    Clear();
    LuaOk("freesprite(sheet) bmptext('ABC', 0, 0, f) drawtile('ABCDEFGH', 0, 10, i) bmptext('AB', 0, 20, n)");
    ExpectSame(ReadPixels(), Expected(80, 40, {}), "dead handles");
}

TEST_F(BitmapFontTest, UsageMessages) {
    struct Case {
        const char* call;
        const char* usage;
    };
    for (const Case& c : {
             Case{"createbmpfont(nil, 8, 8)", "Usage: createbmpfont (sprite,tilewidth,tileheight,fontface)"},
             Case{"tileset(nil, 8, 8, 'a', 1)", "Usage: tileset (image,tilewidth,tileheight,fontface)"},
             Case{"bmptext('a', 1, 2)", "Usage: bmptext (textstr,x,y,fontnumber)"},
             Case{"drawtile('a', 1, 2)", "Usage: drawtile (textstr,x,y,tileset)"},
             Case{"bmpinputcolor(0, 1, 2, 3)", "Usage: bmpinputcolor (fontnumber,r,g,b,alpha)"},
             Case{"bmpinputbackcolor(0, 1, 2, 3)", "Usage: bmpinputbackcolor (fontnumber,r,g,b,alpha)"},
             Case{"bmpfontsize(0, 1)", "Usage: bmpfontsize (fontnumber,width,height)"},
             Case{"bmpfontangle(0)", "Usage: bmpfontangle (fontnumber,angle)"},
             Case{"bmpinput(0, 0, 5)", "Usage: bmpinput (x,y,maxlen,fontnumber)"},
             Case{"bmpfontwidth()", "Usage: bmpfontwidth (fontnumber)"},
             Case{"bmpfontheight(0, 1)", "Usage: bmpfontheight (fontnumber)"},
         }) {
        EXPECT_EQ(Lua(c.call), std::string("test:1: ") + c.usage);
    }
}

TEST_F(BitmapFontTest, FontNumbersOutsideTheTableEndTheRunWithTheNoFontBox) {
    LuaOk("createbmpfont(nil, 8, 8, 'A') createbmpfont(nil, 8, 8, 'B')");
    for (const char* number : {"-1", "2"}) {
        for (std::string call : {"bmptext('A', 0, 0, #)", "drawtile('A', 0, 0, #)", "bmpinputcolor(#, 1, 2, 3, 4)",
                                 "bmpinputbackcolor(#, 1, 2, 3, 4)", "bmpfontsize(#, 2, 2)", "bmpfontangle(#, 90)",
                                 "bmpinput(0, 0, 5, #)", "bmpfontwidth(#)", "bmpfontheight(#)"}) {
            call.replace(call.find('#'), 1, number);
            EXPECT_EXIT(Lua(call), ::testing::ExitedWithCode(0), "No font: Font not loaded!") << call;
        }
    }
    for (const char* call : {"bmptext('A', 0, 0, 5)", "bmptext('A', 0, 0, -2147483648)"})
        EXPECT_EXIT(Lua(call), ::testing::ExitedWithCode(0), "No font: Font not loaded!") << call;
    EXPECT_EQ(Eval("bmpfontwidth(1)"), "8");
}

TEST(BitmapFontScript, TileSizeZeroIsAnUnhandledDivisionByZero) {
    for (const char* sizes : {"0, 8", "8, 0"}) {
        TempDir dir;
        RunResult result = RunScript(dir, std::string("print('before')\ncreatebmpfont(nil, ") + sizes +
                                              ", 'A')\nprint('after')\n");
        EXPECT_EQ(result.status, 217) << sizes;
        EXPECT_NE(result.out.find("before"), std::string::npos) << result.out;
        EXPECT_NE(result.out.find("Division by zero"), std::string::npos) << result.out;
        EXPECT_EQ(result.out.find("after"), std::string::npos) << result.out;
    }
}

TEST_F(BitmapFontTest, BmpinputEditsTheLineAndLeavesItDrawnInTheBackColour) {
    WindowWithSheet();
    LuaOk("f = createbmpfont(sheet, 8, 6, 'ABCDEFGH') bmpinputbackcolor(f, 0, 0, 90, 255)"
          " bmpinputcolor(f, 250, 200, 0, 255)");
    for (const char* text : {"AB", "C", "DEF"}) PushText(text);
    PushKey(SDL_SCANCODE_RETURN);
    PushText("lost");  // after the end: not read
    Clear();
    EXPECT_EQ(Eval("bmpinput(10, 20, 5, f)"), "ABCDE");
    EXPECT_FALSE(SDL_IsTextInputActive());
    Image expected = Expected(80, 40, {{10, 20, 0}, {18, 20, 1}, {26, 20, 2}, {34, 20, 3}, {42, 20, 4}});
    for (int y = 20; y < 26; ++y)
        for (int x = 50; x < 58; ++x) expected.pixels[y * 80 + x] = 0x00005AFF;  // the cursor, cleared
    ExpectSame(ReadPixels(), expected, "final line");
    Uint8 r, g, b, a;
    SDL_GetRenderDrawColor(platform::ActiveRenderer(), &r, &g, &b, &a);
    EXPECT_EQ(std::vector<int>({r, g, b, a}), std::vector<int>({0, 0, 90, 255}));
    // Colours are stored as given and reach the renderer in 8 bits.
    LuaOk("bmpinputbackcolor(f, 256, 257, -1, 511)");
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    PushKey(SDL_SCANCODE_KP_ENTER);
    EXPECT_EQ(Eval("bmpinput(0, 0, 5, f)"), "");
    SDL_GetRenderDrawColor(platform::ActiveRenderer(), &r, &g, &b, &a);
    EXPECT_EQ(std::vector<int>({r, g, b, a}), std::vector<int>({0, 1, 255, 255}));
}

TEST_F(BitmapFontTest, BmpinputPresentsEveryStepWithACursorOfOneCell) {
    // Frames presented on the dummy driver are saved in the working
    // directory while SDL_VIDEO_DUMMY_SAVE_FRAMES is set.
    WindowWithSheet(80, 30);
    LuaOk("f = createbmpfont(sheet, 8, 6, 'ABCDEFGH') bmpfontsize(f, 2, 1) bmpinputbackcolor(f, 0, 0, 90, 255)"
          " bmpinputcolor(f, 250, 200, 0, 255)");
    Clear();
    PushText("A");
    PushText("B");
    PushKey(SDL_SCANCODE_BACKSPACE);
    PushKey(SDL_SCANCODE_ESCAPE);
    TempDir frames;
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(frames.path());
    setenv("SDL_VIDEO_DUMMY_SAVE_FRAMES", "1", 1);
    std::string line = graphics::BmpInput(4, 10, 5, 0);
    unsetenv("SDL_VIDEO_DUMMY_SAVE_FRAMES");
    std::filesystem::current_path(here);
    EXPECT_EQ(line, "A");
    std::vector<std::filesystem::path> saved = SavedFrames(frames.path());
    // First cursor; A: before and after; B: before and after; Backspace:
    // before and after; the end.
    ASSERT_EQ(saved.size(), 8u);
    const uint32_t ink = 0xFAC800FF, paper = 0x00005AFF;
    auto with = [](Image image, int x, int w, uint32_t colour) {
        for (int y = 10; y < 16; ++y)
            for (int i = x; i < x + w; ++i) image.pixels[y * 80 + i] = colour;
        return image;
    };
    ExpectSame(LoadBmp(saved[0]), with(Expected(80, 30, {}), 4, 16, ink), "first cursor");
    ExpectSame(LoadBmp(saved[2]), with(Expected(80, 30, {{4, 10, 0, 2, 1}}), 20, 16, ink), "A");
    ExpectSame(LoadBmp(saved[4]), with(Expected(80, 30, {{4, 10, 0, 2, 1}, {20, 10, 1, 2, 1}}), 36, 16, ink), "AB");
    // Backspace clears W(line) + 2 cells.
    ExpectSame(LoadBmp(saved[6]), with(with(Expected(80, 30, {{4, 10, 0, 2, 1}}), 36, 16, paper), 20, 16, ink),
               "A again");
    // The end clears W(line) + 1 cell and presents the line.
    Image last = with(Expected(80, 30, {{4, 10, 0, 2, 1}}), 20, 32, paper);
    ExpectSame(LoadBmp(saved[7]), last, "presented end");
    ExpectSame(ReadPixels(), last, "end");
}

TEST_F(BitmapFontTest, QuitRequestDuringBmpinputExitsWithZero) {
    OpenActiveWindow(40, 20);
    LuaOk("createbmpfont(nil, 8, 8, 'A')");
    EXPECT_EXIT(
        {
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
            graphics::BmpInput(0, 0, 5, 0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace vorlune::test
