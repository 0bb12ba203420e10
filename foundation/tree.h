// KV_TREE: the framework's ordered tree. Each tree node holds one value, a pointer to
// the node whose child list holds it, and its children by value in a KV_LIST, so a
// child's address stays fixed while it is in the tree. The markup document and the
// GUI's control tree are instances of it. A node owns its whole subtree; copying a
// node copies the value and the subtree into new nodes, and swapping two nodes'
// contents (as a list sort does) moves the subtrees with their parent pointers mended.
#pragma once

#include "foundation/list.h"

#include <utility>
#include <vector>

template <class T>
struct KV_TREE {
  typedef KV_LIST<KV_TREE> LIST;
  typedef KV_LIST_ITERATOR<KV_TREE> ITERATOR;

  T value;
  KV_TREE* parent;  // the node whose children hold this one; null at the root
  LIST children;    // in insertion order

  // A default value, no parent, no children.
  KV_TREE() : value(), parent(nullptr) {}
  // A copy of the value, no parent, no children.
  KV_TREE(const T& v) : value(v), parent(nullptr) {}
  // A copy of the value and of the whole subtree in new nodes; the copy is a root
  // until a list or an Add places it.
  KV_TREE(const KV_TREE& other) : value(other.value), parent(nullptr) { CopySubtree(other); }
  // Replaces value and subtree by copies of the other node's; this node keeps its own
  // place (parent). The copy is taken first, so the source may lie inside this subtree.
  KV_TREE& operator=(const KV_TREE& other) {
    if (this != &other) {
      KV_TREE copy(other);
      Exchange(*this, copy);
    }
    return *this;
  }
  // Removes the subtree leaf first, then the list and the value go.
  ~KV_TREE() { Clear(); }

  // Exchanges value and subtree of two nodes; each keeps its own place in its tree.
  // The list's sort and swap reach this through argument-dependent lookup.
  friend void swap(KV_TREE& a, KV_TREE& b) { Exchange(a, b); }

  // ---- access ----
  // Pointer to the value.
  T* Value() { return &value; }
  T* Get() { return &value; }
  // The parent node; null at the root.
  KV_TREE* Parent() const { return parent; }
  // Iterator on the first / last child; the end iterator without children.
  ITERATOR Begin() const { return children.Begin(); }
  ITERATOR Last() const { return children.Last(); }
  // Number of direct children.
  unsigned int Count() const { return children.Count(); }

  // ---- building ----
  // Appends a child holding a copy of value (never another node's children); returns
  // the child's iterator.
  ITERATOR Add(const T& v) {
    ITERATOR it = children.PushBack(KV_TREE(v));
    if (!it.IsEnd()) it.Get()->parent = this;
    return it;
  }

  // ---- removal ----
  // Removes the child at it with its subtree; an end iterator or another node's child
  // is left alone.
  void Remove(ITERATOR it) {
    if (it.IsEnd() || it.Get()->parent != this) return;
    it.Get()->Clear();
    children.Erase(it);
  }

  // Removes every child with its subtree, leaves first, first child first. The walk
  // keeps its own stack, so a very deep tree cannot exhaust the call stack.
  void Clear() {
    if (children.Count() == 0) return;
    std::vector<KV_TREE*> path;
    path.push_back(this);
    while (!path.empty()) {
      KV_TREE* top = path.back();
      if (top->children.Count() != 0) {
        path.push_back(top->children.Begin().Get());
        continue;
      }
      path.pop_back();
      if (!path.empty()) path.back()->children.Erase(path.back()->children.Begin());
    }
  }

  // Removes the given child of this node with its subtree; null or a node that is not
  // a child of this one is left alone.
  void RemoveChild(KV_TREE* child) {
    if (child == nullptr) return;
    for (ITERATOR it = children.Begin(); !it.IsEnd(); it.Next()) {
      if (it.Get() == child) {
        Remove(it);
        return;
      }
    }
  }

  // Removes this node from its parent with its subtree; nothing at the root. The node
  // no longer exists afterwards: it lived in its parent's list.
  void Detach() {
    if (parent != nullptr) parent->RemoveChild(this);
  }

 private:
  // Copies the other node's subtree under this childless node, children in order, node by
  // node with a stack of its own, so a very deep tree cannot exhaust the call stack.
  void CopySubtree(const KV_TREE& other) {
    // Most copies are of leaves (every Add copies one): they need no stack.
    if (other.children.Count() == 0) return;
    std::vector<std::pair<const KV_TREE*, KV_TREE*>> pending;
    pending.emplace_back(&other, this);
    while (!pending.empty()) {
      auto [from, to] = pending.back();
      pending.pop_back();
      for (ITERATOR it = from->Begin(); !it.IsEnd(); it.Next()) {
        ITERATOR made = to->Add(it.Get()->value);
        if (!made.IsEnd() && it.Get()->Count() != 0) pending.emplace_back(it.Get(), made.Get());
      }
    }
  }

  // Points every direct child back at this node (after an exchange).
  void AdoptChildren() {
    for (typename LIST::NODE* node = children.first; node != nullptr; node = node->next) {
      node->owner = &children;
      node->value.parent = this;
    }
  }

  // Exchanges values and child chains; the list nodes stay where they are, so every
  // grandchild keeps its address and only the direct children need their links mended.
  static void Exchange(KV_TREE& a, KV_TREE& b) {
    if (&a == &b) return;
    using std::swap;
    swap(a.value, b.value);
    swap(a.children.first, b.children.first);
    swap(a.children.last, b.children.last);
    swap(a.children.count, b.children.count);
    a.AdoptChildren();
    b.AdoptChildren();
  }
};
