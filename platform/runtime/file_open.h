// Opening files named the Windows way. Data files of a Windows program carry paths such as
// "data\1.kvt" or ".\wall.jpg"; on this system they are opened with "/" in place of every "\".
// Every reader and writer of files, in the engine and the framework above it, goes through
// these helpers so that the rule holds everywhere.
#pragma once

#include <cstdio>
#include <string>

// The path with every "\" turned into "/".
inline std::string KvNativePath(const char* path) {
  std::string native(path);
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
