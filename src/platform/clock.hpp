// The one clock of the engine: the tick count every timed behaviour reads
// (frame timer, timerticks, animations, particles) and the wait every pause
// goes through. It is SDL's millisecond timer, or, once switched to virtual
// time, a count that only waits advance: runs then go as fast as the machine
// allows and repeat exactly.
#pragma once

#include <cstdint>

namespace vorlune::platform {

uint32_t Ticks();                     // ms since SDL started, or the virtual time
void Delay(uint32_t ms);              // sleep ms, or advance the virtual time by ms
void UseVirtualClock(uint32_t start); // from now on time is virtual, starting at start
void UseRealClock();                  // back to SDL's timer
bool VirtualClock();                  // whether time is virtual

}  // namespace vorlune::platform
