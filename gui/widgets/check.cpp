// A check box mark: a click toggles it and swaps both styles to the matching pair.
#include "gui/widgets/check.h"

#include "gui/widgets/parts.h"

namespace KvCore {

using namespace widgets;

KV_GUI::__check::__check() : Checked(0) {}

KV_GUI::__check::~__check() {}

void KV_GUI::__check::OnEvent() {
  if (!Clicked(Events)) return;
  Checked = Checked ? 0 : 1;
  StyleActive = Checked ? StyleActiveOn : StyleActiveOff;
  StyleUnactive = Checked ? StyleUnactiveOn : StyleUnactiveOff;
  Notify(owner, Ancestor(this, 1), CHECK_CLICKED);
}

}  // namespace KvCore
