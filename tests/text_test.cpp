// Built-in text: the glyph table, text drawing and sizes, and the `input`
// line editor driven by events pushed into the queue.
#include <sys/resource.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/draw.hpp"
#include "graphics/frame.hpp"
#include "graphics/text.hpp"
#include "graphics/window.hpp"
#include "platform/active_window.hpp"
#include "support/engine_fixture.hpp"
#include "core/reset.hpp"

namespace vorlune::test {
namespace {

// A glyph's rows as bytes, leftmost pixel in the most significant bit.
std::vector<int> Rows(uint8_t code) {
    std::vector<int> rows;
    const graphics::TBitMapChar& glyph = graphics::BuiltinGlyph(code);
    for (int r = 0; r < 8; ++r) {
        int bits = 0;
        for (int c = 0; c < 8; ++c) bits = bits << 1 | glyph.pixel[r][c];
        rows.push_back(bits);
    }
    return rows;
}

int SetPixels(uint8_t code) {
    int n = 0;
    for (int row : Rows(code)) n += __builtin_popcount(static_cast<unsigned>(row));
    return n;
}

TEST(TextFont, DocumentedGlyphsRowByRow) {
    struct Case {
        uint8_t code;
        std::vector<int> rows;
    };
    for (const Case& c : {
             Case{1, {0x7E, 0x81, 0xA5, 0x81, 0xBD, 0x99, 0x81, 0x7E}},
             Case{3, {0x6C, 0xFE, 0xFE, 0xFE, 0x7C, 0x38, 0x10, 0x00}},
             Case{33, {0x30, 0x78, 0x78, 0x78, 0x30, 0x00, 0x30, 0x00}},
             Case{48, {0x7C, 0xC6, 0xC6, 0xC6, 0xC6, 0xC6, 0x7C, 0x00}},
             Case{63, {0x78, 0xCC, 0x0C, 0x18, 0x30, 0x00, 0x30, 0x00}},
             Case{65, {0x38, 0x6C, 0xC6, 0xC6, 0xFE, 0xC6, 0xC6, 0x00}},
             Case{97, {0x00, 0x00, 0x7C, 0x06, 0x7E, 0xC6, 0x7E, 0x00}},
             Case{127, {0x00, 0x10, 0x38, 0x6C, 0xC6, 0xC6, 0xFE, 0x00}},
             Case{176, {0x22, 0x88, 0x22, 0x88, 0x22, 0x88, 0x22, 0x88}},
             Case{200, {0x36, 0x36, 0x37, 0x30, 0x3F, 0x00, 0x00, 0x00}},
             Case{219, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
             Case{254, {0x00, 0x00, 0x3C, 0x3C, 0x3C, 0x3C, 0x00, 0x00}},
         }) {
        EXPECT_EQ(Rows(c.code), c.rows) << "glyph " << int(c.code);
    }
    EXPECT_EQ(SetPixels('A'), 30);
}

TEST(TextFont, OnlyZeroSpaceAnd255AreBlankAndBytesAreZeroOrOne) {
    std::set<std::vector<int>> shapes;
    for (int code = 0; code < 256; ++code) {
        const graphics::TBitMapChar& glyph = graphics::BuiltinGlyph(uint8_t(code));
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c) ASSERT_LE(glyph.pixel[r][c], 1) << code;
        bool blank = code == 0 || code == 32 || code == 255;
        EXPECT_EQ(SetPixels(uint8_t(code)) == 0, blank) << code;
        if (!blank) shapes.insert(Rows(uint8_t(code)));
    }
    EXPECT_EQ(shapes.size(), 253u);  // no two glyphs alike
}

TEST(TextFont, PrintableAsciiLeavesColumn7AndRow7Clear) {
    // One blank pixel between characters and lines, except where a glyph
    // reaches over: '*', 'Y', '\' and '_' to the right, descenders below.
    const std::string column7 = "*Y\\_", row7 = ",;Q_gjpqy";
    for (int code = 33; code < 127; ++code) {
        std::vector<int> rows = Rows(uint8_t(code));
        bool usesColumn7 = false;
        for (int row : rows) usesColumn7 |= (row & 1) != 0;
        bool usesRow7 = rows[7] != 0;
        EXPECT_EQ(usesColumn7, column7.find(char(code)) != std::string::npos) << char(code);
        EXPECT_EQ(usesRow7, row7.find(char(code)) != std::string::npos) << char(code);
    }
}

TEST(TextFont, BoxDrawingGlyphsJoinTheirNeighbours) {
    // ─ and ═ run across all 8 columns, │ and ║ down all 8 rows; ╚ (200)
    // continues ║ above it and ═ to its right.
    auto rows = [](int code) { return Rows(uint8_t(code)); };
    EXPECT_EQ(rows(196)[4], 0xFF);
    EXPECT_EQ(rows(205)[2] & rows(205)[4], 0xFF);
    for (int r = 0; r < 8; ++r) EXPECT_EQ(rows(179)[r], 0x18);
    for (int r = 0; r < 8; ++r) EXPECT_EQ(rows(186)[r], 0x36);
    EXPECT_EQ(rows(200)[0], rows(186)[7]);
    for (int code : {201, 203, 204, 206}) EXPECT_EQ(rows(code)[7], 0x36) << code;  // joins ║ below
    for (int code : {187, 188, 185, 202, 206}) EXPECT_EQ(rows(code)[2] & 0x80, 0x80) << code;  // joins ═ to the left
}

class TextTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        core::ResetEngine();
    }
    void TearDown() override {
        core::ResetEngine();
        EngineTest::TearDown();
    }

