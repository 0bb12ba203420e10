// The records that exist only while KV_MODEL::Load reads an OBJ file: the position, texture
// coordinate and normal tables, the materials read from MTL libraries, the face groups by
// material, and the textures the libraries created. Used by the OBJ reader (model_obj.cpp) and
// the MTL reader (model_mtl.cpp) only.
#pragma once

#include <cstdint>

#include "engine/kv_engine.h"
#include "engine/kv_array.h"
#include "foundation/dictionary.h"
#include "foundation/list.h"
#include "foundation/string.h"
#include "foundation/vector.h"

class KV_MODEL;

namespace kv::model {

// A table that grows by one element at a time. Its block doubles when full, so reading n lines
// costs O(n) copies; an index at or beyond the used count gives the fallback element.
template <class T>
struct GROWING {
  KV_ARRAY<T> block;
  unsigned int used = 0;

  // Appends a default element (a KV_VECTOR starts as (0, 0, 0, 1)) and returns it.
  T& Append() {
    if (used == block.Size()) block.ResizeKeep(used < 64 ? 64 : used * 2);
    T* element = block.Get(used++);
    *element = T();
    return *element;
  }
  // Element i, or the fallback when i is not below the used count.
  const T& At(unsigned int i) const { return i < used ? *block.Get(i) : block.fallback; }
  void Free() {
    block.Free();
    used = 0;
  }
};

// A material: its diffuse texture (null until a map_Kd line loads one) and its diffuse colour.
struct MATERIAL {
  KV_HANDLE texture;
  KV_VECTOR color{0, 0, 0, 1};
};

// The faces of one material: the texture the group will bind and one vertex per face corner.
struct FACE_GROUP {
  KV_HANDLE texture;
  GROWING<KV_VERTEX> vertices;
};

struct READER {
  const char* directory = "";
  int32_t minFilter = 0;
  int32_t magFilter = 0;
  GROWING<KV_VECTOR> positions;
  GROWING<KV_VECTOR> texCoords;
  GROWING<KV_VECTOR> normals;
  KV_DICTIONARY<MATERIAL> materials;
  KV_DICTIONARY<FACE_GROUP> faceGroups;
  KV_LIST<KV_HANDLE> createdTextures;  // every texture the libraries created, to release the unused
  MATERIAL* material = nullptr;        // the current material; none at the start
  FACE_GROUP* faceGroup = nullptr;     // the current face group; none at the start
};

// "directory/name", with "\" in name read as "/" when the file is opened.
KV_STRING JoinPath(const char* directory, const char* name);
// Reads the MTL library at path into the reader's materials; false when it cannot be read.
bool ReadMaterialLibrary(READER& reader, const char* path);
// Splits the file at path into its non-empty lines; null (count 0) when it cannot be read.
KV_STRING* ReadLines(const char* path, unsigned int& count);

}  // namespace kv::model
