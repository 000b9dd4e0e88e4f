#include "game/animation.hpp"

#include <vector>

#include "graphics/frame.hpp"
#include "graphics/sprite.hpp"
#include "platform/exit.hpp"
#include "core/reset.hpp"
#include "util/convert.hpp"
#include "util/wrap.hpp"

namespace vorlune::game {
namespace {

// Every animation of the process: one element per animation in each array,
// indexed by the animation number. Numbers are handed out from 0 and never
// reused; nothing is ever removed.
struct animation {
    std::vector<int32_t> rows;         // rows of frames on the sheet
    std::vector<int32_t> columns;      // columns of frames on the sheet
    std::vector<int32_t> width;        // frame width in pixels
    std::vector<int32_t> height;       // frame height in pixels
    std::vector<int32_t> timer;        // frame duration in ms
    std::vector<int32_t> frame;        // current frame number
    std::vector<int32_t> direction;    // step added at each frame change; 0 never changes the frame
    int32_t count = 0;                 // animations created; valid numbers are 0 .. count - 1
    std::vector<ObjectHandle> sprite;  // the sheet's handle; not owned, the script frees it
    std::vector<int32_t> lasttick;     // tick count at the end of the last update, or at creation
    std::vector<int32_t> frametime;    // tick value of the last frame change, plus 1 per update pass
    std::vector<int32_t> loop;         // passes left: negative for ever, 0 stopped, positive counts down at each wrap
    std::vector<int32_t> startframe;   // first frame of the run
    std::vector<int32_t> endframe;     // last frame of the run
};

animation animations;

// The loop count as stored: the passes asked for plus the one that always
// plays; a negative count plays for ever. INT32_MAX wraps to a negative
// count, i.e. for ever, which differs from 2^31 passes only in theory.
int32_t StoredLoop(int32_t loop) { return loop >= 0 ? util::WrapAdd(loop, 1) : loop; }

// The number of an existing animation as an index; any other number ends the
// process (negative ones too, so no array is ever read outside its bounds).
std::size_t Checked(int32_t n) {
    if (n < 0 || n >= animations.count) platform::FatalErrorBox("Error", "No animation available.");
    return static_cast<std::size_t>(n);
}

// The frame at the start of the run for the direction of play.
void ResetFrame(std::size_t i) {
    if (animations.direction[i] > 0) animations.frame[i] = animations.startframe[i];
    else if (animations.direction[i] < 0) animations.frame[i] = animations.endframe[i];
}

}  // namespace

int32_t CellsAcross(int32_t sheetSize, int32_t frameSize) {
    // A zero frame size fits no cells (and would divide by zero).
    if (frameSize == 0) return 0;
    // Ties to even. |sheet / frame| <= |sheet|, so only INT32_MIN / -1 can
    // leave the 32-bit range: it saturates.
    return util::RoundEvenSaturated(static_cast<double>(sheetSize) / static_cast<double>(frameSize));
}

// The cell is defined by a walk over the sheet that starts at column 0, row 1
// and takes max(frame, 1) steps, each: column + 1; past the last column, next
// row at column 1; past the last row, row 1 and one column further on. Its
// cost would grow with the frame number, so the cell is computed here from
// the walk's cycle instead, for every sheet shape the walk can meet (tests
// compare both step by step). In 64 bits nothing overflows: the column never
// passes columns + 1 and the row never passes rows.
SheetCell FrameCell(int32_t frame, int32_t rows, int32_t columns) {
    const int64_t n = frame < 1 ? 1 : frame;  // steps taken
    const int64_t r = rows;
    const int64_t c = columns;
    if (r <= 0) {
        // Every step ends past the last row: back to row 1 and one column on,
        // so columns run 2, 4, 6 ... while the column before the step is
        // below `columns`, then start again at 2.
        const int64_t evenColumns = c >= 1 ? (c + 1) / 2 : 1;
        return {2 * (1 + (n - 1) % evenColumns), 1};
    }
    if (c <= 0) {
        // Every step ends past the last column: rows 2 .. rows at column 1,
        // then past the last row onto row 1, column 2.
        const int64_t k = n % r;
        return k == 0 ? SheetCell{2, 1} : SheetCell{1, k + 1};
    }
    if (n == 1) return {1, 1};
    if (c == 1) {
        // One column: rows 1 .. rows, then row 1 column 2 (off the sheet),
        // then rows 2 .. rows again, and so on.
        const int64_t k = 2 + (n - 2) % r;
        return k <= r ? SheetCell{1, k} : SheetCell{2, 1};
    }
    // Reading order over the rows x columns cells; the step after the last
    // cell lands on row 1, column 2, i.e. on cell 2, and the run repeats from
    // there: cells 1, 2 .. rows*columns, 2 .. rows*columns, ...
    const int64_t cell = 2 + (n - 2) % (r * c - 1);  // 1-based, reading order
    return {(cell - 1) % c + 1, (cell - 1) / c + 1};
}

void UpdateAnimations() {
    for (std::size_t i = 0; i < static_cast<std::size_t>(animations.count); ++i) {
        const int32_t previous = animations.lasttick[i];
        // One tick more per pass: a frame stays at least `timer` ms plus one
        // ms per pass since the last change.
        animations.frametime[i] = util::WrapAdd(animations.frametime[i], 1);
        // Due against the tick count of the previous pass, not the current one.
        if (util::WrapAdd(animations.frametime[i], animations.timer[i]) <= previous) {
            animations.frametime[i] = previous;
            const int32_t direction = animations.direction[i];
            if (direction > 0) {
                animations.frame[i] = util::WrapAdd(animations.frame[i], direction);
                if (animations.frame[i] > animations.endframe[i]) {
                    animations.frame[i] = animations.startframe[i];
                    if (animations.loop[i] > 0) --animations.loop[i];
                }
            } else if (direction < 0) {
                animations.frame[i] = util::WrapAdd(animations.frame[i], direction);
                if (animations.frame[i] < animations.startframe[i]) {
                    animations.frame[i] = animations.endframe[i];
                    if (animations.loop[i] > 0) --animations.loop[i];
                }
            }
        }
        animations.lasttick[i] = graphics::TimerTicks();
    }
}

int32_t CreateAnimation(graphics::Sprite sprite, int32_t width, int32_t height, int32_t startframe, int32_t endframe,
                        int32_t timer, int32_t direction, int32_t loop) {
    // Memory runs out long before 2^31 animations: count cannot overflow.
    const int32_t n = animations.count;
    for (auto* array : {&animations.rows, &animations.columns, &animations.width, &animations.height,
                        &animations.timer, &animations.frame, &animations.direction, &animations.lasttick,
                        &animations.frametime, &animations.loop, &animations.startframe, &animations.endframe})
        array->push_back(0);
    animations.sprite.push_back(nullptr);
    ++animations.count;

    const auto i = static_cast<std::size_t>(n);
    animations.sprite[i] = sprite.handle;
    animations.width[i] = width;
    animations.height[i] = height;
    animations.rows[i] = CellsAcross(graphics::SpriteHeight(sprite), height);
    animations.columns[i] = CellsAcross(graphics::SpriteWidth(sprite), width);
    animations.timer[i] = timer;
    animations.direction[i] = direction;
    animations.startframe[i] = startframe;
    animations.endframe[i] = endframe;
    ResetFrame(i);  // with direction 0 the frame stays 0
    animations.lasttick[i] = graphics::TimerTicks();
    animations.frametime[i] = 0;
    animations.loop[i] = StoredLoop(loop);
    return n;
}

void DrawAnimation(int32_t spriteanimation, int32_t xscreen, int32_t yscreen, double xw, double yw, double angle,
                   bool vflip, bool hflip) {
    const std::size_t i = Checked(spriteanimation);
    const SheetCell cell = FrameCell(animations.frame[i], animations.rows[i], animations.columns[i]);
    if (animations.loop[i] == 0) return;  // stopped: hidden
    const int32_t w = animations.width[i];
    const int32_t h = animations.height[i];
    // |column - 1| and |row - 1| stay below 2^31 + 1, so the products fit in
    // 64 bits; the source corner is their low 32 bits, as in 32-bit wrapping
    // arithmetic.
    const auto sx = static_cast<int32_t>((cell.column - 1) * w);
    const auto sy = static_cast<int32_t>((cell.row - 1) * h);
    graphics::DrawSpritePart(graphics::Sprite::Resolve(animations.sprite[i]), xscreen, yscreen, sx, sy, w, h, xw, yw,
                             angle, vflip, hflip);
}

int32_t AnimationWidth(int32_t spriteanimation) { return animations.width[Checked(spriteanimation)]; }

int32_t AnimationHeight(int32_t spriteanimation) { return animations.height[Checked(spriteanimation)]; }

int32_t FrameNumber(int32_t spriteanimation) { return animations.frame[Checked(spriteanimation)]; }

void SetAnimationSpeed(int32_t spriteanimation, int32_t speed) { animations.timer[Checked(spriteanimation)] = speed; }

void SetAnimationLoop(int32_t spriteanimation, int32_t loop) {
    const std::size_t i = Checked(spriteanimation);
    animations.loop[i] = StoredLoop(loop);
    ResetFrame(i);
}

void HaltAnimation(int32_t spriteanimation) {
    const std::size_t i = Checked(spriteanimation);
    animations.loop[i] = 0;
    ResetFrame(i);
}

bool AnimationStopped(int32_t spriteanimation) { return animations.loop[Checked(spriteanimation)] == 0; }

const core::ResetHook resetHook([] { animations = animation{}; });

}  // namespace vorlune::game
