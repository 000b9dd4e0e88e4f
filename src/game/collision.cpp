#include "game/collision.hpp"

#include <cmath>
#include <utility>

#include "graphics/sprite.hpp"
#include "util/wrap.hpp"

namespace vorlune::game {
namespace {

// The tests are defined on 32-bit integers: sums, differences and squares
// wrap around on overflow (util/wrap.hpp).
int32_t Square(int32_t a) { return util::WrapMul(a, a); }

template <typename T>
int Sign(T v) {
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

// Sign of the cross product (p2 - p1) x (p3 - p1) on 32-bit integers.
int Orientation32(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3) {
    return Sign(util::WrapSub(util::WrapMul(util::WrapSub(x2, x1), util::WrapSub(y3, y1)), util::WrapMul(util::WrapSub(x3, x1), util::WrapSub(y2, y1))));
}

// The same in double precision.
int OrientationReal(double x1, double y1, double x2, double y2, double x3, double y3) {
    return Sign((x2 - x1) * (y3 - y1) - (x3 - x1) * (y2 - y1));
}

}  // namespace

bool BoxColl(int32_t x1, int32_t y1, int32_t w1, int32_t h1, int32_t x2, int32_t y2, int32_t w2, int32_t h2) {
    return util::WrapAdd(x2, w2) >= x1 && util::WrapAdd(x1, w1) >= x2 && util::WrapAdd(y2, h2) >= y1 && util::WrapAdd(y1, h1) >= y2;
}

bool ImageColl(graphics::Sprite spriteA, int32_t ax, int32_t ay, graphics::Sprite spriteB, int32_t bx, int32_t by) {
    const int32_t wA = graphics::SpriteWidth(spriteA);
    const int32_t hA = graphics::SpriteHeight(spriteA);
    const int32_t wB = graphics::SpriteWidth(spriteB);
    const int32_t hB = graphics::SpriteHeight(spriteB);
    return BoxColl(ax, ay, wA, hA, bx, by, wB, hB);
}

bool CircleColl(int32_t x1, int32_t y1, int32_t r1, int32_t x2, int32_t y2, int32_t r2, int32_t offset) {
    const int32_t dx = util::WrapSub(x2, x1);
    const int32_t dy = util::WrapSub(y2, y1);
    const int32_t reach = util::WrapAdd(r1, r2);
    return Square(offset) >= util::WrapSub(util::WrapAdd(Square(dx), Square(dy)), Square(reach));
}

bool RoundColl(graphics::Sprite spriteA, int32_t ax, int32_t ay, graphics::Sprite spriteB, int32_t bx, int32_t by,
               int32_t offset) {
    const int32_t wA = graphics::SpriteWidth(spriteA);
    const int32_t hA = graphics::SpriteHeight(spriteA);
    const int32_t wB = graphics::SpriteWidth(spriteB);
    const int32_t hB = graphics::SpriteHeight(spriteB);
    return RoundCollSized(ax, ay, wA, hA, bx, by, wB, hB, offset);
}

bool RoundCollSized(int32_t ax, int32_t ay, int32_t wA, int32_t hA, int32_t bx, int32_t by, int32_t wB, int32_t hB,
                    int32_t offset) {
    // The radius averages half-width and half-height; divisions truncate.
    const int32_t rA = util::WrapAdd(wA, hA) / 4;
    const int32_t rB = util::WrapAdd(wB, hB) / 4;
    return CircleColl(util::WrapAdd(ax, wA / 2), util::WrapAdd(ay, hA / 2), rA, util::WrapAdd(bx, wB / 2), util::WrapAdd(by, hB / 2), rB, offset);
}

std::string SideColl(int32_t x, int32_t y, int32_t w, int32_t h, int32_t dx, int32_t dy, int32_t rx, int32_t ry,
                     int32_t rw, int32_t rh) {
    if (dx == 0 && dy == 0) return "none";
    const int32_t rRight = util::WrapAdd(rx, rw);
    const int32_t rBottom = util::WrapAdd(ry, rh);
    // Horizontal first, with the vertical overlap taken at the moved y.
    const int32_t movedY = util::WrapAdd(y, dy);
    const bool overlapsMovedY = movedY < rBottom && util::WrapAdd(movedY, h) > ry;
    if (dx < 0 && rRight <= x && util::WrapAdd(x, dx) < rRight && overlapsMovedY) return "left";
    if (dx > 0 && util::WrapAdd(x, w) <= rx && util::WrapAdd(util::WrapAdd(x, w), dx) > rx && overlapsMovedY) return "right";
    // Then vertical, with the horizontal overlap taken at the unmoved x.
    const bool overlapsX = rRight > x && util::WrapAdd(x, w) > rx;
    if (dy < 0 && rBottom <= y && util::WrapAdd(y, dy) < rBottom && overlapsX) return "top";
    if (dy > 0 && util::WrapAdd(y, h) <= ry && util::WrapAdd(util::WrapAdd(y, h), dy) > ry && overlapsX) return "bottom";
    return "none";
}

bool CircleToBoxColl(int32_t cx, int32_t cy, int32_t r, int32_t x1, int32_t y1, int32_t w, int32_t h) {
    // The box point nearest to the centre, by clamping.
    int32_t nx = cx;
    if (nx < x1) nx = x1;
    if (nx > util::WrapAdd(x1, w)) nx = util::WrapAdd(x1, w);
    int32_t ny = cy;
    if (ny < y1) ny = y1;
    if (ny > util::WrapAdd(y1, h)) ny = util::WrapAdd(y1, h);
    return util::WrapAdd(Square(util::WrapSub(cx, nx)), Square(util::WrapSub(cy, ny))) < Square(r);
}

bool LineColl(int32_t a1x, int32_t a1y, int32_t a2x, int32_t a2y, int32_t b1x, int32_t b1y, int32_t b2x,
              int32_t b2y) {
    const int o1 = OrientationReal(a1x, a1y, a2x, a2y, b1x, b1y);
    const int o2 = OrientationReal(a1x, a1y, a2x, a2y, b2x, b2y);
    if (o1 == o2) return false;
    const int o3 = OrientationReal(b1x, b1y, b2x, b2y, a1x, a1y);
    const int o4 = OrientationReal(b1x, b1y, b2x, b2y, a2x, a2y);
    return o3 != o4;
}

bool LineToCircleColl(double x1, double y1, double x2, double y2, double cx, double cy, double radius) {
    // Move the circle's centre to the origin.
    double X1 = x1 - cx, Y1 = y1 - cy, X2 = x2 - cx, Y2 = y2 - cy;
    const double r = radius;
    if (X2 - X1 == 0) {
        if (Y2 - Y1 == 0) return r * r >= X1 * X1 + Y1 * Y1;  // a single point
        // Mirror a vertical segment at the diagonal; the circle does not change.
        std::swap(X1, Y1);
        std::swap(X2, Y2);
    }
    // Carrying line y = m*x + k against x^2 + y^2 = r^2.
    const double m = (Y2 - Y1) / (X2 - X1);
    const double k = Y1 - m * X1;
    const double d = 4 * (m * m) * (k * k) - 4 * (1 + m * m) * (k * k - r * r);
    if (d < 0) return false;
    const double s = std::sqrt(d);
    const double xa = (-2 * m * k - s) / (2 * (m * m) + 2);
    const double xb = (-2 * m * k + s) / (2 * (m * m) + 2);
    const double x = xa >= X1 ? xa : xb;
    // Only the x distance from the first end point is measured, in either
    // direction: a segment wholly inside the circle does not collide.
    const double t = std::fabs((x - X1) / (X2 - X1));
    return t <= 1;
}

bool InsideTriangle(int32_t px, int32_t py, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3) {
    const int o1 = Orientation32(x1, y1, x2, y2, px, py);
    const int o2 = Orientation32(x2, y2, x3, y3, px, py);
    const int o3 = Orientation32(x3, y3, x1, y1, px, py);
    return o1 == o2 && o2 == o3;
}

bool InsideRectangle(int32_t px, int32_t py, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    return x1 < px && px < x2 && y1 < py && py < y2;
}

bool InsideCircle(int32_t px, int32_t py, int32_t cx, int32_t cy, int32_t radius) {
    const int32_t d2 = util::WrapAdd(Square(util::WrapSub(px, cx)), Square(util::WrapSub(py, cy)));
    // A wrapped, negative d2 has no square root (NaN): never inside.
    return std::sqrt(static_cast<double>(d2)) < radius;
}

}  // namespace vorlune::game
