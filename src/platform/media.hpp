// The media layer's start-up and shutdown: SDL, joystick 0, the mixer and
// the image library.
#pragma once

struct _SDL_Joystick;

namespace vorlune::platform {

void StartMedia();                    // SDL_Init (0x3231), the stop-signal watch and joystick 0, then the mixer; a mixer failure ends the run
void ShutdownMedia();                 // halt music, close audio, close the joystick, quit the image loader, quit SDL
void OpenJoystick();                  // open device 0 when SDL reports a joystick (start-up)
_SDL_Joystick* ActiveJoystick();      // the start-up joystick while it is open and attached, else null

}  // namespace vorlune::platform
