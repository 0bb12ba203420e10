// Feeds arbitrary bytes to the OBJ and MTL readers: the input, cut at its first 0x7f byte, is
// written as an OBJ file and a material library "lib.mtl" beside it. Loading must succeed (the
// file exists), every group must hold whole triangles, and freeing the model (marked loaded)
// must leave no engine object behind.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/testing.h"
#include "graphics/model.h"

namespace {

const std::string& Directory() {
  static std::string dir = [] {
    char pattern[] = "/tmp/kv_obj_fuzz_XXXXXX";
    return std::string(mkdtemp(pattern) != nullptr ? pattern : "/tmp");
  }();
  return dir;
}

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return;
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1u << 18) return 0;
  size_t cut = 0;
  while (cut < size && data[cut] != 0x7f) ++cut;
  const std::string& dir = Directory();
  WriteFile(dir + "/m.obj", data, cut);
  WriteFile(dir + "/lib.mtl", data + (cut < size ? cut + 1 : size),
            cut < size ? size - cut - 1 : 0);

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
