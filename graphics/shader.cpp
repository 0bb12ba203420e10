// KV_SHADER: loading program slots through the engine, their logs, and feeding bound programs.
#include "graphics/shader.h"

namespace {

constexpr uint32_t kPairType = 12;
constexpr uint32_t kLinkedType = 13;

// Appends the step's success line, or its failure line with the engine's log.
void LogStep(KV_STRING& log, const char* step) {
  const char* engineLog = KvShaderLastLog();
  log += step;
  if (engineLog != nullptr && engineLog[0] != '\0') {
    log += ": Failed! ";
    log += engineLog;
    log += "\r\n";
  } else {
    log += ": Successful!\r\n";
  }
}

// Destroys the engine objects a slot holds and makes it empty.
void DestroySlot(KV_ITERATOR_TRIPLE& slot) {
  if (slot.type == kPairType) {
    KvShaderDestroy(slot.vertex);
    KvShaderDestroy(slot.fragment);
  } else if (slot.type == kLinkedType) {
    KvShaderDestroy(slot.program);
  }
  slot = KV_ITERATOR_TRIPLE{};
}

// A local parameter for either program of a pair, unless n's bits spare it.
void LocalParam(int32_t location, float x, float y, float z, float w, uint32_t n) {
  if ((n & 1) == 0)
    KvShaderLocalParam(KV_SHADER_VERTEX_PROGRAM, static_cast<uint32_t>(location), x, y, z, w);
  if ((n & 2) == 0)
    KvShaderLocalParam(KV_SHADER_FRAGMENT_PROGRAM, static_cast<uint32_t>(location), x, y, z, w);
}

}  // namespace

uint8_t KV_SHADER::Init() { return KvShaderInit(); }
uint8_t KV_SHADER::Model() { return KvShaderModel(); }

int32_t KV_SHADER::GetCount() const { return static_cast<int32_t>(programs.Size()); }

bool KV_SHADER::Load(int32_t index, uint32_t type, const char* vertexPath,
                     const char* fragmentPath) {
  return LoadWith(KvShaderLoad, index, type, vertexPath, fragmentPath);
}

bool KV_SHADER::LoadFromMemory(int32_t index, uint32_t type, const char* vertexSource,
                               const char* fragmentSource) {
  return LoadWith(KvShaderLoadFromMemory, index, type, vertexSource, fragmentSource);
}

// A new slot starts with an empty log; a slot loaded again keeps its log and appends to it. Its
// old engine objects are destroyed first, so reloading a slot leaks nothing.
bool KV_SHADER::LoadWith(SourceLoader load, int32_t index, uint32_t type, const char* vertex,
                         const char* fragment) {
  if (index < 0 || (type != kPairType && type != kLinkedType)) return false;
  uint32_t at = static_cast<uint32_t>(index);
  if (at >= programs.Size()) {
    programs.ResizeKeep(at + 1);
    logs.ResizeKeep(at + 1);
    logs.Get(at)->Clear();
  }
  KV_ITERATOR_TRIPLE& slot = *programs.Get(at);
  KV_STRING& log = *logs.Get(at);
  DestroySlot(slot);
  slot.type = type;
  if (type == kPairType) {
    KvShaderCreate(&slot.vertex);
    KvShaderCreate(&slot.fragment);
    load(slot.vertex, KV_SHADER_VERTEX_PROGRAM, vertex);
    load(slot.fragment, KV_SHADER_FRAGMENT_PROGRAM, fragment);
    return true;
  }
  KvShaderCreate(&slot.program);
  KvShaderCreate(&slot.vertex);
  KvShaderCreate(&slot.fragment);
  load(slot.vertex, KV_SHADER_VERTEX, vertex);
  LogStep(log, "Load Vertex Shader");
  load(slot.fragment, KV_SHADER_FRAGMENT, fragment);
  LogStep(log, "Load Fragment Shader");
  const KV_HANDLE shaders[2] = {slot.vertex, slot.fragment};
  KvShaderMakeProgram(slot.program, shaders, 2);
  LogStep(log, "Make Shader Program");
  KvShaderDestroy(slot.vertex);
  KvShaderDestroy(slot.fragment);
  return true;
}

