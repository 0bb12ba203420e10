// KV_STATE_MACHINE: the program's sequence of states. A state is a plain function kept by
// name, in insertion order; Run calls the current state's function and, when it returns,
// moves on to the next registered state unless a state change chose the next one itself.
// It lives inside the central object, which changes states through it.
#pragma once

#include "app/callback.h"
#include "foundation/dictionary.h"

struct KV_STATE_MACHINE {
  // The states by name (id 0), in the order registered.
  KV_DICTIONARY<KV_CALLBACK> states;
  // The state running now; the end iterator when there is none.
  KV_LIST_ITERATOR<KV_CALLBACK> current;
  // Step to the next state once the current state's function returns.
  unsigned char advance;
  // Set by a state change: the next turn runs the chosen state without stepping.
  unsigned char resume;

  KV_STATE_MACHINE() : advance(1), resume(0) {}

  // Runs the sequence until the current state is the end; returns at once without states.
  void Run();
  // Empties the state dictionary (and forgets the current state).
  void Clear();
};
