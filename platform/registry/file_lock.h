// The lock that keeps the programs sharing the registry from changing its file at the same
// time: an flock on a lock file of its own beside the registry file. The registry file cannot
// carry the lock itself, because every change replaces it with a new file by a rename.
// Internal to platform/registry.
#pragma once

#include <string>

namespace platform::registry {

class FileLock {
 public:
  // Opens the lock file at path, making it when missing, and waits until this object holds
  // its lock; Held() is false when the file cannot be opened or locked.
  explicit FileLock(const std::string& path);
  // Lets the lock go.
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool Held() const { return file_ >= 0; }

 private:
  int file_ = -1;
};

}  // namespace platform::registry
