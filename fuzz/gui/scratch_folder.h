// A scratch folder for fuzz targets that read real files: made fresh under /tmp, entered as the
// working folder, and removed with the files the target wrote into it when the process exits.
// WriteFile puts bytes into such a file.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>
#include <unistd.h>

namespace fuzz_gui {

// Writes bytes to the file name, replacing it; aborts when it cannot be opened.
inline void WriteFile(const char* name, const std::string& bytes) {
  FILE* file = fopen(name, "wb");
  if (file == nullptr) abort();
  fwrite(bytes.data(), 1, bytes.size(), file);
  fclose(file);
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

// Makes a fresh folder from pattern (ending in "XXXXXX"), enters it and removes it with files
// at exit; aborts when the folder cannot be made or entered.
inline void EnterScratchFolder(const char* pattern, std::initializer_list<const char*> files) {
  scratch.path = pattern;
  if (mkdtemp(scratch.path.data()) == nullptr || chdir(scratch.path.c_str()) != 0) abort();
  scratch.files.assign(files.begin(), files.end());
  atexit(RemoveScratchFolder);
}

}  // namespace fuzz_gui
