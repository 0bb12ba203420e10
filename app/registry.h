// KV_REGISTRY: thin operations on the system registry (opening, deleting, writing and reading
// keys and values) and the registration of a file type: an extension tied to a type name, an
// icon and the command that opens such files. It holds nothing; every operation works only on
// its arguments. Keys it opens are handed to the caller and stay open.
#pragma once

#include "platform/winapi/registry.h"

class KV_REGISTRY {
 public:
  // OpenKey modes: open an existing key only, or create the key (opening it when it exists).
  enum { OPEN_EXISTING = 10, CREATE = 2 };

  // The key subKey below root, opened (mode 10) or created (mode 2); 0 on failure or for any
  // other mode, which touches no key.
  HKEY OpenKey(HKEY root, const char* subKey, int mode);
  // Deletes the key subKey below root (it must have no subkeys); false on failure.
  bool DeleteKey(HKEY root, const char* subKey);
  // Writes size bytes of data as the value name of type type; false on failure.
  bool SetValue(HKEY key, const char* name, DWORD type, const void* data, DWORD size);
  // Deletes the value name; false when it is missing or cannot be deleted.
  bool DeleteValue(HKEY key, const char* name);
  // Reads the value name: its type, its bytes into data (size in: room, out: bytes); false on
  // failure (missing value, too small a buffer).
  bool QueryValue(HKEY key, const char* name, DWORD* type, void* data, DWORD* size);
  // True when the key has a value of that name.
  bool ValueExists(HKEY key, const char* name);
  // Ties the extension to typeName, with its icon and open command, under the classes root:
  // three keys, each with a default text value. Stops at the first failure and returns false,
  // leaving what was written before.
  bool RegisterFileType(const char* typeName, const char* extension, const char* command,
                        const char* icon);
};
