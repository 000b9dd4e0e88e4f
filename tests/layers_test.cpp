// The source folders are layers: a file includes only from its own folder or
// from a folder of a lower layer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// Layer of each folder under src/; folders of one layer do not include each other.
const std::map<std::string, int> kLayer = {
    {"core", 0},     {"util", 1},  {"platform", 2}, {"graphics", 3}, {"input", 3},
    {"audio", 3},    {"game", 4},  {"system", 4},   {"script", 5},
};

TEST(Layers, IncludesPointOnlyDown) {
    const fs::path src = fs::path(VORLUNE_SOURCE_DIR) / "src";
    const std::regex include(R"(#include "([a-z_]+)/)");
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        if (!entry.is_regular_file() || entry.path().parent_path() == src) continue;  // the programs' mains sit on top
        const std::string folder = entry.path().parent_path().filename();
        ASSERT_TRUE(kLayer.count(folder)) << "folder without a layer: " << folder;
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        const std::string source = text.str();
        for (std::sregex_iterator m(source.begin(), source.end(), include), end; m != end; ++m) {
            const std::string target = (*m)[1];
            ASSERT_TRUE(kLayer.count(target)) << entry.path() << " includes from unknown folder " << target;
            if (target != folder) {
                EXPECT_LT(kLayer.at(target), kLayer.at(folder)) << entry.path() << " includes from " << target;
            }
        }
        ++files;
    }
    EXPECT_GT(files, 40);
}

}  // namespace
