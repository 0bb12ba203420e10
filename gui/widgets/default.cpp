// A plain part: it has no behaviour of its own.
#include "gui/widgets/default.h"

namespace KvCore {

KV_GUI::__default::__default() {}

KV_GUI::__default::~__default() {}

void KV_GUI::__default::OnEvent() {}

}  // namespace KvCore
