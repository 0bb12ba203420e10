// KV_SPRITE on the real engine, offscreen: the loaders' engine calls and sizes, frame selection
// and animation, strips, copies, destruction, bad texture files and drawn pixels.
#include "graphics/sprite.h"

#include <cmath>
#include <filesystem>

#include "foundation/buffer.h"
#include "foundation/virtual_file.h"
#include "graphics_fixture.h"

using kv::engine::testing::LiveObjectCount;
using kv::engine::testing::StartTrace;
using kv::engine::testing::StopTrace;
using kv::engine::testing::TracedCalls;

namespace {

// A loaded sprite of n frames of w x h pixels (files sprite_f<i>.kvt).
bool LoadFrames(KV_SPRITE& sprite, int n, int w = 4, int h = 4) {
  std::string list;
  for (int i = 0; i < n; ++i) {
    std::string name = "sprite_f" + std::to_string(i) + ".kvt";
    kvtest::WriteSolidKvt(name, w, h);
    list += name + ";";
  }
  return sprite.Load(list.c_str(), 1, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, -1, -1, 0, 0);
}

}  // namespace

using SpriteLoad = GraphicsTest;

TEST_F(SpriteLoad, MakesEachFrameWithTheEngineCallsInOrder) {
  kvtest::WriteSolidKvt("sprite_a.kvt", 32, 16);
  kvtest::WriteSolidKvt("sprite_b.kvt", 64, 8);
  KV_SPRITE sprite;
  StartTrace();
  ASSERT_TRUE(sprite.Load("sprite_a.kvt;;sprite_b.kvt", 0, KV_FILTER_NEAREST, KV_FILTER_LINEAR, 1,
                          2, 3, 4, 5, 6));
  StopTrace();
  EXPECT_EQ(sprite.GetFrameCount(), 2u);
  EXPECT_EQ(sprite.width, 64);
  EXPECT_EQ(sprite.height, 16);
  EXPECT_EQ(sprite.loaded, 1);
  EXPECT_EQ(sprite.GetFramePosition(), 0.0f);
  std::string id = std::to_string(sprite.frames.Begin()->Id());
  std::vector<std::string> expected = {
      "KvTextureCreate(ptr)",          "KvTextureLoad(" + id + ", \"sprite_a.kvt\", 0)",
      "KvTextureActivate(" + id + ")", "KvTextureParameter(237, 242)",
      "KvTextureParameter(238, 243)",  "KvTextureUnactivate(58)",
      "KvTextureGet(" + id + ", 258)", "KvTextureGet(" + id + ", 259)"};
  ASSERT_GE(TracedCalls().size(), 16u);
  EXPECT_EQ(std::vector<std::string>(TracedCalls().begin(), TracedCalls().begin() + 8), expected);
  EXPECT_EQ(Calls("KvTextureLoad(").size(), 2u);
  // The six integers land as given when the box size is not negative.
  EXPECT_EQ(sprite.pivotX, 1);
  EXPECT_EQ(sprite.pivotY, 2);
  EXPECT_EQ(sprite.boxWidth, 3);
  EXPECT_EQ(sprite.boxHeight, 4);
  EXPECT_EQ(sprite.boxX, 5);
  EXPECT_EQ(sprite.boxY, 6);
  sprite.Destroy(0);
}

TEST_F(SpriteLoad, SizesOnlyGrowAndNegativeBoxSizesTakeTheFrame) {
  kvtest::WriteSolidKvt("sprite_big.kvt", 40, 30);
  kvtest::WriteSolidKvt("sprite_small.kvt", 8, 8);
  KV_SPRITE sprite;
  ASSERT_TRUE(
      sprite.Load("sprite_big.kvt", 1, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 7, 9, -1, 5, 1, 2));
  EXPECT_EQ(sprite.boxWidth, 40);
  EXPECT_EQ(sprite.boxX, 7);
  EXPECT_EQ(sprite.boxHeight, 5);
  EXPECT_EQ(sprite.boxY, 2);
  ASSERT_TRUE(
      sprite.Load("sprite_small.kvt", 1, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, 0, 0, 0, 0));
  EXPECT_EQ(sprite.width, 40);
  EXPECT_EQ(sprite.height, 30);
  EXPECT_EQ(sprite.GetFrameCount(), 2u);
  sprite.Destroy(0);
}

