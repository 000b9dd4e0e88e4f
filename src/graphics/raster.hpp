// Rasterisers of the drawing primitives, free of SDL.
//
// Each rasteriser emits the points and lines of its shape to a PlotSink in a
// fixed order, repetitions included: with a translucent colour the order and
// the repetitions decide the result, so they are part of each shape. Work wholly outside the sink's
// visible area is skipped: points there are not emitted, lines only when
// their bounding box meets the area, and the loops visit only the indices
// that can produce something visible, so the cost follows the visible area,
// not the radius or the coordinates.
//
// Coordinates and intermediate values are 32-bit integers that wrap around;
// the outline ellipse's error terms are computed exactly instead (see
// RasterEllipse).
#pragma once

#include <cstdint>

namespace vorlune::graphics {

// Inclusive bounds of the area in which a point can show.
struct Area {
    int64_t left, top, right, bottom;
};

class PlotSink {
public:
    explicit PlotSink(const Area& visible) : visible(visible) {}
    virtual ~PlotSink() = default;
    virtual void Point(int32_t x, int32_t y) = 0;                          // plot one point
    virtual void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;  // one line, both ends included
    const Area visible;
};

int32_t RoundEven(double v);          // N(v): nearest integer, ties to even; NaN and values beyond 32 bits give INT32_MIN

void RasterCircle(PlotSink& sink, int32_t x, int32_t y, int32_t r);                 // outline: points in eight octants
void RasterFillCircle(PlotSink& sink, int32_t x, int32_t y, int32_t r);             // disc: vertical lines, outermost columns first
void RasterEllipse(PlotSink& sink, int32_t x, int32_t y, int32_t a, int32_t b);     // outline: two regions of four points per step
void RasterFillEllipse(PlotSink& sink, int32_t x, int32_t y, int32_t a, int32_t b); // filled: points, row by row
void RasterFillTriangle(PlotSink& sink, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3,
                        int32_t y3);                                                 // filled: horizontal scan lines, middle one first

// How a line reaches the renderer.
enum class SegmentFit {
    Unchanged,  // both ends within kFarLimit of the visible area: drawn as given
    Clipped,    // an end lies farther out: the ends were moved onto the visible area's border
    Outside,    // nothing of it can show
};
inline constexpr int64_t kFarLimit = 32768;

// Fits the segment to the visible area; rewrites the ends when it clips.
SegmentFit FitSegment(const Area& view, int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2);

}  // namespace vorlune::graphics
