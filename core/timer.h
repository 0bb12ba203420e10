// KV_TIMER: a countdown kept by name in the central object. It is started by setting its
// remaining time and callback directly; each frame takes the frame time off it, and the
// callback runs once, in the frame in which the time runs out.
#pragma once

struct KV_TIMER {
  float remaining;     // seconds left; 0 or less: stopped
  void (*callback)();  // called once when the time runs out; may be null

  KV_TIMER() : remaining(0), callback(nullptr) {}

  // Takes frameTime seconds off a running timer; when that ends it, remaining := 0 and the
  // callback is called.
  void Update(float frameTime);
};
