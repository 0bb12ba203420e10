// The players' probes: how close a wall or the rival may come on each side, what a tile that
// only touches an edge blocks, keys held together, and the respawn on hazards.
#include "arena_fixture.h"
#include "game/gracz.h"
#include "game/gracz2.h"
#include "game/laser_pionowy.h"
#include "game/maly_kolec.h"
#include "platform/winapi/windows.h"

namespace {

class PlayerTest : public ArenaTest {
 protected:
  // Player 1 at (x, y), holding key, updated frames times; its x or y after each update.
  static std::vector<double> Walk(C_GRACZ* player, unsigned int key, int frames, bool alongX) {
    Hold({key});
    std::vector<double> trail;
    for (int i = 0; i < frames; ++i) {
      player->Update();
      trail.push_back(alongX ? player->position.x : player->position.y);
    }
    return trail;
  }
};

}  // namespace

TEST_F(PlayerTest, RightStopsTwoPixelsShortOfAWall) {
  // Box edges: the player's right edge at x + 14, the tile's left edge at 100.
  C_GRACZ* nearWall = Place<C_GRACZ>("GRACZ", 100 - 14 - 2, 50);
  Wall(100, 50);
  EXPECT_EQ(Walk(nearWall, VK_RIGHT, 2, true), (std::vector<double>{84, 84}));

  Core.DestroyAll();
  SetUp();
  C_GRACZ* threeAway = Place<C_GRACZ>("GRACZ", 100 - 14 - 3, 50);
  Wall(100, 50);
  EXPECT_EQ(Walk(threeAway, VK_RIGHT, 3, true), (std::vector<double>{85, 85, 85}));
}

TEST_F(PlayerTest, LeftStopsTouchingOrOnePixelAwayByItsStart) {
  // The tile's right edge at 16.
  C_GRACZ* even = Place<C_GRACZ>("GRACZ", 16 + 6, 50);
  C_GRACZ2* odd = Place<C_GRACZ2>("GRACZ2", 16 + 7, 150);
  Wall(0, 50);
  Wall(0, 150);
  EXPECT_EQ(Walk(even, VK_LEFT, 4, true), (std::vector<double>{20, 18, 16, 16}));
  Hold({'A'});
  for (int i = 0; i < 4; ++i) odd->Update();
  EXPECT_EQ(odd->position.x, 17);
}

TEST_F(PlayerTest, UpAndDownStopTouchingAndTwoShort) {
  C_GRACZ* up = Place<C_GRACZ>("GRACZ", 50, 16 + 4);
  Wall(50, 0);
  EXPECT_EQ(Walk(up, VK_UP, 3, false), (std::vector<double>{18, 16, 16}));
  C_GRACZ2* down = Place<C_GRACZ2>("GRACZ2", 150, 200 - 14 - 5);
  Wall(150, 200);
  Hold({'S'});
  for (int i = 0; i < 4; ++i) down->Update();
  EXPECT_EQ(down->position.y, 200 - 14 - 1);
}

TEST_F(PlayerTest, ATileTouchingFromAboveBlocksOnlyUp) {
  C_GRACZ* player = Place<C_GRACZ>("GRACZ", 50, 50);
  Wall(50, 50 - 16);  // its bottom edge on the player's top edge
  Hold({VK_UP});
  player->Update();
  EXPECT_EQ(player->position.y, 50);
  Hold({VK_LEFT});
  player->Update();
  EXPECT_EQ(player->position.x, 48);
  Hold({VK_RIGHT});
  player->Update();
  EXPECT_EQ(player->position.x, 50);
}

TEST_F(PlayerTest, ATileTouchingFromBelowBlocksLeftRightAndDown) {
  C_GRACZ* player = Place<C_GRACZ>("GRACZ", 50, 50);
  Wall(50, 50 + 14);  // its top edge on the player's bottom edge
  for (unsigned int key : {VK_LEFT, VK_RIGHT, VK_DOWN}) {
    Hold({key});
    player->Update();
    EXPECT_EQ(player->position.x, 50) << key;
    EXPECT_EQ(player->position.y, 50) << key;
  }
  Hold({VK_UP});
  player->Update();
  EXPECT_EQ(player->position.y, 48);
}

TEST_F(PlayerTest, OppositeKeysTogetherCancel) {
  C_GRACZ* player = Place<C_GRACZ>("GRACZ", 300, 300);
  Hold({VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT});
  player->Update();
  EXPECT_EQ(player->position.x, 300);
  EXPECT_EQ(player->position.y, 300);
  // Against a wall on the right, left and right together leave it 2 pixels to the left.
  Wall(300 + 14 + 1, 300);
  Hold({VK_LEFT, VK_RIGHT});
  player->Update();
  EXPECT_EQ(player->position.x, 298);
}

TEST_F(PlayerTest, ThePlayersBlockEachOtherAsWallsDo) {
  C_GRACZ* one = Place<C_GRACZ>("GRACZ", 100, 100);
  C_GRACZ2* two = Place<C_GRACZ2>("GRACZ2", 100 + 14 + 2, 100);
  Hold({VK_RIGHT, 'A'});
  one->Update();
  two->Update();
  EXPECT_EQ(one->position.x, 100);
  // Player 2's left probe reaches 1 pixel: 2 away it still moves, and then touches.
  EXPECT_EQ(two->position.x, 114);
  two->Update();
  EXPECT_EQ(two->position.x, 114);
}

TEST_F(PlayerTest, AHazardSendsItHomeAndItStillMovesByItsOldSides) {
  C_GRACZ* player = Place<C_GRACZ>("GRACZ", 60, 60);
  player->position = KV_VECTOR_D(300, 300, 0, 1);
  Place<C_MALY_KOLEC>("MALY_KOLEC", 305, 305);
  Wall(300 + 14 + 2, 300);  // blocks the right side at the old place, not the bottom
  Hold({VK_RIGHT, VK_DOWN});
  player->Update();
  EXPECT_EQ(player->position.x, 60);  // right was blocked where it was
  EXPECT_EQ(player->position.y, 62);

  // Lasers count as well; z and w stay.
  player->position = KV_VECTOR_D(200, 100, 5, 1);
  Place<C_LASER_PIONOWY>("LASER_PIONOWY", 203, 0);
  Hold({});
  player->Update();
  EXPECT_EQ(player->position.x, 60);
  EXPECT_EQ(player->position.y, 60);
  EXPECT_EQ(player->position.z, 5);
}

TEST_F(PlayerTest, StartPointsAreTruncatedAndSpritesShared) {
  C_GRACZ2 player(KV_VECTOR_D(10.9, -3.7, 0, 1));
  EXPECT_EQ(player.startX, 10);
  EXPECT_EQ(player.startY, -3);
  EXPECT_STREQ(player.name.name, "GRACZ2");
  EXPECT_EQ(Shown(&player), Marker("spr_gracz2"));
  EXPECT_EQ(player.sprite.boxWidth, 14);
}
