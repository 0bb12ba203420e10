// X errors that a focus request may cause without anything being wrong. Internal to platform/.
#pragma once

namespace platform {

// On the X11 driver: an input-focus request for a window that a window manager has not made
// viewable yet (it maps the window before its frame) fails with an X error, which would end the
// process; such errors are dropped, as a desktop drops a focus request it cannot grant. Every
// other error goes to the handler that was in place. Call once, after video has started.
void TolerateFocusRequestErrors();

}  // namespace platform