TEST_F(SpriteLoad, BadFilesAreSkippedAndLeaveNoTextureBehind) {
  kvtest::WriteSolidKvt("sprite_good.kvt", 4, 4);
  kvtest::WriteFile("sprite_empty.kvt", {});
  std::vector<uint8_t> truncated = kvtest::KvtBytes(4, 4, kvtest::Solid(4, 4, 1, 2, 3));
  truncated.resize(truncated.size() - 5);
  kvtest::WriteFile("sprite_truncated.kvt", truncated);
  kvtest::WriteFile("sprite_garbage.kvt", std::vector<uint8_t>(100, 0xA5));
  size_t before = LiveObjectCount();
  KV_SPRITE sprite;
  EXPECT_TRUE(
      sprite.Load("sprite_missing.kvt;sprite_empty.kvt;sprite_truncated.kvt;"
                  "sprite_garbage.kvt",
                  1, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, -1, -1, 0, 0));
  EXPECT_EQ(sprite.GetFrameCount(), 0u);
  EXPECT_EQ(sprite.width, 0);
  EXPECT_TRUE(sprite.GetTexture().IsNull());
  EXPECT_EQ(sprite.GetFramePosition(), -1.0f);
  EXPECT_EQ(LiveObjectCount(), before);
  // Nothing half-made trips a later call: drawing, locking and destroying are harmless.
  sprite.Draw(KV_VECTOR_D(), KV_VECTOR_D(0, 0, 0, 0), KV_VECTOR_D(1, 1, 1, 1));
  EXPECT_EQ(sprite.Lock(), nullptr);
  EXPECT_FALSE(sprite.SaveFrame("sprite_nothing.bin"));
  // A good file among bad ones still loads.
  EXPECT_TRUE(sprite.Load("sprite_garbage.kvt;sprite_good.kvt", 1, KV_FILTER_NEAREST,
                          KV_FILTER_NEAREST, 0, 0, -1, -1, 0, 0));
  EXPECT_EQ(sprite.GetFrameCount(), 1u);
  EXPECT_EQ(sprite.width, 4);
  sprite.Destroy(0);
  EXPECT_EQ(LiveObjectCount(), before);
}

TEST_F(SpriteLoad, ArgumentChecksAndMemoryBlocks) {
  KV_SPRITE sprite;
  EXPECT_FALSE(sprite.Load(nullptr, 1, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, 0, 0, 0, 0));
  EXPECT_FALSE(
      sprite.LoadFromMemory(nullptr, 1, 1, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, 0, 0, 0, 0));
  std::vector<uint8_t> block = kvtest::KvtBytes(6, 3, kvtest::Solid(6, 3, 9, 9, 9));
  const void* blocks[3] = {nullptr, block.data(), nullptr};
  EXPECT_FALSE(
      sprite.LoadFromMemory(blocks, 0, 1, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, 0, 0, 0, 0));
  EXPECT_FALSE(sprite.LoadEmpty(0, 5, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, 0, 0, 0, 0));
  EXPECT_FALSE(sprite.LoadEmpty(5, 0, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, 0, 0, 0, 0));
  EXPECT_EQ(sprite.loaded, 0);
  StartTrace();
  EXPECT_TRUE(sprite.LoadFromMemory(blocks, 3, 1, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, -1,
                                    -1, 0, 0));
  StopTrace();
  EXPECT_EQ(Calls("KvTextureCreate").size(), 1u);
  EXPECT_EQ(sprite.GetFrameCount(), 1u);
  EXPECT_EQ(sprite.width, 6);
  EXPECT_EQ(sprite.height, 3);
  sprite.Destroy(0);
}

TEST_F(SpriteLoad, EmptyAndRenderFramesAreNotActivatedAgain) {
  KV_SPRITE sprite;
  StartTrace();
  ASSERT_TRUE(sprite.LoadEmpty(10, 12, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, -1, -1, 0, 0));
  ASSERT_TRUE(
      sprite.LoadFromRender(0, 0, 16, 8, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, -1, -1, 0, 0));
  StopTrace();
  EXPECT_TRUE(Calls("KvTextureActivate").empty());
  ASSERT_EQ(Calls("KvTextureLoadEmpty").size(), 1u);
  EXPECT_NE(Calls("KvTextureLoadEmpty")[0].find(", 10, 12, 1)"), std::string::npos);
  ASSERT_EQ(Calls("KvTextureFromRender").size(), 1u);
  EXPECT_NE(Calls("KvTextureFromRender")[0].find(", 0, 0, 16, 8, 1)"), std::string::npos);
  EXPECT_EQ(sprite.GetFrameCount(), 2u);
  EXPECT_EQ(sprite.width, 16);
  EXPECT_EQ(sprite.height, 12);
  sprite.Destroy(0);
}

