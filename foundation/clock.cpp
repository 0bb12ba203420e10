// The clock: chosen once, when the first query builds it.
#include "foundation/clock.h"

#include "platform/winapi/windows.h"

KV_CLOCK::KV_CLOCK() : frequency(0), available(0) {
  LARGE_INTEGER counts;
  if (QueryPerformanceFrequency(&counts) && counts.QuadPart > 0) {
    frequency = counts.QuadPart;
    available = 1;
  }
}

KV_CLOCK& KV_CLOCK::Instance() {
  static KV_CLOCK clock;
  return clock;
}

namespace {

// The counter reading as seconds; the tick count when the counter is unavailable.
double SecondsNow() {
  KV_CLOCK& clock = KV_CLOCK::Instance();
  LARGE_INTEGER counter;
  if (clock.available && QueryPerformanceCounter(&counter))
    return (double)counter.QuadPart / (double)clock.frequency;
  return GetTickCount() / 1000.0;
}

}  // namespace

float KvTime() { return (float)SecondsNow(); }

double KvTimeD() { return SecondsNow(); }

int64_t KvTimeMs() {
  KV_CLOCK& clock = KV_CLOCK::Instance();
  LARGE_INTEGER counter;
  if (clock.available && QueryPerformanceCounter(&counter))
    return (int64_t)((double)counter.QuadPart / (double)clock.frequency * 1000.0);
  return GetTickCount();
}
