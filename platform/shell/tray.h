// The tray icons the program asked for, kept as records, one per (window, id). The records are
// the whole truth: the desktop's notification area (x_tray.h, on X) shows what they say, and
// where there is none (no host yet, Wayland, headless) they are all there is. Internal to
// platform/; the testing interface reads them back.
#pragma once

#include <string>
#include <vector>

#include "platform/winapi/records.h"

namespace platform {

// The last press on an icon, which a second press of the same button may make a double click.
struct TrayPress {
  unsigned button = 0;  // 0: none to pair with
  unsigned long time = 0;
  int x = 0;
  int y = 0;
};

struct TrayRecord {
  HWND hwnd = nullptr;
  UINT id = 0;
  UINT flags = 0;
  UINT callbackMessage = 0;
  HICON icon = nullptr;
  std::string tip;
  DWORD lastOperation = 0;
  // Counts the changes the desktop has to show: a host draws and names the icon again when it
  // differs from what it showed.
  unsigned revision = 0;
  TrayPress lastPress;
};

// The icons added and not yet deleted.
std::vector<TrayRecord>& TrayIcons();
// The icon of (window, id); null when none is added.
TrayRecord* FindTrayIcon(HWND hwnd, UINT id);
// Deletes every icon of a window (one that is being destroyed), from the records and the
// desktop.
void RemoveTrayIconsOf(HWND hwnd);
// Deletes every icon, from the records and the desktop.
void RemoveAllTrayIcons();

}  // namespace platform
