#include "script/scripted_input.hpp"

#include <SDL.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "input/input.hpp"
#include "platform/active_window.hpp"

namespace vorlune::script {
namespace {

struct InputState {
    std::vector<InputEvent> events;  // loaded from the input file, by frame
    std::size_t next = 0;            // first event not pushed yet
    std::FILE* record = nullptr;     // the recording, while one is made
    uint32_t recordFrame = 1;        // the frame recorded events belong to
    std::optional<InputEvent> motion;  // the last pointer motion not written yet
} state;

constexpr std::pair<const char*, uint8_t> kButtons[] = {
    {"left", SDL_BUTTON_LEFT}, {"middle", SDL_BUTTON_MIDDLE}, {"right", SDL_BUTTON_RIGHT}};

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::istringstream in{std::string(text)};
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

template <typename T>
bool Number(const std::string& word, T& value) {
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    return ec == std::errc() && end == word.data() + word.size();
}

std::optional<uint8_t> ButtonByName(const std::string& name) {
    for (auto [n, b] : kButtons) if (name == n) return b;
    return std::nullopt;
}

const char* ButtonName(uint8_t button) {
    for (auto [n, b] : kButtons) if (b == button) return n;
    return "left";
}

std::optional<bool> UpDown(const std::string& word) {
    if (word == "down") return true;
    if (word == "up") return false;
    return std::nullopt;
}

uint32_t ActiveWindowId() {
    SDL_Window* window = platform::ActiveSdlWindow();
    return window ? SDL_GetWindowID(window) : 0;
}

void Push(const InputEvent& e) {
    SDL_Event event{};
    switch (e.kind) {
    case InputKind::Key:
        event.type = e.down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.windowID = ActiveWindowId();
        event.key.state = e.down ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.scancode = static_cast<SDL_Scancode>(e.scancode);
        event.key.keysym.sym = SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(e.scancode));
        input::HoldScriptedKey(e.scancode, e.down);
        SDL_PushEvent(&event);
        break;
    case InputKind::Text: {
        // A text event holds at most 31 bytes; longer text comes in pieces
        // cut between UTF-8 sequences.
        std::size_t at = 0;
        while (at < e.text.size()) {
            std::size_t n = std::min<std::size_t>(SDL_TEXTINPUTEVENT_TEXT_SIZE - 1, e.text.size() - at);
            while (n > 1 && at + n < e.text.size() && (static_cast<unsigned char>(e.text[at + n]) & 0xC0) == 0x80) --n;
            SDL_Event piece{};
            piece.type = SDL_TEXTINPUT;
            piece.text.windowID = ActiveWindowId();
            e.text.copy(piece.text.text, n, at);
            SDL_PushEvent(&piece);
            at += n;
        }
        break;
    }
    case InputKind::Mouse:
        // Warping moves SDL's pointer state and queues the motion event;
        // without a window only the event can be queued.
        if (SDL_Window* window = platform::ActiveSdlWindow()) {
            SDL_WarpMouseInWindow(window, e.x, e.y);
        } else {
            event.type = SDL_MOUSEMOTION;
            event.motion.x = e.x;
            event.motion.y = e.y;
            SDL_PushEvent(&event);
        }
        break;
    case InputKind::Button:
        event.type = e.down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.windowID = ActiveWindowId();
        event.button.button = e.button;
        event.button.state = e.down ? SDL_PRESSED : SDL_RELEASED;
        event.button.clicks = 1;
        SDL_GetMouseState(&event.button.x, &event.button.y);
        input::HoldScriptedButton(SDL_BUTTON(e.button), e.down);
        SDL_PushEvent(&event);
        break;
    case InputKind::Quit:
        event.type = SDL_QUIT;
        SDL_PushEvent(&event);
        break;
    }
}

void Write(const InputEvent& event) {
    if (state.record) std::fprintf(state.record, "%s\n", FormatInputEvent(event).c_str());
}

void WriteMotion() {
    if (state.motion) Write(*state.motion);
    state.motion.reset();
}

// Event watch: sees every event as it enters SDL's queue.
int Record(void*, SDL_Event* event) {
    InputEvent e;
    e.frame = state.recordFrame;
    switch (event->type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (event->key.repeat) return 0;
        e.kind = InputKind::Key;
        e.scancode = event->key.keysym.scancode;
        e.down = event->type == SDL_KEYDOWN;
        break;
    case SDL_TEXTINPUT:
        e.kind = InputKind::Text;
        e.text = event->text.text;
        break;
    case SDL_MOUSEMOTION:
        // Only where the pointer is at the end of a frame matters.
        e.kind = InputKind::Mouse;
        e.x = event->motion.x;
        e.y = event->motion.y;
        state.motion = e;
        return 0;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (event->button.button > SDL_BUTTON_RIGHT) return 0;
        e.kind = InputKind::Button;
        e.button = event->button.button;
        e.down = event->type == SDL_MOUSEBUTTONDOWN;
        break;
    case SDL_QUIT:
        e.kind = InputKind::Quit;
        break;
    default:
        return 0;
    }
    WriteMotion();
    Write(e);
    return 0;
}

}  // namespace

