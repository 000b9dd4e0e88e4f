#include "script/script_loader.hpp"

#include <cstring>

#include "core/paths.hpp"

namespace vorlune::script {
namespace {

int FileError(lua_State* L, const char* what, const std::string& shownName, int error) {
    lua_pushfstring(L, "cannot %s %s: %s", what, shownName.c_str(), std::strerror(error));
    return LUA_ERRFILE;
}

}  // namespace

std::size_t ChunkStart(std::string_view source) {
    std::size_t start = 0;
    if (source.substr(0, 3) == "\xEF\xBB\xBF") start = 3;
    if (start < source.size() && source[start] == '#') {
        // Skip the first line but keep its line end, so line numbers stay right.
        std::size_t lf = source.find('\n', start);
        start = (lf == std::string_view::npos) ? source.size() : lf;
    }
    return start;
}

int LoadScriptFile(lua_State* L, const std::string& file, const std::string& shownName) {
    std::string source;
    if (int error = core::ReadWholeFile(file, source)) {
        return FileError(L, core::FileExists(file) ? "read" : "open", shownName, error);
    }
    std::size_t start = ChunkStart(source);
    std::string chunkName = "@" + shownName;
    return luaL_loadbufferx(L, source.data() + start, source.size() - start, chunkName.c_str(), nullptr);
}

}  // namespace vorlune::script
