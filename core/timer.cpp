// The countdown of a timer.
#include "core/timer.h"

void KV_TIMER::Update(float frameTime) {
  if (remaining <= 0) return;
  remaining -= frameTime;
  if (remaining > 0) return;
  remaining = 0;
  if (callback != nullptr) callback();
}