TEST_F(SpriteLoad, StripDividesTheWidthAndAnimatesTheCoordinates) {
  kvtest::WriteSolidKvt("sprite_strip.kvt", 128, 8);
  KV_SPRITE sprite;
  sprite.stripCount = 4;
  ASSERT_TRUE(
      sprite.Load("sprite_strip.kvt", 1, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, -1, -1, 0, 0));
  EXPECT_EQ(sprite.width, 32);
  EXPECT_EQ(sprite.boxWidth, 32);
  EXPECT_FLOAT_EQ(sprite.vertices[1].position[0], 32);
  EXPECT_FLOAT_EQ(sprite.vertices[1].texCoord[0], 0.25f);
  sprite.AnimateTime(1.5f);
  EXPECT_FLOAT_EQ(sprite.stripPosition, 1.5f);
  EXPECT_FLOAT_EQ(sprite.vertices[0].texCoord[0], 0.25f);
  EXPECT_FLOAT_EQ(sprite.vertices[1].texCoord[0], 0.5f);
  EXPECT_FLOAT_EQ(sprite.vertices[2].texCoord[0], 0.5f);
  EXPECT_FLOAT_EQ(sprite.vertices[3].texCoord[0], 0.25f);
  EXPECT_FLOAT_EQ(sprite.vertices[2].texCoord[1], 1.0f);
  sprite.AnimateTime(3.0f);  // 4.5 wraps to 0.5
  EXPECT_FLOAT_EQ(sprite.stripPosition, 0.5f);
  EXPECT_FLOAT_EQ(sprite.vertices[1].texCoord[0], 0.25f);
  sprite.Destroy(0);
}

using SpriteFrames = GraphicsTest;

TEST_F(SpriteFrames, SetFrameSelectsByTruncatedIndex) {
  KV_SPRITE sprite;
  ASSERT_TRUE(LoadFrames(sprite, 3));
  KV_HANDLE third = *sprite.frames.Last();
  EXPECT_TRUE(sprite.SetFrame(2.7f));
  EXPECT_EQ(sprite.GetTexture(), third);
  EXPECT_FLOAT_EQ(sprite.GetFramePosition(), 2.7f);
  EXPECT_FALSE(sprite.SetFrame(3));
  EXPECT_TRUE(sprite.GetTexture().IsNull());
  EXPECT_EQ(sprite.GetFramePtr(), nullptr);
  EXPECT_EQ(sprite.GetFramePosition(), -1.0f);
  EXPECT_FALSE(sprite.SetFrame(-1.0f));
  EXPECT_FALSE(sprite.SetFrame(NAN));
  EXPECT_FALSE(sprite.SetFrame(1e30f));
  sprite.Destroy(0);
}

TEST_F(SpriteFrames, AnimateWrapsAtBothEnds) {
  KV_SPRITE sprite;
  ASSERT_TRUE(LoadFrames(sprite, 3));
  KV_HANDLE first = *sprite.frames.Begin(), last = *sprite.frames.Last();
  ASSERT_TRUE(sprite.SetFrame(2));
  sprite.Animate(1);
  EXPECT_EQ(sprite.GetTexture(), first);
  EXPECT_FLOAT_EQ(sprite.GetFramePosition(), 0.0f);
  ASSERT_TRUE(sprite.SetFrame(0.3f));
  sprite.Animate(-0.5f);
  EXPECT_EQ(sprite.GetTexture(), first);
  EXPECT_FLOAT_EQ(sprite.GetFramePosition(), -0.2f);
  // From -0.2, one more frame back truncates to -1: the cursor wraps to the last frame.
  sprite.Animate(-1.0f);
  EXPECT_EQ(sprite.GetTexture(), last);
  // A long run moves by its remainder only: 3001 frames on from frame 0 is frame 1.
  ASSERT_TRUE(sprite.SetFrame(0));
  sprite.Animate(3001.0f);
  KV_LIST_ITERATOR<KV_HANDLE> second = sprite.frames.Begin();
  second.Next();
  EXPECT_EQ(sprite.GetTexture(), *second);
  EXPECT_FLOAT_EQ(sprite.GetFramePosition(), 1.0f);
  sprite.Destroy(0);
  sprite.Animate(1);
  EXPECT_TRUE(sprite.GetTexture().IsNull());
  EXPECT_EQ(sprite.GetFramePosition(), 0.0f);
}

