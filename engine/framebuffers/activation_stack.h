// The frame buffers drawing has been handed to, innermost last. Each entry keeps what was in
// force when its frame buffer took over (viewport, clipping and matrices), so giving drawing back
// returns to exactly that: the frame buffer beneath, or the render target under the outermost.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/kv_engine.h"
#include "engine/matrices/matrix_stacks.h"

namespace kv::engine {

// What drawing has in force besides where it goes.
struct DrawingInForce {
  int32_t viewport[4] = {0, 0, 0, 0};
  int32_t clip = 0;
  int32_t clipRect[4] = {0, 0, 0, 0};
  MatrixState matrices;
};

// The viewport, clipping and matrices in force now.
DrawingInForce CaptureDrawing();
// Puts them back.
void RestoreDrawing(const DrawingInForce& drawing);

class ActivationStack {
 public:
  // The frame buffer drawing goes to; a null handle when it goes to the render target.
  KV_HANDLE Top() const;
  bool Empty() const { return entries_.empty(); }
  // The frame buffer takes over drawing; before is what was in force until then.
  void Push(KV_HANDLE fb, const DrawingInForce& before);
  // Takes the top entry off and returns what was in force before it took over.
  DrawingInForce Pop();
  // Takes out every entry of the frame buffer (a top one included, without restoring anything):
  // the entry above each then gives back what the removed one would have, so unwinding skips it.
  void TakeOut(KV_HANDLE fb);

 private:
  struct Entry {
    KV_HANDLE fb;
    DrawingInForce before;
  };
  std::vector<Entry> entries_;
};

}  // namespace kv::engine
