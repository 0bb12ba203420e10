// SDL key code -> X key symbol. A character key's symbol is its character (Latin-1 as it is, the
// control characters as the X function keys of the same low byte, any other character as its
// Unicode symbol); a key without a character is looked up in the table, and one not in it has
// no symbol (0).
// A key may have a second symbol, which it bears on other layouts.
#include "platform/display/x_keysym_table.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

namespace platform {
namespace {

struct KeysymEntry {
  SDL_Keycode key;
  XKeysyms keysyms;
};

constexpr KeysymEntry kKeysyms[] = {
    {SDLK_CAPSLOCK, {XK_Caps_Lock, 0}},
    {SDLK_F1, {XK_F1, 0}},
    {SDLK_F2, {XK_F2, 0}},
    {SDLK_F3, {XK_F3, 0}},
    {SDLK_F4, {XK_F4, 0}},
    {SDLK_F5, {XK_F5, 0}},
    {SDLK_F6, {XK_F6, 0}},
    {SDLK_F7, {XK_F7, 0}},
    {SDLK_F8, {XK_F8, 0}},
    {SDLK_F9, {XK_F9, 0}},
    {SDLK_F10, {XK_F10, 0}},
    {SDLK_F11, {XK_F11, 0}},
    {SDLK_F12, {XK_F12, 0}},
    {SDLK_F13, {XK_F13, 0}},
    {SDLK_F14, {XK_F14, 0}},
    {SDLK_F15, {XK_F15, 0}},
    {SDLK_F16, {XK_F16, 0}},
    {SDLK_F17, {XK_F17, 0}},
    {SDLK_F18, {XK_F18, 0}},
    {SDLK_F19, {XK_F19, 0}},
    {SDLK_F20, {XK_F20, 0}},
    {SDLK_F21, {XK_F21, 0}},
    {SDLK_F22, {XK_F22, 0}},
    {SDLK_F23, {XK_F23, 0}},
    {SDLK_F24, {XK_F24, 0}},
    {SDLK_PRINTSCREEN, {XK_Print, 0}},
    {SDLK_SCROLLLOCK, {XK_Scroll_Lock, 0}},
    {SDLK_PAUSE, {XK_Pause, 0}},
    {SDLK_INSERT, {XK_Insert, 0}},
    {SDLK_HOME, {XK_Home, 0}},
    {SDLK_PAGEUP, {XK_Prior, 0}},
    {SDLK_END, {XK_End, 0}},
    {SDLK_PAGEDOWN, {XK_Next, 0}},
    {SDLK_RIGHT, {XK_Right, 0}},
    {SDLK_LEFT, {XK_Left, 0}},
    {SDLK_DOWN, {XK_Down, 0}},
    {SDLK_UP, {XK_Up, 0}},
    {SDLK_NUMLOCKCLEAR, {XK_Num_Lock, 0}},
    {SDLK_KP_DIVIDE, {XK_KP_Divide, 0}},
    {SDLK_KP_MULTIPLY, {XK_KP_Multiply, 0}},
    {SDLK_KP_MINUS, {XK_KP_Subtract, 0}},
    {SDLK_KP_PLUS, {XK_KP_Add, 0}},
    {SDLK_KP_ENTER, {XK_KP_Enter, 0}},
    {SDLK_KP_1, {XK_KP_1, 0}},
    {SDLK_KP_2, {XK_KP_2, 0}},
    {SDLK_KP_3, {XK_KP_3, 0}},
    {SDLK_KP_4, {XK_KP_4, 0}},
    {SDLK_KP_5, {XK_KP_5, 0}},
    {SDLK_KP_6, {XK_KP_6, 0}},
    {SDLK_KP_7, {XK_KP_7, 0}},
    {SDLK_KP_8, {XK_KP_8, 0}},
    {SDLK_KP_9, {XK_KP_9, 0}},
    {SDLK_KP_0, {XK_KP_0, 0}},
    {SDLK_KP_PERIOD, {XK_KP_Decimal, 0}},
    {SDLK_KP_DECIMAL, {XK_KP_Decimal, 0}},
    {SDLK_APPLICATION, {XK_Menu, 0}},
    {SDLK_EXECUTE, {XK_Execute, 0}},
    {SDLK_HELP, {XK_Help, 0}},
    {SDLK_SELECT, {XK_Select, 0}},
    {SDLK_CLEAR, {XK_Clear, 0}},
    {SDLK_LCTRL, {XK_Control_L, 0}},
    {SDLK_LSHIFT, {XK_Shift_L, 0}},
    {SDLK_LALT, {XK_Alt_L, 0}},
    {SDLK_LGUI, {XK_Super_L, 0}},
    {SDLK_RCTRL, {XK_Control_R, 0}},
    {SDLK_RSHIFT, {XK_Shift_R, 0}},
    // The right Alt key is the third-level shift on many layouts.
    {SDLK_RALT, {XK_Alt_R, XK_ISO_Level3_Shift}},
    {SDLK_RGUI, {XK_Super_R, 0}},
    {SDLK_MUTE, {XF86XK_AudioMute, 0}},
    {SDLK_VOLUMEUP, {XF86XK_AudioRaiseVolume, 0}},
    {SDLK_VOLUMEDOWN, {XF86XK_AudioLowerVolume, 0}},
    {SDLK_AUDIONEXT, {XF86XK_AudioNext, 0}},
    {SDLK_AUDIOPREV, {XF86XK_AudioPrev, 0}},
    {SDLK_AUDIOSTOP, {XF86XK_AudioStop, 0}},
    {SDLK_AUDIOPLAY, {XF86XK_AudioPlay, 0}},
    {SDLK_SLEEP, {XF86XK_Sleep, 0}},
};

// Unicode characters above Latin-1 have key symbols of their own: the code point plus this.
constexpr unsigned long kUnicodeKeysyms = 0x01000000;

unsigned long KeysymOfCharacter(SDL_Keycode character) {
  if (character == SDLK_DELETE) return XK_Delete;
  if (character < SDLK_SPACE) return 0xFF00 | static_cast<unsigned long>(character);
  if (character <= 0xFF) return static_cast<unsigned long>(character);
  return kUnicodeKeysyms | static_cast<unsigned long>(character);
}

}  // namespace

XKeysyms XKeysymsOfKey(SDL_Keycode key) {
  if ((key & SDLK_SCANCODE_MASK) == 0) return {key > 0 ? KeysymOfCharacter(key) : 0, 0};
  for (const KeysymEntry& entry : kKeysyms) {
    if (entry.key == key) return entry.keysyms;
  }
  return {0, 0};
}

}  // namespace platform