TEST_F(SpriteFrames, AddAndRemoveFrames) {
  KV_SPRITE sprite;
  ASSERT_TRUE(LoadFrames(sprite, 2));
  KV_HANDLE first = *sprite.frames.Begin();
  EXPECT_FALSE(sprite.AddFrame(KV_HANDLE()));
  EXPECT_FALSE(sprite.RemoveFrame(KV_HANDLE()));
  ASSERT_TRUE(sprite.SetFrame(0));
  EXPECT_TRUE(sprite.RemoveFrame(first));
  EXPECT_FALSE(sprite.RemoveFrame(first));
  EXPECT_TRUE(sprite.GetTexture().IsNull());
  EXPECT_EQ(sprite.GetFrameCount(), 1u);
  // The removed texture is still alive: it was only dropped from the list.
  EXPECT_NE(KvTextureGet(first, KV_TEX_WIDTH), nullptr);
  KvTextureDestroy(first);
  sprite.Destroy(0);
}

TEST_F(SpriteFrames, DestroyKeepsOrFreesTheTextures) {
  size_t before = LiveObjectCount();
  KV_SPRITE sprite;
  ASSERT_TRUE(LoadFrames(sprite, 3));
  EXPECT_EQ(LiveObjectCount(), before + 3);
  std::vector<KV_HANDLE> kept;
  for (auto it = sprite.frames.Begin(); !it.IsEnd(); it.Next()) kept.push_back(*it);
  KV_HANDLE first = kept[0];
  sprite.Destroy(1);
  EXPECT_EQ(sprite.GetFrameCount(), 0u);
  EXPECT_EQ(sprite.GetFramePosition(), -1.0f);
  EXPECT_EQ(sprite.loaded, 0);
  EXPECT_EQ(LiveObjectCount(), before + 3);
  EXPECT_NE(KvTextureGet(first, KV_TEX_WIDTH), nullptr);
  // A sprite not marked loaded only drops its list.
  sprite.AddFrame(first);
  sprite.Destroy(0);
  EXPECT_EQ(LiveObjectCount(), before + 3);
  ASSERT_TRUE(LoadFrames(sprite, 2));
  sprite.Destroy(0);
  EXPECT_EQ(LiveObjectCount(), before + 3);
  for (KV_HANDLE texture : kept) KvTextureDestroy(texture);
  EXPECT_EQ(LiveObjectCount(), before);
}

TEST_F(SpriteFrames, CopiesShowTheSameFramesButNeverFreeThem) {
  size_t before = LiveObjectCount();
  auto* named = new KV_SPRITE;
  ASSERT_TRUE(LoadFrames(*named, 3));
  ASSERT_TRUE(named->SetFrame(1));
  KV_SPRITE actorSprite = *named;
  EXPECT_EQ(actorSprite.GetTexture(), named->GetTexture());
  EXPECT_NE(actorSprite.GetFramePtr(), named->GetFramePtr());
  EXPECT_EQ(actorSprite.loaded, 0);
  EXPECT_EQ(actorSprite.width, named->width);
  // A copy's destruction or Destroy(0) leaves the named sprite's textures alone.
  actorSprite.Destroy(0);
  EXPECT_EQ(LiveObjectCount(), before + 3);
  KV_SPRITE second;
  second = *named;
  delete named;  // the copy's selection lives in its own list
  EXPECT_FALSE(second.GetTexture().IsNull());
  second.Animate(1);
  EXPECT_FALSE(second.GetTexture().IsNull());
  // A move hands the ownership over.
  KV_SPRITE owner;
  ASSERT_TRUE(LoadFrames(owner, 1));
  KV_SPRITE moved(static_cast<KV_SPRITE&&>(owner));
  EXPECT_EQ(owner.GetFrameCount(), 0u);
  EXPECT_EQ(moved.loaded, 1);
  EXPECT_FALSE(moved.GetTexture().IsNull());
  moved.Destroy(0);
  second.SetLoaded(1);
  second.Destroy(0);
  EXPECT_EQ(LiveObjectCount(), before);
}

