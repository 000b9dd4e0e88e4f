// In-process engine tests: the media layer started on the dummy drivers, a
// script state with the whole API registered, helpers to run Lua snippets,
// open a window and read its pixels back.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>
#include <lua.hpp>

#include <cstdint>
#include <string>

#include "graphics/sprite.hpp"
#include "platform/clock.hpp"
#include "support/script_runner.hpp"

namespace vorlune::test {

// The engine's clock in virtual time, set by the test: assigning a tick
// count switches the clock to it; reading gives the current tick count.
struct TestClock {
    TestClock& operator=(int32_t ticks) {
        platform::UseVirtualClock(static_cast<uint32_t>(ticks));
        return *this;
    }
    TestClock& operator+=(int32_t ms) { return *this = static_cast<int32_t>(platform::Ticks() + static_cast<uint32_t>(ms)); }
    operator int32_t() const { return static_cast<int32_t>(platform::Ticks()); }
};

// A surface made by a test, recorded as a live image as loadimage would.
graphics::Image AdoptImage(SDL_Surface* surface);

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs a Lua chunk; returns "" on success, else the error message.
    std::string Lua(const std::string& code);
    // Runs a Lua chunk that must succeed.
    void LuaOk(const std::string& code);
    // Evaluates a Lua expression and returns it converted to a string
    // (tostring), e.g. Eval("len('abc')") == "3".
    std::string Eval(const std::string& expression);

    // Opens a window of the given size and makes it the active one.
    int32_t OpenActiveWindow(int w = 80, int h = 60);
    // Reads the active renderer's pixels (before presenting) as 0xRRGGBBAA.
    Image ReadPixels();

    lua_State* L = nullptr;
};

}  // namespace vorlune::test
