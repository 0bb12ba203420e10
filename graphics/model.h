// KV_MODEL: a static 3D model read from an OBJ file and its MTL material libraries: triangles
// grouped by material, each group one mesh with the textures bound when it is drawn, drawn with
// a translation, three rotations and a scale. The model owns its group list and the meshes'
// arrays; hardware meshes and (once SetLoaded was called) the group textures are released only by
// Free, never by the destructor.
#pragma once

#include <cstdint>

#include "engine/kv_engine.h"
#include "engine/kv_array.h"
#include "foundation/list.h"
#include "foundation/rotation.h"
#include "foundation/vector.h"
#include "graphics/vertex_buffer.h"

// One material group: its textures (the reader puts exactly one, the material's, possibly null)
// and its triangles, one vertex per face corner, drawn as triangles without indices.
struct KV_MODEL_GROUP {
  KV_ARRAY<KV_HANDLE> textures;  // bound to units last to first when the group is drawn
  KV_VERTEXBUFFER mesh;          // the group's triangles
};

class KV_MODEL {
 public:
  uint8_t loaded = 0;  // set only by SetLoaded; when set, Free also destroys the textures
  KV_LIST<KV_MODEL_GROUP> groups;  // one group per material used, in the order of first use

  // Reads the OBJ file at path and appends one group per material its faces use. Material libraries
  // and textures are looked up as "directory/name"; every texture gets the two filter numbers
  // (KV_FILTER_NEAREST, KV_FILTER_LINEAR); usageFlags and software go to each mesh's Create. Lines
  // it does not understand, unknown materials, missing libraries or textures and indices out of
  // range are passed over. False only when the OBJ file cannot be read.
  bool Load(const char* path, const char* directory, int32_t minFilter, int32_t magFilter,
            uint32_t usageFlags, bool software);
  // Draws every group: translated to position, turned by rotation's z, y and x angles (degrees,
  // about the x, y and z axes in that order) and scaled. Nothing for an empty model.
  void Draw(KV_VECTOR_D position, KV_ROTATION_D rotation, KV_VECTOR_D scale);
  // Destroys every mesh and empties the group list; when loaded is set and keepTextures is not,
  // first destroys the group textures and clears loaded.
  void Free(bool keepTextures);
  // Sets the loaded flag, which makes Free destroy the group textures too.
  void SetLoaded(bool value) { loaded = value ? 1 : 0; }

 private:
  void BindTextures(KV_MODEL_GROUP& group);
};
