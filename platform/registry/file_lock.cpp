// The registry's lock file. Its contents never matter; it only carries the lock, so it is
// left in place for the next change.
#include "platform/registry/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace platform::registry {

FileLock::FileLock(const std::string& path) {
  int file = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  // An exclusive flock needs only an open file, so a lock file another user made, which this
  // one may not write, serves as well.
  if (file < 0) file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) return;
  int result;
  do {
    result = flock(file, LOCK_EX);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    close(file);
    return;
  }
  file_ = file;
}

FileLock::~FileLock() {
  if (file_ < 0) return;
  // Unlocked before closing: a child forked meanwhile shares the open file, and closing this
  // descriptor alone would leave the lock held until that child closes its copy as well.
  flock(file_, LOCK_UN);
  close(file_);
}

}  // namespace platform::registry
