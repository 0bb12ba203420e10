// KV_DNA on the real engine, offscreen: model files written here load into the right engine
// elements and force sprites (read back through the engine and the call trace); bad, short and
// hostile files are refused with nothing built; textures load once into the named sprites; the
// lifetime calls are harmless on a body never created.
#include "graphics/dna.h"

#include <filesystem>
#include <string>
#include <vector>

#include "engine/softbody/softbody_objects.h"
#include "foundation/buffer.h"
#include "graphics_fixture.h"

using kv::engine::softbody::SoftBodyObjectCount;
using kv::engine::testing::StartTrace;
using kv::engine::testing::StopTrace;

namespace {

std::string Join(const std::vector<std::string>& lines, const char* end = "\n") {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  return text;
}

// A model: substances (0,0) (3,4) (6,0); one surface over them textured "skin"; forces 0-1
// (rest length 5) and 2.9-0 (index 2); one sprite "bone" on force 1.
std::vector<std::string> SampleLines() {
  return {"envboxmodel2d",
          "2",
          "3",
          "0",
          "0",
          "1.5",
          "2",
          "1",
          "3",
          "4",
          "1",
          "1",
          "0",
          "6",
          "0",
          "1",
          "1",
          "7.9",
          "1",
          "0",
          "1",
          "2",
          "0",
          "0",
          "1",
          "0",
          "0.5",
          "1",
          "skin",
          "2",
          "0",
          "1",
          "0.5",
          "2.9",
          "0",
          "0.25",
          "1",
          "bone",
          "2",
          "3",
          "10",
          "10",
          "1",
          "1",
          "0"};
}

KV_VECTOR_D Unit() { return KV_VECTOR_D(1, 1, 1, 1); }

const double* Position(KV_HANDLE substance) {
  return static_cast<const double*>(KvSubstanceGet(substance, KV_SUBSTANCE_POSITION));
}

class Dna : public GraphicsTest {
 protected:
  KV_DNA dna;
  std::string directory = "dna_data";

  void SetUp() override {
    GraphicsTest::SetUp();
    std::filesystem::create_directories(directory);
  }
  void TearDown() override {
    dna.Destroy();
    EXPECT_EQ(SoftBodyObjectCount(), 0u);
    GraphicsTest::TearDown();
  }

  bool LoadText(const std::string& text, KV_DICTIONARY<KV_SPRITE>* sprites = nullptr,
                KV_VECTOR_D scale = Unit(), const KV_MATRIX_D* transform = nullptr) {
    return dna.LoadFromMemory(text.data(), static_cast<uint32_t>(text.size()), sprites, transform,
                              scale, 1, 1, 1);
  }
};

}  // namespace

