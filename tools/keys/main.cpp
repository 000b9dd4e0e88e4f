// vorlune-keys: writes the vorlune.keys table, its annotations and
// docs/keys.md from SDL's scancode names, or with --check reports the ones out
// of date.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "key_names.hpp"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3 || (argc == 3 && std::string(argv[2]) != "--check")) {
        std::cerr << "Usage: vorlune-keys SOURCE_DIR [--check]\n";
        return 2;
    }
    bool check = argc == 3;
    int stale = 0;
    for (const auto& file : vorlune::keynames::KeyFiles()) {
        std::filesystem::path path = std::filesystem::path(argv[1]) / file.path;
        std::ifstream in(path, std::ios::binary);
        std::ostringstream old;
        old << in.rdbuf();
        if (in && old.str() == file.text) continue;
        ++stale;
        if (check) {
            std::cerr << "vorlune-keys: " << file.path << " is out of date\n";
            continue;
        }
        std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << file.text;
        if (!out.flush()) {
            std::cerr << "vorlune-keys: cannot write " << path.string() << "\n";
            return 1;
        }
        std::cout << "wrote " << file.path << "\n";
    }
    return check && stale ? 1 : 0;
}
