// Shell_NotifyIconA over tray records, one per (window, id).
#include "platform/shell/tray.h"

#include <algorithm>
#include <cstring>

#include "platform/windows/window_table.h"
#include "platform/winapi/windows.h"

namespace platform {
namespace {

std::vector<TrayRecord>::iterator FindTray(HWND hwnd, UINT id) {
  auto& icons = TrayIcons();
  return std::find_if(icons.begin(), icons.end(), [&](const TrayRecord& record) {
    return record.hwnd == hwnd && record.id == id;
  });
}

// Takes over the fields the record's flags name, as the shell does on add and modify.
void TakeFields(TrayRecord& record, const NOTIFYICONDATAA& data) {
  record.flags |= data.uFlags & (NIF_MESSAGE | NIF_ICON | NIF_TIP);
  if (data.uFlags & NIF_MESSAGE) record.callbackMessage = data.uCallbackMessage;
  if (data.uFlags & NIF_ICON) record.icon = data.hIcon;
  if (data.uFlags & NIF_TIP) record.tip.assign(data.szTip, strnlen(data.szTip, sizeof data.szTip));
}

}  // namespace

std::vector<TrayRecord>& TrayIcons() {
  static std::vector<TrayRecord> icons;
  return icons;
}

}  // namespace platform

BOOL WINAPI Shell_NotifyIconA(DWORD message, PNOTIFYICONDATAA data) {
  using namespace platform;
  if (data == nullptr || data->cbSize < offsetof(NOTIFYICONDATAA, szTip)) return FALSE;
  auto found = FindTray(data->hWnd, data->uID);
  bool known = found != TrayIcons().end();
  switch (message) {
    case NIM_ADD: {
      if (known || FindWindowRecord(data->hWnd) == nullptr) return FALSE;
      TrayRecord record;
      record.hwnd = data->hWnd;
      record.id = data->uID;
      TakeFields(record, *data);
      record.lastOperation = NIM_ADD;
      TrayIcons().push_back(record);
      return TRUE;
    }
    case NIM_MODIFY:
      if (!known) return FALSE;
      TakeFields(*found, *data);
      found->lastOperation = NIM_MODIFY;
      return TRUE;
    case NIM_DELETE:
      if (!known) return FALSE;
      TrayIcons().erase(found);
      return TRUE;
    default: return FALSE;
  }
}
