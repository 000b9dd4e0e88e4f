#include "graphics/frame.hpp"

#include <SDL.h>

#include "core/reset.hpp"
#include "graphics/canvas.hpp"
#include "platform/active_window.hpp"
#include "platform/clock.hpp"
#include "graphics/inspect.hpp"

namespace vorlune::graphics {
namespace {

// The one frame timer of the process.
struct FrameState {
    int32_t frameInterval = 10;   // ms per frame, 100 frames per second until set
    uint32_t nextFrameTick = 0;   // tick count at which the current period ends
    PresentObserver observer = nullptr;  // a test runner watching the presents
} state;

// A deadline this far ahead of the clock can only come from a negative
// interval added to an early tick count (the sum wrapped below zero): it is
// already past, not 49 days away.
constexpr uint32_t kWrappedAhead = 0x80000000u;

}  // namespace

void Redraw() {
    SDL_Renderer* renderer = platform::ActiveRenderer();
    if (!renderer) return;
    if (state.observer) {
        // The observer reads the frame from the renderer: a frame drawn into
        // a copy in main memory is put there first.
        canvas::Flush(renderer);
        state.observer(renderer, PresentPhase::Before);
    }
    canvas::Present(renderer);
    if (state.observer) state.observer(renderer, PresentPhase::After);
}

void SetPresentObserver(PresentObserver observer) { state.observer = observer; }

void Wait(int32_t ms) {
    if (ms >= 0) platform::Delay(static_cast<uint32_t>(ms));
}

void SetFrameTimer(int32_t frames) {
    if (frames == 0) frames = 1;
    state.frameInterval = 1000 / frames;
}

int32_t TimeLeft() {
    const uint32_t now = platform::Ticks();
    const uint32_t left = state.nextFrameTick - now;
    if (state.nextFrameTick <= now || left >= kWrappedAhead) {
        state.nextFrameTick = now + static_cast<uint32_t>(state.frameInterval);
        return 0;
    }
    return static_cast<int32_t>(left);
}

void Sync() {
    Redraw();
    platform::Delay(static_cast<uint32_t>(TimeLeft()));
}

int32_t TimerTicks() { return static_cast<int32_t>(platform::Ticks()); }

uint32_t FramePeriodRemaining() {
    const uint32_t now = platform::Ticks();
    const uint32_t left = state.nextFrameTick - now;
    return state.nextFrameTick <= now || left >= kWrappedAhead ? 0 : left;
}

int32_t FrameInterval() { return state.frameInterval; }
uint32_t NextFrameTick() { return state.nextFrameTick; }

const core::ResetHook resetHook([] { state = FrameState{}; });

}  // namespace vorlune::graphics
