// The vorlune.keys module: registered without changing what a script sees,
// built on the first require, and found by scripts anywhere and bound games.
#include <filesystem>
#include <iterator>
#include <set>
#include <string>

#include <gtest/gtest.h>
#include <lua.hpp>

#include "script/keys.hpp"
#include "support/script_runner.hpp"

namespace vorlune::test {
namespace {

// The keys of a table reached from the globals by a chunk returning it.
std::set<std::string> KeysOf(lua_State* L, const char* chunk) {
    std::set<std::string> keys;
    if (luaL_dostring(L, chunk) != LUA_OK) {
        ADD_FAILURE() << lua_tostring(L, -1);
        lua_pop(L, 1);
        return keys;
    }
    lua_pushnil(L);
    while (lua_next(L, -2)) {
        lua_pop(L, 1);
        lua_pushvalue(L, -1);
        keys.insert(lua_tostring(L, -1));
        lua_pop(L, 1);
    }
    lua_pop(L, 1);
    return keys;
}

TEST(KeysModule, RegisteringAddsOnlyThePreloadEntry) {
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    std::set<std::string> globals = KeysOf(L, "return _G");
    std::set<std::string> loaded = KeysOf(L, "return package.loaded");
    std::set<std::string> preload = KeysOf(L, "return package.preload");

    script::RegisterKeysModule(L);
    EXPECT_EQ(KeysOf(L, "return _G"), globals);
    EXPECT_EQ(KeysOf(L, "return package.loaded"), loaded);
    preload.insert("vorlune.keys");
    EXPECT_EQ(KeysOf(L, "return package.preload"), preload);
    lua_close(L);
}

TEST(KeysModule, RequireGivesOneTableOfScancodesByName) {
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    script::RegisterKeysModule(L);
    const char* chunk =
        "local key = require('vorlune.keys')\n"
        "assert(require('vorlune.keys') == key and package.loaded['vorlune.keys'] == key)\n"
        "return key.escape, key.left, key.right, key.a, key.z, key.space, key.f1, key['1'], key['0'],\n"
        "       key.return_, key.return2, key.end_, key.kp_enter, key.kp_plus, key.minus, key.left_ctrl";
    ASSERT_EQ(luaL_dostring(L, chunk), LUA_OK) << lua_tostring(L, -1);
    const int expected[] = {41, 80, 79, 4, 29, 44, 58, 30, 39, 40, 158, 77, 88, 87, 45, 224};
    ASSERT_EQ(lua_gettop(L), static_cast<int>(std::size(expected)));
    for (int i = 0; i < lua_gettop(L); ++i) EXPECT_EQ(lua_tointeger(L, i + 1), expected[i]) << "value " << i + 1;
    lua_close(L);
}

TEST(KeysModule, NamesAreUniqueAndEveryOneIsInTheTable) {
    std::set<std::string> names;
    for (const script::KeyName& key : script::KeyNames()) {
        EXPECT_TRUE(names.insert(key.name).second) << key.name << " twice";
        EXPECT_GT(key.scancode, 0);
        EXPECT_LT(key.scancode, 512);
    }
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    script::RegisterKeysModule(L);
    EXPECT_EQ(KeysOf(L, "return require('vorlune.keys')"), names);
    lua_close(L);
}

// The same script run from another directory and as a bound game.
TEST(KeysModule, FoundFromAnyScriptDirectoryAndInBoundGames) {
    TempDir dir;
    dir.Write("games/pong/game.lua",
              "local key = require('vorlune.keys')\n"
              "io.write(key.escape, ' ', key.up, ' ', tostring(rawget(_G, 'vorlune')), ' ', tostring(rawget(_G, 'key')))\n");
    RunResult r = RunProgram({VorluneExe(), "games/pong/game.lua"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "41 82 nil nil");

    std::filesystem::create_directories(dir / "dist");
    r = RunProgram({BindExe(), "games/pong/game.lua", "-o", (dir / "dist/pong").string()}, dir.path());
    ASSERT_EQ(r.status, 0) << r.err;
    r = RunProgram({(dir / "dist/pong").string()}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "41 82 nil nil");
}

}  // namespace
}  // namespace vorlune::test
