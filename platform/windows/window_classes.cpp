// RegisterClassA and UnregisterClassA over a table of classes by name.
#include "platform/windows/window_classes.h"

#include <strings.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/testing/test_hooks.h"
#include "platform/windows/window_table.h"
#include "platform/winapi/windows.h"

namespace platform {
namespace {

// A class keeps its own copy of the name; the caller's text may go away.
struct ClassRecord {
  std::string name;
  WNDCLASSA windowClass;
  ATOM atom;
};

std::vector<ClassRecord>& Classes() {
  static std::vector<ClassRecord> classes;
  return classes;
}

std::vector<ClassRecord>::iterator FindClassRecord(const char* name) {
  auto& classes = Classes();
  for (auto it = classes.begin(); it != classes.end(); ++it) {
    if (strcasecmp(it->name.c_str(), name) == 0) return it;
  }
  return classes.end();
}

}  // namespace

const WNDCLASSA* FindWindowClass(const char* name) {
  if (name == nullptr || IS_INTRESOURCE(name)) return nullptr;
  auto found = FindClassRecord(name);
  return found == Classes().end() ? nullptr : &found->windowClass;
}

LRESULT CallWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecord* window = FindWindowRecord(hwnd);
  if (window == nullptr) return 0;
  const WNDCLASSA* windowClass = FindWindowClass(window->className.c_str());
  if (windowClass == nullptr || windowClass->lpfnWndProc == nullptr) return 0;
  return windowClass->lpfnWndProc(hwnd, message, wParam, lParam);
}

void ForgetWindowClasses() { Classes().clear(); }

}  // namespace platform

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
  using namespace platform;
  if (windowClass == nullptr || windowClass->lpszClassName == nullptr ||
      IS_INTRESOURCE(windowClass->lpszClassName) || windowClass->lpszClassName[0] == '\0') {
    return 0;
  }
  if (ConsumeFailure(Hooks().failRegisterClass)) return 0;
  if (FindClassRecord(windowClass->lpszClassName) != Classes().end()) return 0;
  static ATOM nextAtom = 0xC000;
  ClassRecord record{windowClass->lpszClassName, *windowClass, nextAtom++};
  Classes().push_back(record);
  Classes().back().windowClass.lpszClassName = nullptr;
  Classes().back().windowClass.lpszMenuName = nullptr;
  return Classes().back().atom;
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE) {
  using namespace platform;
  if (className == nullptr || IS_INTRESOURCE(className)) return FALSE;
  auto found = FindClassRecord(className);
  if (found == Classes().end() || ClassHasWindows(className)) return FALSE;
  Classes().erase(found);
  return TRUE;
}
