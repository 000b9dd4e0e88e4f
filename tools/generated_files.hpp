// Files the tools write into the source tree from one description, and the
// one way they write them: rewrite what changed, or with --check only report
// what is out of date.
#pragma once

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace vorlune::tools {

struct OutputFile {
    std::string path;  // relative to the source tree
    std::string text;
};

// Writes each file whose contents differ (or, with check, names it on
// standard error); returns the exit status: 1 when a write failed or, with
// check, when a file is out of date, else 0.
inline int WriteOrCheck(const char* tool, const std::string& root, const std::vector<OutputFile>& files, bool check) {
    int stale = 0;
    for (const OutputFile& file : files) {
        const std::filesystem::path path = std::filesystem::path(root) / file.path;
        std::ifstream in(path, std::ios::binary);
        std::ostringstream old;
        old << in.rdbuf();
        if (in && old.str() == file.text) continue;
        ++stale;
        if (check) {
            std::cerr << tool << ": " << file.path << " is out of date\n";
            continue;
        }
        std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << file.text;
        if (!out.flush()) {
            std::cerr << tool << ": cannot write " << path.string() << "\n";
            return 1;
        }
        std::cout << "wrote " << file.path << "\n";
    }
    return check && stale ? 1 : 0;
}

}  // namespace vorlune::tools
