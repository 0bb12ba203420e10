// The walk of one control's draw: the region it may cover and the clip, the skin (Render,
// render.cpp), the control's own drawing hook with its origin moved to the children's region,
// then the children back to front within that region.
#include "engine/kv_engine.h"
#include "gui/gui.h"
#include "gui/truncate.h"

namespace KvCore {

void KV_GUI::CONTROL::Draw(KV_VECTOR_D offset, KV_VECTOR_D extent, unsigned char parentDisabled) {
  if (node == nullptr || !Visible) return;
  const KV_VECTOR& topLeft = Points[0][0];
  const KV_VECTOR& bottomRight = Points[8][2];

  // Own region, and the clip (y counted from the bottom of the screen window).
  KV_VECTOR_D offset1 = offset;
  KV_VECTOR_D extent1 = extent;
  if (CutArea) {
    offset1 = offset.Max(KV_VECTOR_D(topLeft.x, topLeft.y, 0, 1));
    extent1 = extent.Min(KV_VECTOR_D(bottomRight.x, bottomRight.y, 0, 1));
  }
  int w = Truncate(extent1.x - offset1.x);
  int h = Truncate(extent1.y - offset1.y);
  if (w < 0) w = 0;
  if (h < 0) h = 0;
  int screenHeight = owner != nullptr && owner->screen != nullptr ? owner->screen->height : 0;
  KvSetState(KV_STATE_CLIP_RECT, Truncate(offset1.x), screenHeight - Truncate(extent1.y), w, h);

  // The children's region: the drawn box less the cut margins.
  KV_VECTOR_D offset2 = offset;
  KV_VECTOR_D extent2 = extent;
  if (CutArea) {
    offset2 = offset.Max(KV_VECTOR_D(topLeft.x + CutMarginLeft, topLeft.y + CutMarginTop, 0, 1));
    extent2 = extent.Min(
        KV_VECTOR_D(bottomRight.x - CutMarginRight, bottomRight.y - CutMarginBottom, 0, 1));
  }

  Render(parentDisabled);

  // The control's own drawing, with its origin at the children's region moved by ChildOffset.
  KvMatrixPush();
  KvMatrixTranslate(ChildOffset.x + offset2.x, ChildOffset.y + offset2.y,
                    ChildOffset.z + offset2.z);
  drawnDisabled = (!Active || parentDisabled) ? 1 : 0;
  // Held while its draw procedure runs, in case that procedure removes it.
  KV_SHARED<CONTROL> keep = node->value;
  OnDraw();
  KvMatrixPop();
  if (node == nullptr) return;

  KV_LIST<CONTROL*> byDepth;
  owner->ChildrenByDepth(this, byDepth);
  KV_LIST<KV_SHARED<CONTROL>> children;
  for (KV_LIST_ITERATOR<CONTROL*> it = byDepth.Begin(); !it.IsEnd(); it.Next())
    children.PushBack((*it.Get())->node->value);
  for (KV_LIST_ITERATOR<KV_SHARED<CONTROL>> it = children.Begin(); !it.IsEnd(); it.Next())
    it->Get()->Draw(offset2, extent2, drawnDisabled);
}

}  // namespace KvCore
