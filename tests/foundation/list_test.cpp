// KV_LIST and its iterators: layout, order and links, walking past either end, erasing, sorting
// and adopting nodes with iterators kept valid.
#include "foundation/list.h"
#include "foundation/string.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

template <class T>
std::vector<T> Values(const KV_LIST<T>& list) {
  std::vector<T> out;
  for (auto it = list.Begin(); !it.IsEnd(); it.Next()) out.push_back(*it.Get());
  return out;
}

// Walks backwards too, so a broken prev link shows up.
template <class T>
std::vector<T> ValuesBackwards(const KV_LIST<T>& list) {
  std::vector<T> out;
  for (auto it = list.Last(); !it.IsEnd(); it.Prev()) out.insert(out.begin(), *it.Get());
  return out;
}

struct ITEM {
  int key;
  int tag;
  bool operator==(const ITEM& o) const { return key == o.key && tag == o.tag; }
};

int ByKey(const ITEM* a, const ITEM* b) { return a->key < b->key ? -1 : (a->key > b->key ? 1 : 0); }

int Ascending(const int* a, const int* b) { return *b - *a; }

int calls = 0;
int Counting(const int*, const int*) {
  ++calls;
  return 0;
}

using IV = std::vector<int>;

}  // namespace

TEST(List, IteratorKeepsItsFieldOrder) {
  // {end flag, reserved, node pointer}: the node pointer is native on 64-bit
  EXPECT_EQ(sizeof(KV_LIST_ITERATOR<int>), 2 * sizeof(void*));
  EXPECT_EQ(offsetof(KV_LIST_ITERATOR<int>, endFlag), 0u);
  EXPECT_EQ(offsetof(KV_LIST_ITERATOR<int>, reserved), 1u);
  EXPECT_EQ(offsetof(KV_LIST_ITERATOR<int>, node), sizeof(void*));
}

TEST(List, EmptyListGivesEndIterators) {
  KV_LIST<int> list;
  EXPECT_TRUE(list.Begin().IsEnd());
  EXPECT_TRUE(list.Last().IsEnd());
  EXPECT_EQ(list.Begin().Get(), nullptr);
  EXPECT_EQ(list.Count(), 0u);
  KV_LIST_ITERATOR<int> odd(0, nullptr);
  EXPECT_TRUE(odd.IsEnd());
  EXPECT_TRUE(odd == KV_LIST_ITERATOR<int>());
}

TEST(List, PushBackKeepsOrderAndLinks) {
  KV_LIST<int> list;
  auto it = list.PushBack(1);
  EXPECT_EQ(it.endFlag, 0);
  EXPECT_EQ(*it.Get(), 1);
  list.PushBack(2);
  list.PushBack(3);
  EXPECT_EQ(list.Count(), 3u);
  EXPECT_EQ(Values(list), (IV{1, 2, 3}));
  EXPECT_EQ(ValuesBackwards(list), (IV{1, 2, 3}));
}

TEST(List, WalkingPastTheEndStaysThere) {
  KV_LIST<int> list;
  list.PushBack(1);
  auto it = list.Last();
  it.Next();
  EXPECT_TRUE(it.IsEnd());
  it.Next();
  EXPECT_TRUE(it.IsEnd());
  it.Prev();
  EXPECT_TRUE(it.IsEnd());
  auto b = list.Begin();
  b.Prev();
  EXPECT_TRUE(b.IsEnd());
  EXPECT_TRUE(b == it);
  EXPECT_TRUE(list.Begin() != it);
}

TEST(List, PostNextReturnsTheOldPosition) {
  KV_LIST<int> list;
  list.PushBack(10);
  list.PushBack(20);
  auto it = list.Begin();
  auto was = it.PostNext();
  EXPECT_EQ(*was.Get(), 10);
  EXPECT_EQ(*it.Get(), 20);
}

TEST(List, EraseRelinksNeighbours) {
  KV_LIST<int> list;
  list.PushBack(1);
  auto mid = list.PushBack(2);
  list.PushBack(3);
  list.Erase(mid);
  EXPECT_EQ(Values(list), (IV{1, 3}));
  EXPECT_EQ(ValuesBackwards(list), (IV{1, 3}));
  list.Erase(list.Begin());
  list.Erase(list.Last());
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_EQ(list.first, nullptr);
  EXPECT_EQ(list.last, nullptr);
  list.Erase(KV_LIST_ITERATOR<int>());
  EXPECT_EQ(list.Count(), 0u);
}

TEST(List, EraseIgnoresANodeOfAnotherList) {
  KV_LIST<int> a, b;
  a.PushBack(1);
  auto foreign = b.PushBack(2);
  a.Erase(foreign);
  EXPECT_EQ(a.Count(), 1u);
  EXPECT_EQ(Values(b), (IV{2}));
}

