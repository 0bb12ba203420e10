// The one header framework code includes for the window-system interface: types, records,
// constants and calls, all served by platform/ on SDL2 and POSIX.
#pragma once

#include "platform/winapi/types.h"
#include "platform/winapi/records.h"
#include "platform/winapi/constants.h"
#include "platform/winapi/functions.h"
