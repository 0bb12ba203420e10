// X pointer button -> tray callback mouse messages; a button not in the table (the wheel's 4 to
// 7, the side buttons) sends nothing, as the shell sends nothing for them to a tray icon.
#include "platform/shell/tray_button_table.h"

#include <X11/X.h>

#include "platform/winapi/constants.h"

namespace platform {
namespace {

struct TrayButtonEntry {
  unsigned xButton;
  TrayButtonMessages messages;
};

constexpr TrayButtonEntry kTrayButtons[] = {
    {Button1, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}},
    {Button2, {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK}},
    {Button3, {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK}},
};

}  // namespace

const TrayButtonMessages* TrayMessagesOfButton(unsigned xButton) {
  for (const TrayButtonEntry& entry : kTrayButtons) {
    if (entry.xButton == xButton) return &entry.messages;
  }
  return nullptr;
}

}  // namespace platform
