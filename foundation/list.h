// KV_LIST: the framework's doubly linked list, holding values by copy in heap nodes,
// and KV_LIST_ITERATOR, the by-value position into it that objects also keep as a
// handle. Iterators stay valid until their own node is erased or the list cleared;
// appending, swapping, sorting and adopting nodes into another list keep them valid.
// Header-only: every element type gets its own instance of the template.
#pragma once

#include "foundation/node_pool.h"

#include <cstddef>
#include <utility>
#include <vector>

// Cocktail sort over n positions, shared by the list and the dictionary: compareAt(i, j)
// compares the values at i and j (the earlier first), swapAt(i) exchanges the values
// at i and i + 1. A forward pass exchanges neighbours whose comparison is negative, a
// backward pass compares (later, earlier) and exchanges when positive; sweeps repeat
// until one exchanges nothing. The result is non-increasing and stable.
template <class COMPARE_AT, class SWAP_AT>
void KvCocktailSort(size_t n, COMPARE_AT compareAt, SWAP_AT swapAt) {
  if (n < 2) return;
  bool exchanged = true;
  while (exchanged) {
    exchanged = false;
    for (size_t i = 0; i + 1 < n; ++i) {
      if (compareAt(i, i + 1) < 0) {
        swapAt(i);
        exchanged = true;
      }
    }
    for (size_t i = n - 1; i > 0; --i) {
      if (compareAt(i, i - 1) > 0) {
        swapAt(i - 1);
        exchanged = true;
      }
    }
  }
}

template <class T>
struct KV_LIST;

// One node per element, its storage drawn from the pool for nodes of its size.
template <class T>
struct KV_LIST_NODE {
  T value;
  unsigned char endFlag;  // 0 once linked into a list, 1 for a node on its own
  KV_LIST_NODE* prev;
  KV_LIST_NODE* next;
  KV_LIST<T>* owner;  // the list the node is linked into

  explicit KV_LIST_NODE(const T& v)
      : value(v), endFlag(1), prev(nullptr), next(nullptr), owner(nullptr) {}
  // A node holding a default-constructed value.
  KV_LIST_NODE() : value(), endFlag(1), prev(nullptr), next(nullptr), owner(nullptr) {}

  // Node storage comes from and goes back to the pool of this node size.
  static void* operator new(size_t) {
    return KV_NODE_POOL<sizeof(KV_LIST_NODE), alignof(KV_LIST_NODE)>::Take();
  }
  static void operator delete(void* p) {
    KV_NODE_POOL<sizeof(KV_LIST_NODE), alignof(KV_LIST_NODE)>::Give(p);
  }
};

// A position in a list: {end flag, reserved, node}. {1, null} is the end; a set end
// flag or a null node both count as the end.
template <class T>
struct KV_LIST_ITERATOR {
  unsigned char endFlag;
  unsigned char reserved;
  KV_LIST_NODE<T>* node;

  // The end iterator.
  KV_LIST_ITERATOR() : endFlag(1), reserved(0), node(nullptr) {}
  KV_LIST_ITERATOR(unsigned char end, KV_LIST_NODE<T>* n) : endFlag(end), reserved(0), node(n) {}

  // Back to the end iterator.
  void Reset() {
    endFlag = 1;
    reserved = 0;
    node = nullptr;
  }
  // True when there is no element here.
  bool IsEnd() const { return endFlag != 0 || node == nullptr; }
  // Pointer to the value; null at the end.
  T* Get() const { return IsEnd() ? nullptr : &node->value; }
  T* Value() const { return Get(); }
  T* operator->() const { return Get(); }

  // Steps to the next node; past the last one it becomes the end iterator, and an
  // end iterator stays at the end.
  void Next() {
    if (node == nullptr) return;
    if (node->next != nullptr)
      *this = KV_LIST_ITERATOR(node->next->endFlag, node->next);
    else
      Reset();
  }
  // Steps to the previous node, as Next does.
  void Prev() {
    if (node == nullptr) return;
    if (node->prev != nullptr)
      *this = KV_LIST_ITERATOR(node->prev->endFlag, node->prev);
    else
      Reset();
  }
  // A copy of this iterator, taken before it steps forward.
  KV_LIST_ITERATOR PostNext() {
    KV_LIST_ITERATOR before = *this;
    Next();
    return before;
  }

  // Equal when they designate the same value; all end iterators are equal.
  bool operator==(const KV_LIST_ITERATOR& other) const { return Get() == other.Get(); }
  bool operator!=(const KV_LIST_ITERATOR& other) const { return Get() != other.Get(); }

