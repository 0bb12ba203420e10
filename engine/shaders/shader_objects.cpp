// KvShaderCreate, KvShaderDestroy, the loads, KvShaderMakeProgram and KvShaderLastLog: making
// shader objects, compiling their sources and linking programs, with the log of the last attempt.
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/draw/batch.h"
#include "engine/gl/context.h"
#include "engine/numbers.h"
#include "engine/objects/object_table.h"
#include "engine/shaders/shader_api.h"
#include "engine/shaders/shaders.h"
#include "engine/textures/image_files.h"
#include "engine/trace/trace.h"

namespace kv::engine {

namespace {

ObjectTable<ShaderObject> shaders;
std::string lastLog;

// What was bound per kind: vertex program, fragment program, linked program.
const ShaderObject* boundVertexProgram = nullptr;
const ShaderObject* boundFragmentProgram = nullptr;
const ShaderObject* boundProgram = nullptr;

// Load kinds (KV_SHADER_VERTEX_PROGRAM to KV_SHADER_FRAGMENT) to the objects they make.
struct KindEntry {
  uint32_t number;
  ShaderKind kind;
};
constexpr KindEntry kKinds[] = {
    {KV_SHADER_VERTEX_PROGRAM, ShaderKind::VertexProgram},
    {KV_SHADER_FRAGMENT_PROGRAM, ShaderKind::FragmentProgram},
    {KV_SHADER_VERTEX, ShaderKind::VertexShader},
    {KV_SHADER_FRAGMENT, ShaderKind::FragmentShader},
};

bool LoadKind(uint32_t number, ShaderKind* out) {
  for (const KindEntry& entry : kKinds) {
    if (entry.number == number) {
      *out = entry.kind;
      return true;
    }
  }
  return false;
}

const ShaderObject** BoundSlot(ShaderKind kind) {
  switch (kind) {
    case ShaderKind::VertexProgram: return &boundVertexProgram;
    case ShaderKind::FragmentProgram: return &boundFragmentProgram;
    case ShaderKind::Program: return &boundProgram;
    default: return nullptr;
  }
}

GLenum ArbTarget(ShaderKind kind) {
  return kind == ShaderKind::VertexProgram ? GL_VERTEX_PROGRAM_ARB : GL_FRAGMENT_PROGRAM_ARB;
}

uint8_t Fail(std::string reason) {
  // An empty log means success to the caller, so a failure always says something.
  if (reason.empty()) reason = "failed without a message";
  SetLastLog(std::move(reason));
  return 0;
}

// A GL info log without its trailing line ends.
std::string InfoLog(GLuint id, bool program) {
  GLint size = 0;
  program ? gl.GetProgramiv(id, GL_INFO_LOG_LENGTH, &size)
          : gl.GetShaderiv(id, GL_INFO_LOG_LENGTH, &size);
  if (size <= 0) return std::string();
  std::vector<GLchar> text(static_cast<size_t>(size) + 1, 0);
  GLsizei length = 0;
  program ? gl.GetProgramInfoLog(id, size, &length, text.data())
          : gl.GetShaderInfoLog(id, size, &length, text.data());
  std::string log(text.data(), static_cast<size_t>(std::max<GLsizei>(length, 0)));
  while (!log.empty() && (log.back() == '\n' || log.back() == '\r' || log.back() == '\0'))
    log.pop_back();
  return log;
}

bool CompileGlsl(ShaderObject& object, ShaderKind kind, const char* source) {
  object.id =
      gl.CreateShader(kind == ShaderKind::VertexShader ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER);
  if (object.id == 0) return Fail("the driver made no shader object");
  object.kind = kind;
  gl.ShaderSource(object.id, 1, &source, nullptr);
  gl.CompileShader(object.id);
  GLint compiled = GL_FALSE;
  gl.GetShaderiv(object.id, GL_COMPILE_STATUS, &compiled);
  if (compiled != GL_TRUE) return Fail(InfoLog(object.id, false));
  object.ready = true;
  return true;
}

// Loading a program string binds it; the program bound before is bound again afterwards.
bool LoadArb(ShaderObject& object, ShaderKind kind, const char* source) {
  if (!HasProgramPairs()) return Fail("vertex and fragment programs are not available");
  gl.GenProgramsARB(1, &object.id);
  if (object.id == 0) return Fail("the driver made no program object");
  object.kind = kind;
  GLenum target = ArbTarget(kind);
  while (gl.GetError() != GL_NO_ERROR) {}
  gl.BindProgramARB(target, object.id);
  gl.ProgramStringARB(target, GL_PROGRAM_FORMAT_ASCII_ARB,
                      static_cast<GLsizei>(std::strlen(source)), source);
  GLint errorPosition = -1;
  gl.GetIntegerv(GL_PROGRAM_ERROR_POSITION_ARB, &errorPosition);
  bool failed = gl.GetError() != GL_NO_ERROR || errorPosition != -1;
  std::string message;
  if (failed) {
    const char* text = reinterpret_cast<const char*>(gl.GetString(GL_PROGRAM_ERROR_STRING_ARB));
    message = "error at character " + std::to_string(errorPosition) + ": " +
              (text != nullptr ? text : "");
  }
  const ShaderObject* before = *BoundSlot(kind);
  gl.BindProgramARB(target, before != nullptr ? before->id : 0);
  if (failed) return Fail(message);
  object.ready = true;
  return true;
}

uint8_t LoadSource(KV_HANDLE handle, uint32_t number, const char* source) {
  ShaderObject* object = shaders.Find(handle);
  ShaderKind kind;
  if (object == nullptr) return Fail("unknown shader object");
  if (!LoadKind(number, &kind)) return Fail("unknown shader kind " + std::to_string(number));
  if (source == nullptr) return Fail("no source text");
  if (!EnsureCurrent()) return Fail("no GL context");
  ReleaseShader(*object);
  bool loaded = kind == ShaderKind::VertexProgram || kind == ShaderKind::FragmentProgram
                    ? LoadArb(*object, kind, source)
                    : CompileGlsl(*object, kind, source);
  if (loaded) SetLastLog(std::string());
  return loaded ? 1 : 0;
}

}  // namespace

ShaderObject* FindShader(KV_HANDLE handle) { return shaders.Find(handle); }
size_t ShaderCount() { return shaders.Count(); }
void SetLastLog(std::string text) { lastLog = std::move(text); }

const ShaderObject* BoundOf(ShaderKind kind) {
  const ShaderObject** slot = BoundSlot(kind);
  return slot != nullptr ? *slot : nullptr;
}

bool IsBound(const ShaderObject& object) {
  const ShaderObject** slot = BoundSlot(object.kind);
  return slot != nullptr && *slot == &object;
}

void NoteBound(ShaderKind kind, const ShaderObject* object) {
  const ShaderObject** slot = BoundSlot(kind);
  if (slot != nullptr) *slot = object;
  batch::SetDirectMode(boundVertexProgram != nullptr || boundFragmentProgram != nullptr ||
                       boundProgram != nullptr);
}

void ReleaseShader(ShaderObject& object) {
  if (object.id != 0 && EnsureCurrent()) {
    switch (object.kind) {
      case ShaderKind::VertexProgram:
      case ShaderKind::FragmentProgram:
        if (IsBound(object)) {
          batch::Flush();
          gl.Disable(ArbTarget(object.kind));
          gl.BindProgramARB(ArbTarget(object.kind), 0);
        }
        gl.DeleteProgramsARB(1, &object.id);
        break;
      case ShaderKind::VertexShader:
      case ShaderKind::FragmentShader: gl.DeleteShader(object.id); break;
      case ShaderKind::Program:
        if (IsBound(object)) {
          batch::Flush();
          gl.UseProgram(0);
        }
        gl.DeleteProgram(object.id);
        break;
      case ShaderKind::None: break;
    }
  }
  if (IsBound(object)) NoteBound(object.kind, nullptr);
  object = ShaderObject{};
}

void DestroyAllShaders() {
  shaders.ForEach([](uint32_t, ShaderObject& object) { ReleaseShader(object); });
  shaders.Clear();
  boundVertexProgram = boundFragmentProgram = boundProgram = nullptr;
  batch::SetDirectMode(false);
  lastLog.clear();
}

}  // namespace kv::engine

