// KV_FILE_RECORD: one entry of a directory listing made by KV_CORE::ListFiles, the name of a
// file or folder as the system gives it (no path) and whether it is a folder.
#pragma once

#include "foundation/string.h"

struct KV_FILE_RECORD {
  KV_STRING name;             // the file or folder name, without its path
  unsigned char isDirectory;  // 1 for a folder, else 0

  KV_FILE_RECORD() : isDirectory(0) {}
};
