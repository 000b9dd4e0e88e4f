// Where primitives and text are drawn.
//
// On SDL's software renderer they go to the renderer, one call each. On an
// OpenGL renderer a frame that starts with a clear is drawn instead into a
// copy of the frame in main memory by SDL's own software renderer, with the
// same calls in the same order, and the copy is put into the window's back
// buffer before the present: the frame is bit for bit the one the software
// renderer draws, at the software renderer's speed (GL turns every line into
// points and every rectangle into a draw call on the CPU). The calls of such a
// frame are also listed; when a sprite is drawn in it, the list is replayed on
// the renderer itself and the frame goes on there, so it is then bit for bit
// the renderer's own. A renderer whose last frame held sprites starts the next
// one on the renderer directly.
#pragma once

#include <SDL.h>

namespace vorlune::graphics::canvas {

// Where one drawing operation goes: target is the renderer or the software
// renderer of its frame copy; null when there is no live active window.
struct Pen {
    SDL_Renderer* renderer = nullptr;  // the active renderer
    SDL_Renderer* target = nullptr;    // what draws
    int copy = -1;                     // index of the frame copy that lists the calls, or -1
};

Pen ActivePen();                                              // the pen of the active renderer now
void SetColour(const Pen& pen, Uint8 r, Uint8 g, Uint8 b, Uint8 a);  // blend mode BLEND, then the draw colour
void Clear(const Pen& pen);                                   // clear; may start drawing the frame into a copy
void Point(const Pen& pen, int x, int y);                     // SDL_RenderDrawPoint
void Line(const Pen& pen, int x1, int y1, int x2, int y2);    // SDL_RenderDrawLine
void Rect(const Pen& pen, const SDL_Rect& rect);              // SDL_RenderDrawRect
void FillRect(const Pen& pen, const SDL_Rect& rect);          // SDL_RenderFillRect
void FillRects(const Pen& pen, const SDL_Rect* rects, int count);  // SDL_RenderFillRects

void BeforeCopy(SDL_Renderer* renderer);    // a texture is drawn next: the frame goes on on the renderer
// SDL_RenderCopyEx(renderer, texture, source, &destination, angle, nullptr,
// flip) after BeforeCopy; on OpenGL the copy may be queued (graphics/batch.hpp).
void CopyTexture(SDL_Renderer* renderer, SDL_Texture* texture, const SDL_Rect* source, const SDL_Rect& destination,
                 double angle, int flip);
void BeforeChange(SDL_Renderer* renderer);  // its size or scale changes next: likewise
void Present(SDL_Renderer* renderer);       // the frame copy into the back buffer, then SDL_RenderPresent
void Flush(SDL_Renderer* renderer);         // the frame copy into the back buffer, no present (read-back)
void Forget(SDL_Renderer* renderer);        // the renderer is destroyed next


}  // namespace vorlune::graphics::canvas
