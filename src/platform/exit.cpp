#include "platform/exit.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <SDL.h>

#include "platform/media.hpp"
#include "platform/signals.hpp"

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

// The exit status of a run that ends after a box. The interpreter exits
// with 0; the test runner makes such failures visible to a shell.
int boxEndingStatus = 0;

// Sees every exit last (the test runner's summary), and may change its status.
int (*exitFilter)(int status) = nullptr;

// The box with "title: text" and then extra on standard error. Boxes also go
// to standard error: without a display the box returns at once, and a
// terminal user still sees what happened (before the box, which blocks).
void ShowBox(uint32_t flags, const std::string& title, const std::string& text, const std::string& extra) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s: %s\n%s", title.c_str(), text.c_str(), extra.c_str());
    std::fflush(stderr);
    if (HaveDisplay()) SDL_ShowSimpleMessageBox(flags, title.c_str(), text.c_str(), nullptr);
}

}  // namespace

void ShowMessageBox(uint32_t flags, const std::string& title, const std::string& text) {
    ShowBox(flags, title, text, "");
}

void EndRun(const Ending& ending) {
    if (ending.title) ShowBox(ending.flags, ending.title, ending.text, ending.stderrText);
    switch (ending.shutdown) {
        case Shutdown::None: break;
        case Shutdown::Sdl: SDL_Quit(); break;
        case Shutdown::Media: ShutdownMedia(); break;
    }
    ExitProcess(ending.title ? boxEndingStatus : 0);
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

void SetBoxEndingStatus(int status) { boxEndingStatus = status; }

void SetExitFilter(int (*filter)(int status)) { exitFilter = filter; }

void ExitProcess(int status) {
    ClaimExit();
    if (exitFilter) status = exitFilter(status);
    // std::exit flushes every C stream (standard output and the script's
    // open files) and runs the modules' destructors.
    std::fflush(stdout);
    std::exit(status);
}

}  // namespace vorlune::platform