using namespace kv::engine;

extern "C" uint8_t KvShaderCreate(KV_HANDLE* out) {
  if (trace::Call("KvShaderCreate", out)) return 0;
  if (out == nullptr) return 0;
  *out = KV_HANDLE{};
  if (!EnsureContext()) return 0;
  *out = shaders.Add(std::make_unique<ShaderObject>());
  return 1;
}

extern "C" void KvShaderDestroy(KV_HANDLE shader) {
  if (trace::Call("KvShaderDestroy", shader)) return;
  std::unique_ptr<ShaderObject> object = shaders.Remove(shader);
  if (object != nullptr) ReleaseShader(*object);
}

extern "C" uint8_t KvShaderLoad(KV_HANDLE shader, uint32_t kind, const char* path) {
  if (trace::Call("KvShaderLoad", shader, kind, path)) return 0;
  std::vector<uint8_t> file;
  if (path == nullptr || !ReadWholeFile(path, &file)) {
    return Fail(std::string("cannot read the file ") + (path != nullptr ? path : "(none)"));
  }
  // The source ends at the file's end (or at a zero byte inside it).
  std::string source(file.begin(), file.end());
  return LoadSource(shader, kind, source.c_str());
}

extern "C" uint8_t KvShaderLoadFromMemory(KV_HANDLE shader, uint32_t kind, const char* source) {
  if (trace::Call("KvShaderLoadFromMemory", shader, kind, source)) return 0;
  return LoadSource(shader, kind, source);
}

