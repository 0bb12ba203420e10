// KV_TREE: children in order with parent pointers, removal of whole subtrees, and
// parent pointers that stay right when trees are copied, assigned or swapped.
#include "foundation/tree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Counts live instances, so tests can see exactly which subtrees were destroyed.
struct COUNTED {
  static int live;
  int id;
  COUNTED() : id(0) { ++live; }
  COUNTED(int i) : id(i) { ++live; }
  COUNTED(const COUNTED& o) : id(o.id) { ++live; }
  COUNTED& operator=(const COUNTED& o) = default;
  ~COUNTED() { --live; }
};
int COUNTED::live = 0;

typedef KV_TREE<COUNTED> TREE;

// Checks recursively that every child points back at the node that holds it.
bool ParentsRight(const TREE& node) {
  for (TREE::ITERATOR it = node.Begin(); !it.IsEnd(); it.Next()) {
    if (it.Get()->parent != &node || !ParentsRight(*it.Get())) return false;
  }
  return true;
}

std::vector<int> Ids(const TREE& node) {
  std::vector<int> ids;
  for (TREE::ITERATOR it = node.Begin(); !it.IsEnd(); it.Next()) ids.push_back(it.Get()->value.id);
  return ids;
}

}  // namespace

TEST(Tree, AddKeepsOrderAndParents) {
  TREE root;
  EXPECT_EQ(root.Parent(), nullptr);
  root.Add(COUNTED(1));
  TREE::ITERATOR second = root.Add(COUNTED(2));
  root.Add(COUNTED(3));
  EXPECT_EQ(root.Count(), 3u);
  EXPECT_EQ(Ids(root), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(second.Get()->Parent(), &root);
  EXPECT_EQ(root.Last().Get()->value.id, 3);
  second.Get()->Add(COUNTED(21));
  EXPECT_TRUE(ParentsRight(root));
}

TEST(Tree, AddTakesOnlyTheValue) {
  TREE source(COUNTED(7));
  source.Add(COUNTED(8));
  TREE root;
  // Only the value is copied: source's children do not come along.
  TREE::ITERATOR it = root.Add(source.value);
  EXPECT_EQ(it.Get()->value.id, 7);
  EXPECT_EQ(it.Get()->Count(), 0u);
}

TEST(Tree, RemoveDestroysTheWholeSubtree) {
  int before = COUNTED::live;
  {
    TREE root;
    TREE::ITERATOR a = root.Add(COUNTED(1));
    root.Add(COUNTED(2));
    TREE::ITERATOR b = a.Get()->Add(COUNTED(11));
    b.Get()->Add(COUNTED(111));
    a.Get()->Add(COUNTED(12));
    EXPECT_EQ(COUNTED::live, before + 1 + 5);
    root.Remove(a);
    EXPECT_EQ(root.Count(), 1u);
    EXPECT_EQ(Ids(root), (std::vector<int>{2}));
    EXPECT_EQ(COUNTED::live, before + 1 + 1);
  }
  EXPECT_EQ(COUNTED::live, before);
}

TEST(Tree, RemoveIgnoresTheEndAndOtherNodesChildren) {
  TREE root, other;
  root.Add(COUNTED(1));
  TREE::ITERATOR foreign = other.Add(COUNTED(2));
  root.Remove(TREE::ITERATOR());
  root.Remove(foreign);
  EXPECT_EQ(root.Count(), 1u);
  EXPECT_EQ(other.Count(), 1u);
}

TEST(Tree, ClearEmptiesAndIsHarmlessWhenEmpty) {
  TREE root;
  root.Clear();
  EXPECT_EQ(root.Count(), 0u);
  root.Add(COUNTED(1)).Get()->Add(COUNTED(2));
  root.Add(COUNTED(3));
  root.Clear();
  EXPECT_EQ(root.Count(), 0u);
  EXPECT_EQ(root.Begin().IsEnd(), true);
}

TEST(Tree, ClearSurvivesAVeryDeepTree) {
  TREE root;
  TREE* node = &root;
  for (int i = 0; i < 200000; ++i) node = node->Add(COUNTED(i)).Get();
  root.Clear();
  EXPECT_EQ(root.Count(), 0u);
}

TEST(Tree, CopySurvivesAVeryDeepTree) {
  TREE root;
  TREE* node = &root;
  for (int i = 0; i < 1000000; ++i) node = node->Add(COUNTED(i)).Get();
  const int live = COUNTED::live;
  TREE copy(root);
  EXPECT_EQ(COUNTED::live, 2 * live);
  int depth = 0;
  for (const TREE* at = &copy; at->Count() != 0; at = at->Begin().Get()) {
    if (at->Begin().Get()->parent != at || at->Begin().Get()->value.id != depth) break;
    ++depth;
  }
  EXPECT_EQ(depth, 1000000);
}

TEST(Tree, RemoveChildAndDetach) {
  TREE root;
  TREE* a = root.Add(COUNTED(1)).Get();
  TREE* b = root.Add(COUNTED(2)).Get();
  TREE* a1 = a->Add(COUNTED(11)).Get();
  a1->Add(COUNTED(111));

  root.RemoveChild(nullptr);
  root.RemoveChild(a1);  // a grandchild, not a child
  EXPECT_EQ(a->Count(), 1u);

  a1->Detach();
  EXPECT_EQ(a->Count(), 0u);
  root.RemoveChild(b);
  EXPECT_EQ(Ids(root), (std::vector<int>{1}));
  root.Detach();  // the root has no parent: nothing happens
  EXPECT_EQ(root.Count(), 1u);
}

TEST(Tree, CopiesOwnTheirSubtreeWithParentsPointingInside) {
  TREE root(COUNTED(0));
  root.Add(COUNTED(1)).Get()->Add(COUNTED(11));
  root.Add(COUNTED(2));
  TREE copy(root);
  EXPECT_EQ(copy.Parent(), nullptr);
  EXPECT_TRUE(ParentsRight(copy));
  EXPECT_NE(copy.Begin().Get(), root.Begin().Get());
  root.Clear();
  EXPECT_EQ(Ids(copy), (std::vector<int>{1, 2}));
  EXPECT_EQ(copy.Begin().Get()->Count(), 1u);
}

TEST(Tree, AssignmentKeepsItsPlaceAndMayTakeItsOwnChild) {
  TREE root;
  TREE* a = root.Add(COUNTED(1)).Get();
  a->Add(COUNTED(11)).Get()->Add(COUNTED(111));
  // a takes a copy of its own child; the child is copied before a's subtree goes.
  *a = *a->Begin().Get();
  EXPECT_EQ(a->value.id, 11);
  EXPECT_EQ(a->Parent(), &root);
  EXPECT_EQ(Ids(*a), (std::vector<int>{111}));
  EXPECT_TRUE(ParentsRight(root));
}

TEST(Tree, TreesHeldByValueInListsKeepParentsRight) {
  // Copying a list of trees, sorting it and swapping two of its trees all move
  // subtrees between list nodes; every child must follow.
  KV_LIST<TREE> list;
  for (int i = 1; i <= 3; ++i) {
    TREE t{COUNTED(i)};
    t.Add(COUNTED(i * 10)).Get()->Add(COUNTED(i * 100));
    list.PushBack(t);
  }
  KV_LIST<TREE> copy(list);
  copy.Sort([](const TREE* a, const TREE* b) { return a->value.id - b->value.id; });
  list.Swap(list.Begin(), list.Last());
  for (KV_LIST<TREE>* l : {&list, &copy}) {
    for (KV_LIST<TREE>::ITERATOR it = l->Begin(); !it.IsEnd(); it.Next()) {
      EXPECT_TRUE(ParentsRight(*it.Get()));
      EXPECT_EQ(it.Get()->Begin().Get()->value.id, it.Get()->value.id * 10);
    }
  }
  EXPECT_EQ(copy.Begin().Get()->value.id, 3);
  EXPECT_EQ(list.Begin().Get()->value.id, 3);
  // Removal through a moved child's parent pointer reaches the right node.
  TREE* moved = list.Begin().Get()->Begin().Get();
  moved->Detach();
  EXPECT_EQ(list.Begin().Get()->Count(), 0u);
}
