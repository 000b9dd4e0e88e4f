// The example programs and the tutorial steps, run headless through the real
// interpreter from a copy of examples/ (frames and anything else they write
// land in the copy, not in the source tree).
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/script_runner.hpp"

namespace vorlune::test {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = fs::path(VORLUNE_SOURCE_DIR) / "examples";

// A copy of examples/ in a fresh temporary directory.
struct ExamplesCopy {
    TempDir dir;
    ExamplesCopy() { fs::copy(kExamples, dir / "examples", fs::copy_options::recursive); }
    fs::path Path(const std::string& relative) const { return dir / ("examples/" + relative); }
};

// Every example script (examples/*.lua) and every tutorial step, relative to
// examples/.
std::vector<std::string> AllScripts() {
    std::vector<std::string> scripts;
    for (const auto& sub : {std::string(), std::string("tutorial/")}) {
        for (const auto& entry : fs::directory_iterator(kExamples / sub)) {
            if (entry.path().extension() == ".lua") scripts.push_back(sub + entry.path().filename().string());
        }
    }
    std::sort(scripts.begin(), scripts.end());
    return scripts;
}

// Beside the script, a driver that runs it with Escape pressed at the 30th
// getkey and prints how often it presented. The scripts all read Escape from
// getkey, so each must end by itself, promptly, with status 0.
RunResult RunPressingEscape(const ExamplesCopy& copy, const std::string& script) {
    fs::path path = copy.Path(script);
    std::string driver = "_escape_" + path.filename().string();
    copy.dir.Write(fs::path("examples/" + script).replace_filename(driver).string(),
                   "local calls, presents = 0, 0\n"
                   "local realgetkey, realsync, realredraw = getkey, sync, redraw\n"
                   "getkey = function() calls = calls + 1 if calls == 30 then return 41 end return realgetkey() end\n"
                   "sync = function() presents = presents + 1 realsync() end\n"
                   "redraw = function() presents = presents + 1 realredraw() end\n"
                   "dofile('" + path.filename().string() + "')\n"
                   "print('presents ' .. presents .. ' getkey ' .. calls)\n");
    RunOptions options;
    options.timeoutSeconds = 20;
    return RunProgram({VorluneExe(), driver}, path.parent_path(), options);
}

TEST(Examples, EveryScriptRunsHeadlessAndEndsOnEscape) {
    ExamplesCopy copy;
    std::vector<std::string> scripts = AllScripts();
    ASSERT_GE(scripts.size(), 12u);  // seven examples and five tutorial steps at least
    for (const std::string& script : scripts) {
        SCOPED_TRACE(script);
        RunResult r = RunPressingEscape(copy, script);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "");  // no box: no script error, no missing asset
        std::smatch m;
        ASSERT_TRUE(std::regex_search(r.out, m, std::regex(R"(presents (\d+) getkey 30\n)"))) << r.out;
        EXPECT_GE(std::stoi(m[1]), 29);  // it drew a frame on every pass before Escape
    }
}

TEST(Examples, EveryExampleHasAScreenshotAndLoadsOnlyFromAssets) {
    std::regex load(R"re(load(sprite|image|sound|music)\("([^"]*)"\))re");
    for (const std::string& script : AllScripts()) {
        SCOPED_TRACE(script);
        if (script.rfind("tutorial/", 0) != 0) {
            std::string name = fs::path(script).stem().string();
            EXPECT_TRUE(fs::exists(kExamples / (name + "_screenshot.png")));
        }
        std::ifstream in(kExamples / script);
        std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (auto it = std::sregex_iterator(source.begin(), source.end(), load); it != std::sregex_iterator(); ++it) {
            std::string file = (*it)[2];
            EXPECT_NE(file.find("assets/"), std::string::npos) << file;
            EXPECT_TRUE(fs::exists(kExamples / fs::path(script).parent_path() / file)) << file;
        }
    }
}

TEST(Examples, BreakoutDemoPlaysTheGivenFramesAndEnds) {
    ExamplesCopy copy;
    RunOptions options;
    options.saveFrames = true;
    RunResult r = RunProgram({VorluneExe(), "breakout.lua", "--demo", "150"}, copy.Path(""), options);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    std::vector<fs::path> frames = SavedFrames(copy.Path(""));
    ASSERT_EQ(frames.size(), 150u);  // one present per pass, then the demo ends
    // The first frame shows the wall: the top-left brick in the first row's red.
    Image first = LoadBmp(frames.front());
    ASSERT_EQ(first.width, 640);
    EXPECT_EQ(first.At(20, 80), Rgba(230, 80, 80));
    // The ball moves: the last frame differs from the first.
    EXPECT_NE(LoadBmp(frames.back()).pixels, first.pixels);
}

}  // namespace
}  // namespace vorlune::test
