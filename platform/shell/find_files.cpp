// The directory search on POSIX directories: the pattern's folder ("\" read as "/") is read and
// each name is matched against the pattern's last part with the window system's wildcards ("*", "?",
// without case; "*.*" matches every name). Names are handed over in the 8-bit code page; a
// name that cannot be written in it is left out, as it could not be opened by that name.
#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "platform/runtime/file_open.h"
#include "platform/text/code_page.h"
#include "platform/winapi/shell.h"
#include "platform/winapi/windows.h"

namespace {

struct Search {
  DIR* dir;
  std::string folder;   // with a trailing "/" ("" for the working directory)
  std::string pattern;  // folded
};

char FoldChar(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
    return static_cast<char>(u + 32);
  return c;
}

bool Matches(const char* pattern, const char* name) {
  // Iterative wildcard match with one backtrack point for the last "*".
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name != '\0') {
    if (*pattern == '*') {
      star = pattern++;
      resume = name;
    } else if (*pattern == '?' || (*pattern != '\0' && FoldChar(*pattern) == FoldChar(*name))) {
      ++pattern;
      ++name;
    } else if (star != nullptr) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0';
}

// Seconds since 1970 as the window system's file time (100 ns units since 1601).
FILETIME FileTime(time_t seconds) {
  uint64_t ticks = (static_cast<uint64_t>(seconds) + 11644473600ull) * 10000000ull;
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

// The next entry that matches into found; false at the end of the folder.
bool NextMatch(Search* search, WIN32_FIND_DATAA* found) {
  while (dirent* entry = readdir(search->dir)) {
    std::string name = platform::Utf8ToLatin1(entry->d_name);
    if (name.empty() || name.size() >= sizeof found->cFileName) continue;
    if (platform::Latin1ToUtf8(name.c_str()) != entry->d_name) continue;
    if (!Matches(search->pattern.c_str(), name.c_str())) continue;

    std::memset(found, 0, sizeof *found);
    std::memcpy(found->cFileName, name.c_str(), name.size() + 1);
    struct stat info;
    std::string path = search->folder + entry->d_name;
    if (stat(path.c_str(), &info) == 0) {
      found->dwFileAttributes =
          S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
      uint64_t size = S_ISDIR(info.st_mode) ? 0 : static_cast<uint64_t>(info.st_size);
      found->nFileSizeHigh = static_cast<DWORD>(size >> 32);
      found->nFileSizeLow = static_cast<DWORD>(size);
      found->ftLastWriteTime = FileTime(info.st_mtime);
      found->ftLastAccessTime = FileTime(info.st_atime);
      found->ftCreationTime = FileTime(info.st_ctime);
    } else {
      found->dwFileAttributes =
          entry->d_type == DT_DIR ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    }
    return true;
  }
  return false;
}

}  // namespace

HANDLE WINAPI FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA found) {
  if (pattern == nullptr || pattern[0] == '\0' || found == nullptr) return INVALID_HANDLE_VALUE;
  std::string text = KvNativePath(pattern);
  size_t slash = text.rfind('/');
  std::string folder = slash == std::string::npos ? "" : text.substr(0, slash + 1);
  // The name part, back in the system code page (the whole pattern when there is no folder).
  std::string last(pattern);
  if (slash != std::string::npos) last = platform::Utf8ToLatin1(text.c_str() + slash + 1);
  if (last.empty()) return INVALID_HANDLE_VALUE;
  if (last == "*.*") last = "*";

  DIR* dir = KvOpenDirectory(folder.c_str());
  if (dir == nullptr) return INVALID_HANDLE_VALUE;
  std::string folded;
  for (char c : last) folded += FoldChar(c);
  auto* search = new Search{dir, folder, folded};
  if (!NextMatch(search, found)) {
    closedir(dir);
    delete search;
    return INVALID_HANDLE_VALUE;
  }
  return search;
}

BOOL WINAPI FindNextFileA(HANDLE search, LPWIN32_FIND_DATAA found) {
  if (search == nullptr || search == INVALID_HANDLE_VALUE || found == nullptr) return FALSE;
  return NextMatch(static_cast<Search*>(search), found) ? TRUE : FALSE;
}

BOOL WINAPI FindClose(HANDLE search) {
  if (search == nullptr || search == INVALID_HANDLE_VALUE) return FALSE;
  auto* s = static_cast<Search*>(search);
  closedir(s->dir);
  delete s;
  return TRUE;
}