TEST_F(SpriteFrames, GeometryFollowsSizeAndPivot) {
  KV_SPRITE sprite;
  EXPECT_FLOAT_EQ(sprite.vertices[2].texCoord[0], 1);
  EXPECT_FLOAT_EQ(sprite.vertices[2].normal[2], 1);
  EXPECT_EQ(sprite.GetColor().x, 1);
  ASSERT_TRUE(LoadFrames(sprite, 1, 9, 5));
  sprite.CenterPivot();
  EXPECT_EQ(sprite.pivotX, 4);
  EXPECT_EQ(sprite.pivotY, 2);
  EXPECT_EQ(sprite.boxX, 0);  // the collision rectangle is not moved
  EXPECT_FLOAT_EQ(sprite.vertices[0].position[0], -4);
  EXPECT_FLOAT_EQ(sprite.vertices[2].position[0], 5);
  EXPECT_FLOAT_EQ(sprite.vertices[2].position[1], 3);
  sprite.ResetRect();
  EXPECT_EQ(sprite.boxX, 4);
  EXPECT_EQ(sprite.boxWidth, 9);
  sprite.SetColor(0.5f, 0.25f, 0, 1);
  EXPECT_FLOAT_EQ(sprite.vertices[3].color[0], 0.5f);
  EXPECT_FLOAT_EQ(sprite.GetColor().y, 0.25f);
  int32_t w = 0, h = 0;
  auto* pixels = static_cast<uint8_t*>(sprite.Lock(&w, &h));
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(w, 9);
  EXPECT_EQ(h, 5);
  EXPECT_EQ(pixels[0], 255);
  EXPECT_EQ(sprite.Unlock(0), 1);
  sprite.Destroy(0);
}

using SpriteDraw = GraphicsTest;

TEST_F(SpriteDraw, DrawsAroundThePivotInTheEngineOrder) {
  KV_SPRITE sprite;
  ASSERT_TRUE(LoadFrames(sprite, 1));
  std::string id = std::to_string(sprite.GetTexture().Id());
  StartTrace();
  sprite.Draw(KV_VECTOR_D(5, 6, 7), KV_VECTOR_D(30, 20, 10, 0), KV_VECTOR_D(2, 3, 4));
  StopTrace();
  std::vector<std::string> expected = {"KvMatrixPush()",
                                       "KvMatrixIdentity()",
                                       "KvMatrixTranslate(5, 6, 7)",
                                       "KvMatrixRotate(10, 1, 0, 0)",
                                       "KvMatrixRotate(20, 0, 1, 0)",
                                       "KvMatrixRotate(30, 0, 0, 1)",
                                       "KvMatrixScale(2, 3, 4)",
                                       "KvTextureActivate(" + id + ")",
                                       "KvDrawDataStruct(11, 0, 4, ptr, 0, 0, 0, 0, 0, 0, 0)",
                                       "KvMatrixPop()"};
  EXPECT_EQ(TracedCalls(), expected);
  StartTrace();
  sprite.DrawRect(KV_VECTOR(0, 0), KV_VECTOR(4, 4), 1, 1);
  sprite.SetFrame(5);
  sprite.Draw(KV_VECTOR_D(), KV_VECTOR_D(), KV_VECTOR_D());
  sprite.DrawRect(KV_VECTOR(0, 0), KV_VECTOR(4, 4), 1, 1);
  sprite.DrawEx(KV_VECTOR(0, 0), KV_VECTOR(4, 4), 1, 1);
  StopTrace();
  EXPECT_EQ(TracedCalls().size(), 2u);  // only the first rectangle: no matrix calls, no frame
  sprite.Destroy(0);
}

