// KvCore::KV_GUI::__edit: the text field of an edit box. A click starts editing; while editing
// it takes typed characters, moves the caret with Home, End, Left and Right, deletes with
// Backspace and Delete, blinks the caret and shows the text (masked with "*" in password
// mode); a button held outside ends editing, and so does its window (or any control above it)
// being switched off, hidden or removed. It owns the two halves of the text.
#pragma once

#include <cstdint>

#include "gui/gui.h"

namespace KvCore {

class KV_GUI::__edit : public CONTROL {
 public:
  unsigned char Editing;     // 1 while the field takes input
  float BlinkTimer;          // seconds until the caret toggles
  unsigned char CaretShown;  // 1 while the caret "|" is shown
  KV_STRING TextLeft;        // the text left of the caret
  KV_STRING TextRight;       // the text right of the caret
  unsigned char Masked;      // 1: password mode, shown as "*"

  // Not editing, no caret, empty text, masked.
  __edit();
  ~__edit() override;
  // Reacts to this frame's event bits (see the .cpp for the rules of each part).
  void OnEvent() override;
  // Ends editing: the text is shown without caret and the outer edit box hears EDIT_ENDED.
  // Nothing when the field is not editing.
  void EndEditing();
};

}  // namespace KvCore
