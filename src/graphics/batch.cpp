#include "graphics/batch.hpp"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <unordered_map>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/reset.hpp"
#include "graphics/gl.hpp"
#include "graphics/inspect.hpp"
#include "graphics/target.hpp"

namespace vorlune::graphics::batch {
namespace {

// The OpenGL entry points, once a current context has shown it has every
// one the queue calls; null until then, and when it has not.
const opengl::Functions* gl = nullptr;
bool glChecked = false;

bool GlLoaded() {
    if (!glChecked) {
        glChecked = true;
        const opengl::Functions& f = opengl::Calls();
        if (f.getIntegerv && f.isEnabled && f.enable && f.disable && f.flush && f.blendFuncSeparate &&
            f.blendEquationSeparate && f.createShader && f.shaderSource && f.compileShader && f.getShaderiv &&
            f.deleteShader && f.createProgram && f.attachShader && f.linkProgram && f.getProgramiv && f.useProgram &&
            f.getUniformLocation && f.uniform1i && f.genBuffers && f.bindBuffer && f.bufferData && f.vertexPointer &&
            f.texCoordPointer && f.enableClientState && f.disableClientState && f.drawElements && f.viewport &&
            f.matrixMode && f.loadIdentity && f.ortho) {
            gl = &f;
        }
    }
    return gl != nullptr;
}

// SDL's own vertex shader for textures, without the colour; the fragment
// shaders are SDL's for textures with and without alpha, without the
// multiplication by a colour that is white, and one that discards
// transparent texels, for drawing without blending.
constexpr const char* kVertexShader =
    "varying vec2 v_texCoord;\n"
    "\n"
    "void main()\n"
    "{\n"
    "    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;\n"
    "    v_texCoord = vec2(gl_MultiTexCoord0);\n"
    "}";
enum Shader { kTexture, kOpaque, kCutOut, kShaders };
#define VORLUNE_FRAGMENT_SHADER(body) \
    "varying vec2 v_texCoord;\n"     \
    "uniform sampler2D tex0;\n"      \
    "\n"                             \
    "void main()\n"                  \
    "{\n" body "}"
constexpr const char* kFragmentShaders[kShaders] = {
    VORLUNE_FRAGMENT_SHADER("    gl_FragColor = texture2D(tex0, v_texCoord);\n"),
    VORLUNE_FRAGMENT_SHADER("    gl_FragColor = texture2D(tex0, v_texCoord);\n"
                            "    gl_FragColor.a = 1.0;\n"),
    VORLUNE_FRAGMENT_SHADER("    vec4 texel = texture2D(tex0, v_texCoord);\n"
                            "    if (texel.a == 0.0) discard;\n"
                            "    gl_FragColor = texel;\n"),
};
#undef VORLUNE_FRAGMENT_SHADER

constexpr int kQuadsPerDraw = 16384;  // 65,536 vertices: 16-bit indices
constexpr uint32_t kFirstHandOver = 4096;
enum class Gl : uint8_t { Unknown, Usable, Unusable };

// The renderers that copied a texture, as parallel arrays.
struct Renderers {
    std::vector<SDL_Renderer*> renderer;
    std::vector<Gl> usable;                 // the renderer can draw queued copies
    std::vector<std::array<GLuint, kShaders>> programs;
    std::vector<GLuint> vertexBuffer;
    std::vector<GLuint> indexBuffer;        // the indices of kQuadsPerDraw quads, made once
    std::vector<SDL_Texture*> texture;      // the texture of the queued copies, or null
    std::vector<uint8_t> shader;            // the Shader that draws it
    std::vector<uint8_t> blend;             // with blending (else it replaces)
    std::vector<int> textureW, textureH;    // its size
    std::vector<int> outputW, outputH;      // the renderer's output and viewport when the run started
    std::vector<std::vector<float>> corners;  // x, y, u, v of the 4 corners of each queued copy
    std::vector<uint32_t> queued;           // copies since the last hand-over to the driver
    std::vector<uint32_t> handOver;         // copies that make the next one, doubling within a frame

