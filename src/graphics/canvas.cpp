#include "graphics/canvas.hpp"

#include <SDL_opengl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/reset.hpp"
#include "graphics/batch.hpp"
#include "graphics/gl.hpp"
#include "graphics/inspect.hpp"
#include "graphics/target.hpp"
#include "platform/active_window.hpp"

namespace vorlune::graphics::canvas {
namespace {

// One drawing call of a frame drawn into a copy, kept to replay it on the
// renderer. FillRects keeps its rectangles in the copy's rectangle list:
// v[0] is the first, v[1] the count.
enum class Kind : uint8_t { Colour, Clear, Point, Line, Rect, FillRect, FillRects };
struct Call {
    Kind kind;
    int32_t v[4];
};

// The frame copies, one per renderer that ever drew into one, as parallel
// arrays.
struct Copies {
    std::vector<SDL_Renderer*> renderer;   // the window's renderer
    std::vector<SDL_Surface*> surface;     // the frame in main memory, the size of the renderer's output
    std::vector<SDL_Renderer*> software;   // SDL's software renderer drawing into surface
    std::vector<SDL_Texture*> upload;      // streaming texture of the renderer that receives surface
    std::vector<GLuint> framebuffer;       // OpenGL framebuffer object reading upload (0: not made yet)
    std::vector<uint8_t> drawing;          // the frame is being drawn into the copy
    std::vector<uint8_t> listed;           // every call since the frame's clear is in calls
    std::vector<uint8_t> direct;           // the last frame drew a texture: draw the next one on the renderer
    std::vector<uint8_t> textured;         // a texture was drawn in the current frame
    std::vector<uint32_t> queued;          // copies since the renderer's queue was last handed to the driver
    std::vector<uint32_t> handOver;        // queued copies that make the next hand-over, doubling within a frame
    std::vector<std::vector<Call>> calls;  // the calls of the current frame, while listed
    std::vector<std::vector<SDL_Rect>> rects;

    // Applies f to every array: an entry is added and removed in all at once.
    template <typename F>
    void ForEachArray(F f) {
        f(renderer), f(surface), f(software), f(upload), f(framebuffer), f(drawing), f(listed), f(direct),
            f(textured), f(queued), f(handOver), f(calls), f(rects);
    }
};
Copies copies;
Use use = Use::Auto;

// The OpenGL entry points, once a current context has shown it can blit
// between framebuffers; null until then, and when it cannot.
const opengl::Functions* gl = nullptr;
bool glChecked = false;
constexpr GLuint kNoBlit = ~GLuint{0};  // framebuffer value: the context cannot blit the copy
constexpr uint32_t kFirstHandOver = 256;

// Checks once, with the renderer's context current.
bool GlUsable() {
    if (!glChecked) {
        glChecked = true;
        const opengl::Functions& f = opengl::Calls();
        if (SDL_GL_ExtensionSupported("GL_ARB_framebuffer_object") && f.getIntegerv && f.isEnabled && f.enable &&
            f.disable && f.genFramebuffers && f.deleteFramebuffers && f.bindFramebuffer && f.framebufferTexture2D &&
            f.checkFramebufferStatus && f.blitFramebuffer && f.texImage2D && f.texSubImage2D && f.pixelStorei &&
            f.flush) {
            gl = &f;
        }
    }
    return gl != nullptr;
}

bool IsSoftware(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    return SDL_GetRendererInfo(renderer, &info) == 0 && std::strcmp(info.name, "software") == 0;
}

// The entry of a renderer, or -1 (also for no renderer).
int Find(SDL_Renderer* renderer) {
    if (!renderer) return -1;
    for (std::size_t i = 0; i < copies.renderer.size(); ++i) {
        if (copies.renderer[i] == renderer) return static_cast<int>(i);
    }
    return -1;
}

int FindOrAdd(SDL_Renderer* renderer) {
    int i = Find(renderer);
    if (i >= 0) return i;
    copies.ForEachArray([](auto& array) { array.emplace_back(); });
    copies.renderer.back() = renderer;
    copies.handOver.back() = kFirstHandOver;
    return static_cast<int>(copies.renderer.size() - 1);
}

void DropCopy(std::size_t i) {
    if (copies.software[i]) SDL_DestroyRenderer(copies.software[i]);
    if (copies.surface[i]) SDL_FreeSurface(copies.surface[i]);
    copies.software[i] = nullptr;
    copies.surface[i] = nullptr;
    // The texture and framebuffer belong to the renderer: released with it,
    // or by Forget while it lives.
}

void DropUpload(std::size_t i) {
    if (!copies.upload[i]) return;
    const GLuint fbo = copies.framebuffer[i];
    if (fbo != 0 && fbo != kNoBlit && SDL_GL_BindTexture(copies.upload[i], nullptr, nullptr) == 0) {
        gl->deleteFramebuffers(1, &fbo);
        SDL_GL_UnbindTexture(copies.upload[i]);
    }
    copies.framebuffer[i] = 0;
    SDL_DestroyTexture(copies.upload[i]);
    copies.upload[i] = nullptr;
}

// Makes the copy match the renderer's output size; false if it cannot be made.
bool Ready(std::size_t i, SDL_Renderer* renderer) {
    int w = 0, h = 0;
    if (SDL_GetRendererOutputSize(renderer, &w, &h) != 0 || w <= 0 || h <= 0) return false;
    if (copies.surface[i] && copies.surface[i]->w == w && copies.surface[i]->h == h) return true;
    DropCopy(i);
    DropUpload(i);
    // The format of a window surface on X11 and on the dummy driver.
    copies.surface[i] = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGB888);
    if (!copies.surface[i]) return false;
    SDL_SetSurfaceBlendMode(copies.surface[i], SDL_BLENDMODE_NONE);
    copies.software[i] = SDL_CreateSoftwareRenderer(copies.surface[i]);
    if (!copies.software[i]) {
        DropCopy(i);
        return false;
    }
    if (!IsSoftware(renderer)) {
        copies.upload[i] = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, w, h);
        if (!copies.upload[i]) {
            DropCopy(i);
            return false;
        }
    }
    return true;
}

