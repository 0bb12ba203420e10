// KV_SPRITENODE: the bone geometry, the tree-order and depth-sorted draws, path walks, bounds,
// colour and freeing.
#include "graphics/sprite_node.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "foundation/small_math.h"

namespace {

const KV_VECTOR_D kNoDisplacement(0, 0, 0, 1);

// A path split at its first "/": the name before it and the rest after it (empty without one).
struct PathStep {
  std::string name;
  const char* rest;
};

PathStep Split(const char* path) {
  if (path == nullptr) return {std::string(), ""};
  const char* slash = std::strchr(path, '/');
  if (slash == nullptr) return {std::string(path), path + std::strlen(path)};
  return {std::string(path, (size_t)(slash - path)), slash + 1};
}

// True when the path names nothing: its first name is empty.
bool Ends(const char* path) { return Split(path).name.empty(); }

// The list's sort leaves its values in non-increasing order of the comparison; comparing the
// later item first turns that into ascending depth, with equal depths kept in tree order.
int LaterFirst(KV_DRAWITEM* const* a, KV_DRAWITEM* const* b) {
  return KV_SPRITENODE::CompareDepth(*b, *a);
}

}  // namespace

// ---- geometry --------------------------------------------------------------------------------

KV_VECTOR_D KV_SPRITENODE::End(const KV_VECTOR_D& start, float parentAngle) const {
  return start + KvLengthdirVector(KV_ROTATION_D(parentAngle + angle, 0, 0, 0), distance);
}

// ---- drawing ---------------------------------------------------------------------------------

void KV_SPRITENODE::Draw(KV_VECTOR_D position, float parentAngle, KV_VECTOR_D displacement) {
  if (!visible) return;
  KV_VECTOR_D end = End(position, parentAngle);
  KV_VECTOR_D at = mirrored ? end : position;
  if (!(displacement == kNoDisplacement)) at = at + displacement * depth;
  float drawAngle = parentAngle + angle + (mirrored ? 180.0f : 0.0f);
  sprite.Draw(at, KV_VECTOR_D(drawAngle, 0, 0, 0), scale);
  for (auto child = children.Begin(); !child.IsEnd(); child.Next())
    child->Draw(end, parentAngle + angle, displacement);
}

void KV_SPRITENODE::DrawSorted(KV_VECTOR_D position, float parentAngle, KV_VECTOR_D displacement,
                               KV_LIST<KV_DRAWITEM*>* list) {
  if (!visible) return;
  bool top = list == nullptr;
  if (top) list = new KV_LIST<KV_DRAWITEM*>();
  KV_VECTOR_D end = End(position, parentAngle);
  KV_DRAWITEM* item = new KV_DRAWITEM();
  item->sprite = &sprite;
  item->position = mirrored ? end : position;
  if (!(displacement == kNoDisplacement)) item->position = item->position + displacement * depth;
  item->angle = parentAngle + angle + (mirrored ? 180.0f : 0.0f);
  item->scale = scale;
  item->depth = depth;
  list->PushBack(item);
  for (auto child = children.Begin(); !child.IsEnd(); child.Next())
    child->DrawSorted(end, parentAngle + angle, displacement, list);
  if (!top) return;
  list->Sort(LaterFirst);
  for (auto it = list->Begin(); !it.IsEnd(); it.Next()) {
    KV_DRAWITEM* drawn = *it;
    drawn->sprite->Draw(drawn->position, KV_VECTOR_D(drawn->angle, 0, 0, 0), drawn->scale);
    delete drawn;
  }
  delete list;
}

int KV_SPRITENODE::CompareDepth(const KV_DRAWITEM* a, const KV_DRAWITEM* b) {
  if (a->depth == b->depth) return 0;
  return a->depth < b->depth ? -1 : 1;
}

// ---- paths -----------------------------------------------------------------------------------

