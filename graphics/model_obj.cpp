// The OBJ reader: KV_MODEL::Load. It understands positions ("v"), texture coordinates ("vt"),
// normals ("vn"), triangular faces ("f"), material libraries ("mtllib") and material use
// ("usemtl"); every other line, and a known keyword with another number of items, is passed
// over. Faces are gathered per material and become one mesh each once the file is read.
#include <cstring>

#include "foundation/buffer.h"
#include "graphics/model.h"
#include "graphics/model_reader.h"

namespace kv::model {

KV_STRING JoinPath(const char* directory, const char* name) {
  KV_STRING path;
  path.Format("%s/%s", directory != nullptr ? directory : "", name != nullptr ? name : "");
  return path;
}

KV_STRING* ReadLines(const char* path, unsigned int& count) {
  count = 0;
  KV_BUFFER buffer;
  if (path == nullptr || !buffer.LoadFromFile(path, 0, 0)) return nullptr;
  KV_STRING* lines = KvSplitBuffer(buffer.GetData(), buffer.length, "\r\n", count, nullptr);
  buffer.Clear();
  return lines;
}

namespace {

// A vector from the numbers in items 1 to n (at most 3); the rest keep (0, 0, 0, 1).
void ReadVector(GROWING<KV_VECTOR>& table, const KV_STRING* items, unsigned int n) {
  KV_VECTOR& v = table.Append();
  float* fields[3] = {&v.x, &v.y, &v.z};
  for (unsigned int i = 0; i < n; ++i) items[1 + i].Decode(fields[i], 'h');
}

// The three indices of a face corner "p/t/n". A piece that does not read leaves its index 0.
// A corner with fewer than three pieces starts again at its beginning, so "2" is 2/2/2 and
// "1/2" is 1/2/1.
void ReadCorner(const KV_STRING& item, uint32_t index[3]) {
  KV_STRING piece;
  unsigned int from = 0;
  for (int k = 0; k < 3; ++k) {
    index[k] = 0;
    from = item.Extract(piece, "/", from);
    piece.Decode(&index[k], 'd');
  }
}

// One triangle in the current face group. OBJ indices count from 1; 0, negative (relative)
// indices, which read as huge numbers, and indices past a table's end all give the table's
// fallback (0, 0, 0, 1).
void ReadFace(READER& reader, const KV_STRING* items) {
  for (int k = 0; k < 3; ++k) {
    uint32_t index[3];
    ReadCorner(items[1 + k], index);
    KV_VERTEX& vertex = reader.faceGroup->vertices.Append();
    const KV_VECTOR& p = reader.positions.At(index[0] - 1);
    const KV_VECTOR& t = reader.texCoords.At(index[1] - 1);
    const KV_VECTOR& n = reader.normals.At(index[2] - 1);
    const KV_VECTOR& c = reader.material->color;
    const float position[4] = {p.x, p.y, p.z, p.w}, texCoord[4] = {t.x, t.y, t.z, t.w};
    const float normal[3] = {n.x, n.y, n.z}, color[4] = {c.x, c.y, c.z, c.w};
    memcpy(vertex.position, position, sizeof position);
    memcpy(vertex.texCoord, texCoord, sizeof texCoord);
    memcpy(vertex.normal, normal, sizeof normal);
    memcpy(vertex.color, color, sizeof color);
  }
}

// "usemtl": an unknown material leaves no current material (so faces are dropped) and the face
// group as it was.
void UseMaterial(READER& reader, const char* name) {
  reader.material = reader.materials.Find(KV_DICTIONARY<MATERIAL>::FIND_NAME, name).Get();
  if (reader.material == nullptr) return;
  reader.faceGroup = reader.faceGroups.GetValue(name);
  if (reader.faceGroup != nullptr) reader.faceGroup->texture = reader.material->texture;
}

void ReadLine(READER& reader, const KV_STRING& line) {
  unsigned int n = 0;
  KV_STRING* items = line.Split(" ", n, nullptr);
  const char* keyword = n > 0 ? items[0].text : "";
  if (n == 2 && strcmp(keyword, "mtllib") == 0) {
    // A library that cannot be read is skipped.
    ReadMaterialLibrary(reader, JoinPath(reader.directory, items[1]));
  } else if (n == 2 && strcmp(keyword, "usemtl") == 0) {
    UseMaterial(reader, items[1]);
  } else if (n == 4 && strcmp(keyword, "v") == 0) {
    ReadVector(reader.positions, items, 3);
  } else if (n == 3 && strcmp(keyword, "vt") == 0) {
    ReadVector(reader.texCoords, items, 2);
  } else if (n == 4 && strcmp(keyword, "vn") == 0) {
    ReadVector(reader.normals, items, 3);
  } else if (n == 4 && strcmp(keyword, "f") == 0) {
    if (reader.faceGroup != nullptr && reader.material != nullptr) ReadFace(reader, items);
  }
  delete[] items;
}

// Whether a group of the model binds the texture.
bool GroupsUse(const KV_LIST<KV_MODEL_GROUP>& groups, const KV_HANDLE& texture) {
  for (KV_LIST_ITERATOR<KV_MODEL_GROUP> g = groups.Begin(); !g.IsEnd(); g.Next())
    for (unsigned int i = 0; i < g->textures.Size(); ++i)
      if (g->textures.Get(i)->Id() == texture.Id()) return true;
  return false;
}

}  // namespace

}  // namespace kv::model

using namespace kv::model;

bool KV_MODEL::Load(const char* path, const char* directory, int32_t minFilter, int32_t magFilter,
                    uint32_t usageFlags, bool software) {
  unsigned int count = 0;
  KV_STRING* lines = ReadLines(path, count);
  if (lines == nullptr) return false;
  READER reader;
  reader.directory = directory != nullptr ? directory : "";
  reader.minFilter = minFilter;
  reader.magFilter = magFilter;
  for (unsigned int i = 0; i < count; ++i)
    if (lines[i].text[0] != '#') ReadLine(reader, lines[i]);
  delete[] lines;
  reader.positions.Free();
  reader.texCoords.Free();
  reader.normals.Free();

  // One group per face group, in the order of first use. A mesh whose creation fails stays
  // empty; the group is kept all the same.
  for (KV_LIST_ITERATOR<FACE_GROUP> f = reader.faceGroups.Begin(); !f.IsEnd(); f.Next()) {
    KV_MODEL_GROUP* group = groups.PushBack(KV_MODEL_GROUP()).Get();
    if (group == nullptr) break;
    group->textures.Resize(1);
    *group->textures.Get(0) = f->texture;
    group->mesh.Create(KV_PRIM_TRIANGLES, f->vertices.block.data, f->vertices.used, nullptr, 0,
                       usageFlags, 0, software);
    f->vertices.Free();
  }
  // A texture that no group binds (its material never used, or replaced by a later map_Kd)
  // would have no holder left: release it now rather than lose it.
  for (KV_LIST_ITERATOR<KV_HANDLE> t = reader.createdTextures.Begin(); !t.IsEnd(); t.Next())
    if (!GroupsUse(groups, *t.Get())) KvTextureDestroy(*t.Get());
  reader.materials.Clear();
  reader.faceGroups.Clear();
  return true;
}
