// The central object's state changes, run through the real state sequence and frame loops:
// each state runs frames until its script stops it, and a script step may change states.
#include <functional>
#include <string>

#include "app/app_fixture.h"
#include "core/core.h"

namespace {

// What happens in one state's frames: the action of each frame, in turn; once they are
// used up, the state's loop is stopped.
struct Script {
  std::vector<std::function<void()>> frames;
  size_t next = 0;
};

std::string visited;
Script scripts[3];

void Frame(HWND, uintptr_t index) {
  Script& script = scripts[index];
  if (script.next < script.frames.size()) {
    script.frames[script.next++]();
    return;
  }
  KV_LOOP::Instance().running = 0;
}

template <int I>
void State() {
  visited += char('a' + I);
  KV_LOOP::Instance().Run(Frame, I);
}

class CoreStatesTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    Core.stateMachine.Clear();
    Core.stateMachine.advance = 1;
    Core.stateMachine.resume = 0;
    visited.clear();
    for (Script& s : scripts) s = Script();
    *Core.stateMachine.states.GetValue("a") = KV_CALLBACK(State<0>);
    *Core.stateMachine.states.GetValue("b") = KV_CALLBACK(State<1>);
    *Core.stateMachine.states.GetValue("c") = KV_CALLBACK(State<2>);
    Core.stateMachine.current = Core.stateMachine.states.Get("a");
  }
  void TearDown() override {
    Core.stateMachine.Clear();
    AppTest::TearDown();
  }
};

}  // namespace

TEST_F(CoreStatesTest, WithoutChangesEveryStateRunsInOrder) {
  Core.stateMachine.Run();
  EXPECT_EQ(visited, "abc");
}

TEST_F(CoreStatesTest, ChangeStateRunsTheNamedStateNext) {
  bool changed = false;
  scripts[0].frames = {[&] { changed = Core.ChangeState("c"); }};
  Core.stateMachine.Run();
  EXPECT_TRUE(changed);
  EXPECT_EQ(visited, "ac");
}

TEST_F(CoreStatesTest, ChangeStateFindsTheNameWhateverItsId) {
  *Core.stateMachine.states.GetValue("d", 9) = KV_CALLBACK(State<2>);
  bool changed = false;
  scripts[0].frames = {[&] { changed = Core.ChangeState("d", 0); }};
  Core.stateMachine.Run();
  EXPECT_TRUE(changed);
  EXPECT_EQ(visited, "ac");  // "d" runs State<2>, and is the last state
}

TEST_F(CoreStatesTest, AnUnknownNameChangesNothing) {
  bool changed = true;
  unsigned char runningAfter = 0;
  KV_CALLBACK* currentAfter = nullptr;
  scripts[0].frames = {[&] {
    changed = Core.ChangeState("nope");
    runningAfter = KV_LOOP::Instance().running;
    currentAfter = Core.stateMachine.current.Get();
  }};
  Core.stateMachine.Run();
  EXPECT_FALSE(changed);
  EXPECT_EQ(runningAfter, 1);
  EXPECT_EQ(currentAfter, Core.stateMachine.states.Get("a").Get());
  EXPECT_EQ(visited, "abc");
}

TEST_F(CoreStatesTest, SecondChangeInOneFrameFails) {
  bool first = false, second = true;
  int framesAfter = 0;
  scripts[0].frames = {[&] {
    first = Core.ChangeState("c");
    second = Core.ChangeState("b");
  }};
  scripts[2].frames = {[&] { ++framesAfter; }};
  Core.stateMachine.Run();
  EXPECT_TRUE(first);
  EXPECT_FALSE(second);
  EXPECT_EQ(visited, "ac");
  EXPECT_EQ(framesAfter, 1);
}

TEST_F(CoreStatesTest, QuitEndsTheSequenceAfterTheFrame) {
  int framesAfterQuit = 0;
  scripts[0].frames = {[&] { Core.Quit(); }, [&] { ++framesAfterQuit; }};
  Core.stateMachine.Run();
  EXPECT_EQ(visited, "a");
  EXPECT_EQ(framesAfterQuit, 0);
  EXPECT_TRUE(Core.stateMachine.current.IsEnd());
  EXPECT_EQ(KV_LOOP::Instance().running, 1);
}

TEST_F(CoreStatesTest, QuitMessageEndsOnlyTheCurrentState) {
  scripts[0].frames = {[] { PostQuitMessage(0); }, [] {}, [] {}};
  Core.stateMachine.Run();
  EXPECT_EQ(visited, "abc");
  EXPECT_EQ(scripts[0].next, 1u);
}

TEST_F(CoreStatesTest, NextAndPreviousStates) {
  bool prevInFirst = true, nextInLast = true, next = false, prev = false;
  scripts[0].frames = {[&] { prevInFirst = Core.PrevState(); }};
  // The first visit of b goes back to a; the second goes on to c.
  scripts[1].frames = {[&] { prev = Core.PrevState(); }, [&] { next = Core.NextState(); }};
  scripts[2].frames = {[&] { nextInLast = Core.NextState(); }};
  // a: PrevState fails; b: back to a; a again (its script is used up); b: NextState to c.
  Core.stateMachine.Run();
  EXPECT_FALSE(prevInFirst);
  EXPECT_TRUE(prev);
  EXPECT_TRUE(next);
  EXPECT_FALSE(nextInLast);
  EXPECT_EQ(visited, "ababc");
}

TEST_F(CoreStatesTest, ChangeStateToTheGivenState) {
  bool changed = false;
  scripts[1].frames = {[&] { changed = Core.ChangeStateTo(Core.stateMachine.states.Get("a")); }};
  scripts[0].frames = {[] {}};  // used up on the first visit, so a runs empty the second time
  Core.stateMachine.current = Core.stateMachine.states.Get("b");
  Core.stateMachine.Run();
  EXPECT_TRUE(changed);
  EXPECT_EQ(visited, "babc");
  EXPECT_FALSE(Core.ChangeStateTo(KV_LIST_ITERATOR<KV_CALLBACK>()));
}

TEST_F(CoreStatesTest, NoChangeOnceAStopWasRequested) {
  KV_LOOP::Instance().running = 0;
  EXPECT_FALSE(Core.ChangeState("b"));
  EXPECT_FALSE(Core.NextState());
  EXPECT_EQ(Core.stateMachine.current.Get(), Core.stateMachine.states.Get("a").Get());
  KV_LOOP::Instance().running = 1;
}
