// A control's layout against its parent: its layout flags are applied against the parent (or
// the screen for a top-level control) and written back into its Position and Size; the border
// rows and columns are sized from its style's split; the corner points of the nine skin areas
// are computed in screen coordinates; then the children follow, top-down in one call. The
// manager starts the walk from each top-level control (manager.cpp).
#include "gui/gui.h"

namespace KvCore {

namespace {

typedef KV_GUI::CONTROL CONTROL;

// The flags in their fixed order; a later step sees an earlier step's result. W and H are
// the screen's size for a top-level control.
void ApplyFlags(CONTROL& c, const CONTROL& p, bool topLevel, float W, float H) {
  const uint32_t b = c.Behaviour;
  KV_VECTOR& pos = c.Position;
  KV_VECTOR& size = c.Size;
  if (b & KV_GUI::INHERIT_WIDTH) size.x = topLevel ? W : p.Size.x;
  if (b & KV_GUI::INHERIT_HEIGHT) size.y = topLevel ? H : p.Size.y;
  if (b & KV_GUI::FIT_TO_EDGE_TOP) {
    size.y += pos.y;
    pos.y = 0;
  }
  if (b & KV_GUI::FIT_TO_EDGE_LEFT) {
    size.x += pos.x;
    pos.x = 0;
  }
  if (b & KV_GUI::FIT_TO_EDGE_BOTTOM)
    size.y = topLevel ? H - pos.y : p.Size.y - pos.y - p.MarginBottom - p.MarginTop;
  if (b & KV_GUI::FIT_TO_EDGE_RIGHT)
    size.x = topLevel ? W - pos.x : p.Size.x - pos.x - p.MarginRight - p.MarginLeft;
  if (b & KV_GUI::DOCK_TO_MIDDLE)
    pos.y = topLevel ? H * 0.5f - size.y * 0.5f : p.Size.y * 0.5f - size.y * 0.5f - p.MarginTop;
  if (b & KV_GUI::DOCK_TO_CENTER)
    pos.x = topLevel ? W * 0.5f - size.x * 0.5f : p.Size.x * 0.5f - size.x * 0.5f - p.MarginLeft;
  if (b & KV_GUI::DOCK_TO_EDGE_TOP) pos.y = -size.y;
  if (b & KV_GUI::DOCK_TO_EDGE_LEFT) pos.x = -size.x;
  if (b & KV_GUI::DOCK_TO_EDGE_BOTTOM) pos.y = topLevel ? H : p.Size.y - p.MarginBottom;
  if (b & KV_GUI::DOCK_TO_EDGE_RIGHT) pos.x = topLevel ? W : p.Size.x - p.MarginRight;
  if (b & KV_GUI::DOCK_TO_EDGE_BOTTOM_INSIDE)
    pos.y = topLevel ? H - size.y : p.Size.y - size.y - p.MarginBottom;
  if (b & KV_GUI::DOCK_TO_EDGE_RIGHT_INSIDE)
    pos.x = topLevel ? W - size.x : p.Size.x - size.x - p.MarginRight;
}

// Top, bottom, left and right border extents from the style that applies, held within the
// control's size.
void BorderSplit(const CONTROL& c, float& top, float& bottom, float& left, float& right) {
  top = bottom = left = right = 0;
  KV_GUI::STYLE_HANDLE handle = c.Active ? c.StyleActive : c.StyleUnactive;
  const KV_GUI::STYLE* style = handle.Get();
  if (style == nullptr) return;
  float split[4];
  style->ResolveSplit(c.Size, split);
  top = split[KV_GUI::STYLE::SPLIT_TOP];
  bottom = split[KV_GUI::STYLE::SPLIT_BOTTOM];
  left = split[KV_GUI::STYLE::SPLIT_LEFT];
  right = split[KV_GUI::STYLE::SPLIT_RIGHT];
  if (c.Size.x < left) left = c.Size.x;
  if (c.Size.y < top) top = c.Size.y;
  if (c.Size.x < left + right) right = c.Size.x - left;
  if (c.Size.y < top + bottom) bottom = c.Size.y - top;
}

}  // namespace

void KV_GUI::CONTROL::UpdateLayout() {
  if (owner == nullptr || owner->screen == nullptr || node == nullptr || node->parent == nullptr)
    return;
  const CONTROL* parent = node->parent->value.Get();
  if (parent == nullptr) return;
  const bool topLevel = parent == owner->GetRoot();
  ApplyFlags(*this, *parent, topLevel, (float)owner->screen->width, (float)owner->screen->height);

  float top, bottom, left, right;
  BorderSplit(*this, top, bottom, left, right);
  const float X[4] = {Position.x + MarginLeft, Position.x + MarginLeft + left,
                      Position.x + Size.x - MarginRight - right, Position.x + Size.x - MarginRight};
  const float Y[4] = {Position.y + MarginTop, Position.y + MarginTop + top,
                      Position.y + Size.y - MarginBottom - bottom,
                      Position.y + Size.y - MarginBottom};

  // Points are placed from the parent's drawn top-left, moved by this control's Offset and
  // the parent's ChildOffset.
  const KV_VECTOR& origin = parent->Points[0][0];
  auto place = [&](float x, float y) {
    return KV_VECTOR(origin.x + x + Offset.x + parent->ChildOffset.x,
                     origin.y + y + Offset.y + parent->ChildOffset.y,
                     origin.z + 0 + Offset.z + parent->ChildOffset.z, 1);
  };
  for (int r = 0; r < 3; ++r) {
    for (int q = 0; q < 3; ++q) {
      KV_VECTOR* corners = Points[3 * r + q];
      corners[0] = place(X[q], Y[r]);
      corners[1] = place(X[q + 1], Y[r]);
      corners[2] = place(X[q + 1], Y[r + 1]);
      corners[3] = place(X[q], Y[r + 1]);
    }
  }

  for (NODE::ITERATOR it = node->Begin(); !it.IsEnd(); it.Next())
    if (it->value.Get() != nullptr) it->value.Get()->UpdateLayout();
}

}  // namespace KvCore
