// The interpreter's run: start-up, finding and running the script, exit status.
#pragma once

#include <cstdint>
#include <optional>

namespace vorlune::script {

int Main(int argc, char** argv);   // the whole run; returns only through the process exit

// The host body once the media layer is up: the script named by argv[1] (or
// appended to the executable) with every argument, the random generator
// seeded with seed or else the clock. Ends the process.
[[noreturn]] void RunHost(int argc, char** argv, std::optional<uint32_t> seed);

inline constexpr const char* kVersionText = "Vorlune interpreter 0.5.5";

}  // namespace vorlune::script
