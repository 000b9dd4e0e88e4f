// Running external programs: command-line splitting, the program search,
// rejoining output lines, and `system` itself in-process and from scripts.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "system/process.hpp"
#include "support/script_runner.hpp"

namespace vorlune::test {
namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;

TEST(ProcessSplit, WordsQuotesAndBlanks) {
    struct Case {
        std::string line;
        Words words;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"   \t ", {}},
        {"echo hello", {"echo", "hello"}},
        {"  echo   hello  ", {"echo", "hello"}},
        {"echo\thello\nworld", {"echo", "hello", "world"}},
        {"echo \"a  b\" 'c d'", {"echo", "a  b", "c d"}},
        {"echo \"it's\" 'say \"hi\"'", {"echo", "it's", "say \"hi\""}},
        {"echo pre\"mid dle\"post", {"echo", "premid dlepost"}},
        {"echo \"\" ''", {"echo", "", ""}},
        {"echo \"unclosed  rest", {"echo", "unclosed  rest"}},
        {"echo $HOME; ls * | wc > out", {"echo", "$HOME;", "ls", "*", "|", "wc", ">", "out"}},
        {"echo back\\slash", {"echo", "back\\slash"}},
    };
    for (const Case& c : cases) EXPECT_EQ(system::SplitCommandLine(c.line), c.words) << c.line;
}

TEST(ProcessJoin, LinesEndedByLfCrOrCrLfGetOneLfEach) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"hello", "hello\n"},
        {"hello\n", "hello\n"},
        {"a\r\nb\rc\nd", "a\nb\nc\nd\n"},
        {"\n", "\n"},
        {"\r\n\r\n", "\n\n"},
        {"a\r\r\nb", "a\n\nb\n"},
        {"a\n\rb", "a\n\nb\n"},
        {std::string("z\0ero", 5), std::string("z\0ero\n", 6)},
    };
    for (const auto& [output, joined] : cases) EXPECT_EQ(system::JoinOutputLines(output), joined) << output;
}

TEST(ProcessFind, ExistingPathsFirstThenTheSearchPath) {
    TempDir dir;
    dir.Write("one/tool", "#!/bin/sh\n");
    dir.Write("two/tool", "#!/bin/sh\n");
    dir.Write("two/other", "#!/bin/sh\n");
    dir.Write("two/plain", "not executable\n");
    dir.Write("three/plain", "#!/bin/sh\n");
    fs::create_directory(dir / "one/adir");
    for (const char* f : {"one/tool", "two/tool", "two/other", "three/plain"}) {
        fs::permissions(dir / f, fs::perms::owner_all);
    }
    std::string one = (dir / "one").string(), two = (dir / "two").string(), three = (dir / "three").string();
    std::string path = one + ":" + two + "/:" + three;

    EXPECT_EQ(system::FindExecutable("tool", path), one + "/tool");
    EXPECT_EQ(system::FindExecutable("other", path), two + "/other");
    // Not executable: the search goes on to the next directory.
    EXPECT_EQ(system::FindExecutable("plain", path), three + "/plain");
    // A directory is not a program.
    EXPECT_EQ(system::FindExecutable("adir", path), "");
    EXPECT_EQ(system::FindExecutable("missing", path), "");
    EXPECT_EQ(system::FindExecutable("", path), "");
    EXPECT_EQ(system::FindExecutable("tool", ""), "");
    // An existing file is taken as it is, executable or not.
    std::string plain = (dir / "two/plain").string();
    EXPECT_EQ(system::FindExecutable(plain, path), plain);
    // A name that exists from the working directory is taken before the search.
    fs::path previous = fs::current_path();
    fs::current_path(dir / "one");
    EXPECT_EQ(system::FindExecutable("tool", two), "tool");
    EXPECT_EQ(system::FindExecutable("adir/../tool", "/nonexistent"), "adir/../tool");
    fs::current_path(dir.path());
    EXPECT_EQ(system::FindExecutable("tool", "/nonexistent::" + two), two + "/tool");
    fs::current_path(previous);
}

