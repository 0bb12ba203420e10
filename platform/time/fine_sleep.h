// A sleep finer than Sleep's whole milliseconds, for pacing that must end close to a moment: the
// frame loop sleeps through a wait this way and spins on the clock only for its last stretch.
#pragma once

#include <cstdint>

namespace platform {

// Sleeps for about that many nanoseconds (nothing for none); like Sleep, it may wake late, and
// with the test clock it moves that clock instead (by the time asked and the test's lateness).
void SleepNanoseconds(int64_t nanoseconds);

}  // namespace platform
