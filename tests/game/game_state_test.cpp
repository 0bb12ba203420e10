// The game state end to end: the real program on the offscreen engine, driven frame by frame.
// What is drawn when, how players move and respawn, scoring, the launcher's columns, and the
// score line.
#include <set>

#include "game/scores.h"
#include "game_fixture.h"
#include "platform/runtime/random.h"

namespace {

class GameStateTest : public GameTest {};

}  // namespace

TEST_F(GameStateTest, TheFirstFrameDrawsOnlyTheScoreLineAndTheActorsFollow) {
  int spriteDrawsFrame1 = -1, fontDrawsFrame1 = -1, spriteDrawsFrame2 = -1;
  int scoreLit1 = 0, cornerLit1 = 0, cornerLit2 = 0;
  RunProgram([&](int frame) {
    if (frame == 1) {
      kv::engine::testing::StartTrace();
      KeepNextFrame();
    } else if (frame == 2) {
      spriteDrawsFrame1 = CountTraced("KvDrawDataStruct(");
      fontDrawsFrame1 = CountTraced("KvDrawFont(");
      // The kept first frame: the score line at the top left, nothing at the bottom right
      // where wall tiles stand.
      scoreLit1 = LitPixels(10, 10, 120, 36);
      cornerLit1 = LitPixels(700, 584, 100, 16);
      kv::engine::testing::StartTrace();
      KeepNextFrame();
    } else if (frame == 3) {
      spriteDrawsFrame2 = CountTraced("KvDrawDataStruct(");
      cornerLit2 = LitPixels(700, 584, 100, 16);
      Core.Quit();
    }
  });
  EXPECT_EQ(spriteDrawsFrame1, 0);
  EXPECT_EQ(fontDrawsFrame1, 1);
  EXPECT_GT(scoreLit1, 100);
  EXPECT_EQ(cornerLit1, 0);
  // 176 walls, two players, the bonus, twelve spikes, the launcher and two lasers.
  EXPECT_EQ(spriteDrawsFrame2, 176 + 2 + 1 + 12 + 1 + 2);
  EXPECT_GT(cornerLit2, 1000);
}

TEST_F(GameStateTest, TheArenaIsBuiltInItsLiveOrder) {
  std::vector<std::string> names;
  std::vector<KV_VECTOR_D> places;
  RunProgram([&](int frame) {
    if (frame != 2) return;
    for (auto it = Core.liveActors.Begin(); !it.IsEnd(); it.Next()) {
      names.push_back((*it.Get())->name.name);
      places.push_back((*it.Get())->position);
    }
    Core.Quit();
  });
  ASSERT_EQ(names.size(), 176u + 2 + 1 + 5 + 7 + 1 + 2);
  for (size_t i = 0; i < 176; ++i) EXPECT_EQ(names[i], "MUR");
  EXPECT_EQ(places[37].y, 592);   // the left column's last tile
  EXPECT_EQ(places[38].x, 784);   // the right column's first
  EXPECT_EQ(places[175].x, 784);  // the bottom row's last
  EXPECT_EQ(places[175].y, 584);
  EXPECT_EQ(names[176], "GRACZ");
  EXPECT_EQ(names[177], "GRACZ2");
  EXPECT_EQ(names[178], "BONUS");
  // All twelve spikes carry one name; the vertical ones come after the horizontal ones.
  for (size_t i = 179; i < 191; ++i) EXPECT_EQ(names[i], "KOLEC_LEWO");
  EXPECT_EQ(places[184].x, 100);
  EXPECT_EQ(names[191], "WYRZUTNIA_KOLCOW");
  EXPECT_EQ(names[192], "LASER_PIONOWY");
  EXPECT_EQ(names[193], "LASER_POZIOMY");
}

TEST_F(GameStateTest, HeldRightArrowMovesTwoPixelsAFrameAndStopsTwoShortOfTheWall) {
  std::vector<double> xs;
  RunProgram([&](int frame) {
    KvCore::KV_ACTOR2D* player = Live("GRACZ");
    if (frame == 2) {
      // A quiet corner: the right column is at x = 784, the bottom row at y = 584.
      player->position = KV_VECTOR_D(760, 560, 0, 1);
      Key(SDL_SCANCODE_RIGHT, true);
    } else if (frame > 2) {
      xs.push_back(player->position.x);
      if (frame == 10) Core.Quit();
    }
  });
  // Frame 2 updates before the key arrives; from frame 3 on it moves until its box's right
  // edge is 2 pixels from the wall.
  std::vector<double> expected = {760, 762, 764, 766, 768, 768, 768, 768};
  EXPECT_EQ(xs, expected);
}

