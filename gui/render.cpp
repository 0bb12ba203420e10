// Skinned rendering of one control: the nine skin areas of the style that applies, the text
// with its optional outline, and the icon. Called by CONTROL::Draw after the clip is set and
// before the control's own drawing hook.
#include "gui/gui.h"

namespace KvCore {

void KV_GUI::CONTROL::Render(unsigned char parentDisabled)
{
    // The skin, text and icon drawing arrives with the skinned renderer.
    (void)parentDisabled;
}

}  // namespace KvCore
