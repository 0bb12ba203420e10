// KV_CORE: the one central object of a program. It keeps every resource by name (windows,
// sprites, fonts, cameras, timers, ...), owns the actors, the state sequence, a camera and the
// GUI manager, frees the resources in one tear-down call and drives one frame of the scene.
// The program has exactly one: the global `Core`.
#pragma once

// NOTE for the engineers building this class side by side: each group of members below is
// written by one of you; edit only your group, and keep each group's definitions in its own
// .cpp file (named in the group's banner).

class KV_CORE {
 public:
  // ---- fields, in the order of the central object's table (core.cpp) ----

  // ---- state sequence (core_states.cpp) ----

  // ---- windows (core_windows.cpp) ----

  // ---- render states (core_render_states.cpp) ----

  // ---- actors and collision queries (core_actors.cpp) ----

  // ---- tear-down and per-frame driver (core.cpp) ----
};
