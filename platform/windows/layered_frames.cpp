// The frames of layered windows: pictures onto alpha-visual windows and colour-key shapes.
#include "platform/windows/layered_frames.h"

#include "platform/display/x_layered.h"
#include "platform/windows/color_key_mask.h"
#include "platform/windows/window_table.h"
#include "platform/winapi/windows.h"

namespace platform {
namespace {

WindowRecord* RecordOf(SDL_Window* window) {
  if (window == nullptr) return nullptr;
  return FindWindowRecord(WindowOfSdlId(SDL_GetWindowID(window)));
}

bool KeyApplies(const WindowRecord& record) {
  return (record.exStyle & WS_EX_LAYERED) && (record.layeredFlags & LWA_COLORKEY);
}

}  // namespace

FrameNeeds FrameNeedsOf(SDL_Window* window) {
  FrameNeeds needs;
  const WindowRecord* record = RecordOf(window);
  if (record == nullptr) return needs;
  needs.picture = record->alphaVisual;
  needs.plainPresentsShow = !(record->exStyle & WS_EX_LAYERED) ||
                            (record->layeredFlags & (LWA_ALPHA | LWA_COLORKEY)) != 0;
  // Shapes are an X matter: elsewhere the key stays recorded only, and no frame is read for it.
  needs.colorKey = KeyApplies(*record) && X11Video();
  return needs;
}

bool WindowCanShowAlpha(SDL_Window* window) {
  const WindowRecord* record = RecordOf(window);
  if (record == nullptr || !(record->exStyle & WS_EX_LAYERED)) return false;
  return (record->alphaVisual && CompositorRuns(window)) || CompositorFollowed();
}

bool PutFrame(SDL_Window* window, const uint8_t* pixels, int w, int h) {
  const WindowRecord* record = RecordOf(window);
  return record != nullptr && record->alphaVisual && PutWindowPicture(window, pixels, w, h);
}

void CutColorKey(SDL_Window* window, const uint8_t* pixels, int w, int h) {
  WindowRecord* record = RecordOf(window);
  if (record == nullptr || !KeyApplies(*record)) return;
  std::vector<uint8_t> mask = ColorKeyMask(pixels, w, h, record->colorKey);
  if (mask == record->shape && w == record->shapeWidth && h == record->shapeHeight) return;
  SetWindowShape(window, mask.empty() ? nullptr : mask.data(), w, h);
  record->shape = std::move(mask);
  record->shapeWidth = w;
  record->shapeHeight = h;
}

void DropColorKeyShape(WindowRecord& window) {
  if (window.shape.empty()) return;
  SetWindowShape(window.sdl, nullptr, 0, 0);
  window.shape.clear();
  window.shapeWidth = window.shapeHeight = 0;
}

}  // namespace platform