KV_SPRITENODE* KV_SPRITENODE::Add(const char* path) { return FindOrCreate(path, 2, nullptr); }

KV_SPRITENODE* KV_SPRITENODE::FindOrCreate(const char* path, int mode, KV_SPRITENODE* start) {
  KV_SPRITENODE* node = start != nullptr ? start : this;
  for (PathStep step = Split(path); !step.name.empty(); step = Split(step.rest)) {
    node = node->children.Find(mode, step.name.c_str()).Get();
    if (node == nullptr) return nullptr;
  }
  return node;
}

// A name the dictionary refuses (too long) ends the walk as if the path ended there.
KV_VECTOR_D KV_SPRITENODE::Find(const char* path, KV_VECTOR_D position, float parentAngle) {
  PathStep step = Split(path);
  if (step.name.empty()) return position;
  KV_SPRITENODE* child = children.GetValue(step.name.c_str());
  KV_VECTOR_D end = End(position, parentAngle);
  if (child == nullptr || Ends(step.rest)) return end;
  return child->Find(step.rest, end, parentAngle + angle);
}

float KV_SPRITENODE::FindValue(const char* path, float parentAngle) {
  PathStep step = Split(path);
  if (step.name.empty()) return parentAngle;
  KV_SPRITENODE* child = children.GetValue(step.name.c_str());
  if (child == nullptr || Ends(step.rest)) return parentAngle + angle;
  return child->FindValue(step.rest, parentAngle + angle);
}

// ---- bounds ----------------------------------------------------------------------------------

void KV_SPRITENODE::AccumulatePosition(KV_VECTOR_D position, float parentAngle, KV_VECTOR_D& min,
                                       KV_VECTOR_D& max) {
  KV_VECTOR_D end = End(position, parentAngle);
  // The square of side 2 * radius around the end point, in the plane and in depth.
  KV_VECTOR_D reach(radius, radius, radius, 0);
  KV_VECTOR_D low(end.x - reach.x, end.y - reach.y, end.z - reach.z, 1);
  KV_VECTOR_D high(end.x + reach.x, end.y + reach.y, end.z + reach.z, 1);
  min = min.Min(low);
  max = max.Max(high);
  for (auto child = children.Begin(); !child.IsEnd(); child.Next())
    child->AccumulatePosition(end, parentAngle + angle, min, max);
}

KV_VECTOR_D KV_SPRITENODE::Transform(KV_VECTOR_D position, float parentAngle) {
  const double inf = std::numeric_limits<double>::infinity();
  KV_VECTOR_D min(inf, inf, inf, 1), max(-inf, -inf, -inf, 1);
  AccumulatePosition(position, parentAngle, min, max);
  return (min + max) * 0.5;
}

float KV_SPRITENODE::Reach(KV_VECTOR_D position, float parentAngle, const KV_VECTOR_D& centre,
                           float best) {
  KV_VECTOR_D end = End(position, parentAngle);
  float here = (float)(end - centre).Length() + radius;
  if (here > best) best = here;
  for (auto child = children.Begin(); !child.IsEnd(); child.Next())
    best = child->Reach(end, parentAngle + angle, centre, best);
  return best;
}

float KV_SPRITENODE::AccumulateAngle(KV_VECTOR_D position, float parentAngle) {
  KV_VECTOR_D centre = Transform(position, parentAngle);
  return Reach(position, parentAngle, centre, -std::numeric_limits<float>::infinity());
}

// ---- colour and freeing ----------------------------------------------------------------------

void KV_SPRITENODE::SetColor(float r, float g, float b, float a) {
  sprite.SetColor(r, g, b, a);
  for (auto child = children.Begin(); !child.IsEnd(); child.Next()) child->SetColor(r, g, b, a);
}

void KV_SPRITENODE::Free() {
  sprite = KV_SPRITE();
  for (auto child = children.Begin(); !child.IsEnd(); child.Next()) child->Free();
  children.Clear();
}