// Blits the uploaded copy into the renderer's back buffer with OpenGL; false
// when that cannot be done.
bool Blit(std::size_t i) {
    SDL_Texture* upload = copies.upload[i];
    const SDL_Surface* surface = copies.surface[i];
    if (copies.framebuffer[i] == kNoBlit) return false;
    // Binding the texture makes the renderer's context current; SDL forgets
    // the binding again at the unbind.
    if (SDL_GL_BindTexture(upload, nullptr, nullptr) != 0) return false;
    GLint texture = 0, read = 0, draw = 0;
    gl->getIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    gl->getIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
    gl->getIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw);
    if (copies.framebuffer[i] == 0) {
        // Unsized storage given in the copy's own byte order (B, G, R, X):
        // the driver may then keep the texture in that order, so the upload
        // and the blit into the window's buffer (the same order on X11)
        // become plain memory copies instead of per-pixel conversions.
        gl->texImage2D(GL_TEXTURE_2D, 0, GL_RGBA, surface->w, surface->h, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
        GLuint made = 0;
        gl->genFramebuffers(1, &made);
        gl->bindFramebuffer(GL_READ_FRAMEBUFFER, made);
        gl->framebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, static_cast<GLuint>(texture), 0);
        const bool complete = texture != 0 && gl->checkFramebufferStatus(GL_READ_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        gl->bindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(read));
        if (!complete) {
            gl->deleteFramebuffers(1, &made);
            copies.framebuffer[i] = kNoBlit;
            SDL_GL_UnbindTexture(upload);
            return false;
        }
        copies.framebuffer[i] = made;
    }
    GLint rowLength = 0, alignment = 4;
    gl->getIntegerv(GL_UNPACK_ROW_LENGTH, &rowLength);
    gl->getIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    gl->pixelStorei(GL_UNPACK_ROW_LENGTH, surface->pitch / 4);
    gl->pixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gl->texSubImage2D(GL_TEXTURE_2D, 0, 0, 0, surface->w, surface->h, GL_BGRA, GL_UNSIGNED_BYTE, surface->pixels);
    gl->pixelStorei(GL_UNPACK_ROW_LENGTH, rowLength);
    gl->pixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    const bool scissor = gl->isEnabled(GL_SCISSOR_TEST);
    if (scissor) gl->disable(GL_SCISSOR_TEST);
    gl->bindFramebuffer(GL_READ_FRAMEBUFFER, copies.framebuffer[i]);
    // Row 0 of the texture is the top row; the window's is the bottom one.
    gl->blitFramebuffer(0, 0, surface->w, surface->h, 0, surface->h, surface->w, 0, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    gl->bindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(read));
    gl->bindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(draw));
    if (scissor) gl->enable(GL_SCISSOR_TEST);
    SDL_GL_UnbindTexture(upload);
    return true;
}

