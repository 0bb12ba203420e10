// Shell_NotifyIconA over tray records, one per (window, id); after every change the desktop's
// notification area is brought in line with the records.
#include "platform/shell/tray.h"

#include <algorithm>
#include <cstring>

#include "platform/display/x_tray.h"
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

// The bytes of the tip field that the caller's record holds: an older, shorter record (its size
// says so) ends inside the field.
size_t TipCapacity(const NOTIFYICONDATAA& data) {
  size_t held = data.cbSize - offsetof(NOTIFYICONDATAA, szTip);
  return std::min(held, sizeof data.szTip);
}

// Takes over the fields the record's flags name, as the shell does on add and modify. The tip
// field holds a terminated text: one that fills the field (128 characters) is cut to 127.
void TakeFields(TrayRecord& record, const NOTIFYICONDATAA& data) {
  record.flags |= data.uFlags & (NIF_MESSAGE | NIF_ICON | NIF_TIP);
  if (data.uFlags & NIF_MESSAGE) record.callbackMessage = data.uCallbackMessage;
  if (data.uFlags & NIF_ICON) record.icon = data.hIcon;
  size_t capacity = TipCapacity(data);
  if ((data.uFlags & NIF_TIP) && capacity > 0)
    record.tip.assign(data.szTip, strnlen(data.szTip, capacity - 1));
  ++record.revision;
}

BOOL Add(const NOTIFYICONDATAA& data) {
  TrayRecord record;
  record.hwnd = data.hWnd;
  record.id = data.uID;
  TakeFields(record, data);
  record.lastOperation = NIM_ADD;
  TrayIcons().push_back(record);
  return TRUE;
}

}  // namespace

std::vector<TrayRecord>& TrayIcons() {
  static std::vector<TrayRecord> icons;
  return icons;
}

TrayRecord* FindTrayIcon(HWND hwnd, UINT id) {
  auto found = FindTray(hwnd, id);
  return found != TrayIcons().end() ? &*found : nullptr;
}

void RemoveTrayIconsOf(HWND hwnd) {
  auto& icons = TrayIcons();
  size_t before = icons.size();
  std::erase_if(icons, [&](const TrayRecord& record) { return record.hwnd == hwnd; });
  if (icons.size() != before) FollowTrayIcons();
}

void RemoveAllTrayIcons() {
  TrayIcons().clear();
  FollowTrayIcons();
}

}  // namespace platform

BOOL WINAPI Shell_NotifyIconA(DWORD message, PNOTIFYICONDATAA data) {
  using namespace platform;
  if (data == nullptr || data->cbSize < offsetof(NOTIFYICONDATAA, szTip)) return FALSE;
  auto found = FindTray(data->hWnd, data->uID);
  bool known = found != TrayIcons().end();
  BOOL result = FALSE;
  switch (message) {
    case NIM_ADD:
      if (!known && FindWindowRecord(data->hWnd) != nullptr) result = Add(*data);
      break;
    case NIM_MODIFY:
      if (!known) break;
      TakeFields(*found, *data);
      found->lastOperation = NIM_MODIFY;
      result = TRUE;
      break;
    case NIM_DELETE:
      if (!known) break;
      TrayIcons().erase(found);
      result = TRUE;
      break;
    default: break;
  }
  if (result) FollowTrayIcons();
  return result;
}
