// KV_SPRITENODE: one bone of a jointed 2D figure, with its own sprite and its named children.
// A node starts at its parent's end point and ends `distance` further along its accumulated angle
// (the parent's accumulated angle plus its own), so turning a node turns its whole subtree.
// Nodes are addressed by "/"-separated paths of child names. A node owns its children (by value)
// and its sprite record, but not the sprite's textures: they belong to whoever loaded them.
#pragma once

#include <cstdint>

#include "foundation/dictionary.h"
#include "foundation/list.h"
#include "foundation/vector.h"
#include "graphics/sprite.h"

// One node's sprite draw, as the depth-sorted draw collects it.
struct KV_DRAWITEM {
  KV_SPRITE* sprite = nullptr;  // the node's sprite
  KV_VECTOR_D position;         // draw position
  float angle = 0;              // draw angle in degrees
  KV_VECTOR_D scale;
  float depth = 0;
};

class KV_SPRITENODE {
 public:
  KV_DICTIONARY<KV_SPRITENODE> children;  // the child nodes by name
  KV_SPRITE sprite;                       // what the node shows
  float angle = 0;                        // degrees, added to the parent's accumulated angle
  float distance = 0;                     // bone length along the accumulated angle
  KV_VECTOR_D scale{1, 1, 0, 1};          // scale of the sprite's draw
  float radius = 0;                       // extent around the end point, for the bounds
  uint8_t mirrored = 0;                   // sprite drawn from the bone's end, turned by 180
  float depth = 0;                        // sorted draw's key and the displacement factor
  uint8_t visible = 1;                    // an invisible node hides its whole subtree

  // Draws the visible subtree in tree order; P is this node's start, A its parent's accumulated
  // angle, D a displacement applied times each node's depth ((0, 0, 0, 1): none).
  void Draw(KV_VECTOR_D position, float parentAngle, KV_VECTOR_D displacement);
  // The same draws ordered by ascending depth (equal depths in tree order). Call with a null
  // list: the walk collects into a list of its own, then draws and frees it.
  void DrawSorted(KV_VECTOR_D position, float parentAngle, KV_VECTOR_D displacement,
                  KV_LIST<KV_DRAWITEM*>* list = nullptr);

  // The node at the path, created where missing; null for a name of 124 or more characters.
  KV_SPRITENODE* Add(const char* path);
  // Walks the path from start (null: this node) looking each name up with the dictionary mode
  // (1 find, 2 find or add, ...); the node reached, null when a lookup finds nothing.
  KV_SPRITENODE* FindOrCreate(const char* path, int mode, KV_SPRITENODE* start = nullptr);
  // The start point of the path's last named node, this node starting at P under angle A; P for
  // an empty path. Nodes the path names are created.
  KV_VECTOR_D Find(const char* path, KV_VECTOR_D position, float parentAngle);
  // The base angle of the path's last named node (the angle it adds its own to); A for an empty
  // path. Nodes the path names are created.
  float FindValue(const char* path, float parentAngle);

  // Widens the box min..max to hold every node's end point, give or take its radius.
  void AccumulatePosition(KV_VECTOR_D position, float parentAngle, KV_VECTOR_D& min,
                          KV_VECTOR_D& max);
  // The centre of the subtree's box.
  KV_VECTOR_D Transform(KV_VECTOR_D position, float parentAngle);
  // The subtree's bounding radius around that centre.
  float AccumulateAngle(KV_VECTOR_D position, float parentAngle);

  // The colour of every sprite in the subtree.
  void SetColor(float r, float g, float b, float a);
  // Empties every sprite of the subtree (textures are left alone) and removes the children.
  void Free();

  // -1, 0 or 1 as a's depth is smaller than, equal to or larger than b's.
  static int CompareDepth(const KV_DRAWITEM* a, const KV_DRAWITEM* b);

 private:
  // The node's end point for its start and parent angle.
  KV_VECTOR_D End(const KV_VECTOR_D& start, float parentAngle) const;
  // The largest end-to-centre distance plus radius in the subtree, at least best.
  float Reach(KV_VECTOR_D position, float parentAngle, const KV_VECTOR_D& centre, float best);
};
