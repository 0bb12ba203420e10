// The whole GL surface of the engine: every GL entry point it calls, in one list, loaded once
// through SDL after the first context is made current. Code calls them as gl.Clear(...), so a
// reader sees at a glance which GL the engine depends on. Needs OpenGL 2.1 with frame buffer
// objects (core in 3.0, or the ARB extension), in a compatibility context.
#pragma once

#include <SDL2/SDL_opengl.h>

namespace kv::engine {

// X(return type, name without the "gl" prefix, parameter list)
#define KV_GL_FUNCTIONS(X)                                                                         \
  X(const GLubyte*, GetString, (GLenum name))                                                      \
  X(GLenum, GetError, (void))                                                                      \
  X(void, GetIntegerv, (GLenum name, GLint * data))                                                \
  X(void, Enable, (GLenum cap))                                                                    \
  X(void, Disable, (GLenum cap))                                                                   \
  X(void, Viewport, (GLint x, GLint y, GLsizei w, GLsizei h))                                      \
  X(void, Scissor, (GLint x, GLint y, GLsizei w, GLsizei h))                                       \
  X(void, ClearColor, (GLfloat r, GLfloat g, GLfloat b, GLfloat a))                                \
  X(void, ClearDepth, (GLdouble depth))                                                            \
  X(void, ClearStencil, (GLint s))                                                                 \
  X(void, Clear, (GLbitfield mask))                                                                \
  X(void, ColorMask, (GLboolean r, GLboolean g, GLboolean b, GLboolean a))                         \
  X(void, BlendFunc, (GLenum src, GLenum dst))                                                     \
  X(void, BlendEquation, (GLenum mode))                                                            \
  X(void, PointSize, (GLfloat size))                                                               \
  X(void, TexEnvi, (GLenum target, GLenum name, GLint value))                                      \
  X(void, GenTextures, (GLsizei n, GLuint * textures))                                             \
  X(void, DeleteTextures, (GLsizei n, const GLuint* textures))                                     \
  X(void, BindTexture, (GLenum target, GLuint texture))                                            \
  X(void, TexImage2D,                                                                              \
    (GLenum target, GLint level, GLint internalFormat, GLsizei w, GLsizei h, GLint border,         \
     GLenum format, GLenum type, const void* pixels))                                              \
  X(void, TexParameteri, (GLenum target, GLenum name, GLint value))                                \
  X(void, GetTexImage, (GLenum target, GLint level, GLenum format, GLenum type, void* pixels))     \
  X(void, PixelStorei, (GLenum name, GLint value))                                                 \
  X(void, ReadPixels,                                                                              \
    (GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type, void* pixels))            \
  X(void, ActiveTexture, (GLenum unit))                                                            \
  X(void, ClientActiveTexture, (GLenum unit))                                                      \
  X(void, MatrixMode, (GLenum mode))                                                               \
  X(void, LoadMatrixd, (const GLdouble* m))                                                        \
  X(void, LoadIdentity, (void))                                                                    \
  X(void, EnableClientState, (GLenum array))                                                       \
  X(void, DisableClientState, (GLenum array))                                                      \
  X(void, VertexPointer, (GLint size, GLenum type, GLsizei stride, const void* pointer))           \
  X(void, ColorPointer, (GLint size, GLenum type, GLsizei stride, const void* pointer))            \
  X(void, TexCoordPointer, (GLint size, GLenum type, GLsizei stride, const void* pointer))         \
  X(void, DrawRangeElements,                                                                       \
    (GLenum mode, GLuint start, GLuint end, GLsizei count, GLenum type, const void* indices))      \
  X(void, Finish, (void))                                                                          \
  X(void, Flush, (void))                                                                           \
  X(void, GenFramebuffers, (GLsizei n, GLuint * ids))                                              \
  X(void, DeleteFramebuffers, (GLsizei n, const GLuint* ids))                                      \
  X(void, BindFramebuffer, (GLenum target, GLuint id))                                             \
  X(void, FramebufferRenderbuffer, (GLenum target, GLenum attachment, GLenum rbTarget, GLuint rb)) \
  X(GLenum, CheckFramebufferStatus, (GLenum target))                                               \
  X(void, GetFramebufferAttachmentParameteriv,                                                     \
    (GLenum target, GLenum attachment, GLenum name, GLint * value))                                \
  X(void, GenRenderbuffers, (GLsizei n, GLuint * ids))                                             \
  X(void, DeleteRenderbuffers, (GLsizei n, const GLuint* ids))                                     \
  X(void, BindRenderbuffer, (GLenum target, GLuint id))                                            \
  X(void, RenderbufferStorage, (GLenum target, GLenum format, GLsizei w, GLsizei h))               \
  X(void, BlitFramebuffer,                                                                         \
    (GLint sx0, GLint sy0, GLint sx1, GLint sy1, GLint dx0, GLint dy0, GLint dx1, GLint dy1,       \
     GLbitfield mask, GLenum filter))                                                              \
  X(void, FramebufferTexture2D,                                                                    \
    (GLenum target, GLenum attachment, GLenum texTarget, GLuint texture, GLint level))             \
  X(void, GenerateMipmap, (GLenum target))                                                         \
  X(void, NormalPointer, (GLenum type, GLsizei stride, const void* pointer))                       \
  X(void, Color4dv, (const GLdouble* v))                                                           \
  X(void, DrawArrays, (GLenum mode, GLint first, GLsizei count))                                   \
  X(void, DrawElements, (GLenum mode, GLsizei count, GLenum type, const void* indices))            \
  X(void, GenBuffers, (GLsizei n, GLuint * ids))                                                   \
  X(void, DeleteBuffers, (GLsizei n, const GLuint* ids))                                           \
  X(void, BindBuffer, (GLenum target, GLuint id))                                                  \
  X(void, BufferData, (GLenum target, GLsizeiptr size, const void* data, GLenum usage))            \
  X(void*, MapBuffer, (GLenum target, GLenum access))                                              \
  X(GLboolean, UnmapBuffer, (GLenum target))                                                       \
  X(GLuint, CreateShader, (GLenum kind))                                                           \
  X(void, ShaderSource,                                                                            \
    (GLuint shader, GLsizei count, const GLchar* const* text, const GLint* len))                   \
  X(void, CompileShader, (GLuint shader))                                                          \
  X(void, GetShaderiv, (GLuint shader, GLenum name, GLint * value))                                \
  X(void, GetShaderInfoLog, (GLuint shader, GLsizei size, GLsizei * length, GLchar * log))         \
  X(void, DeleteShader, (GLuint shader))                                                           \
  X(GLuint, CreateProgram, (void))                                                                 \
  X(void, AttachShader, (GLuint program, GLuint shader))                                           \
  X(void, DetachShader, (GLuint program, GLuint shader))                                           \
  X(void, LinkProgram, (GLuint program))                                                           \
  X(void, GetProgramiv, (GLuint program, GLenum name, GLint * value))                              \
  X(void, GetProgramInfoLog, (GLuint program, GLsizei size, GLsizei * length, GLchar * log))       \
  X(void, DeleteProgram, (GLuint program))                                                         \
  X(void, UseProgram, (GLuint program))                                                            \
  X(GLint, GetUniformLocation, (GLuint program, const GLchar* name))                               \
  X(GLint, GetAttribLocation, (GLuint program, const GLchar* name))                                \
  X(void, Uniform1fv, (GLint location, GLsizei count, const GLfloat* v))                           \
  X(void, Uniform2fv, (GLint location, GLsizei count, const GLfloat* v))                           \
  X(void, Uniform3fv, (GLint location, GLsizei count, const GLfloat* v))                           \
  X(void, Uniform4fv, (GLint location, GLsizei count, const GLfloat* v))                           \
  X(void, Uniform1iv, (GLint location, GLsizei count, const GLint* v))                             \
  X(void, Uniform2iv, (GLint location, GLsizei count, const GLint* v))                             \
  X(void, Uniform3iv, (GLint location, GLsizei count, const GLint* v))                             \
  X(void, Uniform4iv, (GLint location, GLsizei count, const GLint* v))                             \
  X(void, UniformMatrix4fv,                                                                        \
    (GLint location, GLsizei count, GLboolean transpose, const GLfloat* m))                        \
  X(void, VertexAttrib1fv, (GLuint index, const GLfloat* v))                                       \
  X(void, VertexAttrib2fv, (GLuint index, const GLfloat* v))                                       \
  X(void, VertexAttrib3fv, (GLuint index, const GLfloat* v))                                       \
  X(void, VertexAttrib4fv, (GLuint index, const GLfloat* v))

// Entry points the engine can do without: the assembly-style vertex and fragment programs of the
// ARB extensions. Missing ones stay null, and the calls that need them report failure.
#define KV_GL_OPTIONAL_FUNCTIONS(X)                                                           \
  X(void, GenProgramsARB, (GLsizei n, GLuint * ids))                                          \
  X(void, DeleteProgramsARB, (GLsizei n, const GLuint* ids))                                  \
  X(void, BindProgramARB, (GLenum target, GLuint id))                                         \
  X(void, ProgramStringARB, (GLenum target, GLenum format, GLsizei length, const void* text)) \
  X(void, ProgramLocalParameter4fARB,                                                         \
    (GLenum target, GLuint index, GLfloat x, GLfloat y, GLfloat z, GLfloat w))

struct GlFunctions {
#define KV_GL_POINTER(ret, name, params) ret(APIENTRY* name) params = nullptr;
  KV_GL_FUNCTIONS(KV_GL_POINTER)
  KV_GL_OPTIONAL_FUNCTIONS(KV_GL_POINTER)
#undef KV_GL_POINTER
};

// The loaded entry points; all null until LoadGlFunctions succeeds.
extern GlFunctions gl;

// Loads every entry point of the lists from the current context; false when a required one is
// missing (optional ones may stay null).
bool LoadGlFunctions();
// True when the optional ARB vertex and fragment program entry points were all found.
bool HasProgramPairs();

}  // namespace kv::engine
