// vorlune: runs a game script (or the script appended to this executable).
#include "host/host.hpp"

int main(int argc, char** argv) { return vorlune::host::Main(argc, argv); }
