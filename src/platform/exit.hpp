// How a run ends, in one place: message boxes, the media shutdown that goes
// with a failure, the unhandled-error report and the process exit.
//
// Every way a run gives up is an `Ending`: the box it shows (none, or flags,
// title and text), what else goes to standard error after the box's line (a
// script's stack traceback), how much of the media layer it shuts down, and
// the exit: status 0, or what SetBoxEndingStatus chose for runs ended by a box.
#pragma once

#include <cstdint>
#include <string>

namespace vorlune::platform {

enum class Shutdown { None, Sdl, Media };  // nothing; SDL_Quit alone; the full media shutdown

struct Ending {
    uint32_t flags = 1;          // box flags: 1, or 0x10 (error icon)
    const char* title = nullptr; // box title; null: no box
    std::string text{};          // box text
    Shutdown shutdown = Shutdown::None;
    std::string stderrText{};    // written to standard error after "title: text"
};

void ShowMessageBox(uint32_t flags, const std::string& title, const std::string& text);  // modal box; also "title: text" on stderr
[[noreturn]] void EndRun(const Ending& ending);  // the box, the shutdown, exit 0 (or the box-ending status)
[[noreturn]] void FatalErrorBox(const std::string& title, const std::string& text);  // box (flags 1), ShutdownMedia, exit 0
[[noreturn]] void EndOnQuitRequest();            // a quit request taken from the event queue: SDL_Quit, exit 0
[[noreturn]] void UnhandledError(const std::string& message);  // report on stdout, exit 217
[[noreturn]] void ExitProcess(int status);       // flush standard output and open files, leave with status
void SetBoxEndingStatus(int status);             // exit status of every ending that shows a box (0 by default)
void SetExitFilter(int (*filter)(int status));   // ExitProcess calls it last and exits with what it returns

inline constexpr int kUnhandledErrorStatus = 217;

}  // namespace vorlune::platform