TEST_F(Dna, ModelBuildsSubstancesSurfacesForcesAndSprites) {
  ASSERT_TRUE(dna.Reset());
  std::string text = Join(SampleLines());
  StartTrace();
  ASSERT_TRUE(dna.LoadFromMemory(text.data(), static_cast<uint32_t>(text.size()), nullptr, nullptr,
                                 KV_VECTOR_D(2, 3, 1, 1), 2, 3, 4));
  StopTrace();

  ASSERT_EQ(dna.GetSubstanceCount(), 3u);
  ASSERT_EQ(dna.GetSurfaceCount(), 1u);
  ASSERT_EQ(dna.GetForceCount(), 2u);
  KV_HANDLE* s = dna.GetSubstances();
  EXPECT_EQ(Position(s[1])[0], 3);
  EXPECT_EQ(Position(s[1])[1], 4);
  EXPECT_EQ(Position(s[2])[3], 1);

  std::string s0 = std::to_string(s[0].value), s1 = std::to_string(s[1].value),
              s2 = std::to_string(s[2].value);
  EXPECT_EQ(
      Calls("KvDnaBirth"),
      (std::vector<std::string>{"KvDnaBirth(" + std::to_string(dna.handle.value) + ", 3, 0, 0)",
                                "KvDnaBirth(" + std::to_string(dna.handle.value) + ", 0, 0, 1)",
                                "KvDnaBirth(" + std::to_string(dna.handle.value) + ", 0, 2, 0)"}));
  EXPECT_EQ(Calls("KvSubstanceSetMass")[0], "KvSubstanceSetMass(" + s0 + ", 3)");
  EXPECT_EQ(Calls("KvSubstanceSetRange")[0], "KvSubstanceSetRange(" + s0 + ", 6)");
  EXPECT_EQ(Calls("KvSubstanceSetSolid")[2], "KvSubstanceSetSolid(" + s2 + ", 7)");
  EXPECT_EQ(Calls("KvSubstanceSetPosition")[1],
            "KvSubstanceSetPosition(" + s1 + ", (3, 4, 0, 1), 0)");
  // Without a sprite dictionary no texture is set on the surfaces.
  EXPECT_TRUE(Calls("KvSurfaceSetTexture").empty());
  std::vector<std::string> coords = Calls("KvSurfaceSetCoord");
  ASSERT_EQ(coords.size(), 3u);
  EXPECT_NE(coords[1].find(", 351, (1, 0, 0, 1))"), std::string::npos) << coords[1];
  EXPECT_NE(coords[2].find(", 352, (0.5, 1, 0, 1))"), std::string::npos) << coords[2];

  // Forces: ends, scaled resilience, rest length as laid out (3-4-5), index 2.9 read as 2.
  KV_HANDLE* c = dna.GetForces();
  EXPECT_EQ(*static_cast<KV_HANDLE*>(KvCovalenceForceGet(c[0], KV_FORCE_SECOND)), s[1]);
  EXPECT_EQ(*static_cast<KV_HANDLE*>(KvCovalenceForceGet(c[1], KV_FORCE_FIRST)), s[2]);
  std::vector<std::string> rest = Calls("KvCovalenceForceSetForce");
  ASSERT_EQ(rest.size(), 2u);
  EXPECT_EQ(rest[0], "KvCovalenceForceSetForce(" + std::to_string(c[0].value) + ", 5)");
  EXPECT_EQ(rest[1], "KvCovalenceForceSetForce(" + std::to_string(c[1].value) + ", 6)");
  EXPECT_EQ(Calls("KvCovalenceForceSetResilience")[1],
            "KvCovalenceForceSetResilience(" + std::to_string(c[1].value) + ", 1)");

  // The sprite: scaled by (2, 3), on the force slot of index 1.
  ASSERT_EQ(dna.GetSpriteCount(), 1u);
  KV_DNA_SPRITE& sprite = dna.GetSprites()[0];
  EXPECT_TRUE(sprite.texture.IsNull());
  EXPECT_EQ(sprite.force, &c[1]);
  EXPECT_EQ(sprite.pivotX, 4);
  EXPECT_EQ(sprite.pivotY, 9);
  EXPECT_EQ(sprite.width, 20);
  EXPECT_EQ(sprite.height, 30);
  EXPECT_EQ(sprite.reversed, 1);
  EXPECT_EQ(sprite.stretched, 0);
}

TEST_F(Dna, BlankLinesCarriageReturnsAndTransformsAreRead) {
  ASSERT_TRUE(dna.Reset());
  std::string text = "\r\n\n" + Join(SampleLines(), "\r") + "\n\n\ntrailing lines are ignored\n";
  KV_MATRIX_D move;
  move.m[12] = 10;
  move.m[13] = 20;
  ASSERT_TRUE(LoadText(text, nullptr, Unit(), &move));
  const double* p = Position(dna.GetSubstances()[1]);
  EXPECT_EQ(p[0], 13);
  EXPECT_EQ(p[1], 24);

  // An empty model loads; a second load into the same body links from index 0 again.
  ASSERT_TRUE(LoadText(Join({"envboxmodel2d", "2", "0", "0", "0", "0"})));
  EXPECT_EQ(dna.GetSubstanceCount(), 3u);
  EXPECT_EQ(dna.GetSpriteCount(), 0u);
  EXPECT_EQ(dna.GetSprites(), nullptr);
}

