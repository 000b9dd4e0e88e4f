#include "graphics/raster.hpp"
#include "util/convert.hpp"
#include "util/wrap.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace vorlune::graphics {
namespace {

// Division truncating toward zero; b is never 0. INT32_MIN / -1 wraps to INT32_MIN.
int32_t Div(int32_t a, int32_t b) { return b == -1 ? util::WrapSub(0, a) : a / b; }

constexpr int64_t kWrap = int64_t{1} << 32;

bool Inside(const Area& area, int64_t x, int64_t y) {
    return x >= area.left && x <= area.right && y >= area.top && y <= area.bottom;
}

void Plot(PlotSink& sink, int64_t x, int64_t y) {
    if (Inside(sink.visible, x, y)) sink.Point(static_cast<int32_t>(x), static_cast<int32_t>(y));
}

void EmitLine(PlotSink& sink, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const Area& a = sink.visible;
    if (std::max(x1, x2) < a.left || std::min(x1, x2) > a.right || std::max(y1, y2) < a.top ||
        std::min(y1, y2) > a.bottom) {
        return;
    }
    sink.Line(x1, y1, x2, y2);
}

// A sorted set of disjoint index ranges: the loop indices that can draw
// something visible.
class IndexSet {
public:
    // Adds the t in [t0, t1] for which the coordinate c + sign * t lies in
    // [lo, hi]; with wrap, the coordinate is taken modulo 2^32 as a signed
    // 32-bit value, so it can come back into view from the other side.
    void AddVisible(int64_t c, int sign, int64_t t0, int64_t t1, int64_t lo, int64_t hi, bool wrap) {
        if (t0 > t1 || lo > hi) return;
        for (int64_t k = wrap ? -2 : 0; k <= (wrap ? 2 : 0); ++k) {
            int64_t vlo = lo + k * kWrap, vhi = hi + k * kWrap;
            if (sign > 0) Add(std::max(t0, vlo - c), std::min(t1, vhi - c));
            else Add(std::max(t0, c - vhi), std::min(t1, c - vlo));
        }
    }

    // Sorts the ranges and merges those that overlap or touch.
    void Normalize() {
        std::sort(spans_.begin(), spans_.begin() + count_, [](const Span& p, const Span& q) { return p.lo < q.lo; });
        int merged = 0;
        for (int i = 0; i < count_; ++i) {
            if (merged > 0 && spans_[i].lo <= spans_[merged - 1].hi + 1) {
                spans_[merged - 1].hi = std::max(spans_[merged - 1].hi, spans_[i].hi);
            } else {
                spans_[merged++] = spans_[i];
            }
        }
        count_ = merged;
    }

    bool Contains(int64_t t) const {
        for (int i = 0; i < count_; ++i) {
            if (t >= spans_[i].lo && t <= spans_[i].hi) return true;
        }
        return false;
    }

    // The smallest member above t, or INT64_MAX.
    int64_t NextAfter(int64_t t) const {
        for (int i = 0; i < count_; ++i) {
            if (spans_[i].hi > t) return std::max(spans_[i].lo, t + 1);
        }
        return std::numeric_limits<int64_t>::max();
    }

    template <typename F>
    void ForEachAscending(F f) const {
        for (int i = 0; i < count_; ++i) {
            for (int64_t t = spans_[i].lo; t <= spans_[i].hi; ++t) f(t);
        }
    }

    template <typename F>
    void ForEachDescending(F f) const {
        for (int i = count_ - 1; i >= 0; --i) {
            for (int64_t t = spans_[i].hi; t >= spans_[i].lo; --t) f(t);
        }
    }

private:
    struct Span {
        int64_t lo, hi;
    };

    void Add(int64_t lo, int64_t hi) {
        // At most four coordinates, each meeting the area in at most three
        // of its wrapped copies, are ever added: the array cannot fill up.
        if (lo <= hi && count_ < static_cast<int>(spans_.size())) spans_[count_++] = Span{lo, hi};
    }

    std::array<Span, 16> spans_{};
    int count_ = 0;
};

// Full 128-bit product of two unsigned 64-bit values, for exact comparisons.
struct Wide {
    uint64_t hi, lo;
};

Wide MulWide(uint64_t a, uint64_t b) {
    const uint64_t mask = 0xFFFFFFFFu;
    uint64_t a0 = a & mask, a1 = a >> 32, b0 = b & mask, b1 = b >> 32;
    uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    uint64_t mid = (p00 >> 32) + (p01 & mask) + (p10 & mask);
    return Wide{p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32), (mid << 32) | (p00 & mask)};
}

