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

namespace vorlune::audio {

ObjectHandle LoadSound(const std::string& filename);   // decoded chunk, null when undecodable; missing file ends the run
void PlaySound(ObjectHandle sound, int32_t volume, int32_t channel, int32_t loop);  // set the chunk volume, play on channel (-1: first free)
void FreeSound(ObjectHandle sound);                     // free a live chunk (stops the channels playing it)
ObjectHandle LoadMusic(const std::string& filename);   // decoded music, null when undecodable; missing file ends the run
void PlayMusic(ObjectHandle music, int32_t volume, int32_t loop);  // set the music volume, replace the playing music
void FadeMusic(int32_t ms);                             // fade the playing music out over ms, then stop it
void PauseMusic();                                      // pause the music stream
void ResumeMusic();                                     // resume paused music
void HaltMusic();                                       // stop the music stream
void FreeMusic(ObjectHandle music);                     // free a live music object (stops it when playing)

}  // namespace vorlune::audio
