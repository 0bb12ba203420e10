// The thread's message queue: posted messages in order, and the quit request that is taken only
// once no other message waits. Internal to platform/.
#pragma once

#include <SDL2/SDL.h>

#include <deque>

#include "platform/winapi/records.h"

namespace platform {

// A posted message and whether Control was held when its key event happened, which decides the
// control character TranslateMessage makes of it.
struct QueuedMessage {
  MSG msg;
  bool controlHeld;
};

struct MessageQueue {
  std::deque<QueuedMessage> posted;
  bool quitPending = false;
  int exitCode = 0;
  // Control held at the key event being translated now, and at the message taken last.
  bool controlHeld = false;
  bool takenWithControl = false;
};

// The queue of the calling thread.
MessageQueue& ThreadQueue();
// Appends a message to the calling thread's queue.
void PostToQueue(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Turns one SDL event into the messages it stands for, posted in order.
void TranslateSdlEvent(const SDL_Event& event);

}  // namespace platform
