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
//
// A texture whose texels are all either transparent or opaque (colour-keyed
// images, most sprites) is drawn without blending, its transparent texels
// discarded: blending an opaque texel gives the texel, a transparent one the
// pixel as it was, so the pixels are the same without reading them first.
#pragma once

struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Rect;
struct SDL_Surface;

namespace vorlune::graphics::batch {

// Queues a copy as SDL_RenderCopyEx(renderer, texture, source, &destination,
// angle, nullptr, flip) would draw it; false when it cannot be queued (not
// OpenGL, modulated colour, a blend mode other than none or blend, a scaled
// or clipped renderer ...): the caller then draws it itself.
bool Copy(SDL_Renderer* renderer, SDL_Texture* texture, const SDL_Rect* source, const SDL_Rect& destination,
          double angle, int flip);
void Draw(SDL_Renderer* renderer);       // draws the renderer's queued copies now
void Created(SDL_Texture* texture, SDL_Renderer* renderer, SDL_Surface* from);  // notes whether its alpha is all 0 or 255
void Destroyed(SDL_Texture* texture);    // it is destroyed next
void EndFrame(SDL_Renderer* renderer);   // likewise, before its present
void Forget(SDL_Renderer* renderer);     // the renderer is destroyed next: its queue is dropped
void SetEnabled(bool enabled);           // off: every copy goes to SDL

}  // namespace vorlune::graphics::batch
