// Opening files and folders named the Windows way. Data files of a Windows program carry paths
// such as "data\1.kvt" or ".\wall.jpg"; on this system they are opened with "/" in place of
// every "\". A path is text of the system's 8-bit code page, like every other text of the
// framework, so it reaches the file system as UTF-8: a name that the folder search gives back
// opens under that name. Every reader and writer of files, every folder search and every call
// that hands a path to another program, in the engine and the framework above it, goes through
// these helpers so that the rule holds everywhere.
#pragma once

#include <dirent.h>

#include <cstdio>
#include <string>

#include "platform/text/code_page.h"

// The path in UTF-8 with every "\" turned into "/"; "" for a null path.
inline std::string KvNativePath(const char* path) {
  if (path == nullptr) return std::string();
  std::string native = platform::Latin1ToUtf8(path);
  for (char& c : native)
    if (c == '\\') c = '/';
  return native;
}

// fopen of the native path with the mode; null for a null path or mode, or when fopen fails.
inline FILE* KvOpenFile(const char* path, const char* mode) {
  if (path == nullptr || mode == nullptr) return nullptr;
  return fopen(KvNativePath(path).c_str(), mode);
}

// Removes the file at the native path; false for a null path or when it cannot be removed.
inline bool KvRemoveFile(const char* path) {
  return path != nullptr && remove(KvNativePath(path).c_str()) == 0;
}

// Renames the file from one native path to the other, replacing what is there; false for a null
// path or when it cannot be renamed.
inline bool KvRenameFile(const char* from, const char* to) {
  return from != nullptr && to != nullptr &&
         rename(KvNativePath(from).c_str(), KvNativePath(to).c_str()) == 0;
}

// opendir of the native path, the working directory for ""; null for a null path or when the
// folder cannot be read. The caller closes it with closedir.
inline DIR* KvOpenDirectory(const char* path) {
  if (path == nullptr) return nullptr;
  return opendir(path[0] == '\0' ? "." : KvNativePath(path).c_str());
}