    template <typename F>
    void ForEachArray(F f) {
        f(renderer), f(usable), f(programs), f(vertexBuffer), f(indexBuffer), f(texture), f(shader), f(blend), f(textureW),
            f(textureH), f(outputW), f(outputH), f(corners), f(queued), f(handOver);
    }
};
Renderers renderers;
// The textures whose alpha is all 0 or 255, with their renderers.
std::unordered_map<SDL_Texture*, SDL_Renderer*> cutOut;
bool enabled = true;
uint64_t copiesDrawn = 0;  // copies drawn from queues since the start, for tests

int Find(SDL_Renderer* renderer) {
    for (std::size_t i = 0; i < renderers.renderer.size(); ++i) {
        if (renderers.renderer[i] == renderer) return static_cast<int>(i);
    }
    return -1;
}

std::size_t FindOrAdd(SDL_Renderer* renderer) {
    const int i = Find(renderer);
    if (i >= 0) return static_cast<std::size_t>(i);
    renderers.ForEachArray([](auto& array) { array.emplace_back(); });
    renderers.renderer.back() = renderer;
    renderers.handOver.back() = kFirstHandOver;
    return renderers.renderer.size() - 1;
}

GLuint Compile(GLenum kind, const char* source) {
    const GLuint shader = gl->createShader(kind);
    gl->shaderSource(shader, 1, &source, nullptr);
    gl->compileShader(shader);
    GLint ok = GL_FALSE;
    gl->getShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok == GL_TRUE) return shader;
    gl->deleteShader(shader);
    return 0;
}

GLuint Link(const char* fragment) {
    const GLuint vs = Compile(GL_VERTEX_SHADER, kVertexShader), fs = Compile(GL_FRAGMENT_SHADER, fragment);
    GLuint program = 0;
    if (vs && fs) {
        program = gl->createProgram();
        gl->attachShader(program, vs);
        gl->attachShader(program, fs);
        gl->linkProgram(program);
        GLint ok = GL_FALSE;
        gl->getProgramiv(program, GL_LINK_STATUS, &ok);
        if (ok != GL_TRUE) program = 0;
    }
    if (vs) gl->deleteShader(vs);
    if (fs) gl->deleteShader(fs);
    if (program) {
        // The sampler reads texture unit 0, where SDL binds textures.
        GLint previous = 0;
        gl->getIntegerv(GL_CURRENT_PROGRAM, &previous);
        gl->useProgram(program);
        gl->uniform1i(gl->getUniformLocation(program, "tex0"), 0);
        gl->useProgram(static_cast<GLuint>(previous));
    }
    return program;
}

// Makes the renderer's programs and buffers, with texture bound by SDL (its
// context current). The copies must be drawn as SDL's shaders draw them
// (SDL may be told to use none) from 2D textures addressed 0 to 1 (SDL then
// takes them in any size).
bool Prepare(std::size_t k, SDL_Texture* texture) {
    if (!opengl::IsOpenGl(renderers.renderer[k])) return false;
    if (!SDL_GetHintBoolean(SDL_HINT_RENDER_OPENGL_SHADERS, SDL_TRUE)) return false;
    if (SDL_GL_BindTexture(texture, nullptr, nullptr) != 0) return false;
    bool ok = GlLoaded() && SDL_GL_ExtensionSupported("GL_ARB_texture_non_power_of_two");
    if (ok) {
        GLint current = 0;
        gl->getIntegerv(GL_TEXTURE_BINDING_2D, &current);
        ok = current != 0;  // SDL binds its textures as 2D textures
    }
    std::array<GLuint, kShaders>& programs = renderers.programs[k];
    for (int i = 0; ok && i < kShaders; ++i) {
        programs[i] = Link(kFragmentShaders[i]);
        ok = programs[i] != 0;
    }
    if (ok) {
        GLint array = 0, element = 0;
        gl->getIntegerv(GL_ARRAY_BUFFER_BINDING, &array);
        gl->getIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &element);
        GLuint buffers[2] = {0, 0};
        gl->genBuffers(2, buffers);
        renderers.vertexBuffer[k] = buffers[0];
        renderers.indexBuffer[k] = buffers[1];
        // Corners 0, 1, 2, 3 of a copy (top left, top right, bottom right,
        // bottom left before turning) make the triangles (0, 1, 3) and
        // (1, 3, 2), as SDL's OpenGL renderer orders them.
        std::vector<GLushort> indices(static_cast<std::size_t>(kQuadsPerDraw) * 6);
        for (int q = 0; q < kQuadsPerDraw; ++q) {
            const auto base = static_cast<GLushort>(4 * q);
            const GLushort order[6] = {0, 1, 3, 1, 3, 2};
            for (int j = 0; j < 6; ++j) indices[static_cast<std::size_t>(6 * q + j)] = static_cast<GLushort>(base + order[j]);
        }
        gl->bindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[1]);
        gl->bufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(GLushort)),
                      indices.data(), GL_STATIC_DRAW);
        gl->bindBuffer(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLuint>(element));
        gl->bindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(array));
    }
    SDL_GL_UnbindTexture(texture);
    return ok;
}

