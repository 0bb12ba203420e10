// The registry calls on the store. A key handle is an interned token for a folded key path,
// valid for the whole process, so keys the program never closes cost nothing; the predefined
// roots are their fixed numbers. Every change is written through to the file at once, and a
// change whose file cannot be written is undone and reported.
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <string>

#include "platform/registry/store.h"
#include "platform/winapi/registry.h"

namespace {

using platform::registry::Fold;
using platform::registry::Key;
using platform::registry::Keys;
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

Key* Find(Keys& keys, const std::string& path) {
  auto found = keys.find(Fold(path));
  return found == keys.end() ? nullptr : &found->second;
}

Value* FindValue(Key& key, const char* name) {
  std::string folded = Fold(name != nullptr ? name : "");
  for (Value& value : key.values)
    if (Fold(value.name) == folded) return &value;
  return nullptr;
}

// Applies a change and writes it through; a change that cannot be written is taken back.
template <typename Change>
LSTATUS Commit(Change change) {
  Keys& keys = platform::registry::Contents();
  Keys before = keys;
  change(keys);
  if (platform::registry::Save(keys)) return ERROR_SUCCESS;
  keys = std::move(before);
  return ERROR_WRITE_FAULT;
}

}  // namespace

LSTATUS WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM, PHKEY result) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  std::string base;
  if (!PathOf(key, &base)) return ERROR_INVALID_HANDLE;
  std::string path = Join(base, subKey != nullptr ? subKey : "");
  if (!Exists(platform::registry::Contents(), path)) return ERROR_FILE_NOT_FOUND;
  *result = IsRootPath(path) ? key : HandleFor(path);
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM, const void*,
                               PHKEY result, LPDWORD disposition) {
  if (result == nullptr || subKey == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  std::string base;
  if (!PathOf(key, &base)) return ERROR_INVALID_HANDLE;
  std::string path = Join(base, subKey);
  bool existed = Exists(platform::registry::Contents(), path);
  if (!existed) {
    // Every missing parent is made on the way down, each keeping the case it was written in.
    LSTATUS status = Commit([&](Keys& keys) {
      for (size_t slash = path.find('\\'); slash != std::string::npos;
           slash = path.find('\\', slash + 1)) {
        size_t end = path.find('\\', slash + 1);
        std::string prefix = path.substr(0, end);
        if (!Exists(keys, prefix)) keys[Fold(prefix)] = Key{prefix, {}};
      }
    });
    if (status != ERROR_SUCCESS) return status;
  }
  if (disposition != nullptr)
    *disposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
  *result = IsRootPath(path) ? key : HandleFor(path);
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegDeleteKeyA(HKEY key, LPCSTR subKey) {
  if (subKey == nullptr) return ERROR_INVALID_PARAMETER;
  std::string base;
  if (!PathOf(key, &base)) return ERROR_INVALID_HANDLE;
  std::string path = Join(base, subKey);
  if (IsRootPath(path)) return ERROR_ACCESS_DENIED;
  Keys& keys = platform::registry::Contents();
  std::string folded = Fold(path);
  if (keys.count(folded) == 0) return ERROR_FILE_NOT_FOUND;
  // A key with subkeys stays: only a leaf can be deleted.
  std::string childPrefix = folded + "\\";
  auto next = keys.lower_bound(childPrefix);
  if (next != keys.end() && next->first.compare(0, childPrefix.size(), childPrefix) == 0)
    return ERROR_ACCESS_DENIED;
  return Commit([&](Keys& k) { k.erase(folded); });
}

LSTATUS WINAPI RegSetValueExA(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE* data,
                              DWORD size) {
  if (data == nullptr && size != 0) return ERROR_INVALID_PARAMETER;
  std::string path;
  if (!PathOf(key, &path)) return ERROR_INVALID_HANDLE;
  if (IsRootPath(path)) return ERROR_ACCESS_DENIED;
  Keys& keys = platform::registry::Contents();
  if (Find(keys, path) == nullptr) return ERROR_FILE_NOT_FOUND;
  return Commit([&](Keys& k) {
    Key& target = *Find(k, path);
    Value* value = FindValue(target, valueName);
    if (value == nullptr) {
      target.values.push_back(Value{valueName != nullptr ? valueName : "", 0, {}});
      value = &target.values.back();
    }
    value->type = type;
    value->data.assign(data, data + size);
  });
}

LSTATUS WINAPI RegDeleteValueA(HKEY key, LPCSTR valueName) {
  std::string path;
  if (!PathOf(key, &path)) return ERROR_INVALID_HANDLE;
  Keys& keys = platform::registry::Contents();
  Key* target = IsRootPath(path) ? nullptr : Find(keys, path);
  if (target == nullptr || FindValue(*target, valueName) == nullptr) return ERROR_FILE_NOT_FOUND;
  return Commit([&](Keys& k) {
    Key& key = *Find(k, path);
    std::string folded = Fold(valueName != nullptr ? valueName : "");
    for (auto v = key.values.begin(); v != key.values.end(); ++v) {
      if (Fold(v->name) == folded) {
        key.values.erase(v);
        break;
      }
    }
  });
}

LSTATUS WINAPI RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD, LPDWORD type, LPBYTE data,
                                LPDWORD size) {
  if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
  std::string path;
  if (!PathOf(key, &path)) return ERROR_INVALID_HANDLE;
  Key* target = IsRootPath(path) ? nullptr : Find(platform::registry::Contents(), path);
  Value* value = target != nullptr ? FindValue(*target, valueName) : nullptr;
  if (value == nullptr) return ERROR_FILE_NOT_FOUND;
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
  std::string path;
  return PathOf(key, &path) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
