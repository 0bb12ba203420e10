// Tray icon clicks. The shell sends a double-click message in place of the second press, then
// the release as usual; a third press starts over.
#include "platform/shell/tray_clicks.h"

#include <cstdint>
#include <cstdlib>

#include "platform/messages/queue.h"
#include "platform/shell/tray_button_table.h"
#include "platform/winapi/windows.h"

namespace platform {
namespace {

// The window system's default double-click time and the half width of its double-click
// rectangle (4 x 4 pixels around the first press).
constexpr unsigned long kDoubleClickTime = 500;
constexpr int kDoubleClickReach = 2;

bool PairsWith(const TrayPress& first, const TrayPointerEvent& second) {
  // Time stamps are 32 bits and wrap around after 49 days; their 32-bit difference stays right
  // across it.
  uint32_t elapsed = static_cast<uint32_t>(second.time - first.time);
  return first.button == second.button && elapsed <= kDoubleClickTime &&
         std::abs(second.x - first.x) <= kDoubleClickReach &&
         std::abs(second.y - first.y) <= kDoubleClickReach;
}

void Post(const TrayRecord& record, UINT mouseMessage) {
  PostToQueue(record.hwnd, record.callbackMessage, record.id, mouseMessage);
}

// A move is coalesced with one of the same icon still waiting at the end of the queue.
bool MoveWaiting(const TrayRecord& record) {
  const auto& posted = ThreadQueue().posted;
  if (posted.empty()) return false;
  const MSG& last = posted.back();
  return last.hwnd == record.hwnd && last.message == record.callbackMessage &&
         last.wParam == record.id && last.lParam == WM_MOUSEMOVE;
}

void Press(TrayRecord& record, const TrayPointerEvent& event, const TrayButtonMessages& messages) {
  if (PairsWith(record.lastPress, event)) {
    Post(record, messages.doubleClick);
    record.lastPress = TrayPress{};
    return;
  }
  Post(record, messages.down);
  record.lastPress = TrayPress{event.button, event.time, event.x, event.y};
}

}  // namespace

void TranslateTrayPointer(TrayRecord& record, const TrayPointerEvent& event) {
  if (!(record.flags & NIF_MESSAGE)) return;
  if (event.kind == TrayPointerEvent::Kind::Motion) {
    if (!MoveWaiting(record)) Post(record, WM_MOUSEMOVE);
    return;
  }
  const TrayButtonMessages* messages = TrayMessagesOfButton(event.button);
  if (messages == nullptr) return;
  if (event.kind == TrayPointerEvent::Kind::Press) {
    Press(record, event, *messages);
  } else {
    Post(record, messages->up);
  }
}

}  // namespace platform
