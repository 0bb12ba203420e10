// The live windows of the process: what each handle stands for and what was asked of it.
// Internal to platform/. Handles are numbers that are never reused, so a destroyed window's
// handle stays unknown for good. The records own their SDL windows.
#pragma once

#include <SDL2/SDL.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/winapi/records.h"

namespace platform {

// Places or sizes (x, y or width, height) that the program gave a window itself (MoveWindow)
// and the desktop has not reported back yet, oldest first. A report of one of them is the echo
// of the program's own request, already told to the window procedure. Any other report is the
// desktop's own word, which answers or overrides every request before it (a window manager may
// place a window elsewhere than asked): those are forgotten then. A few are kept: a desktop that
// never reports a request (a headless driver) lets the oldest drop.
class AskedValues {
 public:
  void Add(int first, int second);
  // Whether (first, second) is one of them; that one and the older ones are taken.
  bool TakeEcho(int first, int second);
  void Forget() { values_.clear(); }

 private:
  std::vector<POINT> values_;
};

struct WindowRecord {
  uintptr_t id = 0;
  std::string className;
  std::string title;
  DWORD style = 0;
  DWORD exStyle = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool visible = false;
  SDL_Window* sdl = nullptr;
  AskedValues placesAsked;
  AskedValues sizesAsked;
  // Last layered attributes asked for.
  COLORREF colorKey = 0;
  BYTE alpha = 255;
  DWORD layeredFlags = 0;
  // Made with a visual that has an alpha channel: its frames arrive as pictures (layered_frames.h).
  bool alphaVisual = false;
  // The mask the colour key last gave the window's shape (empty: its whole rectangle), and the
  // frame size it was made for.
  std::vector<uint8_t> shape;
  int shapeWidth = 0;
  int shapeHeight = 0;
};

// Which window is in front, has the keys, and is active (null when none).
struct FocusState {
  HWND foreground = nullptr;
  HWND focus = nullptr;
  HWND active = nullptr;
};

// Every live window by its number.
std::map<uintptr_t, std::unique_ptr<WindowRecord>>& Windows();
FocusState& Focus();
// The record of a live window; null for a null, unknown or destroyed window.
WindowRecord* FindWindowRecord(HWND hwnd);
// The handle of a record.
HWND HandleOf(const WindowRecord& record);
// The window behind an SDL window id; null when none.
HWND WindowOfSdlId(uint32_t sdlId);
// Adds a record and gives it the next number.
WindowRecord& AddWindowRecord(std::unique_ptr<WindowRecord> record);
// Whether a live window uses the class (compared without case).
bool ClassHasWindows(const char* className);

}  // namespace platform
