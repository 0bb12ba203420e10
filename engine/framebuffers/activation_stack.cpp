// The stack of frame buffers holding drawing, and what each gives back when it lets go.
#include "engine/framebuffers/activation_stack.h"

#include <algorithm>
#include <cstddef>

#include "engine/objects/object_table.h"
#include "engine/states/render_states.h"
#include "engine/targets/render_targets.h"

namespace kv::engine {

DrawingInForce CaptureDrawing() {
  DrawingInForce drawing;
  std::copy_n(ViewportInForce(), 4, drawing.viewport);
  drawing.clip = States().clip;
  std::copy_n(States().clipRect, 4, drawing.clipRect);
  drawing.matrices = SaveMatrices();
  return drawing;
}

void RestoreDrawing(const DrawingInForce& drawing) {
  const int32_t* v = drawing.viewport;
  ApplyViewport(v[0], v[1], v[2], v[3]);
  SetClipping(drawing.clip, drawing.clipRect);
  RestoreMatrices(drawing.matrices);
}

KV_HANDLE ActivationStack::Top() const {
  return entries_.empty() ? KV_HANDLE{} : entries_.back().fb;
}

void ActivationStack::Push(KV_HANDLE fb, const DrawingInForce& before) {
  entries_.push_back(Entry{MakeHandle(fb.value), before});
}

DrawingInForce ActivationStack::Pop() {
  DrawingInForce before = entries_.back().before;
  entries_.pop_back();
  return before;
}

void ActivationStack::TakeOut(KV_HANDLE fb) {
  size_t i = 0;
  while (i < entries_.size()) {
    if (!(entries_[i].fb == fb)) {
      ++i;
      continue;
    }
    // The one above took over from the removed one; it now gives back what that one would have.
    if (i + 1 < entries_.size()) entries_[i + 1].before = entries_[i].before;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

}  // namespace kv::engine