// Puts the copy into the renderer's back buffer, pixel for pixel.
void PutCopy(std::size_t i) {
    SDL_Renderer* renderer = copies.renderer[i];
    SDL_Surface* surface = copies.surface[i];
    SDL_RenderFlush(copies.software[i]);
    SDL_RenderFlush(renderer);
    if (IsSoftware(renderer)) {
        // The software renderer draws into the window surface itself.
        SDL_Window* window = SDL_RenderGetWindow(renderer);
        if (SDL_Surface* target = window ? SDL_GetWindowSurface(window) : nullptr) SDL_BlitSurface(surface, nullptr, target, nullptr);
        return;
    }
    SDL_Texture* upload = copies.upload[i];
    // A 1:1 copy without blending gives the same pixels as the blit, at several
    // times its cost; it serves where the blit cannot be made.
    if (!Blit(i)) {
        SDL_UpdateTexture(upload, nullptr, surface->pixels, surface->pitch);
        SDL_RenderCopy(renderer, upload, nullptr, nullptr);
    }
}

// The renderer takes over the draw colour and blend mode the copy was left with.
void HandBackColour(std::size_t i) {
    Uint8 r, g, b, a;
    SDL_BlendMode mode;
    SDL_GetRenderDrawColor(copies.software[i], &r, &g, &b, &a);
    SDL_GetRenderDrawBlendMode(copies.software[i], &mode);
    SDL_SetRenderDrawBlendMode(copies.renderer[i], mode);
    SDL_SetRenderDrawColor(copies.renderer[i], r, g, b, a);
}

void ForgetCalls(std::size_t i) {
    copies.calls[i].clear();
    copies.rects[i].clear();
}

void Replay(std::size_t i) {
    SDL_Renderer* r = copies.renderer[i];
    const std::vector<SDL_Rect>& rects = copies.rects[i];
    for (const Call& c : copies.calls[i]) {
        const int32_t* v = c.v;
        switch (c.kind) {
        case Kind::Colour:
            SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_BLEND);
            SDL_SetRenderDrawColor(r, static_cast<Uint8>(v[0]), static_cast<Uint8>(v[1]), static_cast<Uint8>(v[2]),
                                   static_cast<Uint8>(v[3]));
            break;
        case Kind::Clear: SDL_RenderClear(r); break;
        case Kind::Point: SDL_RenderDrawPoint(r, v[0], v[1]); break;
        case Kind::Line: SDL_RenderDrawLine(r, v[0], v[1], v[2], v[3]); break;
        case Kind::Rect: {
            SDL_Rect rect{v[0], v[1], v[2], v[3]};
            SDL_RenderDrawRect(r, &rect);
            break;
        }
        case Kind::FillRect: {
            SDL_Rect rect{v[0], v[1], v[2], v[3]};
            SDL_RenderFillRect(r, &rect);
            break;
        }
        case Kind::FillRects: SDL_RenderFillRects(r, rects.data() + v[0], v[1]); break;
        }
    }
}

// The rest of the frame goes to the renderer: the listed calls are replayed
// there, or, when the frame was not all listed, the copy is put into the back
// buffer first.
void Leave(std::size_t i) {
    if (!copies.drawing[i]) return;
    copies.drawing[i] = 0;
    if (copies.listed[i]) {
        SDL_RenderFlush(copies.software[i]);
        Replay(i);
    } else {
        PutCopy(i);
        HandBackColour(i);
    }
    copies.listed[i] = 0;
    ForgetCalls(i);
}

