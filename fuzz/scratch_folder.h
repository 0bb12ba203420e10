// A scratch folder for fuzz targets whose loaders read real files: made fresh in memory
// (/dev/shm, a tmpfs) so that writing each input costs no disk work, or under the system's
// temporary folder where there is no /dev/shm; entered as the working folder, and removed with
// everything in it when the process exits. WriteFile puts bytes into such a file.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/scratch_folder.h"

namespace fuzz {

// Writes bytes to the file name, replacing it; aborts when it cannot be opened.
inline void WriteFile(const char* name, const void* bytes, size_t size) {
  FILE* file = fopen(name, "wb");
  if (file == nullptr) abort();
  if (size > 0) fwrite(bytes, 1, size, file);
  fclose(file);
}
inline void WriteFile(const char* name, const std::string& bytes) {
  WriteFile(name, bytes.data(), bytes.size());
}

// Makes a fresh folder named after the target (a random suffix is added), enters it and removes
// it at exit; returns its path. Call it once, from LLVMFuzzerInitialize; a folder that cannot be
// made or entered ends the process. The corpus folders given to the fuzzer must then be absolute
// paths.
inline const std::string& EnterScratchFolder(const char* name) {
  static const ScratchWorkingFolder folder(name, access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "");
  return folder.Path();
}

}  // namespace fuzz