bool Less(const Wide& p, const Wide& q) { return p.hi < q.hi || (p.hi == q.hi && p.lo < q.lo); }

// One of the two regions of the outline ellipse, in coordinates (u, v): u
// starts at the radius `lead` and steps down by at most one per pass, v starts
// at 0 and steps up by one per pass. The integer error term always equals
// F(u, v) = B²u² + A²v² − A²B² at the current point (A = lead, B = other), so
//   the loop goes on while   B²·u ≥ A²·v
//   u steps down when        F(u, v) + F(u − 1, v) > 0  ⟺  B²·(2u² − 2u + 1) > 2A²·(B² − v²).
// The first region has (u, v) = (X, Y), A = xradius, B = yradius; the second
// has (u, v) = (Y, X) and the radii swapped.
class EllipseRegion {
public:
    EllipseRegion(int64_t lead, int64_t other, bool swapped)
        : a_(lead), b_(other < 0 ? -other : other), swapped_(swapped),
          aa_(static_cast<uint64_t>(lead < 0 ? -lead : lead) * static_cast<uint64_t>(lead < 0 ? -lead : lead)),
          bb_(static_cast<uint64_t>(b_) * static_cast<uint64_t>(b_)) {}

    void Run(PlotSink& sink, int32_t x, int32_t y) const {
        const Area& area = sink.visible;
        // Rows whose points can show: the coordinate along v is x ± v or y ± v.
        IndexSet rows;
        const int64_t vMax = std::numeric_limits<int64_t>::max() / 4;
        if (swapped_) {
            rows.AddVisible(x, +1, 0, vMax, area.left, area.right, false);
            rows.AddVisible(x, -1, 0, vMax, area.left, area.right, false);
        } else {
            rows.AddVisible(y, +1, 0, vMax, area.top, area.bottom, false);
            rows.AddVisible(y, -1, 0, vMax, area.top, area.bottom, false);
        }
        rows.Normalize();

        // Rows outside the view are skipped by computing where u stands
        // further on; that is exact only in the stretch that SafeEnd finds.
        const bool jumps = a_ >= 1 && bb_ > 0;
        const int64_t safeEnd = jumps ? SafeEnd() : 0;

        int64_t u = a_, v = 0;
        while (Continues(u, v)) {
            if (jumps && v + 1 < safeEnd && !rows.Contains(v)) {
                int64_t target = std::min(rows.NextAfter(v), safeEnd - 1);
                int64_t ut = IdealU(target);
                if (!Continues(ut, target)) {
                    // The loop ends before the target: find the row where it does.
                    int64_t lo = v, hi = target;
                    while (hi - lo > 1) {
                        int64_t mid = lo + (hi - lo) / 2;
                        if (Continues(IdealU(mid), mid)) lo = mid;
                        else hi = mid;
                    }
                    target = hi;
                    ut = IdealU(hi);
                }
                u = ut;
                v = target;
                continue;
            }
            int64_t px = swapped_ ? v : u, py = swapped_ ? u : v;
            Plot(sink, x + px, y + py);
            Plot(sink, x - px, y + py);
            Plot(sink, x - px, y - py);
            Plot(sink, x + px, y - py);
            ++v;
            if (StepsDown(u, v)) --u;
        }
    }

private:
    // B²·u ≥ A²·v (v is never negative).
    bool Continues(int64_t u, int64_t v) const {
        if (u < 0) return bb_ == 0 && (aa_ == 0 || v == 0);
        return !Less(MulWide(bb_, static_cast<uint64_t>(u)), MulWide(aa_, static_cast<uint64_t>(v)));
    }

    // B²·(2u² − 2u + 1) > 2A²·(B² − v²).
    bool StepsDown(int64_t u, int64_t v) const {
        uint64_t m = static_cast<uint64_t>(u < 0 ? -u : u);
        // 2u² − 2u + 1 = 2|u|(|u| ∓ 1) + 1, below 2^64 for |u| ≤ 2^31 + 2.
        uint64_t p = u == 0 ? 1 : 2 * m * (u > 0 ? m - 1 : m + 1) + 1;
        int64_t q = static_cast<int64_t>(bb_) - v * v;
        if (q <= 0) return bb_ > 0 || (aa_ > 0 && q < 0);
        return Less(MulWide(2 * aa_, static_cast<uint64_t>(q)), MulWide(bb_, p));
    }

