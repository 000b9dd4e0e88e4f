// Collision and containment tests: pure functions of their arguments (the
// sprite tests ask the sprite module for sizes). Integer tests compute in
// 32-bit arithmetic that wraps around; boxes are top-left corner plus size.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/sprite.hpp"

namespace vorlune::game {

bool BoxColl(int32_t x1, int32_t y1, int32_t w1, int32_t h1, int32_t x2, int32_t y2, int32_t w2,
             int32_t h2);  // boxes touch or overlap, edges inclusive
bool ImageColl(graphics::Sprite spriteA, int32_t ax, int32_t ay, graphics::Sprite spriteB, int32_t bx,
               int32_t by);  // BoxColl of the two sprites' boxes
bool CircleColl(int32_t x1, int32_t y1, int32_t r1, int32_t x2, int32_t y2, int32_t r2,
                int32_t offset);  // offset^2 >= dx^2 + dy^2 - (r1 + r2)^2
bool RoundColl(graphics::Sprite spriteA, int32_t ax, int32_t ay, graphics::Sprite spriteB, int32_t bx, int32_t by,
               int32_t offset);  // CircleColl of the circles centred in the sprites' boxes
bool RoundCollSized(int32_t ax, int32_t ay, int32_t wA, int32_t hA, int32_t bx, int32_t by, int32_t wB, int32_t hB,
                    int32_t offset);  // RoundColl with the sprite sizes given
std::string SideColl(int32_t x, int32_t y, int32_t w, int32_t h, int32_t dx, int32_t dy, int32_t rx, int32_t ry,
                     int32_t rw, int32_t rh);  // "none", "left", "right", "top" or "bottom": side hit by moving (dx,dy)
bool CircleToBoxColl(int32_t cx, int32_t cy, int32_t r, int32_t x1, int32_t y1, int32_t w,
                     int32_t h);  // nearest box point strictly inside the circle
bool LineColl(int32_t a1x, int32_t a1y, int32_t a2x, int32_t a2y, int32_t b1x, int32_t b1y, int32_t b2x,
              int32_t b2y);  // segments cross (orientation signs in double); collinear ones never
bool LineToCircleColl(double x1, double y1, double x2, double y2, double cx, double cy,
                      double radius);  // a crossing of the carrying line lies within the segment's x extent from its start
bool InsideTriangle(int32_t px, int32_t py, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3,
                    int32_t y3);  // same orientation sign against all three edges; edges are outside
bool InsideRectangle(int32_t px, int32_t py, int32_t x1, int32_t y1, int32_t x2,
                     int32_t y2);  // x1 < px < x2 and y1 < py < y2
bool InsideCircle(int32_t px, int32_t py, int32_t cx, int32_t cy, int32_t radius);  // distance strictly below radius

}  // namespace vorlune::game
