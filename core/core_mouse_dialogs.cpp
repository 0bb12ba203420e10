// KV_CORE's screen accessors, mouse queries and system dialogs: the named windows, 2D cameras
// and sprites combined with the input state and with the desktop's message box, shell open,
// open and save dialogs, directory listing and folder picker.
#include <cstring>
#include <string>

#include "app/input.h"
#include "app/rect_tests.h"
#include "core/core.h"
#include "platform/winapi/shell.h"
#include "platform/winapi/windows.h"

namespace {

const char kDefaultCaption[] = "Kelvo Core Application";
const int kOpenDialog = 10;
const int kSaveDialog = 11;

KV_WINDOW* FindWindow(KV_DICTIONARY<KV_WINDOW>& windows, const char* name) {
  return windows.Find(KV_DICTIONARY<KV_WINDOW>::FIND_NAME, name).Get();
}

HWND OwnerOf(KV_DICTIONARY<KV_WINDOW>& windows, const char* name) {
  KV_WINDOW* window = name != nullptr ? FindWindow(windows, name) : nullptr;
  return window != nullptr ? window->hwnd : nullptr;
}

// The cursor against the sprite's quad around the origin, when the button test holds.
bool OnSprite(KV_DICTIONARY<KV_SPRITE>& sprites, const char* name, KV_VECTOR_D mouse) {
  KV_SPRITE* sprite = sprites.Find(KV_DICTIONARY<KV_SPRITE>::FIND_NAME, name).Get();
  if (sprite == nullptr) return false;
  KV_VECTOR_D corner1(-sprite->pivotX, -sprite->pivotY, 0, 1);
  KV_VECTOR_D corner2(sprite->width - sprite->pivotX, sprite->height - sprite->pivotY, 0, 1);
  return KvPointInRect(mouse, corner1, corner2);
}

// "desc|pattern|..." as the dialog's list: one more "|" appended, then every "|" a zero byte,
// which ends the list with two zeros.
std::string FilterList(const char* filter) {
  std::string list = std::string(filter) + "|";
  for (char& c : list)
    if (c == '|') c = '\0';
  return list;
}

}  // namespace

// ---- screen ----------------------------------------------------------------------------------

int KV_CORE::GetScreenWidth() const { return screenWidth; }

int KV_CORE::GetScreenHeight() const { return screenHeight; }

float KV_CORE::GetScreenAspect() const { return screenAspect; }

// ---- mouse queries ---------------------------------------------------------------------------

int KV_CORE::GetMouseX(const char* window, unsigned int) {
  if (window == nullptr) return KvCursorX();
  KV_WINDOW* found = FindWindow(windows, window);
  return found != nullptr ? KvCursorXIn(found) : 0;
}

int KV_CORE::GetMouseY(const char* window, unsigned int) {
  if (window == nullptr) return KvCursorY();
  KV_WINDOW* found = FindWindow(windows, window);
  return found != nullptr ? KvCursorYIn(found) : 0;
}

// The named 2D camera, or the current one for null; null when there is none.
static KV_CAMERA2D* FindCamera(KV_CORE& core, const char* camera) {
  if (camera == nullptr) return core.currentCamera2D.IsEnd() ? nullptr : core.currentCamera2D.Get();
  return core.cameras2D.Find(KV_DICTIONARY<KV_CAMERA2D>::FIND_NAME, camera).Get();
}

int KV_CORE::GetMouseXInCamera(const char* window, const char* camera, unsigned int windowId,
                               unsigned int) {
  int x = GetMouseX(window, windowId);
  if (window == nullptr || FindWindow(windows, window) == nullptr) return x;
  KV_CAMERA2D* view = FindCamera(*this, camera);
  return view != nullptr ? x + (int)view->viewPosition.x : x;
}

int KV_CORE::GetMouseYInCamera(const char* window, const char* camera, unsigned int windowId,
                               unsigned int) {
  int y = GetMouseY(window, windowId);
  if (window == nullptr || FindWindow(windows, window) == nullptr) return y;
  KV_CAMERA2D* view = FindCamera(*this, camera);
  return view != nullptr ? y + (int)view->viewPosition.y : y;
}

