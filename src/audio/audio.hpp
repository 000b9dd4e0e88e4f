// Sounds and music on the mixer.
//
// Sounds are mixer chunks played on the mixer's 8 channels; music is the
// mixer's single music stream. Handles go through the live-handle registry:
// a dead handle is treated as the null handle, except that playsound ends the
// run on a non-null handle that designates no live sound.
#pragma once

#include <cstdint>
#include <string>

#include "core/handles.hpp"

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

namespace vorlune::audio {

// A handle resolved at the call: the live object, or null.
struct Sound {
    ObjectHandle handle = nullptr;
    Mix_Chunk* chunk = nullptr;
    static Sound Resolve(ObjectHandle handle);
};

struct Music {
    ObjectHandle handle = nullptr;
    Mix_Music* music = nullptr;
    static Music Resolve(ObjectHandle handle);
};

Sound LoadSound(const std::string& filename);          // decoded chunk, null when undecodable; missing file ends the run
void PlaySound(Sound sound, int32_t volume, int32_t channel, int32_t loop);  // set the chunk volume, play on channel (-1: first free)
void FreeSound(Sound sound);                            // free a live chunk (stops the channels playing it)
Music LoadMusic(const std::string& filename);          // decoded music, null when undecodable; missing file ends the run
void PlayMusic(Music music, int32_t volume, int32_t loop);  // set the music volume, replace the playing music
void FadeMusic(int32_t ms);                             // fade the playing music out over ms, then stop it
void PauseMusic();                                      // pause the music stream
void ResumeMusic();                                     // resume paused music
void HaltMusic();                                       // stop the music stream
void FreeMusic(Music music);                            // free a live music object (stops it when playing)

}  // namespace vorlune::audio