    // Lit pixels of the window relative to (x, y), as rows of bits of the
    // given width.
    std::vector<int> Block(const Image& image, int x, int y, int w, int h, uint32_t colour) {
        std::vector<int> rows;
        for (int r = 0; r < h; ++r) {
            int bits = 0;
            for (int c = 0; c < w; ++c) bits = bits << 1 | (image.At(x + c, y + r) == colour);
            rows.push_back(bits);
        }
        return rows;
    }

    static int LitCount(const Image& image, uint32_t background) {
        int n = 0;
        for (uint32_t p : image.pixels) n += p != background;
        return n;
    }

    static void Push(const SDL_Event& event) {
        SDL_Event copy = event;
        ASSERT_EQ(SDL_PushEvent(&copy), 1);
    }
    static void PushText(const char* text) {
        SDL_StartTextInput();  // a finished `input` turned text events off
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
};

TEST_F(TextTest, SizesAndWidths) {
    EXPECT_EQ(Eval("textwidth('')"), "0");
    EXPECT_EQ(Eval("textheight()"), "8");
    LuaOk("textsize(2)");
    EXPECT_EQ(Eval("textwidth('abc')"), "48");
    EXPECT_EQ(Eval("textwidth(12.5)"), "64");  // a number counts as its text "12.5"
    LuaOk("textsize(3)");
    EXPECT_EQ(Eval("textheight()"), "24");
    LuaOk("textsize(-2)");
    EXPECT_EQ(Eval("textwidth('ab')"), "-32");
    LuaOk("textsize(1073741824)");  // 8 * size wraps around in 32 bits
    EXPECT_EQ(Eval("textheight()"), "0");
    EXPECT_EQ(Lua("textsize()"), "test:1: Usage: textsize (size)");
    EXPECT_EQ(Lua("textwidth('a', 'b')"), "test:1: Usage: textwidth (textstring)");
    EXPECT_EQ(Lua("textinputcolor(1, 2, 3)"), "test:1: Usage: textinputcolor (red,green,blue,alpha)");
    EXPECT_EQ(Lua("textinputbackcolor(1, 2, 3)"), "test:1: Usage: textinputbackcolor (red,green,blue,alpha)");
    EXPECT_EQ(Lua("drawtext('a', 1)"), "test:1: Usage: drawtext (text,x,y)");
    EXPECT_EQ(Lua("input(1, 2)"), "test:1: Usage: input (x,y,maxlength)");
}

TEST_F(TextTest, DrawtextDrawsEachSetPixelOnceInTheDrawColour) {
    OpenActiveWindow(80, 60);
    const uint32_t white = Rgba(255, 255, 255);
    LuaOk("cls() color(255, 255, 255, 255) drawtext(string.char(1), 10, 20)");
    Image image = ReadPixels();
    EXPECT_EQ(Block(image, 10, 20, 8, 8, white), Rows(1));
    EXPECT_EQ(LitCount(image, Rgba(0, 0, 0)), SetPixels(1));
    // 'A' with a translucent colour: 30 squares, none drawn twice.
    LuaOk("cls() color(255, 255, 255, 128) drawtext('A', 0, 0) dot(20, 20)");
    image = ReadPixels();
    EXPECT_EQ(Block(image, 0, 0, 8, 8, image.At(20, 20)), Rows('A'));
    EXPECT_EQ(LitCount(image, Rgba(0, 0, 0)), 31);
}

TEST_F(TextTest, DrawtextScalesAndPlacesGlyphsSideBySide) {
    OpenActiveWindow(80, 60);
    const uint32_t white = Rgba(255, 255, 255);
    LuaOk("cls() color(255, 255, 255, 255) textsize(2) drawtext('A!', 4, 6)");
    Image image = ReadPixels();
    for (int glyph = 0; glyph < 2; ++glyph) {
        std::vector<int> expected = Rows(glyph == 0 ? 'A' : '!');
        for (int r = 0; r < 16; ++r)
            for (int c = 0; c < 16; ++c)
                EXPECT_EQ(image.At(4 + 16 * glyph + c, 6 + r) == white, ((expected[r / 2] >> (7 - c / 2)) & 1) != 0)
                    << glyph << ":" << r << "," << c;
    }
    // A two-byte UTF-8 character is two code page 437 glyphs; control bytes
    // are glyphs too; a number is drawn as its text.
    LuaOk("textsize(1) cls() color(255, 255, 255, 255) drawtext('\\195\\169', 0, 0) drawtext('\\n', 20, 0)"
          " drawtext(42, 0, 10)");
    image = ReadPixels();
    EXPECT_EQ(Block(image, 0, 0, 8, 8, white), Rows(195));
    EXPECT_EQ(Block(image, 8, 0, 8, 8, white), Rows(169));
    EXPECT_EQ(Block(image, 20, 0, 8, 8, white), Rows(10));
    EXPECT_EQ(Block(image, 0, 10, 8, 8, white), Rows('4'));
    EXPECT_EQ(Block(image, 8, 10, 8, 8, white), Rows('2'));
}

TEST_F(TextTest, SizeZeroDrawsNothingAndNegativeSizesPassUnchanged) {
    OpenActiveWindow(80, 60);
    LuaOk("cls() color(255, 255, 255, 255) textsize(0) drawtext('HELLO', 10, 10)");
    EXPECT_EQ(LitCount(ReadPixels(), Rgba(0, 0, 0)), 0);
    LuaOk("cls() color(255, 255, 255, 255) textsize(-2) drawtext('A', 40, 30)");
    Image scripted = ReadPixels();
    LuaOk("cls() color(255, 255, 255, 255)");
    SDL_Renderer* renderer = platform::ActiveRenderer();
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            if (graphics::BuiltinGlyph('A').pixel[r][c]) {
                SDL_Rect square{40 - 2 * c, 30 - 2 * r, -2, -2};
                SDL_RenderFillRect(renderer, &square);
            }
    EXPECT_EQ(scripted.pixels, ReadPixels().pixels);
}

// Sizes whose squares wrap around in 32 bits go square by square: the lit
// pixels are the window's part of every square at its wrapped position (a
// negative size fills one pixel), however few of them land in view.
TEST_F(TextTest, WrappingSizesLightEveryVisibleSquare) {
    OpenActiveWindow(64, 48);
    struct Case {
        int32_t size, x, y;
        std::string text;
    };
    const Case cases[] = {
        {536870913, 5, 7, std::string(9, char(0xDB))},  // 8 * size wraps to 8: glyphs 8 apart, columns far apart
        {-1073741823, 20, 20, std::string(300, 'M')},  // one-pixel squares scattered over 2^32
        {-2, 40, 30, "Hi"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        LuaOk("cls() color(255, 255, 255, 255) textsize(" + std::to_string(c.size) + ")");
        graphics::DrawText(c.text, c.x, c.y);
        std::vector<uint8_t> expected(64 * 48, 0);
        // The renderer takes positions and sizes as floats.
        auto fill = [&](float fx, float fy, float fw, float fh) {
            const auto x0 = int64_t(fx), y0 = int64_t(fy), w = int64_t(fw), h = int64_t(fh);
            for (int64_t y = std::max<int64_t>(y0, 0); y < std::min<int64_t>(y0 + h, 48); ++y)
                for (int64_t x = std::max<int64_t>(x0, 0); x < std::min<int64_t>(x0 + w, 64); ++x) expected[y * 64 + x] = 1;
        };
        const auto step = static_cast<uint32_t>(c.size);
        for (std::size_t i = 0; i < c.text.size(); ++i)
            for (uint32_t r = 0; r < 8; ++r)
                for (uint32_t col = 0; col < 8; ++col) {
                    if (!graphics::BuiltinGlyph(uint8_t(c.text[i])).pixel[r][col]) continue;
                    auto x = static_cast<int32_t>(uint32_t(c.x) + 8u * step * uint32_t(i) + col * step);
                    auto y = static_cast<int32_t>(uint32_t(c.y) + r * step);
                    fill(x, y, c.size > 0 ? c.size : 1, c.size > 0 ? c.size : 1);
                }
        Image image = ReadPixels();
        std::vector<uint8_t> lit(64 * 48, 0);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) lit[y * 64 + x] = image.At(x, y) != Rgba(0, 0, 0);
        EXPECT_EQ(lit, expected);
        EXPECT_GT(std::count(lit.begin(), lit.end(), 1), 0);
    }
}

TEST_F(TextTest, BatchedSquaresGiveThePixelsOfOneCallPerSquare) {
    // drawtext hands a text's squares to the renderer in batches; the result
    // must equal one fill call per set pixel, in order, also when translucent
    // texts overlap and when a logical size scales the drawing.
    OpenActiveWindow(320, 240);
    SDL_Renderer* renderer = platform::ActiveRenderer();
    std::string all;
    for (int code = 0; code < 256; ++code) all += char(code);
    auto direct = [&](const std::string& text, int x, int y, int size) {
        for (std::size_t i = 0; i < text.size(); ++i)
            for (int r = 0; r < 8; ++r)
                for (int c = 0; c < 8; ++c)
                    if (graphics::BuiltinGlyph(uint8_t(text[i])).pixel[r][c]) {
                        SDL_Rect square{x + 8 * size * int(i) + c * size, y + r * size, size, size};
                        SDL_RenderFillRect(renderer, &square);
                    }
    };
    for (const char* logical : {"", "setvirtualsize(160, 120)"}) {
        LuaOk(logical);
        for (int alpha : {255, 90}) {
            for (int size : {1, 2, 3}) {
                SCOPED_TRACE(std::string(logical) + " alpha " + std::to_string(alpha) + " size " + std::to_string(size));
                std::string colour = "color(250, 240, 10, " + std::to_string(alpha) + ")";
                LuaOk("cls() textsize(" + std::to_string(size) + ") " + colour);
                for (int line = 0; line < 8; ++line) {
                    graphics::DrawText(all.substr(32 * line, 32), -3, line * 9 * size - 2);
                    graphics::DrawText(all.substr(32 * line + 5, 20), 4 * size, line * 9 * size + 3 * size);
                }
                Image batched = ReadPixels();
                LuaOk("cls() " + colour);
                for (int line = 0; line < 8; ++line) {
                    direct(all.substr(32 * line, 32), -3, line * 9 * size - 2, size);
                    direct(all.substr(32 * line + 5, 20), 4 * size, line * 9 * size + 3 * size, size);
                }
                EXPECT_EQ(batched.pixels, ReadPixels().pixels);
            }
        }
    }
}

TEST_F(TextTest, InputCutsAtMaxlength) {
    OpenActiveWindow(80, 60);
    for (const char* letter : {"a", "b", "c", "d"}) PushText(letter);
    PushKey(SDL_SCANCODE_RETURN);
    EXPECT_EQ(Eval("input(0, 0, 3)"), "abc");
    // A text event of several bytes is cut as well.
    PushText("xyz12");
    PushKey(SDL_SCANCODE_KP_ENTER);
    EXPECT_EQ(Eval("input(0, 0, 4)"), "xyz1");
    // With maxlength 0 or less every byte disappears again.
    PushText("q");
    PushKey(SDL_SCANCODE_RETURN);
    EXPECT_EQ(Eval("input(0, 0, -1)"), "");
}

TEST_F(TextTest, InputBackspaceAndTheKeysThatEndTheLine) {
    OpenActiveWindow(80, 60);
    PushKey(SDL_SCANCODE_BACKSPACE);  // on an empty line: stays empty
    PushText("h");
    PushText("ix");
    PushKey(SDL_SCANCODE_BACKSPACE);
    PushKey(SDL_SCANCODE_A);  // other keys do nothing here
    PushKey(SDL_SCANCODE_ESCAPE);  // ends the line like Return
    PushText("lost");  // after the end: not read
    EXPECT_EQ(Eval("input(5, 5, 10)"), "hi");
    EXPECT_FALSE(SDL_IsTextInputActive());
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    PushKey(SDL_SCANCODE_RETURN);
    EXPECT_EQ(Eval("input(5, 5, 10)"), "");
}

TEST_F(TextTest, InputCompositionBecomesTheLine) {
    OpenActiveWindow(80, 60);
    PushText("zz");
    SDL_Event editing{};
    editing.type = SDL_TEXTEDITING;
    std::strcpy(editing.edit.text, "ka");
    Push(editing);
    PushText("X");
    PushKey(SDL_SCANCODE_RETURN);
    EXPECT_EQ(Eval("input(0, 0, 10)"), "kaX");
}

TEST_F(TextTest, InputLeavesTheLineDrawnAndTheInputColour) {
    OpenActiveWindow(80, 60);
    const uint32_t ink = Rgba(250, 200, 0), paper = Rgba(0, 0, 90);
    LuaOk("backcolor(30, 30, 30, 255) cls() textinputcolor(250, 200, 0, 255) textinputbackcolor(0, 0, 90, 255)");
    PushText("A");
    PushText("b");
    PushKey(SDL_SCANCODE_RETURN);
    EXPECT_EQ(Eval("input(8, 16, 5)"), "Ab");
    Image image = ReadPixels();
    EXPECT_EQ(Block(image, 8, 16, 8, 8, ink), Rows('A'));
    EXPECT_EQ(Block(image, 16, 16, 8, 8, ink), Rows('b'));
    // The cursor after the line is cleared; the clear covers W(line) + H.
    for (int y = 16; y < 24; ++y)
        for (int x = 24; x < 32; ++x) EXPECT_EQ(image.At(x, y), paper) << x << "," << y;
    EXPECT_EQ(image.At(32, 16), Rgba(30, 30, 30));
    EXPECT_EQ(image.At(8, 15), Rgba(30, 30, 30));
    // The drawing colour stays the input colour.
    LuaOk("fillrectangle(70, 50, 2, 2)");
    EXPECT_EQ(ReadPixels().At(70, 50), ink);
    // Colours reach the renderer reduced to 8 bits.
    LuaOk("textinputcolor(256, 257, 300, -1)");
    PushKey(SDL_SCANCODE_RETURN);
    LuaOk("input(0, 0, 1)");
    Uint8 r, g, b, a;
    SDL_GetRenderDrawColor(platform::ActiveRenderer(), &r, &g, &b, &a);
    EXPECT_EQ(std::vector<int>({r, g, b, a}), std::vector<int>({0, 1, 44, 255}));
}

TEST_F(TextTest, InputPresentsEveryStepOfTheEditor) {
    // Each present saves a frame (dummy driver): the frames show how many
    // times every event presents and what was cleared and drawn before.
    TempDir dir;
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    setenv("SDL_VIDEO_DUMMY_SAVE_FRAMES", "1", 1);
    OpenActiveWindow(80, 60);
    const uint32_t ink = Rgba(250, 200, 0), paper = Rgba(0, 0, 90), back = Rgba(30, 30, 30);
    LuaOk("setframetimer(2000) backcolor(30, 30, 30, 255) cls()"
          " textinputcolor(250, 200, 0, 255) textinputbackcolor(0, 0, 90, 255)");
    PushText("a");
    PushText("bc");  // one byte too many for maxlength 2
    PushKey(SDL_SCANCODE_BACKSPACE);
    PushKey(SDL_SCANCODE_RETURN);
    std::string line = graphics::Input(8, 16, 2);
    unsetenv("SDL_VIDEO_DUMMY_SAVE_FRAMES");
    std::filesystem::current_path(cwd);
    EXPECT_EQ(line, "a");

    // The four cells from (8, 16): '#' cursor block, '.' cleared to the
    // input background, ' ' untouched, a letter: its glyph on that background.
    auto cells = [&](const Image& frame) {
        std::string seen;
        for (int cell = 0; cell < 4; ++cell) {
            const int x = 8 + 8 * cell;
            auto all = [&](uint32_t colour) { return Block(frame, x, 16, 8, 8, colour) == std::vector<int>(8, 0xFF); };
            char kind = all(ink) ? '#' : all(paper) ? '.' : all(back) ? ' ' : '?';
            for (char letter : std::string("ab")) {
                std::vector<int> glyph = Rows(uint8_t(letter)), rest;
                for (int row : glyph) rest.push_back(row ^ 0xFF);
                if (Block(frame, x, 16, 8, 8, ink) == glyph && Block(frame, x, 16, 8, 8, paper) == rest) kind = letter;
            }
            seen += kind;
        }
        return seen;
    };
    std::vector<std::string> shown;
    for (const auto& file : SavedFrames(dir.path())) shown.push_back(cells(LoadBmp(file)));
    EXPECT_EQ(shown, (std::vector<std::string>{
                         "#   ",                      // the cursor, nothing cleared
                         "#   ", "a#  ",              // "a": present, then clear W and show
                         "a#  ", "a#  ", "ab# ",      // "bc": present, too long: present, cut, clear W + H, show
                         "ab# ",                      // then clear W and show
                         "ab# ", "a#. ",              // Backspace: present, clear W + 2H, show
                     }));
    // Return ends the line: the cursor is cleared and the line drawn, not presented.
    EXPECT_EQ(cells(ReadPixels()), "a.. ");
}

TEST_F(TextTest, InputSleepsWhileNothingHappens) {
    OpenActiveWindow(80, 60);
    std::thread later([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.keysym.scancode = SDL_SCANCODE_RETURN;
        SDL_PushEvent(&event);
    });
    rusage before{}, after{};
    getrusage(RUSAGE_THREAD, &before);
    auto start = std::chrono::steady_clock::now();
    std::string line = graphics::Input(0, 0, 5);
    double elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    getrusage(RUSAGE_THREAD, &after);
    later.join();
    auto cpu = [](const rusage& u) {
        return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
    };
    EXPECT_EQ(line, "");
    EXPECT_GE(elapsed, 350.0);
    EXPECT_LT(cpu(after) - cpu(before), 0.25 * elapsed);  // polling without pause would use all of it
}

TEST_F(TextTest, QuitRequestDuringInputExitsWithZero) {
    OpenActiveWindow(80, 60);
    EXPECT_EXIT(
        {
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
            graphics::Input(0, 0, 5);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace vorlune::test
