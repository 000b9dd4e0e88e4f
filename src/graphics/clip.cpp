#include "graphics/clip.hpp"

#include <algorithm>
#include <climits>
#include <cmath>

namespace vorlune::graphics {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kIntLimit = 2147483647.0;

// The output pixels [low, high] that drawing coordinates [a, b] can reach on
// one axis, widened by what the renderer's rounding can add: two drawing
// units, two pixels and a float's relative error on the coordinates.
bool AxisMeets(double a, double b, double scale, double offset, int out) {
    const double s = std::fabs(scale);
    const double slack = 2 * s + 2 + 1e-6 * (std::fabs(a) + std::fabs(b)) * s;
    double low = a * scale + offset, high = b * scale + offset;
    if (low > high) std::swap(low, high);
    return high + slack >= 0 && low - slack <= out;
}

// What the renderer makes of one coordinate: converted to float, multiplied
// by the float scale, truncated toward zero (returned as a double, so never
// out of range).
double Physical(double v, float scale) { return std::trunc(static_cast<double>(static_cast<float>(v) * scale)); }

// The renderer's rotation test: (int)(angle / 360) == angle / 360.
bool Rotates(double angle) { return std::trunc(angle / 360) != angle / 360; }

}  // namespace

bool FiniteCopy(double xscale, double yscale, double angle) {
    return std::isfinite(xscale) && std::isfinite(yscale) && std::isfinite(angle);
}

CopyPlan PlanCopy(const Target& target, const Copy& copy) {
    CopyPlan plan;
    plan.angle = std::fabs(copy.angle) >= 1e9 ? std::fmod(copy.angle, 360.0) : copy.angle;
    const bool exact = !copy.flipped && !Rotates(plan.angle);
    // An unrotated copy into an empty rectangle draws nothing.
    if (exact && (copy.w <= 0 || copy.h <= 0)) return plan;

    // Bounding box of the destination rotated about its centre.
    const double w = static_cast<double>(copy.w), h = static_cast<double>(copy.h);
    const double cx = static_cast<double>(copy.x) + w / 2, cy = static_cast<double>(copy.y) + h / 2;
    double ex = std::fabs(w) / 2, ey = std::fabs(h) / 2;
    if (!exact && target.software) {
        const double c = std::fabs(std::cos(plan.angle * kPi / 180)), s = std::fabs(std::sin(plan.angle * kPi / 180));
        ex = (std::fabs(w) * c + std::fabs(h) * s) / 2;
        ey = (std::fabs(w) * s + std::fabs(h) * c) / 2;
    } else if (!exact) {
        // A box that holds the copy at any angle: where the copy is only
        // tested against the output, the exact box is not worth its sine
        // and cosine.
        ex = ey = (std::fabs(w) + std::fabs(h)) / 2;
    }
    if (!AxisMeets(cx - ex, cx + ex, target.scaleX, target.offsetX, target.outW) ||
        !AxisMeets(cy - ey, cy + ey, target.scaleY, target.offsetY, target.outH)) {
        return plan;
    }
    if (target.software) {
        if (!exact) {
            // The turned picture (at most 2 * ex + 4 by 2 * ey + 4) is scaled
            // to the output with its size truncated: below one pixel it
            // leaves nothing, as under a virtual size of millions of units.
            if ((2 * ex + 4) * std::fabs(target.scaleX) < 1 || (2 * ey + 4) * std::fabs(target.scaleY) < 1) return plan;
            // Rotated or flipped: the whole destination is built (in drawing
            // units), then turned into a picture of its bounding box.
            const double box = (2 * ex + 2) * (2 * ey + 2);
            if (std::fabs(w) * std::fabs(h) > kMaxBuiltRotated || box > kMaxBuiltRotated) return plan;
        } else {
            const float sx = static_cast<float>(target.scaleX), sy = static_cast<float>(target.scaleY);
            const double px = Physical(static_cast<double>(copy.x), sx) + std::round(target.offsetX);
            const double py = Physical(static_cast<double>(copy.y), sy) + std::round(target.offsetY);
            const double pw = Physical(w, sx), ph = Physical(h, sy);
            if (std::max({std::fabs(px), std::fabs(py), std::fabs(px + pw), std::fabs(py + ph)}) > kIntLimit) return plan;
            // A destination truncated to no pixels draws nothing.
            if (pw == 0 || ph == 0) return plan;
            const bool scaled = pw != static_cast<double>(copy.sourceW) || ph != static_cast<double>(copy.sourceH);
            const bool crosses = px < 0 || py < 0 || px + pw > target.outW || py + ph > target.outH;
            // Scaled across the output's edge: the whole destination is built first.
            if (scaled && crosses && pw * ph > kMaxBuiltScaled) return plan;
        }
    }
    plan.draw = true;
    return plan;
}

namespace {

// One axis of FitFill: the float start and length whose truncated products
// give exactly the pixels `start` and `length`, or false.
bool Solve(double pixel, float scale, bool isLength, float& out) {
    float v = static_cast<float>(pixel / scale);
    for (int i = 0; i < 64; ++i) {
        double got = Physical(v, scale);
        if (isLength) got = std::max(got, 1.0);
        if (got == pixel) {
            out = v;
            return true;
        }
        // The product grows with v when the scale is positive.
        const bool up = (got < pixel) == (scale > 0);
        v = std::nextafter(v, up ? INFINITY : -INFINITY);
    }
    return false;
}

bool AxisInRange(double v, double size, float scale) {
    const double p = Physical(v, scale), len = std::max(Physical(size, scale), 1.0);
    return std::max({std::fabs(p), len, std::fabs(p + len)}) < (1 << 30);
}

// One axis: the pixels [p, p + length) the renderer fills, moved by the
// offset; cut to the output and two pixels beyond when out of range.
bool FitAxis(int32_t v, int32_t size, float scale, double offset, int out, float& start, float& length) {
    const double p = Physical(v, scale) + offset, len = std::max(Physical(size, scale), 1.0);
    if (p + len <= -2 || p >= out + 2) return false;
    if (AxisInRange(v, size, scale)) {
        start = static_cast<float>(v);
        length = static_cast<float>(size);
        return true;
    }
    const double low = std::max(p, -2.0), high = std::min(p + len, out + 2.0);
    return Solve(low - offset, scale, false, start) && Solve(high - low, scale, true, length);
}

}  // namespace

