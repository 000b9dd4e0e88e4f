// Keyboard, mouse and joystick.
//
// Only inkey and getkey take events out of the platform queue (and end the
// process on a quit request); the other queries sample the current state.
#pragma once

#include <cstdint>
#include <string>

namespace vorlune::input {

std::string Inkey();           // wait for a key-down (3 ms per pass, one event per pass); low 8 bits of its key code
int32_t GetKey();              // drain the queue; scancode of the last key-down, else 0
bool KeyState(int32_t scancode);  // key held now; false outside 0..511
int32_t MouseX();              // pointer x in the focus window
int32_t MouseY();              // pointer y in the focus window
int32_t MouseButton();         // 1 left, else 2 middle, else 3 right, else 0
bool MouseZone(int32_t x1, int32_t y1, int32_t x2, int32_t y2);  // pointer inside the inclusive rectangle (bounds not reordered)
void MouseHide();              // hide the cursor (whole program)
void MouseShow();              // show it again
void WarpMouse(int32_t mx, int32_t my);  // move the pointer within the active window
bool JoystickPlugged();        // the start-up joystick is open and attached
int32_t GetJoyX();             // axis 0, -32768..32767; 0 without joystick
int32_t GetJoyY();             // axis 1, likewise
int32_t GetJoyButton(int32_t button);  // 1 pressed, 0 released, out of range or no joystick
int32_t NumberJoyButtons();    // button count, 0 without joystick

// Scripted input (the test runner): SDL_PushEvent queues events but leaves
// SDL's key and button state alone, so keys and buttons a script holds down
// are kept here and added to SDL's state by KeyState and MouseButton.
void HoldScriptedKey(int32_t scancode, bool down);   // a scripted key goes down or up
void HoldScriptedButton(uint32_t mask, bool down);   // likewise a mouse button (SDL_BUTTON mask)

int32_t ButtonNumber(uint32_t mask);  // mouse button mask -> 0..3, lowest number wins
bool InZone(int32_t x, int32_t y, int32_t x1, int32_t y1, int32_t x2, int32_t y2);  // x1<=x<=x2 and y1<=y<=y2

}  // namespace vorlune::input
