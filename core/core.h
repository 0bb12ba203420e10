// KV_CORE: the one central object of a program. It keeps every resource by name (windows,
// sprites, fonts, cameras, timers, ...), owns the actors, the state sequence, a camera and the
// GUI manager, frees the resources in one tear-down call and drives one frame of the scene.
// The program has exactly one: the global `Core`, built before any game object.
#pragma once

#include <cstdint>

#include "core/app/callback.h"
#include "core/app/state_machine.h"
#include "core/app/window.h"
#include "foundation/dictionary.h"
#include "foundation/list.h"

// NOTE for the engineers building this class side by side: each group of members below is
// written by one of you; edit only your group, and keep each group's definitions in its own
// .cpp file (named in the group's banner).

class KV_CORE {
 public:
  // ---- fields, in the order of the central object's table (core.cpp) ----
  // A member whose type arrives later has a comment line in its slot; add it there, in
  // DestroyAll's step of the same name and, where it takes part, in Frame (core.cpp).
  unsigned int idCounter;                      // counted by NextActorId
  int screenWidth;                             // the desktop size when the core was built
  int screenHeight;
  float screenAspect;                          // screenWidth / screenHeight
  KV_STATE_MACHINE stateMachine;               // states, current state, advance, resume
  KV_DICTIONARY<KV_WINDOW> windows;            // top-level windows by name

  // Builds every member (hooks null) and reads the desktop size through a temporary
  // window fitted to the screen.
  KV_CORE();
  // Frees everything, then the states and the windows.
  ~KV_CORE();
  KV_CORE(const KV_CORE&) = delete;
  KV_CORE& operator=(const KV_CORE&) = delete;

  // ---- state sequence (core_states.cpp) ----
  // Each change acts only while the frame loop runs: it points the sequence at the target,
  // ends the running frame loop and returns true; false (nothing changed) when a stop was
  // already requested or there is no target.
  // Target: the first state named name (the id is not compared).
  bool ChangeState(const char* name, unsigned int id = 0);
  // Target: the given state.
  bool ChangeStateTo(KV_LIST_ITERATOR<KV_CALLBACK> target);
  // Target: the state after / before the current one.
  bool NextState();
  bool PrevState();
  // Ends the running frame loop and the sequence, whatever states follow.
  void Quit();

  // ---- windows (core_windows.cpp) ----
  // Each looks the window up by name alone (the id is not compared) and does nothing when no
  // window has that name.
  // Makes the window's render target current with the default render states.
  void ActivateWindow(const char* name, unsigned int id = 0);
  // Places the window in the middle of the screen (moved by the next Apply).
  void CenterWindow(const char* name, unsigned int id = 0);
  // Gives the current render target a 2D camera of the window's size.
  void OrthoWindow(const char* name, unsigned int id = 0);
  // Asks the engine for vertical sync; when refused, the frame loop is limited to the
  // display's refresh rate instead (no limit when off or the rate is unknown).
  void SetVsync(bool on);

  // ---- render states (core_render_states.cpp) ----
  // Sets the draw colour (263) from a packed colour word (red in the low byte).
  void SetColorARGB(uint32_t word);
  // Sets the draw colour (263) from components 0 to 1.
  void SetColor(double r, double g, double b, double a);
  // Sets the clear colour (262) from a packed colour word and clears the colour buffer.
  void ClearColorARGB(uint32_t word);
  // Sets the clear colour (262) from components 0 to 1 and clears the colour buffer.
  void ClearColor(double r, double g, double b, double a);
  // Sets the blend factors (155) and the second blend setting, the equation (173).
  void SetBlend(uint32_t source, uint32_t destination, uint32_t second);
  // Back to source alpha, one minus source alpha, added (164, 165, 174).
  void SetDefaultBlend();

  // ---- actors and collision queries (core_actors.cpp) ----

  // ---- tear-down and per-frame driver (core.cpp) ----
};

// The program's one central object.
extern KV_CORE Core;