bool FillInRange(const Target& target, int64_t x, int64_t y, int64_t w, int64_t h) {
    return AxisInRange(static_cast<double>(x), static_cast<double>(w), static_cast<float>(target.scaleX)) &&
           AxisInRange(static_cast<double>(y), static_cast<double>(h), static_cast<float>(target.scaleY));
}

bool FitFill(const Target& target, int32_t x, int32_t y, int32_t w, int32_t h, FillBox& out) {
    const double ox = std::round(target.offsetX), oy = std::round(target.offsetY);
    return FitAxis(x, w, static_cast<float>(target.scaleX), ox, target.outW, out.x, out.w) &&
           FitAxis(y, h, static_cast<float>(target.scaleY), oy, target.outH, out.y, out.h);
}

namespace {

// The rectangle [v, v + size] lands on [v * scale, v * scale + d] with
// d = size * scale (the software renderer widens it to at least one pixel,
// the others extend it either way), shifted by the offset; it may show while
// that range reaches into the output widened by three pixels. The float
// products differ from the exact ones by far less than the slack added here.
Span FillSpan(double scale, double offset, int out, int32_t size, bool software) {
    constexpr Span kAll{INT32_MIN, INT32_MAX};
    const double d = static_cast<double>(size) * scale;
    const double dLow = software ? 0 : std::min(d, 0.0), dHigh = software ? std::max(d, 1.0) : std::max(d, 0.0);
    const double low = -3 - std::fabs(offset) - dHigh, high = out + 3 + std::fabs(offset) - dLow;
    const double slack = 1 + 1e-5 * std::max(std::fabs(low), std::fabs(high));
    if (!std::isfinite(low) || !std::isfinite(high) || std::fabs(scale) < 1e-12) return kAll;
    double a = (low - slack) / scale, b = (high + slack) / scale;
    if (a > b) std::swap(a, b);
    if (b < INT32_MIN || a > INT32_MAX) return Span{1, 0};  // empty
    return Span{static_cast<int64_t>(std::max(std::floor(a) - 1, double{INT32_MIN})),
                static_cast<int64_t>(std::min(std::ceil(b) + 1, double{INT32_MAX}))};
}

}  // namespace

Span FillSpanX(const Target& target, int32_t size) {
    return FillSpan(target.scaleX, target.offsetX, target.outW, size, target.software);
}

Span FillSpanY(const Target& target, int32_t size) {
    return FillSpan(target.scaleY, target.offsetY, target.outH, size, target.software);
}

bool GeometryEdges(const Target& target, int32_t x, int32_t y, int32_t w, int32_t h, FillBox& edges) {
    auto axis = [](int32_t v, int32_t size, double scale, double offset, int out, float& low, float& high) {
        const float s = static_cast<float>(scale);
        const float a = static_cast<float>(v) * s, b = a + static_cast<float>(size) * s;
        const double lo = std::min(a, b) + offset, hi = std::max(a, b) + offset;
        if (hi <= -2 || lo >= out + 2) return false;
        low = static_cast<float>(std::max(lo, -2.0));
        high = static_cast<float>(std::min(hi, out + 2.0));
        return true;
    };
    return axis(x, w, target.scaleX, target.offsetX, target.outW, edges.x, edges.w) &&
           axis(y, h, target.scaleY, target.offsetY, target.outH, edges.y, edges.h);
}

bool FitOutline(const Target& target, int32_t x, int32_t y, int32_t w, int32_t h, Outline& out) {
    out.x1 = static_cast<float>(x);
    out.y1 = static_cast<float>(y);
    out.x2 = out.x1 + static_cast<float>(w) - 1;
    out.y2 = out.y1 + static_cast<float>(h) - 1;
    const double limit = 1 << 29;
    auto near = [limit](float a, float b, double scale) {
        return std::fabs(a * scale) < limit && std::fabs(b * scale) < limit;
    };
    if (near(out.x1, out.x2, target.scaleX) && near(out.y1, out.y2, target.scaleY)) return true;
    // Wholly outside: nothing shows, whatever the scale.
    if (!AxisMeets(std::min(out.x1, out.x2), std::max(out.x1, out.x2) + 1, target.scaleX, target.offsetX, target.outW) ||
        !AxisMeets(std::min(out.y1, out.y2), std::max(out.y1, out.y2) + 1, target.scaleY, target.offsetY, target.outH)) {
        return false;
    }
    if (target.scaleX != 1 || target.scaleY != 1) return false;
    auto clamp = [](float v, double offset, int size) {
        return static_cast<float>(std::clamp<double>(v, -2 - offset, size + 1 - offset));
    };
    out.x1 = clamp(out.x1, std::round(target.offsetX), target.outW);
    out.x2 = clamp(out.x2, std::round(target.offsetX), target.outW);
    out.y1 = clamp(out.y1, std::round(target.offsetY), target.outH);
    out.y2 = clamp(out.y2, std::round(target.offsetY), target.outH);
    return true;
}

}  // namespace vorlune::graphics
