// The engine's shader objects: one table of GL shaders, linked programs and ARB programs behind
// KvShader* handles, and which of them GL has bound. An object's kind is fixed by its first load
// or link and may change with a later one.
#pragma once

#include <cstddef>
#include <string>

#include "engine/gl/gl_functions.h"
#include "engine/kv_engine.h"

namespace kv::engine {

enum class ShaderKind {
  None,
  VertexProgram,
  FragmentProgram,
  VertexShader,
  FragmentShader,
  Program
};

struct ShaderObject {
  ShaderKind kind = ShaderKind::None;
  GLuint id = 0;
  bool ready = false;  // compiled, loaded or linked without error
};

// The object a handle names, or null.
ShaderObject* FindShader(KV_HANDLE handle);
// Releases the object's GL name, unbinding it first, and makes it kind None.
void ReleaseShader(ShaderObject& object);
// Records the object as bound (or, with null, nothing bound for the kind) and sets the batch's
// direct mode to whether any program is bound now.
void NoteBound(ShaderKind kind, const ShaderObject* object);
// What is bound for the kind (vertex program, fragment program, linked program), or null.
const ShaderObject* BoundOf(ShaderKind kind);
// True when object is what GL has bound for its kind.
bool IsBound(const ShaderObject& object);
// The text KvShaderLastLog returns.
void SetLastLog(std::string text);
// Destroys every shader object (at closure).
void DestroyAllShaders();
// Number of live shader objects.
size_t ShaderCount();

}  // namespace kv::engine