TEST_F(Dna, BadShortAndHostileFilesAreRefusedWithNothingBuilt) {
  std::vector<std::string> good = SampleLines();
  std::string sample = Join(good);
  // No engine body yet: refused.
  EXPECT_FALSE(LoadText(sample));
  ASSERT_TRUE(dna.Reset());
  std::vector<std::string> bad = {
      "",
      "envboxmodel2d\n",
      Join({"envboxmodel2d ", "2", "0", "0", "0", "0"}),
      Join({"envboxmodel2d", "2.0", "0", "0", "0", "0"}),
      Join({"ENVBOXMODEL2D", "2", "0", "0", "0", "0"}),
      Join({"envboxmodel2d", "2", "4294967295"}),
      Join({"envboxmodel2d", "2", "0x7fffffff", "1", "2", "3", "4", "5"}),
      Join({"envboxmodel2d", "2", "0", "0", "0", "1000000"}),
      std::string("\x00\xff garbage \x01", 12),
      // Indices into empty sections, -0.5 truncating to 0: a sprite's force, a surface's corner.
      Join({"envboxmodel2d", "2", "0", "0", "0", "1", "t", "0", "0", "1", "1", "-0.5", "0", "0"}),
      Join({"envboxmodel2d", "2", "0", "1", "-0.5", "-0.5", "-0.5", "0", "0", "0", "0", "0", "0",
            "t", "0", "0"}),
  };
  // Out-of-range indices: a surface corner 3 of 3 substances, a negative force end, a NaN sprite force.
  std::vector<std::string> lines = good;
  lines[19 + 2] = "3";
  bad.push_back(Join(lines));
  lines = good;
  lines[30] = "-1";
  bad.push_back(Join(lines));
  lines = good;
  lines[42] = "nan";
  bad.push_back(Join(lines));
  // Every truncation of the sample at a line boundary.
  for (size_t n = 2; n < good.size(); ++n)
    bad.push_back(Join(std::vector<std::string>(good.begin(), good.begin() + n)));

  StartTrace();
  for (const std::string& text : bad) EXPECT_FALSE(LoadText(text)) << text;
  EXPECT_FALSE(dna.LoadFromMemory(nullptr, 10, nullptr, nullptr, Unit(), 1, 1, 1));
  EXPECT_FALSE(dna.LoadFromMemory(sample.data(), 0, nullptr, nullptr, Unit(), 1, 1, 1));
  StopTrace();
  EXPECT_TRUE(Calls("KvDnaBirth").empty());
  EXPECT_TRUE(Calls("KvSubstanceCreate").empty());
  EXPECT_EQ(SoftBodyObjectCount(), 1u);  // the body alone

  // The texture loader applies the same checks.
  KV_DICTIONARY<KV_SPRITE> sprites;
  for (const std::string& text : bad) {
    EXPECT_FALSE(dna.LoadTexturesFromMemory(text.data(), static_cast<uint32_t>(text.size()),
                                            "dna_data", &sprites));
  }
  EXPECT_EQ(sprites.CountName(nullptr), 0u);
  EXPECT_FALSE(dna.LoadFromFile(nullptr, nullptr, nullptr, Unit(), 1, 1, 1));
  EXPECT_FALSE(dna.LoadFromFile("dna_data/missing.model", nullptr, nullptr, Unit(), 1, 1, 1));
  EXPECT_FALSE(dna.LoadTexturesFromFile(nullptr, "dna_data", &sprites));
}

TEST_F(Dna, AnEngineThatRefusesRoomFailsTheLoad) {
  ASSERT_TRUE(dna.Reset());
  kv::engine::testing::FailNext("KvDnaBirth", {{2, "0"}, {3, "1"}});
  EXPECT_FALSE(LoadText(Join(SampleLines())));
  EXPECT_EQ(dna.GetSurfaceCount(), 0u);
}

