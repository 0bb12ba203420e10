// KV_CLOCK and the time queries: a high-resolution clock read from the performance counter,
// falling back to the millisecond tick count when the counter is unavailable. One process-wide
// clock, built by the first query and never destroyed.
#pragma once

#include <cstdint>

struct KV_CLOCK {
  int64_t frequency;  // counts per second of the performance counter
  uint8_t available;  // 1 when the performance counter can be read

  // The process-wide clock, built on first use.
  static KV_CLOCK& Instance();

 private:
  KV_CLOCK();
};

// Seconds as a float (the counter, else the tick count / 1000).
float KvTime();
// Seconds as a double.
double KvTimeD();
// Milliseconds as a 64-bit integer, truncated (the counter, else the tick count).
int64_t KvTimeMs();
