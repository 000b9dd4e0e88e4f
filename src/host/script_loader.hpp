// Loading the script file as the script library's own file loader does, but
// with the chunk named as the user typed the path.
#pragma once

#include <string>

#include <lua.hpp>

namespace vorlune::host {

// Loads file (a path valid now) as a chunk named "@" + shownName. Like
// luaL_loadfilex: skips a UTF-8 byte-order mark and a first line starting
// with '#', accepts text and binary chunks, and on failure pushes
// "cannot open <shownName>: <reason>" and returns LUA_ERRFILE.
int LoadScriptFile(lua_State* L, const std::string& file, const std::string& shownName);

}  // namespace vorlune::host
