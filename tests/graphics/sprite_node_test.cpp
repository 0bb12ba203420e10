// KV_SPRITENODE on the real engine, offscreen: bone geometry, paths that create what they name,
// the tree-order and depth-sorted draws (by their matrix calls and by pixels), hiding, mirroring,
// the displacement, bounds, colour and freeing.
#include "graphics/sprite_node.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/small_math.h"
#include "graphics_fixture.h"

using kv::engine::testing::StartTrace;
using kv::engine::testing::StopTrace;

namespace {

// A loaded sprite of one w x h frame of one colour, pivot at its top-left.
void LoadSolid(KV_SPRITE& sprite, const char* name, int w, int h, uint8_t r, uint8_t g, uint8_t b) {
  kvtest::WriteSolidKvt(name, w, h, r, g, b);
  ASSERT_TRUE(sprite.Load(name, 1, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, -1, -1, 0, 0));
  std::remove(name);
}

// The (x, y) of every KvMatrixTranslate and the angle of every KvMatrixRotate about z, in order.
struct Placement {
  double x, y, angle;
};
std::vector<Placement> Placements(const std::vector<std::string>& calls) {
  std::vector<Placement> found;
  for (const std::string& call : calls) {
    double a, b, c, d;
    if (std::sscanf(call.c_str(), "KvMatrixTranslate(%lf, %lf, %lf)", &a, &b, &c) == 3)
      found.push_back({a, b, 0});
    if (std::sscanf(call.c_str(), "KvMatrixRotate(%lf, %lf, %lf, %lf)", &a, &b, &c, &d) == 4 &&
        d == 1 && !found.empty())
      found.back().angle = a;
  }
  return found;
}

}  // namespace

class SpriteNode : public GraphicsTest {
 protected:
  KV_SPRITENODE root;
  void TearDown() override {
    // The tree's sprites are copies; the loaded originals below own the textures.
    root.Free();
    for (KV_SPRITE* sprite : {&red, &green, &blue}) sprite->Destroy(0);
    GraphicsTest::TearDown();
  }
  KV_SPRITE red, green, blue;
};

// ---- geometry and paths ----------------------------------------------------------------------

TEST_F(SpriteNode, ABoneEndsAlongItsAccumulatedAngle) {
  KV_SPRITENODE* arm = root.Add("arm");
  arm->angle = 90;
  arm->distance = 10;
  KV_SPRITENODE* hand = root.Add("arm/hand");
  hand->angle = 90;
  hand->distance = 5;
  KV_VECTOR_D expected = KvLengthdirVector(KV_ROTATION_D(90, 0, 0, 0), 10);
  // The hand starts where the arm ends; its own end turns on by another 90 degrees.
  KV_VECTOR_D handStart = root.Find("arm/hand", KV_VECTOR_D(0, 0), 0);
  EXPECT_NEAR(handStart.x, expected.x, 1e-9);
  EXPECT_NEAR(handStart.y, expected.y, 1e-9);
  EXPECT_NEAR(handStart.y, 10, 1e-9);
  EXPECT_FLOAT_EQ(root.FindValue("arm/hand", 30), 120);
  EXPECT_FLOAT_EQ(root.FindValue("arm", 30), 30);
  EXPECT_FLOAT_EQ(root.FindValue("", 30), 30);
  KV_VECTOR_D start = root.Find("", KV_VECTOR_D(3, 4), 0);
  EXPECT_EQ(start.x, 3);
  EXPECT_EQ(start.y, 4);
  // The root's own bone counts: the arm starts at the root's end.
  root.distance = 2;
  EXPECT_NEAR(root.Find("arm", KV_VECTOR_D(0, 0), 0).x, 2, 1e-9);
}

