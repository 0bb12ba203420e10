// The GUI manager's draw: every top-level control back to front with clipping on, in one pass
// or, for a screen window with per-pixel alpha, in two passes (alpha first, then colour).
#include "engine/kv_engine.h"
#include "gui/gui.h"

namespace KvCore {

namespace {

// Draws each collected control over the whole screen, holding a share of each so that a draw
// procedure that removes controls cannot free one still to be drawn.
void DrawAll(KV_GUI& gui, const KV_LIST<KV_SHARED<KV_GUI::CONTROL>>& controls) {
  KV_VECTOR_D offset(0, 0, 0, 1);
  KV_VECTOR_D extent(gui.screen->width, gui.screen->height, 0, 1);
  for (KV_LIST_ITERATOR<KV_SHARED<KV_GUI::CONTROL>> it = controls.Begin(); !it.IsEnd(); it.Next()) {
    KV_GUI::CONTROL* control = it->Get();
    if (control->node != nullptr) control->Draw(offset, extent, 0);
  }
}

}  // namespace

void KV_GUI::Draw(unsigned char twoPass) {
  if (screen == nullptr) return;
  KV_LIST<CONTROL*> byDepth;
  ChildrenByDepth(nullptr, byDepth);
  KV_LIST<KV_SHARED<CONTROL>> controls;
  for (KV_LIST_ITERATOR<CONTROL*> it = byDepth.Begin(); !it.IsEnd(); it.Next())
    controls.PushBack((*it.Get())->node->value);

  KvSetState(KV_STATE_CLIP, 1);
  if (!twoPass) {
    DrawAll(*this, controls);
  } else {
    KvSetState(KV_STATE_COLOR_MASK, 0, 0, 0, 1);
    KvSetState(KV_STATE_BLEND_FUNC, KV_BLEND_SRC_ALPHA, KV_BLEND_ONE);
    DrawAll(*this, controls);
    KvSetState(KV_STATE_BLEND_FUNC, KV_BLEND_SRC_ALPHA, KV_BLEND_ONE_MINUS_SRC_ALPHA);
    KvSetState(KV_STATE_COLOR_MASK, 1, 1, 1, 0);
    DrawAll(*this, controls);
    KvSetState(KV_STATE_COLOR_MASK, 1, 1, 1, 1);
  }
  KvSetState(KV_STATE_CLIP, 0);
}

}  // namespace KvCore
