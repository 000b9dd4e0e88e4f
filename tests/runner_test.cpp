// vorlune-run: the input file format, frame comparison, and the program on
// scripts and the examples (virtual clock, scripted input, golden frames,
// exit statuses, --watch).
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include "script/frame_check.hpp"
#include "script/runner.hpp"
#include "script/scripted_input.hpp"
#include "support/script_runner.hpp"

namespace vorlune::test {
namespace {

namespace fs = std::filesystem;
using script::InputEvent;
using script::InputKind;

TEST(RunnerInput, LinesParseAndRecordedLinesReadBack) {
    struct Case {
        std::string line;
        std::vector<std::string> events;  // formatted back; empty: nothing (blank or comment)
    };
    const std::vector<Case> cases = {
        {"30 key Right down", {"30 key Right down"}},
        {"  42   key right   up", {"42 key Right up"}},
        {"7 key Left Shift down", {"7 key Left Shift down"}},
        {"50 text hello world", {"50 text hello world"}},
        {"51 text  ", {"51 text  "}},
        {"60 mouse 100 -5", {"60 mouse 100 -5"}},
        {"61 click left", {"61 button left down", "62 button left up"}},
        {"62 button right up", {"62 button right up"}},
        {"90 quit", {"90 quit"}},
        {"# a comment", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        std::string error;
        auto events = script::ParseInputLine(c.line, error);
        EXPECT_EQ(error, "") << c.line;
        std::vector<std::string> formatted;
        if (events) for (const InputEvent& e : *events) formatted.push_back(script::FormatInputEvent(e));
        EXPECT_EQ(formatted, c.events) << c.line;
    }
    for (const std::string bad : {"x key Right down", "0 quit", "3 key NoSuchKey down", "3 key Right sideways",
                                  "4 mouse 1", "4 text", "5 click thumb", "6 jump", "7 quit now"}) {
        std::string error;
        EXPECT_FALSE(script::ParseInputLine(bad, error)) << bad;
        EXPECT_NE(error, "") << bad;
    }
}

TEST(RunnerFrames, ComparisonCountsColourDifferencesAndMarksThem) {
    script::Picture golden{3, 2, {0x102030FF, 0x102030FF, 0x102030FF, 0x102030FF, 0x102030FF, 0x102030FF}};
    script::Picture actual = golden;
    actual.pixels[4] = 0x102031FF;  // one blue step
    actual.pixels[0] = 0x10203000;  // alpha alone does not count
    script::Comparison c = script::Compare(actual, golden);
    EXPECT_EQ(c.differing, 1);
    EXPECT_EQ(c.firstX, 1);
    EXPECT_EQ(c.firstY, 1);
    EXPECT_EQ(c.diff.pixels[4], 0xFF0000FFu);
    EXPECT_EQ(c.diff.pixels[0], 0x04080cFFu);  // the golden pixel dimmed

    script::Picture smaller{2, 2, {0, 0, 0, 0}};
    EXPECT_EQ(script::Compare(smaller, golden).differing, 6);
}

TEST(RunnerOptions, WrongCommandLinesAreUsageErrors) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"--frames", "0", "g.lua"}, {"g.lua", "--seed"}, {"g.lua", "--at", "1,,2", "--shots", "d"},
             {"g.lua", "--at", "5"}, {"g.lua", "--bogus"}, {"a.lua", "b.lua"}, {"g.lua", "--tolerance", "3"}}) {
        std::string error;
        EXPECT_FALSE(script::ParseRunnerOptions(args, error)) << ::testing::PrintToString(args);
        EXPECT_NE(error, "");
    }
    std::string error;
    auto o = script::ParseRunnerOptions({"--seed", "7", "g.lua", "--at", "60,1", "--expect", "gold", "--", "--demo", "9"}, error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->script, "g.lua");
    EXPECT_EQ(o->seed, 7u);
    EXPECT_EQ(o->at, (std::set<uint32_t>{1, 60}));
    EXPECT_EQ(o->scriptArgs, (std::vector<std::string>{"--demo", "9"}));

    TempDir dir;
    RunResult r = RunProgram({RunnerExe(), "--frames", "x", "g.lua"}, dir.path());
    EXPECT_EQ(r.status, script::kRunUsage);
    EXPECT_EQ(FirstLine(r.err), "vorlune-run: --frames takes a whole number from 1, not \"x\"\n");
}

RunResult RunRunner(const fs::path& cwd, std::vector<std::string> args, int timeoutSeconds = 60) {
    args.insert(args.begin(), RunnerExe());
    RunOptions options;
    options.timeoutSeconds = timeoutSeconds;
    return RunProgram(args, cwd, options);
}

