// The cursor's display counter. Internal to platform/.
#pragma once

namespace platform {

// The counter ShowCursor moves; the cursor shows while it is >= 0.
int& CursorDisplayCounter();

}  // namespace platform
