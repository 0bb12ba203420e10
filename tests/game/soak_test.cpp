// A long run of the whole program with random held keys for both players: nothing crashes or
// leaks (the sanitizer build runs the full 10,000 frames), the players never leave the walled
// arena, scores only grow, and the launcher's columns never pile up.
#include <random>

#include "game/scores.h"
#include "game_fixture.h"
#include "platform/runtime/random.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kFrames = 10000;
#else
constexpr int kFrames = 2500;
#endif

const SDL_Scancode kKeys[] = {SDL_SCANCODE_UP,    SDL_SCANCODE_DOWN, SDL_SCANCODE_LEFT,
                              SDL_SCANCODE_RIGHT, SDL_SCANCODE_W,    SDL_SCANCODE_S,
                              SDL_SCANCODE_A,     SDL_SCANCODE_D};

class SoakTest : public GameTest {};

bool InsideWalls(const KvCore::KV_ACTOR2D* player) {
  return player->position.x >= 16 && player->position.x + 14 <= 784 && player->position.y >= 16 &&
         player->position.y + 14 <= 584;
}

}  // namespace

TEST_F(SoakTest, RandomKeysForTenThousandFrames) {
  std::mt19937 keys(20240607);
  bool held[8] = {};
  int outside = 0, mostSmallSpikes = 0, scoreDrops = 0, awayFromStart = 0;
  int32_t score1 = ScoreGracz, score2 = ScoreGracz2;
  int result = RunProgram(
      [&](int frame) {
        if (frame == 1) platform::SeedRand(99);
        if (frame >= 2) {
          for (const char* name : {"GRACZ", "GRACZ2"})
            if (!InsideWalls(Live(name))) ++outside;
          mostSmallSpikes =
              std::max(mostSmallSpikes, static_cast<int>(AllLive("MALY_KOLEC").size()));
          if (Live("GRACZ")->position.x != 22 || Live("GRACZ")->position.y != 22) ++awayFromStart;
          if (ScoreGracz < score1 || ScoreGracz2 < score2) ++scoreDrops;
          score1 = ScoreGracz;
          score2 = ScoreGracz2;
        }
        // About one key in eight frames goes down or up.
        if (keys() % 8 == 0) {
          int k = keys() % 8;
          held[k] = !held[k];
          Key(kKeys[k], held[k]);
        }
        if (frame == kFrames) Core.Quit();
      },
      kFrames + 10);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(FramesRun(), kFrames);
  EXPECT_EQ(outside, 0);
  EXPECT_EQ(scoreDrops, 0);
  EXPECT_LE(mostSmallSpikes, 10);
  EXPECT_GT(mostSmallSpikes, 0);
  // The keys did steer player 1 around.
  EXPECT_GT(awayFromStart, kFrames / 4);
}
