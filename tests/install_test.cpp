// The installed tree (cmake --install) and the Debian package: every program,
// document, example and asset lands in its place, and what is installed runs.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/script_runner.hpp"

namespace vorlune::test {
namespace {

namespace fs = std::filesystem;

// A source directory whose files (those with the extension, or all) are
// installed below `to`, keeping their relative paths.
struct Placement {
    const char* from;
    const char* to;
    const char* extension;
};
// Manual pages and annotations count once they exist in the source tree.
constexpr Placement kPlacements[] = {
    {"examples", "share/vorlune/examples", ""},
    {"docs", "share/doc/vorlune/docs", ".md"},
    {"share/man", "share/man/man6", ".6"},
    {"share/meta", "share/vorlune/meta", ""},
};

std::vector<fs::path> SourceFiles(const Placement& placement) {
    std::vector<fs::path> files;
    fs::path root = fs::path(VORLUNE_SOURCE_DIR) / placement.from;
    if (!fs::is_directory(root)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        if (*placement.extension && entry.path().extension() != placement.extension) continue;
        files.push_back(fs::relative(entry.path(), root));
    }
    return files;
}

TEST(Install, PutsEveryFileInPlaceAndTheInstalledProgramsRun) {
    TempDir dir;
    RunOptions staged;
    staged.env = {{"DESTDIR", (dir / "stage").string()}};
    RunResult r = RunProgram({VORLUNE_CMAKE, "--install", VORLUNE_BUILD_DIR, "--prefix", "/opt/vorlune"}, dir.path(), staged);
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    fs::path prefix = dir / "stage/opt/vorlune";

    for (const char* file : {"bin/vorlune", "bin/vorlune-bind", "bin/vorlune-run", "share/doc/vorlune/README.md"}) {
        EXPECT_TRUE(fs::is_regular_file(prefix / file)) << file;
    }
    for (const Placement& placement : kPlacements) {
        for (const fs::path& file : SourceFiles(placement)) {
            EXPECT_TRUE(fs::is_regular_file(prefix / placement.to / file)) << placement.from << "/" << file.string();
        }
    }

    // Examples started from another directory find their pictures and sounds
    // beside them: the breakout demo plays to its end, sprites.lua runs until
    // the time limit ends it, and neither reports anything.
    fs::path examples = prefix / "share/vorlune/examples";
    r = RunProgram({(prefix / "bin/vorlune").string(), (examples / "breakout.lua").string(), "--demo", "60"}, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    RunOptions briefly;
    briefly.timeoutSeconds = 2;
    r = RunProgram({(prefix / "bin/vorlune").string(), (examples / "sprites.lua").string()}, dir.path(), briefly);
    EXPECT_EQ(r.err, "\n[killed: timeout]\n");

    // The installed binder copies the interpreter installed beside it.
    dir.Write("game.lua", "print('bound from the installed tree')\n");
    r = RunProgram({(prefix / "bin/vorlune-bind").string(), "game.lua", "-o", "game"}, dir.path());
    ASSERT_EQ(r.status, 0) << r.err;
    r = RunProgram({(dir / "game").string()}, dir.path());
    EXPECT_EQ(r.out, "bound from the installed tree\n") << r.err;
}

// Splits a Depends field into package names, versions and alternatives aside.
std::vector<std::string> DependedPackages(std::string field) {
    std::vector<std::string> names;
    std::string name;
    bool inName = true;
    for (char c : field + ",") {
        if (c == ',' || c == '|') {
            if (!name.empty()) names.push_back(name);
            name.clear();
            inName = true;
        } else if (c == ' ' || c == '(') {
            inName = inName && name.empty();
        } else if (inName) {
            name += c;
        }
    }
    return names;
}

TEST(Package, DebianPackageDeclaresItsLibrariesAndHoldsTheInstalledTree) {
    TempDir dir;
    if (RunProgram({"dpkg-deb", "--version"}, dir.path()).status == 127) {
        GTEST_SKIP() << "dpkg-deb is not installed: a Debian package can neither be built nor read here";
    }
    RunResult r = RunProgram({VORLUNE_CPACK, "-G", "DEB", "--config", std::string(VORLUNE_BUILD_DIR) + "/CPackConfig.cmake",
                              "-B", dir.path().string()},
                             dir.path());
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    std::vector<fs::path> packages;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        if (entry.path().extension() == ".deb") packages.push_back(entry.path());
    }
    ASSERT_EQ(packages.size(), 1u) << r.out;
    std::string deb = packages[0].string();
    EXPECT_EQ(packages[0].filename().string().rfind("vorlune_", 0), 0u) << deb;

    r = RunProgram({"dpkg-deb", "--field", deb, "Depends"}, dir.path());
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> depends = DependedPackages(r.out.substr(0, r.out.find('\n')));
    // SDL2_image is opened with dlopen, so only an explicit declaration brings it in.
    for (const char* library : {"liblua5.2-0", "libsdl2-2.0-0", "libsdl2-mixer-2.0-0", "libsdl2-image-2.0-0"}) {
        EXPECT_NE(std::find(depends.begin(), depends.end(), library), depends.end()) << library << " in " << r.out;
    }

    r = RunProgram({"dpkg-deb", "--contents", deb}, dir.path());
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* file : {" ./usr/bin/vorlune\n", " ./usr/bin/vorlune-bind\n", " ./usr/share/vorlune/examples/sprites.lua\n",
                             " ./usr/share/doc/vorlune/README.md\n"}) {
        EXPECT_NE(r.out.find(file), std::string::npos) << file;
    }
}

}  // namespace
}  // namespace vorlune::test
