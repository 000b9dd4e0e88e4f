// Input by frame number for the test runner: the lines of an input file
// ("30 key Right down", "50 text hello", "60 mouse 100 200", "61 click left",
// "62 button left down", "90 quit"), fed through SDL's event queue, and the
// recorder that writes what a person does in the same form.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlune::script {

enum class InputKind { Key, Text, Mouse, Button, Quit };

struct InputEvent {
    uint32_t frame = 0;         // the frame during which the script sees it (1 = before the first present)
    InputKind kind = InputKind::Quit;
    int32_t scancode = 0;       // Key
    bool down = false;          // Key, Button
    std::string text;           // Text
    int32_t x = 0, y = 0;       // Mouse
    uint8_t button = 0;         // Button: SDL_BUTTON_LEFT, _MIDDLE or _RIGHT
};

// One line of an input file: nullopt for a blank or '#' line, else the
// events it gives ("click" gives a press and, a frame later, a release).
// A line that does not parse sets error.
std::optional<std::vector<InputEvent>> ParseInputLine(std::string_view line, std::string& error);
std::string FormatInputEvent(const InputEvent& event);   // the line that parses back to event

bool LoadInput(const std::string& file, std::string& error);  // parse the whole file, events ordered by frame
void FeedInput(uint32_t frame);                                // push every loaded event of frames <= frame not yet pushed

bool StartRecording(const std::string& file, std::string& error);  // record events from now on
void RecordFrame(uint32_t frame);                                  // events from now on belong to frame
void FinishRecording();                                            // write what is pending

}  // namespace vorlune::script
