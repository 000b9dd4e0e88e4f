// Sprite animations: runs of equally sized frames cut from one sprite sheet,
// advanced by the clock in UpdateAnimations and drawn a cell at a time.
// Animations are numbered from 0 in creation order and live until the end of
// the process. A number outside 0 .. count - 1 ends the process with the
// "No animation available." box.
#pragma once

#include <cstdint>

#include "graphics/sprite.hpp"

namespace vorlune::game {

void UpdateAnimations();                 // step every animation whose frame time is due, by its direction, wrapping
int32_t CreateAnimation(graphics::Sprite sprite, int32_t width, int32_t height, int32_t startframe, int32_t endframe,
                        int32_t timer, int32_t direction, int32_t loop);  // new animation's number; loop 0 plays once
void DrawAnimation(int32_t spriteanimation, int32_t xscreen, int32_t yscreen, double xw, double yw, double angle,
                   bool vflip, bool hflip);  // current frame's cell as DrawSpritePart draws it; stopped ones not at all
int32_t AnimationWidth(int32_t spriteanimation);    // frame width
int32_t AnimationHeight(int32_t spriteanimation);   // frame height
int32_t FrameNumber(int32_t spriteanimation);       // current frame number
void SetAnimationSpeed(int32_t spriteanimation, int32_t speed);  // frame duration in ms
void SetAnimationLoop(int32_t spriteanimation, int32_t loop);    // play again with a new loop count, frame reset
void HaltAnimation(int32_t spriteanimation);        // stop (no longer drawn), frame reset to the start of the run
bool AnimationStopped(int32_t spriteanimation);     // true once stopped

// A cell of the sheet: column and row counted from 1. Wide enough for every
// cell the walk over a 32-bit sheet can reach.
struct SheetCell {
    int64_t column;
    int64_t row;
};
SheetCell FrameCell(int32_t frame, int32_t rows, int32_t columns);  // cell drawn for a frame number, in constant time
int32_t CellsAcross(int32_t sheetSize, int32_t frameSize);  // N(sheet / frame); 0 for a zero frame size, saturated

}  // namespace vorlune::game
