// KV_CORE's system dialogs over its named windows: the message box, opening a file through the
// shell, the open and save dialogs, the folder picker, and the directory listing that goes with
// them. Without a desktop each gives its failure result.
#include <cstring>
#include <string>

#include "core/core.h"
#include "platform/winapi/shell.h"
#include "platform/winapi/windows.h"

namespace {

const char kDefaultCaption[] = "Kelvo Core Application";

// The window's handle as a dialog's owner; null (no owner) for a missing window.
HWND OwnerOf(const KV_WINDOW* window) { return window != nullptr ? window->hwnd : nullptr; }

// "desc|pattern|..." as the dialog's list: one more "|" appended, then every "|" a zero byte,
// which ends the list with two zeros.
std::string FilterList(const char* filter) {
  std::string list = std::string(filter) + "|";
  for (char& c : list)
    if (c == '|') c = '\0';
  return list;
}

}  // namespace

int KV_CORE::MessageBox(const char* text, const char* caption, unsigned int type,
                        const char* window, unsigned int) {
  KV_WINDOW* found = WindowNamed(window);
  if (caption == nullptr) caption = found != nullptr ? found->title.c_str() : kDefaultCaption;
  return MessageBoxA(found != nullptr ? found->hwnd : nullptr, text, caption, type);
}

int KV_CORE::ShellOpen(const char* file, const char* parameters, const char* window, unsigned int) {
  KV_WINDOW* found = WindowNamed(window);
  if (window != nullptr && found == nullptr) return 1;
  HINSTANCE result = ShellExecuteA(OwnerOf(found), "OPEN", file, parameters, "", SW_SHOW);
  return (int)(intptr_t)result;
}

void KV_CORE::FileDialog(KV_STRING& out, int mode, const char* filter, const char* title,
                         const char* initialDirectory, unsigned int flags, const char* window,
                         unsigned int) {
  out = "";
  if (mode != KV_DIALOG_OPEN && mode != KV_DIALOG_SAVE) return;
  char file[MAX_PATH] = {};
  char currentDirectory[MAX_PATH] = {};
  std::string filterList;
  OPENFILENAMEA dialog;
  std::memset(&dialog, 0, sizeof dialog);
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = OwnerOf(WindowNamed(window));
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  if (initialDirectory == nullptr) {
    // Too long a working directory leaves the buffer empty rather than cut.
    if (GetCurrentDirectoryA(MAX_PATH, currentDirectory) >= MAX_PATH) currentDirectory[0] = '\0';
    initialDirectory = currentDirectory;
  }
  dialog.lpstrInitialDir = initialDirectory;
  if (title != nullptr) dialog.lpstrTitle = title;
  if (filter != nullptr) {
    filterList = FilterList(filter);
    dialog.lpstrFilter = filterList.c_str();
  }
  dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (flags & KV_DIALOG_OVERWRITE_PROMPT) dialog.Flags |= OFN_OVERWRITEPROMPT;
  if (flags & KV_DIALOG_MULTIPLE) dialog.Flags |= OFN_ALLOWMULTISELECT;
  if (flags & KV_DIALOG_HIDE_READ_ONLY) dialog.Flags |= OFN_HIDEREADONLY;
  if (flags & KV_DIALOG_NO_PLACES_BAR) dialog.FlagsEx |= OFN_EX_NOPLACESBAR;
  BOOL chosen;
  if (mode == KV_DIALOG_OPEN) {
    dialog.Flags |= OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    chosen = GetOpenFileNameA(&dialog);
  } else {
    chosen = GetSaveFileNameA(&dialog);
  }
  if (chosen) out = file;
}

void KV_CORE::ListFiles(KV_LIST<KV_FILE_RECORD>& out, const char* pattern) {
  out.Clear();
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    KV_FILE_RECORD record;
    record.name = found.cFileName;
    record.isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
    out.PushBack(record);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

void KV_CORE::BrowseFolder(KV_STRING& out, const char* title, const char* window, unsigned int) {
  out = "";
  BROWSEINFOA info;
  std::memset(&info, 0, sizeof info);
  info.hwndOwner = OwnerOf(WindowNamed(window));
  if (title != nullptr) info.lpszTitle = title;
  LPITEMIDLIST list = SHBrowseForFolderA(&info);
  if (list == nullptr) return;
  char path[MAX_PATH] = {};
  if (SHGetPathFromIDListA(list, path)) out = path;
  IMalloc* allocator = nullptr;
  if (SHGetMalloc(&allocator) == S_OK && allocator != nullptr) {
    allocator->Free(list);
    allocator->Release();
  }
}
