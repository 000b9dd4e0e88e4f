#include "audio/audio.hpp"

#include <SDL.h>
#include <SDL_mixer.h>

#include "host/host.hpp"

namespace vorlune::audio {

void StartUp() {
    if (Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024) != 0) {
        host::ShowMessageBox(1, "Error", std::string("Could not initialize sound system: ") + SDL_GetError());
        host::ExitProcess(0);
    }
}

}  // namespace vorlune::audio
