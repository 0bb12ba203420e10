// KV_CORE's state changes. A change points the sequence at its target and ends the running
// frame loop; the state function then returns and the sequence runs the target without
// stepping. Clearing the loop's running flag is also what makes a second change in the same
// frame fail.
#include "app/loop.h"
#include "core/core.h"

namespace {

typedef KV_LIST_ITERATOR<KV_CALLBACK> STATE;

bool ChangeTo(KV_STATE_MACHINE& machine, STATE target) {
  KV_LOOP& loop = KV_LOOP::Instance();
  if (!loop.running || target.IsEnd()) return false;
  machine.advance = 0;
  machine.resume = 1;
  machine.current = target;
  loop.running = 0;
  return true;
}

}  // namespace

bool KV_CORE::ChangeState(const char* name, unsigned int) {
  // The target is only looked up while a change can still be made.
  if (!KV_LOOP::Instance().running) return false;
  return ChangeTo(stateMachine,
                  stateMachine.states.Find(KV_DICTIONARY<KV_CALLBACK>::FIND_NAME, name));
}

bool KV_CORE::ChangeStateTo(KV_LIST_ITERATOR<KV_CALLBACK> target) {
  return ChangeTo(stateMachine, target);
}

bool KV_CORE::NextState() {
  STATE target = stateMachine.current;
  target.Next();
  return ChangeTo(stateMachine, target);
}

bool KV_CORE::PrevState() {
  STATE target = stateMachine.current;
  target.Prev();
  return ChangeTo(stateMachine, target);
}

void KV_CORE::Quit() {
  KV_LOOP::Instance().running = 0;
  stateMachine.current.Reset();
}
