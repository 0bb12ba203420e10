// The immediate 2D primitives on the real engine, offscreen: the vertices, texture coordinates
// and colours each shape sends (through the call trace), the array path's single call, and the
// pixels both paths leave.
#include "graphics/primitives.h"

#include <cmath>
#include <string>
#include <vector>

#include "foundation/small_math.h"
#include "graphics_fixture.h"

using kv::engine::testing::StartTrace;
using kv::engine::testing::StopTrace;
using kv::engine::testing::TracedCalls;

namespace {

// The vector of every traced call of the function named prefix ("KvPutVertex((x, y, z, w))").
std::vector<KV_VECTOR_D> Vectors(const std::vector<std::string>& calls, const std::string& prefix) {
  std::vector<KV_VECTOR_D> found;
  for (const std::string& call : calls) {
    if (call.rfind(prefix, 0) != 0) continue;
    KV_VECTOR_D v;
    std::string format = prefix + "((%lf, %lf, %lf, %lf))";
    if (std::sscanf(call.c_str(), format.c_str(), &v.x, &v.y, &v.z, &v.w) == 4) found.push_back(v);
  }
  return found;
}

// Colours put with KvSetState(KV_STATE_DRAW_COLOR, ...) between begin and end.
std::vector<KV_VECTOR_D> PutColours(const std::vector<std::string>& calls) {
  std::vector<KV_VECTOR_D> found;
  bool open = false;
  for (const std::string& call : calls) {
    if (call.rfind("KvPrimitiveBegin", 0) == 0) open = true;
    if (call.rfind("KvPrimitiveEnd", 0) == 0) open = false;
    KV_VECTOR_D v;
    if (open && std::sscanf(call.c_str(), "KvSetState(263, %lf, %lf, %lf, %lf)", &v.x, &v.y, &v.z,
                            &v.w) == 4)
      found.push_back(v);
  }
  return found;
}

void ExpectNear(const KV_VECTOR_D& a, const KV_VECTOR_D& b) {
  EXPECT_NEAR(a.x, b.x, 1e-5);
  EXPECT_NEAR(a.y, b.y, 1e-5);
  EXPECT_NEAR(a.w, b.w, 1e-5);
}

}  // namespace

class Primitives : public GraphicsTest {
 protected:
  // Pixels of the whole target, for comparing two draws.
  static std::vector<uint8_t> Frame() {
    return kv::engine::testing::ReadPixels(0, 0, kWidth, kHeight);
  }
};

// ---- circle ----------------------------------------------------------------------------------

TEST_F(Primitives, AFilledCircleIsAFanFromTheCentreBackToItsFirstPoint) {
  KV_CIRCLE2D circle;
  circle.radius = 10;
  circle.segments = 4;
  circle.filled = 1;
  circle.centreColour = KV_VECTOR_D(1, 0, 0, 1);
  circle.edgeColour = KV_VECTOR_D(0, 0, 1, 0.5);
  StartTrace();
  circle.Draw(KV_VECTOR_D(0, 0), 0, 0);
  StopTrace();
  const std::vector<std::string>& calls = TracedCalls();
  EXPECT_EQ(calls.front(), "KvTextureUnactivate(58)");
  EXPECT_EQ(calls.back(), "KvSetState(263, 1, 1, 1, 1)");
  EXPECT_EQ(Calls("KvPrimitiveBegin"), std::vector<std::string>{"KvPrimitiveBegin(10)"});
  std::vector<KV_VECTOR_D> points = Vectors(calls, "KvPutVertex");
  ASSERT_EQ(points.size(), 6u);
  ExpectNear(points[0], KV_VECTOR_D(0, 0));
  for (int i = 0; i < 5; ++i)
    ExpectNear(points[i + 1], KvLengthdirVector(KV_ROTATION_D(90.0 * (i % 4), 0, 0, 0), 10));
  std::vector<KV_VECTOR_D> texCoords = Vectors(calls, "KvPutTexvertex");
  ASSERT_EQ(texCoords.size(), 6u);
  ExpectNear(texCoords[0], KV_VECTOR_D(0.5, 0.5));
  ExpectNear(texCoords[1], KV_VECTOR_D(1, 0.5));
  ExpectNear(texCoords[2], KV_VECTOR_D(0.5, 1));
  std::vector<KV_VECTOR_D> colours = PutColours(calls);
  ASSERT_EQ(colours.size(), 6u);
  EXPECT_EQ(colours[0], KV_VECTOR_D(1, 0, 0, 1));
  EXPECT_EQ(colours[5], KV_VECTOR_D(0, 0, 1, 0.5));
  // Every vertex: texture coordinate, colour, then the point.
  std::vector<std::string> sent;
  for (const std::string& call : calls)
    if (call.rfind("KvLengthdir", 0) != 0) sent.push_back(call.substr(0, call.find('(')));
  ASSERT_EQ(sent.size(), 1 + 1 + 6 * 3 + 1 + 1u);
  EXPECT_EQ(sent[1], "KvPrimitiveBegin");
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(sent[2 + 3 * i], "KvPutTexvertex");
    EXPECT_EQ(sent[3 + 3 * i], "KvSetState");
    EXPECT_EQ(sent[4 + 3 * i], "KvPutVertex");
  }
  EXPECT_EQ(sent[20], "KvPrimitiveEnd");
}

