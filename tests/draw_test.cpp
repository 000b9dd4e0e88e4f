// Drawing colour and primitives: the rasterisers against literal
// transcriptions of the documented algorithms, the culling of invisible work,
// clipping of far-off lines, and pixels on a real (software) renderer.
#include <chrono>
#include <cmath>
#include <functional>
#include <map>
#include <cstdint>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/inspect.hpp"
#include "graphics/draw.hpp"
#include "graphics/raster.hpp"
#include "graphics/window.hpp"
#include "platform/active_window.hpp"
#include "support/engine_fixture.hpp"
#include "core/reset.hpp"

namespace vorlune::test {
namespace {

using graphics::Area;
using graphics::SegmentFit;

// One emitted point or line.
struct Op {
    bool line;
    int32_t x1, y1, x2, y2;
    bool operator==(const Op&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Op& op) {
    if (op.line) return out << "line(" << op.x1 << "," << op.y1 << "," << op.x2 << "," << op.y2 << ")";
    return out << "dot(" << op.x1 << "," << op.y1 << ")";
}

constexpr Area kEverywhere{std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min(),
                           std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max()};

class Recorder : public graphics::PlotSink {
public:
    explicit Recorder(const Area& area = kEverywhere) : PlotSink(area) {}
    void Point(int32_t x, int32_t y) override { ops.push_back({false, x, y, 0, 0}); }
    void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override { ops.push_back({true, x1, y1, x2, y2}); }
    std::vector<Op> ops;
};

Op P(int32_t x, int32_t y) { return {false, x, y, 0, 0}; }
Op L(int32_t x1, int32_t y1, int32_t x2, int32_t y2) { return {true, x1, y1, x2, y2}; }

// ---- literal transcriptions of the documented algorithms (32-bit wrap) ----

int32_t W(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }
int32_t Add(int32_t a, int32_t b) { return W(int64_t{a} + b); }
int32_t Sub(int32_t a, int32_t b) { return W(int64_t{a} - b); }
int32_t Mul(int32_t a, int32_t b) { return W(int64_t{a} * b); }
int32_t Div(int32_t a, int32_t b) { return b == -1 ? Sub(0, a) : a / b; }
int32_t N(double v) { return graphics::RoundEven(v); }

std::vector<Op> RefCircle(int32_t x, int32_t y, int32_t r) {
    std::vector<Op> ops;
    if (r == 0) r = 1;
    int32_t s = Mul(r, r);
    ops = {P(x, Add(y, r)), P(x, Sub(y, r)), P(Add(x, r), y), P(Sub(x, r), y)};
    int32_t i = 1, j = N(std::sqrt(double(Sub(s, Mul(i, i)))) + 0.5);
    while (i < j) {
        for (Op op : {P(Add(x, i), Add(y, j)), P(Add(x, i), Sub(y, j)), P(Sub(x, i), Add(y, j)), P(Sub(x, i), Sub(y, j)),
                      P(Add(x, j), Add(y, i)), P(Add(x, j), Sub(y, i)), P(Sub(x, j), Add(y, i)), P(Sub(x, j), Sub(y, i))})
            ops.push_back(op);
        i = i + 1;
        j = N(std::sqrt(double(Sub(s, Mul(i, i)))) + 0.5);
    }
    if (i == j) {
        for (Op op : {P(Add(x, i), Add(y, j)), P(Add(x, i), Sub(y, j)), P(Sub(x, i), Add(y, j)), P(Sub(x, i), Sub(y, j))})
            ops.push_back(op);
    }
    return ops;
}

std::vector<Op> RefFillCircle(int32_t x, int32_t y, int32_t r) {
    std::vector<Op> ops;
    if (r == 0) r = 1;
    int32_t s = Mul(r, r);
    for (int64_t n = r; n >= 0; --n) {
        int32_t m = int32_t(n), d = N(std::sqrt(double(Sub(s, Mul(m, m)))));
        int32_t left = Sub(Sub(x, m), 1);
        ops.push_back(L(left, Sub(y, d), left, Add(y, d)));
        ops.push_back(L(Add(x, m), Sub(y, d), Add(x, m), Add(y, d)));
    }
    return ops;
}

// The outline ellipse as documented, with the terms in 64 bits (exact for
// the radii used here) or wrapped to 32 bits.
std::vector<Op> RefEllipse(int32_t x, int32_t y, int64_t a, int64_t b, bool wrap32) {
    auto w = [wrap32](int64_t v) { return wrap32 ? int64_t{W(v)} : v; };
    std::vector<Op> ops;
    auto four = [&](int64_t X, int64_t Y) {
        for (auto [px, py] : {std::pair{x + X, y + Y}, {x - X, y + Y}, {x - X, y - Y}, {x + X, y - Y}})
            ops.push_back(P(W(px), W(py)));
    };
    if (a == b) b = w(b + 1);
    int64_t A2 = w(2 * a * a), B2 = w(2 * b * b);
    int64_t X = a, Y = 0, xc = w(w(b * b) * (1 - 2 * a)), yc = w(a * a), e = 0, sx = w(B2 * a), sy = 0;
    while (sx >= sy) {
        four(X, Y);
        Y = Y + 1, sy = w(sy + A2), e = w(e + yc), yc = w(yc + A2);
        if (w(2 * e + xc) > 0) X = X - 1, sx = w(sx - B2), e = w(e + xc), xc = w(xc + B2);
    }
    X = 0, Y = b, xc = w(b * b), yc = w(w(a * a) * (1 - 2 * b)), e = 0, sx = 0, sy = w(A2 * b);
    while (sx <= sy) {
        four(X, Y);
        X = X + 1, sx = w(sx + B2), e = w(e + xc), xc = w(xc + B2);
        if (w(2 * e + yc) > 0) Y = Y - 1, sy = w(sy - A2), e = w(e + yc), yc = w(yc + A2);
    }
    return ops;
}

std::vector<Op> RefFillEllipse(int32_t x, int32_t y, int32_t a, int32_t b) {
    std::vector<Op> ops;
    for (int64_t Y = -int64_t{b}; Y <= b; ++Y) {
        for (int64_t X = -int64_t{a}; X <= a; ++X) {
            int32_t x32 = int32_t(X), y32 = int32_t(Y);
            if (Add(Mul(Mul(Mul(x32, x32), b), b), Mul(Mul(Mul(y32, y32), a), a)) <= Mul(Mul(Mul(a, a), b), b))
                ops.push_back(P(Add(x, x32), Add(y, y32)));
        }
    }
    return ops;
}

std::vector<Op> RefFillTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3) {
    std::vector<Op> ops;
    if (y1 == y2) y2 = Add(y2, 1);
    if (y1 == y3) y3 = Add(y3, 1);
    if (y3 == y2) y2 = Add(y2, 1);
    if (y1 == y2 || y1 == y3 || y3 == y2) return ops;
    std::pair<int32_t, int32_t> v[3] = {{y1, x1}, {y2, x2}, {y3, x3}};
    std::sort(v, v + 3);
    auto [yT, xT] = v[0];
    auto [yM, xM] = v[1];
    auto [yB, xB] = v[2];
    int32_t dxMT = Sub(xT, xM), dyMT = Sub(yT, yM), dxBM = Sub(xM, xB), dyBM = Sub(yM, yB), dxBT = Sub(xT, xB),
            dyBT = Sub(yT, yB);
    int32_t l = xM, r = Add(xT, Div(Mul(Sub(yM, yT), dxBT), dyBT));
    ops.push_back(l < r ? L(l, yM, r, yM) : L(r, yM, l, yM));
    for (int64_t j = 0; j <= Sub(Sub(yM, yT), 1); ++j) {
        int32_t k = int32_t(j);
        ops.push_back(L(Add(xM, Div(Mul(Add(dyMT, k), dxMT), dyMT)), Add(yT, k), Add(xT, Div(Mul(k, dxBT), dyBT)),
                        Add(yT, k)));
    }
    for (int64_t j = Add(Sub(yM, yT), 1); j <= Sub(yB, yT); ++j) {
        int32_t k = int32_t(j);
        ops.push_back(L(Add(xM, Div(Mul(Add(dyMT, k), dxBM), dyBM)), Add(yT, k), Add(xT, Div(Mul(k, dxBT), dyBT)),
                        Add(yT, k)));
    }
    return ops;
}

// What of a reference sequence can show in the area: points inside it,
// lines whose bounding box meets it.
std::vector<Op> Visible(const std::vector<Op>& ops, const Area& a) {
    std::vector<Op> kept;
    for (const Op& op : ops) {
        bool keep = op.line ? std::max(op.x1, op.x2) >= a.left && std::min(op.x1, op.x2) <= a.right &&
                                  std::max(op.y1, op.y2) >= a.top && std::min(op.y1, op.y2) <= a.bottom
                            : op.x1 >= a.left && op.x1 <= a.right && op.y1 >= a.top && op.y1 <= a.bottom;
        if (keep) kept.push_back(op);
    }
    return kept;
}

template <typename F>
std::vector<Op> Record(F raster, const Area& area = kEverywhere) {
    Recorder sink(area);
    raster(sink);
    return sink.ops;
}

// Windows of 80 x 60 around the shape: centred, on its edges and far off.
std::vector<Area> Windows(int64_t cx, int64_t cy, int64_t rx, int64_t ry) {
    std::vector<Area> areas = {kEverywhere};
    for (int64_t dx : {-rx, -rx / 2, int64_t{0}, rx / 3, rx})
        for (int64_t dy : {-ry, int64_t{0}, ry / 2, ry})
            areas.push_back(Area{cx + dx - 40, cy + dy - 30, cx + dx + 39, cy + dy + 29});
    areas.push_back(Area{cx + 3 * rx + 100, cy, cx + 3 * rx + 179, cy + 59});
    return areas;
}

// ---- the documented edge cases ----

TEST(DrawRaster, CircleOfRadiusZeroAndOneIsTheFourNeighbours) {
    std::vector<Op> four = {P(10, 21), P(10, 19), P(11, 20), P(9, 20)};
    EXPECT_EQ(Record([](auto& s) { graphics::RasterCircle(s, 10, 20, 0); }), four);
    EXPECT_EQ(Record([](auto& s) { graphics::RasterCircle(s, 10, 20, 1); }), four);
}

TEST(DrawRaster, CircleOfRadiusTwoPlotsTwelvePointsInOrder) {
    std::vector<Op> expected = {P(10, 22), P(10, 18), P(12, 20), P(8, 20), P(11, 22), P(11, 18),
                                P(9, 22),  P(9, 18),  P(12, 21), P(12, 19), P(8, 21), P(8, 19)};
    EXPECT_EQ(Record([](auto& s) { graphics::RasterCircle(s, 10, 20, 2); }), expected);
}

TEST(DrawRaster, NegativeCircleRadiusPlotsTheSamePointSet) {
    auto pos = Record([](auto& s) { graphics::RasterCircle(s, 5, 5, 7); });
    auto neg = Record([](auto& s) { graphics::RasterCircle(s, 5, 5, -7); });
    auto key = [](const std::vector<Op>& ops) {
        std::multiset<std::pair<int32_t, int32_t>> set;
        for (const Op& op : ops) set.insert({op.x1, op.y1});
        return set;
    };
    EXPECT_EQ(key(pos), key(neg));
}

TEST(DrawRaster, FillCircleOfRadiusOneIsFourColumns) {
    std::vector<Op> expected = {L(8, 20, 8, 20), L(11, 20, 11, 20), L(9, 19, 9, 21), L(10, 19, 10, 21)};
    EXPECT_EQ(Record([](auto& s) { graphics::RasterFillCircle(s, 10, 20, 1); }), expected);
    EXPECT_EQ(Record([](auto& s) { graphics::RasterFillCircle(s, 10, 20, 0); }), expected);
    EXPECT_TRUE(Record([](auto& s) { graphics::RasterFillCircle(s, 10, 20, -3); }).empty());
}

TEST(DrawRaster, EllipseWithEqualRadiiIsOneUnitTaller) {
    auto equal = Record([](auto& s) { graphics::RasterEllipse(s, 30, 30, 5, 5); });
    EXPECT_EQ(equal, Record([](auto& s) { graphics::RasterEllipse(s, 30, 30, 5, 6); }));
    EXPECT_EQ(equal, RefEllipse(30, 30, 5, 5, true));
    // The point (x + 5, y) of the first step is plotted twice (Y = 0).
    EXPECT_EQ(equal[0], P(35, 30));
    EXPECT_EQ(equal[3], P(35, 30));
}

TEST(DrawRaster, FillEllipseWithZeroRadii) {
    EXPECT_EQ(Record([](auto& s) { graphics::RasterFillEllipse(s, 7, 9, 0, 0); }), std::vector<Op>{P(7, 9)});
    std::vector<Op> column;
    for (int y = 4; y <= 14; ++y) column.push_back(P(7, y));
    EXPECT_EQ(Record([](auto& s) { graphics::RasterFillEllipse(s, 7, 9, 0, 5); }), column);
    EXPECT_TRUE(Record([](auto& s) { graphics::RasterFillEllipse(s, 7, 9, -1, 5); }).empty());
    EXPECT_TRUE(Record([](auto& s) { graphics::RasterFillEllipse(s, 7, 9, 3, -1); }).empty());
}

TEST(DrawRaster, FillTriangleExamples) {
    // All heights equal: the vertices become (0, 5), (10, 7), (20, 6).
    EXPECT_EQ(Record([](auto& s) { graphics::RasterFillTriangle(s, 0, 5, 10, 5, 20, 5); }),
              (std::vector<Op>{L(5, 6, 20, 6), L(0, 5, 0, 5), L(10, 7, 10, 7)}));
    // Two heights equal again after the separation: nothing.
    EXPECT_TRUE(Record([](auto& s) { graphics::RasterFillTriangle(s, 0, 5, 10, 4, 20, 4); }).empty());
    // An ordinary triangle: every scan line once, the middle one first.
    auto ops = Record([](auto& s) { graphics::RasterFillTriangle(s, 0, 0, 10, 10, 20, 4); });
    ASSERT_EQ(ops.size(), 11u);
    EXPECT_EQ(ops[0].y1, 4);
    EXPECT_EQ(ops, RefFillTriangle(0, 0, 10, 10, 20, 4));
}

TEST(DrawRaster, RoundEvenTiesToEven) {
    EXPECT_EQ(graphics::RoundEven(2.5), 2);
    EXPECT_EQ(graphics::RoundEven(3.5), 4);
    EXPECT_EQ(graphics::RoundEven(-2.5), -2);
    EXPECT_EQ(graphics::RoundEven(0.49999), 0);
    EXPECT_EQ(graphics::RoundEven(std::nan("")), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(graphics::RoundEven(3e9), std::numeric_limits<int32_t>::min());
}

// ---- culling: exactly the visible part of the documented sequence ----

TEST(DrawRaster, CulledCirclesMatchTheDocumentedPointsInView) {
    std::mt19937 gen(7);
    std::vector<int32_t> radii = {0, 1, 2, 3, 17, 100, 1000, 46340, 46341, 65536, 100000, 1000000000,
                                  std::numeric_limits<int32_t>::max(), -5, -46340, std::numeric_limits<int32_t>::min()};
    for (int32_t r : radii) {
        int32_t x = int32_t(gen() % 2001) - 1000, y = int32_t(gen() % 2001) - 1000;
        auto ref = RefCircle(x, y, r);
        for (const Area& area : Windows(x, y, std::min<int64_t>(std::abs(int64_t{r}), 40000), 20000)) {
            SCOPED_TRACE("r=" + std::to_string(r) + " area.left=" + std::to_string(area.left));
            EXPECT_EQ(Record([&](auto& s) { graphics::RasterCircle(s, x, y, r); }, area), Visible(ref, area));
        }
    }
    // Centres near the 32-bit edge: coordinates wrap around.
    for (int32_t x : {std::numeric_limits<int32_t>::max() - 3, std::numeric_limits<int32_t>::min() + 2}) {
        auto ref = RefCircle(x, 0, 20);
        Area wrapped{std::numeric_limits<int32_t>::min(), -40, std::numeric_limits<int32_t>::min() + 79, 40};
        EXPECT_EQ(Record([&](auto& s) { graphics::RasterCircle(s, x, 0, 20); }, wrapped), Visible(ref, wrapped));
    }
}

TEST(DrawRaster, CulledFillCirclesMatchTheDocumentedLinesInView) {
    for (int32_t r : {0, 1, 5, 30, 46340, 50000, 300000, -1}) {
        for (int32_t x : {0, 640, -100000, std::numeric_limits<int32_t>::max() - 10}) {
            auto ref = r >= 0 ? RefFillCircle(x, 100, r) : std::vector<Op>{};
            for (const Area& area : Windows(x, 100, std::max(r, 1), std::max(r, 1))) {
                SCOPED_TRACE("r=" + std::to_string(r) + " x=" + std::to_string(x));
                EXPECT_EQ(Record([&](auto& s) { graphics::RasterFillCircle(s, x, 100, r); }, area),
                          Visible(ref, area));
            }
        }
    }
}

TEST(DrawRaster, CulledFillEllipsesMatchTheDocumentedPointsInView) {
    struct Case {
        int32_t x, y, a, b;
    };
    // The last two overflow 32 bits (X·X·b·b and the limit wrap around).
    for (Case c : {Case{40, 30, 20, 10}, Case{0, 0, 7, 7}, Case{-50, 20, 100, 3}, Case{40, 30, 3, 90},
                   Case{40, 30, 50000, 1}, Case{10, -5, 2, 70000}}) {
        auto ref = RefFillEllipse(c.x, c.y, c.a, c.b);
        for (const Area& area : Windows(c.x, c.y, c.a, c.b)) {
            SCOPED_TRACE("a=" + std::to_string(c.a) + " b=" + std::to_string(c.b));
            EXPECT_EQ(Record([&](auto& s) { graphics::RasterFillEllipse(s, c.x, c.y, c.a, c.b); }, area),
                      Visible(ref, area));
        }
    }
}

TEST(DrawRaster, CulledFillTrianglesMatchTheDocumentedLinesInView) {
    std::mt19937 gen(11);
    auto coordinate = [&](int64_t range) { return int32_t(int64_t(gen() % uint32_t(2 * range + 1)) - range); };
    for (int trial = 0; trial < 300; ++trial) {
        // Small ones, large ones and ones whose products wrap around.
        int64_t xr = trial % 3 == 0 ? 50 : trial % 3 == 1 ? 3000 : 2000000;
        int64_t yr = trial % 3 == 2 ? 3000 : xr;
        int32_t x1 = coordinate(xr), y1 = coordinate(yr), x2 = coordinate(xr), y2 = coordinate(yr),
                x3 = coordinate(xr), y3 = coordinate(yr);
        if (trial % 7 == 0) y2 = y1;
        auto ref = RefFillTriangle(x1, y1, x2, y2, x3, y3);
        for (const Area& area : {kEverywhere, Area{-40, -30, 39, 29}, Area{x1 - 40, y1 - 30, x1 + 39, y1 + 29}}) {
            SCOPED_TRACE("trial " + std::to_string(trial));
            EXPECT_EQ(Record([&](auto& s) { graphics::RasterFillTriangle(s, x1, y1, x2, y2, x3, y3); }, area),
                      Visible(ref, area));
        }
    }
}

TEST(DrawRaster, EllipsesMatchTheDocumentedAlgorithmWhereItsTermsFit) {
    // Radii whose error terms stay within 32 bits give the documented points.
    for (auto [a, b] : std::vector<std::pair<int32_t, int32_t>>{
             {0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 3}, {10, 4}, {4, 10}, {37, 37}, {100, 60}, {300, 200}, {-5, 8},
             {8, -5}, {-6, -6}}) {
        SCOPED_TRACE(std::to_string(a) + "x" + std::to_string(b));
        auto ref = RefEllipse(100, 100, a, b, true);
        ASSERT_EQ(ref, RefEllipse(100, 100, a, b, false)) << "32-bit terms overflow for this case";
        EXPECT_EQ(Record([&](auto& s) { graphics::RasterEllipse(s, 100, 100, a, b); }), ref);
    }
    // At 1000 x 1000 they overflow: 32 bits would stray by dozens of pixels;
    // the exact terms keep the true outline.
    auto exact = Record([](auto& s) { graphics::RasterEllipse(s, 0, 0, 1000, 1000); });
    EXPECT_EQ(exact, RefEllipse(0, 0, 1000, 1000, false));
    EXPECT_NE(exact, RefEllipse(0, 0, 1000, 1000, true));
    for (const Op& p : exact) EXPECT_NEAR(std::hypot(p.x1 / 1000.0, p.y1 / 1001.0), 1.0, 0.001);
}

TEST(DrawRaster, CulledEllipsesMatchTheExactAlgorithmInView) {
    // Large radii: the rows out of view are skipped by computing where the
    // outline stands further on; the points in view must not change.
    for (auto [a, b] : std::vector<std::pair<int32_t, int32_t>>{
             {2000, 1500}, {1500, 2000}, {40000, 40000}, {300000, 5}, {5, 300000}, {1, 250000}, {250000, 1},
             {123457, 98765}, {-70000, 90000}, {90000, -70000}, {0, 80000}, {80000, 0}}) {
        auto ref = RefEllipse(-20, 35, a, b, false);
        int64_t ra = std::abs(int64_t{a}), rb = std::abs(int64_t{b});
        std::vector<Area> areas = Windows(-20, 35, ra, rb);
        // Windows along the outline, around the points where the slope is one.
        for (double angle = 0.05; angle < 1.6; angle += 0.13) {
            int64_t px = -20 + int64_t(ra * std::cos(angle)), py = 35 + int64_t(rb * std::sin(angle));
            areas.push_back(Area{px - 40, py - 30, px + 39, py + 29});
        }
        for (const Area& area : areas) {
            SCOPED_TRACE(std::to_string(a) + "x" + std::to_string(b) + " at " + std::to_string(area.left) + "," +
                         std::to_string(area.top));
            EXPECT_EQ(Record([&](auto& s) { graphics::RasterEllipse(s, -20, 35, a, b); }, area), Visible(ref, area));
        }
    }
}

TEST(DrawRaster, HugeShapesCostOnlyWhatIsVisible) {
    const Area view{-4, -4, 643, 483};
    const int32_t big = 1000000000, max = std::numeric_limits<int32_t>::max(), min = std::numeric_limits<int32_t>::min();
    auto start = std::chrono::steady_clock::now();
    std::size_t emitted = 0;
    auto run = [&](auto raster) { emitted += Record(raster, view).size(); };
    run([&](auto& s) { graphics::RasterCircle(s, 320, 240, big); });
    run([&](auto& s) { graphics::RasterCircle(s, 320, 240, max); });
    run([&](auto& s) { graphics::RasterFillCircle(s, 320, 240, big); });
    run([&](auto& s) { graphics::RasterFillCircle(s, 320, 240, max); });
    run([&](auto& s) { graphics::RasterFillCircle(s, min, min, max); });
    run([&](auto& s) { graphics::RasterEllipse(s, 320, 240, big, big); });
    run([&](auto& s) { graphics::RasterEllipse(s, 320, 240, max, max); });
    run([&](auto& s) { graphics::RasterEllipse(s, 320, 240 - big, big, big); });
    run([&](auto& s) { graphics::RasterEllipse(s, 0, 0, 65536, 65535); });
    run([&](auto& s) { graphics::RasterEllipse(s, 0, 0, 1, max); });
    run([&](auto& s) { graphics::RasterEllipse(s, min, max, max, min); });
    run([&](auto& s) { graphics::RasterFillEllipse(s, 320, 240, max, max); });
    run([&](auto& s) { graphics::RasterFillEllipse(s, 320, 240, 100000, 100000); });
    run([&](auto& s) { graphics::RasterFillTriangle(s, -2000000000, -2000000000, 2000000000, 0, 0, 2000000000); });
    run([&](auto& s) { graphics::RasterFillTriangle(s, min, min, max, max, 0, 1); });
    run([&](auto& s) { graphics::RasterFillTriangle(s, 0, -1000000000, 10, 1000000000, 640, 5); });
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(ms, 2000.0);  // an O(radius) loop would take minutes
    EXPECT_GT(emitted, 0u);
}

TEST(DrawRaster, HugeEllipseInViewLooksLikeAnEllipse) {
    // Radius 10^9 around a centre below the view: the arc crossing the view
    // is nearly flat and must cover every column once per half.
    const int32_t r = 1000000000;
    Area view{-4, -4, 643, 483};
    auto ops = Record([&](auto& s) { graphics::RasterEllipse(s, 320, r + 240, r, r); }, view);
    std::set<int32_t> columns;
    for (const Op& p : ops) {
        EXPECT_NEAR(p.y1, 239, 1) << p;  // top of the outline: y = centre − (r + 1)
        columns.insert(p.x1);
    }
    EXPECT_EQ(columns.size(), 648u);
}

// ---- far-off lines ----

// The visible area of an 80 x 60 target with 4 units to spare.
constexpr Area kView{-4, -4, 83, 63};

TEST(DrawRaster, SegmentsNearTheTargetPassUnchanged) {
    struct Case {
        int32_t x1, y1, x2, y2;
        SegmentFit fit;
    };
    for (Case c : {Case{0, 0, 79, 59, SegmentFit::Unchanged}, Case{-4 - 32768, -4 - 32768, 83 + 32768, 63 + 32768, SegmentFit::Unchanged},
                   Case{-4 - 32769, 10, 50, 10, SegmentFit::Clipped}, Case{10, 10, 10, 1000000, SegmentFit::Clipped},
                   Case{100, 0, 200, 50, SegmentFit::Outside}, Case{-2000000000, -5, 2000000000, -5, SegmentFit::Outside},
                   Case{-2000000000, 100000, 100000, -2000000000, SegmentFit::Outside}}) {
        int32_t x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
        EXPECT_EQ(graphics::FitSegment(kView, x1, y1, x2, y2), c.fit) << c.x1 << "," << c.y1;
        if (c.fit == SegmentFit::Unchanged) {
            EXPECT_TRUE(x1 == c.x1 && y1 == c.y1 && x2 == c.x2 && y2 == c.y2);
        }
    }
}

TEST(DrawRaster, FarSegmentsAreClippedOntoTheirOwnLine) {
    struct Case {
        int64_t x1, y1, x2, y2;
    };
    for (Case c : {Case{-2000000000, -2000000000, 2000000000, 2000000000}, Case{-2000000000, 30, 2000000000, 30},
                   Case{40, -2147483648, 40, 2147483647}, Case{-1000000000, 10, 1000000000, 50},
                   Case{2147483647, -2147483648, -2147483648, 2147483647}, Case{-100000, 70, 79, 59}}) {
        int32_t x1 = int32_t(c.x1), y1 = int32_t(c.y1), x2 = int32_t(c.x2), y2 = int32_t(c.y2);
        ASSERT_EQ(graphics::FitSegment(kView, x1, y1, x2, y2), SegmentFit::Clipped) << c.x1;
        // The ends lie on the view's border, on the original line, in the
        // original direction.
        for (auto [x, y] : {std::pair{x1, y1}, {x2, y2}}) {
            EXPECT_TRUE(x >= -4 && x <= 83 && y >= -4 && y <= 63) << x << "," << y;
            double cross = double(c.x2 - c.x1) * double(y - c.y1) - double(c.y2 - c.y1) * double(x - c.x1);
            double length = std::hypot(double(c.x2 - c.x1), double(c.y2 - c.y1));
            EXPECT_LT(std::abs(cross) / length, 0.75) << x << "," << y;
        }
        EXPECT_GE(double(x2 - x1) * double(c.x2 - c.x1) + double(y2 - y1) * double(c.y2 - c.y1), 0.0);
    }
}

// ---- on a renderer ----

class DrawTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        core::ResetEngine();
    }
    void TearDown() override {
        core::ResetEngine();
        EngineTest::TearDown();
    }
    // Pixels differing from black.
    static std::set<std::pair<int, int>> Lit(const Image& image) {
        std::set<std::pair<int, int>> lit;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                if (image.At(x, y) != Rgba(0, 0, 0)) lit.insert({x, y});
        return lit;
    }
    // The pixels an opaque sequence of points and straight lines covers.
    static std::set<std::pair<int, int>> Cover(const std::vector<Op>& ops, int w, int h) {
        std::set<std::pair<int, int>> lit;
        for (const Op& op : ops) {
            int x1 = std::min(op.x1, op.line ? op.x2 : op.x1), x2 = std::max(op.x1, op.line ? op.x2 : op.x1);
            int y1 = std::min(op.y1, op.line ? op.y2 : op.y1), y2 = std::max(op.y1, op.line ? op.y2 : op.y1);
            for (int y = std::max(y1, 0); y <= std::min(y2, h - 1); ++y)
                for (int x = std::max(x1, 0); x <= std::min(x2, w - 1); ++x) lit.insert({x, y});
        }
        return lit;
    }
    uint8_t Red(int x, int y) { return uint8_t(ReadPixels().At(x, y) >> 24); }
};

TEST_F(DrawTest, ColorTakesTheLow8BitsOfEachChannel) {
    OpenActiveWindow();
    LuaOk("color(256, -1, 300, 1000)");
    Uint8 r, g, b, a;
    SDL_GetRenderDrawColor(platform::ActiveRenderer(), &r, &g, &b, &a);
    EXPECT_EQ(std::vector<int>({r, g, b, a}), std::vector<int>({0, 255, 44, 232}));
    SDL_BlendMode mode;
    SDL_GetRenderDrawBlendMode(platform::ActiveRenderer(), &mode);
    EXPECT_EQ(mode, SDL_BLENDMODE_BLEND);
}

TEST_F(DrawTest, ClsFillsWithTheBackColourAndKeepsItAsDrawColour) {
    OpenActiveWindow();
    LuaOk("color(200, 0, 0, 255) backcolor(10, 20, 30, 255)");
    EXPECT_EQ(ReadPixels().At(5, 5), Rgba(0, 0, 0));  // backcolor draws nothing
    LuaOk("cls() fillrectangle(0, 0, 3, 3)");
    Image image = ReadPixels();
    EXPECT_EQ(image.At(79, 59), Rgba(10, 20, 30));
    Uint8 r, g, b, a;
    SDL_GetRenderDrawColor(platform::ActiveRenderer(), &r, &g, &b, &a);
    EXPECT_EQ(std::vector<int>({r, g, b, a}), std::vector<int>({10, 20, 30, 255}));
    LuaOk("backcolor(266, 20, 30, 255) clearwindow()");  // reduced when used
    EXPECT_EQ(ReadPixels().At(0, 0), Rgba(10, 20, 30));
    int32_t stored[4];
    graphics::GetBackColour(stored);
    EXPECT_EQ(stored[0], 266);
}

TEST_F(DrawTest, RasterisedShapesLightTheDocumentedPixels) {
    OpenActiveWindow(80, 60);
    struct Case {
        std::string call;
        std::vector<Op> ops;
    };
    for (const Case& c : {Case{"circle(40, 30, 20)", RefCircle(40, 30, 20)},
                          Case{"circle(5, 5, 30)", RefCircle(5, 5, 30)},
                          Case{"fillcircle(40, 30, 12)", RefFillCircle(40, 30, 12)},
                          Case{"fillcircle(75, 0, 40)", RefFillCircle(75, 0, 40)},
                          Case{"ellipse(40, 30, 30, 12)", RefEllipse(40, 30, 30, 12, true)},
                          Case{"fillellipse(40, 30, 25, 9)", RefFillEllipse(40, 30, 25, 9)},
                          Case{"filltriangle(3, 50, 70, 2, 40, 58)", RefFillTriangle(3, 50, 70, 2, 40, 58)},
                          Case{"filltriangle(-100, -100, 300, 30, -50, 200)", RefFillTriangle(-100, -100, 300, 30, -50, 200)}}) {
        SCOPED_TRACE(c.call);
        LuaOk("backcolor(0, 0, 0, 255) cls() color(255, 255, 255, 255) " + c.call);
        EXPECT_EQ(Lit(ReadPixels()), Cover(c.ops, 80, 60));
    }
}

TEST_F(DrawTest, TranslucentPointsPlottedTwiceBlendTwice) {
    OpenActiveWindow(80, 60);
    // Reference shades: a point blended once, twice, three times.
    LuaOk("cls() color(255, 255, 255, 128) dot(0, 0) dot(1, 0) dot(1, 0) dot(2, 0) dot(2, 0) dot(2, 0)"
          " ellipse(40, 30, 5, 3)");
    const uint8_t shade[4] = {0, Red(0, 0), Red(1, 0), Red(2, 0)};
    ASSERT_LT(shade[1], shade[2]);
    std::map<std::pair<int, int>, int> plotted;
    for (const Op& p : RefEllipse(40, 30, 5, 3, true)) ++plotted[{p.x1, p.y1}];
    EXPECT_EQ((plotted[{45, 30}]), 2);  // Y = 0: (x ± X, y) twice each
    EXPECT_EQ((plotted[{40, 33}]), 2);  // X = 0: (x, y ± Y) twice each
    for (const auto& [at, count] : plotted) {
        ASSERT_LE(count, 3);
        EXPECT_EQ(Red(at.first, at.second), shade[count]) << at.first << "," << at.second;
    }
    // fillcircle(x, y, 1): the four columns do not overlap.
    LuaOk("cls() color(255, 255, 255, 128) fillcircle(10, 10, 1)");
    for (auto [x, y] : {std::pair{8, 10}, {11, 10}, {9, 9}, {9, 11}, {10, 9}, {10, 11}}) EXPECT_EQ(Red(x, y), shade[1]);
}

TEST_F(DrawTest, PointsLinesAndRectanglesAreSingleRendererCalls) {
    OpenActiveWindow(80, 60);
    SDL_Renderer* renderer = platform::ActiveRenderer();
    // Each script call must give exactly the pixels of the same SDL call,
    // negative and zero sizes included.
    struct Case {
        std::string call;
        std::function<void()> direct;
    };
    auto rect = [](int x, int y, int w, int h) { return SDL_Rect{x, y, w, h}; };
    for (const Case& c : std::vector<Case>{
             {"dot(3, 4)", [&] { SDL_RenderDrawPoint(renderer, 3, 4); }},
             {"line(2, 3, 70, 41)", [&] { SDL_RenderDrawLine(renderer, 2, 3, 70, 41); }},
             {"line(-30000, 5, 32000, 50)", [&] { SDL_RenderDrawLine(renderer, -30000, 5, 32000, 50); }},
             {"rectangle(5, 6, 20, 10)", [&] { SDL_Rect r = rect(5, 6, 20, 10); SDL_RenderDrawRect(renderer, &r); }},
             {"rectangle(30, 30, -7, -5)", [&] { SDL_Rect r = rect(30, 30, -7, -5); SDL_RenderDrawRect(renderer, &r); }},
             {"fillrectangle(5, 6, 20, 10)", [&] { SDL_Rect r = rect(5, 6, 20, 10); SDL_RenderFillRect(renderer, &r); }},
             {"fillrectangle(9, 9, 0, 0)", [&] { SDL_Rect r = rect(9, 9, 0, 0); SDL_RenderFillRect(renderer, &r); }},
             {"triangle(1, 1, 70, 20, 30, 55)", [&] {
                  SDL_RenderDrawLine(renderer, 1, 1, 70, 20);
                  SDL_RenderDrawLine(renderer, 70, 20, 30, 55);
                  SDL_RenderDrawLine(renderer, 30, 55, 1, 1);
              }}}) {
        SCOPED_TRACE(c.call);
        LuaOk("cls() color(255, 255, 255, 100) " + c.call);
        Image scripted = ReadPixels();
        LuaOk("cls() color(255, 255, 255, 100)");
        c.direct();
        EXPECT_EQ(scripted.pixels, ReadPixels().pixels);
    }
}

TEST_F(DrawTest, FarOffLinesReturnPromptlyAndKeepTheirVisiblePart) {
    OpenActiveWindow(80, 60);
    auto start = std::chrono::steady_clock::now();
    LuaOk("cls() color(255, 255, 255, 255) line(-2000000000, -2000000000, 2000000000, 2000000000)");
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(ms, 500.0);  // unclipped, the software renderer makes 3·10^8 points
    auto far = Lit(ReadPixels());
    LuaOk("cls() color(255, 255, 255, 255) line(0, 0, 79, 79)");
    EXPECT_EQ(far, Lit(ReadPixels()));
    // Axis-aligned far lines clip exactly; triangles' outlines are lines too.
    LuaOk("cls() color(255, 255, 255, 255) line(-2147483648, 7, 2147483647, 7) triangle(10, -2000000000, 10, 2000000000, 2000000000, 0)");
    auto lit = Lit(ReadPixels());
    for (int x = 0; x < 80; ++x) EXPECT_TRUE(lit.count({x, 7})) << x;
    for (int y = 0; y < 60; ++y) EXPECT_TRUE(lit.count({10, y})) << y;
}

TEST_F(DrawTest, HugeShapesOnTheRendererReturnPromptly) {
    OpenActiveWindow(80, 60);
    auto start = std::chrono::steady_clock::now();
    LuaOk("color(255, 255, 255, 255) fillcircle(40, 30, 1000000000) circle(40, 30, 2147483647)"
          " ellipse(40, 30, 2000000000, 1999999999) fillellipse(40, 30, 2147483647, 2147483647)"
          " filltriangle(-2000000000, -2000000000, 2000000000, 0, 0, 2000000000)");
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(ms, 1000.0);
}

TEST_F(DrawTest, CullingFollowsTheVirtualSize) {
    // A logical size of 40 x 30 on an 80 x 60 window: drawing coordinates are
    // logical, and shapes reaching past the logical edge still show in full.
    OpenActiveWindow(80, 60);
    LuaOk("setvirtualsize(40, 30) cls() color(255, 255, 255, 255) fillcircle(35, 15, 10)");
    Image culled = ReadPixels();
    LuaOk("cls() color(255, 255, 255, 255)");
    SDL_Renderer* renderer = platform::ActiveRenderer();
    for (const Op& op : RefFillCircle(35, 15, 10)) SDL_RenderDrawLine(renderer, op.x1, op.y1, op.x2, op.y2);
    EXPECT_EQ(culled.pixels, ReadPixels().pixels);
}

TEST_F(DrawTest, CullingFollowsScaledAndMirroredVirtualSizes) {
    // Below a scale of one the platform truncates scaled coordinates toward
    // zero, so points a few units before the edge still land on its first
    // pixel; a negative virtual size mirrors the axes. Shapes around the edges
    // must blend exactly as their documented points and lines do.
    OpenActiveWindow(80, 60);
    SDL_Renderer* renderer = platform::ActiveRenderer();
    struct Size {
        int w, h;
    };
    for (Size size : {Size{40, 30}, Size{800, 600}, Size{100, 30}, Size{-80, -60}, Size{-800, -600}, Size{-40, 30}}) {
        const int W = std::abs(size.w), H = std::abs(size.h), sx = size.w < 0 ? -1 : 1, sy = size.h < 0 ? -1 : 1;
        const int r = (W + 79) / 80;  // logical units per pixel, rounded up
        std::vector<Op> ops;
        std::string calls;
        auto shape = [&](const std::string& name, std::vector<int32_t> args, std::vector<Op> ref) {
            calls += name + "(";
            for (std::size_t i = 0; i < args.size(); ++i) calls += (i ? "," : "") + std::to_string(args[i]);
            calls += ") ";
            ops.insert(ops.end(), ref.begin(), ref.end());
        };
        auto X = [&](int v) { return sx * v; };
        auto Y = [&](int v) { return sy * v; };
        shape("circle", {X(-r - 2), Y(H / 2), r + 1}, RefCircle(X(-r - 2), Y(H / 2), r + 1));
        shape("fillcircle", {X(W / 2), Y(-r - 1), r}, RefFillCircle(X(W / 2), Y(-r - 1), r));
        shape("ellipse", {X(-r), Y(-r), r + 2, r + 1}, RefEllipse(X(-r), Y(-r), r + 2, r + 1, true));
        shape("fillellipse", {X(W - 1 + r), Y(H / 3), r + 2, 2}, RefFillEllipse(X(W - 1 + r), Y(H / 3), r + 2, 2));
        shape("filltriangle", {X(-2 * r), Y(5), X(-1), Y(H / 2), X(-r), Y(H - 3)},
              RefFillTriangle(X(-2 * r), Y(5), X(-1), Y(H / 2), X(-r), Y(H - 3)));
        SCOPED_TRACE(std::to_string(size.w) + "x" + std::to_string(size.h) + ": " + calls);

        auto read = [&] {
            SDL_RenderSetLogicalSize(renderer, 0, 0);  // read the whole window
            Image image = ReadPixels();
            SDL_RenderSetLogicalSize(renderer, size.w, size.h);
            return image;
        };
        LuaOk("setvirtualsize(" + std::to_string(size.w) + ", " + std::to_string(size.h) + ")");
        LuaOk("cls() color(255, 255, 255, 60) " + calls);
        Image culled = read();
        LuaOk("cls() color(255, 255, 255, 60)");
        for (const Op& op : ops) {
            if (op.line) SDL_RenderDrawLine(renderer, op.x1, op.y1, op.x2, op.y2);
            else SDL_RenderDrawPoint(renderer, op.x1, op.y1);
        }
        Image direct = read();
        EXPECT_EQ(culled.pixels, direct.pixels);
        EXPECT_FALSE(Lit(direct).empty() && size.w > 0);
    }
}

TEST_F(DrawTest, DrawingWithoutAnActiveWindowDoesNothing) {
    LuaOk("color(1, 2, 3, 4) backcolor(1, 2, 3, 4) cls() clearwindow() dot(1, 1) line(0, 0, 5, 5)"
          " rectangle(0, 0, 5, 5) fillrectangle(0, 0, 5, 5) circle(5, 5, 5) fillcircle(5, 5, 5)"
          " ellipse(5, 5, 3, 2) fillellipse(5, 5, 3, 2) triangle(0, 0, 5, 0, 0, 5) filltriangle(0, 0, 5, 0, 0, 5)");
    OpenActiveWindow();  // opened but not made active: still nothing
    graphics::SetActiveWindow(0);
    LuaOk("color(255, 255, 255, 255) fillrectangle(0, 0, 5, 5)");
}

TEST_F(DrawTest, WrongArgumentCountsRaiseTheUsageMessages) {
    EXPECT_EQ(Lua("circle(1, 2)"), "test:1: Usage: circle (x,y,radius)");
    EXPECT_EQ(Lua("color(1, 2, 3)"), "test:1: Usage: color (r,g,b,alpha)");
    EXPECT_EQ(Lua("filltriangle(1, 2, 3, 4, 5, 6, 7)"), "test:1: Usage: filltriangle (x1,y1,x2,y2,x3,y3)");
    EXPECT_EQ(Lua("cls(1, 2, 3)"), "");  // no parameters: extra arguments ignored
}

TEST(DrawScript, SavedFrameShowsTheShapes) {
    TempDir dir;
    RunOptions options;
    options.saveFrames = true;
    RunResult result = RunScript(dir,
                                 "local w = openwindow('t', 0, 0, 64, 48) setactivewindow(w)\n"
                                 "backcolor(0, 0, 64, 255) cls() color(255, 0, 0, 255) fillcircle(20, 20, 5)\n"
                                 "color(0, 255, 0, 255) circle(45, 20, 8) redraw()\n",
                                 options);
    ASSERT_EQ(result.status, 0) << result.err;
    auto frames = SavedFrames(dir.path());
    ASSERT_FALSE(frames.empty());
    Image frame = LoadBmp(frames.back());
    EXPECT_EQ(frame.At(0, 0), Rgba(0, 0, 64));
    EXPECT_EQ(frame.At(20, 20), Rgba(255, 0, 0));
    EXPECT_EQ(frame.At(14, 20), Rgba(255, 0, 0));  // x − r − 1
    EXPECT_EQ(frame.At(26, 20), Rgba(0, 0, 64));
    EXPECT_EQ(frame.At(45, 28), Rgba(0, 255, 0));
    EXPECT_EQ(frame.At(45, 20), Rgba(0, 0, 64));
}

}  // namespace
}  // namespace vorlune::test