void Note(int copy, Kind kind, int32_t a = 0, int32_t b = 0, int32_t c = 0, int32_t d = 0) {
    if (copy >= 0) copies.calls[static_cast<std::size_t>(copy)].push_back(Call{kind, {a, b, c, d}});
}

// SDL's software renderer made by SDL_CreateSoftwareRenderer draws lines with
// its own line routine, while the one of a window turns a line into
// rectangles (the straight parts) and Bresenham points: the window's way,
// at scale 1, as SDL 2 does it for a polyline of count points.
void LinesAsWindowDoes(SDL_Renderer* r, const SDL_FPoint* points, int count) {
    SDL_FRect rects[4];
    int nrects = 0;
    bool drewLine = false;
    for (int i = 0; i < count - 1; ++i) {
        const bool sameX = points[i].x == points[i + 1].x, sameY = points[i].y == points[i + 1].y;
        bool drawLast = false;
        if (i == count - 2) {
            drawLast = !drewLine || points[i + 1].x != points[0].x || points[i + 1].y != points[0].y;
        } else if (sameX && sameY) {
            continue;
        }
        const float last = drawLast ? 1.0f : 0.0f;
        if (sameX) {
            const float lo = std::min(points[i].y, points[i + 1].y), hi = std::max(points[i].y, points[i + 1].y);
            SDL_FRect& f = rects[nrects++];
            f = SDL_FRect{points[i].x, lo, 1.0f, hi - lo + last};
            if (!drawLast && points[i + 1].y < points[i].y) f.y += 1.0f;
        } else if (sameY) {
            const float lo = std::min(points[i].x, points[i + 1].x), hi = std::max(points[i].x, points[i + 1].x);
            SDL_FRect& f = rects[nrects++];
            f = SDL_FRect{lo, points[i].y, hi - lo + last, 1.0f};
            if (!drawLast && points[i + 1].x < points[i].x) f.x += 1.0f;
        } else {
            const int x1 = static_cast<int>(SDL_roundf(points[i].x)), y1 = static_cast<int>(SDL_roundf(points[i].y));
            const int x2 = static_cast<int>(SDL_roundf(points[i + 1].x)), y2 = static_cast<int>(SDL_roundf(points[i + 1].y));
            const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
            int n, d, inc1, inc2, xi1, xi2, yi1, yi2;
            if (dx >= dy) {
                n = dx + 1; d = 2 * dy - dx; inc1 = dy * 2; inc2 = (dy - dx) * 2; xi1 = 1; xi2 = 1; yi1 = 0; yi2 = 1;
            } else {
                n = dy + 1; d = 2 * dx - dy; inc1 = dx * 2; inc2 = (dx - dy) * 2; xi1 = 0; xi2 = 1; yi1 = 1; yi2 = 1;
            }
            if (x1 > x2) { xi1 = -xi1; xi2 = -xi2; }
            if (y1 > y2) { yi1 = -yi1; yi2 = -yi2; }
            if (!drawLast) --n;
            static std::vector<SDL_FPoint> dots;
            dots.resize(static_cast<std::size_t>(std::max(n, 0)));
            int x = x1, y = y1;
            for (int k = 0; k < n; ++k) {
                dots[static_cast<std::size_t>(k)] = SDL_FPoint{static_cast<float>(x), static_cast<float>(y)};
                if (d < 0) { d += inc1; x += xi1; y += yi1; }
                else { d += inc2; x += xi2; y += yi2; }
            }
            if (n > 0) SDL_RenderDrawPointsF(r, dots.data(), n);
        }
        drewLine = true;
    }
    if (nrects > 0) SDL_RenderFillRectsF(r, rects, nrects);
}

}  // namespace

Pen ActivePen() {
    Pen pen;
    pen.renderer = platform::ActiveRenderer();
    pen.target = pen.renderer;
    // Copies queued for the renderer are drawn before anything drawn after them.
    batch::Draw(pen.renderer);
    const int i = Find(pen.renderer);
    if (i >= 0 && copies.drawing[static_cast<std::size_t>(i)]) {
        pen.target = copies.software[static_cast<std::size_t>(i)];
        pen.copy = copies.listed[static_cast<std::size_t>(i)] ? i : -1;
    }
    return pen;
}

