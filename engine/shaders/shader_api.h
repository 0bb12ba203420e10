// Shader programs: the KvShader* calls. An object made by KvShaderCreate takes its kind from its
// first use: KV_SHADER_VERTEX_PROGRAM an assembly-style vertex program and
// KV_SHADER_FRAGMENT_PROGRAM a fragment program (GL_ARB_vertex_program and GL_ARB_fragment_program
// text, fed by numbered local parameters), KV_SHADER_VERTEX a GLSL vertex shader and
// KV_SHADER_FRAGMENT a GLSL fragment shader, or a linked GLSL program once KvShaderMakeProgram
// links shaders into it. Binding a program flushes the batch; while one is bound, each draw reaches
// GL on its own with the real model-view matrix loaded.
#pragma once

#include <cstdint>

#include "engine/kv_engine.h"

extern "C" {

// Starts the GL context when needed; 1 when shader programs can be made, 0 without GL.
uint8_t KvShaderInit(void);
// The program kinds this GL offers, as bits: 1 vertex/fragment program pairs
// (KV_SHADER_VERTEX_PROGRAM, KV_SHADER_FRAGMENT_PROGRAM), 2 GLSL shaders and programs
// (KV_SHADER_VERTEX, KV_SHADER_FRAGMENT, KV_SHADER_PROGRAM); 0 without GL.
uint8_t KvShaderModel(void);
// Fills *out with a new object of no kind yet; leaves it null and returns 0 without GL.
uint8_t KvShaderCreate(KV_HANDLE* out);
// Destroys the object (unbinding it first when bound); null and unknown handles do nothing. A
// linked program lives on when its shaders are destroyed.
void KvShaderDestroy(KV_HANDLE shader);
// Compiles the text file at path as kind KV_SHADER_VERTEX_PROGRAM to KV_SHADER_FRAGMENT into
// the object (replacing what it held).
// 1 on success; 0 with the reason in KvShaderLastLog on failure.
uint8_t KvShaderLoad(KV_HANDLE shader, uint32_t kind, const char* path);
// The same with the zero-terminated source text itself.
uint8_t KvShaderLoadFromMemory(KV_HANDLE shader, uint32_t kind, const char* source);
// The log of the last load or link: empty after a success, the compiler's or linker's text (or the
// engine's reason) after a failure. Never null; valid until the next load or link.
const char* KvShaderLastLog(void);
// Links count GLSL shaders (KV_SHADER_VERTEX, KV_SHADER_FRAGMENT) into program. 1 on success; 0
// with the log on failure.
uint8_t KvShaderMakeProgram(KV_HANDLE program, const KV_HANDLE* shaders, uint32_t count);
// Binds a loaded vertex or fragment program, or a linked program; 0 for anything else.
uint8_t KvShaderActivate(KV_HANDLE shader);
// Unbinds whatever is bound of kind KV_SHADER_VERTEX_PROGRAM, KV_SHADER_FRAGMENT_PROGRAM or
// KV_SHADER_PROGRAM; 0 for another kind.
uint8_t KvShaderUnactivate(uint32_t kind);
// Sets local parameter index of the bound program of kind KV_SHADER_VERTEX_PROGRAM or
// KV_SHADER_FRAGMENT_PROGRAM; 0 when none is bound.
uint8_t KvShaderLocalParam(uint32_t kind, uint32_t index, float x, float y, float z, float w);
// Sets the first n (1 to 4) components of a float uniform of the bound linked program.
uint8_t KvShaderUniform(int32_t location, float x, float y, float z, float w, uint32_t n);
// Sets an integer uniform (or sampler) of n (1 to 4) components from values.
uint8_t KvShaderUniformInteger(int32_t location, const int32_t* values, uint32_t n);
// Sets a 4 x 4 float uniform from 16 floats (column-major, or row-major with transpose set).
uint8_t KvShaderUniformMatrix(int32_t location, const void* matrix, uint8_t transpose);
// Sets the constant value of generic vertex attribute location to n (1 to 4) components.
uint8_t KvShaderAttribute(int32_t location, float x, float y, float z, float w, uint32_t n);
// The location of a uniform / an attribute of a linked program; -1 when it has none by that name.
int32_t KvShaderUniformLocation(KV_HANDLE program, const char* name);
int32_t KvShaderAttributeLocation(KV_HANDLE program, const char* name);

}  // extern "C"
