// The edit box's text field: focus by click, typed characters, caret keys, deletion, the
// blinking caret and the shown text (masked in password mode).
#include "gui/widgets/edit.h"

#include "app/input.h"
#include "app/loop.h"
#include "platform/winapi/windows.h"
#include "gui/widgets/parts.h"

namespace KvCore {

using namespace widgets;

namespace {

const float kBlinkSeconds = 0.5f;

// The characters typed this frame, left in the queue for other readers, without the control
// characters that the key table handles (backspace) or that a one-line field cannot hold.
KV_STRING TypedText() {
  KV_STRING typed;
  if (!KvReadText(typed, true)) return typed;
  KV_STRING kept;
  for (const char* p = typed.c_str(); *p != 0; ++p) {
    if (*p == '\b' || *p == '\t' || *p == '\r' || *p == '\n') continue;
    char one[2] = {*p, 0};
    kept += one;
  }
  return kept;
}

// One "*" per character.
KV_STRING Stars(unsigned int count) {
  KV_STRING stars;
  for (unsigned int i = 0; i < count; ++i) stars += "*";
  return stars;
}

// The text as shown: with the caret between the halves when caret is set.
KV_STRING Shown(const KV_GUI::__edit& edit, bool caret) {
  KV_STRING left = edit.Masked ? Stars(edit.TextLeft.Length()) : edit.TextLeft;
  KV_STRING right = edit.Masked ? Stars(edit.TextRight.Length()) : edit.TextRight;
  KV_STRING shown;
  if (caret)
    shown.Format("%s|%s", left.c_str(), right.c_str());
  else
    shown.Format("%s%s", left.c_str(), right.c_str());
  return shown;
}

// The caret keys pressed this frame, in a fixed order.
void ApplyKeys(KV_GUI::__edit& edit) {
  KV_STRING& left = edit.TextLeft;
  KV_STRING& right = edit.TextRight;
  KV_STRING joined;
  if (KvKeyPressed(VK_HOME)) {
    joined.Format("%s%s", left.c_str(), right.c_str());
    right = joined;
    left.Clear();
  }
  if (KvKeyPressed(VK_END)) {
    joined.Format("%s%s", left.c_str(), right.c_str());
    left = joined;
    right.Clear();
  }
  if (KvKeyPressed(VK_BACK) && left.Length() > 0) left.AssignN(left.c_str(), left.Length() - 1);
  if (KvKeyPressed(VK_DELETE) && right.Length() > 0) right = KV_STRING(right.c_str() + 1);
  if (KvKeyPressed(VK_LEFT) && left.Length() > 0) {
    unsigned int last = left.Length() - 1;
    joined.Format("%c%s", left.c_str()[last], right.c_str());
    right = joined;
    left.AssignN(left.c_str(), last);
  }
  if (KvKeyPressed(VK_RIGHT) && right.Length() > 0) {
    joined.Format("%s%c", left.c_str(), right.c_str()[0]);
    left = joined;
    right = KV_STRING(right.c_str() + 1);
  }
}

// Typing, the caret and the keys, while editing.
void Edit(KV_GUI::__edit& edit) {
  KV_GUI::CONTROL* outer = Ancestor(&edit, 1);
  KV_STRING typed = TypedText();
  edit.BlinkTimer -= KV_LOOP::Instance().frameTime;
  if (edit.BlinkTimer <= 0) {
    edit.BlinkTimer = kBlinkSeconds;
    edit.CaretShown = edit.CaretShown ? 0 : 1;
  }
  if (typed.Length() > 0) edit.TextLeft += typed.c_str();
  edit.Text = Shown(edit, edit.CaretShown != 0);
  if (edit.Events & KV_GUI::EVENT_KEY_PRESSED) {
    ApplyKeys(edit);
    Notify(edit.owner, outer, KV_GUI::EDIT_KEY_PRESSED);
  }
  if (typed.Length() > 0) Notify(edit.owner, outer, KV_GUI::EDIT_TYPED);
}

// Whether the field can take input: it and every control above it are active and shown.
bool Reachable(const KV_GUI::CONTROL& edit) {
  for (const KV_GUI::CONTROL* c = &edit; c != nullptr; c = c->GetParent())
    if (!c->Active || !c->Visible) return false;
  return true;
}

}  // namespace

KV_GUI::__edit::__edit() : Editing(0), BlinkTimer(0), CaretShown(0), Masked(1) {}

KV_GUI::__edit::~__edit() {
  TextLeft.Clear();
  TextRight.Clear();
}

void KV_GUI::__edit::OnEvent() {
  // A field whose window was switched off or hidden takes no input: typed text must not land
  // in a box nobody sees, and its end of editing must still be heard.
  if (!Reachable(*this)) {
    EndEditing();
    return;
  }
  // Read once: the notifications below may run code that changes this control.
  uint32_t events = Events;
  if (Editing) Edit(*this);
  if ((events & EVENT_MOUSE_PRESSED) && (events & EVENT_OVER)) {
    Editing = 1;
    Notify(owner, Ancestor(this, 1), EDIT_CLICKED);
  }
  if (Editing && (events & EVENT_MOUSE_DOWN) && !(events & EVENT_OVER)) EndEditing();
}

void KV_GUI::__edit::EndEditing() {
  if (!Editing) return;
  Editing = 0;
  Text = Shown(*this, false);
  Notify(owner, Ancestor(this, 1), EDIT_ENDED);
}

}  // namespace KvCore
