// A folder of the test's own for every file it writes: made fresh with mkdtemp under the system's
// temporary folder ($TMPDIR, else /tmp), and removed with everything in it when the object goes.
// Two copies of a test program running at once (as CI runs the engine's suite, headless and on
// X) then never read or replace each other's files, which fixed names would make them do.
//
// Only the process that made the folder removes it: a child forked by a test (a server, a death
// test) that ends normally leaves its parent's files alone.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

class ScratchFolder {
 public:
  // Makes <base>/<name>_XXXXXX; base empty: the system's temporary folder. Throws when the
  // folder cannot be made, which fails the test that asked for it.
  explicit ScratchFolder(const std::string& name = "kv_test", const std::string& base = "") {
    std::string pattern = (base.empty() ? std::filesystem::temp_directory_path().string() : base) +
                          "/" + name + "_XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
      throw std::runtime_error("cannot make a scratch folder like " + pattern);
    path_ = pattern;
    owner_ = getpid();
  }
  ~ScratchFolder() {
    if (getpid() != owner_) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder's path, without a trailing "/".
  const std::string& Path() const { return path_; }
  // The path of a file (or folder) of that name inside it; nothing is made.
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
  pid_t owner_ = 0;
};

// One scratch folder for the whole test program, made at its first use and removed when the
// program ends: for helpers that name files for many tests of a file.
inline const ScratchFolder& ProgramScratchFolder() {
  static const ScratchFolder folder("kv_tests");
  return folder;
}

// A scratch folder that is also the working folder while the object lives: for tests that name
// files relative to the working folder, as programs do. The working folder before is restored
// before the folder goes.
class ScratchWorkingFolder : public ScratchFolder {
 public:
  explicit ScratchWorkingFolder(const std::string& name = "kv_test", const std::string& base = "")
      : ScratchFolder(name, base) {
    before_ = std::filesystem::current_path();
    std::filesystem::current_path(Path());
  }
  ~ScratchWorkingFolder() {
    std::error_code ignored;
    std::filesystem::current_path(before_, ignored);
  }

 private:
  std::filesystem::path before_;
};