TEST_F(Dna, TexturesLoadOnceIntoNamedSpritesAndDressTheBody) {
  kvtest::WriteSolidKvt(directory + "/skin.kvt", 4, 4, 255, 0, 0);
  kvtest::WriteSolidKvt(directory + "/bone.kvt", 2, 2, 0, 255, 0);
  kvtest::WriteSolidKvt(directory + "/held.kvt", 2, 2, 0, 0, 255);
  std::vector<std::string> lines = SampleLines();
  lines[36] = "2";  // two sprites, the second naming skin a second time
  lines.insert(lines.end(), {"skin", "0", "0", "1", "1", "0", "0", "0"});
  std::string model = directory + "/body.model";
  std::string modelText = Join(lines);
  kvtest::WriteFile(model, std::vector<uint8_t>(modelText.begin(), modelText.end()));

  KV_DICTIONARY<KV_SPRITE> sprites;
  ASSERT_TRUE(dna.Reset());
  StartTrace();
  ASSERT_TRUE(dna.Load(model.c_str(), directory.c_str(), &sprites, nullptr, Unit(), 1, 1, 1));
  StopTrace();
  std::vector<std::string> loads = Calls("KvTextureLoad(");
  ASSERT_EQ(loads.size(), 2u);
  EXPECT_NE(loads[0].find("\"dna_data/skin.kvt\""), std::string::npos) << loads[0];
  EXPECT_NE(loads[1].find("\"dna_data/bone.kvt\""), std::string::npos) << loads[1];
  KV_HANDLE skin = sprites.GetValue("skin")->GetTexture();
  KV_HANDLE bone = sprites.GetValue("bone")->GetTexture();
  ASSERT_FALSE(skin.IsNull());
  ASSERT_FALSE(bone.IsNull());
  std::vector<std::string> dressed = Calls("KvSurfaceSetTexture");
  ASSERT_EQ(dressed.size(), 1u);
  EXPECT_NE(dressed[0].find(", " + std::to_string(skin.value) + ", 58)"), std::string::npos)
      << dressed[0];
  ASSERT_EQ(dna.GetSpriteCount(), 2u);
  EXPECT_EQ(dna.GetSprites()[0].texture, bone);
  EXPECT_EQ(dna.GetSprites()[1].texture, skin);

  // Held names are never loaded again; a name without a file leaves an empty sprite.
  lines[28] = "held";
  lines[lines.size() - 8] = "nofile";
  std::string text = Join(lines);
  StartTrace();
  ASSERT_TRUE(dna.LoadTexturesFromMemory(text.data(), static_cast<uint32_t>(text.size()),
                                         directory.c_str(), &sprites));
  StopTrace();
  EXPECT_EQ(Calls("KvTextureLoad(").size(), 2u);  // held and nofile; skin and bone are held already
  EXPECT_TRUE(sprites.GetValue("nofile")->GetTexture().IsNull());
  EXPECT_FALSE(sprites.GetValue("held")->GetTexture().IsNull());
  for (auto it = sprites.Begin(); !it.IsEnd(); it.Next()) it.Get()->Destroy(0);
}

TEST_F(Dna, AModelAndItsTextureFolderNamedTheWindowsWayLoad) {
  std::filesystem::create_directories(directory + "/skins");
  kvtest::WriteSolidKvt(directory + "/skins/skin.kvt", 4, 4, 255, 0, 0);
  kvtest::WriteSolidKvt(directory + "/skins/bone.kvt", 2, 2, 0, 255, 0);
  std::string modelText = Join(SampleLines());
  kvtest::WriteFile(directory + "/body.model",
                    std::vector<uint8_t>(modelText.begin(), modelText.end()));
  KV_DICTIONARY<KV_SPRITE> sprites;
  ASSERT_TRUE(dna.Reset());
  ASSERT_TRUE(
      dna.Load(".\\dna_data\\body.model", "dna_data\\skins", &sprites, nullptr, Unit(), 1, 1, 1));
  EXPECT_EQ(dna.GetSpriteCount(), 1u);
  EXPECT_FALSE(sprites.GetValue("skin")->GetTexture().IsNull());
  EXPECT_FALSE(sprites.GetValue("bone")->GetTexture().IsNull());
  for (auto it = sprites.Begin(); !it.IsEnd(); it.Next()) it.Get()->Destroy(0);
}

