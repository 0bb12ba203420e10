// KV_SHARED: the shared count, the last release destroying the object, the keep-alive
// flag, and the refusals of Reset and Assign for the object already held.
#include "foundation/shared.h"
#include "foundation/tree.h"

#include <gtest/gtest.h>

namespace {

struct OBJECT {
  static int live;
  int value = 0;
  OBJECT() { ++live; }
  virtual ~OBJECT() { --live; }
  OBJECT& operator=(const OBJECT& o) {
    value = o.value;
    return *this;
  }
};
int OBJECT::live = 0;

// Destroyed through the base's virtual destructor.
struct DERIVED : OBJECT {
  static int destroyed;
  ~DERIVED() override { ++destroyed; }
};
int DERIVED::destroyed = 0;

typedef KV_SHARED<OBJECT> POINTER;

class Shared : public ::testing::Test {
 protected:
  void SetUp() override { OBJECT::live = 0; }
  void TearDown() override { EXPECT_EQ(OBJECT::live, 0); }
};

}  // namespace

TEST_F(Shared, DefaultHoldsItsOwnNewObject) {
  POINTER p;
  ASSERT_NE(p.Get(), nullptr);
  EXPECT_EQ(p.empty, 0);
  EXPECT_EQ(*p.counter, 1u);
  EXPECT_EQ(OBJECT::live, 1);
}

TEST_F(Shared, LastHolderDestroysTheObject) {
  POINTER* a = new POINTER(new OBJECT());
  POINTER* b = new POINTER(*a);
  EXPECT_EQ(a->Get(), b->Get());
  EXPECT_EQ(*a->counter, 2u);
  delete a;
  EXPECT_EQ(OBJECT::live, 1);
  EXPECT_EQ(*b->counter, 1u);
  delete b;
  EXPECT_EQ(OBJECT::live, 0);
}

TEST_F(Shared, DestroysThroughTheVirtualDestructor) {
  DERIVED::destroyed = 0;
  { POINTER p(new DERIVED()); }
  EXPECT_EQ(DERIVED::destroyed, 1);
}

TEST_F(Shared, ResetRefusesTheHeldObject) {
  POINTER p(new OBJECT());
  POINTER q(p);
  EXPECT_FALSE(p.Reset(p.Get()));
  EXPECT_EQ(*p.counter, 2u);
  OBJECT* other = new OBJECT();
  EXPECT_TRUE(p.Reset(other));
  EXPECT_EQ(p.Get(), other);
  EXPECT_EQ(*p.counter, 1u);
  EXPECT_EQ(*q.counter, 1u);
  EXPECT_EQ(OBJECT::live, 2);
}

TEST_F(Shared, AssignSharesRefusesTheSameAndCopiesEmptiness) {
  POINTER a(new OBJECT()), b(new OBJECT());
  EXPECT_EQ(OBJECT::live, 2);
  EXPECT_TRUE(b.Assign(a));  // b's own object goes
  EXPECT_EQ(OBJECT::live, 1);
  EXPECT_EQ(*a.counter, 2u);
  EXPECT_FALSE(b.Assign(a));
  EXPECT_FALSE(a.Assign(a));
  EXPECT_EQ(*a.counter, 2u);

  POINTER none(a);
  none.Release();
  EXPECT_EQ(none.Get(), nullptr);
  b = none;  // the other holds nothing: b lets go too
  EXPECT_EQ(b.Get(), nullptr);
  EXPECT_EQ(*a.counter, 1u);
}

TEST_F(Shared, CloneHoldsANewCopy) {
  POINTER a;
  a->value = 5;
  POINTER b(a);
  EXPECT_TRUE(b.Clone(*b.Get()));  // copying its own object is safe
  EXPECT_NE(b.Get(), a.Get());
  EXPECT_EQ(b->value, 5);
  EXPECT_EQ(*a.counter, 1u);
  EXPECT_EQ(*b.counter, 1u);
}

TEST_F(Shared, ReleaseTwiceTakesOnlyOneShare) {
  POINTER a;
  POINTER b(a);
  b.Release();
  b.Release();
  EXPECT_EQ(*a.counter, 1u);
  EXPECT_EQ(b.Get(), nullptr);
  EXPECT_EQ(OBJECT::live, 1);
}

TEST_F(Shared, KeepAliveLeavesTheObjectAtTheLastRelease) {
  OBJECT* object = new OBJECT();
  {
    POINTER p(object);
    p.keepAlive = 1;
    p.Release();
    EXPECT_EQ(p.counter, nullptr);
    EXPECT_EQ(p.Get(), nullptr);
    EXPECT_EQ(p.object, object);
  }
  EXPECT_EQ(OBJECT::live, 1);
  delete object;
}

TEST_F(Shared, TreeOfSharedReleasesEveryObjectOfARemovedSubtree) {
  typedef KV_TREE<POINTER> TREE;
  TREE root;
  EXPECT_EQ(OBJECT::live, 1);  // a default node holds its own object
  TREE* a = root.Add(POINTER()).Get();
  a->Add(POINTER()).Get()->Add(POINTER());
  POINTER kept(root.Add(POINTER()).Get()->value);
  EXPECT_EQ(OBJECT::live, 5);
  EXPECT_EQ(*a->value.counter, 1u);
  a->Detach();
  EXPECT_EQ(OBJECT::live, 2);
  root.Clear();
  // The object also held by kept outlives its tree node.
  EXPECT_EQ(OBJECT::live, 2);
  EXPECT_EQ(*kept.counter, 1u);
}
