#include "support/engine_fixture.hpp"

#include <cstring>

#include "graphics/window.hpp"
#include "platform/active_window.hpp"
#include "core/handles.hpp"
#include "platform/media.hpp"
#include "script/script_api.hpp"
#include "core/reset.hpp"
#include "platform/clock.hpp"

namespace vorlune::test {

graphics::Image AdoptImage(SDL_Surface* surface) {
    return graphics::Image{core::RegisterHandle(surface, core::HandleKind::Image), surface};
}

void EngineTest::SetUp() {
    platform::StartMedia();
    L = luaL_newstate();
    luaL_openlibs(L);
    script::RegisterScriptApi(L);
}

void EngineTest::TearDown() {
    lua_close(L);
    L = nullptr;
    platform::SetActiveWindowId(0);
    platform::UseRealClock();
    core::ResetEngine();
}

std::string EngineTest::Lua(const std::string& code) {
    int status = luaL_loadbufferx(L, code.data(), code.size(), "=test", "t");
    if (status == LUA_OK) status = lua_pcall(L, 0, 0, 0);
    if (status == LUA_OK) return "";
    const char* message = lua_tostring(L, -1);
    std::string text = message ? message : "(error object is not a string)";
    lua_pop(L, 1);
    return text;
}

void EngineTest::LuaOk(const std::string& code) {
    std::string error = Lua(code);
    ASSERT_EQ(error, "") << "in: " << code;
}

std::string EngineTest::Eval(const std::string& expression) {
    std::string code = "return tostring(" + expression + ")";
    if (luaL_loadbufferx(L, code.data(), code.size(), "=eval", "t") != LUA_OK || lua_pcall(L, 0, 1, 0) != LUA_OK) {
        std::string error = lua_tostring(L, -1) ? lua_tostring(L, -1) : "?";
        lua_pop(L, 1);
        ADD_FAILURE() << "Eval(" << expression << ") failed: " << error;
        return "<error>";
    }
    std::size_t n = 0;
    const char* s = lua_tolstring(L, -1, &n);
    std::string value(s, n);
    lua_pop(L, 1);
    return value;
}

int32_t EngineTest::OpenActiveWindow(int w, int h) {
    int32_t id = graphics::OpenWindow("test", 0, 0, w, h);
    graphics::SetActiveWindow(id);
    return id;
}

Image EngineTest::ReadPixels() {
    Image image;
    SDL_Renderer* renderer = platform::ActiveRenderer();
    if (!renderer) return image;
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer, &w, &h);
    image.width = w;
    image.height = h;
    image.pixels.resize(static_cast<std::size_t>(w) * h);
    SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGBA8888, image.pixels.data(), w * 4);
    return image;
}

}  // namespace vorlune::test
