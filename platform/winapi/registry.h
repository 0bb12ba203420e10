// The registry calls of the window-system interface: key handles under the predefined roots,
// access masks, value types, results, and the calls that open, create, delete, write and read
// keys and values. platform/registry serves them on a text file of the user's configuration.
#pragma once

#include "platform/winapi/types.h"

struct HKEY__;
typedef HKEY__* HKEY;
typedef HKEY* PHKEY;
typedef DWORD REGSAM;
typedef LONG LSTATUS;
typedef DWORD* LPDWORD;
typedef BYTE* LPBYTE;
typedef const BYTE* LPCBYTE;

// The predefined roots: fixed handle values that are always open.
#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)0x80000000u)
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)0x80000001u)
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)0x80000002u)
#define HKEY_USERS ((HKEY)(ULONG_PTR)0x80000003u)
#define HKEY_CURRENT_CONFIG ((HKEY)(ULONG_PTR)0x80000005u)

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F

#define REG_OPTION_NON_VOLATILE 0x00000000
#define REG_CREATED_NEW_KEY 0x00000001
#define REG_OPENED_EXISTING_KEY 0x00000002

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7
#define REG_QWORD 11

// Results of the registry and file calls.
#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_WRITE_FAULT 29L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_MORE_DATA 234L
#define ERROR_NO_MORE_FILES 18L

// Opens an existing key below key (null or "" subkey: the key itself); ERROR_FILE_NOT_FOUND
// for a missing key, which is not created. *result is null on failure.
LSTATUS WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);
// Opens the key, creating it and any missing parent first; disposition (when given) tells which.
// ERROR_FILE_NOT_FOUND, creating nothing, when key is a handle of a key deleted since.
LSTATUS WINAPI RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass,
                               DWORD options, REGSAM access, const void* securityAttributes,
                               PHKEY result, LPDWORD disposition);
// Deletes a key that has no subkeys; ERROR_ACCESS_DENIED when it has, ERROR_FILE_NOT_FOUND when
// it is missing.
LSTATUS WINAPI RegDeleteKeyA(HKEY key, LPCSTR subKey);
// Writes a value (null or "" name: the key's default value) as type and size bytes of data.
LSTATUS WINAPI RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type,
                              const BYTE* data, DWORD size);
// Deletes a value; ERROR_FILE_NOT_FOUND when it is missing.
LSTATUS WINAPI RegDeleteValueA(HKEY key, LPCSTR valueName);
// Reads a value: type and size when asked; data null gives the size needed; a buffer too
// small gives ERROR_MORE_DATA with the size needed; a missing value ERROR_FILE_NOT_FOUND.
LSTATUS WINAPI RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type,
                                LPBYTE data, LPDWORD size);
// Key handles are process-lifetime tokens here: closing one succeeds and changes nothing.
LSTATUS WINAPI RegCloseKey(HKEY key);
