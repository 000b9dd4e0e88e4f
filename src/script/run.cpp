#include "script/run.hpp"

#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

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

// Registry key of the last coroutine coroutine.resume saw die of an error:
// a table {error value, coroutine}.
char resumedErrorKey;

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

// Whether the value at raised is the string at resumed with a position put
// in front ("game.lua:7: " + message), as error and assert raise a message.
bool RaisedAgainWithPosition(lua_State* L, int raised, int resumed) {
    if (lua_type(L, raised) != LUA_TSTRING || lua_type(L, resumed) != LUA_TSTRING) return false;
    std::size_t raisedLength = 0, resumedLength = 0;
    const char* raisedText = lua_tolstring(L, raised, &raisedLength);
    const char* resumedText = lua_tolstring(L, resumed, &resumedLength);
    const std::string_view text(raisedText, raisedLength), message(resumedText, resumedLength);
    return text.size() > message.size() + 2 && text.ends_with(message) &&
           text.substr(0, text.size() - message.size()).ends_with(": ");
}

// Message handler of the run: keeps the error value as it is (the box shows
// it) and records the traceback, as the standalone interpreter prints it.
// An error that left coroutines through coroutine.wrap shows the stacks of
// those coroutines first: in this Lua a dead coroutine keeps its stack as it
// was when the error was raised.
int RecordTraceback(lua_State* L) {
    std::string lines = TracebackLines(L, L, 1);
    // The error value a failed coroutine.resume returned, raised again
    // (assert(coroutine.resume(co)), say): the coroutine's stack comes first.
    lua_pushlightuserdata(L, &resumedErrorKey);
    lua_rawget(L, LUA_REGISTRYINDEX);
    if (lua_istable(L, -1)) {
        lua_rawgeti(L, -1, 1);
        const bool same = lua_rawequal(L, 1, -1) || RaisedAgainWithPosition(L, 1, -1);
        lua_rawgeti(L, -2, 2);
        lua_State* coroutine = lua_tothread(L, -1);
        if (same && coroutine) lines = TracebackLines(L, coroutine, 0) + lines;
        lua_pop(L, 2);
    }
    lua_pop(L, 1);
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

// coroutine.resume exactly as the script library has it, except that a
// coroutine that dies of an error here is remembered with its error value, so
// that the traceback can show its stack if that value ends the run.
int Resume(lua_State* L) {
    lua_State* co = lua_tothread(L, 1);
    luaL_argcheck(L, co, 1, "coroutine expected");
    const int narg = lua_gettop(L) - 1;
    if (!lua_checkstack(co, narg)) {
        lua_pushboolean(L, 0);
        lua_pushliteral(L, "too many arguments to resume");
        return 2;
    }
    if (lua_status(co) == LUA_OK && lua_gettop(co) == 0) {
        lua_pushboolean(L, 0);
        lua_pushliteral(L, "cannot resume dead coroutine");
        return 2;
    }
    const bool resumable = lua_status(co) <= LUA_YIELD;
    lua_xmove(L, co, narg);
    const int status = lua_resume(co, L, narg);
    if (status == LUA_OK || status == LUA_YIELD) {
        const int results = lua_gettop(co);
        if (!lua_checkstack(L, results + 1)) {
            lua_pop(co, results);
            lua_pushboolean(L, 0);
            lua_pushliteral(L, "too many results to resume");
            return 2;
        }
        lua_xmove(co, L, results);
        lua_pushboolean(L, 1);
        lua_insert(L, -(results + 1));
        return results + 1;
    }
    // The error value first, then false below it: co may be L itself.
    lua_xmove(co, L, 1);
    lua_pushboolean(L, 0);
    lua_insert(L, -2);
    if (resumable) {
        lua_pushlightuserdata(L, &resumedErrorKey);
        lua_createtable(L, 2, 0);
        lua_pushvalue(L, -3);
        lua_rawseti(L, -2, 1);
        lua_pushvalue(L, 1);
        lua_rawseti(L, -2, 2);
        lua_rawset(L, LUA_REGISTRYINDEX);
    }
    return 2;
}

int Nothing(lua_State*) { return 0; }

// Notes which C function coroutine.wrap makes its closures of, and puts
// Resume in the place of coroutine.resume.
void PrepareCoroutineTracebacks(lua_State* L) {
    lua_getglobal(L, "coroutine");
    lua_getfield(L, -1, "wrap");
    lua_pushcfunction(L, Nothing);
    lua_call(L, 1, 1);
    wrapFunction = lua_tocfunction(L, -1);
    lua_pop(L, 1);
    lua_pushcfunction(L, Resume);
    lua_setfield(L, -2, "resume");
    lua_pop(L, 1);
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
    PrepareCoroutineTracebacks(L);

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