TEST(ProcessSystem, ReturnsStandardOutputLines) {
    EXPECT_EQ(system::System("echo hello"), "hello\n");
    EXPECT_EQ(system::System("true"), "");
    EXPECT_EQ(system::System("printf 'a\\r\\nb\\rc'"), "a\nb\nc\n");
    EXPECT_EQ(system::System("  printf \"%s|\" \"a b\" 'c  d' e"), "a b|c  d|e|\n");
    // No shell: variables, separators and wildcards reach the program as words.
    EXPECT_EQ(system::System("echo $HOME; ls *"), "$HOME; ls *\n");
    EXPECT_EQ(system::System("/bin/echo -n absolute"), "absolute\n");
    // Standard error is not part of the result; the exit status is ignored.
    EXPECT_EQ(system::System("sh -c 'echo out; echo err >&2; exit 3'"), "out\n");
}

TEST(ProcessSystem, InputIsClosedAtOnce) {
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(system::System("cat"), "");
    EXPECT_EQ(system::System("sh -c 'read line; echo \"read:$?\"'"), "read:1\n");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(ProcessSystem, LargeOutputOnBothPipesDoesNotBlock) {
    // 10 MiB on standard output, then 10 MiB on standard error.
    std::string out = system::System(
        "sh -c 'head -c 10485760 /dev/zero | tr \"\\\\0\" x; head -c 10485760 /dev/zero >&2; echo; echo end'");
    ASSERT_EQ(out.size(), 10485760u + 1 + 4);
    EXPECT_EQ(out.substr(0, 4), "xxxx");
    EXPECT_EQ(out.substr(out.size() - 5), "\nend\n");

    // Standard error first, so a reader of one pipe only would hang.
    out = system::System("sh -c 'head -c 10485760 /dev/zero >&2; echo done'");
    EXPECT_EQ(out, "done\n");
}

TEST(ProcessSystem, InheritsEnvironmentAndWorkingDirectory) {
    TempDir dir;
    fs::path previous = fs::current_path();
    fs::current_path(dir.path());
    setenv("VORLUNE_PROCESS_TEST", "inherited value", 1);
    EXPECT_EQ(system::System("pwd"), fs::canonical(dir.path()).string() + "\n");
    EXPECT_EQ(system::System("printenv VORLUNE_PROCESS_TEST"), "inherited value\n");
    unsetenv("VORLUNE_PROCESS_TEST");
    fs::current_path(previous);
}

TEST(ProcessSystem, FailuresTakeTheUnhandledErrorExit) {
    TempDir dir;
    dir.Write("data.txt", "not a program\n");
    // Executable but neither a binary nor a script with #!: no shell runs it.
    dir.Write("noshebang", "echo hi\n");
    fs::permissions(dir / "noshebang", fs::perms::owner_all);
    fs::create_directory(dir / "adir");
    struct Case {
        std::string line;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"", "Cannot execute empty command-line"},
        {"  \t ", "Cannot execute empty command-line"},
        {"no_such_program_vorlune arg", "Executable not found: \"no_such_program_vorlune\""},
        {"'' arg", "Executable not found: \"\""},
        {"./data.txt", "Failed to execute \"./data.txt\", error code: 13"},
        {"./noshebang", "Failed to execute \"./noshebang\", error code: 8"},
        {"adir", "Executable not found: \"adir\""},
    };
    for (const Case& c : cases) {
        RunResult r = RunScript(dir, "system([[" + c.line + "]])\nprint('still running')\n");
        EXPECT_EQ(r.status, 217) << c.line;
        EXPECT_EQ(r.out, "An unhandled error occurred: " + c.message + "\n") << c.line;
    }
}

TEST(ProcessSystem, ScriptsGetOutputAndSearchPath) {
    TempDir dir;
    dir.Write("bin/greet", "#!/bin/sh\necho \"hi $1\"\nprintf 'no newline'\n");
    fs::permissions(dir / "bin/greet", fs::perms::owner_all);
    RunOptions options;
    options.env = {{"PATH", (dir / "bin").string() + ":/usr/bin:/bin"}};
    RunResult r = RunScript(dir, "io.write(system('greet \"you there\"'))\nio.write(system('bin/greet x'))\n", options);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "hi you there\nno newline\nhi x\nno newline\n");
}

}  // namespace
}  // namespace vorlune::test