    // q(v) = A²(B² − v²)/B² − 1/4. Where q ≥ 0 the ideal u of row v is
    // floor(h(v)) with h(v) = 1/2 + √q(v), a concave function of v.
    long double Q(int64_t v) const {
        long double d = static_cast<long double>(b_ - v) * static_cast<long double>(b_ + v);
        return static_cast<long double>(aa_) * d / static_cast<long double>(bb_) - 0.25L;
    }

    // While h drops by less than one per row, the step decisions keep
    // u at floor(h(v)): each step down is then a step of exactly one. The
    // drop grows with v (h is concave), so the rows 0 .. SafeEnd() − 1 where
    // it stays below 1 − 10⁻⁶ (well clear of rounding) form a prefix.
    int64_t SafeEnd() const {
        auto unsafe = [this](int64_t v) {
            long double q0 = Q(v - 1), q1 = Q(v);
            if (q1 < 0) return true;
            long double drop = static_cast<long double>(aa_) * static_cast<long double>(2 * v - 1) /
                               static_cast<long double>(bb_) / (std::sqrt(q0) + std::sqrt(q1));
            return !(drop < 1.0L - 1e-6L);
        };
        if (unsafe(1)) return 1;
        int64_t lo = 1, hi = b_ + 1;  // unsafe(b + 1) holds: q(b + 1) < 0
        while (hi - lo > 1) {
            int64_t mid = lo + (hi - lo) / 2;
            if (unsafe(mid)) hi = mid;
            else lo = mid;
        }
        return hi;
    }

    // The u the step-by-step loop holds at row v inside the safe stretch: the
    // largest u in 1 .. A that does not step down, or 0 when every u would.
    int64_t IdealU(int64_t v) const {
        long double q = Q(v);
        int64_t u = q > 0 ? static_cast<int64_t>(std::floor(0.5L + std::sqrt(q))) : 0;
        u = std::clamp<int64_t>(u, 0, a_);
        while (u < a_ && !StepsDown(u + 1, v)) ++u;
        while (u > 0 && StepsDown(u, v)) --u;
        return u;
    }

    int64_t a_, b_;       // lead radius (signed) and |other radius|
    bool swapped_;
    uint64_t aa_, bb_;    // A², B²
};

}  // namespace

int32_t RoundEven(double v) { return util::RoundEvenOrIndefinite(v); }

void RasterCircle(PlotSink& sink, int32_t x, int32_t y, int32_t r) {
    if (r == 0) r = 1;
    const int32_t s = util::WrapMul(r, r);
    Plot(sink, x, util::WrapAdd(y, r));
    Plot(sink, x, util::WrapSub(y, r));
    Plot(sink, util::WrapAdd(x, r), y);
    Plot(sink, util::WrapSub(x, r), y);

    auto rowOf = [s](int32_t i) { return RoundEven(std::sqrt(static_cast<double>(util::WrapSub(s, util::WrapMul(i, i)))) + 0.5); };
    // The loop runs while i < j(i). A negative s ends it at once. Otherwise
    // j(i) ≤ 46341 keeps i below 32770, where s − i·i cannot wrap, and j never
    // grows with i: the end is found by bisection.
    int32_t end = 1;
    if (1 < rowOf(1)) {
        int32_t lo = 1, hi = 32770;  // lo < rowOf(lo), hi ≥ rowOf(hi)
        while (hi - lo > 1) {
            int32_t mid = lo + (hi - lo) / 2;
            if (mid < rowOf(mid)) lo = mid;
            else hi = mid;
        }
        end = hi;
    }

    // Each pass plots (x ± i, y ± j) and (x ± j, y ± i): one of x ± i, y ± i
    // must be in view for any of them to show.
    const Area& area = sink.visible;
    IndexSet steps;
    steps.AddVisible(x, +1, 1, end - 1, area.left, area.right, true);
    steps.AddVisible(x, -1, 1, end - 1, area.left, area.right, true);
    steps.AddVisible(y, +1, 1, end - 1, area.top, area.bottom, true);
    steps.AddVisible(y, -1, 1, end - 1, area.top, area.bottom, true);
    steps.Normalize();
    steps.ForEachAscending([&](int64_t t) {
        const int32_t i = static_cast<int32_t>(t), j = rowOf(i);
        Plot(sink, util::WrapAdd(x, i), util::WrapAdd(y, j));
        Plot(sink, util::WrapAdd(x, i), util::WrapSub(y, j));
        Plot(sink, util::WrapSub(x, i), util::WrapAdd(y, j));
        Plot(sink, util::WrapSub(x, i), util::WrapSub(y, j));
        Plot(sink, util::WrapAdd(x, j), util::WrapAdd(y, i));
        Plot(sink, util::WrapAdd(x, j), util::WrapSub(y, i));
        Plot(sink, util::WrapSub(x, j), util::WrapAdd(y, i));
        Plot(sink, util::WrapSub(x, j), util::WrapSub(y, i));
    });
    if (end == rowOf(end)) {
        Plot(sink, util::WrapAdd(x, end), util::WrapAdd(y, end));
        Plot(sink, util::WrapAdd(x, end), util::WrapSub(y, end));
        Plot(sink, util::WrapSub(x, end), util::WrapAdd(y, end));
        Plot(sink, util::WrapSub(x, end), util::WrapSub(y, end));
    }
}

