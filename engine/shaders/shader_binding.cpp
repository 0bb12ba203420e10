// KvShaderInit, KvShaderModel, binding and unbinding programs, and feeding the bound ones: local
// parameters of the vertex and fragment programs, uniforms and attributes of the linked program.
#include "engine/draw/batch.h"
#include "engine/gl/context.h"
#include "engine/numbers.h"
#include "engine/shaders/shader_api.h"
#include "engine/shaders/shaders.h"
#include "engine/trace/trace.h"

namespace kv::engine {

namespace {

// Kinds of KvShaderUnactivate and KvShaderLocalParam to what they act on.
struct BindEntry {
  uint32_t number;
  ShaderKind kind;
  GLenum arbTarget;  // 0 for the linked program
};
constexpr BindEntry kBindKinds[] = {
    {KV_SHADER_VERTEX_PROGRAM, ShaderKind::VertexProgram, GL_VERTEX_PROGRAM_ARB},
    {KV_SHADER_FRAGMENT_PROGRAM, ShaderKind::FragmentProgram, GL_FRAGMENT_PROGRAM_ARB},
    {KV_SHADER_PROGRAM, ShaderKind::Program, 0},
};

const BindEntry* FindBindKind(uint32_t number) {
  for (const BindEntry& entry : kBindKinds) {
    if (entry.number == number) return &entry;
  }
  return nullptr;
}

const BindEntry* EntryOf(ShaderKind kind) {
  for (const BindEntry& entry : kBindKinds) {
    if (entry.kind == kind) return &entry;
  }
  return nullptr;
}

// Uniforms act on GL's current linked program: there must be one, and a location.
bool ProgramInUse(int32_t location) {
  if (location < 0 || !EnsureCurrent()) return false;
  GLint current = 0;
  gl.GetIntegerv(GL_CURRENT_PROGRAM, &current);
  return current != 0;
}

bool ValidCount(uint32_t n) { return n >= 1 && n <= 4; }

// GL refuses a value whose type or size does not match the uniform; its error says so.
void ClearErrors() {
  while (gl.GetError() != GL_NO_ERROR) {}
}
uint8_t Accepted() { return gl.GetError() == GL_NO_ERROR ? 1 : 0; }

}  // namespace

}  // namespace kv::engine

using namespace kv::engine;

extern "C" uint8_t KvShaderInit(void) {
  if (trace::Call("KvShaderInit")) return 0;
  return EnsureContext() ? 1 : 0;
}

extern "C" uint8_t KvShaderModel(void) {
  if (trace::Call("KvShaderModel")) return 0;
  if (!EnsureContext()) return 0;
  return static_cast<uint8_t>((HasProgramPairs() ? 1 : 0) | 2);
}

extern "C" uint8_t KvShaderActivate(KV_HANDLE shader) {
  if (trace::Call("KvShaderActivate", shader)) return 0;
  ShaderObject* object = FindShader(shader);
  if (object == nullptr || !object->ready || !EnsureCurrent()) return 0;
  const BindEntry* entry = EntryOf(object->kind);
  if (entry == nullptr) return 0;  // a lone GLSL shader cannot be bound
  // What waits in the batch was meant to be drawn without this program.
  batch::Flush();
  if (entry->arbTarget != 0) {
    gl.BindProgramARB(entry->arbTarget, object->id);
    gl.Enable(entry->arbTarget);
  } else {
    gl.UseProgram(object->id);
  }
  NoteBound(object->kind, object);
  return 1;
}

extern "C" uint8_t KvShaderUnactivate(uint32_t kind) {
  if (trace::Call("KvShaderUnactivate", kind)) return 0;
  const BindEntry* entry = FindBindKind(kind);
  if (entry == nullptr) return 0;
  if (!EnsureCurrent()) return 1;
  batch::Flush();
  if (entry->arbTarget != 0) {
    if (HasProgramPairs()) {
      gl.Disable(entry->arbTarget);
      gl.BindProgramARB(entry->arbTarget, 0);
    }
  } else {
    gl.UseProgram(0);
  }
  NoteBound(entry->kind, nullptr);
  return 1;
}

