// KV_SHADER: a numbered set of GPU programs compiled by the engine, with one log text per program.
// A slot of type 12 holds a vertex and a fragment program bound side by side and fed by numbered
// local parameters; type 13 holds one program linked from a vertex and a fragment shader and fed
// by named uniforms and attributes. The set owns the engine objects of its slots until Destroy.
#pragma once

#include <cstdint>

#include "engine/kv_engine.h"
#include "engine/kv_array.h"
#include "foundation/string.h"
#include "foundation/vector.h"

// One program slot: type 0 (empty), 12 (program pair) or 13 (linked program), and its objects.
struct KV_ITERATOR_TRIPLE {
  uint32_t type = 0;
  KV_HANDLE vertex;    // type 12: the vertex program; type 13: the vertex shader until linked
  KV_HANDLE fragment;  // type 12: the fragment program; type 13: the fragment shader until linked
  KV_HANDLE program;   // type 13: the linked program
};

class KV_SHADER {
 public:
  KV_ARRAY<KV_ITERATOR_TRIPLE> programs;  // the program slots, indexed from 0
  KV_ARRAY<KV_STRING> logs;               // one log text per slot, same index

  // The engine's KvShaderInit: 1 when programs can be made.
  static uint8_t Init();
  // The engine's KvShaderModel: the program types available, as bits (1 type 12, 2 type 13).
  static uint8_t Model();

  // The number of slots.
  int32_t GetCount() const;
  // Loads a program of type 12 or 13 from two source files into slot index (growing the set);
  // false for another type or a negative index. Compile and link failures go to the slot's log.
  bool Load(int32_t index, uint32_t type, const char* vertexPath, const char* fragmentPath);
  // The same with the two sources as texts.
  bool LoadFromMemory(int32_t index, uint32_t type, const char* vertexSource,
                      const char* fragmentSource);
  // Destroys every program and empties the set.
  void Destroy();
  // out := the slot's log; empty for an index outside the set.
  void GetLog(int32_t index, KV_STRING& out) const;

  // Binds the slot's program(s); false for an index outside the set or an empty slot.
  bool Activate(int32_t index);
  // Unbinds every kind of program, whatever is bound.
  static void Unactivate();
  // Sets a float value on the bound program of the type: type 13 uniform location with n
  // components; type 12 local parameter location, n bit 0 sparing the vertex program and bit 1
  // the fragment program. False for another type.
  static bool Uniform(uint32_t type, int32_t location, KV_VECTOR value, uint32_t n);
  // The same with four integers (floats for type 12); false for another type or null values.
  static bool UniformInteger(uint32_t type, int32_t location, const int32_t* values, uint32_t n);
  // Sets a 4 x 4 float matrix uniform of the bound linked program; true.
  static bool UniformMatrix(int32_t location, const void* matrix, uint8_t transpose);
  // Points a sampler uniform of the bound linked program at a texture unit; true.
  static bool UniformSampler(int32_t location, int32_t unit);
  // Sets the constant value of a vertex attribute with n components; true.
  static bool Attribute(int32_t location, float x, float y, float z, float w, uint32_t n);
  // The location of a uniform / an attribute in the slot's linked program; -1 for an index
  // outside the set, a slot of another type or an unknown name.
  int32_t UniformLocation(int32_t index, const char* name) const;
  int32_t AttributeLocation(int32_t index, const char* name) const;

 private:
  typedef uint8_t (*SourceLoader)(KV_HANDLE, uint32_t, const char*);
  bool LoadWith(SourceLoader load, int32_t index, uint32_t type, const char* vertex,
                const char* fragment);
  const KV_ITERATOR_TRIPLE* LinkedSlot(int32_t index) const;
};