TEST_F(SpriteDraw, LandsOnThePixelsOfItsPositionRotationAndScale) {
  // 4 x 2 pixels: red on the left half, blue on the right.
  std::vector<uint8_t> pixels;
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) {
      uint8_t red = x < 2 ? 255 : 0;
      pixels.insert(pixels.end(), {red, 0, (uint8_t)(255 - red), 255});
    }
  kvtest::WriteFile("sprite_two.kvt", kvtest::KvtBytes(4, 2, pixels));
  KV_SPRITE sprite;
  ASSERT_TRUE(
      sprite.Load("sprite_two.kvt", 1, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, -1, -1, 0, 0));
  // Unturned at (10, 4), scale 2: red over x 10..13, blue over 14..17, rows 4..7.
  sprite.Draw(KV_VECTOR_D(10, 4), KV_VECTOR_D(0, 0, 0, 0), KV_VECTOR_D(2, 2, 1));
  EXPECT_EQ(Pixel(11, 5), 0xFF0000FFu);
  EXPECT_EQ(Pixel(16, 6), 0x0000FFFFu);
  EXPECT_EQ(Pixel(19, 5), 0x000000FFu);
  EXPECT_EQ(Pixel(11, 9), 0x000000FFu);
  // Turned by 90 degrees at (40, 10): x runs down the screen, y to the left.
  sprite.Draw(KV_VECTOR_D(40, 10), KV_VECTOR_D(90, 0, 0, 0), KV_VECTOR_D(2, 2, 1));
  EXPECT_EQ(Pixel(38, 11), 0xFF0000FFu);
  EXPECT_EQ(Pixel(38, 16), 0x0000FFFFu);
  EXPECT_EQ(Pixel(38, 19), 0x000000FFu);
  EXPECT_EQ(Pixel(41, 12), 0x000000FFu);
  // A centred pivot lands on the position.
  sprite.CenterPivot();
  sprite.SetColor(1, 1, 1, 1);
  sprite.Draw(KV_VECTOR_D(30, 40), KV_VECTOR_D(0, 0, 0, 0), KV_VECTOR_D(1, 1, 1));
  EXPECT_EQ(Pixel(28, 39), 0xFF0000FFu);
  EXPECT_EQ(Pixel(31, 40), 0x0000FFFFu);
  EXPECT_EQ(Pixel(32, 40), 0x000000FFu);
  sprite.Destroy(0);
}

TEST_F(SpriteDraw, DrawExRepeatsTheFrameOverTheRectangle) {
  std::vector<uint8_t> pixels;
  for (int x = 0; x < 2; ++x) {
    uint8_t green = x == 0 ? 255 : 0;
    pixels.insert(pixels.end(), {0, green, 0, 255});
  }
  kvtest::WriteFile("sprite_pair.kvt", kvtest::KvtBytes(2, 1, pixels));
  KV_SPRITE sprite;
  ASSERT_TRUE(
      sprite.Load("sprite_pair.kvt", 1, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, -1, -1, 0, 0));
  // 8 pixels wide: the 2-pixel frame four times, green, black, green, black ...
  sprite.DrawEx(KV_VECTOR(0, 20), KV_VECTOR(8, 22), 1, 1);
  EXPECT_EQ(Pixel(0, 20), 0x00FF00FFu);
  EXPECT_EQ(Pixel(1, 20), 0x000000FFu);
  EXPECT_EQ(Pixel(6, 21), 0x00FF00FFu);
  // DrawRect stretches: u 1 over 8 pixels puts the left texel on the left half.
  sprite.DrawRect(KV_VECTOR(0, 30), KV_VECTOR(8, 32), 1, 1);
  EXPECT_EQ(Pixel(3, 30), 0x00FF00FFu);
  EXPECT_EQ(Pixel(4, 30), 0x000000FFu);
  sprite.Destroy(0);
}

using SpriteSave = GraphicsTest;

namespace {

// Three 3 x 2 frames of distinct colours.
void LoadThreeColours(KV_SPRITE& sprite, std::vector<std::vector<uint8_t>>& pixels) {
  std::string list;
  for (int i = 0; i < 3; ++i) {
    pixels.push_back(
        kvtest::Solid(3, 2, (uint8_t)(10 + i), (uint8_t)(20 * i), 7, (uint8_t)(200 + i)));
    std::string name = "sprite_c" + std::to_string(i) + ".kvt";
    kvtest::WriteFile(name, kvtest::KvtBytes(3, 2, pixels.back()));
    list += name + ";";
  }
  ASSERT_TRUE(
      sprite.Load(list.c_str(), 1, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, -1, -1, 0, 0));
}

// The bytes of entry i of the archive.
std::vector<uint8_t> Entry(KV_VIRTUAL_FILE_INFO& info, unsigned int i) {
  KV_BUFFER buffer;
  if (!info.LoadEntry(&buffer, i)) return {};
  return std::vector<uint8_t>(buffer.GetData(), buffer.GetData() + buffer.length);
}

}  // namespace

