// The script API table and the adapter convention shared by every function.
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/window.hpp"
#include "platform/active_window.hpp"
#include "script/script_api.hpp"
#include "support/engine_fixture.hpp"

namespace vorlune::test {
namespace {

struct Documented {
    const char* name;
    int count;  // -1: no parameters
    const char* usage;
};

const Documented kDocumented[] = {
#include "api_table.inc"
};

const Documented* FindDocumented(const std::string& name) {
    for (const auto& d : kDocumented) if (name == d.name) return &d;
    return nullptr;
}

TEST(ScriptApiTable, EveryDocumentedNameIsRegistered) {
    ASSERT_EQ(std::size(kDocumented), 161u);
    EXPECT_EQ(script::ScriptApiTable().size(), 161u);
}

TEST(ScriptApiTable, EveryNameIsAGlobalFunctionAfterRegistration) {
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    // None of the names shadows a standard-library global.
    for (const auto& d : kDocumented) {
        lua_getglobal(L, d.name);
        EXPECT_TRUE(lua_isnil(L, -1)) << d.name;
        lua_pop(L, 1);
    }
    script::RegisterScriptApi(L);
    for (const auto& d : kDocumented) {
        lua_getglobal(L, d.name);
        EXPECT_TRUE(lua_iscfunction(L, -1)) << d.name;
        lua_pop(L, 1);
    }
    lua_close(L);
}

TEST(ScriptApiTable, RowsMatchTheDocumentedNamesCountsUsagesAndOrder) {
    std::set<std::string> seen;
    int lastIndex = -1;
    for (const script::ApiEntry& row : script::ScriptApiTable()) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(seen.insert(row.name).second) << "registered twice";
        const Documented* doc = FindDocumented(row.name);
        ASSERT_NE(doc, nullptr) << "not a documented name";
        EXPECT_EQ(row.arity, doc->count < 0 ? 0 : doc->count);
        EXPECT_STREQ(row.usage, doc->usage);
        int index = static_cast<int>(doc - kDocumented);
        EXPECT_GT(index, lastIndex) << "out of registration order";
        lastIndex = index;
    }
}

TEST(ScriptApiTable, ClearwindowAndClsShareOneAdapter) {
    lua_CFunction clear = nullptr, cls = nullptr;
    for (const auto& row : script::ScriptApiTable()) {
        if (std::string(row.name) == "clearwindow") clear = row.adapter;
        if (std::string(row.name) == "cls") cls = row.adapter;
    }
    if (!clear || !cls) GTEST_SKIP() << "drawing functions not registered";
    EXPECT_EQ(clear, cls);
}

class AdapterTest : public EngineTest {};

std::string Nils(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += i ? ",nil" : "nil";
    return s;
}

// Every function that takes parameters rejects one argument too few and one
// too many with its exact usage message, prefixed by the calling line, before
// converting anything; the error is catchable and works inside coroutines.
TEST_F(AdapterTest, EveryCountedFunctionRaisesItsUsageForWrongCounts) {
    for (const script::ApiEntry& row : script::ScriptApiTable()) {
        if (row.arity == 0) continue;
        SCOPED_TRACE(row.name);
        for (int n : {row.arity - 1, row.arity + 1}) {
            std::string call = std::string(row.name) + "(" + Nils(n) + ")";
            std::string expected = std::string("test:1: ") + row.usage;
            EXPECT_EQ(Lua(call), expected);
            LuaOk("local ok, e = pcall(function() " + call + " end)\n"
                  "assert(not ok and e == 'test:1: " + row.usage + "', e)");
            LuaOk("local co = coroutine.create(function() " + call + " end)\n"
                  "local ok, e = coroutine.resume(co)\n"
                  "assert(not ok and e == 'test:1: " + row.usage + "', e)");
        }
    }
}

TEST_F(AdapterTest, NoParameterFunctionsIgnoreExtraArguments) {
    LuaOk("assert(fullscreen(1, 2, 3) == false)");
    LuaOk("assert(windowwidth('x') == 0 and windowheight({}) == 0)");
}

TEST_F(AdapterTest, ArgumentsConvertByKind) {
    // Integers from numeric strings and fractions; other values read as 0.
    LuaOk("local w = openwindow('c', '0', 0.0, '64', 48.9)\n"
          "setactivewindow(w)\n"
          "assert(windowwidth() == 64 and windowheight() == 48, windowwidth() .. 'x' .. windowheight())");
    // A string argument takes a number's text form; nil reads as "".
    LuaOk("setcaption(12.5)");
    EXPECT_STREQ(SDL_GetWindowTitle(platform::ActiveSdlWindow()), "12.5");
    LuaOk("setcaption(nil)");
    EXPECT_STREQ(SDL_GetWindowTitle(platform::ActiveSdlWindow()), "");
    // Strings are cut at their first zero byte.
    LuaOk("setcaption('ab\\0cd')");
    EXPECT_STREQ(SDL_GetWindowTitle(platform::ActiveSdlWindow()), "ab");
}

TEST_F(AdapterTest, RunningOutOfMemoryIsACatchableScriptError) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer aborts on impossible allocations instead of throwing";
#endif
    // 2^31 particles cannot be allocated: the script gets an error it can catch.
    LuaOk("local ok, e = pcall(createsimpleparticles, 0, 0, 2147483647, 1, 1, 1, 1, 1)\n"
          "assert(not ok and e == 'not enough memory', e)\n"
          "createsimpleparticles(0, 0, 1, 1, 1, 1, 1, 1)");
}

TEST_F(AdapterTest, WrongCountChangesNothing) {
    LuaOk("local w = openwindow('c', 0, 0, 64, 48) setactivewindow(w)");
    int32_t before = platform::ActiveWindowId();
    EXPECT_NE(Lua("setactivewindow()"), "");
    EXPECT_NE(Lua("setactivewindow(5, 6)"), "");
    EXPECT_EQ(platform::ActiveWindowId(), before);
}

}  // namespace
}  // namespace vorlune::test
