// The arena's classes: the bonus's scoring order, the spikes turning at walls and facing their
// way, the small spike's last step, the launcher's columns and the lasers' cycle.
#include "arena_fixture.h"
#include "game/bonus.h"
#include "game/gracz.h"
#include "game/gracz2.h"
#include "game/kolec_gora.h"
#include "game/kolec_lewo.h"
#include "game/laser_cycle.h"
#include "game/laser_poziomy.h"
#include "game/maly_kolec.h"
#include "game/scores.h"
#include "game/wyrzutnia_kolcow.h"
#include "platform/runtime/random.h"

namespace {

class ArenaClassesTest : public ArenaTest {};

bool Touch(const KvCore::KV_ACTOR2D* a, const KvCore::KV_ACTOR2D* b) {
  return std::max(a->position.x, b->position.x) <=
             std::min(a->position.x + a->sprite.boxWidth, b->position.x + b->sprite.boxWidth) &&
         std::max(a->position.y, b->position.y) <=
             std::min(a->position.y + a->sprite.boxHeight, b->position.y + b->sprite.boxHeight);
}

}  // namespace

TEST_F(ArenaClassesTest, TheBonusScoresForPlayerOneFirstAndJumps) {
  platform::SeedRand(7);
  C_BONUS* bonus = Place<C_BONUS>("BONUS", 400, 300);
  C_GRACZ* one = Place<C_GRACZ>("GRACZ", 401, 301);
  C_GRACZ2* two = Place<C_GRACZ2>("GRACZ2", 402, 302);
  int32_t score1 = ScoreGracz, score2 = ScoreGracz2;
  bonus->Update();
  EXPECT_EQ(ScoreGracz, score1 + 1);
  // Player 2 is asked at the new place, which it does not touch.
  ASSERT_FALSE(Touch(bonus, two));
  EXPECT_EQ(ScoreGracz2, score2);
  EXPECT_TRUE(bonus->position.x != 400 || bonus->position.y != 300);
  (void)one;
}

TEST_F(ArenaClassesTest, PlayerTwoScoresWhenTheNewPlaceStillTouchesIt) {
  // Player 2's box covers the whole arena, so the bonus finds it wherever it lands.
  Core.sprites.GetValue("spr_gracz2")->boxWidth = 800;
  Core.sprites.GetValue("spr_gracz2")->boxHeight = 600;
  C_BONUS* bonus = Place<C_BONUS>("BONUS", 400, 300);
  Place<C_GRACZ>("GRACZ", 400, 300);
  Place<C_GRACZ2>("GRACZ2", 0, 0);
  int32_t score1 = ScoreGracz, score2 = ScoreGracz2;
  bonus->Update();
  EXPECT_EQ(ScoreGracz, score1 + 1);
  EXPECT_EQ(ScoreGracz2, score2 + 1);
}

TEST_F(ArenaClassesTest, JumpsLandOnWholePixelsInsideTheWalls) {
  C_BONUS* bonus = Place<C_BONUS>("BONUS", 400, 300);
  Core.sprites.GetValue("spr_gracz")->boxWidth = 800;
  Core.sprites.GetValue("spr_gracz")->boxHeight = 600;
  Place<C_GRACZ>("GRACZ", 0, 0);
  double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
  for (int i = 0; i < 5000; ++i) {
    bonus->Update();
    ASSERT_EQ(bonus->position.x, static_cast<int>(bonus->position.x));
    minX = std::min(minX, bonus->position.x);
    maxX = std::max(maxX, bonus->position.x);
    minY = std::min(minY, bonus->position.y);
    maxY = std::max(maxY, bonus->position.y);
  }
  EXPECT_GE(minX, 20);
  EXPECT_LE(maxX, 779);
  EXPECT_GE(minY, 20);
  EXPECT_LE(maxY, 579);
  EXPECT_GT(maxX - minX, 700);
}

TEST_F(ArenaClassesTest, TheHorizontalSpikeTurnsAtWallsAndFacesItsWay) {
  C_KOLEC_LEWO* spike = Place<C_KOLEC_LEWO>("KOLEC_LEWO", 100, 100);
  EXPECT_EQ(Shown(spike), Marker("spr_kolec_lewo"));
  Wall(100 + 16 + 4, 100);  // 4 pixels to its right
  spike->Update();
  EXPECT_EQ(spike->direction, 2);
  EXPECT_EQ(spike->position.x, 96);
  EXPECT_EQ(Shown(spike), Marker("spr_kolec_lewo"));
  Wall(96 - 16 - 5, 100);  // 5 pixels to its left
  spike->Update();
  EXPECT_EQ(spike->direction, 1);
  EXPECT_EQ(spike->position.x, 100);
  EXPECT_EQ(Shown(spike), Marker("spr_kolec_prawo"));
}

TEST_F(ArenaClassesTest, WallsCloseOnBothSidesSendTheSpikeLeft) {
  C_KOLEC_LEWO* spike = Place<C_KOLEC_LEWO>("KOLEC_LEWO", 100, 100);
  Wall(100 - 16 - 3, 100);
  Wall(100 + 16 + 3, 100);
  spike->Update();
  EXPECT_EQ(spike->direction, 2);
  EXPECT_EQ(spike->position.x, 96);
}

