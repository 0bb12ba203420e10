// Feeds arbitrary bytes to the OBJ and MTL readers: the input, cut at its first 0x7f byte, is
// written as an OBJ file and a material library "lib.mtl" beside it, in a scratch folder that
// also holds a texture "t.kvt" for map_Kd lines to load. Loading must succeed (the
// file exists), every group must hold whole triangles, and freeing the model (marked loaded)
// must leave no engine object behind.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/testing.h"
#include "engine/textures/kvt_format.h"
#include "fuzz/scratch_folder.h"
#include "graphics/model.h"

namespace {

std::string dir;  // the scratch folder holding m.obj and lib.mtl

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  dir = fuzz::EnterScratchFolder("kv_fuzz_obj");
  const uint8_t pixels[2 * 2 * 4] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 9, 9, 9, 0};
  std::vector<uint8_t> texture = kv::engine::kvt::Write(2, 2, pixels);
  fuzz::WriteFile("t.kvt", texture.data(), texture.size());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1u << 18) return 0;
  size_t cut = 0;
  while (cut < size && data[cut] != 0x7f) ++cut;
  fuzz::WriteFile("m.obj", data, cut);
  fuzz::WriteFile("lib.mtl", data + (cut < size ? cut + 1 : size), cut < size ? size - cut - 1 : 0);

  size_t before = kv::engine::testing::LiveObjectCount();
  KV_MODEL model;
  if (!model.Load((dir + "/m.obj").c_str(), dir.c_str(), KV_FILTER_NEAREST, KV_FILTER_LINEAR, 0,
                  true))
    __builtin_trap();
  for (KV_LIST_ITERATOR<KV_MODEL_GROUP> g = model.groups.Begin(); !g.IsEnd(); g.Next()) {
    if (g->textures.Size() != 1) __builtin_trap();
    if (g->mesh.GetVertexCount() % 3 != 0 || g->mesh.GetIndexCount() != 0) __builtin_trap();
  }
  model.SetLoaded(true);
  model.Free(false);
  if (model.groups.Count() != 0) __builtin_trap();
  if (kv::engine::testing::LiveObjectCount() != before) __builtin_trap();
  return 0;
}