TEST_F(SpriteSave, SaveFramesWritesOneNamedEntryPerFrame) {
  KV_SPRITE sprite;
  std::vector<std::vector<uint8_t>> pixels;
  LoadThreeColours(sprite, pixels);
  ASSERT_TRUE(sprite.SaveFrames("sprite_frames.kva"));
  KV_VIRTUAL_FILE_INFO info;
  ASSERT_TRUE(info.Open("sprite_frames.kva"));
  ASSERT_EQ(info.GetCount(), 3u);
  for (unsigned int i = 0; i < 3; ++i) {
    EXPECT_STREQ(info.GetEntryName(i), std::to_string(i).c_str());
    EXPECT_EQ(Entry(info, i), pixels[i]);
  }
  info.Close();
  sprite.Destroy(0);
}

TEST_F(SpriteSave, AFrameThatCannotBeLockedIsSkippedAndTakesNoName) {
  KV_SPRITE sprite;
  std::vector<std::vector<uint8_t>> pixels;
  LoadThreeColours(sprite, pixels);
  auto it = sprite.frames.Begin();
  it.Next();
  kv::engine::testing::FailNext("KvTextureLock", {{0, std::to_string(it->Id())}});
  StartTrace();
  ASSERT_TRUE(sprite.SaveFrames("sprite_two_of_three.kva"));
  StopTrace();
  // Every frame is unlocked afterwards, the skipped one too.
  EXPECT_EQ(Calls("KvTextureUnlock").size(), 3u);
  KV_VIRTUAL_FILE_INFO info;
  ASSERT_TRUE(info.Open("sprite_two_of_three.kva"));
  ASSERT_EQ(info.GetCount(), 2u);
  EXPECT_STREQ(info.GetEntryName(0), "0");
  EXPECT_STREQ(info.GetEntryName(1), "1");
  EXPECT_EQ(Entry(info, 0), pixels[0]);
  EXPECT_EQ(Entry(info, 1), pixels[2]);
  info.Close();
  // No frame at all gives nothing to save.
  KV_SPRITE empty;
  EXPECT_FALSE(empty.SaveFrames("sprite_none.kva"));
  sprite.Destroy(0);
}

TEST_F(SpriteSave, FilesNamedTheWindowsWayLoadAndSave) {
  std::filesystem::create_directory("sprite_windows");
  kvtest::WriteSolidKvt("sprite_windows/a.kvt", 4, 4);
  kvtest::WriteSolidKvt("sprite_windows/b.kvt", 8, 2);
  KV_SPRITE sprite;
  ASSERT_TRUE(sprite.Load(".\\sprite_windows\\a.kvt;sprite_windows\\b.kvt", 1, KV_FILTER_NEAREST,
                          KV_FILTER_NEAREST, 0, 0, -1, -1, 0, 0));
  EXPECT_EQ(sprite.GetFrameCount(), 2u);
  EXPECT_EQ(sprite.width, 8);
  ASSERT_TRUE(sprite.SaveFrame("sprite_windows\\frame.bin"));
  ASSERT_TRUE(sprite.SaveFrames(".\\sprite_windows\\frames.kva"));
  EXPECT_TRUE(std::filesystem::exists("sprite_windows/frame.bin"));
  EXPECT_TRUE(std::filesystem::exists("sprite_windows/frames.kva"));
  sprite.Destroy(0);
  std::filesystem::remove_all("sprite_windows");
}

TEST_F(SpriteSave, SaveFrameWritesTheSelectedFramesBytes) {
  KV_SPRITE sprite;
  std::vector<std::vector<uint8_t>> pixels;
  LoadThreeColours(sprite, pixels);
  ASSERT_TRUE(sprite.SetFrame(2));
  ASSERT_TRUE(sprite.SaveFrame("sprite_frame2.bin"));
  KV_BUFFER file;
  ASSERT_TRUE(file.LoadFromFile("sprite_frame2.bin", 0, 0));
  EXPECT_EQ(std::vector<uint8_t>(file.GetData(), file.GetData() + file.length), pixels[2]);
  EXPECT_FALSE(sprite.SaveFrame("no_such_dir/x.bin"));
  kv::engine::testing::FailNext("KvTextureLock");
  EXPECT_FALSE(sprite.SaveFrame("sprite_frame2.bin"));
  sprite.Destroy(0);
}
