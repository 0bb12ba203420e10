// Window classes by name: the procedure every window of a class calls. Internal to platform/.
#pragma once

#include "platform/winapi/records.h"

namespace platform {

// The registered class of that name (compared without case); null when none.
const WNDCLASSA* FindWindowClass(const char* name);
// Drops every class (the testing interface's reset).
void ForgetWindowClasses();

}  // namespace platform
