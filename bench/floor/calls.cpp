// Floor for the call-overhead scene: the same Lua script in a bare Lua state
// whose boxcoll and len are minimal C functions (read the arguments, compute,
// push the result), without the interpreter's binder. Also gives the script
// the arguments string the interpreter gives it.
//   calls SCRIPT [arguments...]
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include <lua.hpp>

namespace {

std::string argumentsString;

int BoxColl(lua_State* L) {
    if (lua_gettop(L) != 8) return luaL_error(L, "Usage: boxcoll (x1,y1,w1,h1,x2,y2,w2,h2)");
    int64_t v[8];  // sums of two 32-bit values cannot overflow here
    for (int i = 0; i < 8; ++i) v[i] = static_cast<int32_t>(lua_tointegerx(L, i + 1, nullptr));
    bool hit = v[4] + v[6] >= v[0] && v[0] + v[2] >= v[4] && v[5] + v[7] >= v[1] && v[1] + v[3] >= v[5];
    lua_pushboolean(L, hit);
    return 1;
}

int Len(lua_State* L) {
    if (lua_gettop(L) != 1) return luaL_error(L, "Usage: len (string)");
    const char* s = lua_tolstring(L, 1, nullptr);
    lua_pushinteger(L, s ? static_cast<lua_Integer>(std::strlen(s)) : 0);
    return 1;
}

int Arguments(lua_State* L) {
    lua_pushlstring(L, argumentsString.data(), argumentsString.size());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: calls SCRIPT [arguments...]\n");
        return 2;
    }
    for (int i = 0; i < argc; ++i) argumentsString += std::string(argv[i]) + " ";
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    lua_register(L, "boxcoll", BoxColl);
    lua_register(L, "len", Len);
    lua_register(L, "arguments", Arguments);
    int status = luaL_loadfilex(L, argv[1], nullptr);
    if (status == LUA_OK) status = lua_pcall(L, 0, LUA_MULTRET, 0);
    if (status != LUA_OK) {
        const char* message = lua_tostring(L, -1);
        std::fprintf(stderr, "%s\n", message ? message : "error");
        return 1;
    }
    lua_close(L);
    return 0;
}