void DrawQueued(std::size_t k);

// Starts a run of copies of texture, after drawing the one queued.
bool Start(std::size_t k, SDL_Texture* texture) {
    DrawQueued(k);
    if (renderers.usable[k] == Gl::Unusable) return false;
    SDL_Renderer* renderer = renderers.renderer[k];
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_BlendMode mode = SDL_BLENDMODE_INVALID;
    Uint32 format = 0;
    int tw = 0, th = 0, ow = 0, oh = 0;
    if (SDL_GetTextureColorMod(texture, &r, &g, &b) != 0 || SDL_GetTextureAlphaMod(texture, &a) != 0 ||
        SDL_GetTextureBlendMode(texture, &mode) != 0 || SDL_QueryTexture(texture, &format, nullptr, &tw, &th) != 0) {
        return false;
    }
    if (r != 255 || g != 255 || b != 255 || a != 255) return false;
    if (mode != SDL_BLENDMODE_NONE && mode != SDL_BLENDMODE_BLEND) return false;
    const bool alpha = format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_ABGR8888;
    const bool opaque = format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_BGR888;
    if (!(alpha || opaque) || tw <= 0 || th <= 0) return false;
    if (!PlainOutput(renderer, ow, oh)) return false;
    if (renderers.usable[k] == Gl::Unknown) {
        renderers.usable[k] = Prepare(k, texture) ? Gl::Usable : Gl::Unusable;
        if (renderers.usable[k] == Gl::Unusable) return false;
    }
    // An opaque texel blended gives the texel: blending changes nothing for
    // a texture without alpha channel, nor, transparent texels apart, for
    // one whose alpha is all 0 or 255 sampled texel by texel.
    SDL_ScaleMode scale = SDL_ScaleModeLinear;
    const bool binary = alpha && mode == SDL_BLENDMODE_BLEND && SDL_GetTextureScaleMode(texture, &scale) == 0 &&
                        scale == SDL_ScaleModeNearest && cutOut.count(texture) != 0;
    renderers.texture[k] = texture;
    renderers.shader[k] = opaque ? kOpaque : binary ? kCutOut : kTexture;
    renderers.blend[k] = mode == SDL_BLENDMODE_BLEND && !opaque && !binary;
    renderers.textureW[k] = tw;
    renderers.textureH[k] = th;
    renderers.outputW[k] = ow;
    renderers.outputH[k] = oh;
    return true;
}

