// The engine's object tables: one per kind of object, each mapping handle ids to the objects it
// owns. Ids come from one counter shared by every table, so an id names at most one object of any
// kind and is never given out again while the process runs.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <utility>

#include "engine/kv_engine.h"

namespace kv::engine {

// The next unused object id (never 0).
uint32_t NextObjectId();

// A handle naming the object with this id.
inline KV_HANDLE MakeHandle(uint32_t id) {
  KV_HANDLE handle;
  handle.endFlag = 0;
  handle.value = id;
  return handle;
}

template <typename T>
class ObjectTable {
 public:
  // Takes ownership of object and returns its new handle.
  KV_HANDLE Add(std::unique_ptr<T> object) {
    uint32_t id = NextObjectId();
    objects_.emplace(id, std::move(object));
    return MakeHandle(id);
  }
  // The object the handle names, or null for a null, unknown or destroyed handle.
  T* Find(KV_HANDLE handle) const {
    if (handle.IsNull()) return nullptr;
    auto it = objects_.find(handle.value);
    return it == objects_.end() ? nullptr : it->second.get();
  }
  // Takes the object out of the table (null when unknown); the caller releases it.
  std::unique_ptr<T> Remove(KV_HANDLE handle) {
    if (handle.IsNull()) return nullptr;
    auto it = objects_.find(handle.value);
    if (it == objects_.end()) return nullptr;
    std::unique_ptr<T> object = std::move(it->second);
    objects_.erase(it);
    return object;
  }
  // Calls f(id, object) for every object.
  template <typename F>
  void ForEach(F&& f) const {
    for (const auto& [id, object] : objects_) f(id, *object);
  }
  size_t Count() const { return objects_.size(); }
  // Destroys every object.
  void Clear() { objects_.clear(); }

 private:
  std::unordered_map<uint32_t, std::unique_ptr<T>> objects_;
};

}  // namespace kv::engine
