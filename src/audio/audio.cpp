#include "audio/audio.hpp"

#include <SDL.h>
#include <SDL_mixer.h>

#include "core/paths.hpp"
#include "platform/exit.hpp"

// The module keeps no state of its own: loaded sounds and music are recorded
// in the live-handle registry, and the music state and volumes are the mixer's.

namespace vorlune::audio {
namespace {

using core::HandleKind;

bool MixerOpen() { return Mix_QuerySpec(nullptr, nullptr, nullptr) != 0; }

// A missing media file ends the run: error box, media shutdown, exit 0.
[[noreturn]] void MissingFile(const std::string& text) {
    platform::EndRun({.flags = SDL_MESSAGEBOX_ERROR, .title = "File not found", .text = text,
                      .shutdown = platform::Shutdown::Media});
}

}  // namespace

ObjectHandle LoadSound(const std::string& filename) {
    if (!core::FileExists(filename)) MissingFile("Can't find sound file: " + filename);
    SDL_RWops* stream = SDL_RWFromFile(filename.c_str(), "rb");
    if (!stream) return nullptr;  // e.g. not readable: undecodable, no message
    Mix_Chunk* chunk = Mix_LoadWAV_RW(stream, 1);  // the loader frees the stream
    core::RegisterHandle(chunk, HandleKind::Sound);
    return chunk;
}

void PlaySound(ObjectHandle sound, int32_t volume, int32_t channel, int32_t loop) {
    // The null handle of a failed load plays nothing (the mixer refuses a
    // null chunk too); any other handle must designate a live sound before
    // the mixer sees it.
    if (!sound) return;
    // A freed or foreign pointer, or a mixer already closed by the media
    // shutdown (the mixer would then index the channel array it released), is
    // a failure to start the sound.
    if (!core::IsLive(sound, HandleKind::Sound) || !MixerOpen()) platform::FatalErrorBox("Error", "Error playing sound file.");
    auto* chunk = static_cast<Mix_Chunk*>(sound);
    Mix_VolumeChunk(chunk, volume);
    // The mixer indexes its channel array with any number below -1 unchecked,
    // so such numbers are refused here as the mixer refuses those above 7.
    if (channel < -1 || channel >= Mix_AllocateChannels(-1)) return;
    Mix_PlayChannelTimed(channel, chunk, loop, -1);  // no free channel: nothing plays
}

void FreeSound(ObjectHandle sound) {
    if (core::ForgetHandle(sound, HandleKind::Sound)) Mix_FreeChunk(static_cast<Mix_Chunk*>(sound));
}

ObjectHandle LoadMusic(const std::string& filename) {
    if (!core::FileExists(filename)) MissingFile("Can't find music file: " + filename);
    Mix_Music* music = Mix_LoadMUS(filename.c_str());
    core::RegisterHandle(music, HandleKind::Music);
    return music;
}

void PlayMusic(ObjectHandle music, int32_t volume, int32_t loop) {
    // A dead handle counts as the null handle: the volume is still set, and
    // the mixer would refuse to play null music, so nothing starts.
    Mix_VolumeMusic(volume);
    if (ObjectHandle live = core::Live(music, HandleKind::Music)) Mix_PlayMusic(static_cast<Mix_Music*>(live), loop);
}

void FadeMusic(int32_t ms) { Mix_FadeOutMusic(ms); }
void PauseMusic() { Mix_PauseMusic(); }
void ResumeMusic() { Mix_ResumeMusic(); }
void HaltMusic() { Mix_HaltMusic(); }

void FreeMusic(ObjectHandle music) {
    if (core::ForgetHandle(music, HandleKind::Music)) Mix_FreeMusic(static_cast<Mix_Music*>(music));
}

}  // namespace vorlune::audio