TEST_F(Dna, LifetimeCallsAreHarmlessOnABodyNeverCreated) {
  KV_DNA fresh;
  fresh.Destroy();
  fresh.Destroy();
  EXPECT_TRUE(fresh.handle.IsNull());
  EXPECT_EQ(fresh.GetSubstanceCount(), 0u);
  EXPECT_EQ(fresh.GetForces(), nullptr);
  KV_HANDLE out;
  out.endFlag = 0;
  out.value = 99;
  EXPECT_TRUE(fresh.GetKind37(&out)->IsNull());
  fresh.Draw();

  // Reset on a new body creates one; a second Reset kills the first with what it owned and keeps
  // the force sprites.
  ASSERT_TRUE(dna.Reset());
  ASSERT_TRUE(LoadText(Join(SampleLines())));
  KV_HANDLE old = dna.handle;
  KV_HANDLE oldSubstance = dna.GetSubstances()[0];
  ASSERT_TRUE(dna.Reset());
  EXPECT_FALSE(dna.handle == old);
  EXPECT_EQ(Position(oldSubstance), nullptr);
  // The kept sprite no longer points into the old body's force array, which died with it.
  ASSERT_EQ(dna.GetSpriteCount(), 1u);
  EXPECT_EQ(dna.GetSprites()[0].force, nullptr);
  EXPECT_EQ(dna.GetSprites()[0].width, 10);
  EXPECT_EQ(SoftBodyObjectCount(), 1u);

  // A refused creation leaves no stale handle behind.
  kv::engine::testing::FailNext("KvDnaCreate");
  EXPECT_FALSE(dna.Reset());
  EXPECT_TRUE(dna.handle.IsNull());
  dna.Destroy();
  EXPECT_EQ(dna.GetSpriteCount(), 0u);
}

TEST_F(Dna, BirthLinksQueriesAndSetSprite) {
  ASSERT_TRUE(dna.Reset());
  dna.Birth(2, 1, 3, 2);
  EXPECT_EQ(dna.GetSubstanceCount(), 2u);
  EXPECT_EQ(dna.GetSurfaceCount(), 1u);
  EXPECT_EQ(dna.GetForceCount(), 3u);
  ASSERT_EQ(dna.GetSpriteCount(), 2u);
  EXPECT_TRUE(dna.GetSprites()[1].texture.IsNull());
  EXPECT_EQ(dna.GetSprites()[1].force, nullptr);

  KV_HANDLE s, c, f;
  KvSubstanceCreate(&s);
  KvCovalenceForceCreate(&c);
  KvSurfaceCreate(&f);
  EXPECT_EQ(dna.LinkSubstance(1, s), 1);
  EXPECT_EQ(dna.LinkForce(2, c), 1);
  EXPECT_EQ(dna.LinkSurface(0, f), 1);
  EXPECT_EQ(dna.LinkSurface(1, f), 0);
  EXPECT_EQ(dna.GetSubstances()[1], s);
  EXPECT_EQ(dna.GetForces()[2], c);
  EXPECT_EQ(dna.GetSurfaces()[0], f);
  EXPECT_EQ(dna.LinkKind37(s), 1);
  KV_HANDLE out;
  EXPECT_EQ(*dna.GetKind37(&out), s);
  EXPECT_EQ(dna.GetKind37(nullptr), nullptr);

  KV_DNA_SPRITE record;
  record.width = 7;
  record.force = &dna.GetForces()[2];
  EXPECT_FALSE(dna.SetSprite(2, record));
  EXPECT_EQ(dna.GetSprites()[1].width, 0);
  EXPECT_TRUE(dna.SetSprite(1, record));
  EXPECT_EQ(dna.GetSprites()[1].width, 7);
  EXPECT_EQ(dna.GetSprites()[1].force, &dna.GetForces()[2]);
}

// ---- drawing ------------------------------------------------------------------------------------

