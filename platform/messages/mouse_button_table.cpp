// SDL mouse button -> button messages; a button not in the table sends nothing. A second click
// is always another button-down: window classes here never ask for double-click messages.
#include "platform/messages/mouse_button_table.h"

#include <SDL2/SDL.h>

#include "platform/winapi/constants.h"

namespace platform {
namespace {

struct ButtonEntry {
  uint8_t sdlButton;
  ButtonMessages messages;
};

constexpr ButtonEntry kButtons[] = {
    {SDL_BUTTON_LEFT, {WM_LBUTTONDOWN, WM_LBUTTONUP, 0}},
    {SDL_BUTTON_MIDDLE, {WM_MBUTTONDOWN, WM_MBUTTONUP, 0}},
    {SDL_BUTTON_RIGHT, {WM_RBUTTONDOWN, WM_RBUTTONUP, 0}},
    {SDL_BUTTON_X1, {WM_XBUTTONDOWN, WM_XBUTTONUP, XBUTTON1}},
    {SDL_BUTTON_X2, {WM_XBUTTONDOWN, WM_XBUTTONUP, XBUTTON2}},
};

}  // namespace

const ButtonMessages* MessagesOfButton(uint8_t sdlButton) {
  for (const ButtonEntry& entry : kButtons) {
    if (entry.sdlButton == sdlButton) return &entry.messages;
  }
  return nullptr;
}

}  // namespace platform
