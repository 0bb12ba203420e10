// The 200-frame cycle both lasers run along their axis: 48 frames of sweeping 3 pixels a frame,
// one frame at a random place, 149 frames hidden at -99, two more random places, then the
// counter starts again at 1 and the sweep direction flips.
#pragma once

#include <cstdint>

// Advances the cycle by one frame and moves coordinate (x of the vertical beam, y of the
// horizontal one); random places are 20 + trunc(KvRandom(range)).
void KvLaserStep(int32_t& counter, int32_t& direction, double& coordinate, double range);
