// Script files, directories and environment, through the real interpreter in
// a temporary directory.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "system/files.hpp"
#include "support/script_runner.hpp"
#include "core/reset.hpp"

namespace vorlune::test {
namespace {

namespace fs = std::filesystem;

constexpr int kUnhandled = 217;

// Runs a script that must end normally and print nothing to standard error.
std::string RunOk(const TempDir& dir, const std::string& source) {
    RunResult r = RunScript(dir, source);
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(r.err, "");
    return r.out;
}

TEST(Files, HandlesAreIssuedInOrderAndNeverReused) {
    TempDir dir;
    dir.Write("in.txt", "x\n");
    EXPECT_EQ(RunOk(dir,
                    "local a = open('notes.txt', 'w') close(a)\n"
                    "local b = open('in.txt', 'r') close(b)\n"
                    "local c = open('other.txt', 'w')\n"
                    "local d = open('other.txt', 'nonsense')\n"
                    "print(a, b, c, d)\n"),
              "1\t2\t3\t4\n");
}

TEST(Files, WrittenLinesReadBackWithEofAfterTheLast) {
    TempDir dir;
    EXPECT_EQ(RunOk(dir,
                    "local f = open('notes.txt', 'w') fprint(f, 'a') fprint(f, 'b') close(f)\n"
                    "f = open('notes.txt', 'r')\n"
                    "print(eof(f), eoln(f), finput(f), eof(f), finput(f), eof(f), eoln(f))\n"
                    "print('[' .. finput(f) .. ']', '[' .. finput(f) .. ']', eof(f))\n"),
              "false\tfalse\ta\tfalse\tb\ttrue\ttrue\n[]\t[]\ttrue\n");
    EXPECT_EQ(dir.Read("notes.txt"), "a\nb\n");
}

TEST(Files, ModesAreOneLetterInEitherCase) {
    TempDir dir;
    RunOk(dir,
          "local f = open('w.txt', 'w') fprint(f, 'lower w') close(f)\n"
          "f = open('W.txt', 'W') fprint(f, 'upper W') close(f)\n"
          "f = open('w.txt', 'a') fprint(f, 'lower a') close(f)\n"
          "f = open('w.txt', 'A') fprint(f, 'upper A') close(f)\n"
          "f = open('W.txt', 'w') fprint(f, 'truncated') close(f)\n"
          "f = open('w.txt', 'r') assert(finput(f) == 'lower w') close(f)\n"
          "f = open('w.txt', 'R') finput(f) assert(finput(f) == 'lower a') close(f)\n");
    EXPECT_EQ(dir.Read("w.txt"), "lower w\nlower a\nupper A\n");
    EXPECT_EQ(dir.Read("W.txt"), "truncated\n");
}

TEST(Files, LinesEndAtLfCrOrCrLf) {
    TempDir dir;
    dir.Write("mixed.txt", "one\r\ntwo\rthree\n\r\n\rlast");
    EXPECT_EQ(RunOk(dir,
                    "local f = open('mixed.txt', 'r') local t = {}\n"
                    "while not eof(f) do t[#t + 1] = '<' .. finput(f) .. '>' end\n"
                    "print(table.concat(t))\n"),
              "<one><two><three><><><last>\n");

    // eoln is true in front of CR, LF and at the end, false elsewhere.
    dir.Write("crlf.txt", "\r\n\nx");
    EXPECT_EQ(RunOk(dir,
                    "local f = open('crlf.txt', 'r')\n"
                    "print(eoln(f), finput(f) == '', eoln(f), finput(f) == '', eoln(f), eof(f), finput(f), eoln(f), eof(f))\n"),
              "true\ttrue\ttrue\ttrue\tfalse\tfalse\tx\ttrue\ttrue\n");
}

TEST(Files, EmptyFileIsAtEndAtOnce) {
    TempDir dir;
    dir.Write("empty.txt", "");
    EXPECT_EQ(RunOk(dir, "local f = open('empty.txt', 'r') print(eof(f), eoln(f), '[' .. finput(f) .. ']')\n"),
              "true\ttrue\t[]\n");
}

TEST(Files, LongLinesAndTextsWithEmbeddedLineEnds) {
    TempDir dir;
    EXPECT_EQ(RunOk(dir,
                    "local f = open('long.txt', 'w') fprint(f, ('x'):rep(100000)) fprint(f, 'p\\rq') close(f)\n"
                    "f = open('long.txt', 'r') print(#finput(f), finput(f), finput(f), eof(f))\n"),
              "100000\tp\tq\ttrue\n");
}

TEST(Files, OpenFailuresEndInTheFileNotFoundBox) {
    TempDir dir;
    fs::create_directory(dir / "adir");
    struct Case {
        std::string call;
        std::string name;
    };
    const std::vector<Case> cases = {
        {"open('missing.txt', 'r')", "missing.txt"},
        {"open('missing.txt', 'R')", "missing.txt"},
        {"open('missing.txt', 'a')", "missing.txt"},
        {"open('nodir/new.txt', 'w')", "nodir/new.txt"},
        {"open('adir', 'r')", "adir"},
        {"open('adir', 'w')", "adir"},
        {"open('', 'r')", ""},
    };
    for (const Case& c : cases) {
        RunResult r = RunScript(dir, c.call + "\nprint('still running')\n");
        EXPECT_EQ(r.status, 0) << c.call;
        EXPECT_EQ(r.err, "Error: File not found: " + c.name + "\n") << c.call;
        EXPECT_EQ(r.out, "") << c.call;
    }
    EXPECT_FALSE(fs::exists(dir / "missing.txt"));
}

TEST(Files, NamesAreCutTo255BytesButReportedAsPassed) {
    TempDir dir;
    RunOk(dir, "local f = open(('n'):rep(300), 'w') fprint(f, 'cut') close(f)\n");
    EXPECT_EQ(dir.Read(std::string(255, 'n')), "cut\n");

    RunResult r = RunScript(dir, "open(('m'):rep(300), 'r')\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "Error: File not found: " + std::string(300, 'm') + "\n");
}

// Every file operation on a slot that is not open in a suitable mode, or on a
// handle that was never issued, ends the run with status 217.
TEST(Files, MisusedSlotsTakeTheUnhandledErrorExit) {
    TempDir dir;
    dir.Write("in.txt", "line\n");
    const std::string setup =
        "local unknown = open('x.txt', 'x')\n"
        "local closed = open('in.txt', 'r') close(closed)\n"
        "local reading = open('in.txt', 'r')\n"
        "local writing = open('out.txt', 'w')\n";
    const std::vector<std::string> calls = {
        "fprint(unknown, 'a')", "close(unknown)", "eof(unknown)", "finput(unknown)",
        "fprint(closed, 'a')",  "close(closed)",  "eof(closed)",  "finput(closed)",
        "fprint(reading, 'a')", "eof(writing)",   "finput(writing)",
        "fprint(0, 'a')",       "close(0)",       "eof(0)",       "finput(0)",  "eoln(0)",
        "fprint(5, 'a')",       "close(99)",      "eof(-1)",      "finput(5)",  "eoln(5)",
        "eoln(-2147483648)",    "fprint(2147483647, 'a')",
    };
    for (const std::string& call : calls) {
        RunResult r = RunScript(dir, setup + call + "\nprint('still running')\n");
        EXPECT_EQ(r.status, kUnhandled) << call;
        EXPECT_NE(r.out.find("An unhandled error occurred: "), std::string::npos) << call << r.out;
        EXPECT_EQ(r.out.find("still running"), std::string::npos) << call;
    }
    // Before any open, even handle 0 names nothing.
    RunResult r = RunScript(dir, "eoln(0)\n");
    EXPECT_EQ(r.status, kUnhandled);
    EXPECT_EQ(r.out, "An unhandled error occurred: Invalid file handle: 0\n");
}

TEST(Files, EolnOnASlotNotOpenForReadingIsTrueAndLeavesNothingPending) {
    TempDir dir;
    dir.Write("in.txt", "line\n");
    EXPECT_EQ(RunOk(dir,
                    "local w = open('out.txt', 'w') local x = open('x.txt', 'x')\n"
                    "local c = open('in.txt', 'r') close(c)\n"
                    "print(eoln(w), eoln(x), eoln(c))\n"
                    "local r = open('in.txt', 'r') print(finput(r)) close(r)\n"
                    "makedir('made') removedir('made') changedir('.')\n"
                    "fprint(w, 'fine') close(w)\n"),
              "true\ttrue\ttrue\nline\n");
    EXPECT_EQ(dir.Read("out.txt"), "fine\n");
}

// A script writes without closing and then ends in each possible way: the
// file is complete afterwards.
TEST(Files, OpenFilesAreWrittenOutOnEveryKindOfExit) {
    TempDir dir;
    const std::string write =
        "local f = open('kept.txt', 'w')\n"
        "for i = 1, 20000 do fprint(f, 'line ' .. i) end\n"
        "local g = open('kept2.txt', 'a')\n"
        "fprint(g, 'tail')\n";
    std::string expected;
    for (int i = 1; i <= 20000; ++i) expected += "line " + std::to_string(i) + "\n";

    struct Case {
        std::string ending;
        int status;
        std::string err;  // what the run reports on standard error
    };
    const std::vector<Case> cases = {
        {"", 0, ""},                                                         // the main chunk returns
        {"error('boom')", 0, "Error: game.lua:5: boom\n" + Traceback({"[C]: in function 'error'", "game.lua:5: in main chunk"})},
        {"open('missing.txt', 'r')", 0, "Error: File not found: missing.txt\n"},  // fatal box
        {"finput(f)", kUnhandled, ""},                                       // unhandled I/O error
        {"system('')", kUnhandled, ""},                                      // unhandled error from system
        {"os.exit(3)", 3, ""},                                               // the script library's own exit
        // A quit request: SDL turns SIGTERM into one, which getkey takes.
        {"system([[sh -c 'kill -TERM $PPID']]) for i = 1, 1000 do getkey() end os.exit(5)", 0, ""},
    };
    for (const Case& c : cases) {
        dir.Write("kept2.txt", "head\n");
        fs::remove(dir / "kept.txt");
        RunResult r = RunScript(dir, write + c.ending + "\n");
        EXPECT_EQ(r.status, c.status) << c.ending;
        EXPECT_EQ(r.err, c.err) << c.ending;
        EXPECT_EQ(dir.Read("kept.txt"), expected) << c.ending;
        EXPECT_EQ(dir.Read("kept2.txt"), "head\ntail\n") << c.ending;
    }
}

TEST(Files, ExistenceTests) {
    TempDir dir;
    dir.Write("file.txt", "x");
    fs::create_directory(dir / "sub");
    fs::create_symlink("sub", dir / "linkdir");
    fs::create_symlink("file.txt", dir / "linkfile");
    fs::create_symlink("nowhere", dir / "dangling");
    EXPECT_EQ(RunOk(dir,
                    "local t = {}\n"
                    "for _, p in ipairs{'file.txt', 'sub', 'linkdir', 'linkfile', 'dangling', 'missing', '', 'file.txt/x'} do\n"
                    "  t[#t + 1] = p .. '=' .. tostring(fileexists(p)) .. ',' .. tostring(directoryexists(p))\n"
                    "end\n"
                    "print(table.concat(t, ' '))\n"),
              "file.txt=true,false sub=true,true linkdir=true,true linkfile=true,false dangling=false,false "
              "missing=false,false =false,false file.txt/x=false,false\n");
}

TEST(Files, DirectoryOperationsSucceed) {
    TempDir dir;
    dir.Write("doomed.txt", "x");
    EXPECT_EQ(RunOk(dir,
                    "makedir('made') makedir('made/inner') makedir('gone')\n"
                    "removedir('gone') deletefile('doomed.txt')\n"
                    "changedir('made/inner') local f = open('here.txt', 'w') fprint(f, 'inside') close(f)\n"
                    "changedir('') print(fileexists('here.txt'))\n"
                    "changedir('..') print(directoryexists('inner'))\n"),
              "true\ntrue\n");
    EXPECT_EQ(dir.Read("made/inner/here.txt"), "inside\n");
    EXPECT_FALSE(fs::exists(dir / "gone"));
    EXPECT_FALSE(fs::exists(dir / "doomed.txt"));

    mode_t mask = umask(0);
    umask(mask);
    struct stat info;
    ASSERT_EQ(stat((dir / "made").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0777 & ~mask);
}

TEST(Files, DirectoryFailuresShowABoxAndTheScriptGoesOn) {
    TempDir dir;
    dir.Write("full/content.txt", "x");
    dir.Write("plain.txt", "x");
    RunResult r = RunScript(dir,
                            "makedir('a/b') makedir('full') removedir('full') removedir('missing')\n"
                            "changedir('missing') changedir('plain.txt') deletefile('missing.txt') deletefile('full')\n"
                            "print('continued')\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "continued\n");
    EXPECT_EQ(r.err,
              "Error: Error generating directory: a/b\n"
              "Error: Error generating directory: full\n"
              "Error: Error removing directory: full\n"
              "Error: Error removing directory: missing\n"
              "Error: Error changing to directory: missing\n"
              "Error: Error changing to directory: plain.txt\n"
              "Error: Error removing file: missing.txt\n"
              "Error: Error removing file: full\n");
    EXPECT_TRUE(fs::exists(dir / "full/content.txt"));
}

TEST(Files, ArgumentsAndOsType) {
    TempDir dir;
    RunOptions options;
    options.args = {"x", "y z"};
    RunResult r = RunScript(dir, "io.write('[' .. arguments() .. '][' .. ostype() .. ']')\n", options);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "[" + VorluneExe() + " game.lua x y z ][Linux32]");
    // Functions without parameters ignore extra arguments.
    EXPECT_EQ(RunOk(dir, "print(ostype(1, 2))\n"), "Linux32\n");
}

TEST(Files, UsageMessagesCountArguments) {
    TempDir dir;
    RunResult r = RunScript(dir, "open('a')\n");
    EXPECT_EQ(FirstLine(r.err), "Error: game.lua:1: Usage: open (file, \"r/w/a\")\n");
    r = RunScript(dir, "fprint(1)\n");
    EXPECT_EQ(FirstLine(r.err), "Error: game.lua:1: Usage: fprint (file, text)\n");
}

// The file table in-process: a slot opened in the test binary itself.
TEST(FilesInProcess, ReadWriteThroughTheEngineFunctions) {
    TempDir dir;
    core::ResetEngine();
    std::string name = (dir / "t.txt").string();
    int32_t w = system::Open(name, "w");
    system::FPrint(w, "alpha");
    system::FPrint(w, "");
    system::Close(w);
    int32_t r = system::Open(name, "r");
    EXPECT_EQ(r, w + 1);
    EXPECT_EQ(system::FInput(r), "alpha");
    EXPECT_TRUE(system::Eoln(r));
    EXPECT_FALSE(system::Eof(r));
    EXPECT_EQ(system::FInput(r), "");
    EXPECT_TRUE(system::Eof(r));
    system::Close(r);
    EXPECT_EXIT(system::Close(r), ::testing::ExitedWithCode(kUnhandled), "");
    core::ResetEngine();
    EXPECT_EQ(system::Open(name, "?"), 1);
    core::ResetEngine();
}

}  // namespace
}  // namespace vorlune::test
