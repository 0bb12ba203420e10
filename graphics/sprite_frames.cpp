// KV_SPRITE's frame list: adding and removing frames, selecting one, and the two animations
// (through the frame list, and through the cells of a horizontal strip).
#include <cmath>

#include "graphics/sprite.h"

namespace {

// Whole frames from a frame position: truncated toward zero, as a double so that no float
// is ever converted to an integer out of range.
double WholeFrames(float position) { return std::trunc((double)position); }

}  // namespace

bool KV_SPRITE::AddFrame(KV_HANDLE texture) {
  if (texture.IsNull()) return false;
  frames.PushBack(texture);
  return true;
}

bool KV_SPRITE::RemoveFrame(KV_HANDLE texture) {
  if (texture.IsNull()) return false;
  for (auto it = frames.Begin(); !it.IsEnd(); it.Next()) {
    if (!(*it == texture)) continue;
    // The selection must not keep pointing at a node that is about to go.
    if (it == currentFrame) {
      currentFrame.Reset();
      framePosition = -1.0f;
    }
    frames.Erase(it);
    return true;
  }
  return false;
}

uint32_t KV_SPRITE::GetFrameCount() const { return frames.Count(); }

bool KV_SPRITE::SetFrame(float index) {
  double i = WholeFrames(index);
  if (frames.Count() > 0 && i >= 0 && i < (double)frames.Count()) {
    currentFrame = frames.Begin();
    framePosition = index;
    for (int64_t step = 0; step < (int64_t)i; ++step) currentFrame.Next();
    return true;
  }
  currentFrame.Reset();
  framePosition = -1.0f;
  return false;
}

KV_HANDLE KV_SPRITE::GetTexture() const { return currentFrame.Handle(); }

KV_HANDLE* KV_SPRITE::GetFramePtr() const { return currentFrame.Get(); }

float KV_SPRITE::GetFramePosition() const { return framePosition; }

void KV_SPRITE::Animate(float delta) {
  uint32_t count = frames.Count();
  if (count == 0) {
    currentFrame.Reset();
    framePosition = 0;
    // The wrap below has no value for an empty list: the position stays 0.
    return;
  }
  double steps = WholeFrames(framePosition + delta) - WholeFrames(framePosition);
  bool forward = steps > 0;
  steps = std::fabs(steps);
  // The frames form a cycle of count steps, so a long run needs only its remainder; a cursor
  // with no selection first takes one step onto the list.
  double cycle = (double)count;
  if (steps > cycle) {
    double entry = currentFrame.IsEnd() ? 1 : 0;
    steps = entry + std::fmod(steps - entry, cycle);
  }
  for (int64_t i = 0; i < (int64_t)steps; ++i) {
    if (forward) {
      currentFrame.Next();
      if (currentFrame.IsEnd()) currentFrame = frames.Begin();
    } else {
      currentFrame.Prev();
      if (currentFrame.IsEnd()) currentFrame = frames.Last();
    }
  }
  framePosition = std::fmod(framePosition + delta, (float)count);
}

void KV_SPRITE::AnimateTime(float delta) {
  // A strip of 0 cells has no wrap: the position stays at 0.
  stripPosition = stripCount == 0 ? 0 : std::fmod(stripPosition + delta, (float)stripCount);
  UpdateCoords();
}