// Appends the corners SDL_RenderCopyEx computes for the copy, in its float
// arithmetic, so the triangles are the ones SDL would draw.
void Queue(std::size_t k, const SDL_Rect* source, const SDL_Rect& destination, double angle, int flip) {
    const int tw = renderers.textureW[k], th = renderers.textureH[k];
    SDL_Rect part{0, 0, tw, th};
    if (source && !SDL_IntersectRect(source, &part, &part)) return;
    const SDL_FRect dst{static_cast<float>(destination.x), static_cast<float>(destination.y),
                        static_cast<float>(destination.w), static_cast<float>(destination.h)};
    const float minu = static_cast<float>(part.x) / static_cast<float>(tw);
    const float minv = static_cast<float>(part.y) / static_cast<float>(th);
    const float maxu = static_cast<float>(part.x + part.w) / static_cast<float>(tw);
    const float maxv = static_cast<float>(part.y + part.h) / static_cast<float>(th);
    float xy[8];
    if (flip == SDL_FLIP_NONE && static_cast<int>(angle / 360) == angle / 360) {
        // Unturned: SDL skips a copy outside the viewport, else takes the
        // rectangle's corners as they are.
        const SDL_FRect view{0, 0, static_cast<float>(renderers.outputW[k]), static_cast<float>(renderers.outputH[k])};
        if (!SDL_HasIntersectionF(&dst, &view)) return;
        const float minx = dst.x, miny = dst.y, maxx = dst.x + dst.w, maxy = dst.y + dst.h;
        const float corners[8] = {minx, miny, maxx, miny, maxx, maxy, minx, maxy};
        std::memcpy(xy, corners, sizeof xy);
    } else {
        const float radians = static_cast<float>((3.14159265358979323846 * angle) / 180.0);
        const float s = SDL_sinf(radians), c = SDL_cosf(radians);
        const float centerx = dst.w / 2.0f + dst.x, centery = dst.h / 2.0f + dst.y;
        float minx = dst.x, maxx = dst.x + dst.w, miny = dst.y, maxy = dst.y + dst.h;
        if (flip & SDL_FLIP_HORIZONTAL) std::swap(minx, maxx);
        if (flip & SDL_FLIP_VERTICAL) std::swap(miny, maxy);
        const float sMinx = s * (minx - centerx), sMiny = s * (miny - centery);
        const float sMaxx = s * (maxx - centerx), sMaxy = s * (maxy - centery);
        const float cMinx = c * (minx - centerx), cMiny = c * (miny - centery);
        const float cMaxx = c * (maxx - centerx), cMaxy = c * (maxy - centery);
        xy[0] = (cMinx - sMiny) + centerx;
        xy[1] = (sMinx + cMiny) + centery;
        xy[2] = (cMaxx - sMiny) + centerx;
        xy[3] = (sMaxx + cMiny) + centery;
        xy[4] = (cMaxx - sMaxy) + centerx;
        xy[5] = (sMaxx + cMaxy) + centery;
        xy[6] = (cMinx - sMaxy) + centerx;
        xy[7] = (sMinx + cMaxy) + centery;
    }
    const float uv[8] = {minu, minv, maxu, minv, maxu, maxv, minu, maxv};
    std::vector<float>& out = renderers.corners[k];
    const std::size_t at = out.size();
    out.resize(at + 16);
    for (int j = 0; j < 4; ++j) {
        out[at + 4 * j] = xy[2 * j];
        out[at + 4 * j + 1] = xy[2 * j + 1];
        out[at + 4 * j + 2] = uv[2 * j];
        out[at + 4 * j + 3] = uv[2 * j + 1];
    }
}

// The OpenGL state a draw changes, to give SDL back exactly what it had.
struct SavedState {
    GLint program, arrayBuffer, elementBuffer, blendSrcRgb, blendDstRgb, blendSrcAlpha, blendDstAlpha, equationRgb,
        equationAlpha;
    GLboolean blending, vertexArray, colourArray, texCoordArray;

