// Template binder: turns an engine function into a script adapter.
//
// The engine function's C++ signature decides everything the adapter does:
// the exact argument count, how each argument is converted and how the result
// is pushed. Supported parameter types: int32_t (integer), double (number),
// std::string / const std::string& / std::string_view (string), bool
// (boolean), ObjectHandle (an unresolved handle) and the engine's object
// types, which resolve a handle at the call (graphics::Image, graphics::Sprite,
// audio::Sound, audio::Music). Supported results: void, int32_t, double, bool,
// std::string, ObjectHandle and the object types, pushed as their handle.
//
// An engine function reports a fault of the calling script by throwing
// core::ScriptError; the adapter raises its message as a script error.
//
// Adapters read, push and raise on the state they are called with, so script
// functions work inside coroutines as well as on the main thread.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include <lua.hpp>

#include "core/handles.hpp"
#include "core/script_error.hpp"
#include "util/convert.hpp"

namespace vorlune::script {

// A string literal usable as a template argument (the usage message).
template <std::size_t N>
struct FixedString {
    char text[N];
    constexpr FixedString(const char (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i) text[i] = s[i];
    }
    constexpr const char* c_str() const { return text; }
};

namespace detail {

template <typename T>
using Plain = std::remove_cvref_t<T>;

template <typename T>
inline constexpr bool kDependentFalse = false;

// An engine object type the script passes as a handle: it resolves a handle
// to the live object (graphics::Sprite, audio::Sound, ...) and carries it back.
template <typename T>
inline constexpr bool kResolved = requires(ObjectHandle h, const T& t) {
    { T::Resolve(h) } -> std::same_as<T>;
    { t.handle } -> std::convertible_to<ObjectHandle>;
};

// Reads argument i (1-based) as the kind named by T.
template <typename T>
Plain<T> Read(lua_State* L, int i) {
    using P = Plain<T>;
    if constexpr (std::is_same_v<P, int32_t>) {
        // The low 32 bits of the number's integer part; NaN and infinities
        // give 0. (lua_tointegerx would cast the double, undefined beyond
        // 64 bits.)
        return util::WrapToInt32(static_cast<double>(lua_tonumberx(L, i, nullptr)));
    } else if constexpr (std::is_same_v<P, double>) {
        return static_cast<double>(lua_tonumberx(L, i, nullptr));
    } else if constexpr (std::is_same_v<P, std::string>) {
        const char* s = lua_tolstring(L, i, nullptr);
        return s ? std::string(s) : std::string();  // cut at the first zero byte
    } else if constexpr (std::is_same_v<P, std::string_view>) {
        // Read-only text: a view of the script's string, which stays on the
        // stack until the adapter returns; cut at the first zero byte.
        const char* s = lua_tolstring(L, i, nullptr);
        return s ? std::string_view(s) : std::string_view();
    } else if constexpr (std::is_same_v<P, bool>) {
        return lua_toboolean(L, i) != 0;
    } else if constexpr (std::is_same_v<P, ObjectHandle>) {
        return lua_touserdata(L, i);
    } else if constexpr (kResolved<P>) {
        // An object handle, resolved here once: the engine gets the live
        // object or null, never an unchecked pointer.
        return P::Resolve(lua_touserdata(L, i));
    } else {
        static_assert(kDependentFalse<T>, "unsupported script argument type");
    }
}

template <typename R>
void Push(lua_State* L, const R& value) {
    if constexpr (std::is_same_v<R, int32_t>) {
        lua_pushinteger(L, value);
    } else if constexpr (std::is_same_v<R, double>) {
        lua_pushnumber(L, value);
    } else if constexpr (std::is_same_v<R, bool>) {
        lua_pushboolean(L, value ? 1 : 0);
    } else if constexpr (std::is_same_v<R, std::string>) {
        lua_pushlstring(L, value.data(), value.size());
    } else if constexpr (std::is_same_v<R, ObjectHandle>) {
        lua_pushlightuserdata(L, value);
    } else if constexpr (kResolved<R>) {
        lua_pushlightuserdata(L, value.handle);
    } else {
        static_assert(kDependentFalse<R>, "unsupported script result type");
    }
}

template <FixedString Usage, auto F, typename Sig = decltype(F)>
struct Adapter;

template <FixedString Usage, auto F, typename R, typename... A>
struct Adapter<Usage, F, R (*)(A...)> {
    static constexpr int kArity = sizeof...(A);

    static int Call(lua_State* L) {
        if constexpr (kArity > 0) {
            if (lua_gettop(L) != kArity) return luaL_error(L, "%s", Usage.c_str());
        }
        // A braced initialiser converts the arguments left to right.
        auto args = [L]<std::size_t... I>(std::index_sequence<I...>) {
            return std::tuple<Plain<A>...>{Read<A>(L, static_cast<int>(I) + 1)...};
        }(std::index_sequence_for<A...>{});
        // A ScriptError from the engine becomes a script error, raised only
        // after its handler is left (script errors are C++ exceptions too).
        std::string failure;
        try {
            if constexpr (std::is_void_v<R>) {
                std::apply(F, std::move(args));
                return 0;
            } else {
                Push<Plain<R>>(L, std::apply(F, std::move(args)));
                return 1;
            }
        } catch (const core::ScriptError& error) {
            failure = error.what();
        } catch (const std::bad_alloc&) {
            failure = "not enough memory";  // the script library's own words for it
        } catch (const std::exception& error) {
            // Any other failure of the engine is the calling script's error
            // too, with the exception's own message.
            failure = error.what();
        }
        return luaL_error(L, "%s", failure.c_str());
    }
};

}  // namespace detail

// One row of the script API: the registered name, its usage message ("" for
// functions without parameters), the adapter and its argument count.
struct ApiEntry {
    const char* name;
    const char* usage;
    lua_CFunction adapter;
    int arity;
};

template <FixedString Usage, auto F>
constexpr ApiEntry Row(const char* name) {
    using A = detail::Adapter<Usage, F>;
    static_assert(A::kArity > 0 || Usage.text[0] == '\0',
                  "functions without parameters have no usage message");
    return ApiEntry{name, Usage.c_str(), &A::Call, A::kArity};
}

}  // namespace vorlune::script
