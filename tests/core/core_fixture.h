// Shared pieces of the central-object tests: an actor class that records what happens to it,
// and a fixture that gives each test a fresh central object and a frame loop whose ticks are
// both set.
#pragma once

#include <string>
#include <vector>

#include "app/app_fixture.h"
#include "core/core.h"

// A 2D actor with a box of its own that logs its updates, draws and deletion.
class ProbeActor : public KvCore::KV_ACTOR2D {
 public:
  static std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
  }
  static int& Deleted() {
    static int deleted = 0;
    return deleted;
  }

  std::string tag;
  void (*onUpdate)(ProbeActor* self) = nullptr;

  // A box of w x h with its top-left corner at (x, y).
  ProbeActor(const char* tag, double x = 0, double y = 0, int w = 10, int h = 10) : tag(tag) {
    position = KV_VECTOR_D(x, y, 0, 1);
    sprite.boxWidth = w;
    sprite.boxHeight = h;
  }
  ~ProbeActor() override {
    ++Deleted();
    Log().push_back("~" + tag);
  }
  void Update() override {
    Log().push_back("u" + tag);
    if (onUpdate != nullptr) onUpdate(this);
  }
  void Draw() override { Log().push_back("d" + tag); }
};

class CoreTest : public AppTest {
 protected:
  KV_CORE* core = nullptr;

  void SetUp() override {
    AppTest::SetUp();
    ProbeActor::Log().clear();
    ProbeActor::Deleted() = 0;
    core = KV_CORE::Create();
    ASSERT_NE(core, nullptr);
    current = core;
    KV_LOOP& loop = KV_LOOP::Instance();
    loop.drawTick = 1;
    loop.updateTick = 1;
    loop.frameTime = 0;
  }
  void TearDown() override {
    delete core;
    current = nullptr;
    AppTest::TearDown();
  }

  // The core of the running test, for actors' update functions.
  static KV_CORE* current;

 public:
  static KV_CORE* Current() { return current; }

 protected:
  // Adds a probe actor named name under the group "G".
  ProbeActor* Add(const char* name, double x = 0, double y = 0, int w = 10, int h = 10) {
    ProbeActor* actor = new ProbeActor(name, x, y, w, h);
    core->SetActorName(actor, name);
    core->AddActor("G", actor);
    return actor;
  }

  static std::string Joined() {
    std::string text;
    for (const std::string& entry : ProbeActor::Log()) text += entry + " ";
    return text;
  }
};

inline KV_CORE* CoreTest::current = nullptr;
