// Stopping a run from outside: SIGINT and SIGTERM.
//
// The first signal stays a quit request (SDL's own handler turns it into a
// quit event the script may read). A second one while the first is unread
// ends the run at once, even in a loop that never reads input or while a
// message box is up: standard output and the script's open files are
// flushed, child processes (the box's helper process under X11, programs
// started by the script) are killed, and the process exits with 128 + the
// signal number (130 for SIGINT, 143 for SIGTERM).
#pragma once

namespace vorlune::platform {

void WatchStopSignals();  // after SDL_Init: put our handler in front of SDL's for SIGINT/SIGTERM, start the watcher thread
void ClaimExit();         // the caller is ending the process: a stop by signal already under way ends it first

}  // namespace vorlune::platform
