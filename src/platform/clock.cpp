#include "platform/clock.hpp"

#include <SDL.h>

namespace vorlune::platform {
namespace {

struct ClockState {
    bool virtualTime = false;  // waits advance `now` instead of sleeping
    uint32_t now = 0;          // the virtual time in ms
} clock;

}  // namespace

uint32_t Ticks() { return clock.virtualTime ? clock.now : SDL_GetTicks(); }

void Delay(uint32_t ms) {
    if (clock.virtualTime) {
        clock.now += ms;  // wraps after 49 days, as SDL's count does
    } else {
        SDL_Delay(ms);
    }
}

void UseVirtualClock(uint32_t start) {
    clock.virtualTime = true;
    clock.now = start;
}

void UseRealClock() { clock = ClockState{}; }

bool VirtualClock() { return clock.virtualTime; }

}  // namespace vorlune::platform