KV_VECTOR_D KV_CORE::GetMousePosition(const char* window, unsigned int) {
  if (window == nullptr) return KvCursorRefresh();
  KV_WINDOW* found = FindWindow(windows, window);
  if (found == nullptr) return KV_VECTOR_D(0, 0, 0, 1);
  return KV_VECTOR_D(KvCursorXIn(found), KvCursorYIn(found), 0, 1);
}

KV_VECTOR_D KV_CORE::GetMousePositionInCamera(const char* window, const char* camera,
                                              unsigned int windowId, unsigned int) {
  KV_VECTOR_D position = GetMousePosition(window, windowId);
  if (window == nullptr || FindWindow(windows, window) == nullptr) return position;
  KV_CAMERA2D* view = FindCamera(*this, camera);
  if (view != nullptr) {
    position.x += view->viewPosition.x;
    position.y += view->viewPosition.y;
  }
  return position;
}

bool KV_CORE::MouseInRect(int left, int top, int right, int bottom, const char* window,
                          unsigned int) {
  if (window == nullptr) return KvMouseInRect(left, top, right, bottom);
  KV_WINDOW* found = FindWindow(windows, window);
  return found != nullptr && KvMouseInWindowRect(found, left, top, right, bottom);
}

// A named window that does not exist gives false: its failure position (0, 0) is no cursor.
bool KV_CORE::MouseDownOn(const char* window, const char* sprite, KV_VECTOR_D, int button,
                          unsigned int windowId, unsigned int) {
  if (!KvMouseDown(button) || (window != nullptr && FindWindow(windows, window) == nullptr))
    return false;
  return OnSprite(sprites, sprite, GetMousePosition(window, windowId));
}

bool KV_CORE::MousePressedOn(const char* window, const char* sprite, KV_VECTOR_D, int button,
                             unsigned int windowId, unsigned int) {
  if (!KvMousePressed(button) || (window != nullptr && FindWindow(windows, window) == nullptr))
    return false;
  return OnSprite(sprites, sprite, GetMousePosition(window, windowId));
}

bool KV_CORE::MouseReleasedOn(const char* window, const char* sprite, KV_VECTOR_D, int button,
                              unsigned int windowId, unsigned int) {
  if (!KvMouseReleased(button) || (window != nullptr && FindWindow(windows, window) == nullptr))
    return false;
  return OnSprite(sprites, sprite, GetMousePosition(window, windowId));
}

// ---- system dialogs --------------------------------------------------------------------------

int KV_CORE::MessageBox(const char* text, const char* caption, unsigned int type,
                        const char* window, unsigned int) {
  KV_WINDOW* found = window != nullptr ? FindWindow(windows, window) : nullptr;
  if (caption == nullptr) caption = found != nullptr ? found->title.c_str() : kDefaultCaption;
  return MessageBoxA(found != nullptr ? found->hwnd : nullptr, text, caption, type);
}

int KV_CORE::ShellOpen(const char* file, const char* parameters, const char* window, unsigned int) {
  if (window != nullptr && FindWindow(windows, window) == nullptr) return 1;
  HINSTANCE result = ShellExecuteA(OwnerOf(windows, window), "OPEN", file, parameters, "", SW_SHOW);
  return (int)(intptr_t)result;
}

void KV_CORE::FileDialog(KV_STRING& out, int mode, const char* filter, const char* title,
                         const char* initialDirectory, unsigned int flags, const char* window,
                         unsigned int) {
  out = "";
  if (mode != kOpenDialog && mode != kSaveDialog) return;
  char file[MAX_PATH] = {};
  char currentDirectory[MAX_PATH] = {};
  std::string filterList;
  OPENFILENAMEA dialog;
  std::memset(&dialog, 0, sizeof dialog);
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = OwnerOf(windows, window);
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
  if (flags & 1) dialog.Flags |= OFN_OVERWRITEPROMPT;
  if (flags & 4) dialog.Flags |= OFN_ALLOWMULTISELECT;
  if (flags & 8) dialog.Flags |= OFN_HIDEREADONLY;
  if (flags & 2) dialog.FlagsEx |= OFN_EX_NOPLACESBAR;
  BOOL chosen;
  if (mode == kOpenDialog) {
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
  info.hwndOwner = OwnerOf(windows, window);
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