    void Save() {
        gl->getIntegerv(GL_CURRENT_PROGRAM, &program);
        gl->getIntegerv(GL_ARRAY_BUFFER_BINDING, &arrayBuffer);
        gl->getIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elementBuffer);
        gl->getIntegerv(GL_BLEND_SRC_RGB, &blendSrcRgb);
        gl->getIntegerv(GL_BLEND_DST_RGB, &blendDstRgb);
        gl->getIntegerv(GL_BLEND_SRC_ALPHA, &blendSrcAlpha);
        gl->getIntegerv(GL_BLEND_DST_ALPHA, &blendDstAlpha);
        gl->getIntegerv(GL_BLEND_EQUATION_RGB, &equationRgb);
        gl->getIntegerv(GL_BLEND_EQUATION_ALPHA, &equationAlpha);
        blending = gl->isEnabled(GL_BLEND);
        vertexArray = gl->isEnabled(GL_VERTEX_ARRAY);
        colourArray = gl->isEnabled(GL_COLOR_ARRAY);
        texCoordArray = gl->isEnabled(GL_TEXTURE_COORD_ARRAY);
    }

    static void Set(GLenum what, bool on, bool client) {
        if (client) on ? gl->enableClientState(what) : gl->disableClientState(what);
        else on ? gl->enable(what) : gl->disable(what);
    }

    void Restore() const {
        gl->useProgram(static_cast<GLuint>(program));
        gl->bindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(arrayBuffer));
        gl->bindBuffer(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLuint>(elementBuffer));
        gl->blendFuncSeparate(static_cast<GLenum>(blendSrcRgb), static_cast<GLenum>(blendDstRgb),
                             static_cast<GLenum>(blendSrcAlpha), static_cast<GLenum>(blendDstAlpha));
        gl->blendEquationSeparate(static_cast<GLenum>(equationRgb), static_cast<GLenum>(equationAlpha));
        Set(GL_BLEND, blending, false);
        Set(GL_VERTEX_ARRAY, vertexArray, true);
        Set(GL_COLOR_ARRAY, colourArray, true);
        Set(GL_TEXTURE_COORD_ARRAY, texCoordArray, true);
    }
};

void DrawQueued(std::size_t k) {
    SDL_Texture* texture = renderers.texture[k];
    if (!texture) return;
    renderers.texture[k] = nullptr;
    std::vector<float>& corners = renderers.corners[k];
    if (corners.empty()) return;
    // What SDL has queued was drawn before these copies.
    SDL_RenderFlush(renderers.renderer[k]);
    if (SDL_GL_BindTexture(texture, nullptr, nullptr) != 0) {
        corners.clear();
        return;
    }
    SavedState saved;
    saved.Save();
    // SDL's projection for a window: its viewport, y downwards.
    const int w = renderers.outputW[k], h = renderers.outputH[k];
    gl->viewport(0, 0, w, h);
    gl->matrixMode(GL_PROJECTION);
    gl->loadIdentity();
    gl->ortho(0.0, static_cast<GLdouble>(w), static_cast<GLdouble>(h), 0.0, 0.0, 1.0);
    gl->matrixMode(GL_MODELVIEW);
    gl->useProgram(renderers.programs[k][renderers.shader[k]]);
    if (renderers.blend[k]) {
        gl->enable(GL_BLEND);
        gl->blendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        gl->blendEquationSeparate(GL_FUNC_ADD, GL_FUNC_ADD);
    } else {
        gl->disable(GL_BLEND);
    }
    gl->enableClientState(GL_VERTEX_ARRAY);
    gl->enableClientState(GL_TEXTURE_COORD_ARRAY);
    gl->disableClientState(GL_COLOR_ARRAY);
    gl->bindBuffer(GL_ARRAY_BUFFER, renderers.vertexBuffer[k]);
    gl->bindBuffer(GL_ELEMENT_ARRAY_BUFFER, renderers.indexBuffer[k]);
    gl->bufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(corners.size() * sizeof(float)), corners.data(),
                  GL_STREAM_DRAW);
    const std::size_t quads = corners.size() / 16;
    constexpr GLsizei kStride = 4 * sizeof(float);
    for (std::size_t first = 0; first < quads; first += kQuadsPerDraw) {
        const std::size_t count = std::min<std::size_t>(kQuadsPerDraw, quads - first);
        const auto offset = static_cast<std::uintptr_t>(first * 16 * sizeof(float));
        gl->vertexPointer(2, GL_FLOAT, kStride, reinterpret_cast<const void*>(offset));
        gl->texCoordPointer(2, GL_FLOAT, kStride, reinterpret_cast<const void*>(offset + 2 * sizeof(float)));
        gl->drawElements(GL_TRIANGLES, static_cast<GLsizei>(count * 6), GL_UNSIGNED_SHORT, nullptr);
    }
    saved.Restore();
    SDL_GL_UnbindTexture(texture);
    copiesDrawn += quads;
    corners.clear();
}

}  // namespace

