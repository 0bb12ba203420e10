// The open and save dialogs and the folder picker, shown by zenity. The dialog record is read
// as the window system defines it (double-zero filter list, flags, buffer size) and turned into
// zenity's options (the starting folder may be written the Windows way); its answer is turned
// back into the 8-bit code page. Without a desktop or without zenity, each dialog gives its
// failure result: FALSE, or no item list.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/runtime/file_open.h"
#include "platform/shell/desktop.h"
#include "platform/testing/service_hooks.h"
#include "platform/text/code_page.h"
#include "platform/winapi/shell.h"
#include "platform/winapi/windows.h"

namespace {

// The items of a double-zero-terminated list.
std::vector<std::string> FilterItems(const char* list) {
  std::vector<std::string> items;
  if (list == nullptr) return items;
  for (const char* p = list; *p != '\0'; p += std::strlen(p) + 1) items.push_back(p);
  return items;
}

// zenity's filter option of one description and its patterns (";" between them becomes a blank).
std::string FilterOption(const std::string& description, const std::string& patterns) {
  std::string spaced = patterns;
  for (char& c : spaced)
    if (c == ';') c = ' ';
  return "--file-filter=" + platform::Latin1ToUtf8(description.c_str()) + " | " +
         platform::Latin1ToUtf8(spaced.c_str());
}

// Runs zenity with the options; the lines it answered with (in the 8-bit code page), or false
// when nothing was chosen or zenity could not run.
bool AskZenity(std::vector<std::string> options, std::vector<std::string>* lines) {
  if (!platform::DesktopAvailable()) return false;
  std::string zenity = platform::FindProgram("zenity");
  if (zenity.empty()) return false;
  options.insert(options.begin(), zenity);
  std::string output;
  int exitCode = 0;
  if (!platform::RunAndRead(options, &output, &exitCode) || exitCode != 0) return false;
  size_t start = 0;
  while (start < output.size()) {
    size_t end = output.find('\n', start);
    if (end == std::string::npos) end = output.size();
    if (end > start)
      lines->push_back(platform::Utf8ToLatin1(output.substr(start, end - start).c_str()));
    start = end + 1;
  }
  return !lines->empty();
}

platform::testing::DialogRecord Record(const char* kind, const OPENFILENAMEA* dialog) {
  return {kind,
          dialog->hwndOwner,
          FilterItems(dialog->lpstrFilter),
          dialog->lpstrInitialDir != nullptr ? dialog->lpstrInitialDir : "",
          dialog->lpstrTitle != nullptr ? dialog->lpstrTitle : "",
          dialog->Flags,
          dialog->FlagsEx,
          dialog->nMaxFile};
}

// Writes the answer into the record's buffer as the window system does: one path, or for two
// or more files the folder, then each name, zero-separated, ending with two zeros. FALSE when it
// does not fit.
BOOL FillBuffer(OPENFILENAMEA* dialog, const std::vector<std::string>& paths) {
  std::string block;
  if (paths.size() == 1) {
    block = paths[0];
    block += '\0';
  } else {
    size_t slash = paths[0].rfind('/');
    std::string folder = slash == std::string::npos ? "." : paths[0].substr(0, slash);
    block = folder + '\0';
    for (const std::string& path : paths) block += path.substr(path.rfind('/') + 1) + '\0';
  }
  block += '\0';
  if (block.size() > dialog->nMaxFile) return FALSE;
  std::memcpy(dialog->lpstrFile, block.data(), block.size());
  return TRUE;
}

BOOL ShowFileDialog(OPENFILENAMEA* dialog, bool save) {
  if (dialog == nullptr) return FALSE;
  platform::Services().lastDialog = Record(save ? "save" : "open", dialog);
  if (dialog->lpstrFile == nullptr || dialog->nMaxFile == 0) return FALSE;

  std::vector<std::string> options = {"--file-selection"};
  if (save) options.push_back("--save");
  if (save && (dialog->Flags & OFN_OVERWRITEPROMPT)) options.push_back("--confirm-overwrite");
  bool multiple = !save && (dialog->Flags & OFN_ALLOWMULTISELECT);
  if (multiple) options.insert(options.end(), {"--multiple", "--separator=\n"});
  if (dialog->lpstrTitle != nullptr)
    options.push_back("--title=" + platform::Latin1ToUtf8(dialog->lpstrTitle));
  if (dialog->lpstrInitialDir != nullptr && dialog->lpstrInitialDir[0] != '\0')
    options.push_back("--filename=" + KvNativePath(dialog->lpstrInitialDir) + "/");
  std::vector<std::string> filter = FilterItems(dialog->lpstrFilter);
  for (size_t i = 0; i + 1 < filter.size(); i += 2)
    options.push_back(FilterOption(filter[i], filter[i + 1]));

  std::vector<std::string> paths;
  if (!AskZenity(options, &paths)) return FALSE;
  if (!multiple) paths.resize(1);
  return FillBuffer(dialog, paths);
}

// The shell allocator: item lists are plain heap copies of a path.
struct PathAllocator final : IMalloc {
  void* Alloc(size_t size) override { return std::malloc(size); }
  void Free(void* block) override { std::free(block); }
  ULONG_PTR AddRef() override { return 1; }
  ULONG_PTR Release() override { return 1; }
};

}  // namespace

BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA dialog) { return ShowFileDialog(dialog, false); }

BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA dialog) { return ShowFileDialog(dialog, true); }

LPITEMIDLIST WINAPI SHBrowseForFolderA(LPBROWSEINFOA info) {
  if (info == nullptr) return nullptr;
  platform::testing::DialogRecord record{};
  record.kind = "folder";
  record.owner = info->hwndOwner;
  record.title = info->lpszTitle != nullptr ? info->lpszTitle : "";
  platform::Services().lastDialog = record;

  std::vector<std::string> options = {"--file-selection", "--directory"};
  if (info->lpszTitle != nullptr)
    options.push_back("--title=" + platform::Latin1ToUtf8(info->lpszTitle));
  std::vector<std::string> paths;
  if (!AskZenity(options, &paths)) return nullptr;
  char* list = static_cast<char*>(std::malloc(paths[0].size() + 1));
  if (list == nullptr) return nullptr;
  std::memcpy(list, paths[0].c_str(), paths[0].size() + 1);
  return reinterpret_cast<LPITEMIDLIST>(list);
}

BOOL WINAPI SHGetPathFromIDListA(PCIDLIST_ABSOLUTE list, LPSTR path) {
  if (list == nullptr || path == nullptr) return FALSE;
  const char* text = reinterpret_cast<const char*>(list);
  size_t length = std::strlen(text);
  if (length + 1 > MAX_PATH) {
    path[0] = '\0';
    return FALSE;
  }
  std::memcpy(path, text, length + 1);
  return TRUE;
}

HRESULT WINAPI SHGetMalloc(IMalloc** allocator) {
  if (allocator == nullptr) return E_INVALIDARG;
  static PathAllocator shellAllocator;
  *allocator = &shellAllocator;
  return S_OK;
}
