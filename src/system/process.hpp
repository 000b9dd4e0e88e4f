// External programs for scripts: run a program without a shell and capture
// its standard output.
#pragma once

#include <string>
#include <vector>

namespace vorlune::system {

std::string System(const std::string& commandLine);  // run the program, wait for it, return its output lines each ended by LF

std::vector<std::string> SplitCommandLine(const std::string& commandLine);  // words at blanks; '…' and "…" hold blanks and are removed
std::string FindExecutable(const std::string& program, const std::string& searchPath);  // program itself when it exists, else the first executable in the ':' list; "" when none
std::string JoinOutputLines(const std::string& output);  // lines ended by LF, CR or CR LF, rejoined each followed by LF

}  // namespace vorlune::system
