#include "graphics/gl.hpp"

#include <SDL.h>

#include <cstring>

namespace vorlune::graphics::opengl {
namespace {

template <typename F>
void Load(F& f, const char* name) {
    f = reinterpret_cast<F>(SDL_GL_GetProcAddress(name));
}

Functions Loaded() {
    Functions f;
    Load(f.getIntegerv, "glGetIntegerv");
    Load(f.isEnabled, "glIsEnabled");
    Load(f.enable, "glEnable");
    Load(f.disable, "glDisable");
    Load(f.flush, "glFlush");
    Load(f.genFramebuffers, "glGenFramebuffers");
    Load(f.deleteFramebuffers, "glDeleteFramebuffers");
    Load(f.bindFramebuffer, "glBindFramebuffer");
    Load(f.framebufferTexture2D, "glFramebufferTexture2D");
    Load(f.checkFramebufferStatus, "glCheckFramebufferStatus");
    Load(f.blitFramebuffer, "glBlitFramebuffer");
    Load(f.texImage2D, "glTexImage2D");
    Load(f.texSubImage2D, "glTexSubImage2D");
    Load(f.pixelStorei, "glPixelStorei");
    Load(f.blendFuncSeparate, "glBlendFuncSeparate");
    Load(f.blendEquationSeparate, "glBlendEquationSeparate");
    Load(f.createShader, "glCreateShader");
    Load(f.shaderSource, "glShaderSource");
    Load(f.compileShader, "glCompileShader");
    Load(f.getShaderiv, "glGetShaderiv");
    Load(f.deleteShader, "glDeleteShader");
    Load(f.createProgram, "glCreateProgram");
    Load(f.attachShader, "glAttachShader");
    Load(f.linkProgram, "glLinkProgram");
    Load(f.getProgramiv, "glGetProgramiv");
    Load(f.useProgram, "glUseProgram");
    Load(f.getUniformLocation, "glGetUniformLocation");
    Load(f.uniform1i, "glUniform1i");
    Load(f.genBuffers, "glGenBuffers");
    Load(f.bindBuffer, "glBindBuffer");
    Load(f.bufferData, "glBufferData");
    Load(f.vertexPointer, "glVertexPointer");
    Load(f.texCoordPointer, "glTexCoordPointer");
    Load(f.enableClientState, "glEnableClientState");
    Load(f.disableClientState, "glDisableClientState");
    Load(f.drawElements, "glDrawElements");
    Load(f.viewport, "glViewport");
    Load(f.matrixMode, "glMatrixMode");
    Load(f.loadIdentity, "glLoadIdentity");
    Load(f.ortho, "glOrtho");
    return f;
}

}  // namespace

const Functions& Calls() {
    static const Functions functions = Loaded();
    return functions;
}

bool IsOpenGl(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    return renderer && SDL_GetRendererInfo(renderer, &info) == 0 && std::strcmp(info.name, "opengl") == 0;
}

}  // namespace vorlune::graphics::opengl
