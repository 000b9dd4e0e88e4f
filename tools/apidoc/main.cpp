// vorlune-apidoc: writes docs/api.md, share/meta/vorlune.lua and the man pages
// from docs/api/functions.txt, or with --check reports the ones out of date.
#include <iostream>
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
    return vorlune::tools::WriteOrCheck("vorlune-apidoc", sourceDir, files, check);
}
