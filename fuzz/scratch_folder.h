// A scratch folder for fuzz targets whose loaders read real files: made fresh in memory
// (/dev/shm, a tmpfs) so that writing each input costs no disk work, or under /tmp where there
// is no /dev/shm; entered as the working folder, and removed with the files the target wrote
// into it when the process exits. WriteFile puts bytes into such a file.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

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

// The folder made and the files to remove from it at exit.
struct ScratchFolder {
  std::string path;
  std::vector<const char*> files;  // names of static storage: literals
};

inline ScratchFolder scratch;

inline void RemoveScratchFolder() {
  for (const char* name : scratch.files) unlink(name);
  rmdir(scratch.path.c_str());
}

// Makes a fresh folder named after the target (a random suffix is added), enters it and
// removes it with files at exit; returns its path. Aborts when the folder cannot be made or
// entered. The corpus folders given to the fuzzer must then be absolute paths.
inline const std::string& EnterScratchFolder(const char* name,
                                             std::initializer_list<const char*> files) {
  const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  scratch.path = std::string(base) + "/" + name + "_XXXXXX";
  if (mkdtemp(scratch.path.data()) == nullptr || chdir(scratch.path.c_str()) != 0) abort();
  scratch.files.assign(files.begin(), files.end());
  atexit(RemoveScratchFolder);
  return scratch.path;
}

}  // namespace fuzz