TEST_F(Primitives, AnOutlineIsAClosedLoopOfItsEdgePoints) {
  KV_CIRCLE2D circle;
  circle.radius = 10;
  circle.segments = 4;
  StartTrace();
  circle.Draw(KV_VECTOR_D(20, 20), 0, 0);
  circle.Draw(KV_VECTOR_D(20, 20), 0, 1);
  StopTrace();
  EXPECT_EQ(Calls("KvPrimitiveBegin"), std::vector<std::string>{"KvPrimitiveBegin(6)"});
  EXPECT_EQ(Vectors(TracedCalls(), "KvPutVertex").size(), 4u);
  EXPECT_EQ(
      Calls("KvDrawData"),
      std::vector<std::string>{
          "KvDrawData(6, 0, 4, ptr, ptr, ptr, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0)"});
}

TEST_F(Primitives, TheStartAngleTurnsPointsButNotTextureCoordinates) {
  KV_CIRCLE2D circle;
  circle.radius = 10;
  circle.segments = 4;
  StartTrace();
  circle.Draw(KV_VECTOR_D(0, 0), 45, 0);
  StopTrace();
  std::vector<KV_VECTOR_D> points = Vectors(TracedCalls(), "KvPutVertex");
  std::vector<KV_VECTOR_D> texCoords = Vectors(TracedCalls(), "KvPutTexvertex");
  ASSERT_EQ(points.size(), 4u);
  ExpectNear(points[0], KvLengthdirVector(KV_ROTATION_D(45, 0, 0, 0), 10));
  ExpectNear(texCoords[0], KV_VECTOR_D(1, 0.5));
}

TEST_F(Primitives, ACircleWithoutSegmentsSendsNothingButStillResetsTheColour) {
  KV_CIRCLE2D circle;
  circle.radius = 10;
  for (int32_t segments : {0, -3}) {
    for (uint8_t filled : {0, 1}) {
      circle.segments = segments;
      circle.filled = filled;
      StartTrace();
      circle.Draw(KV_VECTOR_D(10, 10), 0, 1);
      circle.Draw(KV_VECTOR_D(10, 10), 0, 0);
      StopTrace();
      EXPECT_TRUE(Calls("KvDrawData").empty());
      EXPECT_TRUE(Calls("KvPutVertex").empty());
      EXPECT_EQ(Calls("KvSetState(263, 1, 1, 1, 1)").size(), 2u);
    }
  }
}

