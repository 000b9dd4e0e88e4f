#include "host/script_loader.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vorlune::host {
namespace {

int FileError(lua_State* L, const char* what, const std::string& shownName, int error) {
    lua_pushfstring(L, "cannot %s %s: %s", what, shownName.c_str(), std::strerror(error));
    return LUA_ERRFILE;
}

}  // namespace

int LoadScriptFile(lua_State* L, const std::string& file, const std::string& shownName) {
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f) return FileError(L, "open", shownName, errno);
    std::string source;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) source.append(buffer, n);
    int readError = std::ferror(f) ? errno : 0;
    std::fclose(f);
    if (readError) return FileError(L, "read", shownName, readError);

    std::size_t start = 0;
    if (source.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;
    if (start < source.size() && source[start] == '#') {
        // Skip the first line but keep its line end, so line numbers stay right.
        std::size_t lf = source.find('\n', start);
        start = (lf == std::string::npos) ? source.size() : lf;
    }
    std::string chunkName = "@" + shownName;
    return luaL_loadbufferx(L, source.data() + start, source.size() - start, chunkName.c_str(), nullptr);
}

}  // namespace vorlune::host
