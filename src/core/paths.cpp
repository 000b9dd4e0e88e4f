#include "core/paths.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace vorlune::core {

bool FileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

bool DirectoryExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

int ReadWholeFile(const std::string& path, std::string& contents) {
    contents.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return errno;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) contents.append(buffer, n);
    int error = std::ferror(f) ? (errno ? errno : EIO) : 0;
    std::fclose(f);
    return error;
}

std::string OwnExecutableFile(const std::string& argument0) {
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n > 0) return std::string(buffer, static_cast<std::size_t>(n));
    return argument0;
}

}  // namespace vorlune::core
