// vorlune-apidoc: writes docs/api.md, share/meta/vorlune.lua and the man pages
// from docs/api/functions.txt, or with --check reports the ones out of date.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "apidoc.hpp"

int main(int argc, char** argv) {
    std::string sourceDir;
    bool check = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--check") check = true;
        else if (sourceDir.empty() && !arg.empty() && arg[0] != '-') sourceDir = arg;
        else sourceDir.clear(), i = argc;
    }
    if (sourceDir.empty()) {
        std::cerr << "Usage: vorlune-apidoc SOURCE_DIR [--check]\n";
        return 2;
    }
    std::vector<std::string> errors;
    auto files = vorlune::apidoc::GenerateAll(sourceDir, &errors);
    for (const std::string& e : errors) std::cerr << "vorlune-apidoc: " << e << "\n";
    if (!errors.empty()) return 1;
    int stale = 0;
    for (const auto& file : files) {
        std::filesystem::path path = std::filesystem::path(sourceDir) / file.path;
        std::ifstream in(path, std::ios::binary);
        std::ostringstream old;
        old << in.rdbuf();
        if (in && old.str() == file.text) continue;
        ++stale;
        if (check) {
            std::cerr << "vorlune-apidoc: " << file.path << " is out of date\n";
            continue;
        }
        std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << file.text;
        if (!out.flush()) {
            std::cerr << "vorlune-apidoc: cannot write " << path.string() << "\n";
            return 1;
        }
        std::cout << "wrote " << file.path << "\n";
    }
    return check && stale ? 1 : 0;
}
