// SDL mouse buttons to button messages. Internal to platform/.
#pragma once

#include <cstdint>

#include "platform/winapi/types.h"

namespace platform {

struct ButtonMessages {
  UINT down;
  UINT up;
  WORD xButton;  // which X button (the high word of wParam), 0 for the three main buttons
};

// The messages of an SDL button; null for a button without messages.
const ButtonMessages* MessagesOfButton(uint8_t sdlButton);

}  // namespace platform
