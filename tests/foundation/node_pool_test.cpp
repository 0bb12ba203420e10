// KV_NODE_POOL: nodes across chunks distinct, aligned and reused, freed storage handed out first.
#include "foundation/list.h"
#include "foundation/node_pool.h"
#include "foundation/string.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

namespace {

struct alignas(64) WIDE {
  int64_t words[9];
};

// Many more nodes than one chunk holds: every node distinct, aligned for its value,
// and the values intact after the lists are torn down and built again from reused slots.
TEST(NodePool, NodesAcrossChunksAreDistinctAlignedAndReusable) {
  for (int round = 0; round < 2; ++round) {
    KV_LIST<WIDE> wide;
    KV_LIST<KV_STRING> names;
    std::set<const void*> seen;
    for (int i = 0; i < 5000; ++i) {
      WIDE w{};
      w.words[0] = i;
      w.words[8] = -i;
      WIDE* stored = wide.PushBack(w).Get();
      EXPECT_EQ((uintptr_t)stored % 64, 0u);
      EXPECT_TRUE(seen.insert(stored).second);
      KV_STRING name;
      name += i;
      EXPECT_TRUE(seen.insert(names.PushBack(name).Get()).second);
    }
    int i = 0;
    auto n = names.Begin();
    for (auto it = wide.Begin(); !it.IsEnd(); it.Next(), n.Next(), ++i) {
      ASSERT_EQ(it.Get()->words[0], i);
      ASSERT_EQ(it.Get()->words[8], -i);
      KV_STRING expected;
      expected += i;
      ASSERT_TRUE(*n.Get() == expected);
    }
    EXPECT_EQ(i, 5000);
  }
}

#if KV_NODE_POOL_ENABLED
// An erased node's storage is the next one handed out, so a list that churns costs no
// heap calls. (Under AddressSanitizer the pool stands aside and this does not hold.)
TEST(NodePool, ErasedNodeStorageIsReusedFirst) {
  KV_LIST<int> list;
  list.PushBack(1);
  KV_LIST<int>::ITERATOR middle = list.PushBack(2);
  list.PushBack(3);
  int* freed = middle.Get();
  list.Erase(middle);
  EXPECT_EQ(list.PushBack(4).Get(), freed);
  EXPECT_EQ(list.Count(), 3u);
}
#endif

}  // namespace
