// What the script layer does at the door: handles that stay dead once freed,
// integer arguments converted with defined rules, and engine exceptions that
// reach the script as errors it can catch.
#include <cmath>
#include <limits>
#include <stdexcept>

#include <gtest/gtest.h>

#include "core/handles.hpp"
#include "script/binder.hpp"
#include "support/engine_fixture.hpp"
#include "util/convert.hpp"

namespace vorlune::test {
namespace {

class DoorTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 4, 3, 32, SDL_PIXELFORMAT_RGBA8888);
        SDL_FillRect(s, nullptr, 0xFFFFFFFF);
        ASSERT_EQ(SDL_SaveBMP(s, (dir_ / "p.bmp").c_str()), 0) << SDL_GetError();
        SDL_FreeSurface(s);
        LuaOk("file = [[" + (dir_ / "p.bmp").string() + "]]");
    }
    TempDir dir_;
};

// Freeing an object and making a new one often gives the new one the old
// address; the old handle must not come back to life as the new object.
TEST_F(DoorTest, FreedImagesAndSpritesStayDeadWhenTheirAddressIsReused) {
    OpenActiveWindow();
    LuaOk("local img = loadimage(file)\n"
          "for i = 1, 300 do\n"
          "  local a = createsprite(img) freesprite(a)\n"
          "  local b = createsprite(img) freesprite(a)\n"
          "  assert(a ~= b and spritewidth(a) == 0 and spritewidth(b) == 4, i)\n"
          "  freesprite(b)\n"
          "  local c = loadimage(file) freeimage(c)\n"
          "  local d = loadimage(file) freeimage(c)\n"
          "  local s = createsprite(d)\n"
          "  assert(c ~= d and spritewidth(s) == 4, i)\n"
          "  freesprite(s) freeimage(d)\n"
          "end");
}

// A sprite dies with its window, and stays dead when a new window's renderer
// gets the old renderer's address.
TEST_F(DoorTest, SpritesOfAClosedWindowStayDeadInTheWindowThatReplacesIt) {
    LuaOk("local img = loadimage(file)\n"
          "for i = 1, 20 do\n"
          "  local w = openwindow('a', 0, 0, 16, 16) setactivewindow(w)\n"
          "  local s = createsprite(img)\n"
          "  closewindow(w)\n"
          "  w = openwindow('b', 0, 0, 16, 16) setactivewindow(w)\n"
          "  cls() drawsprite(s, 0, 0, 1, 1, 0, false, false)\n"
          "  assert(spritewidth(s) == 0, i)\n"
          "  closewindow(w)\n"
          "end");
}

// A sprite of another live window is not drawn on the active one.
TEST_F(DoorTest, ASpriteIsDrawnOnlyOnItsOwnWindow) {
    LuaOk("other = openwindow('o', 0, 0, 16, 16) setactivewindow(other) s = createsprite(loadimage(file))");
    OpenActiveWindow(16, 16);
    LuaOk("cls() drawsprite(s, 0, 0, 1, 1, 0, false, false)");
    EXPECT_EQ(ReadPixels().At(0, 0), 0x000000FFu);
    LuaOk("assert(spritewidth(s) == 4)");
}

// Integer arguments: the low 32 bits of the integer part; NaN and
// infinities give 0.
TEST(Conversions, IntegerArgumentsAreTheLow32BitsOfTheIntegerPart) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double in;
        int32_t out;
    } cases[] = {
        {std::nan(""), 0}, {inf, 0}, {-inf, 0}, {0x1p63, 0}, {-0x1p63, 0}, {0x1p64, 0}, {1e300, 0}, {-1e300, 0},
        {-1.9, -1},        {2.9, 2}, {3e9, -1294967296}, {-3e9, 1294967296}, {0x1p32 + 7.5, 7},
        {0x1p63 + 0x1p12 * 3, 12288}, {-(0x1p52 + 5), -5},  {2147483648.0, std::numeric_limits<int32_t>::min()},
    };
    for (const auto& c : cases) EXPECT_EQ(util::WrapToInt32(c.in), c.out) << c.in;
}

// The same values through an integer parameter of a drawing function, a
// collision test and a slot number: defined results and no crash.
TEST_F(DoorTest, HostileNumbersReachDrawingCollisionAndSlotFunctionsAsDefinedIntegers) {
    OpenActiveWindow(16, 16);
    LuaOk("local big = {0/0, 1/0, -1/0, 2^63, -2^63, 2^64, 1e300}\n"
          "for _, v in ipairs(big) do\n"
          "  dot(v, 0) circle(v, 0, 5) fillcircle(3, v, 2) line(v, v, 0, 0) fillellipse(v, 1, 3, v)\n"
          "  assert(boxcoll(v, 0, 2, 2, 0, 0, 2, 2) == boxcoll(0, 0, 2, 2, 0, 0, 2, 2))\n"
          "  assert(insidecircle(v, v, 0, 0, 1) == insidecircle(0, 0, 0, 0, 1))\n"
          "end\n"
          "local a = createanimation(createsprite(loadimage(file)), 2, 3, 0, 1, 10, 1, 0)\n"
          "assert(a == 0)\n"
          "for _, v in ipairs(big) do assert(animationwidth(v) == 2 and framenumber(v) == 0) end\n"
          "assert(animationwidth(2^32 + 0.5) == 2)");
}

int32_t Throws(int32_t kind) {
    if (kind == 1) throw std::logic_error("engine fault");
    throw std::runtime_error(std::string("runtime fault"));
}

// Any std::exception that leaves an engine function is a script error with
// its message, which pcall catches; the script goes on.
TEST_F(DoorTest, ForeignExceptionsBecomeCatchableScriptErrors) {
    const script::ApiEntry row = script::Row<"Usage: throws (kind)", Throws>("throws");
    lua_register(L, row.name, row.adapter);
    LuaOk("local ok, e = pcall(throws, 1) assert(not ok and e == 'engine fault', e)\n"
          "ok, e = pcall(throws, 2) assert(not ok and e == 'runtime fault', e)");
    EXPECT_EQ(Lua("throws(1)"), "test:1: engine fault");
}

}  // namespace
}  // namespace vorlune::test
