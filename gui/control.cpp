// The control record: defaults, copying, depth comparison, deferred removal, searches of the
// subtree, the tag, and the application control's two procedures.
#include "gui/control.h"

#include <cstring>

namespace KvCore {

KV_GUI::CONTROL::CONTROL()
    : owner(nullptr),
      node(nullptr),
      drawnDisabled(0),
      previousEvents(0),
      hovered(0),
      Order(0),
      Events(0),
      Behaviour(0),
      MarginTop(0),
      MarginBottom(0),
      MarginLeft(0),
      MarginRight(0),
      CutMarginTop(0),
      CutMarginBottom(0),
      CutMarginLeft(0),
      CutMarginRight(0),
      Active(1),
      Visible(1),
      Hitable(1),
      NonCorrected(0),
      CutArea(1) {}

KV_GUI::CONTROL::~CONTROL() {
  Text.Clear();
  Extend.Clear();
}

void KV_GUI::CONTROL::OnEvent() {}

void KV_GUI::CONTROL::OnDraw() {}

KV_GUI::CONTROL& KV_GUI::CONTROL::operator=(const CONTROL& other) {
  if (this == &other) return *this;
  for (int area = 0; area < 9; ++area)
    for (int corner = 0; corner < 4; ++corner) Points[area][corner] = other.Points[area][corner];
  owner = other.owner;
  node = other.node;
  drawnDisabled = other.drawnDisabled;
  previousEvents = other.previousEvents;
  hovered = other.hovered;
  Order = other.Order;
  Events = other.Events;
  Behaviour = other.Behaviour;
  Position = other.Position;
  Size = other.Size;
  Offset = other.Offset;
  ChildOffset = other.ChildOffset;
  MarginTop = other.MarginTop;
  MarginBottom = other.MarginBottom;
  MarginLeft = other.MarginLeft;
  MarginRight = other.MarginRight;
  CutMarginTop = other.CutMarginTop;
  CutMarginBottom = other.CutMarginBottom;
  CutMarginLeft = other.CutMarginLeft;
  CutMarginRight = other.CutMarginRight;
  Active = other.Active;
  Visible = other.Visible;
  Hitable = other.Hitable;
  NonCorrected = other.NonCorrected;
  CutArea = other.CutArea;
  Text = other.Text;
  // The tag's bytes, used length and position, in a block of this control's own.
  Extend.bytes = other.Extend.bytes;
  Extend.length = other.Extend.length;
  Extend.growStep = other.Extend.growStep;
  Extend.Seek(other.Extend.Tell(), false, false);
  Icon = other.Icon;
  StyleActive = other.StyleActive;
  StyleUnactive = other.StyleUnactive;
  return *this;
}

int KV_GUI::CONTROL::CompareDepth(CONTROL* const* a, CONTROL* const* b) {
  float first = (*a)->Order;
  float second = (*b)->Order;
  if (first > second) return 1;
  if (first < second) return -1;
  return 0;
}

void KV_GUI::CONTROL::Detach() {
  if (owner == nullptr || node == nullptr) return;
  owner->deletionQueue.PushBack(node);
}

bool KV_GUI::CONTROL::HasNode(const NODE* n) const {
  if (n == nullptr) return false;
  if (n == node) return true;
  if (node == nullptr) return false;
  for (NODE::ITERATOR it = node->Begin(); !it.IsEnd(); it.Next()) {
    const CONTROL* child = it->value.Get();
    if (child != nullptr && child->HasNode(n)) return true;
  }
  return false;
}

bool KV_GUI::CONTROL::Contains(const CONTROL* control) const {
  if (control == nullptr) return false;
  if (control == this) return true;
  if (node == nullptr) return false;
  for (NODE::ITERATOR it = node->Begin(); !it.IsEnd(); it.Next()) {
    const CONTROL* child = it->value.Get();
    if (child != nullptr && child->Contains(control)) return true;
  }
  return false;
}

KV_GUI::CONTROL* KV_GUI::CONTROL::GetParent() const {
  if (node == nullptr || node->parent == nullptr) return nullptr;
  return node->parent->value.Get();
}

KV_STRING KV_GUI::CONTROL::GetTag() const {
  const unsigned char* data = Extend.GetData();
  if (data == nullptr || Extend.length == 0) return KV_STRING();
  const void* zero = memchr(data, 0, Extend.length);
  unsigned int n =
      zero != nullptr ? (unsigned int)((const unsigned char*)zero - data) : Extend.length;
  KV_STRING tag;
  tag.AssignN((const char*)data, n);
  return tag;
}

void KV_GUI::CONTROL::SetTag(const char* text) {
  Extend.Clear();
  if (text != nullptr) Extend.WriteString(text, true);
  Extend.Seek(0, false, false);
}

}  // namespace KvCore

namespace KvCore::Com {

void C_GUI_CONTROL::OnEvent() {
  if (EventProc != nullptr) EventProc(this);
}

void C_GUI_CONTROL::OnDraw() {
  if (RenderProc != nullptr) RenderProc(this);
}

}  // namespace KvCore::Com