TEST_F(SpriteNode, PathsCreateWhatTheyNameOnlyOnce) {
  KV_SPRITENODE* c = root.Add("a/b/c");
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(root.children.CountName(nullptr), 1u);
  KV_SPRITENODE* a = root.FindOrCreate("a", 1);
  ASSERT_NE(a, nullptr);
  KV_SPRITENODE* b = root.FindOrCreate("b", 1, a);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->FindOrCreate("c", 1), c);
  EXPECT_EQ(root.Add("a/b/c"), c);
  EXPECT_EQ(b->children.CountName(nullptr), 1u);
  EXPECT_EQ(root.FindOrCreate("a/x", 1), nullptr);  // finding creates nothing
  EXPECT_EQ(a->children.CountName(nullptr), 1u);
  root.Find("q/r", KV_VECTOR_D(), 0);  // a query creates the nodes it names
  EXPECT_NE(root.FindOrCreate("q/r", 1), nullptr);
  std::string tooLong(200, 'n');
  EXPECT_EQ(root.Add(tooLong.c_str()), nullptr);
  EXPECT_FLOAT_EQ(root.FindValue(tooLong.c_str(), 7), 7);
}

// ---- drawing ---------------------------------------------------------------------------------

TEST_F(SpriteNode, DrawPlacesEachSpriteAtItsBoneAndSkipsHiddenSubtrees) {
  LoadSolid(red, "node_red.kvt", 2, 2, 255, 0, 0);
  root.sprite = red;
  root.distance = 10;
  KV_SPRITENODE* arm = root.Add("arm");
  arm->sprite = red;
  arm->angle = 90;
  arm->distance = 10;
  KV_SPRITENODE* mirrored = root.Add("arm/m");
  mirrored->sprite = red;
  mirrored->distance = 4;
  mirrored->mirrored = 1;
  KV_SPRITENODE* hidden = root.Add("hidden");
  hidden->sprite = red;
  hidden->visible = 0;
  hidden->Add("below")->sprite = red;
  StartTrace();
  root.Draw(KV_VECTOR_D(1, 2), 0, KV_VECTOR_D(0, 0, 0, 1));
  StopTrace();
  std::vector<Placement> drawn = Placements(Calls("KvMatrix"));
  ASSERT_EQ(drawn.size(), 3u);
  EXPECT_NEAR(drawn[0].x, 1, 1e-9);
  EXPECT_NEAR(drawn[0].angle, 0, 1e-9);
  EXPECT_NEAR(drawn[1].x, 11, 1e-9);  // the arm starts at the root's end
  EXPECT_NEAR(drawn[1].angle, 90, 1e-9);
  // Mirrored: drawn from the bone's end (4 further along 90 degrees), turned round.
  EXPECT_NEAR(drawn[2].x, 11, 1e-6);
  EXPECT_NEAR(drawn[2].y, 16, 1e-6);
  EXPECT_NEAR(drawn[2].angle, 270, 1e-9);
  // The sorted draw hides the same subtree.
  StartTrace();
  root.DrawSorted(KV_VECTOR_D(1, 2), 0, KV_VECTOR_D(0, 0, 0, 1));
  StopTrace();
  EXPECT_EQ(Placements(Calls("KvMatrix")).size(), 3u);
}

TEST_F(SpriteNode, TheDisplacementGrowsWithDepth) {
  LoadSolid(red, "node_red.kvt", 2, 2, 255, 0, 0);
  root.sprite = red;
  root.depth = 3;
  KV_SPRITENODE* child = root.Add("c");
  child->sprite = red;
  child->depth = 0;
  StartTrace();
  root.Draw(KV_VECTOR_D(5, 5), 0, KV_VECTOR_D(2, 1, 0, 1));
  StopTrace();
  std::vector<Placement> drawn = Placements(Calls("KvMatrix"));
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_NEAR(drawn[0].x, 11, 1e-9);
  EXPECT_NEAR(drawn[0].y, 8, 1e-9);
  EXPECT_NEAR(drawn[1].x, 5, 1e-9);
}

