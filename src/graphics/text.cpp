#include "graphics/text.hpp"

#include <algorithm>
#include <vector>

#include <SDL.h>

#include "platform/active_window.hpp"
#include "platform/clock.hpp"
#include "graphics/canvas.hpp"
#include "graphics/draw.hpp"
#include "graphics/frame.hpp"
#include "graphics/target.hpp"
#include "graphics/window.hpp"
#include "platform/exit.hpp"
#include "util/wrap.hpp"
#include "core/reset.hpp"

namespace vorlune::graphics {
namespace {

// Settings of the built-in text, process-wide.
struct TextState {
    int32_t size = 1;                                // TextSize
    int32_t inputColour[4] = {255, 255, 255, 255};   // `input`: typed text and cursor
    int32_t inputBackColour[4] = {0, 0, 0, 255};     // `input`: clears behind the line
} state;

// 8 * size * count, wrapping around in 32 bits.
int32_t Width(int32_t size, std::size_t count) {
    return static_cast<int32_t>(8u * static_cast<uint32_t>(size) * static_cast<uint32_t>(count));
}

}  // namespace

void DrawText(const std::string& text, int32_t x, int32_t y) {
    canvas::Pen pen = canvas::ActivePen();
    // The software renderer widens zero-size fills to one pixel: size 0
    // draws nothing at all.
    if (!pen.renderer || state.size == 0) return;
    const int32_t size = state.size;
    const uint32_t step = static_cast<uint32_t>(size);
    // While 8 * size * length stays below 2^32 no square lands on another
    // (no coordinate wraps around), so the squares can go to the renderer in
    // batches: it fills the rectangles of one call one after another, exactly
    // as it fills them from separate calls, at a quarter of the cost.
    const int64_t width = int64_t{size} * 8 * static_cast<int64_t>(text.size());
    const Target target = TargetOf(pen.renderer);
    // Text whose squares the renderer cannot place with its own arithmetic
    // goes square by square through FillRect, which cuts them.
    const bool batch = size > 0 && width < (int64_t{1} << 32) && FillInRange(target, x, y, width, int64_t{size} * 8);
    constexpr std::size_t kBatch = 4096;
    std::vector<SDL_Rect> squares;
    FillCounts drawn;  // squares far out of range, cut: many land on the same pixels
    if (batch) squares.reserve(std::min(kBatch, 64 * text.size()));
    // One square at a time, the squares of a huge size wrap around and most
    // lie far outside: a row, and then a square, outside the span where it
    // could show is skipped before the exact test.
    const Span xs = FillSpanX(target, size), ys = FillSpanY(target, size);
    if (!batch) {
        // Under a virtual size squeezing millions of units into the window
        // nearly every square passes that test and lands on pixels already
        // settled: such text is not drawn, as lines and shapes are not.
        const Span vx = FillSpanX(target, 0), vy = FillSpanY(target, 0);
        if (vx.high - vx.low >= kMaxVisibleSpan || vy.high - vy.low >= kMaxVisibleSpan) return;
    }
    bool rowShows[8];
    bool anyRow = false;
    for (uint32_t row = 0; row < 8; ++row) {
        rowShows[row] = batch || InSpan(ys, util::WrapAdd(y, row * step));
        anyRow = anyRow || rowShows[row];
    }
    if (!anyRow) return;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const TBitMapChar& glyph = BuiltinGlyph(static_cast<uint8_t>(text[i]));
        const int32_t left = util::WrapAdd(x, 8u * step * static_cast<uint32_t>(i));
        // Batched cells do not wrap around: one that cannot show is skipped whole.
        FillBox cell{};
        if (batch && size <= (INT32_MAX >> 3) && !FitFill(target, left, y, 8 * size, 8 * size, cell)) continue;
        for (uint32_t row = 0; row < 8; ++row) {
            if (!rowShows[row]) continue;
            for (uint32_t column = 0; column < 8; ++column) {
                if (!glyph.pixel[row][column]) continue;
                SDL_Rect square{util::WrapAdd(left, column * step), util::WrapAdd(y, row * step), size, size};
                if (!batch) {
                    if (InSpan(xs, square.x)) FillRect(pen, target, square.x, square.y, square.w, square.h, &drawn);
                    continue;
                }
                squares.push_back(square);
                if (squares.size() == kBatch) {
                    canvas::FillRects(pen, squares.data(), static_cast<int>(squares.size()));
                    squares.clear();
                }
            }
        }
    }
    if (!squares.empty()) canvas::FillRects(pen, squares.data(), static_cast<int>(squares.size()));
}

void TextSize(int32_t size) { state.size = size; }
int32_t TextWidth(const std::string& text) { return Width(state.size, text.size()); }
int32_t TextHeight() { return Width(state.size, 1); }

void TextInputColor(int32_t r, int32_t g, int32_t b, int32_t alpha) {
    state.inputColour[0] = r;
    state.inputColour[1] = g;
    state.inputColour[2] = b;
    state.inputColour[3] = alpha;
}

