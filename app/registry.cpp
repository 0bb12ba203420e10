// KV_REGISTRY on the registry calls. A result is true exactly when the call reports success.
#include "app/registry.h"

#include <cstring>

#include "foundation/string.h"

namespace {

// Writes text, with its terminating zero, as the key's default value.
bool SetDefaultText(KV_REGISTRY& registry, HKEY key, const char* text) {
  return registry.SetValue(key, "", REG_SZ, text, (DWORD)std::strlen(text) + 1);
}

}  // namespace

HKEY KV_REGISTRY::OpenKey(HKEY root, const char* subKey, int mode) {
  HKEY key = 0;
  if (mode == OPEN_EXISTING) {
    if (RegOpenKeyExA(root, subKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return 0;
    return key;
  }
  if (mode == CREATE) {
    if (RegCreateKeyExA(root, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
      return 0;
    return key;
  }
  return 0;
}

bool KV_REGISTRY::DeleteKey(HKEY root, const char* subKey) {
  return RegDeleteKeyA(root, subKey) == ERROR_SUCCESS;
}

bool KV_REGISTRY::SetValue(HKEY key, const char* name, DWORD type, const void* data, DWORD size) {
  return RegSetValueExA(key, name, 0, type, (const BYTE*)data, size) == ERROR_SUCCESS;
}

bool KV_REGISTRY::DeleteValue(HKEY key, const char* name) {
  return RegDeleteValueA(key, name) == ERROR_SUCCESS;
}

bool KV_REGISTRY::QueryValue(HKEY key, const char* name, DWORD* type, void* data, DWORD* size) {
  return RegQueryValueExA(key, name, nullptr, type, (BYTE*)data, size) == ERROR_SUCCESS;
}

bool KV_REGISTRY::ValueExists(HKEY key, const char* name) {
  return RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool KV_REGISTRY::RegisterFileType(const char* typeName, const char* extension, const char* command,
                                   const char* icon) {
  // Missing texts cannot be written as values; nothing is touched for them.
  if (typeName == nullptr || extension == nullptr || command == nullptr || icon == nullptr)
    return false;
  HKEY key = OpenKey(HKEY_CLASSES_ROOT, extension, CREATE);
  if (key == 0 || !SetDefaultText(*this, key, typeName)) return false;
  KV_STRING path;
  path.Format("%s\\DefaultIcon", typeName);
  key = OpenKey(HKEY_CLASSES_ROOT, path, CREATE);
  if (key == 0 || !SetDefaultText(*this, key, icon)) return false;
  path.Format("%s\\shell\\open\\command", typeName);
  key = OpenKey(HKEY_CLASSES_ROOT, path, CREATE);
  if (key == 0 || !SetDefaultText(*this, key, command)) return false;
  return true;
}
