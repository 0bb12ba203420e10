// The registry of live windows: a short list, as a program has a handful of windows.
#include "app/window_registry.h"

#include <algorithm>
#include <vector>

#include "app/window.h"

namespace {

struct ENTRY {
  HWND hwnd;
  KV_WINDOW* window;
};

std::vector<ENTRY>& Entries() {
  static std::vector<ENTRY> entries;
  return entries;
}

}  // namespace

void KvRememberWindow(KV_WINDOW* window) {
  if (window == nullptr || window->hwnd == nullptr) return;
  KvForgetWindow(window);
  std::vector<ENTRY>& entries = Entries();
  entries.erase(std::remove_if(entries.begin(), entries.end(),
                               [window](const ENTRY& e) { return e.hwnd == window->hwnd; }),
                entries.end());
  entries.push_back(ENTRY{window->hwnd, window});
}

void KvForgetWindow(const KV_WINDOW* window) {
  std::vector<ENTRY>& entries = Entries();
  entries.erase(std::remove_if(entries.begin(), entries.end(),
                               [window](const ENTRY& e) { return e.window == window; }),
                entries.end());
}

KV_WINDOW* KvWindowOfHandle(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  for (const ENTRY& entry : Entries())
    if (entry.hwnd == hwnd) return entry.window;
  return nullptr;
}
