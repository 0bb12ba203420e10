// KV_DICTIONARY: find-or-add, the id as part of the key, exact names and their length limit, the
// find modes, removal, moving entries, the id counter's wrap, stable sorting and copies.
#include "foundation/dictionary.h"
#include "foundation/string.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

template <class T>
std::vector<std::string> Names(const KV_DICTIONARY<T>& d) {
  std::vector<std::string> out;
  for (auto k = d.keys.Begin(); !k.IsEnd(); k.Next()) out.push_back(k->name);
  return out;
}

std::vector<int> Ints(const KV_DICTIONARY<int>& d) {
  std::vector<int> out;
  for (auto v = d.Begin(); !v.IsEnd(); v.Next()) out.push_back(*v.Get());
  return out;
}

int Smaller(const int* a, const int* b) { return *a < *b ? -1 : (*a > *b ? 1 : 0); }

using SV = std::vector<std::string>;
using IV = std::vector<int>;

}  // namespace

TEST(Dictionary, GetAddsOnceThenFinds) {
  KV_DICTIONARY<KV_STRING> d;
  auto a = d.Get("main", 0);
  ASSERT_FALSE(a.IsEnd());
  EXPECT_STREQ(a->c_str(), "");
  a->Assign("window");
  auto b = d.Get("main", 0);
  EXPECT_TRUE(a == b);
  EXPECT_EQ(d.CountName(nullptr), 1u);
  EXPECT_STREQ(d.GetValue("main")->c_str(), "window");
}

TEST(Dictionary, IdIsPartOfTheKey) {
  KV_DICTIONARY<int> d;
  *d.GetValue("main", 0) = 10;
  *d.GetValue("main", 1) = 11;
  EXPECT_EQ(d.CountName(nullptr), 2u);
  EXPECT_EQ(d.CountName("main"), 2u);
  EXPECT_EQ(*d.Find(4, "main", 7).Get(), 10);
  EXPECT_EQ(*d.Find(1, "main", 1).Get(), 11);
  EXPECT_TRUE(d.Find(1, "main", 2).IsEnd());
  EXPECT_EQ(d.CountName(nullptr), 2u);
}

TEST(Dictionary, NamesAreCaseSensitive) {
  KV_DICTIONARY<int> d;
  d.Get("Sprite");
  d.Get("sprite");
  EXPECT_EQ(d.CountName(nullptr), 2u);
  EXPECT_TRUE(d.Find(1, "SPRITE", 0).IsEnd());
}

TEST(Dictionary, NameLimitIs123Characters) {
  KV_DICTIONARY<int> d;
  std::string longest(123, 'n');
  std::string tooLong(124, 'n');
  ASSERT_FALSE(d.Get(longest.c_str()).IsEnd());
  EXPECT_FALSE(d.Find(1, longest.c_str(), 0).IsEnd());
  EXPECT_EQ(Names(d), SV{longest});
  EXPECT_TRUE(d.Get(tooLong.c_str()).IsEnd());
  EXPECT_EQ(d.GetValue(tooLong.c_str()), nullptr);
  EXPECT_TRUE(d.Find(4, tooLong.c_str(), 0).IsEnd());
  EXPECT_EQ(d.CountName(nullptr), 1u);
  EXPECT_TRUE(d.Get(nullptr).IsEnd());
}

TEST(Dictionary, FindModesThreeAndOthers) {
  KV_DICTIONARY<int> d;
  *d.GetValue("a") = 1;
  *d.GetValue("b") = 2;
  *d.GetValue("c") = 3;
  EXPECT_TRUE(d.Find(3, "b", 0).IsEnd());
  EXPECT_EQ(Names(d), (SV{"a", "c"}));
  EXPECT_EQ(Ints(d), (IV{1, 3}));
  EXPECT_TRUE(d.Find(3, "zz", 0).IsEnd());
  EXPECT_EQ(d.CountName(nullptr), 2u);
  EXPECT_TRUE(d.Find(0, "a", 0).IsEnd());
  EXPECT_TRUE(d.Find(5, "a", 0).IsEnd());
  EXPECT_TRUE(d.Find(1, "b", 0).IsEnd());
  EXPECT_EQ(d.CountName(nullptr), 2u);
}

