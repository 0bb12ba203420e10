// Soft bodies in the engine: lifetime on good, null and unknown handles, births and links, the
// arrays that never move, what killing a body destroys, and the element properties.
#include <gtest/gtest.h>

#include "engine/kv_engine.h"
#include "engine/softbody/softbody_objects.h"
#include "engine/testing.h"

namespace {

using kv::engine::softbody::SoftBodyObjectCount;

KV_HANDLE NewBody() {
  KV_HANDLE body;
  EXPECT_EQ(KvDnaCreate(&body), 1);
  return body;
}

KV_HANDLE NewSubstance(double x, double y) {
  KV_HANDLE s;
  EXPECT_EQ(KvSubstanceCreate(&s), 1);
  EXPECT_EQ(KvSubstanceSetPosition(s, KV_DOUBLE4{x, y, 0, 1}, 0), 1);
  return s;
}

KV_HANDLE NewForce(KV_HANDLE a, KV_HANDLE b) {
  KV_HANDLE c;
  EXPECT_EQ(KvCovalenceForceCreate(&c), 1);
  KvCovalenceForceSetSubstance(c, KV_FORCE_FIRST, a);
  KvCovalenceForceSetSubstance(c, KV_FORCE_SECOND, b);
  return c;
}

KV_HANDLE Unknown() {
  KV_HANDLE h;
  h.endFlag = 0;
  h.value = 0x7fffff00;
  return h;
}

class SoftBody : public ::testing::Test {
 protected:
  void TearDown() override {
    kv::engine::testing::StopTrace();
    kv::engine::testing::ClearTrace();
    kv::engine::testing::ClearFailures();
    EXPECT_EQ(SoftBodyObjectCount(), 0u) << "a test left soft-body objects alive";
    kv::engine::softbody::DestroyAllSoftBodies();
  }
};

}  // namespace

TEST_F(SoftBody, NullAndUnknownHandlesAreHarmless) {
  for (KV_HANDLE h : {KV_HANDLE(), Unknown()}) {
    EXPECT_EQ(KvDnaDie(h, KV_DNA_KILL), 0);
    KvDnaDestroy(h);
    EXPECT_EQ(KvDnaBirth(h, 1, 1, 1), 0);
    KV_HANDLE element;
    EXPECT_EQ(KvDnaLink(h, KV_DNA_SUBSTANCES, 0, &element), 0);
    EXPECT_EQ(KvDnaGet(h, KV_DNA_FORCES, 0), nullptr);
    EXPECT_EQ(KvDnaCount(h, KV_DNA_SURFACES), 0u);
    EXPECT_EQ(KvDnaDraw(h), 0);
    EXPECT_EQ(KvSubstanceGet(h, KV_SUBSTANCE_POSITION), nullptr);
    EXPECT_EQ(KvSubstanceSetMass(h, 1), 0);
    EXPECT_EQ(KvCovalenceForceGet(h, KV_FORCE_FIRST), nullptr);
    EXPECT_EQ(KvCovalenceForceSetForce(h, 1), 0);
    EXPECT_EQ(KvSurfaceSetCoord(h, KV_SURFACE_COORD1, KV_DOUBLE4{}), 0);
  }
  EXPECT_EQ(KvDnaCreate(nullptr), 0);
  EXPECT_EQ(KvSubstanceCreate(nullptr), 0);
}

TEST_F(SoftBody, BirthMakesNullSlotsAndLinksFillThem) {
  KV_HANDLE body = NewBody();
  ASSERT_EQ(KvDnaBirth(body, 3, 2, 1), 1);
  EXPECT_EQ(KvDnaCount(body, KV_DNA_SUBSTANCES), 3u);
  EXPECT_EQ(KvDnaCount(body, KV_DNA_FORCES), 2u);
  EXPECT_EQ(KvDnaCount(body, KV_DNA_SURFACES), 1u);
  auto* substances = static_cast<KV_HANDLE*>(KvDnaGet(body, KV_DNA_SUBSTANCES, 0));
  ASSERT_NE(substances, nullptr);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(substances[i].IsNull());

  KV_HANDLE a = NewSubstance(1, 2), b = NewSubstance(3, 4);
  EXPECT_EQ(KvDnaLink(body, KV_DNA_SUBSTANCES, 0, &a), 1);
  EXPECT_EQ(KvDnaLink(body, KV_DNA_SUBSTANCES, 2, &b), 1);
  EXPECT_EQ(substances[0], a);
  EXPECT_TRUE(substances[1].IsNull());
  EXPECT_EQ(substances[2], b);

  // Refused: beyond the room made, an element of another kind, no element, an unknown kind.
  EXPECT_EQ(KvDnaLink(body, KV_DNA_SUBSTANCES, 3, &a), 0);
  KV_HANDLE c = NewForce(a, b);
  EXPECT_EQ(KvDnaLink(body, KV_DNA_SUBSTANCES, 1, &c), 0);
  EXPECT_EQ(KvDnaLink(body, KV_DNA_SURFACES, 0, &a), 0);
  EXPECT_EQ(KvDnaLink(body, KV_DNA_FORCES, 0, nullptr), 0);
  EXPECT_EQ(KvDnaLink(body, 38, 0, &c), 0);
  EXPECT_EQ(KvDnaGet(body, 38, 0), nullptr);
  EXPECT_EQ(KvDnaLink(body, KV_DNA_FORCES, 1, &c), 1);

  // A zero count leaves a kind alone; a count above the engine's limit changes nothing.
  ASSERT_EQ(KvDnaBirth(body, 0, 0, 0), 1);
  EXPECT_EQ(substances[2], b);
  EXPECT_EQ(KvDnaBirth(body, kv::engine::softbody::kMaxSlots + 1, 0, 0), 0);
  EXPECT_EQ(KvDnaCount(body, KV_DNA_SUBSTANCES), 3u);
  KvDnaDestroy(body);
}

