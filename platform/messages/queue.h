// The thread's message queue: posted messages in order, and the quit request that is taken only
// once no other message waits. Internal to platform/.
#pragma once

#include <SDL2/SDL.h>

#include <deque>

#include "platform/winapi/records.h"

namespace platform {

struct MessageQueue {
  std::deque<MSG> posted;
  bool quitPending = false;
  int exitCode = 0;
  // Whether Control was held at the last key event, for the control characters it makes.
  bool controlHeld = false;
};

// The queue of the calling thread.
MessageQueue& ThreadQueue();
// Appends a message to the calling thread's queue.
void PostToQueue(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Turns one SDL event into the messages it stands for, posted in order.
void TranslateSdlEvent(const SDL_Event& event);

}  // namespace platform