TEST(Dictionary, RemoveValueByValueAndByBytes) {
  int x = 1, y = 2;
  KV_DICTIONARY<int*> d;
  *d.GetValue("x") = &x;
  *d.GetValue("y") = &y;
  *d.GetValue("x2") = &x;
  EXPECT_TRUE(d.RemoveValue(&x));
  EXPECT_EQ(Names(d), (SV{"y", "x2"}));
  int* py = &y;
  EXPECT_TRUE(d.RemoveValue(&py));
  EXPECT_EQ(Names(d), SV{"x2"});
  EXPECT_FALSE(d.RemoveValue(static_cast<int* const*>(nullptr)));
  int z = 0;
  EXPECT_FALSE(d.RemoveValue(&z));
  EXPECT_EQ(d.CountName(nullptr), 1u);
}

TEST(Dictionary, MoveToAppendsInOrderAndKeepsIterators) {
  KV_DICTIONARY<int> pending, live;
  *live.GetValue("old") = 0;
  auto one = pending.Get("one");
  *one.Get() = 1;
  *pending.GetValue("two") = 2;
  pending.nextId = 5;
  pending.MoveTo(live);
  EXPECT_EQ(Names(live), (SV{"old", "one", "two"}));
  EXPECT_EQ(Ints(live), (IV{0, 1, 2}));
  EXPECT_EQ(pending.CountName(nullptr), 0u);
  EXPECT_TRUE(pending.Begin().IsEnd());
  EXPECT_EQ(pending.nextId, 5u);
  EXPECT_EQ(live.nextId, 0u);
  EXPECT_EQ(one.node->owner, &live.values);
  // the moved entry is found and erased through its new dictionary
  EXPECT_TRUE(live.Find(3, "one", 0).IsEnd());
  EXPECT_EQ(Ints(live), (IV{0, 2}));
}

TEST(Dictionary, NextIdWrapsBeforeAllOnes) {
  KV_DICTIONARY<int> d;
  EXPECT_EQ(d.NextId(), 0u);
  EXPECT_EQ(d.NextId(), 1u);
  d.nextId = 0xFFFFFFFEu;
  EXPECT_EQ(d.NextId(), 0xFFFFFFFEu);
  EXPECT_EQ(d.NextId(), 0u);
  EXPECT_EQ(d.nextId, 1u);
}

TEST(Dictionary, SortKeepsKeysWithValuesAndIsStable) {
  KV_DICTIONARY<int> d;
  const char* names[] = {"a", "b", "c", "d", "e", "f"};
  const int values[] = {2, 7, 2, 5, 9, 5};
  for (int i = 0; i < 6; ++i) *d.GetValue(names[i]) = values[i];
  d.Sort(Smaller);
  EXPECT_EQ(Ints(d), (IV{9, 7, 5, 5, 2, 2}));
  EXPECT_EQ(Names(d), (SV{"e", "b", "d", "f", "a", "c"}));
  EXPECT_EQ(*d.Find(1, "d", 0).Get(), 5);
  d.Sort(nullptr);
  EXPECT_EQ(Names(d), (SV{"e", "b", "d", "f", "a", "c"}));
}

TEST(Dictionary, CopyingCopiesEntries) {
  // a skin is a dictionary of strings held by value in another dictionary
  KV_DICTIONARY<KV_DICTIONARY<KV_STRING>> skins;
  skins.GetValue("dark")->GetValue("AreaActive")->Assign("style1");
  KV_DICTIONARY<KV_STRING> copy = *skins.GetValue("dark");
  copy.GetValue("AreaActive")->Assign("changed");
  EXPECT_STREQ(skins.GetValue("dark")->GetValue("AreaActive")->c_str(), "style1");
}