TEST(List, CopiesElementsIntoNewNodes) {
  KV_LIST<KV_STRING> a;
  a.PushBack("x");
  a.PushBack("y");
  KV_LIST<KV_STRING> b(a);
  EXPECT_EQ(b.Count(), 2u);
  EXPECT_NE(a.first, b.first);
  EXPECT_EQ(b.first->owner, &b);
  b.Begin()->Assign("changed");
  EXPECT_STREQ(a.Begin()->c_str(), "x");
  KV_LIST<KV_STRING> c;
  c.PushBack("old");
  c = a;
  EXPECT_EQ(c.Count(), 2u);
  EXPECT_STREQ(c.Last()->c_str(), "y");
}

TEST(List, SwapExchangesValuesNotNodes) {
  KV_LIST<int> list;
  auto a = list.PushBack(1);
  auto b = list.PushBack(2);
  EXPECT_TRUE(list.Swap(a, b));
  EXPECT_EQ(*a.Get(), 2);
  EXPECT_EQ(*b.Get(), 1);
  EXPECT_EQ(list.first, a.node);
  EXPECT_FALSE(list.Swap(a, KV_LIST_ITERATOR<int>()));
  EXPECT_EQ(Values(list), (IV{2, 1}));
}

TEST(List, AdoptMovesTheNodeAndKeepsIterators) {
  KV_LIST<int> from, to;
  from.PushBack(1);
  from.PushBack(2);
  auto tail = from.PushBack(3);
  to.PushBack(9);
  EXPECT_TRUE(to.Adopt(tail));
  EXPECT_EQ(Values(from), (IV{1, 2}));
  EXPECT_EQ(ValuesBackwards(from), (IV{1, 2}));
  EXPECT_EQ(from.Count(), 2u);
  EXPECT_EQ(Values(to), (IV{9, 3}));
  EXPECT_EQ(to.Count(), 2u);
  EXPECT_EQ(*tail.Get(), 3);
  EXPECT_EQ(tail.node->owner, &to);
  EXPECT_FALSE(to.Adopt(tail));
  EXPECT_EQ(to.Count(), 2u);
  EXPECT_FALSE(to.Adopt(KV_LIST_ITERATOR<int>()));
  // adopting the only node of a list empties it
  EXPECT_TRUE(to.Adopt(from.Begin()));
  EXPECT_TRUE(to.Adopt(from.Begin()));
  EXPECT_EQ(from.first, nullptr);
  EXPECT_EQ(from.last, nullptr);
  EXPECT_EQ(Values(to), (IV{9, 3, 1, 2}));
}

TEST(List, SortIsNonIncreasingAndStable) {
  KV_LIST<ITEM> list;
  const int keys[] = {3, 1, 4, 1, 5, 9, 2, 6, 5, 3};
  for (int i = 0; i < 10; ++i) list.PushBack(ITEM{keys[i], i});
  auto firstNode = list.first;
  list.Sort(ByKey);
  std::vector<ITEM> sorted = Values(list);
  const std::vector<ITEM> expected = {{9, 5}, {6, 7}, {5, 4}, {5, 8}, {4, 2},
                                      {3, 0}, {3, 9}, {2, 6}, {1, 1}, {1, 3}};
  EXPECT_EQ(sorted, expected);
  EXPECT_EQ(list.first, firstNode);
  EXPECT_EQ(ValuesBackwards(list), expected);
}

TEST(List, SortWithReversedComparisonPutsSmallestFirst) {
  KV_LIST<int> list;
  for (int v : {5, 2, 8, 1}) list.PushBack(v);
  list.Sort(Ascending);
  EXPECT_EQ(Values(list), (IV{1, 2, 5, 8}));
  list.Sort(nullptr);
  EXPECT_EQ(Values(list), (IV{1, 2, 5, 8}));
}

TEST(List, SortOfOneElementComparesNothing) {
  KV_LIST<int> list;
  calls = 0;
  list.Sort(Counting);
  list.PushBack(1);
  list.Sort(Counting);
  EXPECT_EQ(calls, 0);
}

TEST(List, TypedAccessorsGiveEmptyValuesAtTheEnd) {
  KV_LIST<unsigned char> bytes;
  bytes.PushBack('k');
  EXPECT_EQ(bytes.Begin().Byte(), 'k');
  EXPECT_EQ(KV_LIST_ITERATOR<unsigned char>().Byte(), 0);

  int target = 4;
  KV_LIST<int*> pointers;
  pointers.PushBack(&target);
  EXPECT_EQ(*pointers.Begin(), &target);
  EXPECT_EQ(*KV_LIST_ITERATOR<int*>(), nullptr);

  KV_LIST<KV_LIST_ITERATOR<int*>> iterators;
  iterators.PushBack(pointers.Begin());
  EXPECT_TRUE(iterators.Begin().GetCopy() == pointers.Begin());
  EXPECT_TRUE(KV_LIST_ITERATOR<KV_LIST_ITERATOR<int*>>().GetCopy().IsEnd());
}

TEST(List, SharedListLeavesItsNodes) {
  KV_LIST<int> owner;
  owner.PushBack(1);
  owner.PushBack(2);
  {
    KV_LIST<int> view;
    view.first = owner.first;
    view.last = owner.last;
    view.count = owner.count;
    view.shared = 1;
  }
  EXPECT_EQ(Values(owner), (IV{1, 2}));
}
