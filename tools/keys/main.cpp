// vorlune-keys: writes the vorlune.keys table, its annotations and
// docs/keys.md from SDL's scancode names, or with --check reports the ones out
// of date.
#include <iostream>
#include <string>

#include "key_names.hpp"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3 || (argc == 3 && std::string(argv[2]) != "--check")) {
        std::cerr << "Usage: vorlune-keys SOURCE_DIR [--check]\n";
        return 2;
    }
    bool check = argc == 3;
    return vorlune::tools::WriteOrCheck("vorlune-keys", argv[1], vorlune::keynames::KeyFiles(), check);
}