bool Copy(SDL_Renderer* renderer, SDL_Texture* texture, const SDL_Rect* source, const SDL_Rect& destination,
          double angle, int flip) {
    if (!enabled || !renderer || !texture) return false;
    const std::size_t k = FindOrAdd(renderer);
    if (renderers.usable[k] == Gl::Unusable) return false;
    if (renderers.texture[k] != texture && !Start(k, texture)) return false;
    Queue(k, source, destination, angle, flip);
    // A driver that rasterises on threads of its own (Mesa's llvmpipe) starts
    // on a frame's triangles only when they are flushed to it: long runs are
    // handed over after 4096, 8192, 16384 ... copies of a frame. Each
    // hand-over costs the driver a pass over the frame; below a few thousand
    // copies that costs more than the early start gains.
    if (++renderers.queued[k] >= renderers.handOver[k]) {
        renderers.queued[k] = 0;
        renderers.handOver[k] = std::min(renderers.handOver[k] * 2, kFirstHandOver << 12);
        DrawQueued(k);
        gl->flush();
    }
    return true;
}

void Draw(SDL_Renderer* renderer) {
    const int i = Find(renderer);
    if (i >= 0) DrawQueued(static_cast<std::size_t>(i));
}

void EndFrame(SDL_Renderer* renderer) {
    const int i = Find(renderer);
    if (i < 0) return;
    const auto k = static_cast<std::size_t>(i);
    DrawQueued(k);
    renderers.queued[k] = 0;
    renderers.handOver[k] = kFirstHandOver;
}

void Created(SDL_Texture* texture, SDL_Renderer* renderer, SDL_Surface* from) {
    cutOut.erase(texture);
    // Only copies on OpenGL are queued; a picture without alpha channel or
    // colour key becomes a texture without alpha, drawn opaque anyway.
    if (!from || !opengl::IsOpenGl(renderer)) return;
    if (from->format->Amask == 0 && !SDL_HasColorKey(from)) return;
    // The texture holds the picture as SDL converts it (a colour key becomes
    // alpha 0): convert it the same way and look at every alpha.
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(from, SDL_PIXELFORMAT_ARGB8888, 0);
    if (!argb) return;
    bool binary = SDL_LockSurface(argb) == 0;
    for (int y = 0; binary && y < argb->h; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb->pixels) + y * argb->pitch);
        for (int x = 0; x < argb->w; ++x) {
            const Uint32 a = row[x] >> 24;
            if (a != 0 && a != 255) {
                binary = false;
                break;
            }
        }
    }
    if (argb->locked) SDL_UnlockSurface(argb);
    SDL_FreeSurface(argb);
    if (binary) cutOut[texture] = renderer;
}

void Destroyed(SDL_Texture* texture) { cutOut.erase(texture); }

void Forget(SDL_Renderer* renderer) {
    // Its textures are destroyed with it.
    std::erase_if(cutOut, [renderer](const auto& entry) { return entry.second == renderer; });
    const int i = Find(renderer);
    if (i < 0) return;
    // The programs and buffers go with the renderer's context.
    renderers.ForEachArray([i](auto& array) { array.erase(array.begin() + i); });
}

void SetEnabled(bool on) { enabled = on; }

uint64_t CopiesDrawn() { return copiesDrawn; }

namespace {
const core::ResetHook resetHook([] {
    renderers = Renderers{};
    cutOut.clear();
    enabled = true;
});
}  // namespace

}  // namespace vorlune::graphics::batch
