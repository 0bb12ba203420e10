// The tray icons the program asked for, kept as records: SDL2 has no tray, so none is shown.
// Internal to platform/; the testing interface reads them back.
#pragma once

#include <string>
#include <vector>

#include "platform/winapi/records.h"

namespace platform {

struct TrayRecord {
  HWND hwnd = nullptr;
  UINT id = 0;
  UINT flags = 0;
  UINT callbackMessage = 0;
  HICON icon = nullptr;
  std::string tip;
  DWORD lastOperation = 0;
};

// The icons added and not yet deleted.
std::vector<TrayRecord>& TrayIcons();

}  // namespace platform
