// Interpreter host: start-up, running the script, and the shared exit paths.
#pragma once

#include <cstdint>
#include <string>

namespace vorlune::host {

int Main(int argc, char** argv);   // the whole run: start-up, find and run the script, exit status

void StartMedia();                 // graphics, audio and random start-up, in that order

void ShowMessageBox(uint32_t flags, const std::string& title, const std::string& text);  // modal box; also "title: text" on stderr
void ShutdownMedia();              // halt music, close audio, close the joystick, quit the image loader, quit SDL
[[noreturn]] void FatalErrorBox(const std::string& title, const std::string& text);  // box (flags 1), ShutdownMedia, exit 0
[[noreturn]] void UnhandledError(const std::string& message);  // report on stdout, exit 217
[[noreturn]] void ExitProcess(int status);  // flush standard output and open files, leave with status

const std::string& ArgumentsString();  // every command-line argument followed by one space
void SetArgumentsString(std::string s);  // (tests)

inline constexpr int kUnhandledErrorStatus = 217;
inline constexpr const char* kVersionText = "Vorlune interpreter 0.5.5";

}  // namespace vorlune::host
