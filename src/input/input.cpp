#include "input/input.hpp"

#include <SDL.h>

#include <bitset>

#include "core/reset.hpp"

#include "platform/active_window.hpp"
#include "platform/clock.hpp"
#include "platform/exit.hpp"
#include "platform/media.hpp"

namespace vorlune::input {
namespace {

using platform::EndOnQuitRequest;

// Keys and mouse buttons held by scripted input.
struct ScriptedState {
    std::bitset<SDL_NUM_SCANCODES> keys;  // by scancode
    uint32_t buttons = 0;                 // SDL_BUTTON masks
} scripted;

const core::ResetHook resetHook([] { scripted = ScriptedState{}; });

// The start-up joystick while it is attached, else null.
SDL_Joystick* AttachedJoystick() { return platform::ActiveJoystick(); }

}  // namespace

std::string Inkey() {
    bool quitTaken = false;  // the event taken in the previous pass was a quit request
    for (;;) {
        platform::Delay(3);
        if (quitTaken) EndOnQuitRequest();
        SDL_Event event;
        if (!SDL_PollEvent(&event)) continue;
        if (event.type == SDL_QUIT) quitTaken = true;
        if (event.type != SDL_KEYDOWN) continue;
        return std::string(1, static_cast<char>(static_cast<uint32_t>(event.key.keysym.sym) & 0xFF));
    }
}

int32_t GetKey() {
    int32_t result = 0;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) EndOnQuitRequest();
        if (event.type == SDL_KEYDOWN) result = event.key.keysym.scancode;
    }
    return result;
}

bool KeyState(int32_t scancode) {
    SDL_PumpEvents();
    int count = 0;
    const Uint8* keys = SDL_GetKeyboardState(&count);
    // The array has SDL_NUM_SCANCODES entries; anything outside is not a key.
    if (scancode < 0 || scancode >= count) return false;
    return keys[scancode] != 0 || (scancode < SDL_NUM_SCANCODES && scripted.keys[static_cast<std::size_t>(scancode)]);
}

int32_t MouseX() {
    SDL_PumpEvents();
    int x = 0;
    SDL_GetMouseState(&x, nullptr);
    return x;
}

int32_t MouseY() {
    SDL_PumpEvents();
    int y = 0;
    SDL_GetMouseState(nullptr, &y);
    return y;
}

int32_t ButtonNumber(uint32_t mask) {
    if (mask & SDL_BUTTON_LMASK) return 1;
    if (mask & SDL_BUTTON_MMASK) return 2;
    if (mask & SDL_BUTTON_RMASK) return 3;
    return 0;
}

int32_t MouseButton() {
    SDL_PumpEvents();
    return ButtonNumber(SDL_GetMouseState(nullptr, nullptr) | scripted.buttons);
}

bool InZone(int32_t x, int32_t y, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    return x1 <= x && x <= x2 && y1 <= y && y <= y2;
}

bool MouseZone(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    SDL_PumpEvents();
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    return InZone(x, y, x1, y1, x2, y2);
}

void MouseHide() { SDL_ShowCursor(SDL_DISABLE); }

void MouseShow() { SDL_ShowCursor(SDL_ENABLE); }

void WarpMouse(int32_t mx, int32_t my) {
    // SDL would warp within the focus window when given none: with no live
    // active window the pointer stays where it is.
    if (SDL_Window* window = platform::ActiveSdlWindow()) SDL_WarpMouseInWindow(window, mx, my);
}

void HoldScriptedKey(int32_t scancode, bool down) {
    if (scancode >= 0 && scancode < SDL_NUM_SCANCODES) scripted.keys[static_cast<std::size_t>(scancode)] = down;
}

void HoldScriptedButton(uint32_t mask, bool down) {
    scripted.buttons = down ? scripted.buttons | mask : scripted.buttons & ~mask;
}

bool JoystickPlugged() { return AttachedJoystick() != nullptr; }

int32_t GetJoyX() {
    SDL_Joystick* joystick = AttachedJoystick();
    return joystick ? SDL_JoystickGetAxis(joystick, 0) : 0;
}

int32_t GetJoyY() {
    SDL_Joystick* joystick = AttachedJoystick();
    return joystick ? SDL_JoystickGetAxis(joystick, 1) : 0;
}

int32_t GetJoyButton(int32_t button) {
    SDL_Joystick* joystick = AttachedJoystick();
    // SDL checks only the upper bound; a negative index would read outside
    // its button array.
    if (!joystick || button < 0) return 0;
    return SDL_JoystickGetButton(joystick, button) ? 1 : 0;
}

int32_t NumberJoyButtons() {
    SDL_Joystick* joystick = AttachedJoystick();
    return joystick ? SDL_JoystickNumButtons(joystick) : 0;
}

}  // namespace vorlune::input
