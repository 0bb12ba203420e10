// KV_SHARED: a reference-counted pointer. Every pointer that shares an object shares
// one heap counter holding the number of them; the last one to let go frees the
// counter and destroys the object, unless its keepAlive flag is set, in which case the
// object is left to whoever else knows it. The count is a plain number: one thread.
#pragma once

template <class T>
struct KV_SHARED {
  unsigned char empty;      // 1 while this pointer has never held an object
  unsigned int* counter;    // the shared count; null when this pointer holds nothing
  T* object;                // the shared object
  unsigned char keepAlive;  // when set, the last release leaves the object alive

  // Holds a new default-constructed object (count 1).
  KV_SHARED() : KV_SHARED(nullptr, 0) { Reset(new T()); }
  // Takes ownership of p (see Reset).
  explicit KV_SHARED(T* p) : KV_SHARED(nullptr, 0) { Reset(p); }
  // Shares the other pointer's object.
  KV_SHARED(const KV_SHARED& other) : KV_SHARED(nullptr, 0) { Assign(other); }
  KV_SHARED& operator=(const KV_SHARED& other) {
    Assign(other);
    return *this;
  }
  // Drops this pointer's share.
  ~KV_SHARED() { Release(); }

  // The object; null when this pointer holds nothing.
  T* Get() const { return Holds() ? object : nullptr; }
  T* operator->() const { return Get(); }

  // Takes ownership of an object made elsewhere (count 1); false, changing nothing,
  // when p is the object already held.
  bool Reset(T* p) {
    if (Holds()) {
      if (p == object) return false;
      Release();
    }
    Hold(p);
    return true;
  }

  // Drops what is held and holds a new object copied from v by assignment.
  bool Clone(const T& v) {
    // The copy is made before the release, because v may be the held object itself.
    T* copy = new T();
    *copy = v;
    Release();
    Hold(copy);
    return true;
  }

  // Shares the other pointer's object; false, changing nothing, when it is the object
  // already held. When the other holds nothing, this pointer ends up holding nothing.
  bool Assign(const KV_SHARED& other) {
    if (Holds()) {
      if (other.Holds() && other.object == object) return false;
      Release();
    }
    if (!other.Holds()) return true;
    counter = other.counter;
    object = other.object;
    ++*counter;
    empty = 0;
    return true;
  }

  // Drops this pointer's share: the last share frees the counter and, unless
  // keepAlive is set, destroys the object. This pointer holds nothing afterwards.
  void Release() {
    if (!Holds()) return;
    // A pointer that has let go holds nothing at all, so a second Release (an explicit
    // one followed by the destructor) cannot take another pointer's share.
    if (--*counter == 0) {
      delete counter;
      // A kept-alive object stays reachable through object after the last release.
      if (!keepAlive) {
        delete object;
        object = nullptr;
      }
    } else {
      object = nullptr;
    }
    counter = nullptr;
  }

 private:
  // True when this pointer holds an object.
  bool Holds() const { return empty == 0 && counter != nullptr; }

  KV_SHARED(T* p, int) : empty(1), counter(nullptr), object(p), keepAlive(0) {}

  void Hold(T* p) {
    counter = new unsigned int(1);
    object = p;
    empty = 0;
  }
};
