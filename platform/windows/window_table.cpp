// The window table and its lookups.
#include "platform/windows/window_table.h"

#include <strings.h>

#include "platform/windows/sdl_window.h"

namespace platform {

namespace {
constexpr size_t kAskedKept = 8;
}

void AskedValues::Add(int first, int second) {
  if (values_.size() == kAskedKept) values_.erase(values_.begin());
  values_.push_back(POINT{first, second});
}

bool AskedValues::TakeEcho(int first, int second) {
  for (size_t i = 0; i < values_.size(); ++i) {
    if (values_[i].x == first && values_[i].y == second) {
      values_.erase(values_.begin(), values_.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      return true;
    }
  }
  return false;
}

std::map<uintptr_t, std::unique_ptr<WindowRecord>>& Windows() {
  static std::map<uintptr_t, std::unique_ptr<WindowRecord>> windows;
  return windows;
}

FocusState& Focus() {
  static FocusState focus;
  return focus;
}

WindowRecord* FindWindowRecord(HWND hwnd) {
  auto& windows = Windows();
  auto found = windows.find(reinterpret_cast<uintptr_t>(hwnd));
  return found == windows.end() ? nullptr : found->second.get();
}

HWND HandleOf(const WindowRecord& record) { return reinterpret_cast<HWND>(record.id); }

HWND WindowOfSdlId(uint32_t sdlId) {
  for (auto& [id, record] : Windows()) {
    if (record->sdl != nullptr && SDL_GetWindowID(record->sdl) == sdlId) return HandleOf(*record);
  }
  return nullptr;
}

WindowRecord& AddWindowRecord(std::unique_ptr<WindowRecord> record) {
  static uintptr_t nextId = 0;
  record->id = ++nextId;
  WindowRecord& added = *record;
  Windows()[added.id] = std::move(record);
  return added;
}

bool ClassHasWindows(const char* className) {
  for (auto& [id, record] : Windows()) {
    if (strcasecmp(record->className.c_str(), className) == 0) return true;
  }
  return false;
}

SDL_Window* SdlWindowOf(HWND hwnd) {
  WindowRecord* record = FindWindowRecord(hwnd);
  return record == nullptr ? nullptr : record->sdl;
}

}  // namespace platform