// The summary line's numbers: frames, virtual or clock seconds, wall seconds, compared, failed.
struct Summary {
    int frames = -1;
    double time = -1, wall = -1;
    int compared = -1, failed = -1;
};
Summary ReadSummary(const std::string& err) {
    std::smatch m;
    Summary s;
    static const std::regex line(R"(vorlune-run: (\d+) frames, ([\d.]+) s \w+ time, ([\d.]+) s wall time, (\d+) frames compared, (\d+) failed)");
    if (std::regex_search(err, m, line)) {
        s = {std::stoi(m[1]), std::stod(m[2]), std::stod(m[3]), std::stoi(m[4]), std::stoi(m[5])};
    }
    return s;
}

// Scripted input reaches the script as a person's would: getkey and keystate,
// the pointer and its button, text for the line editor, and the quit request.
TEST(RunnerRun, ScriptedInputReachesEveryInputFunction) {
    TempDir dir;
    dir.Write("game.lua",
              "local w = openwindow('t', -1, -1, 64, 48) setactivewindow(w)\n"
              "for frame = 1, 20 do\n"
              "  local k = getkey() if k ~= 0 then print(frame, 'getkey', k) end\n"
              "  if keystate(79) then print(frame, 'held') end\n"
              "  if mousebutton() ~= 0 then print(frame, 'button', mousebutton(), mousex(), mousey()) end\n"
              "  redraw()\n"
              "end\n"
              "print('typed', input(0, 0, 10))\n"
              "while true do getkey() redraw() end\n");
    dir.Write("input.txt",
              "3 key Right down\n4 key Right up\n6 mouse 20 30\n8 click left\n"
              "22 text hi there\n23 key Return down\n30 quit\n");
    RunResult r = RunRunner(dir.path(), {"game.lua", "--input", "input.txt"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "3\tgetkey\t79\n3\theld\n8\tbutton\t1\t20\t30\ntyped\thi there\n");
    EXPECT_EQ(ReadSummary(r.err).frames, 29) << r.err;
}

// Breakout's demo with the same seed and input gives the same frames; its
// goldens hold until the script changes, and then the mismatch is status 2
// with a diff picture.
TEST(RunnerRun, FramesRepeatAndGoldenFramesCatchAChange) {
    TempDir dir;
    fs::copy(fs::path(VORLUNE_SOURCE_DIR) / "examples", dir / "examples", fs::copy_options::recursive);
    const fs::path examples = dir / "examples";
    dir.Write("input.txt", "20 key Space down\n21 key Space up\n40 key Left down\n70 key Left up\n");
    auto run = [&](const std::string& script, std::vector<std::string> extra) {
        std::vector<std::string> args = {script, "--seed", "5", "--frames", "90", "--input", (dir / "input.txt").string()};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunRunner(examples, args);
    };
    RunResult first = run("breakout.lua", {"--shots", (dir / "a").string(), "--at", "1,45,90"});
    RunResult second = run("breakout.lua", {"--shots", (dir / "b").string(), "--at", "1,45,90"});
    ASSERT_EQ(first.status, 0) << first.err;
    ASSERT_EQ(second.status, 0) << second.err;
    for (const std::string name : {"frame-000001.png", "frame-000045.png", "frame-000090.png"}) {
        ASSERT_TRUE(fs::exists(dir / "a" / name)) << name;
        EXPECT_EQ(dir.Read("a/" + name), dir.Read("b/" + name)) << name;
    }
    EXPECT_NE(dir.Read("a/frame-000001.png"), dir.Read("a/frame-000090.png"));

    RunResult same = run("breakout.lua", {"--expect", (dir / "a").string()});
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(ReadSummary(same.err).compared, 3);

    // The paddle a little wider.
    std::string source = dir.Read("examples/breakout.lua");
    source = std::regex_replace(source, std::regex("PADDLE_W, PADDLE_H, PADDLE_Y, PADDLE_SPEED = 80"),
                                "PADDLE_W, PADDLE_H, PADDLE_Y, PADDLE_SPEED = 84");
    dir.Write("examples/changed.lua", source);
    RunResult changed = run("changed.lua", {"--expect", (dir / "a").string()});
    EXPECT_EQ(changed.status, script::kRunMismatch) << changed.err;
    EXPECT_NE(changed.err.find("vorlune-run: frame 45: "), std::string::npos) << changed.err;
    EXPECT_TRUE(fs::exists(dir / "a/frame-000045.diff.png"));
    EXPECT_TRUE(fs::exists(dir / "a/frame-000045.actual.png"));
    EXPECT_EQ(ReadSummary(changed.err).failed, 3);
}

// The worked example of docs/testing-games.md: a recorded play-through of
// Breakout and three golden frames, as CI runs them.
TEST(RunnerRun, TheRecordedBreakoutPlayThroughMatchesItsGoldenFrames) {
    TempDir dir;
    fs::copy(fs::path(VORLUNE_SOURCE_DIR) / "examples", dir / "examples", fs::copy_options::recursive);
    RunResult r = RunRunner(dir / "examples", {"breakout.lua", "--seed", "1", "--input", "breakout-test/input.txt",
                                               "--expect", "breakout-test/golden"});
    EXPECT_EQ(r.status, 0) << r.err;
    Summary s = ReadSummary(r.err);
    EXPECT_EQ(s.compared, 3) << r.err;
    EXPECT_EQ(s.failed, 0) << r.err;
}

TEST(RunnerRun, ScriptErrorsAndFailureBoxesEndWithStatusOne) {
    TempDir dir;
    dir.Write("bad.lua", "local function f() error('boom') end\nf()\n");
    RunResult r = RunRunner(dir.path(), {"bad.lua"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("Error: bad.lua:1: boom\n" +
                              Traceback({"[C]: in function 'error'", "bad.lua:1: in function 'f'", "bad.lua:2: in main chunk"}),
                          0),
              0u)
        << r.err;
    // A failure `vorlune` ends with status 0 after its box.
    dir.Write("missing.lua", "loadsprite('nothing.png')\n");
    r = RunRunner(dir.path(), {"missing.lua"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(FirstLine(r.err), "File not found: Can't find image file: nothing.png\n");
}

// A minute of game time, paced by sync, in a fraction of a second; with
// --real-time the waits take their time.
TEST(RunnerRun, VirtualClockRunsAMinuteAtOnceAndRealTimeKeepsPace) {
    TempDir dir;
    dir.Write("minute.lua",
              "local w = openwindow('t', -1, -1, 32, 24) setactivewindow(w)\n"
              "setframetimer(60)\n"
              "local start = timerticks()\n"
              "while timerticks() - start < 60000 do cls() sync() end\n"
              "print(timerticks() - start)\n");
    auto before = std::chrono::steady_clock::now();
    RunResult r = RunRunner(dir.path(), {"minute.lua"});
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "60000\n");
    EXPECT_LT(wall, 1.0);
    Summary s = ReadSummary(r.err);
    EXPECT_GT(s.frames, 3600);
    EXPECT_DOUBLE_EQ(s.time, 60.0);

    dir.Write("paced.lua", "for i = 1, 3 do wait(100) end\n");
    r = RunRunner(dir.path(), {"paced.lua", "--real-time"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_GE(ReadSummary(r.err).wall, 0.3) << r.err;
    r = RunRunner(dir.path(), {"paced.lua"});
    EXPECT_LT(ReadSummary(r.err).wall, 0.3) << r.err;
}

// --watch runs the script, then again after each change beside it.
TEST(RunnerRun, WatchRunsAgainWhenTheScriptIsTouched) {
    TempDir dir;
    dir.Write("game.lua", "print('run')\n");
    std::thread toucher([&] {
        for (int i = 0; i < 2; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1200));
            dir.Write("game.lua", "print('run')\n");
        }
    });
    RunResult r = RunRunner(dir.path(), {"game.lua", "--watch"}, 4);
    toucher.join();
    std::size_t runs = 0;
    for (std::size_t at = 0; (at = r.out.find("run\n", at)) != std::string::npos; at += 4) ++runs;
    EXPECT_EQ(runs, 3u) << r.out << r.err;
}

// --record in a real window under Xvfb: a key typed with xdotool is written
// with its frame, and the file plays back.
TEST(RunnerRun, RecordWritesWhatIsTypedInARealWindow) {
    if (std::system("command -v xvfb-run >/dev/null && command -v xdotool >/dev/null") != 0) {
        GTEST_SKIP() << "needs xvfb-run and xdotool";
    }
    TempDir dir;
    dir.Write("rec.lua",
              "local w = openwindow('rectest', -1, -1, 64, 48) setactivewindow(w)\n"
              "setframetimer(60)\n"
              "local start = timerticks()\n"
              "while timerticks() - start < 2500 do local k = getkey() if k ~= 0 then print('key', k) end cls() sync() end\n");
    dir.Write("rec.sh",
              "'" + RunnerExe() + "' rec.lua --record rec.txt &\n"
              "xdotool search --sync --name rectest windowfocus --sync key Right\n"
              "wait $!\n");
    RunOptions options;
    options.env = {{"SDL_VIDEODRIVER", ""}, {"SDL_RENDER_DRIVER", ""}};
    RunResult r = RunProgram({"xvfb-run", "-a", "sh", "rec.sh"}, dir.path(), options);
    EXPECT_EQ(r.out, "key\t79\n") << r.err;
    const std::string recorded = dir.Read("rec.txt");
    EXPECT_TRUE(std::regex_search(recorded, std::regex("\n\\d+ key Right down\n"))) << recorded;
    r = RunRunner(dir.path(), {"rec.lua", "--input", "rec.txt"});
    EXPECT_EQ(r.out, "key\t79\n") << r.err;
}

}  // namespace
}  // namespace vorlune::test
