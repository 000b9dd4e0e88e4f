// Drawing colour, background colour, clearing and the geometric primitives,
// all on the active window's renderer.
#pragma once

#include <cstdint>

namespace vorlune::graphics {

// Lines, circles, ellipses and triangles are drawn only while the area that
// can show them spans at most kMaxVisibleSpan drawing units across and down
// and kMaxVisibleArea in all (a window's own pixels always do; a virtual size
// squeezing millions of units into the window does not).
inline constexpr int64_t kMaxVisibleSpan = int64_t{1} << 22;
inline constexpr int64_t kMaxVisibleArea = int64_t{1} << 27;

void Color(int32_t r, int32_t g, int32_t b, int32_t alpha);       // blend mode BLEND, then the draw colour (low 8 bits of each channel)
void BackColor(int32_t r, int32_t g, int32_t b, int32_t alpha);   // colour of later clears; nothing is drawn
void ClearWindow();                                                 // Color(background colour), then clear; the draw colour stays the background colour
void Dot(int32_t x, int32_t y);                                     // one point
void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2);          // one line; segments reaching far off are clipped to the target first
void Rectangle(int32_t x, int32_t y, int32_t w, int32_t h);         // outline; far corners moved off the target first (not drawn under a virtual size)
void FillRectangle(int32_t x, int32_t y, int32_t w, int32_t h);     // filled; cut to the target first where the renderer's arithmetic would overflow
void Circle(int32_t x, int32_t y, int32_t r);                       // outline of points
void FillCircle(int32_t x, int32_t y, int32_t r);                   // disc of vertical lines, one column wider on the left
void Ellipse(int32_t x, int32_t y, int32_t xr, int32_t yr);         // outline of points; equal radii draw one unit taller
void FillEllipse(int32_t x, int32_t y, int32_t xr, int32_t yr);     // filled, point by point
void Triangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3);      // three lines
void FillTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3);  // horizontal scan lines

}  // namespace vorlune::graphics
