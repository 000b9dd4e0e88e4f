#include "platform/media.hpp"

#include <cstdio>
#include <string>

#include <SDL.h>
#include <SDL_mixer.h>

#include "core/handles.hpp"
#include "platform/exit.hpp"
#include "platform/image_library.hpp"
#include "platform/signals.hpp"

namespace vorlune::platform {
namespace {

struct MediaState {
    SDL_Joystick* joystick = nullptr;  // ActiveJoystick: device 0 when one was present at start-up
} media;

}  // namespace

void StartMedia() {
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK | SDL_INIT_HAPTIC |
                 SDL_INIT_GAMECONTROLLER) != 0) {
        std::printf("SDL_Init Error: %s\n", SDL_GetError());
        SDL_Quit();
    } else {
        WatchStopSignals();
        OpenJoystick();
    }
    if (Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024) != 0) {
        EndRun({.title = "Error", .text = std::string("Could not initialize sound system: ") + SDL_GetError()});
    }
}

void ShutdownMedia() {
    Mix_HaltMusic();
    Mix_CloseAudio();
    // An unplugged joystick stays open until SDL quits, which frees it.
    if (SDL_Joystick* joystick = ActiveJoystick()) SDL_JoystickClose(joystick);
    media.joystick = nullptr;
    ImgQuit();
    SDL_Quit();
    // Quitting the video subsystem destroyed every renderer and its textures.
    core::ForgetKind(core::HandleKind::Sprite);
}

void OpenJoystick() {
    if (SDL_NumJoysticks() > 0) media.joystick = SDL_JoystickOpen(0);
}

SDL_Joystick* ActiveJoystick() {
    if (media.joystick && SDL_JoystickGetAttached(media.joystick)) return media.joystick;
    return nullptr;
}

}  // namespace vorlune::platform
