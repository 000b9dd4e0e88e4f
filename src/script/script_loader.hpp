// Loading the script file as the script library's own file loader does, but
// with the chunk named as the user typed the path.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include <lua.hpp>

namespace vorlune::script {

// Loads file (a path valid now) as a chunk named "@" + shownName. Like
// luaL_loadfilex: skips a UTF-8 byte-order mark and a first line starting
// with '#', accepts text and binary chunks, and on failure pushes
// "cannot open <shownName>: <reason>" and returns LUA_ERRFILE.
// Where the chunk of a script file starts: after a UTF-8 byte-order mark and
// a first line starting with '#', whose line end is kept so that line
// numbers stay those of the file. vorlune-bind stores a script from there.
std::size_t ChunkStart(std::string_view source);

int LoadScriptFile(lua_State* L, const std::string& file, const std::string& shownName);

}  // namespace vorlune::script
