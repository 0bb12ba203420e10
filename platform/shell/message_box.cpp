// Message boxes on SDL's message box: the window system's button sets and icons mapped to SDL's,
// the texts turned from the 8-bit code page into UTF-8. Without a desktop nothing is shown and
// the result is 0, the window system's answer when a box cannot be made.
#include <SDL2/SDL.h>

#include <vector>

#include "platform/shell/desktop.h"
#include "platform/testing/service_hooks.h"
#include "platform/text/code_page.h"
#include "platform/windows/sdl_window.h"
#include "platform/winapi/shell.h"
#include "platform/winapi/windows.h"

namespace {

struct Button {
  int id;
  const char* text;
};

// The buttons of each button set (MB_OK ... MB_RETRYCANCEL), left to right; empty for an
// unknown set.
std::vector<Button> ButtonsOf(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OK: return {{IDOK, "OK"}};
    case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, "Abort"}, {IDRETRY, "Retry"}, {IDIGNORE, "Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, "Yes"}, {IDNO, "No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO: return {{IDYES, "Yes"}, {IDNO, "No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, "Retry"}, {IDCANCEL, "Cancel"}};
    default: return {};
  }
}

Uint32 IconFlags(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONERROR: return SDL_MESSAGEBOX_ERROR;
    case MB_ICONWARNING: return SDL_MESSAGEBOX_WARNING;
    case MB_ICONQUESTION:
    case MB_ICONINFORMATION: return SDL_MESSAGEBOX_INFORMATION;
    default: return 0;
  }
}

// The answer when the box is closed without a button: Cancel where there is one, OK for a
// box with only OK; boxes without either cannot be closed that way and answer their last button.
int ClosedAnswer(const std::vector<Button>& buttons) {
  for (const Button& button : buttons)
    if (button.id == IDCANCEL) return IDCANCEL;
  if (buttons.size() == 1) return buttons[0].id;
  return buttons.back().id;
}

}  // namespace

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  platform::Services().lastMessageBox = platform::testing::MessageBoxRecord{
      owner, text != nullptr ? text : "", caption != nullptr ? caption : "Error", type};
  std::vector<Button> buttons = ButtonsOf(type);
  if (buttons.empty() || !platform::DesktopAvailable()) return 0;

  std::string message = platform::Latin1ToUtf8(text != nullptr ? text : "");
  std::string title = platform::Latin1ToUtf8(caption != nullptr ? caption : "Error");
  std::vector<SDL_MessageBoxButtonData> sdlButtons;
  for (const Button& button : buttons) {
    Uint32 flags = 0;
    if (&button == &buttons.front()) flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    if (button.id == ClosedAnswer(buttons)) flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    sdlButtons.push_back({flags, button.id, button.text});
  }
  SDL_MessageBoxData data{};
  data.flags = IconFlags(type);
  data.window = platform::SdlWindowOf(owner);
  data.title = title.c_str();
  data.message = message.c_str();
  data.numbuttons = static_cast<int>(sdlButtons.size());
  data.buttons = sdlButtons.data();
  int chosen = -1;
  if (SDL_ShowMessageBox(&data, &chosen) != 0) return 0;
  return chosen < 0 ? ClosedAnswer(buttons) : chosen;
}
