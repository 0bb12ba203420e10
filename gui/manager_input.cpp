// The GUI's input pass: the hit test that sets every control's event bits and picks the
// focused control, the clearing of the masked bits, the dispatch to every control's event
// operation, and the notifications that widgets send to their composites.
#include <cmath>

#include "app/input.h"
#include "app/rect_tests.h"
#include "gui/gui.h"
#include "gui/truncate.h"

namespace KvCore {

namespace {

// The input calls' number for "any key" and "any mouse button".
constexpr unsigned int kAnyKey = 0;
constexpr int kAnyButton = 0;

// The children of a node as shares, so that a handler that removes controls at once cannot
// free one that the walk is about to visit.
void ShareChildren(const KV_GUI::NODE* parentNode, KV_LIST<KV_SHARED<KV_GUI::CONTROL>>& out) {
  for (KV_GUI::NODE::ITERATOR it = parentNode->Begin(); !it.IsEnd(); it.Next())
    if (it->value.Get() != nullptr) out.PushBack(it->value);
}

// A subtree that the hit pass no longer reaches (its top became inactive): every control in it
// that the pointer was over at the last pass that reached it hears that the pointer left, so
// that a hover look (a list item's, a menu entry's) does not outlive the pointer.
void LeaveSubtree(KV_GUI::CONTROL* control) {
  if (control->hovered) control->Events |= KV_GUI::EVENT_LEFT;
  control->hovered = 0;
  if (control->node == nullptr) return;
  for (KV_GUI::NODE::ITERATOR it = control->node->Begin(); !it.IsEnd(); it.Next())
    if (it->value.Get() != nullptr) LeaveSubtree(it->value.Get());
}

}  // namespace

void KV_GUI::ProcessInput() {
  if (screen == nullptr) return;
  HitTest(nullptr, KV_VECTOR_D(0, 0, 0, 1), KV_VECTOR_D(screen->width, screen->height, 0, 1));
  ClearFlags(focus, eventMask, nullptr);
  DispatchEvents(nullptr);
}

void KV_GUI::HitTest(CONTROL* parent, KV_VECTOR_D offset, KV_VECTOR_D extent) {
  if (screen == nullptr) return;
  int cx = KvCursorXIn(screen);
  int cy = KvCursorYIn(screen);
  if (parent == nullptr) {
    focus = nullptr;
    mouseDelta = KV_VECTOR_D(cx, cy, 0, 1) - mousePosition;
    mouseDelta.w = 1;
  }
  KV_LIST<CONTROL*> children;
  ChildrenByDepth(parent, children);
  for (KV_LIST_ITERATOR<CONTROL*> it = children.Begin(); !it.IsEnd(); it.Next()) {
    CONTROL* c = *it.Get();
    // The hit rectangle: the drawn box less the cut margins, within the region received.
    KV_VECTOR lo(std::fmax(c->Points[0][0].x + c->CutMarginLeft, (float)offset.x),
                 std::fmax(c->Points[0][0].y + c->CutMarginTop, (float)offset.y), 0, 1);
    KV_VECTOR hi(std::fmin(c->Points[8][2].x - c->CutMarginRight, (float)extent.x),
                 std::fmin(c->Points[8][2].y - c->CutMarginBottom, (float)extent.y), 0, 1);
    if (!c->Active) {
      c->Events = 0;
      LeaveSubtree(c);
      continue;
    }
    if (KvKeyDown(kAnyKey)) c->Events |= EVENT_KEY_DOWN;
    if (KvKeyPressed(kAnyKey)) c->Events |= EVENT_KEY_PRESSED;
    if (KvKeyReleased(kAnyKey)) c->Events |= EVENT_KEY_RELEASED;
    if (KvMouseDown(kAnyButton)) c->Events |= EVENT_MOUSE_DOWN;
    if (KvMousePressed(kAnyButton)) c->Events |= EVENT_MOUSE_PRESSED;
    if (KvMouseReleased(kAnyButton)) c->Events |= EVENT_MOUSE_RELEASED;
    if (Truncate(mousePosition.x) != cx || Truncate(mousePosition.y) != cy)
      c->Events |= EVENT_MOVED;

    bool inside =
        KvMouseInWindowRect(screen, Truncate(lo.x), Truncate(lo.y), Truncate(hi.x), Truncate(hi.y));
    // An empty rectangle (clipped away by the region) held nobody before either; the point
    // test alone would read its swapped corners as a real rectangle.
    bool wasInside =
        lo.x < hi.x && lo.y < hi.y &&
        KvPointInRect(mousePosition, KV_VECTOR_D(lo.x, lo.y, 0, 1), KV_VECTOR_D(hi.x, hi.y, 0, 1));
    if (inside) {
      if (c->Hitable) focus = c;
      c->Events |= EVENT_OVER;
      if (!wasInside) c->Events |= EVENT_ENTERED;
    } else {
      c->Events |= EVENT_OUTSIDE;
      // A control that was under the pointer leaves also when it moved or was clipped away
      // under a pointer that stood still.
      if (wasInside || c->hovered) c->Events |= EVENT_LEFT;
    }
    c->hovered = inside ? 1 : 0;
    if (c->CutArea)
      HitTest(c, KV_VECTOR_D(lo.x, lo.y, lo.z, lo.w), KV_VECTOR_D(hi.x, hi.y, hi.z, hi.w));
    else
      HitTest(c, offset, extent);
  }
}

void KV_GUI::ClearFlags(CONTROL* spared, uint32_t mask, CONTROL* parent) {
  if (screen == nullptr) return;
  NODE* parentNode = ChildNodes(parent);
  if (parentNode == nullptr) return;
  for (NODE::ITERATOR it = parentNode->Begin(); !it.IsEnd(); it.Next()) {
    CONTROL* child = it->value.Get();
    if (child == nullptr) continue;
    if (child != spared && !child->NonCorrected) child->Events &= ~mask;
    ClearFlags(spared, mask, child);
  }
}

void KV_GUI::DispatchEvents(CONTROL* parent) {
  if (screen == nullptr) return;
  NODE* parentNode = ChildNodes(parent);
  if (parentNode != nullptr) {
    KV_LIST<KV_SHARED<CONTROL>> children;
    ShareChildren(parentNode, children);
    uint32_t changes = treeChanges;
    // A handler may remove controls at once (RemoveControl): those that left the tree are
    // not visited any more, and a control removed by its own handler is not descended.
    auto stillThere = [&](CONTROL* c) {
      return c->node != nullptr && (changes == treeChanges || Contains(c));
    };
    for (KV_LIST_ITERATOR<KV_SHARED<CONTROL>> it = children.Begin(); !it.IsEnd(); it.Next()) {
      CONTROL* c = it->Get();
      if (!stillThere(c)) continue;
      c->OnEvent();
      if (stillThere(c)) DispatchEvents(c);
      c->previousEvents = c->Events;
      c->Events = 0;
    }
  }
  if (parent == nullptr)
    mousePosition = KV_VECTOR_D(KvCursorXIn(screen), KvCursorYIn(screen), 0, 1);
}

void KV_GUI::SendEvent(CONTROL* target, uint32_t bits, uint32_t mode, unsigned char onlyIfInTree,
                       unsigned char clear) {
  if (target == nullptr) return;
  if (onlyIfInTree && target->node != nullptr && !HasNode(target->node)) return;
  // Holds the target while its own handler runs, in case that handler removes it.
  KV_SHARED<CONTROL> keep(nullptr);
  if (target->node != nullptr) keep = target->node->value;
  uint32_t changes = treeChanges;
  if ((mode & SEND_ADD_BITS) && target->Active) target->Events |= bits;
  target->OnEvent();
  if (clear) target->Events = 0;
  if (!(mode & SEND_TO_SUBTREE) || target->node == nullptr) return;
  if (changes != treeChanges && !Contains(target)) return;
  KV_LIST<KV_SHARED<CONTROL>> children;
  ShareChildren(target->node, children);
  for (KV_LIST_ITERATOR<KV_SHARED<CONTROL>> it = children.Begin(); !it.IsEnd(); it.Next()) {
    CONTROL* child = it->Get();
    if (child->node == nullptr || (changes != treeChanges && !Contains(child))) continue;
    SendEvent(child, bits, SEND_ADD_BITS | SEND_TO_SUBTREE, SEND_ANY_TARGET, SEND_CLEAR_EVENTS);
  }
}

}  // namespace KvCore
