// The interpreter's run: start-up, finding and running the script, exit status.
#pragma once

namespace vorlune::script {

int Main(int argc, char** argv);   // the whole run; returns only through the process exit

inline constexpr const char* kVersionText = "Vorlune interpreter 0.5.5";

}  // namespace vorlune::script