void RasterFillCircle(PlotSink& sink, int32_t x, int32_t y, int32_t r) {
    if (r == 0) r = 1;
    if (r < 0) return;
    const int32_t s = util::WrapMul(r, r);
    // Column n draws at x − n − 1 and x + n.
    const Area& area = sink.visible;
    IndexSet columns;
    columns.AddVisible(int64_t{x} - 1, -1, 0, r, area.left, area.right, true);
    columns.AddVisible(x, +1, 0, r, area.left, area.right, true);
    columns.Normalize();
    columns.ForEachDescending([&](int64_t t) {
        const int32_t n = static_cast<int32_t>(t);
        const int32_t d = RoundEven(std::sqrt(static_cast<double>(util::WrapSub(s, util::WrapMul(n, n)))));
        const int32_t left = util::WrapSub(util::WrapSub(x, n), 1), right = util::WrapAdd(x, n);
        EmitLine(sink, left, util::WrapSub(y, d), left, util::WrapAdd(y, d));
        EmitLine(sink, right, util::WrapSub(y, d), right, util::WrapAdd(y, d));
    });
}

// The integer midpoint walk over both regions, with the error terms computed exactly: in
// 32 bits they overflow for radii as small as 1000 (2e exceeds 2^31) and the
// outline then strays by dozens of pixels, and for larger radii the loops can
// even run forever. Wherever the 32-bit terms fit, the points are the same.
void RasterEllipse(PlotSink& sink, int32_t x, int32_t y, int32_t a, int32_t b) {
    int64_t xr = a, yr = b;
    if (xr == yr) yr = yr + 1;
    EllipseRegion(xr, yr, false).Run(sink, x, y);
    EllipseRegion(yr, xr, true).Run(sink, x, y);
}

void RasterFillEllipse(PlotSink& sink, int32_t x, int32_t y, int32_t a, int32_t b) {
    if (a < 0 || b < 0) return;
    const int32_t aa = util::WrapMul(a, a), bb = util::WrapMul(b, b), limit = util::WrapMul(aa, bb);
    const Area& area = sink.visible;
    IndexSet rows, columns;
    rows.AddVisible(y, +1, -int64_t{b}, b, area.top, area.bottom, true);
    columns.AddVisible(x, +1, -int64_t{a}, a, area.left, area.right, true);
    rows.Normalize();
    columns.Normalize();
    rows.ForEachAscending([&](int64_t ty) {
        const int32_t Y = static_cast<int32_t>(ty);
        const int32_t yy = util::WrapMul(util::WrapMul(Y, Y), aa);
        columns.ForEachAscending([&](int64_t tx) {
            const int32_t X = static_cast<int32_t>(tx);
            if (util::WrapAdd(util::WrapMul(util::WrapMul(X, X), bb), yy) <= limit) Plot(sink, util::WrapAdd(x, X), util::WrapAdd(y, Y));
        });
    });
}