namespace {

// Two substances (10, 20) and (40, 20), one force between them, and force sprites on it: each
// 10 x 6 pixels with its pivot at (0, 3), drawn red.
class DnaDraw : public Dna {
 protected:
  KV_HANDLE red;

  void SetUp() override {
    Dna::SetUp();
    KvTextureCreate(&red);
    std::vector<uint8_t> pixels = kvtest::Solid(2, 2, 255, 0, 0);
    KvTextureLoadRGBAFromMemory(red, pixels.data(), 2, 2);
    ASSERT_TRUE(dna.Reset());
    ASSERT_TRUE(LoadText(Join({"envboxmodel2d",
                               "2",
                               "2",
                               "10",
                               "20",
                               "1",
                               "1",
                               "0",
                               "40",
                               "20",
                               "1",
                               "1",
                               "0",
                               "0",
                               "1",
                               "0",
                               "1",
                               "1",
                               "2",
                               "bone",
                               "0",
                               "3",
                               "10",
                               "6",
                               "0",
                               "0",
                               "0",
                               "bone",
                               "0",
                               "3",
                               "10",
                               "6",
                               "0",
                               "0",
                               "0"})));
    for (uint32_t i = 0; i < dna.GetSpriteCount(); ++i) dna.GetSprites()[i].texture = red;
    dna.sprites.ResizeKeep(1);
  }
  void TearDown() override {
    KvTextureDestroy(red);
    Dna::TearDown();
  }
  void MoveSubstance(uint32_t i, double x, double y) {
    KvSubstanceSetPosition(dna.GetSubstances()[i], KV_DOUBLE4{x, y, 0, 1}, 0);
  }
  void Redraw() {
    KvRenderScene(KV_SCENE_CLEAR_COLOR);
    dna.Draw();
  }
  static bool IsRed(int x, int y) { return Pixel(x, y) == 0xff0000ffu; }
  static bool IsBlack(int x, int y) { return Pixel(x, y) == 0x000000ffu; }
};

}  // namespace

TEST_F(DnaDraw, EngineFirstThenEachSpriteInItsOwnTransform) {
  StartTrace();
  dna.Draw();
  StopTrace();
  std::vector<std::string> calls = kv::engine::testing::TracedCalls();
  std::string body = std::to_string(dna.handle.value);
  std::vector<std::string> expected = {
      "KvDnaDraw(" + body + ")",
      "KvMatrixPush()",
      "KvMatrixIdentity()",
      "KvMatrixTranslate(10, 20, 0)",
      "KvMatrixRotate(0, 0, 0, 1)",
      "KvTextureActivate(" + std::to_string(red.value) + ")",
      "KvDrawData(11, 0, 4, ptr, 0, ptr, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0)",
      "KvMatrixPop()"};
  std::vector<std::string> drawn;
  for (const std::string& call : calls)
    if (call.rfind("KvCovalenceForceGet", 0) != 0 && call.rfind("KvSubstanceGet", 0) != 0 &&
        call.rfind("KvDirection", 0) != 0)
      drawn.push_back(call);
  EXPECT_EQ(drawn, expected);

  // Without force sprites only the engine draws.
  dna.sprites.Free();
  StartTrace();
  dna.Draw();
  StopTrace();
  EXPECT_EQ(kv::engine::testing::TracedCalls(),
            std::vector<std::string>{"KvDnaDraw(" + body + ")"});

  // Nor does a body never created do anything else.
  KV_DNA fresh;
  fresh.Draw();
}

TEST_F(DnaDraw, AnUnstretchedSpriteKeepsItsSizeAndTurnsWithItsForce) {
  Redraw();
  EXPECT_TRUE(IsRed(11, 18));
  EXPECT_TRUE(IsRed(18, 22));
  EXPECT_TRUE(IsBlack(22, 22));
  EXPECT_EQ(dna.GetSprites()[0].angle, 0);

  // The far end moves straight below the anchor: the sprite now runs down from (10, 20).
  MoveSubstance(1, 10, 45);
  Redraw();
  EXPECT_NEAR(dna.GetSprites()[0].angle, 90, 1e-9);
  EXPECT_TRUE(IsRed(9, 22));
  EXPECT_TRUE(IsRed(11, 28));
  EXPECT_TRUE(IsBlack(12, 33));
  EXPECT_TRUE(IsBlack(18, 22));
}