void KV_SHADER::Destroy() {
  for (uint32_t i = 0; i < programs.Size(); ++i) DestroySlot(*programs.Get(i));
  programs.Free();
  for (uint32_t i = 0; i < logs.Size(); ++i) logs.Get(i)->Clear();
  logs.Free();
}

void KV_SHADER::GetLog(int32_t index, KV_STRING& out) const {
  if (index < 0 || static_cast<uint32_t>(index) >= logs.Size()) {
    out.Clear();
    return;
  }
  out = *logs.Get(static_cast<uint32_t>(index));
}

bool KV_SHADER::Activate(int32_t index) {
  if (index < 0 || static_cast<uint32_t>(index) >= programs.Size()) return false;
  const KV_ITERATOR_TRIPLE& slot = *programs.Get(static_cast<uint32_t>(index));
  if (slot.type == kPairType) {
    KvShaderActivate(slot.vertex);
    KvShaderActivate(slot.fragment);
    return true;
  }
  if (slot.type == kLinkedType) {
    KvShaderActivate(slot.program);
    return true;
  }
  return false;
}

void KV_SHADER::Unactivate() {
  KvShaderUnactivate(KV_SHADER_VERTEX_PROGRAM);
  KvShaderUnactivate(KV_SHADER_FRAGMENT_PROGRAM);
  KvShaderUnactivate(KV_SHADER_PROGRAM);
}

bool KV_SHADER::Uniform(uint32_t type, int32_t location, KV_VECTOR value, uint32_t n) {
  if (type == kPairType) {
    LocalParam(location, value.x, value.y, value.z, value.w, n);
    return true;
  }
  if (type == kLinkedType) {
    KvShaderUniform(location, value.x, value.y, value.z, value.w, n);
    return true;
  }
  return false;
}

bool KV_SHADER::UniformInteger(uint32_t type, int32_t location, const int32_t* values, uint32_t n) {
  // The four values are read for a program pair, so a missing array is refused before.
  if (values == nullptr) return false;
  if (type == kPairType) {
    LocalParam(location, static_cast<float>(values[0]), static_cast<float>(values[1]),
               static_cast<float>(values[2]), static_cast<float>(values[3]), n);
    return true;
  }
  if (type == kLinkedType) {
    KvShaderUniformInteger(location, values, n);
    return true;
  }
  return false;
}

bool KV_SHADER::UniformMatrix(int32_t location, const void* matrix, uint8_t transpose) {
  KvShaderUniformMatrix(location, matrix, transpose);
  return true;
}

bool KV_SHADER::UniformSampler(int32_t location, int32_t unit) {
  KvShaderUniformInteger(location, &unit, 1);
  return true;
}

bool KV_SHADER::Attribute(int32_t location, float x, float y, float z, float w, uint32_t n) {
  KvShaderAttribute(location, x, y, z, w, n);
  return true;
}

const KV_ITERATOR_TRIPLE* KV_SHADER::LinkedSlot(int32_t index) const {
  if (index < 0 || static_cast<uint32_t>(index) >= programs.Size()) return nullptr;
  const KV_ITERATOR_TRIPLE* slot = programs.Get(static_cast<uint32_t>(index));
  return slot->type == kLinkedType ? slot : nullptr;
}

int32_t KV_SHADER::UniformLocation(int32_t index, const char* name) const {
  const KV_ITERATOR_TRIPLE* slot = LinkedSlot(index);
  return slot != nullptr ? KvShaderUniformLocation(slot->program, name) : -1;
}

int32_t KV_SHADER::AttributeLocation(int32_t index, const char* name) const {
  const KV_ITERATOR_TRIPLE* slot = LinkedSlot(index);
  return slot != nullptr ? KvShaderAttributeLocation(slot->program, name) : -1;
}