TEST_F(SoftBody, ForceArrayNeverMovesWhileTheBodyLives) {
  KV_HANDLE body = NewBody();
  KV_HANDLE a = NewSubstance(0, 0), b = NewSubstance(1, 0);
  KV_HANDLE c = NewForce(a, b);
  ASSERT_EQ(KvDnaBirth(body, 0, 4, 0), 1);
  auto* first = static_cast<KV_HANDLE*>(KvDnaGet(body, KV_DNA_FORCES, 0));
  KvDnaLink(body, KV_DNA_FORCES, 3, &c);
  KV_HANDLE* kept = &first[3];

  // A smaller birth reuses the block in place.
  ASSERT_EQ(KvDnaBirth(body, 0, 2, 0), 1);
  EXPECT_EQ(KvDnaGet(body, KV_DNA_FORCES, 0), first);
  // A larger one takes a new block and keeps the old one readable.
  ASSERT_EQ(KvDnaBirth(body, 0, 5000, 0), 1);
  EXPECT_NE(KvDnaGet(body, KV_DNA_FORCES, 0), first);
  EXPECT_EQ(KvDnaCount(body, KV_DNA_FORCES), 5000u);
  EXPECT_TRUE(kept->IsNull());  // read under AddressSanitizer: still allocated

  // Killing the body keeps its block too, emptied.
  auto* second = static_cast<KV_HANDLE*>(KvDnaGet(body, KV_DNA_FORCES, 0));
  KvDnaLink(body, KV_DNA_FORCES, 10, &c);
  ASSERT_EQ(KvDnaDie(body, KV_DNA_KILL), 1);
  EXPECT_TRUE(second[10].IsNull());
  EXPECT_EQ(KvDnaCount(body, KV_DNA_FORCES), 0u);
  KvDnaBirth(body, 2, 0, 0);
  KvDnaLink(body, KV_DNA_SUBSTANCES, 0, &a);
  KvDnaLink(body, KV_DNA_SUBSTANCES, 1, &b);
  KvDnaDestroy(body);
}

TEST_F(SoftBody, DyingDestroysExactlyTheLinkedElements) {
  KV_HANDLE body = NewBody();
  KvDnaBirth(body, 2, 1, 1);
  KV_HANDLE a = NewSubstance(0, 0), b = NewSubstance(5, 0), loose = NewSubstance(9, 9);
  KV_HANDLE c = NewForce(a, b);
  KV_HANDLE f;
  KvSurfaceCreate(&f);
  KvDnaLink(body, KV_DNA_SUBSTANCES, 0, &a);
  KvDnaLink(body, KV_DNA_SUBSTANCES, 1, &b);
  KvDnaLink(body, KV_DNA_SUBSTANCES, 1, &b);  // linked twice, destroyed once
  KvDnaLink(body, KV_DNA_FORCES, 0, &c);
  KvDnaLink(body, KV_DNA_SURFACES, 0, &f);
  // KV_DNA_KIND37 is the program's own handle: kept, never owned.
  EXPECT_EQ(KvDnaLink(body, KV_DNA_KIND37, 0, &loose), 1);
  EXPECT_EQ(*static_cast<KV_HANDLE*>(KvDnaGet(body, KV_DNA_KIND37, 0)), loose);
  EXPECT_EQ(KvDnaCount(body, KV_DNA_KIND37), 1u);

  EXPECT_EQ(KvDnaDie(body, 0), 0);
  EXPECT_NE(KvSubstanceGet(a, KV_SUBSTANCE_POSITION), nullptr);
  ASSERT_EQ(KvDnaDie(body, KV_DNA_KILL), 1);
  EXPECT_EQ(KvSubstanceGet(a, KV_SUBSTANCE_POSITION), nullptr);
  EXPECT_EQ(KvSubstanceGet(b, KV_SUBSTANCE_POSITION), nullptr);
  EXPECT_EQ(KvCovalenceForceGet(c, KV_FORCE_FIRST), nullptr);
  EXPECT_EQ(KvSurfaceSetTexture(f, KV_HANDLE(), KV_TEXTURE_TARGET), 0);
  EXPECT_NE(KvSubstanceGet(loose, KV_SUBSTANCE_POSITION), nullptr);
  EXPECT_EQ(SoftBodyObjectCount(), 2u);  // the body and the loose substance

  // Destroy kills what was linked since, and the body.
  KvDnaBirth(body, 1, 0, 0);
  KvDnaLink(body, KV_DNA_SUBSTANCES, 0, &loose);
  KvDnaDestroy(body);
  KvDnaDestroy(body);
  EXPECT_EQ(SoftBodyObjectCount(), 0u);
}

