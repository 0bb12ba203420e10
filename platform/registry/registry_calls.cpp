// The registry calls on the store. A key handle is an interned token for a folded key path,
// valid for the whole process, so keys the program never closes cost nothing; the predefined
// roots are their fixed numbers. Once the key is deleted, here or by another program, its
// handle reaches nothing until a key of that path is made again: calls through it fail and
// never bring the key back. Every call works on the registry file as it is at that moment: a
// change is made under the store's lock and written through at once, and a change whose file
// cannot be written leaves nothing changed and is reported.
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/registry/store.h"
#include "platform/winapi/registry.h"

namespace {

using platform::registry::Contents;
using platform::registry::Fold;
using platform::registry::Key;
using platform::registry::Keys;
using platform::registry::Update;
using platform::registry::Value;

struct Token {
  std::string path;  // "<root hex>\A\B" as opened
};

// The handles given out so far, by folded path; they live as long as the process.
struct Handles {
  std::deque<Token> tokens;
  std::map<std::string, Token*> byPath;
};

Handles& TheHandles() {
  static Handles handles;
  return handles;
}

bool IsRoot(HKEY key) {
  uintptr_t v = reinterpret_cast<uintptr_t>(key);
  return v == 0x80000000u || v == 0x80000001u || v == 0x80000002u || v == 0x80000003u ||
         v == 0x80000005u;
}

std::string RootPath(HKEY key) {
  char text[24];
  std::snprintf(text, sizeof text, "%lx",
                static_cast<unsigned long>(reinterpret_cast<uintptr_t>(key)));
  return text;
}

// The path a handle stands for; false for a null or unknown handle.
bool PathOf(HKEY key, std::string* path) {
  if (key == nullptr) return false;
  if (IsRoot(key)) {
    *path = RootPath(key);
    return true;
  }
  for (const Token& token : TheHandles().tokens) {
    if (reinterpret_cast<HKEY>(const_cast<Token*>(&token)) == key) {
      *path = token.path;
      return true;
    }
  }
  return false;
}

HKEY HandleFor(const std::string& path) {
  Handles& handles = TheHandles();
  std::string folded = Fold(path);
  auto found = handles.byPath.find(folded);
  if (found != handles.byPath.end()) return reinterpret_cast<HKEY>(found->second);
  handles.tokens.push_back(Token{path});
  handles.byPath[folded] = &handles.tokens.back();
  return reinterpret_cast<HKEY>(&handles.tokens.back());
}

// base joined with the subkey's parts; "\" separates them and empty parts are skipped.
std::string Join(const std::string& base, const char* subKey) {
  std::string path = base, part;
  for (const char* p = subKey;; ++p) {
    if (*p == '\\' || *p == '\0') {
      if (!part.empty()) path += "\\" + part;
      part.clear();
      if (*p == '\0') break;
    } else {
      part += *p;
    }
  }
  return path;
}

bool IsRootPath(const std::string& path) { return path.find('\\') == std::string::npos; }

bool Exists(const Keys& keys, const std::string& path) {
  return IsRootPath(path) || keys.count(Fold(path)) != 0;
}

const Key* Find(const Keys& keys, const std::string& path) {
  auto found = keys.find(Fold(path));
  return found == keys.end() ? nullptr : &found->second;
}

Key* Find(Keys& keys, const std::string& path) {
  auto found = keys.find(Fold(path));
  return found == keys.end() ? nullptr : &found->second;
}

// The position of the value in the key's list; the list's end when it is missing.
template <typename KeyType>
auto FindValue(KeyType& key, const char* name) -> decltype(key.values.begin()) {
  std::string folded = Fold(name != nullptr ? name : "");
  for (auto value = key.values.begin(); value != key.values.end(); ++value)
    if (Fold(value->name) == folded) return value;
  return key.values.end();
}

bool HasSubkeys(const Keys& keys, const std::string& folded) {
  std::string childPrefix = folded + "\\";
  auto next = keys.lower_bound(childPrefix);
  return next != keys.end() && next->first.compare(0, childPrefix.size(), childPrefix) == 0;
}

// Makes the key and every missing parent on the way down, each keeping the case it was
// written in.
void MakeKey(Keys& keys, const std::string& path) {
  for (size_t slash = path.find('\\'); slash != std::string::npos;
       slash = path.find('\\', slash + 1)) {
    std::string prefix = path.substr(0, path.find('\\', slash + 1));
    if (!Exists(keys, prefix)) keys[Fold(prefix)] = Key{prefix, {}};
  }
}

// The calls of the process's threads take turns: the contents, their file and the handles
// are shared. Other processes are kept apart by the store's file lock.
std::mutex& CallLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

LSTATUS WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM, PHKEY result) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  std::lock_guard<std::mutex> guard(CallLock());
  std::string base;
  if (!PathOf(key, &base)) return ERROR_INVALID_HANDLE;
  std::string path = Join(base, subKey != nullptr ? subKey : "");
  if (!Exists(Contents(), path)) return ERROR_FILE_NOT_FOUND;
  *result = IsRootPath(path) ? key : HandleFor(path);
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM, const void*,
                               PHKEY result, LPDWORD disposition) {
  if (result == nullptr || subKey == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  std::lock_guard<std::mutex> guard(CallLock());
  std::string base;
  if (!PathOf(key, &base)) return ERROR_INVALID_HANDLE;
  std::string path = Join(base, subKey);
  bool existed = false;
  LSTATUS status = Update([&](Keys& keys) {
    if (!Exists(keys, base)) return ERROR_FILE_NOT_FOUND;
    existed = Exists(keys, path);
    MakeKey(keys, path);
    return ERROR_SUCCESS;
  });
  if (status != ERROR_SUCCESS) return status;
  if (disposition != nullptr)
    *disposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
  *result = IsRootPath(path) ? key : HandleFor(path);
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegDeleteKeyA(HKEY key, LPCSTR subKey) {
  if (subKey == nullptr) return ERROR_INVALID_PARAMETER;
  std::lock_guard<std::mutex> guard(CallLock());
  std::string base;
  if (!PathOf(key, &base)) return ERROR_INVALID_HANDLE;
  std::string path = Join(base, subKey);
  if (IsRootPath(path)) return ERROR_ACCESS_DENIED;
  std::string folded = Fold(path);
  return Update([&](Keys& keys) {
    if (keys.count(folded) == 0) return ERROR_FILE_NOT_FOUND;
    // A key with subkeys stays: only a leaf can be deleted.
    if (HasSubkeys(keys, folded)) return ERROR_ACCESS_DENIED;
    keys.erase(folded);
    return ERROR_SUCCESS;
  });
}

LSTATUS WINAPI RegSetValueExA(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE* data,
                              DWORD size) {
  if (data == nullptr && size != 0) return ERROR_INVALID_PARAMETER;
  std::lock_guard<std::mutex> guard(CallLock());
  std::string path;
  if (!PathOf(key, &path)) return ERROR_INVALID_HANDLE;
  if (IsRootPath(path)) return ERROR_ACCESS_DENIED;
  return Update([&](Keys& keys) {
    Key* target = Find(keys, path);
    if (target == nullptr) return ERROR_FILE_NOT_FOUND;
    auto found = FindValue(*target, valueName);
    // An existing value keeps its place and the case its name was first written in.
    if (found == target->values.end()) {
      target->values.push_back(Value{valueName != nullptr ? valueName : "", 0, {}});
      found = target->values.end() - 1;
    }
    found->type = type;
    found->data.assign(data, data + size);
    return ERROR_SUCCESS;
  });
}

LSTATUS WINAPI RegDeleteValueA(HKEY key, LPCSTR valueName) {
  std::lock_guard<std::mutex> guard(CallLock());
  std::string path;
  if (!PathOf(key, &path)) return ERROR_INVALID_HANDLE;
  if (IsRootPath(path)) return ERROR_FILE_NOT_FOUND;
  return Update([&](Keys& keys) {
    Key* target = Find(keys, path);
    if (target == nullptr) return ERROR_FILE_NOT_FOUND;
    auto found = FindValue(*target, valueName);
    if (found == target->values.end()) return ERROR_FILE_NOT_FOUND;
    target->values.erase(found);
    return ERROR_SUCCESS;
  });
}

LSTATUS WINAPI RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD, LPDWORD type, LPBYTE data,
                                LPDWORD size) {
  if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
  std::lock_guard<std::mutex> guard(CallLock());
  std::string path;
  if (!PathOf(key, &path)) return ERROR_INVALID_HANDLE;
  const Key* target = IsRootPath(path) ? nullptr : Find(Contents(), path);
  if (target == nullptr) return ERROR_FILE_NOT_FOUND;
  auto value = FindValue(*target, valueName);
  if (value == target->values.end()) return ERROR_FILE_NOT_FOUND;
  if (type != nullptr) *type = value->type;
  DWORD needed = static_cast<DWORD>(value->data.size());
  if (data != nullptr && *size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  if (data != nullptr && needed > 0) std::memcpy(data, value->data.data(), needed);
  if (size != nullptr) *size = needed;
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegCloseKey(HKEY key) {
  std::lock_guard<std::mutex> guard(CallLock());
  std::string path;
  return PathOf(key, &path) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
