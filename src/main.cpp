// vorlune: runs a game script (or the script appended to this executable).
#include "script/run.hpp"

int main(int argc, char** argv) { return vorlune::script::Main(argc, argv); }
