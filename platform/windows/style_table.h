// Window style bits to SDL window flags. Internal to platform/.
#pragma once

#include <cstdint>

#include "platform/winapi/types.h"

namespace platform {

// The SDL flags that stand for a window's style and extended style (without OpenGL or hidden).
uint32_t SdlFlagsOfStyles(DWORD style, DWORD exStyle);

}  // namespace platform
