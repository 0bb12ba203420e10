// The lasers' sweep, hide and reappear cycle.
#include "game/laser_cycle.h"

#include "foundation/small_math.h"

namespace {

constexpr double kSweepStep = 3;
constexpr double kHidden = -99;  // off the screen
constexpr int32_t kSweepEnd = 50;
constexpr int32_t kCycleEnd = 200;

}  // namespace

void KvLaserStep(int32_t& counter, int32_t& direction, double& coordinate, double range) {
  int32_t c = ++counter;
  if (c > 1 && c < kSweepEnd)
    coordinate += direction == 1 ? kSweepStep : -kSweepStep;
  else if (c > kSweepEnd && c < kCycleEnd)
    coordinate = kHidden;
  else
    coordinate = 20 + static_cast<int32_t>(KvRandom(range));
  if (c > kCycleEnd || c < 1) {
    counter = 1;
    direction = direction == 1 ? 2 : 1;
  }
}
