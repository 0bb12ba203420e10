// X pointer buttons to the mouse messages that a tray icon's callback carries. Internal to
// platform/.
#pragma once

#include "platform/winapi/types.h"

namespace platform {

struct TrayButtonMessages {
  UINT down;
  UINT up;
  UINT doubleClick;  // what a second press soon after the first one is
};

// The messages of an X button (1 left, 2 middle, 3 right); null for a button without messages.
const TrayButtonMessages* TrayMessagesOfButton(unsigned xButton);

}  // namespace platform