TEST_F(Primitives, ADiscLooksTheSameThroughArraysAndOneByOne) {
  KV_CIRCLE2D circle;
  circle.radius = 12;
  circle.segments = 24;
  circle.filled = 1;
  circle.centreColour = KV_VECTOR_D(1, 1, 0, 1);
  circle.edgeColour = KV_VECTOR_D(0, 1, 1, 1);
  StartTrace();
  circle.Draw(KV_VECTOR_D(32, 24), 0, 1);
  StopTrace();
  EXPECT_EQ(Calls("KvDrawData"),
            std::vector<std::string>{"KvDrawData(10, 0, 26, ptr, ptr, ptr, 0, 0, 0, 3, 0, 0, 0, 0, "
                                     "0, 0, 4, 0, 0, 0, 0, 0, 0)"});
  std::vector<uint8_t> arrays = Frame();
  // Near the centre the centre's yellow outweighs the edge's cyan.
  EXPECT_GT(Pixel(32, 24) >> 24, 0xC0u);
  EXPECT_LT((Pixel(32, 24) >> 8) & 0xFF, 0x40u);
  EXPECT_EQ(Pixel(2, 2), 0x000000FFu);
  KvRenderScene(KV_SCENE_CLEAR_COLOR);
  circle.Draw(KV_VECTOR_D(32, 24), 0, 0);
  EXPECT_EQ(Frame(), arrays);
}

// ---- triangle --------------------------------------------------------------------------------

TEST_F(Primitives, ATriangleIsDrawnAtItsOffsetInOneCall) {
  KV_ARRAY2D triangle;
  triangle.filled = 1;
  triangle.positions[0] = KV_VECTOR_D(0, 0);
  triangle.positions[1] = KV_VECTOR_D(20, 0);
  triangle.positions[2] = KV_VECTOR_D(0, 20);
  for (KV_VECTOR_D& colour : triangle.colours) colour = KV_VECTOR_D(0, 1, 0, 1);
  StartTrace();
  triangle.Draw(KV_VECTOR_D(30, 10));
  StopTrace();
  std::vector<std::string> expected = {
      "KvTextureUnactivate(58)",
      "KvMatrixPush()",
      "KvMatrixTranslate(30, 10, 0)",
      "KvDrawData(8, 0, 3, ptr, ptr, ptr, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0)",
      "KvMatrixPop()",
      "KvSetState(263, 1, 1, 1, 1)",
  };
  EXPECT_EQ(TracedCalls(), expected);
  EXPECT_EQ(Pixel(33, 13), 0x00FF00FFu);
  EXPECT_EQ(Pixel(3, 3), 0x000000FFu);    // not at the origin
  EXPECT_EQ(Pixel(48, 28), 0x000000FFu);  // beyond the hypotenuse
  triangle.filled = 0;
  StartTrace();
  triangle.Draw(KV_VECTOR_D(0, 0));
  EXPECT_EQ(Calls("KvDrawData(6, 0, 3").size(), 1u);
}

// ---- rectangle -------------------------------------------------------------------------------

