// The vorlune.keys module: scancodes by name for getkey and keystate. It is
// built into the interpreter, so require finds it from any script directory
// and in bound games, and it adds no global.
#pragma once

#include <span>

#include <lua.hpp>

namespace vorlune::script {

struct KeyName {
    const char* name;
    int scancode;
};

std::span<const KeyName> KeyNames();     // every name, in scancode order (keys_table.inc, written by tools/keys)
void RegisterKeysModule(lua_State* L);   // package.preload["vorlune.keys"]; the table is built on the first require

}  // namespace vorlune::script
