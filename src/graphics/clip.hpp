// Decisions taken before a copy or a filled rectangle reaches the renderer,
// free of SDL: what the render target can show, and what the renderer would
// build on the way.
//
// The renderer maps a drawing coordinate c to the output pixel c * scale +
// offset (offset: the letterbox viewport). A texture copy is rotated about
// the centre of its destination rectangle; its pixels stay inside the
// rotated rectangle's bounding box, so a copy whose box misses the output
// cannot show and is dropped. The software renderer also builds scaled,
// rotated or flipped copies as whole pictures before clipping them: above a
// size limit such a copy is not drawn (see CopyPlan).
#pragma once

#include <cstdint>

namespace vorlune::graphics {

// The render target as the renderer maps drawing coordinates onto it.
struct Target {
    int outW = 0, outH = 0;              // output size in pixels
    double scaleX = 1, scaleY = 1;       // renderer scale (a virtual size sets it)
    double offsetX = 0, offsetY = 0;     // output pixel of drawing coordinate 0
    bool software = false;               // the software renderer
};

// One texture copy as the engine asks for it.
struct Copy {
    int64_t x, y, w, h;                  // destination rectangle in drawing coordinates
    int64_t sourceW, sourceH;            // the part of the texture copied (already cut to the texture)
    double angle;                        // degrees, clockwise
    bool flipped;                        // mirrored in either direction
};

// Largest destination, in pixels, the software renderer may build in full.
inline constexpr double kMaxBuiltRotated = 1 << 21;  // rotated or flipped: logical size, and that of its turned bounding box
inline constexpr double kMaxBuiltScaled = 1 << 23;   // scaled across the output's edge: output pixels, one picture

struct CopyPlan {
    bool draw = false;                   // hand the copy to the renderer
    double angle = 0;                    // the angle to hand it
};

// A non-finite angle or scale draws nothing. Angles of a magnitude of 1e9 or
// more are reduced modulo 360 (the renderer converts angle / 360 and angle /
// 90 to int).
bool FiniteCopy(double xscale, double yscale, double angle);
CopyPlan PlanCopy(const Target& target, const Copy& copy);

// A filled rectangle as the software renderer places it: it truncates
// x * scale and w * scale separately and widens widths below one pixel to one.
struct FillBox {
    float x, y, w, h;                    // drawing coordinates, as handed to the renderer
};

// Whether the renderer's own arithmetic on (x, y, w, h) stays in range: then
// it is handed over unchanged.
bool FillInRange(const Target& target, int64_t x, int64_t y, int64_t w, int64_t h);

// The rectangle to hand the renderer so that it fills exactly the output
// pixels that (x, y, w, h) fills, with every value it computes on the way in
// range (the rectangle itself when that already holds); false when nothing
// of it shows.
bool FitFill(const Target& target, int32_t x, int32_t y, int32_t w, int32_t h, FillBox& out);

// The drawing coordinates, on one axis, where a filled rectangle of the given
// size may show: outside [low, high] neither FitFill nor GeometryEdges
// accepts it. A cheap first test for many rectangles of one size.
struct Span {
    int64_t low, high;
};
Span FillSpanX(const Target& target, int32_t size);
Span FillSpanY(const Target& target, int32_t size);
inline bool InSpan(const Span& span, int64_t v) { return v >= span.low && v <= span.high; }

// A filled rectangle as the accelerated renderers place it: its edges
// x * scale and x * scale + w * scale in float, moved by the offset, each cut
// to two pixels beyond the output (edges.x, edges.y the low edges, edges.w,
// edges.h the high ones). Rectangles with equal edges cover the same pixels.
// False when nothing of it shows.
bool GeometryEdges(const Target& target, int32_t x, int32_t y, int32_t w, int32_t h, FillBox& edges);

// An outline rectangle as the renderer draws it: lines through the corners
// x1 = x, x2 = x + w - 1 (float arithmetic), likewise for y.
struct Outline {
    float x1, y1, x2, y2;
};

// The corners to hand the renderer for the outline (x, y, w, h); false when
// nothing is drawn. Corners within range are kept; at scale 1 corners far
// out are moved to two pixels beyond the output, which leaves every visible
// pixel as it was. Under another scale an outline reaching that far is not
// drawn.
bool FitOutline(const Target& target, int32_t x, int32_t y, int32_t w, int32_t h, Outline& out);

// Blending one colour onto a pixel again and again settles within 255 blends
// (each channel moves monotonically, one step at least, or stops for good):
// a rectangle of one colour drawn that often changes nothing when drawn again.
inline constexpr int kSettlingBlends = 256;

}  // namespace vorlune::graphics