TEST_F(Primitives, ARectangleCoversItsCornersMovedByTheOffset) {
  KV_RECT2D rect;
  rect.filled = 1;
  rect.corner1 = KV_VECTOR_D(0, 0);
  rect.corner2 = KV_VECTOR_D(10, 20);
  rect.colours[0] = KV_VECTOR_D(1, 0, 0, 1);
  rect.colours[1] = KV_VECTOR_D(0, 1, 0, 1);
  rect.colours[2] = KV_VECTOR_D(0, 0, 1, 1);
  rect.colours[3] = KV_VECTOR_D(1, 1, 1, 1);
  StartTrace();
  rect.Draw(KV_VECTOR_D(5, 5), 0);
  StopTrace();
  EXPECT_EQ(Calls("KvPrimitiveBegin"), std::vector<std::string>{"KvPrimitiveBegin(11)"});
  std::vector<KV_VECTOR_D> corners = Vectors(TracedCalls(), "KvPutVertex");
  ASSERT_EQ(corners.size(), 4u);
  EXPECT_EQ(corners[0], KV_VECTOR_D(5, 5, 0, 1));
  EXPECT_EQ(corners[1], KV_VECTOR_D(15, 5, 0, 1));
  EXPECT_EQ(corners[2], KV_VECTOR_D(15, 25, 0, 1));
  EXPECT_EQ(corners[3], KV_VECTOR_D(5, 25, 0, 1));
  std::vector<KV_VECTOR_D> texCoords = Vectors(TracedCalls(), "KvPutTexvertex");
  ASSERT_EQ(texCoords.size(), 4u);
  EXPECT_EQ(texCoords[1], KV_VECTOR_D(1, 0, 0, 1));
  EXPECT_EQ(texCoords[3], KV_VECTOR_D(0, 1, 0, 1));
  std::vector<KV_VECTOR_D> colours = PutColours(TracedCalls());
  ASSERT_EQ(colours.size(), 4u);
  EXPECT_EQ(colours[2], KV_VECTOR_D(0, 0, 1, 1));
  EXPECT_EQ(TracedCalls().back(), "KvSetState(263, 1, 1, 1, 1)");
  // Covered from (5, 5) to (15, 25), with the corner colours at the corners.
  EXPECT_EQ(Pixel(4, 10), 0x000000FFu);
  EXPECT_EQ(Pixel(15, 10), 0x000000FFu);
  EXPECT_EQ(Pixel(10, 25), 0x000000FFu);
  EXPECT_GT(Pixel(5, 5) >> 24, 0xE0u);            // red at the top-left
  EXPECT_GT((Pixel(14, 24) >> 8) & 0xFF, 0xE0u);  // blue at the bottom-right
  std::vector<uint8_t> immediate = Frame();
  KvRenderScene(KV_SCENE_CLEAR_COLOR);
  rect.Draw(KV_VECTOR_D(5, 5), 1);
  EXPECT_EQ(Frame(), immediate);
}

TEST_F(Primitives, AnOutlinedRectangleIsAFourPointLoop) {
  KV_RECT2D rect;
  rect.corner1 = KV_VECTOR_D(10, 10);
  rect.corner2 = KV_VECTOR_D(30, 30);
  for (KV_VECTOR_D& colour : rect.colours) colour = KV_VECTOR_D(1, 1, 1, 1);
  StartTrace();
  rect.Draw(KV_VECTOR_D(0, 0), 1);
  StopTrace();
  EXPECT_EQ(
      Calls("KvDrawData"),
      std::vector<std::string>{
          "KvDrawData(6, 0, 4, ptr, ptr, ptr, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0)"});
  EXPECT_EQ(Pixel(20, 20), 0x000000FFu);  // the inside stays empty
  bool edge = false;
  for (int y = 9; y <= 11; ++y) edge = edge || Pixel(20, y) == 0xFFFFFFFFu;
  EXPECT_TRUE(edge);
}

TEST_F(Primitives, ATexturedShapeIsModulatedByItsColours) {
  kvtest::WriteSolidKvt("prim_tex.kvt", 2, 2, 255, 0, 255);
  KV_HANDLE texture;
  ASSERT_EQ(KvTextureCreate(&texture), 1);
  ASSERT_EQ(KvTextureLoad(texture, "prim_tex.kvt", 0), 1);
  KV_RECT2D rect;
  rect.filled = 1;
  rect.texture = texture;
  rect.corner2 = KV_VECTOR_D(20, 20);
  for (KV_VECTOR_D& colour : rect.colours) colour = KV_VECTOR_D(1, 1, 1, 1);
  StartTrace();
  rect.Draw(KV_VECTOR_D(0, 0), 1);
  StopTrace();
  EXPECT_EQ(TracedCalls().front(), "KvTextureActivate(" + std::to_string(texture.Id()) + ")");
  EXPECT_EQ(Pixel(10, 10), 0xFF00FFFFu);
  KvTextureDestroy(texture);
  std::remove("prim_tex.kvt");
}
