#include "script/run.hpp"

#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
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

}  // namespace

int Main(int argc, char** argv) {
    platform::StartMedia();
    util::SeedRandomFromClock();

    // Number conversions use "." whatever the locale.
    std::setlocale(LC_NUMERIC, "C");

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

    int status = appended.found ? luaL_loadstring(L, appended.text.c_str()) : LoadScriptFile(L, scriptFile, scriptPath);
    if (status == LUA_OK) status = lua_pcall(L, 0, LUA_MULTRET, 0);
    if (status != LUA_OK) {
        const char* message = lua_tolstring(L, -1, nullptr);
        platform::FatalErrorBox("Error", message ? message : "");
    }
    lua_close(L);
    platform::ExitProcess(0);
}

}  // namespace vorlune::script
