#include "platform/exit.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <SDL.h>

#include "platform/media.hpp"

namespace vorlune::platform {
namespace {

// Whether a modal box can be shown at all. Without a display SDL's box
// backends fail anyway, after forking a helper process; skip them, the box's
// text is on standard error already.
bool HaveDisplay() {
    if (const char* driver = SDL_GetCurrentVideoDriver()) {
        return std::strcmp(driver, "dummy") != 0 && std::strcmp(driver, "offscreen") != 0;
    }
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

}  // namespace

void ShowMessageBox(uint32_t flags, const std::string& title, const std::string& text) {
    // Boxes also go to standard error: without a display the box returns at
    // once, and a terminal user still sees what happened.
    std::fflush(stdout);
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
    if (HaveDisplay()) SDL_ShowSimpleMessageBox(flags, title.c_str(), text.c_str(), nullptr);
}

void EndRun(const Ending& ending) {
    if (ending.title) ShowMessageBox(ending.flags, ending.title, ending.text);
    switch (ending.shutdown) {
        case Shutdown::None: break;
        case Shutdown::Sdl: SDL_Quit(); break;
        case Shutdown::Media: ShutdownMedia(); break;
    }
    ExitProcess(0);
}

void FatalErrorBox(const std::string& title, const std::string& text) {
    EndRun({.flags = 1, .title = title.c_str(), .text = text, .shutdown = Shutdown::Media});
}

void EndOnQuitRequest() { EndRun({.flags = 1, .title = nullptr, .text = {}, .shutdown = Shutdown::Sdl}); }

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

}  // namespace vorlune::platform
