// The central object's soft bodies: each is drawn in every draw pass after the actors, and the
// tear-down destroys each (a body never created included) and empties the dictionary.
#include <string>
#include <vector>

#include "core_fixture.h"
#include "engine/softbody/softbody_objects.h"
#include "engine/testing.h"

namespace {

std::vector<std::string> CallsStarting(const char* prefix) {
  std::vector<std::string> found;
  for (const std::string& call : kv::engine::testing::TracedCalls())
    if (call.rfind(prefix, 0) == 0) found.push_back(call);
  return found;
}

}  // namespace

TEST_F(CoreTest, SoftBodiesAreDrawnEachPassAndDestroyedInTheTearDown) {
  ASSERT_TRUE(core->softBodies.GetValue("jelly")->Reset());
  ASSERT_TRUE(core->softBodies.GetValue("slime")->Reset());
  core->softBodies.GetValue("never created");
  std::string jelly = std::to_string(core->softBodies.GetValue("jelly")->handle.value);
  std::string slime = std::to_string(core->softBodies.GetValue("slime")->handle.value);

  kv::engine::testing::StartTrace();
  core->DrawScene();
  kv::engine::testing::StopTrace();
  EXPECT_EQ(CallsStarting("KvDnaDraw"),
            (std::vector<std::string>{"KvDnaDraw(" + jelly + ")", "KvDnaDraw(" + slime + ")",
                                      "KvDnaDraw(0)"}));

  kv::engine::testing::StartTrace();
  core->DestroyAll();
  kv::engine::testing::StopTrace();
  EXPECT_EQ(CallsStarting("KvDnaD"),
            (std::vector<std::string>{"KvDnaDie(" + jelly + ", 1)", "KvDnaDestroy(" + jelly + ")",
                                      "KvDnaDie(" + slime + ", 1)", "KvDnaDestroy(" + slime + ")",
                                      "KvDnaDie(0, 1)", "KvDnaDestroy(0)"}));
  EXPECT_EQ(core->softBodies.values.Count(), 0u);
  EXPECT_EQ(kv::engine::softbody::SoftBodyObjectCount(), 0u);
}
