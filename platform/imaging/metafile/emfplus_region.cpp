// Reading EMF+ region trees and placing regions, rectangles and paths on the picture as pixels.
#include "platform/imaging/metafile/emfplus_region.h"

#include <cmath>
#include <utility>

#include "platform/imaging/decode_budget.h"
#include "platform/imaging/metafile/record_reader.h"

namespace platform::metafile {

namespace {

enum : uint32_t {
  kNodeAnd = 1,
  kNodeComplement = 5,
  kNodeRect = 0x10000000,
  kNodePath = 0x10000001,
  kNodeEmpty = 0x10000002,
  kNodeInfinite = 0x10000003,
};

bool Combines(uint32_t type) { return type >= kNodeAnd && type <= kNodeComplement; }

// Reads one node at *at (its children follow it, the left subtree first); false when damaged.
bool ReadNode(RecordReader& r, size_t* at, PlusRegionNode* node) {
  node->type = r.U32(*at);
  *at += 4;
  if (r.Short()) return false;
  if (Combines(node->type) || node->type == kNodeEmpty || node->type == kNodeInfinite) return true;
  if (node->type == kNodeRect) {
    RectD& rect = node->rect;
    bool read = ReadFloat(r, *at, &rect.x) && ReadFloat(r, *at + 4, &rect.y) &&
                ReadFloat(r, *at + 8, &rect.w) && ReadFloat(r, *at + 12, &rect.h);
    *at += 16;
    return read;
  }
  if (node->type != kNodePath) return false;
  size_t size = r.U32(*at);
  const uint8_t* bytes = r.Bytes(*at + 4, size);
  if (bytes == nullptr) return false;
  node->path = ReadPath(bytes, size);
  *at += 4 + size;
  return node->path != nullptr;
}

// The pixels of one leaf.
bool PlaceLeaf(const PlusRegionNode& node, const Placement& at, PixelRegion* out) {
  switch (node.type) {
    case kNodeRect: return PlaceRect(node.rect, at, out);
    case kNodePath: return PlacePath(*node.path, false, at, out);
    case kNodeInfinite: *out = PixelRegion::Everything(); return true;
    default: *out = PixelRegion(); return true;
  }
}

}  // namespace

bool CombineOp(uint32_t mode, PixelRegion::Op* out) {
  static const PixelRegion::Op kOps[] = {PixelRegion::Op::Replace, PixelRegion::Op::Intersect,
                                         PixelRegion::Op::Union,   PixelRegion::Op::Xor,
                                         PixelRegion::Op::Exclude, PixelRegion::Op::Complement};
  if (mode >= std::size(kOps)) return false;
  *out = kOps[mode];
  return true;
}

std::shared_ptr<const PlusRegion> ReadRegion(const uint8_t* data, size_t size) {
  RecordReader r(data, size);
  auto region = std::make_shared<PlusRegion>();
  // Combining nodes that still wait for a child, the nearest last.
  std::vector<size_t> open;
  size_t at = 8;
  do {
    PlusRegionNode node;
    if (!ReadNode(r, &at, &node)) return nullptr;
    size_t index = region->nodes.size();
    if (!imaging::FitsBudget((index + 1) * sizeof(PlusRegionNode))) return nullptr;
    region->nodes.push_back(std::move(node));
    if (!open.empty()) {
      PlusRegionNode& parent = region->nodes[open.back()];
      if (parent.left < 0) {
        parent.left = static_cast<int32_t>(index);
      } else {
        parent.right = static_cast<int32_t>(index);
        open.pop_back();
      }
    }
    if (Combines(region->nodes[index].type)) open.push_back(index);
  } while (!open.empty());
  return region;
}

bool PlaceRect(const RectD& rect, const Placement& at, PixelRegion* out) {
  const cairo_matrix_t& m = at.toPicture;
  if (m.xy == 0 && m.yx == 0) {
    PointD a = Map(m, rect.x, rect.y), b = Map(m, rect.x + rect.w, rect.y + rect.h);
    *out = PixelRegion::Rect(a.x, a.y, b.x, b.y);
    return true;
  }
  // Turned or sheared: a polygon.
  PlusPath box;
  box.points = {{rect.x, rect.y},
                {rect.x + rect.w, rect.y},
                {rect.x + rect.w, rect.y + rect.h},
                {rect.x, rect.y + rect.h}};
  box.types = {kPointStart, kPointLine, kPointLine, kPointLine | kPointClose};
  return PlacePath(box, false, at, out);
}

bool PlacePath(const PlusPath& path, bool winding, const Placement& at, PixelRegion* out) {
  Path outline;
  AddPlusPath(&outline, path, at.toPicture);
  std::vector<FlatFigure> figures;
  *out = PixelRegion();
  if (!outline.Flatten(at.view, MostEdges(), &figures)) return false;
  int32_t top = static_cast<int32_t>(std::floor(at.view.y0));
  int32_t bottom = static_cast<int32_t>(std::ceil(at.view.y1));
  return PixelRegion::Fill(figures, winding, top, bottom, at.mostSpans, out);
}

bool PlaceRegion(const PlusRegion& region, const Placement& at, PixelRegion* out) {
  *out = PixelRegion();
  // A walk after the children: each combining node is visited three times, its children's
  // pixels left on the results stack, then combined.
  struct Visit {
    size_t node;
    int stage;
  };
  std::vector<Visit> walk{{0, 0}};
  std::vector<PixelRegion> results;
  size_t work = 0;
  while (!walk.empty()) {
    Visit& visit = walk.back();
    const PlusRegionNode& node = region.nodes[visit.node];
    if (!Combines(node.type)) {
      results.emplace_back();
      if (!PlaceLeaf(node, at, &results.back())) return false;
      walk.pop_back();
    } else if (visit.stage < 2) {
      int32_t child = visit.stage++ == 0 ? node.left : node.right;
      walk.push_back({static_cast<size_t>(child), 0});
    } else {
      PixelRegion right = std::move(results.back());
      results.pop_back();
      PixelRegion& left = results.back();
      work += left.Spans() + right.Spans();
      PixelRegion::Op op = PixelRegion::Op::Intersect;
      CombineOp(node.type, &op);
      left = left.Combine(right, op);
      walk.pop_back();
    }
    if (work > at.mostSpans) return false;
  }
  *out = std::move(results.back());
  return true;
}

}  // namespace platform::metafile