extern "C" const char* KvShaderLastLog(void) {
  if (trace::Call("KvShaderLastLog")) return "";
  return lastLog.c_str();
}

// The shaders are attached for the link only: destroying them afterwards frees them at once,
// and a relink of the same program starts from no shaders.
extern "C" uint8_t KvShaderMakeProgram(KV_HANDLE program, const KV_HANDLE* shaderHandles,
                                       uint32_t count) {
  if (trace::Call("KvShaderMakeProgram", program, shaderHandles, count)) return 0;
  ShaderObject* object = shaders.Find(program);
  if (object == nullptr) return Fail("unknown program object");
  if (shaderHandles == nullptr || count == 0) return Fail("no shaders to link");
  std::vector<const ShaderObject*> parts;
  for (uint32_t i = 0; i < count; ++i) {
    const ShaderObject* part = shaders.Find(shaderHandles[i]);
    if (part == nullptr || part == object ||
        (part->kind != ShaderKind::VertexShader && part->kind != ShaderKind::FragmentShader)) {
      return Fail("shader " + std::to_string(i) + " is not a vertex or fragment shader");
    }
    if (!part->ready) return Fail("shader " + std::to_string(i) + " did not compile");
    parts.push_back(part);
  }
  if (!EnsureCurrent()) return Fail("no GL context");
  if (object->kind != ShaderKind::Program) {
    ReleaseShader(*object);
    object->id = gl.CreateProgram();
    if (object->id == 0) return Fail("the driver made no program object");
    object->kind = ShaderKind::Program;
  } else if (IsBound(*object)) {
    batch::Flush();
  }
  for (const ShaderObject* part : parts) gl.AttachShader(object->id, part->id);
  gl.LinkProgram(object->id);
  for (const ShaderObject* part : parts) gl.DetachShader(object->id, part->id);
  GLint linked = GL_FALSE;
  gl.GetProgramiv(object->id, GL_LINK_STATUS, &linked);
  object->ready = linked == GL_TRUE;
  if (!object->ready) {
    // GL keeps a bound program that failed to relink in use with its old code; it is unbound so
    // that nothing draws with a program the caller was told failed.
    if (IsBound(*object)) {
      gl.UseProgram(0);
      NoteBound(ShaderKind::Program, nullptr);
    }
    return Fail(InfoLog(object->id, true));
  }
  SetLastLog(std::string());
  return 1;
}