TEST_F(GameStateTest, PlayerTwoMovesWithWASDAndThePlayersBlockEachOther) {
  std::vector<double> xs;
  RunProgram([&](int frame) {
    KvCore::KV_ACTOR2D* player2 = Live("GRACZ2");
    if (frame == 2) Key(SDL_SCANCODE_A, true);
    if (frame > 2) xs.push_back(player2->position.x);
    if (frame == 10) Core.Quit();
  });
  // Player 1's box ends at x = 36; player 2 walks left from 44 and stops touching it.
  std::vector<double> expected = {44, 42, 40, 38, 36, 36, 36, 36};
  EXPECT_EQ(xs, expected);
}

TEST_F(GameStateTest, TouchingASpikeSendsThePlayerBackInTheSameFrame) {
  KV_VECTOR_D after;
  KV_VECTOR_D spike;
  RunProgram([&](int frame) {
    KvCore::KV_ACTOR2D* player = Live("GRACZ");
    if (frame == 2) {
      spike = Live("KOLEC_LEWO")->position;
      player->position = KV_VECTOR_D(spike.x + 2, spike.y + 2, 0, 1);
    } else if (frame == 3) {
      after = player->position;
      Core.Quit();
    }
  });
  EXPECT_EQ(after.x, 22);
  EXPECT_EQ(after.y, 22);
}

TEST_F(GameStateTest, TouchingTheBonusScoresAndMovesItInsideTheArena) {
  int scored = 0, jumps = 0;
  bool allInside = true;
  int32_t scoreBefore = ScoreGracz;
  KV_VECTOR_D last;
  int32_t lastScore = 0;
  RunProgram([&](int frame) {
    // The same places in every run; the actors are live from the second frame.
    if (frame == 1) platform::SeedRand(12345);
    if (frame < 2) return;
    KvCore::KV_ACTOR2D* bonus = Live("BONUS");
    KvCore::KV_ACTOR2D* player = Live("GRACZ");
    if (frame > 2) {
      bool moved = bonus->position.x != last.x || bonus->position.y != last.y;
      if (moved) {
        ++jumps;
        double x = bonus->position.x, y = bonus->position.y;
        allInside = allInside && x >= 20 && x <= 779 && y >= 20 && y <= 579;
        allInside = allInside && x == static_cast<int>(x) && y == static_cast<int>(y);
      }
      scored += ScoreGracz - lastScore;
      // Every point came with a jump (player 2 stays at its start and rarely meets it).
      EXPECT_EQ(ScoreGracz - lastScore, moved ? 1 : 0);
    }
    if (frame == 60) {
      Core.Quit();
      return;
    }
    // Player 1 steps onto the bonus; it is updated before the bonus in every frame.
    player->position = bonus->position;
    last = bonus->position;
    lastScore = ScoreGracz;
  });
  EXPECT_TRUE(allInside);
  EXPECT_EQ(scored, jumps);
  EXPECT_EQ(ScoreGracz - scoreBefore, scored);
  // A hazard can pass the bonus's place and send the player home first for a few frames.
  EXPECT_GT(scored, 30);
}

TEST_F(GameStateTest, TheLauncherMakesTwentySmallSpikesInFourHundredUpdates) {
  std::set<unsigned int> ids;
  size_t seenAt401 = 0;
  double farthest = 0;
  RunProgram(
      [&](int frame) {
        for (KvCore::KV_ACTOR2D* spike : AllLive("MALY_KOLEC")) {
          ids.insert(spike->GetId());
          farthest = std::max(farthest, spike->position.x);
        }
        // The launcher first updates in frame 2, so its 400th update is in frame 401 and that
        // column is live from frame 402.
        if (frame == 401) seenAt401 = ids.size();
        if (frame == 402) Core.Quit();
      },
      1000);
  EXPECT_EQ(seenAt401, 10u);
  EXPECT_EQ(ids.size(), 20u);
  // Small spikes are removed at the right wall (its tiles start at x = 784).
  EXPECT_LT(farthest, 784);
}
