// A list box item: selection by click (alone) or Ctrl-click (added or removed), and a look
// that follows selection and the pointer.
#include "gui/widgets/list.h"

#include "app/input.h"
#include "platform/winapi/windows.h"
#include "gui/widgets/parts.h"

namespace KvCore {

using namespace widgets;

namespace {

// Every item beside this one (and this one) unselected, in its normal look.
void UnselectAll(KV_GUI::__list& item) {
  KV_GUI::CONTROL* box = Ancestor(&item, 1);
  if (box == nullptr || box->node == nullptr) return;
  for (KV_GUI::NODE::ITERATOR it = box->node->Begin(); !it.IsEnd(); it.Next()) {
    KV_GUI::__list* sibling = dynamic_cast<KV_GUI::__list*>(it->value.Get());
    if (sibling == nullptr) continue;
    sibling->Selected = 0;
    sibling->StyleActive = sibling->StyleNormal;
  }
}

}  // namespace

KV_GUI::__list::__list() : Selected(0) {}

KV_GUI::__list::~__list() {}

void KV_GUI::__list::OnEvent() {
  if (Clicked(Events)) {
    // The toggle starts from the state before the others were cleared, so that a plain
    // click on the only selected item deselects it.
    unsigned char was = Selected;
    if (!KvKeyDown(VK_CONTROL)) UnselectAll(*this);
    Selected = was ? 0 : 1;
    StyleActive = Selected ? StyleSelected : StyleOver;
  }
  if ((Events & EVENT_ENTERED) && !Selected) StyleActive = StyleOver;
  if ((Events & EVENT_LEFT) && !Selected) StyleActive = StyleNormal;
}

}  // namespace KvCore
