// An option box mark: a click clears the whole group and checks this one (Ctrl-click leaves
// the group cleared), then tells the outer option box.
#include "gui/widgets/option.h"

#include "app/input.h"
#include "platform/winapi/windows.h"
#include "gui/widgets/parts.h"

namespace KvCore {

using namespace widgets;

namespace {

void SetChecked(KV_GUI::__option& option, unsigned char checked) {
  option.Checked = checked;
  option.StyleActive = checked ? option.StyleActiveOn : option.StyleActiveOff;
  option.StyleUnactive = checked ? option.StyleUnactiveOn : option.StyleUnactiveOff;
}

}  // namespace

KV_GUI::__option::__option() : Checked(0) {}

KV_GUI::__option::~__option() {}

void KV_GUI::__option::OnEvent() {
  if (!Clicked(Events)) return;
  CONTROL* box = Ancestor(this, 2);
  if (box != nullptr && box->node != nullptr) {
    for (NODE::ITERATOR it = box->node->Begin(); !it.IsEnd(); it.Next()) {
      __option* option = dynamic_cast<__option*>(FirstChild(it->value.Get()));
      if (option != nullptr) SetChecked(*option, 0);
    }
  }
  if (!KvKeyDown(VK_CONTROL)) SetChecked(*this, 1);
  Notify(owner, box, OPTION_CLICKED);
}

}  // namespace KvCore
