// The game classes' test set-up.
#include "arena_fixture.h"

#include <cstring>

#include "game/mur.h"

namespace {

struct SPRITE_SIZE {
  const char* name;
  int width;
  int height;
};

// The sizes of the game's textures.
const SPRITE_SIZE kSizes[] = {
    {"spr_mur", 16, 16},        {"spr_gracz", 14, 14},         {"spr_gracz2", 14, 14},
    {"spr_bonus", 16, 16},      {"spr_kolec_gora", 16, 16},    {"spr_kolec_prawo", 16, 16},
    {"spr_kolec_dol", 16, 16},  {"spr_kolec_lewo", 16, 16},    {"spr_wyrzutnia_kolcow", 12, 200},
    {"spr_maly_kolec", 12, 12}, {"spr_laser_pionowy", 6, 600}, {"spr_laser_poziomy", 800, 6},
};

}  // namespace

void ArenaTest::SetUp() {
  Core.DestroyAll();
  uint32_t marker = 100;
  for (const SPRITE_SIZE& size : kSizes) {
    KV_SPRITE* sprite = Core.sprites.GetValue(size.name);
    sprite->width = sprite->boxWidth = size.width;
    sprite->height = sprite->boxHeight = size.height;
    // A frame that no texture stands behind, only to tell the sprites apart.
    KV_HANDLE frame;
    frame.endFlag = 0;
    frame.value = ++marker;
    sprite->AddFrame(frame);
    sprite->SetFrame(0);
  }
  Hold({});
}

void ArenaTest::TearDown() {
  Hold({});
  // The sprites own no textures here, so the tear-down frees nothing of the engine.
  Core.DestroyAll();
}

KvCore::KV_ACTOR2D* ArenaTest::Wall(double x, double y) { return Place<C_MUR>("MUR", x, y); }

void ArenaTest::Hold(std::initializer_list<unsigned int> keys) {
  for (unsigned int key = 1; key < 256; ++key) KvSetKeyDown(key, 0);
  for (unsigned int key : keys) KvSetKeyDown(key, 1);
}

uint32_t ArenaTest::Marker(const char* sprite) {
  return Core.sprites.GetValue(sprite)->GetTexture().Id();
}

uint32_t ArenaTest::Shown(const KvCore::KV_ACTOR2D* actor) {
  return actor->sprite.GetTexture().Id();
}

int ArenaTest::PendingCount() {
  int n = 0;
  for (auto it = Core.pendingActors.Begin(); !it.IsEnd(); it.Next()) ++n;
  return n;
}

int ArenaTest::LiveCount() {
  int n = 0;
  for (auto it = Core.liveActors.Begin(); !it.IsEnd(); it.Next()) ++n;
  return n;
}
