// Start-up, running the script and the ways a run ends, through the real
// interpreter and executables made by vorlune-bind.
#include <signal.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "script/appended_script.hpp"
#include "support/script_runner.hpp"

namespace vorlune::test {
namespace {

namespace fs = std::filesystem;

TEST(HostRun, NoScriptShowsTheUsageBoxAndExitsZero) {
    TempDir dir;
    RunResult r = RunProgram({VorluneExe()}, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "No Script: Vorlune interpreter 0.5.5\nUsage: vorlune[.exe] script.lua\n");
    EXPECT_EQ(r.out, "");
}

TEST(HostRun, ScriptRunsToItsEndWithStatusZeroAndFlushedOutput) {
    TempDir dir;
    RunResult r = RunScript(dir, "io.write('partial line without newline')\nreturn 1, 2, 3\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "partial line without newline");
    EXPECT_EQ(r.err, "");
}

TEST(HostRun, ScriptErrorsEndInTheErrorBoxWithStatusZero) {
    TempDir dir;
    RunResult r = RunScript(dir, "local a = 1\nlocal b = 2\nerror('boom')\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "Error: game.lua:3: boom\n" + Traceback({"[C]: in function 'error'", "game.lua:3: in main chunk"}));

    r = RunScript(dir, "error({})\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "Error: \n" + Traceback({"[C]: in function 'error'", "game.lua:1: in main chunk"}));

    r = RunScript(dir, "x = = 1\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err.rfind("Error: game.lua:1: ", 0), 0u) << r.err;
}

// The traceback follows the box line, innermost call first, as the
// standalone interpreter prints it; errors leaving coroutines through
// coroutine.wrap, or returned by coroutine.resume and raised again, show the
// coroutines' stacks, which Lua keeps after the error.
TEST(HostRun, RunTimeErrorsWriteTheirTracebackAfterTheBoxLine) {
    struct Case {
        std::string source;
        std::string err;
    };
    const std::vector<Case> cases = {
        {"local function c(t) local v = t.x return v end\n"
         "local function b() local v = c(nil) return v end\n"
         "b()\n",
         "Error: game.lua:1: attempt to index local 't' (a nil value)\n" +
             Traceback({"game.lua:1: in function 'c'", "game.lua:2: in function 'b'", "game.lua:3: in main chunk"})},
        {"local function f() error(setmetatable({}, {__tostring = function() return 'x' end})) end\n"
         "f()\n",
         "Error: \n" + Traceback({"[C]: in function 'error'", "game.lua:1: in function 'f'", "game.lua:2: in main chunk"})},
        {"local function inner() error('deep') end\n"
         "local gen = coroutine.wrap(function() inner() end)\n"
         "local outer = coroutine.wrap(function() gen() end)\n"
         "outer()\n",
         "Error: game.lua:4: game.lua:3: game.lua:1: deep\n" +
             Traceback({"[C]: in function 'error'", "game.lua:1: in function 'inner'", "game.lua:2: in function <game.lua:2>",
                        "[C]: in function 'gen'", "game.lua:3: in function <game.lua:3>", "[C]: in function 'outer'",
                        "game.lua:4: in main chunk"})},
        // A coroutine's error returned by coroutine.resume and raised again.
        {"local co = coroutine.create(function() local x = nil return x.y end)\n"
         "assert(coroutine.resume(co))\n",
         "Error: game.lua:2: game.lua:1: attempt to index local 'x' (a nil value)\n" +
             Traceback({"game.lua:1: in function <game.lua:1>", "[C]: in function 'assert'", "game.lua:2: in main chunk"})},
        // An error caught inside the script leaves no traceback behind.
        {"local co = coroutine.wrap(function() error('caught') end)\n"
         "assert(not pcall(co))\n"
         "error('later', 0)\n",
         "Error: later\n" + Traceback({"[C]: in function 'error'", "game.lua:3: in main chunk"})},
    };
    TempDir dir;
    for (const Case& c : cases) {
        RunResult r = RunScript(dir, c.source);
        EXPECT_EQ(r.status, 0) << c.source;
        EXPECT_EQ(r.err, c.err) << c.source;
    }
}

// coroutine.resume is replaced to remember failed coroutines; it still
// answers as the script library's own does.
TEST(HostRun, CoroutineResumeBehavesAsTheLibrarysOwn) {
    TempDir dir;
    RunResult r = RunScript(dir,
                            "local co = coroutine.create(function(a, b) coroutine.yield(a + b, 'y') error({}) end)\n"
                            "print(coroutine.resume(co, 1, 2))\n"
                            "local ok, e = coroutine.resume(co) print(ok, type(e), coroutine.status(co))\n"
                            "print(coroutine.resume(co))\n"
                            "print(pcall(coroutine.resume, 1))\n"
                            "local r = coroutine.resume print(pcall(function() return r(nil) end))\n"
                            "print(coroutine.resume(coroutine.create(function(...) return select('#', ...), ... end), nil, 2, nil))\n"
                            "print(coroutine.resume(coroutine.running()))\n"
                            "print(coroutine.resume(coroutine.create(function() error('x') end)))\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "true\t3\ty\n"
              "false\ttable\tdead\n"
              "false\tcannot resume dead coroutine\n"
              "false\tbad argument #1 to 'coroutine.resume' (coroutine expected)\n"
              "false\tgame.lua:6: bad argument #1 to 'r' (coroutine expected)\n"
              "true\t3\tnil\t2\tnil\n"
              "false\tcannot resume non-suspended coroutine\n"
              "false\tgame.lua:9: x\n");
}

TEST(HostRun, HelpAndVersionAnswerWithoutStartingTheMediaLayer) {
    TempDir dir;
    // A sound system that cannot open would end any run that started it.
    RunOptions noSound;
    noSound.env = {{"SDL_AUDIODRIVER", "no-such-driver"}};
    for (const std::string option : {"--help", "-h"}) {
        RunResult r = RunProgram({VorluneExe(), option}, dir.path(), noSound);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out.rfind("Usage: vorlune script.lua [arguments...]\n", 0), 0u) << r.out;
        EXPECT_EQ(r.err, "");
    }
    RunResult r = RunProgram({VorluneExe(), "--version"}, dir.path(), noSound);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Vorlune 0.5.5\n");

    // A file of that name is a script like any other.
    dir.Write("--help", "io.write('ran ' .. arguments())\n");
    r = RunProgram({VorluneExe(), "--help"}, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "ran " + VorluneExe() + " --help ");

    // A game made by vorlune-bind takes them as arguments of its own script.
    dir.Write("game.lua", "io.write('game ' .. arguments())\n");
    r = RunProgram({BindExe(), "game.lua", "-o", (dir / "game").string()}, dir.path());
    ASSERT_EQ(r.status, 0) << r.err;
    r = RunProgram({(dir / "game").string(), "--version"}, dir.path());
    EXPECT_EQ(r.out, "game " + (dir / "game").string() + " --version ");
}

// A loop that never reads input: the first signal is a quit request nobody
// reads, the second ends the run with 128 + its number after writing out the
// script's files.
TEST(HostRun, SecondStopSignalEndsABusyLoopWithItsFilesWritten) {
    TempDir dir;
    const std::string busy =
        "local f = open('kept.txt', 'w')\n"
        "for i = 1, 3 do fprint(f, 'line ' .. i) end\n"
        "io.write('ready\\n') io.flush()\n"
        "while true do end\n";
    struct Case {
        std::vector<int> signals;
        int status;
    };
    for (const Case& c : std::vector<Case>{{{SIGTERM, SIGTERM}, 143}, {{SIGTERM, SIGINT}, 130}}) {
        fs::remove(dir / "kept.txt");
        RunOptions options;
        options.signalAfter = "ready\n";
        options.signals = c.signals;
        options.timeoutSeconds = 20;
        RunResult r = RunScript(dir, busy, options);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_EQ(dir.Read("kept.txt"), "line 1\nline 2\nline 3\n");
    }
}

TEST(HostRun, UsageErrorsNameTheScriptLine) {
    TempDir dir;
    RunResult r = RunScript(dir, "\n\n\n\n\n\nsetactivewindow(1, 2)\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "Error: game.lua:7: Usage: setactivewindow (window)\n" +
                         Traceback({"[C]: in function 'setactivewindow'", "game.lua:7: in main chunk"}));
}

TEST(HostRun, MissingScriptFileIsReportedByName) {
    TempDir dir;
    RunResult r = RunProgram({VorluneExe(), "missing.lua"}, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "Error: cannot open missing.lua: No such file or directory\n");
}

TEST(HostRun, FirstLineStartingWithHashIsSkippedAndLineNumbersKept) {
    TempDir dir;
    RunResult r = RunScript(dir, "#!/usr/bin/env vorlune\nerror('second')\n");
    EXPECT_EQ(FirstLine(r.err), "Error: game.lua:2: second\n");
}

TEST(HostRun, WorkingDirectoryBecomesTheScriptsDirectory) {
    TempDir dir;
    dir.Write("games/pong/main.lua",
              "local f = assert(io.open('beside.txt', 'w')) f:write('x') f:close()\n"
              "error('from pong')\n");
    // A relative path with directories still loads after the change, and
    // messages name the script as typed.
    RunResult r = RunProgram({VorluneExe(), "games/pong/main.lua"}, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(FirstLine(r.err), "Error: games/pong/main.lua:2: from pong\n");
    EXPECT_TRUE(fs::exists(dir / "games/pong/beside.txt"));

    // An absolute path works the same way.
    fs::remove(dir / "games/pong/beside.txt");
    std::string absolute = (dir / "games/pong/main.lua").string();
    r = RunProgram({VorluneExe(), absolute}, dir.path());
    EXPECT_EQ(FirstLine(r.err), "Error: " + absolute + ":2: from pong\n");
    EXPECT_TRUE(fs::exists(dir / "games/pong/beside.txt"));

    // A bare file name leaves the working directory alone.
    dir.Write("sub/x", "");
    r = RunProgram({VorluneExe(), "../game.lua"}, dir / "sub");
    EXPECT_EQ(r.err, "Error: cannot open ../game.lua: No such file or directory\n");
}

TEST(HostRun, SoundSystemFailureShowsItsBox) {
    TempDir dir;
    RunOptions options;
    options.env = {{"SDL_AUDIODRIVER", "no-such-driver"}};
    RunResult r = RunScript(dir, "print('not reached')\n", options);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.find("not reached"), std::string::npos);
    EXPECT_EQ(r.err.rfind("Error: Could not initialize sound system: ", 0), 0u) << r.err;
}

TEST(HostRun, SdlInitFailureIsReportedAndTheRunGoesOn) {
    TempDir dir;
    RunOptions options;
    options.env = {{"SDL_VIDEODRIVER", "no-such-driver"}};
    RunResult r = RunScript(dir, "print('running')\nopenwindow('x', 0, 0, 64, 48)\nprint('not reached')\n", options);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("SDL_Init Error: ", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\nrunning\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("not reached"), std::string::npos);
    EXPECT_EQ(r.err.rfind("Error: SDL_CreateWindow Error: ", 0), 0u) << r.err;
}

// Executables that carry their script.
class BoundGame : public ::testing::Test {
protected:
    void Bind(const std::string& script) {
        dir.Write("src/game.lua", script);
        fs::create_directories(dir / "dist");
        RunResult r = RunProgram({BindExe(), "src/game.lua", "-o", (dir / "dist/mygame").string()}, dir.path());
        ASSERT_EQ(r.status, 0) << r.err;
    }
    TempDir dir;
};

TEST_F(BoundGame, BinderRefusesBadCommandLines) {
    RunResult r = RunProgram({BindExe(), "--help"}, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Usage: vorlune-bind"), std::string::npos);
    r = RunProgram({BindExe(), "game.lua"}, dir.path());
    EXPECT_NE(r.status, 0);
    r = RunProgram({BindExe(), "missing.lua", "-o", "x"}, dir.path());
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("cannot read script missing.lua"), std::string::npos);
    dir.Write("game.lua", "");
    r = RunProgram({BindExe(), "game.lua", "-o", "out/mygame"}, dir.path());
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.err, "vorlune-bind: cannot write out/mygame: No such file or directory\n");
}

// A bound game leaves out the interpreter's debug information and symbol
// tables unless --no-strip keeps them; either way it runs.
TEST_F(BoundGame, IsStrippedUnlessToldNotTo) {
    dir.Write("game.lua", "print('ran')\n");
    std::string game = (dir / "mygame").string();
    auto interpreterSize = fs::file_size(VorluneExe());
    auto appendedSize = script::EncodeScript("print('ran')\n").size() + script::kTrailerSize;
    for (bool strip : {true, false}) {
        std::vector<std::string> argv = {BindExe(), "game.lua", "-o", "mygame"};
        if (!strip) argv.push_back("--no-strip");
        RunResult r = RunProgram(argv, dir.path());
        ASSERT_EQ(r.status, 0) << r.err;
        if (strip) {
            EXPECT_LT(fs::file_size(game), interpreterSize);
        } else {
            EXPECT_EQ(fs::file_size(game), interpreterSize + appendedSize);
        }
        r = RunProgram({game}, dir.path());
        EXPECT_EQ(r.out, "ran\n") << strip << r.err;

        // The section table still reads without complaint.
        RunResult sections = RunProgram({"readelf", "--wide", "--section-headers", "--program-headers", game}, dir.path());
        if (sections.status == 127) continue;  // no binutils on this machine
        EXPECT_EQ(sections.err, "") << strip;
        EXPECT_NE(sections.out.find(" .text "), std::string::npos) << strip;
        EXPECT_EQ(sections.out.find(" .symtab ") == std::string::npos, strip) << sections.out;
        if (strip) {
            EXPECT_EQ(sections.out.find(" .debug_"), std::string::npos) << sections.out;
        }
    }
}

TEST_F(BoundGame, RunsItsScriptFromAnyDirectoryWithOrWithoutArguments) {
    Bind("local f = io.open('data.txt')\n"
         "print(f and f:read('*l') or 'no data')\n"
         "print(arguments())\n");
    dir.Write("dist/data.txt", "beside the game\n");
    struct stat st {};
    ASSERT_EQ(stat((dir / "dist/mygame").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u);

    std::string exe = (dir / "dist/mygame").string();
    RunResult r = RunProgram({exe}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "beside the game\n" + exe + " \n");

    // Arguments reach the script; argument 1 is not loaded as a script.
    r = RunProgram({exe, "other.lua", "-x"}, dir / "src");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "beside the game\n" + exe + " other.lua -x \n");

    // Started through PATH, it still finds its own bytes.
    RunOptions options;
    options.env = {{"PATH", (dir / "dist").string() + ":/usr/bin:/bin"}};
    r = RunProgram({"mygame", "a"}, dir / "src", options);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "beside the game\nmygame a \n");
}

TEST_F(BoundGame, ErrorsOfABoundScriptAreReported) {
    Bind("local x = 1\nerror('bound boom')\n");
    RunResult r = RunProgram({(dir / "dist/mygame").string()}, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find(":2: bound boom"), std::string::npos) << r.err;
}

// What the file loader skips at the start of a script (a byte-order mark, a
// first line starting with '#') must not reach the bound script, whose text
// runs as a string; line numbers stay those of the file.
TEST_F(BoundGame, RunsScriptsWithAByteOrderMarkOrAnInterpreterLine) {
    for (std::string head : {"#!/usr/bin/env vorlune\n", "\xEF\xBB\xBF", "\xEF\xBB\xBF#!vorlune\r\n"}) {
        std::string script = head + "print('ran')\n";
        if (head.back() == '\n') script += "error('line three')\n";
        Bind(script);
        RunResult direct = RunProgram({VorluneExe(), "src/game.lua"}, dir.path());
        RunResult bound = RunProgram({(dir / "dist/mygame").string()}, dir.path());
        EXPECT_EQ(bound.status, 0);
        EXPECT_EQ(bound.out, "ran\n") << bound.err;
        EXPECT_EQ(direct.out, "ran\n");
        if (head.back() == '\n') {
            EXPECT_NE(bound.err.find("]:3: line three"), std::string::npos) << bound.err;
            EXPECT_NE(direct.err.find(":3: line three"), std::string::npos) << direct.err;
        } else {
            EXPECT_EQ(bound.err, "");
        }
    }
    // A '#' on a later line is the script's own affair (here a length operator).
    Bind("local t = {1, 2}\nprint(\n#t)\n");
    RunResult bound = RunProgram({(dir / "dist/mygame").string()}, dir.path());
    EXPECT_EQ(bound.out, "2\n") << bound.err;
}

// Copies the interpreter and appends raw bytes.
void WriteExecutable(const fs::path& file, const std::string& tail) {
    fs::copy_file(VorluneExe(), file, fs::copy_options::overwrite_existing);
    std::ofstream out(file, std::ios::binary | std::ios::app);
    out << tail;
    out.close();
    fs::permissions(file, fs::perms::owner_all);
}

TEST(HandMadeTrailer, ZeroOrNegativeOffsetRunsAnEmptyChunk) {
    TempDir dir;
    for (std::string offset : {"0", "-5"}) {
        WriteExecutable(dir / "game", "vrlnbind" + offset + std::string(12 - offset.size(), ' '));
        RunResult r = RunProgram({(dir / "game").string()}, dir.path());
        EXPECT_EQ(r.status, 0) << offset;
        EXPECT_EQ(r.err, "") << offset;
        EXPECT_EQ(r.out, "") << offset;
    }
}

TEST(HandMadeTrailer, InvalidOffsetIsAnUnhandledError) {
    TempDir dir;
    WriteExecutable(dir / "game", "vrlnbind  12x4      ");
    RunResult r = RunProgram({(dir / "game").string()}, dir.path());
    EXPECT_EQ(r.status, 217);
    EXPECT_NE(r.out.find("\"12x4\" is an invalid integer"), std::string::npos) << r.out;
    EXPECT_EQ(r.err, "");
}

TEST(HandMadeTrailer, LastLineWithoutLineFeedIsDropped) {
    TempDir dir;
    std::size_t size = fs::file_size(VorluneExe());
    std::string stored = script::EncodeScriptLine("print('kept')") + "\r\n" + script::EncodeScriptLine("print('dropped')");
    WriteExecutable(dir / "game", stored + script::MakeTrailer(static_cast<int64_t>(size)));
    RunResult r = RunProgram({(dir / "game").string()}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "kept\n");
}

}  // namespace
}  // namespace vorlune::test
