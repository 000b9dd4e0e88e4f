// The file system: existence tests, whole-file reads, the running program's
// own file.
#pragma once

#include <string>

namespace vorlune::core {

bool FileExists(const std::string& path);       // anything exists at path (links followed, nothing opened)
bool DirectoryExists(const std::string& path);  // path is a directory (links followed)
int ReadWholeFile(const std::string& path, std::string& contents);  // every byte of the file; 0, or the errno of the failed open or read
std::string OwnExecutableFile(const std::string& argument0);  // /proc/self/exe (found through PATH too), else argument0

}  // namespace vorlune::core
