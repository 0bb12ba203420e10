// The MTL reader: material libraries named by an OBJ file's "mtllib" lines. It understands
// "newmtl" (start or resume a material), "Kd" (its diffuse colour) and "map_Kd" (its diffuse
// texture, loaded with the model's filters); everything else is passed over.
#include <cstring>

#include "graphics/model_reader.h"

namespace kv::model {

namespace {

// A diffuse colour: r, g and b from the three numbers; alpha stays as it is.
void ReadColor(MATERIAL& material, const KV_STRING* items) {
  float* rgb[3] = {&material.color.x, &material.color.y, &material.color.z};
  for (int i = 0; i < 3; ++i) items[1 + i].Decode(rgb[i], 'h');
}

// A diffuse texture: a new engine texture loaded from "directory/name". The material keeps the
// handle even when the image does not load (it then draws untextured). The filters are set only
// after a successful load, because a failed load leaves another texture current, whose filters
// must not change.
void ReadTexture(READER& reader, MATERIAL& material, const char* name) {
  KV_HANDLE texture;
  KvTextureCreate(&texture);
  if (texture.IsNull()) return;
  reader.createdTextures.PushBack(texture);
  material.texture = texture;
  KV_STRING path = JoinPath(reader.directory, name);
  if (KvTextureLoad(texture, path, 1) == 0) return;
  KvTextureParameter(KV_TEX_MIN_FILTER, (float)reader.minFilter);
  KvTextureParameter(KV_TEX_MAG_FILTER, (float)reader.magFilter);
}

void ReadLine(READER& reader, MATERIAL*& current, const KV_STRING& line) {
  unsigned int n = 0;
  KV_STRING* items = line.Split(" ", n, nullptr);
  if (n == 2 && items[0] == "newmtl") {
    // A name the dictionary refuses (too long) leaves no current material.
    current = reader.materials.GetValue(items[1]);
  } else if (n == 4 && items[0] == "Kd") {
    if (current != nullptr) ReadColor(*current, items);
  } else if (n == 2 && items[0] == "map_Kd") {
    if (current != nullptr) ReadTexture(reader, *current, items[1]);
  }
  delete[] items;
}

}  // namespace

bool ReadMaterialLibrary(READER& reader, const char* path) {
  unsigned int count = 0;
  KV_STRING* lines = ReadLines(path, count);
  if (lines == nullptr) return false;
  // Each library starts without a current material: a colour line before its first "newmtl"
  // belongs to no material.
  MATERIAL* current = nullptr;
  for (unsigned int i = 0; i < count; ++i)
    if (lines[i].text[0] != '#') ReadLine(reader, current, lines[i]);
  delete[] lines;
  return true;
}

}  // namespace kv::model