void SetColour(const Pen& pen, Uint8 r, Uint8 g, Uint8 b, Uint8 a) {
    if (!pen.target) return;
    SDL_SetRenderDrawBlendMode(pen.target, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(pen.target, r, g, b, a);
    Note(pen.copy, Kind::Colour, r, g, b, a);
}

void Clear(const Pen& pen) {
    if (!pen.target) return;
    SDL_Renderer* renderer = pen.renderer;
    if (pen.target == renderer && use != Use::Never) {
        // A clear starts a frame that may be drawn into a copy.
        const bool wanted = use == Use::Always || (opengl::IsOpenGl(renderer) && GlUsable());
        const int i = wanted ? FindOrAdd(renderer) : Find(renderer);
        if (i >= 0) {
            const auto k = static_cast<std::size_t>(i);
            if (int w = 0, h = 0; wanted && !copies.direct[k] && PlainOutput(renderer, w, h) && Ready(k, renderer)) {
                Uint8 r, g, b, a;
                SDL_BlendMode mode;
                SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
                SDL_GetRenderDrawBlendMode(renderer, &mode);
                SDL_SetRenderDrawBlendMode(copies.software[k], mode);
                SDL_SetRenderDrawColor(copies.software[k], r, g, b, a);
                SDL_RenderClear(copies.software[k]);
                copies.drawing[k] = 1;
                copies.listed[k] = 1;
                ForgetCalls(k);
                Note(i, Kind::Clear);
                return;
            }
        }
    }
    SDL_RenderClear(pen.target);
    if (pen.target != renderer) {
        // A clear in a frame that goes on in the copy: from here on its calls
        // can be replayed, starting from the colour the copy has now.
        const auto k = static_cast<std::size_t>(Find(renderer));
        HandBackColour(k);
        ForgetCalls(k);
        copies.listed[k] = 1;
        Note(static_cast<int>(k), Kind::Clear);
        return;
    }
    Note(pen.copy, Kind::Clear);
}

void Point(const Pen& pen, int x, int y) {
    if (!pen.target) return;
    SDL_RenderDrawPoint(pen.target, x, y);
    Note(pen.copy, Kind::Point, x, y);
}

void Line(const Pen& pen, int x1, int y1, int x2, int y2) {
    if (!pen.target) return;
    if (pen.target == pen.renderer) {
        SDL_RenderDrawLine(pen.target, x1, y1, x2, y2);
        return;
    }
    const SDL_FPoint points[2] = {{static_cast<float>(x1), static_cast<float>(y1)},
                                  {static_cast<float>(x2), static_cast<float>(y2)}};
    LinesAsWindowDoes(pen.target, points, 2);
    Note(pen.copy, Kind::Line, x1, y1, x2, y2);
}

void Rect(const Pen& pen, const SDL_Rect& rect) {
    if (!pen.target) return;
    if (pen.target == pen.renderer) {
        SDL_RenderDrawRect(pen.target, &rect);
        return;
    }
    const float x = static_cast<float>(rect.x), y = static_cast<float>(rect.y);
    const float w = static_cast<float>(rect.w), h = static_cast<float>(rect.h);
    const SDL_FPoint points[5] = {{x, y}, {x + w - 1, y}, {x + w - 1, y + h - 1}, {x, y + h - 1}, {x, y}};
    LinesAsWindowDoes(pen.target, points, 5);
    Note(pen.copy, Kind::Rect, rect.x, rect.y, rect.w, rect.h);
}

void FillRect(const Pen& pen, const SDL_Rect& rect) {
    if (!pen.target) return;
    SDL_RenderFillRect(pen.target, &rect);
    Note(pen.copy, Kind::FillRect, rect.x, rect.y, rect.w, rect.h);
}

void FillRects(const Pen& pen, const SDL_Rect* rects, int count) {
    if (!pen.target || count <= 0) return;
    SDL_RenderFillRects(pen.target, rects, count);
    if (pen.copy >= 0) {
        std::vector<SDL_Rect>& kept = copies.rects[static_cast<std::size_t>(pen.copy)];
        Note(pen.copy, Kind::FillRects, static_cast<int32_t>(kept.size()), count);
        kept.insert(kept.end(), rects, rects + count);
    }
}

namespace {
// BeforeCopy, returning the renderer's entry or -1.
int EnterCopy(SDL_Renderer* renderer) {
    const int i = Find(renderer);
    if (i < 0) return i;
    const auto k = static_cast<std::size_t>(i);
    copies.textured[k] = 1;
    Leave(k);
    return i;
}
}  // namespace

void BeforeCopy(SDL_Renderer* renderer) { EnterCopy(renderer); }

void CopyTexture(SDL_Renderer* renderer, SDL_Texture* texture, const SDL_Rect* source, const SDL_Rect& destination,
                 double angle, int flip) {
    const int i = EnterCopy(renderer);
    if (batch::Copy(renderer, texture, source, destination, angle, flip)) return;
    // A null centre rotates about the centre of the destination rectangle.
    SDL_RenderCopyEx(renderer, texture, source, &destination, angle, nullptr, static_cast<SDL_RendererFlip>(flip));
    if (i < 0) return;
    const auto k = static_cast<std::size_t>(i);
    // A driver that rasterises on threads of its own (Mesa's llvmpipe) starts
    // on a frame's triangles only when they are flushed to it, at the present
    // at the latest: handing them over early lets it fill pixels while the
    // script goes on. Each hand-over costs the driver a pass over the frame,
    // so they come after 256, 512, 1024 ... copies. The calls and their order
    // are the same.
    if (copies.upload[k] && gl && ++copies.queued[k] >= copies.handOver[k]) {
        copies.queued[k] = 0;
        copies.handOver[k] = std::min(copies.handOver[k] * 2, kFirstHandOver << 12);
        SDL_RenderFlush(renderer);
        gl->flush();
    }
}

void BeforeChange(SDL_Renderer* renderer) {
    batch::Draw(renderer);
    const int i = Find(renderer);
    if (i >= 0) Leave(static_cast<std::size_t>(i));
}

void Present(SDL_Renderer* renderer) {
    if (!renderer) return;
    batch::EndFrame(renderer);
    const int i = Find(renderer);
    if (i >= 0) {
        const auto k = static_cast<std::size_t>(i);
        if (copies.drawing[k]) {
            PutCopy(k);
            HandBackColour(k);
            // Drawing without a clear goes on in the copy, which holds the
            // frame just shown; it can no longer be replayed from a clear.
            copies.listed[k] = 0;
            ForgetCalls(k);
        }
        copies.direct[k] = copies.textured[k];
        copies.textured[k] = 0;
        copies.queued[k] = 0;
        copies.handOver[k] = kFirstHandOver;
    }
    SDL_RenderPresent(renderer);
}

void Flush(SDL_Renderer* renderer) {
    batch::Draw(renderer);
    const int i = Find(renderer);
    if (i >= 0 && copies.drawing[static_cast<std::size_t>(i)]) PutCopy(static_cast<std::size_t>(i));
}

void Forget(SDL_Renderer* renderer) {
    batch::Forget(renderer);
    const int i = Find(renderer);
    if (i < 0) return;
    const auto k = static_cast<std::size_t>(i);
    DropCopy(k);
    DropUpload(k);
    copies.ForEachArray([i](auto& array) { array.erase(array.begin() + i); });
}

void SetUse(Use u) {
    use = u;
    batch::SetEnabled(u != Use::Never);
}

bool Copying(SDL_Renderer* renderer) {
    const int i = Find(renderer);
    return i >= 0 && copies.drawing[static_cast<std::size_t>(i)];
}

namespace {
// Between test cases every copy is dropped with the renderers SDL closes.
const core::ResetHook resetHook([] {
    for (std::size_t i = 0; i < copies.renderer.size(); ++i) DropCopy(i);
    copies = Copies{};
    use = Use::Auto;
});
}  // namespace

}  // namespace vorlune::graphics::canvas