void TextInputBackColor(int32_t r, int32_t g, int32_t b, int32_t alpha) {
    state.inputBackColour[0] = r;
    state.inputBackColour[1] = g;
    state.inputBackColour[2] = b;
    state.inputBackColour[3] = alpha;
}

namespace {

// W(line): the editor's cell width times the bytes of the line, wrapping
// around in 32 bits.
int32_t LineWidth(const LineEditorLook& look, std::size_t bytes) {
    return static_cast<int32_t>(static_cast<uint32_t>(look.cellWidth) * static_cast<uint32_t>(bytes));
}

void UseColour(const std::array<int32_t, 4>& c) { Color(c[0], c[1], c[2], c[3]); }

// clear w: the line's background, w wide.
void ClearStrip(const LineEditorLook& look, int32_t x, int32_t y, int32_t w) {
    UseColour(look.paper);
    FillRectangle(x, y, w, look.cellHeight);
}

// W(line) plus a number of cells.
int32_t WidthPlusCells(const LineEditorLook& look, const std::string& line, uint32_t cells) {
    return util::WrapAdd(LineWidth(look, line.size()), cells * static_cast<uint32_t>(look.cellWidth));
}

}  // namespace

void ClearLineAndCursor(const LineEditorLook& look, int32_t x, int32_t y, const std::string& line) {
    ClearStrip(look, x, y, WidthPlusCells(look, line, 1));
}

std::string EditLine(const LineEditorLook& look, int32_t x, int32_t y, int32_t maxLength) {
    std::string line;
    // show: the line, the cursor block after it, then present and pace.
    auto show = [&] {
        UseColour(look.ink);
        look.drawLine(line, x, y);
        FillRectangle(util::WrapAdd(x, static_cast<uint32_t>(LineWidth(look, line.size()))), y, look.cellWidth, look.cellHeight);
        Sync();
    };

    SDL_SetTextInputRect(nullptr);
    SDL_StartTextInput();
    UseColour(look.ink);
    FillRectangle(x, y, look.cellWidth, look.cellHeight);
    Sync();

    bool ended = false;
    while (!ended) {
        SDL_Event event;
        if (!SDL_PollEvent(&event)) {
            // Nothing pending: sleep until an event arrives or the frame
            // period ends, instead of polling again at once.
            uint32_t timeout = FramePeriodRemaining();
            if (timeout == 0) timeout = FrameInterval() > 0 ? static_cast<uint32_t>(FrameInterval()) : 1;
            if (platform::VirtualClock()) {
                // Virtual time: the wait passes at once, events come only
                // from what was queued.
                platform::Delay(timeout);
                continue;
            }
            if (!SDL_WaitEventTimeout(&event, static_cast<int>(timeout))) continue;
        }
        switch (event.type) {
        case SDL_TEXTINPUT:
            Sync();
            line += event.text.text;
            if (static_cast<int64_t>(line.size()) > maxLength) {
                Sync();
                line.resize(maxLength > 0 ? static_cast<std::size_t>(maxLength) : 0);
                ClearStrip(look, x, y, WidthPlusCells(look, line, 1));
                show();
            }
            ClearStrip(look, x, y, LineWidth(look, line.size()));
            show();
            break;
        case SDL_TEXTEDITING:
            // Input-method composition: the line becomes the composition text;
            // the next text event appends to it.
            line = event.edit.text;
            Sync();
            break;
        case SDL_QUIT:
            platform::EndOnQuitRequest();
        case SDL_KEYDOWN:
            switch (event.key.keysym.scancode) {
            case SDL_SCANCODE_RETURN:
            case SDL_SCANCODE_KP_ENTER:
            case SDL_SCANCODE_ESCAPE:
                ended = true;
                break;
            case SDL_SCANCODE_BACKSPACE:
                Sync();
                if (!line.empty()) line.pop_back();
                ClearStrip(look, x, y, WidthPlusCells(look, line, 2));
                show();
                break;
            default:
                break;
            }
            break;
        default:
            break;
        }
    }
    return line;
}

std::string Input(int32_t x, int32_t y, int32_t maxLength) {
    const int32_t h = TextHeight();
    LineEditorLook look;
    look.cellWidth = h;
    look.cellHeight = h;
    std::copy(std::begin(state.inputColour), std::end(state.inputColour), look.ink.begin());
    std::copy(std::begin(state.inputBackColour), std::end(state.inputBackColour), look.paper.begin());
    look.drawLine = DrawText;
    std::string line = EditLine(look, x, y, maxLength);
    // The cursor is removed and the line drawn again, not presented: it shows
    // with the script's next present.
    SDL_StopTextInput();
    ClearLineAndCursor(look, x, y, line);
    UseColour(look.ink);
    DrawText(line, x, y);
    return line;
}

const core::ResetHook resetHook([] { state = TextState{}; });

}  // namespace vorlune::graphics
