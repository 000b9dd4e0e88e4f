// vorlune-run: runs a game script for tests: headless, virtual clock,
// scripted input, golden frames.
#include "script/runner.hpp"

int main(int argc, char** argv) { return vorlune::script::RunnerMain(argc, argv); }
