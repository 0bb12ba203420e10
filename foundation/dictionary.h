// KV_DICTIONARY: the framework's keyed collection, where every named resource lives.
// Two lists side by side, KV_KEY {name, id} and the values, the i-th key belonging to
// the i-th value; lookups walk both together. The usual lookup is find-or-add. The
// dictionary owns its values; its iterators are iterators on the value list.
// Header-only, like the list it is built on.
#pragma once

#include "foundation/list.h"

#include <cstring>
#include <vector>

// A dictionary key: a name of at most 123 characters and a 32-bit id.
struct KV_KEY {
  char name[124];
  unsigned int id;

  KV_KEY() : name{}, id(0) {}
};

static_assert(sizeof(KV_KEY) == 128, "KV_KEY is a 124-byte name and a 32-bit id");

// Longest name a key can hold; longer names are refused by every lookup.
constexpr unsigned int KV_KEY_NAME_MAX = 123;

template <class T>
struct KV_DICTIONARY {
  typedef KV_LIST_ITERATOR<T> ITERATOR;
  typedef typename KV_LIST<T>::COMPARE COMPARE;

  // Find modes.
  enum { FIND = 1, FIND_OR_ADD = 2, FIND_AND_ERASE = 3, FIND_NAME = 4 };

  KV_LIST<KV_KEY> keys;
  KV_LIST<T> values;
  unsigned int nextId;
  unsigned char shared;  // when set, the destructor leaves the entries alone

  KV_DICTIONARY() : nextId(0), shared(0) {}
  ~KV_DICTIONARY() {
    if (shared) {
      keys.shared = 1;
      values.shared = 1;
    } else {
      Clear();
    }
  }

  // Removes every entry.
  void Clear() {
    keys.Clear();
    values.Clear();
  }

  // Mode 1 finds (name, id); 2 finds or adds a default value; 3 finds and erases
  // (always returns the end iterator); 4 finds the first entry of that name, any id.
  // A null name, a name of 124 or more characters or another mode gives the end iterator.
  ITERATOR Find(int mode, const char* name, unsigned int id = 0) {
    if (name == nullptr || strnlen(name, KV_KEY_NAME_MAX + 1) > KV_KEY_NAME_MAX) return ITERATOR();
    if (mode < FIND || mode > FIND_NAME) return ITERATOR();
    KV_LIST_ITERATOR<KV_KEY> k = keys.Begin();
    ITERATOR v = values.Begin();
    for (; !k.IsEnd() && !v.IsEnd(); k.Next(), v.Next()) {
      if (strcmp(k->name, name) != 0) continue;
      if (mode != FIND_NAME && k->id != id) continue;
      if (mode == FIND_AND_ERASE) {
        keys.Erase(k);
        values.Erase(v);
        return ITERATOR();
      }
      return v;
    }
    if (mode != FIND_OR_ADD) return ITERATOR();
    KV_KEY key;
    memcpy(key.name, name, strlen(name) + 1);
    key.id = id;
    if (keys.PushBack(key).IsEnd()) return ITERATOR();
    return values.PushBack(T());
  }

  // Find or add: Find (2, name, id).
  ITERATOR Get(const char* name, unsigned int id = 0) { return Find(FIND_OR_ADD, name, id); }
  // Find or add, as a pointer to the value; null for a refused name.
  T* GetValue(const char* name, unsigned int id = 0) { return Get(name, id).Get(); }
  // Iterator on the first value.
  ITERATOR Begin() const { return values.Begin(); }

  // Number of keys with this name, whatever their id; with null, the number of values.
  unsigned int CountName(const char* name) const {
    if (name == nullptr) return values.Count();
    unsigned int n = 0;
    KV_LIST_ITERATOR<KV_KEY> k = keys.Begin();
    for (ITERATOR v = values.Begin(); !k.IsEnd() && !v.IsEnd(); k.Next(), v.Next())
      if (strcmp(k->name, name) == 0) ++n;
    return n;
  }

  // Erases the first entry whose value equals value; false when there is none.
  bool RemoveValue(const T& value) {
    return RemoveWhere([&](const T& v) { return v == value; });
  }
  // The same, comparing the value's bytes with those at value; false for null.
  bool RemoveValue(const T* value) {
    if (value == nullptr) return false;
    return RemoveWhere([&](const T& v) { return memcmp(&v, value, sizeof(T)) == 0; });
  }

  // Moves every entry, first to last, to the end of other; nodes move, so iterators
  // on the values stay valid and now belong to other. nextId stays.
  void MoveTo(KV_DICTIONARY& other) {
    if (&other == this) return;
    while (keys.first != nullptr && values.first != nullptr) {
      other.keys.Adopt(keys.Begin());
      other.values.Adopt(values.Begin());
    }
  }

  // Returns the next id and counts on; after 0xFFFFFFFE the ids start again at 0.
  unsigned int NextId() {
    if (nextId == 0xFFFFFFFFu) nextId = 0;
    return nextId++;
  }

  // Cocktail sort of the values by compare, each key moving with its value; equal
  // values keep their order. Null compare: nothing.
  void Sort(COMPARE compare) {
    if (compare == nullptr || keys.Count() != values.Count()) return;
    std::vector<KV_LIST_NODE<T>*> valueNodes;
    std::vector<KV_LIST_NODE<KV_KEY>*> keyNodes;
    KV_LIST_NODE<KV_KEY>* k = keys.first;
    for (KV_LIST_NODE<T>* v = values.first; v != nullptr && k != nullptr;
         v = v->next, k = k->next) {
      valueNodes.push_back(v);
      keyNodes.push_back(k);
    }
    KvCocktailSort(
        valueNodes.size(),
        [&](size_t i, size_t j) { return compare(&valueNodes[i]->value, &valueNodes[j]->value); },
        [&](size_t i) {
          using std::swap;
          swap(valueNodes[i]->value, valueNodes[i + 1]->value);
          swap(keyNodes[i]->value, keyNodes[i + 1]->value);
        });
  }

 private:
  template <class MATCH>
  bool RemoveWhere(MATCH match) {
    KV_LIST_ITERATOR<KV_KEY> k = keys.Begin();
    for (ITERATOR v = values.Begin(); !k.IsEnd() && !v.IsEnd(); k.Next(), v.Next()) {
      if (match(*v.Get())) {
        keys.Erase(k);
        values.Erase(v);
        return true;
      }
    }
    return false;
  }
};