TEST_F(ArenaClassesTest, TheVerticalSpikeIsNamedLikeTheOtherAndMovesDownFirst) {
  C_KOLEC_GORA* spike = Place<C_KOLEC_GORA>("KOLEC_GORA", 100, 100);
  EXPECT_STREQ(spike->name.name, "KOLEC_LEWO");
  EXPECT_EQ(Shown(spike), Marker("spr_kolec_lewo"));
  spike->Update();
  EXPECT_EQ(spike->position.y, 104);
  EXPECT_EQ(Shown(spike), Marker("spr_kolec_dol"));
  Wall(100, 104 + 16 + 5);
  spike->Update();
  EXPECT_EQ(spike->position.y, 100);
  EXPECT_EQ(Shown(spike), Marker("spr_kolec_gora"));
}

TEST_F(ArenaClassesTest, ASmallSpikeAtAWallStillMovesAndGoesAtTheFrameEnd) {
  C_MALY_KOLEC* spike = Place<C_MALY_KOLEC>("MALY_KOLEC", 100, 100);
  Wall(100 + 12 + 8, 100);  // 8 pixels ahead: the probe 7 ahead misses it
  spike->Update();
  EXPECT_EQ(spike->position.x, 106);
  Core.DeleteActors();
  EXPECT_EQ(LiveCount(), 2);
  spike->Update();  // now 2 pixels from the tile: marked, and still moves
  EXPECT_EQ(spike->position.x, 112);
  Core.DeleteActors();
  EXPECT_EQ(LiveCount(), 1);
}

TEST_F(ArenaClassesTest, TheLauncherFiresAColumnOfTenEveryTwoHundredUpdates) {
  C_WYRZUTNIA_KOLCOW* launcher = Place<C_WYRZUTNIA_KOLCOW>("WYRZUTNIA_KOLCOW", 17, 300);
  for (int i = 0; i < 199; ++i) launcher->Update();
  EXPECT_EQ(PendingCount(), 0);
  launcher->Update();
  EXPECT_EQ(launcher->counter, 0);
  ASSERT_EQ(PendingCount(), 10);
  int i = 0;
  for (auto it = Core.pendingActors.Begin(); !it.IsEnd(); it.Next(), ++i) {
    EXPECT_STREQ((*it.Get())->name.name, "MALY_KOLEC");
    EXPECT_EQ((*it.Get())->position.x, 26);
    EXPECT_EQ((*it.Get())->position.y, 300 + 20 * i);
  }
  for (int j = 0; j < 200; ++j) launcher->Update();
  EXPECT_EQ(PendingCount(), 20);
}

TEST(LaserCycle, SweepsHidesAndReappearsEveryTwoHundredFrames) {
  int32_t counter = 1, direction = 1;
  double x = 333;
  std::vector<double> trail;
  for (int i = 0; i < 250; ++i) {
    KvLaserStep(counter, direction, x, 760);
    trail.push_back(x);
  }
  // 48 sweeping frames (c = 2..49), 3 pixels each.
  for (int i = 0; i < 48; ++i) EXPECT_EQ(trail[i], 333 + 3 * (i + 1)) << i;
  // One frame at a random place (c = 50), then hidden for 149 frames.
  EXPECT_GE(trail[48], 20);
  EXPECT_LE(trail[48], 779);
  for (int i = 49; i < 198; ++i) EXPECT_EQ(trail[i], -99) << i;
  // Random places at c = 200 and c = 201; then the counter restarts and the sweep turns.
  EXPECT_GE(trail[198], 20);
  EXPECT_GE(trail[199], 20);
  for (int i = 200; i < 248; ++i) EXPECT_EQ(trail[i], trail[199] - 3 * (i - 199)) << i;
  EXPECT_EQ(direction, 2);
}

TEST(LaserCycle, TheSecondCycleFlipsBackAndTheRangeHolds) {
  int32_t counter = 1, direction = 1;
  double y = 333;
  double lowest = 1e9, highest = -1e9;
  for (int i = 0; i < 400; ++i) {
    KvLaserStep(counter, direction, y, 560);
    if (y != -99 && (i % 200 == 48 || i % 200 >= 198)) {
      lowest = std::min(lowest, y);
      highest = std::max(highest, y);
    }
  }
  EXPECT_EQ(direction, 1);
  EXPECT_EQ(counter, 1);
  EXPECT_GE(lowest, 20);
  EXPECT_LE(highest, 579);
}

TEST_F(ArenaClassesTest, TheHorizontalLaserStartsItsSweepDownward) {
  C_LASER_POZIOMY* laser = Place<C_LASER_POZIOMY>("LASER_POZIOMY", 0, 333);
  laser->Update();
  EXPECT_EQ(laser->position.y, 336);
  EXPECT_EQ(laser->position.x, 0);
  EXPECT_EQ(laser->counter, 2);
}

TEST_F(ArenaClassesTest, DestroyingAnActorLeavesTheSharedFrames) {
  KV_SPRITE* shared = Core.sprites.GetValue("spr_bonus");
  uint32_t frames = shared->GetFrameCount();
  delete new C_BONUS(KV_VECTOR_D(0, 0, 0, 1));
  EXPECT_EQ(shared->GetFrameCount(), frames);
  EXPECT_EQ(shared->GetTexture().Id(), Marker("spr_bonus"));
}
