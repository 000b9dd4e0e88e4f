#include "script/keys.hpp"

#include <iterator>

namespace vorlune::script {
namespace {

constexpr KeyName kKeyNames[] = {
#include "script/keys_table.inc"
};

// The loader require calls: a fresh table of every name, which require keeps
// in package.loaded for later calls.
int OpenKeys(lua_State* L) {
    lua_createtable(L, 0, static_cast<int>(std::size(kKeyNames)));
    for (const KeyName& key : kKeyNames) {
        lua_pushinteger(L, key.scancode);
        lua_setfield(L, -2, key.name);
    }
    return 1;
}

}  // namespace

std::span<const KeyName> KeyNames() { return kKeyNames; }

void RegisterKeysModule(lua_State* L) {
    // package.preload is the registry's _PRELOAD table; going through the
    // registry reads no global.
    luaL_getsubtable(L, LUA_REGISTRYINDEX, "_PRELOAD");
    lua_pushcfunction(L, OpenKeys);
    lua_setfield(L, -2, "vorlune.keys");
    lua_pop(L, 1);
}

}  // namespace vorlune::script
