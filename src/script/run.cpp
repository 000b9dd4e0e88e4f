#include "script/run.hpp"

#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>

#include <lua.hpp>

#include "core/paths.hpp"
#include "platform/exit.hpp"
#include "platform/media.hpp"
#include "script/appended_script.hpp"
#include "script/keys.hpp"
#include "script/script_api.hpp"
#include "script/script_loader.hpp"
#include "system/files.hpp"
#include "util/random.hpp"

namespace vorlune::script {
namespace {

std::string DirectoryPart(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A relative path as an absolute one, so that a script named like
// games/pong/main.lua still loads after the working directory changed.
std::string Absolute(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    char* cwd = getcwd(nullptr, 0);
    if (!cwd) return path;
    std::string absolute = std::string(cwd) + "/" + path;
    std::free(cwd);
    return absolute;
}

// The function coroutine.wrap returns; it holds its coroutine as upvalue 1.
lua_CFunction wrapFunction = nullptr;

// The stack traceback of the error that ends the run, taken where it was raised.
std::string errorTraceback;

// The traceback lines of thread from level on, without the heading line.
std::string TracebackLines(lua_State* L, lua_State* thread, int level) {
    luaL_traceback(L, thread, nullptr, level);
    std::string text = lua_tostring(L, -1);
    lua_pop(L, 1);
    const std::size_t lineEnd = text.find('\n');
    return lineEnd == std::string::npos ? std::string() : text.substr(lineEnd);
}

// The coroutine whose error the function at (thread, level) passes on, when
// that function is one made by coroutine.wrap and the coroutine died of an
// error; else null.
lua_State* FailedWrappedCoroutine(lua_State* thread, int level) {
    lua_Debug ar;
    if (!lua_checkstack(thread, 2) || !lua_getstack(thread, level, &ar) || !lua_getinfo(thread, "f", &ar)) return nullptr;
    lua_State* coroutine = nullptr;
    if (lua_tocfunction(thread, -1) == wrapFunction && lua_getupvalue(thread, -1, 1)) {
        coroutine = lua_tothread(thread, -1);
        lua_pop(thread, 1);
        if (coroutine && lua_status(coroutine) <= LUA_YIELD) coroutine = nullptr;
    }
    lua_pop(thread, 1);
    return coroutine;
}

// Message handler of the run: keeps the error value as it is (the box shows
// it) and records the traceback, as the standalone interpreter prints it.
// An error that left coroutines through coroutine.wrap shows the stacks of
// those coroutines first: in this Lua a dead coroutine keeps its stack as it
// was when the error was raised.
int RecordTraceback(lua_State* L) {
    std::string lines = TracebackLines(L, L, 1);
    lua_State* thread = L;
    int level = 1;
    while (lua_State* coroutine = FailedWrappedCoroutine(thread, level)) {
        lines = TracebackLines(L, coroutine, 0) + lines;
        thread = coroutine;
        level = 0;
    }
    errorTraceback = "stack traceback:" + lines;
    lua_settop(L, 1);
    return 1;
}

int Nothing(lua_State*) { return 0; }

// Notes which C function coroutine.wrap makes its closures of.
void FindWrapFunction(lua_State* L) {
    lua_getglobal(L, "coroutine");
    lua_getfield(L, -1, "wrap");
    lua_pushcfunction(L, Nothing);
    lua_call(L, 1, 1);
    wrapFunction = lua_tocfunction(L, -1);
    lua_pop(L, 2);
}

constexpr const char* kUsage =
    "Usage: vorlune script.lua [arguments...]\n"
    "\n"
    "Runs a Vorlune game script. The script's directory becomes the working\n"
    "directory; arguments() returns every command-line argument, the program\n"
    "first. An executable made by vorlune-bind runs its own script instead.\n"
    "\n"
    "  -h, --help     show this text and exit\n"
    "  --version      show the version and exit\n"
    "(an existing file of that name runs as a script instead)\n"
    "\n"
    "A script error is shown in a box titled \"Error\" and written to standard\n"
    "error with a stack traceback. Ctrl-C or SIGTERM asks the script to quit;\n"
    "a second one while the first is unread ends the run at once.\n"
    "Exit status: 0 (also after an error box), 130/143 when stopped by a second\n"
    "SIGINT/SIGTERM, 217 for an unhandled run-time error.\n";

// `vorlune --help`, `-h` and `--version` answer on standard output without
// starting the media layer, unless a file of that name exists or the
// executable carries its own script.
void AnswerInformationOption(int argc, char** argv, const std::string& ownFile) {
    if (argc < 2) return;
    const std::string option = argv[1];
    const bool help = option == "--help" || option == "-h";
    if ((!help && option != "--version") || core::FileExists(option) || HasAppendedScript(ownFile)) return;
    std::fputs(help ? kUsage : "Vorlune 0.5.5\n", stdout);
    platform::ExitProcess(0);
}

}  // namespace

int Main(int argc, char** argv) {
    AnswerInformationOption(argc, argv, core::OwnExecutableFile(argc > 0 ? argv[0] : ""));
    platform::StartMedia();
    util::SeedRandomFromClock();
    RunHost(argc, argv, std::nullopt);
}

void RunHost(int argc, char** argv, std::optional<uint32_t> seed) {
    // Number conversions use "." whatever the locale.
    std::setlocale(LC_NUMERIC, "C");
    if (seed) util::SeedRandom(*seed);
    else util::SeedRandomFromClock();

    const std::string ownFile = core::OwnExecutableFile(argc > 0 ? argv[0] : "");
    const AppendedScript appended = ReadAppendedScript(ownFile);
    if (argc < 2 && !appended.found) {
        platform::EndRun({.title = "No Script", .text = std::string(kVersionText) + "\nUsage: vorlune[.exe] script.lua"});
    }

    system::RecordArguments(argc, argv);
    const std::string scriptPath = argc > 1 ? argv[1] : "";
    const std::string scriptFile = Absolute(scriptPath);

    std::string directory = DirectoryPart(appended.found ? ownFile : scriptPath);
    if (!directory.empty() && chdir(directory.c_str()) != 0) {
        platform::UnhandledError("Cannot change to directory \"" + directory + "\": " + std::strerror(errno));
    }

    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    RegisterScriptApi(L);
    RegisterKeysModule(L);
    FindWrapFunction(L);

    lua_pushcfunction(L, RecordTraceback);
    int status = appended.found ? luaL_loadstring(L, appended.text.c_str()) : LoadScriptFile(L, scriptFile, scriptPath);
    if (status == LUA_OK) status = lua_pcall(L, 0, LUA_MULTRET, 1);
    if (status != LUA_OK) {
        const char* message = lua_tolstring(L, -1, nullptr);
        // A load error has no traceback; a run-time error's follows the box line.
        platform::EndRun({.title = "Error", .text = message ? message : "", .shutdown = platform::Shutdown::Media,
                          .stderrText = errorTraceback.empty() ? "" : errorTraceback + "\n"});
    }
    lua_close(L);
    platform::ExitProcess(0);
}

}  // namespace vorlune::script
