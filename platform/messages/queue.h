// The thread's message queue: posted messages in order, and the quit request that is taken only
// once no other message waits. Internal to platform/.
#pragma once

#include <SDL2/SDL.h>

#include <cstddef>
#include <deque>
#include <vector>

#include "platform/messages/focus_keys.h"
#include "platform/winapi/records.h"

namespace platform {

// Bit 25 of a key message's lParam, one the window system reserves: set when Control was held as
// the key event happened, so that TranslateMessage makes the control character that the message
// itself describes.
constexpr LPARAM kControlHeldBit = LPARAM(1) << 25;

struct MessageQueue {
  std::deque<MSG> posted;
  bool quitPending = false;
  int exitCode = 0;
  // Keys held across a focus change (focus_keys.h); for the timed fallback, since when, and
  // whether a window of the program has taken the focus since.
  std::vector<CarriedKey> carried;
  DWORD carriedSince = 0;
  bool focusArrived = false;
  // Key-ups that ended the last batch, which the next one decides (focus_keys.h).
  std::vector<SDL_Event> awaited;
};

// The queue of the calling thread.
MessageQueue& ThreadQueue();
// Appends a message to the calling thread's queue.
void PostToQueue(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Turns SDL events, in the order SDL gave them, into the messages they stand for, posted in
// order, then posts the releases of carried keys let go since (focus_keys.h). Events are seen
// together because a focus change comes as several of them; key-ups that end a batch may wait
// for the next one.
void TranslateSdlEvents(const SDL_Event* events, size_t count);

}  // namespace platform
