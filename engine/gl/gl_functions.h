// The whole GL surface of the engine: every GL entry point it calls, in one list, loaded once
// through SDL after the first context is made current. Code calls them as gl.Clear(...), so a
// reader sees at a glance which GL the engine depends on. Needs OpenGL 2.1 with frame buffer
// objects (core in 3.0, or the ARB extension), in a compatibility context.
#pragma once

#include <SDL2/SDL_opengl.h>

namespace kv::engine {

// X(return type, name without the "gl" prefix, parameter list)
#define KV_GL_FUNCTIONS(X)                                                                          \
  X(const GLubyte*, GetString, (GLenum name))                                                       \
  X(GLenum, GetError, (void))                                                                       \
  X(void, GetIntegerv, (GLenum name, GLint * data))                                                 \
  X(void, Enable, (GLenum cap))                                                                     \
  X(void, Disable, (GLenum cap))                                                                    \
  X(void, Viewport, (GLint x, GLint y, GLsizei w, GLsizei h))                                       \
  X(void, Scissor, (GLint x, GLint y, GLsizei w, GLsizei h))                                        \
  X(void, ClearColor, (GLfloat r, GLfloat g, GLfloat b, GLfloat a))                                 \
  X(void, ClearDepth, (GLdouble depth))                                                             \
  X(void, ClearStencil, (GLint s))                                                                  \
  X(void, Clear, (GLbitfield mask))                                                                 \
  X(void, ColorMask, (GLboolean r, GLboolean g, GLboolean b, GLboolean a))                          \
  X(void, BlendFunc, (GLenum src, GLenum dst))                                                      \
  X(void, BlendEquation, (GLenum mode))                                                             \
  X(void, PointSize, (GLfloat size))                                                                \
  X(void, TexEnvi, (GLenum target, GLenum name, GLint value))                                       \
  X(void, GenTextures, (GLsizei n, GLuint * textures))                                              \
  X(void, DeleteTextures, (GLsizei n, const GLuint* textures))                                      \
  X(void, BindTexture, (GLenum target, GLuint texture))                                             \
  X(void, TexImage2D, (GLenum target, GLint level, GLint internalFormat, GLsizei w, GLsizei h,       \
                       GLint border, GLenum format, GLenum type, const void* pixels))               \
  X(void, TexParameteri, (GLenum target, GLenum name, GLint value))                                 \
  X(void, GetTexImage, (GLenum target, GLint level, GLenum format, GLenum type, void* pixels))      \
  X(void, PixelStorei, (GLenum name, GLint value))                                                  \
  X(void, ReadPixels, (GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type,          \
                       void* pixels))                                                               \
  X(void, ActiveTexture, (GLenum unit))                                                             \
  X(void, ClientActiveTexture, (GLenum unit))                                                       \
  X(void, MatrixMode, (GLenum mode))                                                                \
  X(void, LoadMatrixd, (const GLdouble* m))                                                         \
  X(void, LoadIdentity, (void))                                                                     \
  X(void, EnableClientState, (GLenum array))                                                        \
  X(void, DisableClientState, (GLenum array))                                                       \
  X(void, VertexPointer, (GLint size, GLenum type, GLsizei stride, const void* pointer))            \
  X(void, ColorPointer, (GLint size, GLenum type, GLsizei stride, const void* pointer))             \
  X(void, TexCoordPointer, (GLint size, GLenum type, GLsizei stride, const void* pointer))          \
  X(void, DrawRangeElements, (GLenum mode, GLuint start, GLuint end, GLsizei count, GLenum type,    \
                              const void* indices))                                                 \
  X(void, Finish, (void))                                                                           \
  X(void, GenFramebuffers, (GLsizei n, GLuint * ids))                                               \
  X(void, DeleteFramebuffers, (GLsizei n, const GLuint* ids))                                       \
  X(void, BindFramebuffer, (GLenum target, GLuint id))                                              \
  X(void, FramebufferRenderbuffer, (GLenum target, GLenum attachment, GLenum rbTarget, GLuint rb))  \
  X(GLenum, CheckFramebufferStatus, (GLenum target))                                                \
  X(void, GetFramebufferAttachmentParameteriv, (GLenum target, GLenum attachment, GLenum name,      \
                                                GLint * value))                                     \
  X(void, GenRenderbuffers, (GLsizei n, GLuint * ids))                                              \
  X(void, DeleteRenderbuffers, (GLsizei n, const GLuint* ids))                                      \
  X(void, BindRenderbuffer, (GLenum target, GLuint id))                                             \
  X(void, RenderbufferStorage, (GLenum target, GLenum format, GLsizei w, GLsizei h))                \
  X(void, BlitFramebuffer, (GLint sx0, GLint sy0, GLint sx1, GLint sy1, GLint dx0, GLint dy0,       \
                            GLint dx1, GLint dy1, GLbitfield mask, GLenum filter))

struct GlFunctions {
#define KV_GL_POINTER(ret, name, params) ret(APIENTRY* name) params = nullptr;
  KV_GL_FUNCTIONS(KV_GL_POINTER)
#undef KV_GL_POINTER
};

// The loaded entry points; all null until LoadGlFunctions succeeds.
extern GlFunctions gl;

// Loads every entry point of the list from the current context; false when one is missing.
bool LoadGlFunctions();

}  // namespace kv::engine