extern "C" uint8_t KvShaderLocalParam(uint32_t kind, uint32_t index, float x, float y, float z,
                                      float w) {
  if (trace::Call("KvShaderLocalParam", kind, index, x, y, z, w)) return 0;
  const BindEntry* entry = FindBindKind(kind);
  if (entry == nullptr || entry->arbTarget == 0 || !HasProgramPairs() || !EnsureCurrent()) return 0;
  // The parameter belongs to the program bound for the kind; with none bound it would land on
  // the default program object, so it is refused.
  if (BoundOf(entry->kind) == nullptr) return 0;
  ClearErrors();
  gl.ProgramLocalParameter4fARB(entry->arbTarget, index, x, y, z, w);
  // An index beyond the program's parameters is refused by GL.
  return Accepted();
}

extern "C" uint8_t KvShaderUniform(int32_t location, float x, float y, float z, float w,
                                   uint32_t n) {
  if (trace::Call("KvShaderUniform", location, x, y, z, w, n)) return 0;
  if (!ValidCount(n) || !ProgramInUse(location)) return 0;
  const GLfloat v[4] = {x, y, z, w};
  ClearErrors();
  switch (n) {
    case 1: gl.Uniform1fv(location, 1, v); break;
    case 2: gl.Uniform2fv(location, 1, v); break;
    case 3: gl.Uniform3fv(location, 1, v); break;
    default: gl.Uniform4fv(location, 1, v); break;
  }
  return Accepted();
}

extern "C" uint8_t KvShaderUniformInteger(int32_t location, const int32_t* values, uint32_t n) {
  if (trace::Call("KvShaderUniformInteger", location, values, n)) return 0;
  if (values == nullptr || !ValidCount(n) || !ProgramInUse(location)) return 0;
  ClearErrors();
  switch (n) {
    case 1: gl.Uniform1iv(location, 1, values); break;
    case 2: gl.Uniform2iv(location, 1, values); break;
    case 3: gl.Uniform3iv(location, 1, values); break;
    default: gl.Uniform4iv(location, 1, values); break;
  }
  return Accepted();
}

extern "C" uint8_t KvShaderUniformMatrix(int32_t location, const void* matrix, uint8_t transpose) {
  if (trace::Call("KvShaderUniformMatrix", location, matrix, transpose)) return 0;
  if (matrix == nullptr || !ProgramInUse(location)) return 0;
  ClearErrors();
  gl.UniformMatrix4fv(location, 1, transpose != 0 ? GL_TRUE : GL_FALSE,
                      static_cast<const GLfloat*>(matrix));
  return Accepted();
}

extern "C" uint8_t KvShaderAttribute(int32_t location, float x, float y, float z, float w,
                                     uint32_t n) {
  if (trace::Call("KvShaderAttribute", location, x, y, z, w, n)) return 0;
  if (!ValidCount(n) || location < 0 || !EnsureCurrent()) return 0;
  GLint maxAttributes = 0;
  gl.GetIntegerv(GL_MAX_VERTEX_ATTRIBS, &maxAttributes);
  if (location >= maxAttributes) return 0;
  // The value holds for every vertex drawn after it, so the waiting ones go first.
  batch::Flush();
  const GLfloat v[4] = {x, y, z, w};
  switch (n) {
    case 1: gl.VertexAttrib1fv(static_cast<GLuint>(location), v); break;
    case 2: gl.VertexAttrib2fv(static_cast<GLuint>(location), v); break;
    case 3: gl.VertexAttrib3fv(static_cast<GLuint>(location), v); break;
    default: gl.VertexAttrib4fv(static_cast<GLuint>(location), v); break;
  }
  return 1;
}

extern "C" int32_t KvShaderUniformLocation(KV_HANDLE program, const char* name) {
  if (trace::Call("KvShaderUniformLocation", program, name)) return -1;
  ShaderObject* object = FindShader(program);
  if (object == nullptr || object->kind != ShaderKind::Program || !object->ready ||
      name == nullptr || !EnsureCurrent()) {
    return -1;
  }
  return gl.GetUniformLocation(object->id, name);
}

extern "C" int32_t KvShaderAttributeLocation(KV_HANDLE program, const char* name) {
  if (trace::Call("KvShaderAttributeLocation", program, name)) return -1;
  ShaderObject* object = FindShader(program);
  if (object == nullptr || object->kind != ShaderKind::Program || !object->ready ||
      name == nullptr || !EnsureCurrent()) {
    return -1;
  }
  return gl.GetAttribLocation(object->id, name);
}