std::optional<std::vector<InputEvent>> ParseInputLine(std::string_view line, std::string& error) {
    error.clear();
    const std::vector<std::string> words = Words(line);
    if (words.empty() || words[0][0] == '#') return std::nullopt;
    InputEvent e;
    if (!Number(words[0], e.frame) || e.frame == 0) {
        error = "a line starts with a frame number from 1";
        return std::nullopt;
    }
    const std::string kind = words.size() > 1 ? words[1] : "";
    if (kind == "key" && words.size() >= 4 && UpDown(words.back())) {
        // Key names may hold spaces ("Left Shift").
        std::string name = words[2];
        for (std::size_t i = 3; i + 1 < words.size(); ++i) name += " " + words[i];
        e.kind = InputKind::Key;
        e.down = *UpDown(words.back());
        e.scancode = SDL_GetScancodeFromName(name.c_str());
        if (e.scancode == SDL_SCANCODE_UNKNOWN) {
            error = "unknown key name \"" + name + "\"";
            return std::nullopt;
        }
        return std::vector{e};
    }
    if (kind == "text") {
        // The text is the rest of the line after "text " as it stands,
        // spaces included (a typed space is "N text  ").
        std::string_view rest = line.substr(line.find("text") + 4);
        while (!rest.empty() && (rest.back() == '\n' || rest.back() == '\r')) rest.remove_suffix(1);
        if (rest.size() >= 2 && rest[0] == ' ') {
            e.kind = InputKind::Text;
            e.text = std::string(rest.substr(1));
            return std::vector{e};
        }
    }
    if (kind == "mouse" && words.size() == 4 && Number(words[2], e.x) && Number(words[3], e.y)) {
        e.kind = InputKind::Mouse;
        return std::vector{e};
    }
    if ((kind == "click" && words.size() == 3) || (kind == "button" && words.size() == 4 && UpDown(words[3]))) {
        auto button = ButtonByName(words[2]);
        if (!button) {
            error = "unknown mouse button \"" + words[2] + "\" (left, middle or right)";
            return std::nullopt;
        }
        e.kind = InputKind::Button;
        e.button = *button;
        if (kind == "button") {
            e.down = *UpDown(words[3]);
            return std::vector{e};
        }
        // A click: held during its frame, released in the next.
        InputEvent release = e;
        e.down = true;
        release.frame = e.frame + 1;
        return std::vector{e, release};
    }
    if (kind == "quit" && words.size() == 2) {
        e.kind = InputKind::Quit;
        return std::vector{e};
    }
    error = "expected \"N key NAME down|up\", \"N text TEXT\", \"N mouse X Y\", \"N click BUTTON\", "
            "\"N button BUTTON down|up\" or \"N quit\"";
    return std::nullopt;
}

std::string FormatInputEvent(const InputEvent& e) {
    std::string line = std::to_string(e.frame) + " ";
    switch (e.kind) {
    case InputKind::Key:
        return line + "key " + SDL_GetScancodeName(static_cast<SDL_Scancode>(e.scancode)) + (e.down ? " down" : " up");
    case InputKind::Text: return line + "text " + e.text;
    case InputKind::Mouse: return line + "mouse " + std::to_string(e.x) + " " + std::to_string(e.y);
    case InputKind::Button: return line + "button " + ButtonName(e.button) + (e.down ? " down" : " up");
    case InputKind::Quit: return line + "quit";
    }
    return line;
}

bool LoadInput(const std::string& file, std::string& error) {
    std::ifstream in(file);
    if (!in) {
        error = "cannot read input file " + file;
        return false;
    }
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        auto events = ParseInputLine(line, error);
        if (!error.empty()) {
            error = file + ":" + std::to_string(number) + ": " + error;
            return false;
        }
        if (events) state.events.insert(state.events.end(), events->begin(), events->end());
    }
    std::stable_sort(state.events.begin(), state.events.end(),
                     [](const InputEvent& a, const InputEvent& b) { return a.frame < b.frame; });
    return true;
}

void FeedInput(uint32_t frame) {
    while (state.next < state.events.size() && state.events[state.next].frame <= frame) Push(state.events[state.next++]);
}

bool StartRecording(const std::string& file, std::string& error) {
    state.record = std::fopen(file.c_str(), "w");
    if (!state.record) {
        error = "cannot write " + file;
        return false;
    }
    std::fprintf(state.record, "# vorlune-run input: frame, then key NAME down|up, text, mouse X Y, button B down|up, quit\n");
    SDL_AddEventWatch(Record, nullptr);
    return true;
}

void RecordFrame(uint32_t frame) {
    if (!state.record) return;
    if (state.motion && state.motion->frame != frame) WriteMotion();
    state.recordFrame = frame;
    std::fflush(state.record);
}

void FinishRecording() {
    if (!state.record) return;
    WriteMotion();
    std::fflush(state.record);
}

}  // namespace vorlune::script