TEST_F(SoftBody, PropertiesPointAtLiveStorage) {
  KV_HANDLE s = NewSubstance(1, 2);
  auto* position = static_cast<double*>(KvSubstanceGet(s, KV_SUBSTANCE_POSITION));
  ASSERT_NE(position, nullptr);
  EXPECT_EQ(position[0], 1);
  EXPECT_EQ(position[1], 2);
  KvSubstanceSetPosition(s, KV_DOUBLE4{7, 8, 9, 1}, 0);
  EXPECT_EQ(position[0], 7);
  EXPECT_EQ(position[2], 9);
  EXPECT_EQ(KvSubstanceGet(s, 316), nullptr);
  EXPECT_EQ(KvSubstanceSetSolid(s, 3), 1);
  EXPECT_EQ(KvSubstanceSetRange(s, 2.5), 1);

  KV_HANDLE t = NewSubstance(0, 0);
  KV_HANDLE c = NewForce(s, t);
  auto* first = static_cast<KV_HANDLE*>(KvCovalenceForceGet(c, KV_FORCE_FIRST));
  auto* second = static_cast<KV_HANDLE*>(KvCovalenceForceGet(c, KV_FORCE_SECOND));
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(*first, s);
  EXPECT_EQ(*second, t);
  KvCovalenceForceSetSubstance(c, KV_FORCE_SECOND, KV_HANDLE());
  EXPECT_TRUE(second->IsNull());
  EXPECT_EQ(KvCovalenceForceGet(c, 329), nullptr);
  EXPECT_EQ(KvCovalenceForceSetSubstance(c, 326, s), 0);

  KV_HANDLE f;
  KvSurfaceCreate(&f);
  EXPECT_EQ(KvSurfaceSetSubstance(f, KV_SURFACE_CORNER3, s), 1);
  EXPECT_EQ(KvSurfaceSetSubstance(f, 347, s), 0);
  EXPECT_EQ(KvSurfaceSetCoord(f, KV_SURFACE_COORD3, KV_DOUBLE4{1, 1, 0, 1}), 1);
  EXPECT_EQ(KvSurfaceSetCoord(f, 353, KV_DOUBLE4{}), 0);
  EXPECT_EQ(KvSurfaceSetTexture(f, KV_HANDLE(), 57), 0);

  // Loose elements are the program's until linked; closure-style clean-up here.
  KV_HANDLE body = NewBody();
  KvDnaBirth(body, 2, 1, 1);
  KvDnaLink(body, KV_DNA_SUBSTANCES, 0, &s);
  KvDnaLink(body, KV_DNA_SUBSTANCES, 1, &t);
  KvDnaLink(body, KV_DNA_FORCES, 0, &c);
  KvDnaLink(body, KV_DNA_SURFACES, 0, &f);
  KvDnaDestroy(body);
}

TEST_F(SoftBody, CallsAppearInTheTraceAndForcedFailuresLeaveHandlesNull) {
  kv::engine::testing::StartTrace();
  KV_HANDLE body = NewBody();
  KvDnaBirth(body, 1, 0, 0);
  KvDnaDie(body, KV_DNA_KILL);
  KvDnaDestroy(body);
  kv::engine::testing::StopTrace();
  const auto& calls = kv::engine::testing::TracedCalls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[1], "KvDnaBirth(" + std::to_string(body.value) + ", 1, 0, 0)");
  EXPECT_EQ(calls[2], "KvDnaDie(" + std::to_string(body.value) + ", 1)");

  kv::engine::testing::FailNext("KvSubstanceCreate");
  KV_HANDLE s;
  EXPECT_EQ(KvSubstanceCreate(&s), 0);
  EXPECT_TRUE(s.IsNull());
}
