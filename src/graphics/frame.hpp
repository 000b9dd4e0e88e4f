// Presentation, pausing and the frame timer that paces a script's main loop.
#pragma once

#include <cstdint>

struct SDL_Renderer;

namespace vorlune::graphics {

void Redraw();                          // present the active window

enum class PresentPhase { Before, After };
using PresentObserver = void (*)(SDL_Renderer* renderer, PresentPhase phase);
void SetPresentObserver(PresentObserver observer);  // called around every present (frame counts, shots, scripted input)
void Wait(int32_t ms);                  // sleep; nothing is presented, no events are processed; negative counts wait nothing
void SetFrameTimer(int32_t frames);     // frame interval = 1000 / frames (0 counts as 1); the deadline is not moved
int32_t TimeLeft();                     // ms left of the frame period; a call that finds it over starts the next one and returns 0
void Sync();                            // Redraw, then wait for TimeLeft()
int32_t TimerTicks();                   // ms since the platform layer started, as a 32-bit integer

uint32_t FramePeriodRemaining();        // ms until the deadline, without starting a new period (0 when over)
int32_t FrameInterval();                // ms per frame (10 until the first SetFrameTimer)

}  // namespace vorlune::graphics