TEST_F(DnaDraw, AStretchedSpriteReachesFromItsPivotToTheFarSubstance) {
  KV_DNA_SPRITE sprite = dna.GetSprites()[0];
  sprite.stretched = 1;
  sprite.pivotX = 5;
  ASSERT_TRUE(dna.SetSprite(0, sprite));
  Redraw();
  EXPECT_TRUE(IsRed(6, 22));   // from x = 10 - 5
  EXPECT_TRUE(IsRed(38, 22));  // to the far substance at x = 40
  EXPECT_TRUE(IsBlack(4, 22));
  EXPECT_TRUE(IsBlack(42, 22));

  // The far end moves away: the sprite follows it.
  MoveSubstance(1, 55, 20);
  Redraw();
  EXPECT_TRUE(IsRed(53, 22));
  EXPECT_TRUE(IsBlack(57, 22));
}

TEST_F(DnaDraw, AReversedSpriteIsAnchoredAtTheSecondSubstance) {
  dna.GetSprites()[0].reversed = 1;
  Redraw();
  EXPECT_NEAR(dna.GetSprites()[0].angle, 180, 1e-9);
  EXPECT_TRUE(IsRed(32, 18));
  EXPECT_TRUE(IsRed(38, 22));
  EXPECT_TRUE(IsBlack(28, 22));
  EXPECT_TRUE(IsBlack(18, 22));
}

TEST_F(DnaDraw, SpritesWithoutATextureForceOrEndAreSkippedAndTheOthersDrawn) {
  // A second force, from a new substance at (30, 40) to the first one, with a sprite of its own.
  KV_HANDLE low, down;
  KvSubstanceCreate(&low);
  KvSubstanceSetPosition(low, KV_DOUBLE4{30, 40, 0, 1}, 0);
  KvCovalenceForceCreate(&down);
  KvCovalenceForceSetSubstance(down, KV_FORCE_FIRST, low);
  KvCovalenceForceSetSubstance(down, KV_FORCE_SECOND, dna.GetSubstances()[0]);
  dna.sprites.ResizeKeep(4);
  dna.Birth(1, 0, 0, 0);
  dna.LinkSubstance(0, low);
  KvDnaBirth(dna.handle, 0, 2, 0);  // a larger birth: the first sprite's old slot stays as it was
  dna.LinkForce(1, down);
  KV_DNA_SPRITE second = dna.GetSprites()[0];
  second.force = &dna.GetForces()[1];
  ASSERT_TRUE(dna.SetSprite(1, second));
  KV_DNA_SPRITE untextured = second;
  untextured.texture = KV_HANDLE();
  ASSERT_TRUE(dna.SetSprite(2, untextured));  // record 3 has no force at all

  // The second force loses its second end: only the first sprite is drawn.
  KvCovalenceForceSetSubstance(down, KV_FORCE_SECOND, KV_HANDLE());
  StartTrace();
  Redraw();
  StopTrace();
  EXPECT_EQ(Calls("KvMatrixTranslate"), std::vector<std::string>{"KvMatrixTranslate(10, 20, 0)"});
  EXPECT_TRUE(IsRed(15, 22));

  // With the end back, the second sprite is drawn too, anchored at (30, 40).
  KvCovalenceForceSetSubstance(down, KV_FORCE_SECOND, dna.GetSubstances()[0]);
  StartTrace();
  Redraw();
  StopTrace();
  EXPECT_EQ(Calls("KvDrawData").size(), 2u);
  EXPECT_EQ(Calls("KvMatrixTranslate"), (std::vector<std::string>{"KvMatrixTranslate(10, 20, 0)",
                                                                  "KvMatrixTranslate(30, 40, 0)"}));
}
