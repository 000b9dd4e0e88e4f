#include "audio/audio.hpp"

#include <SDL.h>
#include <SDL_mixer.h>

#include "core/paths.hpp"
#include "platform/exit.hpp"

// Loaded sounds and music are recorded in the live-handle registry, and the
// music state and volumes are the mixer's. The module only remembers which
// music it started and when a fade-out ends, to keep the mixer from blocking.

namespace vorlune::audio {
namespace {

using core::HandleKind;

bool MixerOpen() { return Mix_QuerySpec(nullptr, nullptr, nullptr) != 0; }

// The mixer makes playmusic, and freemusic of the playing music, wait until a
// fade-out has ended, polling every 100 ms. A fade of hours, or a paused one
// that never advances, would freeze the game: such a fade is cut short.
Mix_Music* started = nullptr;  // the music last started: the playing one, if any
uint32_t fadeEnd = 0;          // SDL ticks (the mixer fades in real time) when the fade-out ends
constexpr int32_t kLongestFadeWait = 5000;

// Halts a fade-out that would keep the caller waiting more than
// kLongestFadeWait ms, or for ever because the music is paused; a shorter
// one is waited out as the mixer does.
void CutLongFade() {
    if (Mix_FadingMusic() != MIX_FADING_OUT) return;
    const auto remaining = static_cast<int32_t>(fadeEnd - SDL_GetTicks());
    if (Mix_PausedMusic() || remaining > kLongestFadeWait) Mix_HaltMusic();
}

// A missing media file ends the run: error box, media shutdown, exit 0.
[[noreturn]] void MissingFile(const std::string& text) {
    platform::EndRun({.flags = SDL_MESSAGEBOX_ERROR, .title = "File not found", .text = text,
                      .shutdown = platform::Shutdown::Media});
}

}  // namespace

Sound Sound::Resolve(ObjectHandle handle) {
    return Sound{handle, static_cast<Mix_Chunk*>(core::Resolve(handle, HandleKind::Sound))};
}

Music Music::Resolve(ObjectHandle handle) {
    return Music{handle, static_cast<Mix_Music*>(core::Resolve(handle, HandleKind::Music))};
}

Sound LoadSound(const std::string& filename) {
    if (!core::FileExists(filename)) MissingFile("Can't find sound file: " + filename);
    SDL_RWops* stream = SDL_RWFromFile(filename.c_str(), "rb");
    if (!stream) return Sound{};  // e.g. not readable: undecodable, no message
    Mix_Chunk* chunk = Mix_LoadWAV_RW(stream, 1);  // the loader frees the stream
    return Sound{core::RegisterHandle(chunk, HandleKind::Sound), chunk};
}

void PlaySound(Sound sound, int32_t volume, int32_t channel, int32_t loop) {
    // The null handle of a failed load plays nothing (the mixer refuses a
    // null chunk too); any other handle must designate a live sound before
    // the mixer sees it.
    if (!sound.handle) return;
    // A freed or foreign handle, or a mixer already closed by the media
    // shutdown (the mixer would then index the channel array it released), is
    // a failure to start the sound.
    if (!sound.chunk || !MixerOpen()) platform::FatalErrorBox("Error", "Error playing sound file.");
    Mix_VolumeChunk(sound.chunk, volume);
    // The mixer indexes its channel array with any number below -1 unchecked,
    // so such numbers are refused here as the mixer refuses those above 7.
    if (channel < -1 || channel >= Mix_AllocateChannels(-1)) return;
    Mix_PlayChannelTimed(channel, sound.chunk, loop, -1);  // no free channel: nothing plays
}

void FreeSound(Sound sound) {
    if (core::ForgetHandle(sound.handle, HandleKind::Sound)) Mix_FreeChunk(sound.chunk);
}

Music LoadMusic(const std::string& filename) {
    if (!core::FileExists(filename)) MissingFile("Can't find music file: " + filename);
    Mix_Music* music = Mix_LoadMUS(filename.c_str());
    return Music{core::RegisterHandle(music, HandleKind::Music), music};
}

void PlayMusic(Music music, int32_t volume, int32_t loop) {
    // A dead handle counts as the null handle: the volume is still set, and
    // the mixer would refuse to play null music, so nothing starts.
    Mix_VolumeMusic(volume);
    if (!music.music) return;
    CutLongFade();
    if (Mix_PlayMusic(music.music, loop) == 0) started = music.music;
}

void FadeMusic(int32_t ms) {
    if (Mix_FadeOutMusic(ms) == 1) fadeEnd = SDL_GetTicks() + static_cast<uint32_t>(ms);
}
void PauseMusic() { Mix_PauseMusic(); }
void ResumeMusic() { Mix_ResumeMusic(); }
void HaltMusic() { Mix_HaltMusic(); }

void FreeMusic(Music music) {
    if (!core::ForgetHandle(music.handle, HandleKind::Music)) return;
    if (music.music == started) {
        CutLongFade();
        started = nullptr;
    }
    Mix_FreeMusic(music.music);
}

}  // namespace vorlune::audio
