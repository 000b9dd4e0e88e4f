#include "input/input.hpp"

#include <SDL.h>

namespace vorlune::input {
namespace {

// The one joystick of the process, opened at start-up.
struct InputState {
    SDL_Joystick* activeJoystick = nullptr;
} state;

}  // namespace

void OpenActiveJoystick() {
    if (SDL_NumJoysticks() > 0) state.activeJoystick = SDL_JoystickOpen(0);
}

void CloseActiveJoystick() {
    if (state.activeJoystick && SDL_JoystickGetAttached(state.activeJoystick)) {
        SDL_JoystickClose(state.activeJoystick);
        state.activeJoystick = nullptr;
    }
}

}  // namespace vorlune::input
