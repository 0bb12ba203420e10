// A combo box item: a click picks it (the list closes, the outer combo box takes its text and
// hears about it); its look follows the pointer.
#include "gui/widgets/comboitem.h"

#include "gui/widgets/combo.h"
#include "gui/widgets/parts.h"

namespace KvCore {

using namespace widgets;

KV_GUI::__comboitem::__comboitem() {}

KV_GUI::__comboitem::~__comboitem() {}

void KV_GUI::__comboitem::OnEvent() {
  uint32_t events = Events;
  if (Clicked(events)) {
    StyleActive = StyleNormal;
    __combo* content = dynamic_cast<__combo*>(Ancestor(this, 1));
    if (content != nullptr) content->SelectedItem = this;
    Show(Ancestor(this, 2), 0);
    CONTROL* outer = Ancestor(this, 4);
    if (outer != nullptr) outer->Text = Text;
    Notify(owner, outer, COMBO_PICKED);
  }
  if (events & EVENT_ENTERED) StyleActive = StyleOver;
  if (events & EVENT_LEFT) StyleActive = StyleNormal;
}

}  // namespace KvCore
