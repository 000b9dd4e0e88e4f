#include "host/host.hpp"

#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include <SDL.h>
#include <SDL_mixer.h>
#include <lua.hpp>

#include "audio/audio.hpp"
#include "graphics/image_library.hpp"
#include "graphics/window.hpp"
#include "host/appended_script.hpp"
#include "host/script_api.hpp"
#include "host/script_loader.hpp"
#include "input/input.hpp"
#include "util/random.hpp"

namespace vorlune::host {
namespace {

// What the host knows about the run.
struct HostState {
    std::string arguments;         // ArgumentsString
    std::string executablePath;    // argument 0 as typed
    std::string scriptPath;        // argument 1, or ""
    AppendedScript appended;       // the appended script, when there is one
} state;

// The file holding the running program: /proc/self/exe, so that an
// interpreter started through PATH finds its own bytes; argument 0 otherwise.
std::string OwnExecutableFile(const std::string& argument0) {
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n > 0) return std::string(buffer, static_cast<std::size_t>(n));
    return argument0;
}

// Whether a modal box can be shown at all. Without a display SDL's box
// backends fail anyway, after forking a helper process; skip them, the box's
// text is on standard error already.
bool HaveDisplay() {
    if (const char* driver = SDL_GetCurrentVideoDriver()) {
        return std::strcmp(driver, "dummy") != 0 && std::strcmp(driver, "offscreen") != 0;
    }
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

std::string DirectoryPart(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

void StartMedia() {
    graphics::StartUp();
    audio::StartUp();
    util::SeedRandomFromClock();
}

void ShowMessageBox(uint32_t flags, const std::string& title, const std::string& text) {
    // Boxes also go to standard error: without a display the box returns at
    // once, and a terminal user still sees what happened.
    std::fflush(stdout);
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
    if (HaveDisplay()) SDL_ShowSimpleMessageBox(flags, title.c_str(), text.c_str(), nullptr);
}

void ShutdownMedia() {
    Mix_HaltMusic();
    Mix_CloseAudio();
    input::CloseActiveJoystick();
    graphics::ImgQuit();
    SDL_Quit();
}

void FatalErrorBox(const std::string& title, const std::string& text) {
    ShowMessageBox(1, title, text);
    ShutdownMedia();
    ExitProcess(0);
}

void UnhandledError(const std::string& message) {
    std::fflush(stderr);
    std::printf("An unhandled error occurred: %s\n", message.c_str());
    ExitProcess(kUnhandledErrorStatus);
}

void ExitProcess(int status) {
    // std::exit flushes every C stream (standard output and the script's
    // open files) and runs the modules' destructors.
    std::fflush(stdout);
    std::exit(status);
}

const std::string& ArgumentsString() { return state.arguments; }
void SetArgumentsString(std::string s) { state.arguments = std::move(s); }

int Main(int argc, char** argv) {
    StartMedia();

    // Number conversions use "." whatever the locale.
    std::setlocale(LC_NUMERIC, "C");
    state.arguments.clear();
    util::SeedRandomFromClock();
    state.executablePath = argc > 0 ? argv[0] : "";
    state.appended = AppendedScript{};

    std::string ownFile = OwnExecutableFile(state.executablePath);
    state.appended = ReadAppendedScript(ownFile);

    if (argc < 2 && !state.appended.found) {
        ShowMessageBox(1, "No Script", std::string(kVersionText) + "\nUsage: vorlune[.exe] script.lua");
        ExitProcess(0);
    }

    for (int i = 0; i < argc; ++i) {
        state.arguments += argv[i];
        state.arguments += ' ';
    }
    state.scriptPath = argc > 1 ? argv[1] : "";

    // Remember where the script is before the working directory changes, so
    // that a path like games/pong/main.lua still loads afterwards.
    std::string scriptFile = state.scriptPath;
    if (!state.appended.found && !scriptFile.empty() && scriptFile[0] != '/') {
        if (char* cwd = getcwd(nullptr, 0)) {
            scriptFile = std::string(cwd) + "/" + scriptFile;
            std::free(cwd);
        }
    }

    std::string directory = DirectoryPart(state.appended.found ? ownFile : state.scriptPath);
    if (!directory.empty() && chdir(directory.c_str()) != 0) {
        UnhandledError("Cannot change to directory \"" + directory + "\": " + std::strerror(errno));
    }

    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    RegisterScriptApi(L);

    int status = state.appended.found ? luaL_loadstring(L, state.appended.text.c_str())
                                      : LoadScriptFile(L, scriptFile, state.scriptPath);
    if (status == LUA_OK) status = lua_pcall(L, 0, LUA_MULTRET, 0);
    if (status != LUA_OK) {
        const char* message = lua_tolstring(L, -1, nullptr);
        FatalErrorBox("Error", message ? message : "");
    }
    lua_close(L);
    ExitProcess(0);
}

}  // namespace vorlune::host
