// The scalar and handle types of the window-system interface the framework is written against.
// Handles are opaque tokens that are never dereferenced by callers; a null handle means "none".
// Message parameters and results are pointer-sized, as hooks pass pointers through them.
#pragma once

#include <cstddef>
#include <cstdint>

// Calling-convention words: empty on x86-64 Linux, kept so declarations read as written.
#ifndef WINAPI
#define WINAPI
#endif
#ifndef CALLBACK
#define CALLBACK
#endif
// GL headers define APIENTRY the same way (empty here); whichever comes first stands.
#ifndef APIENTRY
#define APIENTRY
#endif

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef int16_t SHORT;
typedef unsigned int UINT;
typedef int INT;
typedef char CHAR;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef WORD ATOM;
typedef DWORD COLORREF;
typedef void* PVOID;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t UINT_PTR;

// Opaque handle types: each a pointer to its own incomplete struct, so they cannot be mixed up.
#define KV_DECLARE_HANDLE(name) \
  struct name##__;              \
  typedef name##__* name
KV_DECLARE_HANDLE(HWND);
KV_DECLARE_HANDLE(HINSTANCE);
KV_DECLARE_HANDLE(HICON);
KV_DECLARE_HANDLE(HCURSOR);
KV_DECLARE_HANDLE(HBRUSH);
KV_DECLARE_HANDLE(HMENU);
KV_DECLARE_HANDLE(HDC);
KV_DECLARE_HANDLE(HRSRC);
#undef KV_DECLARE_HANDLE
typedef HINSTANCE HMODULE;
typedef void* HGLOBAL;
typedef void* HANDLE;

// Word and resource-identifier helpers.
#define LOWORD(l) ((WORD)(((uintptr_t)(l)) & 0xFFFF))
#define HIWORD(l) ((WORD)((((uintptr_t)(l)) >> 16) & 0xFFFF))
#define MAKELONG(a, b) \
  ((LONG)(((WORD)(((uintptr_t)(a)) & 0xFFFF)) | ((DWORD)((WORD)(((uintptr_t)(b)) & 0xFFFF))) << 16))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define GET_WHEEL_DELTA_WPARAM(w) ((SHORT)HIWORD(w))
#define IS_INTRESOURCE(r) ((((uintptr_t)(r)) >> 16) == 0)
#define MAKEINTRESOURCEA(i) ((LPSTR)((uintptr_t)((WORD)(i))))
#define MAKEINTRESOURCE(i) MAKEINTRESOURCEA(i)
