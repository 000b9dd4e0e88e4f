// Collision and containment tests, including 32-bit wrap-around and the two
// tests that take their sizes from real sprites.
#include <cstdint>
#include <string>

#include <SDL.h>
#include <gtest/gtest.h>

#include "game/collision.hpp"
#include "support/engine_fixture.hpp"
#include "support/script_runner.hpp"

namespace vorlune::test {
namespace {

constexpr int32_t kMax = INT32_MAX;
constexpr int32_t kMin = INT32_MIN;

struct Case {
    bool actual;
    bool expected;
    const char* what;
};

void Check(std::initializer_list<Case> cases) {
    for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.what;
}

TEST(Collision, BoxesTouchingAtAnEdgeCollide) {
    using game::BoxColl;
    Check({
        {BoxColl(0, 0, 10, 10, 10, 0, 10, 10), true, "shared vertical edge"},
        {BoxColl(0, 0, 10, 10, 11, 0, 10, 10), false, "one pixel apart"},
        {BoxColl(0, 0, 10, 10, 0, 10, 10, 10), true, "shared horizontal edge"},
        {BoxColl(0, 0, 10, 10, 0, -11, 10, 10), false, "above"},
        {BoxColl(0, 0, 10, 10, 3, 3, 2, 2), true, "contained"},
        {BoxColl(5, 5, 0, 0, 5, 5, 0, 0), true, "two points at the same place"},
        {BoxColl(0, 0, 10, 10, -20, 0, 10, 10), false, "left"},
        {BoxColl(kMax, 0, 1, 1, kMax, 0, 1, 1), false, "x2 + w2 wraps below x1"},
        {BoxColl(kMax - 1, 0, 1, 1, kMax - 1, 0, 1, 1), true, "just below the wrap"},
    });
}

TEST(Collision, CirclesCompareSquaredDistanceWithTheOffset) {
    using game::CircleColl;
    Check({
        {CircleColl(0, 0, 5, 10, 0, 5, 0), true, "touching"},
        {CircleColl(0, 0, 5, 11, 0, 5, 0), false, "apart"},
        {CircleColl(0, 0, 5, 11, 0, 5, 5), true, "121 - 100 <= 25"},
        {CircleColl(0, 0, 5, 11, 0, 5, -5), true, "the sign of the offset does not matter"},
        {CircleColl(0, 0, 5, 11, 0, 5, 4), false, "21 > 16"},
        {CircleColl(0, 0, 5, 6, 8, 5, 0), true, "diagonal, distance exactly 10"},
        {CircleColl(0, 0, 0, 65536, 0, 0, 0), true, "65536^2 wraps to 0"},
        {CircleColl(0, 0, 0, 46341, 0, 0, 0), true, "46341^2 wraps negative"},
        {CircleColl(0, 0, 0, 46340, 0, 0, 0), false, "46340^2 still fits"},
    });
}

TEST(Collision, RoundCollUsesTruncatedRadiiAndCentres) {
    using game::RoundCollSized;
    // Two 20x10 sprites: radius (20 + 10) / 4 = 7, centre (+10, +5).
    Check({
        {RoundCollSized(0, 0, 20, 10, 14, 0, 20, 10, 0), true, "centres 14 apart, radii 7 + 7"},
        {RoundCollSized(0, 0, 20, 10, 15, 0, 20, 10, 0), false, "15 apart: the radius is not 7.5"},
        {RoundCollSized(100, 50, 20, 10, 86, 50, 20, 10, 0), true, "from the left"},
        {RoundCollSized(0, 0, 20, 10, 15, 0, 20, 10, 8), true, "225 - 196 <= 64"},
        // 21x11: half sizes 10 and 5, radius 32 / 4 = 8; centre (10, 5) vs (26, 5).
        {RoundCollSized(0, 0, 21, 11, 16, 0, 21, 11, 0), true, "centres 16 apart, radii 8 + 8"},
        {RoundCollSized(0, 0, 21, 11, 17, 0, 21, 11, 0), false, "17 apart"},
        // Negative sizes truncate toward zero: (-5 + -2) / 4 = -1, -5 / 2 = -2.
        {RoundCollSized(0, 0, -5, -2, -3, -1, 0, 0, 0), true, "centre (-2,-1), radius -1 against (-3,-1), radius 0"},
        {RoundCollSized(0, 0, -5, -2, -4, -1, 0, 0, 0), false, "distance 2 > |-1 + 0|"},
    });
}

TEST(Collision, CircleToBoxIsStrict) {
    using game::CircleToBoxColl;
    Check({
        {CircleToBoxColl(0, 0, 5, 5, -10, 10, 20), false, "distance 5, radius 5"},
        {CircleToBoxColl(0, 0, 6, 5, -10, 10, 20), true, "radius 6"},
        {CircleToBoxColl(5, 5, 1, 0, 0, 10, 10), true, "centre inside"},
        {CircleToBoxColl(5, 5, 0, 0, 0, 10, 10), false, "centre inside, radius 0"},
        {CircleToBoxColl(13, 14, 5, 0, 0, 10, 10), false, "corner at distance 5"},
        {CircleToBoxColl(13, 14, 6, 0, 0, 10, 10), true, "corner at distance 5 < 6"},
        {CircleToBoxColl(-3, 5, 4, 0, 0, 10, 10), true, "left of the box"},
        {CircleToBoxColl(0, -100, 65536, 0, 0, 10, 10), false, "r^2 wraps to 0"},
        {CircleToBoxColl(0, -100, 46340, 0, 0, 10, 10), true, "r^2 just fits"},
    });
}

TEST(Collision, SideCollReportsTheSideHitByTheMove) {
    struct SideCase {
        std::string actual;
        const char* expected;
    };
    using game::SideColl;
    const SideCase cases[] = {
        {SideColl(0, 0, 10, 10, 5, 0, 12, 0, 10, 10), "right"},
        {SideColl(0, 0, 10, 10, 1, 0, 12, 0, 10, 10), "none"},      // 10 + 1 is not beyond 12
        {SideColl(0, 0, 10, 10, 0, 0, 12, 0, 10, 10), "none"},
        {SideColl(0, 0, 10, 10, 0, 0, 5, 5, 10, 10), "none"},       // no move, even overlapping
        {SideColl(0, 20, 10, 10, 0, -5, 0, 0, 10, 18), "top"},
        {SideColl(0, 20, 10, 10, 0, -5, 10, 0, 10, 18), "none"},    // x + w > rx fails: 10 > 10
        {SideColl(30, 0, 10, 10, -9, 0, 12, 0, 10, 10), "left"},
        {SideColl(30, 0, 10, 10, -8, 0, 12, 0, 10, 10), "none"},    // 22 is not inside 12 + 10
        {SideColl(0, 0, 10, 10, 0, 5, 0, 12, 10, 10), "bottom"},
        {SideColl(0, 0, 10, 10, 0, 2, 0, 12, 10, 10), "none"},
        {SideColl(0, 0, 10, 10, 5, 5, 12, 0, 10, 10), "right"},     // horizontal wins
        {SideColl(0, 0, 10, 10, 5, 1, 12, 12, 10, 10), "none"},     // diagonal corner: neither overlap holds
        {SideColl(0, 0, 10, 10, 5, 15, 12, 12, 10, 10), "right"},   // vertical overlap at the moved y
        {SideColl(0, 0, 10, 10, 5, 0, 3, 0, 10, 10), "none"},       // already overlapping
        {SideColl(0, 0, 10, 10, 5, 0, 12, 10, 10, 10), "none"},     // only touching vertically
        {SideColl(kMax - 20, 0, 10, 10, 10, 0, kMax - 5, 0, 10, 10), "right"},
        {SideColl(kMax - 20, 0, 10, 10, 20, 0, kMax - 5, 0, 10, 10), "none"},  // x + w + dx wraps below rx
    };
    for (const SideCase& c : cases) EXPECT_EQ(c.actual, c.expected);
}

TEST(Collision, LineSegmentsCrossingByOrientation) {
    using game::LineColl;
    Check({
        {LineColl(0, 0, 10, 10, 0, 10, 10, 0), true, "X"},
        {LineColl(0, 0, 10, 0, 5, 0, 15, 0), false, "collinear overlap"},
        {LineColl(0, 0, 10, 0, 5, 0, 5, 5), true, "end point on the other segment"},
        {LineColl(0, 0, 10, 0, 5, 1, 5, 5), false, "T not reaching"},
        {LineColl(0, 0, 10, 0, 0, 1, 10, 1), false, "parallel"},
        {LineColl(0, 0, 10, 0, 20, -5, 20, 5), false, "crosses the carrying line only"},
        {LineColl(kMin, 0, kMax, 0, 0, kMin, 0, kMax), true, "full range, computed in double"},
        {LineColl(kMin, kMin, kMax, kMax, kMin, kMax, kMax, kMin), true, "full-range diagonals"},
    });
}

TEST(Collision, LineToCircleKeepsTheDocumentedAlgorithm) {
    using game::LineToCircleColl;
    Check({
        {LineToCircleColl(-10, 0, 10, 0, 0, 0, 5), true, "through the centre"},
        {LineToCircleColl(0, -10, 0, 10, 0, 0, 5), true, "vertical"},
        {LineToCircleColl(1, 1, 2, 1, 0, 0, 5), false, "inside, away from the rim"},
        {LineToCircleColl(3, 4, 3, 4, 0, 0, 5), true, "single point on the circle"},
        {LineToCircleColl(3, 5, 3, 5, 0, 0, 5), false, "single point outside"},
        {LineToCircleColl(-10, 5, 10, 5, 0, 0, 5), true, "tangent"},
        {LineToCircleColl(-10, 6, 10, 6, 0, 0, 5), false, "passes above"},
        {LineToCircleColl(-20, 0, -10, 0, 0, 0, 5), false, "ends before the circle"},
        {LineToCircleColl(-20, 0, -5, 0, 0, 0, 5), true, "ends on the rim"},
        {LineToCircleColl(110, 100, 120, 100, 100, 100, 5), true, "|t| also admits the rim behind the start"},
        {LineToCircleColl(130, 100, 140, 100, 100, 100, 5), false, "too far behind"},
        {LineToCircleColl(100, 90, 100, 98, 100, 100, 5), true, "vertical, translated"},
        {LineToCircleColl(0, 0, 10, 10, 10, 0, 8), true, "diagonal, line 7.07 from the centre"},
        {LineToCircleColl(0, 0, 10, 10, 20, 0, 8), false, "diagonal, line 14.1 from the centre"},
    });
}

TEST(Collision, PointContainment) {
    using game::InsideCircle;
    using game::InsideRectangle;
    using game::InsideTriangle;
    Check({
        {InsideTriangle(0, 0, 0, 0, 10, 0, 0, 10), false, "at a corner"},
        {InsideTriangle(2, 2, 0, 0, 10, 0, 0, 10), true, "inside"},
        {InsideTriangle(2, 2, 0, 0, 0, 10, 10, 0), true, "inside, other winding"},
        {InsideTriangle(5, 0, 0, 0, 10, 0, 0, 10), false, "on an edge"},
        {InsideTriangle(8, 8, 0, 0, 10, 0, 0, 10), false, "outside"},
        {InsideTriangle(5, 5, 0, 0, 10, 10, 20, 20), true, "degenerate triangle, point on its line"},
        {InsideTriangle(5, 6, 0, 0, 10, 10, 20, 20), false, "degenerate triangle, point off its line"},
        {InsideTriangle(1, 1, 0, 0, 65536, 0, 0, 65536), false, "cross product wraps"},
        {InsideRectangle(0, 5, 0, 0, 10, 10), false, "on the border"},
        {InsideRectangle(5, 5, 10, 10, 0, 0), false, "corners reversed"},
        {InsideRectangle(5, 5, 0, 0, 10, 10), true, "inside"},
        {InsideRectangle(9, 10, 0, 0, 10, 10), false, "on the bottom border"},
        {InsideCircle(3, 4, 0, 0, 5), false, "distance exactly 5"},
        {InsideCircle(3, 3, 0, 0, 5), true, "inside"},
        {InsideCircle(0, 0, 0, 0, 0), false, "radius 0"},
        {InsideCircle(0, 0, 0, 0, -1), false, "negative radius"},
        {InsideCircle(65536, 0, 0, 0, 1), true, "squared distance wraps to 0"},
        {InsideCircle(46341, 0, 0, 0, kMax), false, "squared distance wraps negative"},
    });
}

class CollisionScript : public EngineTest {
protected:
    // Writes a w x h BMP and loads it as a sprite of the active window.
    void LoadSprite(const char* global, int w, int h) {
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA8888);
        ASSERT_NE(surface, nullptr);
        std::string file = (dir_ / (std::string(global) + ".bmp")).string();
        ASSERT_EQ(SDL_SaveBMP(surface, file.c_str()), 0);
        SDL_FreeSurface(surface);
        LuaOk(std::string(global) + " = loadsprite('" + file + "')");
    }
    TempDir dir_;
};

TEST_F(CollisionScript, SpriteTestsTakeTheSpriteSizes) {
    OpenActiveWindow();
    LoadSprite("a", 20, 10);
    LoadSprite("b", 20, 10);
    LuaOk("assert(imagecoll(a, 0, 0, b, 20, 10))\n"
          "assert(not imagecoll(a, 0, 0, b, 21, 0))\n"
          "assert(not imagecoll(a, 0, 0, b, 0, 11))\n"
          "assert(roundcoll(a, 0, 0, b, 14, 0, 0))\n"
          "assert(not roundcoll(a, 0, 0, b, 15, 0, 0))\n"
          "assert(roundcoll(a, 0, 0, b, 15, 0, 8))\n"
          // A dead handle has size 0.
          "assert(imagecoll(nil, 5, 5, 0, 5, 5))\n"
          "assert(not imagecoll(a, 0, 0, nil, 21, 0))\n"
          "assert(imagecoll(a, 0, 0, nil, 20, 0))\n");
}

TEST_F(CollisionScript, ResultsAndUsageThroughTheScriptApi) {
    EXPECT_EQ(Eval("sidecoll(0,0,10,10, 5,0, 12,0,10,10)"), "right");
    EXPECT_EQ(Eval("boxcoll(0,0,10,10, 10,0,10,10)"), "true");
    EXPECT_EQ(Eval("linetocirclecoll(-10.5,0, 10.5,0, 0.25,0, 0.5)"), "true");
    EXPECT_EQ(Eval("insidecircle('3', '3', 0, 0, 5)"), "true");
    EXPECT_EQ(Lua("boxcoll(1,2,3,4,5,6,7)"), "test:1: Usage: boxcoll (x1,y1,w1,h1,x2,y2,w2,h2)");
    EXPECT_EQ(Lua("roundcoll(nil,0,0,nil,0,0)"), "test:1: Usage: collision=roundcoll (SpriteA,ax,ay,SpriteB,bx,by,offset)");
    EXPECT_EQ(Lua("sidecoll(0,0,0,0,0,0,0,0,0,0,0)"), "test:1: Usage: sidecoll (x,y,w,h,dx,dy, rx, ry, rw, rh)");
    EXPECT_EQ(Lua("insidecircle(1,2,3,4)"), "test:1: Usage: insidecircle (px,py,cx,cy,radius)");
}

}  // namespace
}  // namespace vorlune::test
