// The script API: every global function a script gets, in registration order.
#pragma once

#include <span>

#include <lua.hpp>

#include "script/binder.hpp"

namespace vorlune::script {

std::span<const ApiEntry> ScriptApiTable();  // the rows, in registration order
void RegisterScriptApi(lua_State* L);        // set every row as a global function

}  // namespace vorlune::script
