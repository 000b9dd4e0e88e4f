// Sounds and music on the mixer.
#pragma once

#include <cstdint>
#include <string>

#include "host/handles.hpp"

namespace vorlune::audio {

void StartUp();   // open the mixer: 22050 Hz, signed 16-bit LE, stereo, 1024-sample chunks; failure ends the run

}  // namespace vorlune::audio