TEST_F(SpriteNode, TheSortedDrawPaintsSmallerDepthsFirst) {
  LoadSolid(red, "node_red.kvt", 8, 8, 255, 0, 0);
  LoadSolid(green, "node_green.kvt", 8, 8, 0, 255, 0);
  LoadSolid(blue, "node_blue.kvt", 8, 8, 0, 0, 255);
  // Three sprites on the same spot: parent red (depth 0), child green (depth -1) and a second
  // child blue (depth 0, after the parent in tree order).
  root.sprite = red;
  KV_SPRITENODE* under = root.Add("under");
  under->sprite = green;
  under->depth = -1;
  KV_SPRITENODE* same = root.Add("same");
  same->sprite = blue;
  root.DrawSorted(KV_VECTOR_D(10, 10), 0, KV_VECTOR_D(0, 0, 0, 1));
  EXPECT_EQ(Pixel(12, 12), 0x0000FFFFu);  // equal depths keep tree order: blue last
  same->visible = 0;
  KvRenderScene(KV_SCENE_CLEAR_COLOR);
  root.DrawSorted(KV_VECTOR_D(10, 10), 0, KV_VECTOR_D(0, 0, 0, 1));
  EXPECT_EQ(Pixel(12, 12), 0xFF0000FFu);  // the child of depth -1 lies under its parent
  // In tree order the child would come last and cover it.
  KvRenderScene(KV_SCENE_CLEAR_COLOR);
  root.Draw(KV_VECTOR_D(10, 10), 0, KV_VECTOR_D(0, 0, 0, 1));
  EXPECT_EQ(Pixel(12, 12), 0x00FF00FFu);
}

TEST_F(SpriteNode, CompareDepthOrdersByDepthOnly) {
  KV_DRAWITEM low, high, alsoLow;
  low.depth = -1;
  high.depth = 2;
  alsoLow.depth = -1;
  alsoLow.angle = 45;
  EXPECT_EQ(KV_SPRITENODE::CompareDepth(&low, &high), -1);
  EXPECT_EQ(KV_SPRITENODE::CompareDepth(&high, &low), 1);
  EXPECT_EQ(KV_SPRITENODE::CompareDepth(&low, &alsoLow), 0);
}

// ---- bounds, colour, freeing -----------------------------------------------------------------

TEST_F(SpriteNode, BoundsHoldEveryEndAndRadius) {
  root.distance = 10;  // ends at (10, 0)
  root.radius = 1;
  KV_SPRITENODE* up = root.Add("up");
  up->angle = 90;
  up->distance = 20;  // ends at (10, 20)
  up->radius = 2;
  KV_VECTOR_D min(1e9, 1e9, 1e9, 1), max(-1e9, -1e9, -1e9, 1);
  root.AccumulatePosition(KV_VECTOR_D(0, 0), 0, min, max);
  EXPECT_NEAR(min.x, 8, 1e-6);
  EXPECT_NEAR(min.y, -1, 1e-6);
  EXPECT_NEAR(max.x, 12, 1e-6);
  EXPECT_NEAR(max.y, 22, 1e-6);
  KV_VECTOR_D centre = root.Transform(KV_VECTOR_D(0, 0), 0);
  EXPECT_NEAR(centre.x, 10, 1e-6);
  EXPECT_NEAR(centre.y, 10.5, 1e-6);
  // The farthest end plus its radius: (10, 20) is 9.5 from the centre, plus 2.
  EXPECT_NEAR(root.AccumulateAngle(KV_VECTOR_D(0, 0), 0), 11.5, 1e-5);
}

TEST_F(SpriteNode, SetColorAndFreeReachTheWholeSubtree) {
  LoadSolid(red, "node_red.kvt", 2, 2, 255, 0, 0);
  root.sprite = red;
  KV_SPRITENODE* leaf = root.Add("a/b");
  leaf->sprite = red;
  root.SetColor(0.5f, 0.25f, 1, 0.75f);
  EXPECT_EQ(leaf->sprite.GetColor().y, 0.25f);
  EXPECT_EQ(root.sprite.GetColor().w, 0.75f);
  size_t live = kv::engine::testing::LiveObjectCount();
  root.Free();
  EXPECT_EQ(root.children.CountName(nullptr), 0u);
  EXPECT_EQ(root.sprite.GetFrameCount(), 0u);
  EXPECT_EQ(kv::engine::testing::LiveObjectCount(), live);  // the textures stay
  EXPECT_EQ(red.GetFrameCount(), 1u);
}
