// Keyboard, mouse and joystick.
#pragma once

#include <cstdint>
#include <string>

namespace vorlune::input {

void OpenActiveJoystick();     // open device 0 when SDL reports a joystick (start-up)
void CloseActiveJoystick();    // close it when still attached (media shutdown)

}  // namespace vorlune::input
