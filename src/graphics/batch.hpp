// Sprite copies on an OpenGL renderer, queued and drawn together.
//
// SDL's OpenGL renderer sends every copy as six vertices with a colour each,
// drawn by a shader that multiplies the texture by that colour. A copy
// without colour or alpha modulation is queued here instead, as the four
// corners SDL would compute for it, and a run of copies of one texture is
// drawn as indexed quads (the same two triangles per copy, in the same order)
// by a shader that reads the texture alone: the same pixels, with a third of
// the vertices and no colour to interpolate for every pixel. Whatever else
// draws on the renderer, presents it, reads it back or changes its size or a
// texture first draws what is queued, so the order of drawing is kept.
#pragma once

struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Rect;

namespace vorlune::graphics::batch {

// Queues a copy as SDL_RenderCopyEx(renderer, texture, source, &destination,
// angle, nullptr, flip) would draw it; false when it cannot be queued (not
// OpenGL, modulated colour, a blend mode other than none or blend, a scaled
// or clipped renderer ...): the caller then draws it itself.
bool Copy(SDL_Renderer* renderer, SDL_Texture* texture, const SDL_Rect* source, const SDL_Rect& destination,
          double angle, int flip);
void Draw(SDL_Renderer* renderer);       // draws the renderer's queued copies now
void EndFrame(SDL_Renderer* renderer);   // likewise, before its present
void Forget(SDL_Renderer* renderer);     // the renderer is destroyed next: its queue is dropped
void SetEnabled(bool enabled);           // off: every copy goes to SDL

}  // namespace vorlune::graphics::batch
