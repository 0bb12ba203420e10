// The state sequence on its own: order of states, skipped null states, an empty sequence.
#include <gtest/gtest.h>

#include <string>

#include "app/state_machine.h"

namespace {

std::string calls;
void StateA() { calls += "a"; }
void StateB() { calls += "b"; }
void StateC() { calls += "c"; }

void Register(KV_STATE_MACHINE& machine, const char* name, KV_CALLBACK::FUNCTION f) {
  *machine.states.GetValue(name, 0) = KV_CALLBACK(f);
}

}  // namespace

TEST(StateMachine, EmptySequenceReturnsAtOnce) {
  KV_STATE_MACHINE machine;
  machine.Run();
  EXPECT_TRUE(machine.current.IsEnd());
  EXPECT_EQ(machine.advance, 1);
  EXPECT_EQ(machine.resume, 0);
}

TEST(StateMachine, RunsFromTheCurrentStateToTheLastInOrder) {
  calls.clear();
  KV_STATE_MACHINE machine;
  Register(machine, "a", StateA);
  Register(machine, "b", StateB);
  Register(machine, "c", StateC);
  machine.current = machine.states.Get("b", 0);
  machine.Run();
  EXPECT_EQ(calls, "bc");
  EXPECT_TRUE(machine.current.IsEnd());
}

TEST(StateMachine, SkipsAStateWithoutFunction) {
  calls.clear();
  KV_STATE_MACHINE machine;
  Register(machine, "a", StateA);
  machine.states.Get("empty", 0);
  Register(machine, "c", StateC);
  machine.current = machine.states.Get("a", 0);
  machine.Run();
  EXPECT_EQ(calls, "ac");
}

TEST(StateMachine, ANoCurrentStateRunsNothing) {
  calls.clear();
  KV_STATE_MACHINE machine;
  Register(machine, "a", StateA);
  machine.Run();
  EXPECT_EQ(calls, "");
}

TEST(StateMachine, ClearForgetsStatesAndTheCurrentOne) {
  KV_STATE_MACHINE machine;
  Register(machine, "a", StateA);
  machine.current = machine.states.Get("a", 0);
  machine.Clear();
  EXPECT_EQ(machine.states.values.Count(), 0u);
  EXPECT_TRUE(machine.current.IsEnd());
}
