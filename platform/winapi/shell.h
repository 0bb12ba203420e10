// The desktop services of the window-system interface: message boxes, opening a document
// through the shell, the open and save dialogs, the folder picker with its item lists and
// allocator, and the directory search. platform/shell serves them on SDL2, xdg-open, zenity and
// POSIX directories; without those tools each call gives its failure result.
#pragma once

#include "platform/winapi/types.h"

// ---- Message boxes --------------------------------------------------------------------------
#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_ICONHAND 0x00000010L
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONMASK 0x000000F0L

#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

// Shows a modal message box; the button chosen (IDOK ...), 0 when no box can be shown.
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// ---- Shell open -----------------------------------------------------------------------------
// Results of ShellExecuteA at or below 32 are errors.
#define SE_ERR_FNF 2
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_NOASSOC 31

// Opens a document with its desktop application (verb "open", or null), or starts a program
// with parameters. A value above 32 on success; SE_ERR_FNF for a missing file, SE_ERR_NOASSOC
// when nothing can open it (no opener installed, or another verb).
HINSTANCE WINAPI ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                               LPCSTR directory, INT showCommand);

// ---- Open and save dialogs ------------------------------------------------------------------
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_ALLOWMULTISELECT 0x00000200
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_EXPLORER 0x00080000
#define OFN_EX_NOPLACESBAR 0x00000001

// The dialog record, with native pointers; lStructSize holds sizeof(OPENFILENAMEA).
struct OPENFILENAMEA {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCSTR lpstrFilter;  // "desc\0pattern\0...\0\0"
  LPSTR lpstrCustomFilter;
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;
  LPSTR lpstrFile;  // receives the chosen path
  DWORD nMaxFile;   // its size in characters
  LPSTR lpstrFileTitle;
  DWORD nMaxFileTitle;
  LPCSTR lpstrInitialDir;
  LPCSTR lpstrTitle;
  DWORD Flags;
  WORD nFileOffset;
  WORD nFileExtension;
  LPCSTR lpstrDefExt;
  LPARAM lCustData;
  void* lpfnHook;
  LPCSTR lpTemplateName;
  void* pvReserved;
  DWORD dwReserved;
  DWORD FlagsEx;
};
typedef OPENFILENAMEA* LPOPENFILENAMEA;

// Shows the open / save dialog; TRUE with the path in lpstrFile, FALSE when cancelled, when
// the path does not fit, or when no dialog can be shown.
BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA dialog);
BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA dialog);

// ---- Folder picker --------------------------------------------------------------------------
// An item list: here the chosen folder's path, owned by the shell allocator.
struct ITEMIDLIST;
typedef ITEMIDLIST* LPITEMIDLIST;
typedef const ITEMIDLIST* PCIDLIST_ABSOLUTE;

struct BROWSEINFOA {
  HWND hwndOwner;
  PCIDLIST_ABSOLUTE pidlRoot;
  LPSTR pszDisplayName;
  LPCSTR lpszTitle;
  UINT ulFlags;
  void* lpfn;
  LPARAM lParam;
  int iImage;
};
typedef BROWSEINFOA* LPBROWSEINFOA;

// The shell's allocator: frees the item lists the shell hands out.
struct IMalloc {
  virtual void* Alloc(size_t size) = 0;
  virtual void Free(void* block) = 0;
  virtual ULONG_PTR AddRef() = 0;
  virtual ULONG_PTR Release() = 0;

 protected:
  ~IMalloc() = default;
};
typedef long HRESULT;
#define S_OK ((HRESULT)0)
#define E_FAIL ((HRESULT)0x80004005L)
#define E_INVALIDARG ((HRESULT)0x80070057L)

// Shows the folder picker; the chosen folder's item list, null when cancelled or when no
// picker can be shown.
LPITEMIDLIST WINAPI SHBrowseForFolderA(LPBROWSEINFOA info);
// The path of an item list into a buffer of MAX_PATH characters; FALSE when it does not fit.
BOOL WINAPI SHGetPathFromIDListA(PCIDLIST_ABSOLUTE list, LPSTR path);
// The shell allocator; E_INVALIDARG for a null out.
HRESULT WINAPI SHGetMalloc(IMalloc** allocator);

// ---- Directory search -----------------------------------------------------------------------
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)

struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};

struct WIN32_FIND_DATAA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  CHAR cFileName[260];
  CHAR cAlternateFileName[14];
};
typedef WIN32_FIND_DATAA* LPWIN32_FIND_DATAA;

// The first entry matching a pattern ("dir/*.png": "*" and "?" without case, "*.*" any name);
// INVALID_HANDLE_VALUE when nothing matches or the folder cannot be read.
HANDLE WINAPI FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA found);
// The next matching entry; FALSE when there is none.
BOOL WINAPI FindNextFileA(HANDLE search, LPWIN32_FIND_DATAA found);
// Ends a search; FALSE for an invalid handle.
BOOL WINAPI FindClose(HANDLE search);
