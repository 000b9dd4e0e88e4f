// OpenGL behind SDL's OpenGL renderer: the entry points the frame copy and
// the copy queue call directly, and what a renderer is.
#pragma once

#include <SDL_opengl.h>

struct SDL_Renderer;

namespace vorlune::graphics::opengl {

struct Functions {
    void(APIENTRY* getIntegerv)(GLenum, GLint*) = nullptr;
    GLboolean(APIENTRY* isEnabled)(GLenum) = nullptr;
    void(APIENTRY* enable)(GLenum) = nullptr;
    void(APIENTRY* disable)(GLenum) = nullptr;
    void(APIENTRY* flush)() = nullptr;
    // Framebuffers and texture uploads (the frame copy).
    void(APIENTRY* genFramebuffers)(GLsizei, GLuint*) = nullptr;
    void(APIENTRY* deleteFramebuffers)(GLsizei, const GLuint*) = nullptr;
    void(APIENTRY* bindFramebuffer)(GLenum, GLuint) = nullptr;
    void(APIENTRY* framebufferTexture2D)(GLenum, GLenum, GLenum, GLuint, GLint) = nullptr;
    GLenum(APIENTRY* checkFramebufferStatus)(GLenum) = nullptr;
    void(APIENTRY* blitFramebuffer)(GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLbitfield, GLenum) = nullptr;
    void(APIENTRY* texImage2D)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*) = nullptr;
    void(APIENTRY* texSubImage2D)(GLenum, GLint, GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, const void*) = nullptr;
    void(APIENTRY* pixelStorei)(GLenum, GLint) = nullptr;
    // Shaders, buffers and drawing (the copy queue).
    void(APIENTRY* blendFuncSeparate)(GLenum, GLenum, GLenum, GLenum) = nullptr;
    void(APIENTRY* blendEquationSeparate)(GLenum, GLenum) = nullptr;
    GLuint(APIENTRY* createShader)(GLenum) = nullptr;
    void(APIENTRY* shaderSource)(GLuint, GLsizei, const GLchar* const*, const GLint*) = nullptr;
    void(APIENTRY* compileShader)(GLuint) = nullptr;
    void(APIENTRY* getShaderiv)(GLuint, GLenum, GLint*) = nullptr;
    void(APIENTRY* deleteShader)(GLuint) = nullptr;
    GLuint(APIENTRY* createProgram)() = nullptr;
    void(APIENTRY* attachShader)(GLuint, GLuint) = nullptr;
    void(APIENTRY* linkProgram)(GLuint) = nullptr;
    void(APIENTRY* getProgramiv)(GLuint, GLenum, GLint*) = nullptr;
    void(APIENTRY* useProgram)(GLuint) = nullptr;
    GLint(APIENTRY* getUniformLocation)(GLuint, const GLchar*) = nullptr;
    void(APIENTRY* uniform1i)(GLint, GLint) = nullptr;
    void(APIENTRY* genBuffers)(GLsizei, GLuint*) = nullptr;
    void(APIENTRY* bindBuffer)(GLenum, GLuint) = nullptr;
    void(APIENTRY* bufferData)(GLenum, GLsizeiptr, const void*, GLenum) = nullptr;
    void(APIENTRY* vertexPointer)(GLint, GLenum, GLsizei, const void*) = nullptr;
    void(APIENTRY* texCoordPointer)(GLint, GLenum, GLsizei, const void*) = nullptr;
    void(APIENTRY* enableClientState)(GLenum) = nullptr;
    void(APIENTRY* disableClientState)(GLenum) = nullptr;
    void(APIENTRY* drawElements)(GLenum, GLsizei, GLenum, const void*) = nullptr;
    void(APIENTRY* viewport)(GLint, GLint, GLsizei, GLsizei) = nullptr;
    void(APIENTRY* matrixMode)(GLenum) = nullptr;
    void(APIENTRY* loadIdentity)() = nullptr;
    void(APIENTRY* ortho)(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble) = nullptr;
};

// Loaded at the first call, which must have a renderer's context current; an
// entry point the driver lacks stays null.
const Functions& Calls();
bool IsOpenGl(SDL_Renderer* renderer);  // the renderer is SDL's OpenGL renderer

}  // namespace vorlune::graphics::opengl