void RasterFillTriangle(PlotSink& sink, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3) {
    if (y1 == y2) y2 = util::WrapAdd(y2, 1);
    if (y1 == y3) y3 = util::WrapAdd(y3, 1);
    if (y3 == y2) y2 = util::WrapAdd(y2, 1);
    if (y1 == y2 || y1 == y3 || y3 == y2) return;

    struct Vertex {
        int32_t x, y;
    };
    std::array<Vertex, 3> v{{{x1, y1}, {x2, y2}, {x3, y3}}};
    std::sort(v.begin(), v.end(), [](const Vertex& p, const Vertex& q) { return p.y < q.y; });
    const Vertex t = v[0], m = v[1], b = v[2];

    const int32_t dxMT = util::WrapSub(t.x, m.x), dyMT = util::WrapSub(t.y, m.y);
    const int32_t dxBM = util::WrapSub(m.x, b.x), dyBM = util::WrapSub(m.y, b.y);
    const int32_t dxBT = util::WrapSub(t.x, b.x), dyBT = util::WrapSub(t.y, b.y);
    const int32_t middle = util::WrapSub(m.y, t.y);

    // Middle line.
    {
        const int32_t left = m.x, right = util::WrapAdd(t.x, Div(util::WrapMul(middle, dxBT), dyBT));
        if (left < right) EmitLine(sink, left, m.y, right, m.y);
        else EmitLine(sink, right, m.y, left, m.y);
    }

    // Scan line j lies at yT + j; only those in view are computed.
    const Area& area = sink.visible;
    auto scan = [&](int64_t j0, int64_t j1, int32_t dxLower, int32_t dyLower) {
        IndexSet rows;
        rows.AddVisible(t.y, +1, j0, j1, area.top, area.bottom, true);
        rows.Normalize();
        rows.ForEachAscending([&](int64_t tj) {
            const int32_t j = static_cast<int32_t>(tj);
            const int32_t left = util::WrapAdd(m.x, Div(util::WrapMul(util::WrapAdd(dyMT, j), dxLower), dyLower));
            const int32_t right = util::WrapAdd(t.x, Div(util::WrapMul(j, dxBT), dyBT));
            const int32_t row = util::WrapAdd(t.y, j);
            EmitLine(sink, left, row, right, row);
        });
    };
    scan(0, util::WrapSub(middle, 1), dxMT, dyMT);                 // upper part
    scan(util::WrapAdd(middle, 1), util::WrapSub(b.y, t.y), dxBM, dyBM);     // lower part
}

SegmentFit FitSegment(const Area& view, int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2) {
    if (std::max(x1, x2) < view.left || std::min(x1, x2) > view.right || std::max(y1, y2) < view.top ||
        std::min(y1, y2) > view.bottom) {
        return SegmentFit::Outside;
    }
    const Area nearby{view.left - kFarLimit, view.top - kFarLimit, view.right + kFarLimit, view.bottom + kFarLimit};
    if (Inside(nearby, x1, y1) && Inside(nearby, x2, y2)) return SegmentFit::Unchanged;

    // Liang-Barsky: the part of x1 + t·dx, y1 + t·dy (0 ≤ t ≤ 1) inside view.
    const long double dx = static_cast<long double>(x2) - x1, dy = static_cast<long double>(y2) - y1;
    const long double p[4] = {-dx, dx, -dy, dy};
    const long double q[4] = {static_cast<long double>(x1) - view.left, static_cast<long double>(view.right) - x1,
                              static_cast<long double>(y1) - view.top, static_cast<long double>(view.bottom) - y1};
    long double t0 = 0, t1 = 1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return SegmentFit::Outside;
        } else {
            long double ratio = q[i] / p[i];
            if (p[i] < 0) t0 = std::max(t0, ratio);
            else t1 = std::min(t1, ratio);
        }
    }
    if (t0 > t1) return SegmentFit::Outside;
    auto at = [](int32_t start, long double delta, long double t, int64_t lo, int64_t hi) {
        return static_cast<int32_t>(std::clamp<int64_t>(std::llround(start + t * delta), lo, hi));
    };
    const int32_t nx1 = at(x1, dx, t0, view.left, view.right), ny1 = at(y1, dy, t0, view.top, view.bottom);
    const int32_t nx2 = at(x1, dx, t1, view.left, view.right), ny2 = at(y1, dy, t1, view.top, view.bottom);
    x1 = nx1;
    y1 = ny1;
    x2 = nx2;
    y2 = ny2;
    return SegmentFit::Clipped;
}

}  // namespace vorlune::graphics
