// The manager's controls by name: the purge of names whose control left the tree, and the
// removal of a named control (or of its composite's top) at once, with every name that the
// removal leaves without its control.
#include "gui/gui.h"

namespace KvCore {

namespace {

typedef KV_GUI::CONTROL CONTROL;

// Whether some entry of the manager's names holds control.
bool IsNamed(const KV_GUI& gui, const CONTROL* control) {
  for (KV_LIST_ITERATOR<CONTROL*> it = gui.controls.Begin(); !it.IsEnd(); it.Next())
    if (*it == control) return true;
  return false;
}

// Removes target (control or its parent) at once when a name holds control; the removal drops
// every name of the controls that leave with target, control's among them, so none is left
// dangling.
bool RemoveNamedTarget(KV_GUI& gui, CONTROL* control, CONTROL* target) {
  if (target == nullptr || target == gui.GetRoot() || !gui.Contains(target) ||
      !IsNamed(gui, control))
    return false;
  gui.RemoveControl(target);
  return true;
}

}  // namespace

void KV_GUI::PurgeNames() {
  KV_LIST_ITERATOR<CONTROL*> it = controls.Begin();
  while (!it.IsEnd()) {
    CONTROL* control = *it.Get();
    if (Contains(control)) {
      it.Next();
      continue;
    }
    it.Next();
    controls.RemoveValue(control);
  }
}

bool KV_GUI::RemoveNamed(CONTROL* control) { return RemoveNamedTarget(*this, control, control); }

bool KV_GUI::RemoveNamedParent(CONTROL* control) {
  if (control == nullptr || !Contains(control)) return false;
  return RemoveNamedTarget(*this, control, control->GetParent());
}

}  // namespace KvCore