  // Typed accessors: a copy of the stored value, or the type's empty value at the end
  // (0 for bytes, null for pointers, the null handle, the end iterator).
  T Byte() const requires(sizeof(T) == 1) { return IsEnd() ? T() : node->value; }
  T operator*() const { return IsEnd() ? T() : node->value; }
  T Handle() const { return IsEnd() ? T() : node->value; }
  T GetCopy() const { return IsEnd() ? T() : node->value; }
};

template <class T>
struct KV_LIST {
  typedef KV_LIST_NODE<T> NODE;
  typedef KV_LIST_ITERATOR<T> ITERATOR;
  // Ordering: pointers to two values, the earlier first; the sort leaves the values
  // in non-increasing order of it.
  typedef int (*COMPARE)(const T* a, const T* b);

  NODE* first;
  NODE* last;
  unsigned int count;
  unsigned char shared;  // when set, the destructor leaves the nodes alone

  KV_LIST() : first(nullptr), last(nullptr), count(0), shared(0) {}
  // Copies the elements into new nodes; two lists never share nodes.
  KV_LIST(const KV_LIST& other) : KV_LIST() { Append(other); }
  KV_LIST& operator=(const KV_LIST& other) {
    if (this != &other) {
      Clear();
      Append(other);
    }
    return *this;
  }
  ~KV_LIST() {
    if (!shared) Clear();
  }

  // Number of elements.
  unsigned int Count() const { return count; }
  // Iterator on the first / last element; the end iterator when empty.
  ITERATOR Begin() const { return first ? ITERATOR(first->endFlag, first) : ITERATOR(); }
  ITERATOR Last() const { return last ? ITERATOR(last->endFlag, last) : ITERATOR(); }

  // Appends a copy of value; returns the iterator on it.
  ITERATOR PushBack(const T& value) {
    NODE* node = new NODE(value);
    node->endFlag = 0;
    Link(node);
    return ITERATOR(0, node);
  }

  // Appends a default-constructed value, built in its node rather than copied there;
  // returns the iterator on it.
  ITERATOR PushBackNew() {
    NODE* node = new NODE();
    node->endFlag = 0;
    Link(node);
    return ITERATOR(0, node);
  }

  // Unlinks and destroys the node at it; an end iterator or a node of another list is
  // ignored. The caller's iterator no longer designates an element.
  void Erase(ITERATOR it) {
    if (count == 0 || it.IsEnd() || it.node->owner != this) return;
    Unlink(it.node);
    delete it.node;
  }

  // Destroys every node.
  void Clear() {
    NODE* node = first;
    while (node != nullptr) {
      NODE* next = node->next;
      delete node;
      node = next;
    }
    first = last = nullptr;
    count = 0;
  }

  // Exchanges the values of two nodes (the nodes stay in place); false when either
  // iterator is at the end.
  bool Swap(ITERATOR a, ITERATOR b) {
    if (a.IsEnd() || b.IsEnd()) return false;
    using std::swap;
    swap(a.node->value, b.node->value);
    return true;
  }

  // Moves the node at it, with its value, from its list to the tail of this one;
  // false at the end or when the node is already in this list.
  bool Adopt(ITERATOR it) {
    if (it.IsEnd() || it.node->owner == this) return false;
    if (it.node->owner != nullptr) it.node->owner->Unlink(it.node);
    Link(it.node);
    return true;
  }

  // Cocktail sort of the values by compare (null: nothing); equal values keep their
  // order and the nodes stay where they are.
  void Sort(COMPARE compare) {
    if (compare == nullptr || count < 2) return;
    std::vector<NODE*> nodes;
    nodes.reserve(count);
    for (NODE* node = first; node != nullptr; node = node->next) nodes.push_back(node);
    KvCocktailSort(
        nodes.size(),
        [&](size_t i, size_t j) { return compare(&nodes[i]->value, &nodes[j]->value); },
        [&](size_t i) {
          using std::swap;
          swap(nodes[i]->value, nodes[i + 1]->value);
        });
  }

 private:
  void Append(const KV_LIST& other) {
    for (NODE* node = other.first; node != nullptr; node = node->next) PushBack(node->value);
  }

  void Link(NODE* node) {
    node->owner = this;
    node->next = nullptr;
    node->prev = last;
    if (last != nullptr)
      last->next = node;
    else
      first = node;
    last = node;
    ++count;
  }

  void Unlink(NODE* node) {
    if (node->prev != nullptr)
      node->prev->next = node->next;
    else
      first = node->next;
    if (node->next != nullptr)
      node->next->prev = node->prev;
    else
      last = node->prev;
    node->prev = node->next = nullptr;
    --count;
  }
};
