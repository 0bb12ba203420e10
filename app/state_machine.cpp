// The state sequence: call the current state, then step, then honour a pending change.
#include "app/state_machine.h"

void KV_STATE_MACHINE::Run() {
  if (states.values.Count() == 0) return;
  while (!current.IsEnd()) {
    KV_CALLBACK* state = current.Get();
    if (state->function != nullptr) state->function();
    if (advance) current.Next();
    // A state change pointed current at its target and cleared advance, so the step
    // above was skipped; from the target on, the sequence steps again.
    if (resume) {
      resume = 0;
      advance = 1;
    }
  }
}

void KV_STATE_MACHINE::Clear() {
  // The current iterator would point into freed nodes once the values are gone.
  current.Reset();
  states.Clear();
}
