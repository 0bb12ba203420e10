// Running the desktop's helper programs with fork and exec. Only async-signal-safe calls run
// between fork and exec, since the program may have other threads (SDL's).
#include "platform/shell/desktop.h"

#include <SDL2/SDL.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/testing/service_hooks.h"

namespace platform {
namespace {

bool IsExecutableFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

bool Headless(const char* driver) {
  return driver != nullptr &&
         (SDL_strcasecmp(driver, "offscreen") == 0 || SDL_strcasecmp(driver, "dummy") == 0);
}

std::vector<char*> Pointers(const std::vector<std::string>& argv) {
  std::vector<char*> pointers;
  for (const std::string& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

// Opens a close-on-exec pipe into pipeEnds and forks; -1 (with no end left open) when either
// fails. The child gets 0, the parent the child's id.
pid_t ForkWithPipe(int pipeEnds[2]) {
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) return -1;
  pid_t child = fork();
  if (child < 0) {
    close(pipeEnds[0]);
    close(pipeEnds[1]);
  }
  return child;
}

}  // namespace

bool DesktopAvailable() {
  if (Services().hideDesktop) return false;
  if (!Services().programFolder.empty()) return true;
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((display == nullptr || display[0] == '\0') && (wayland == nullptr || wayland[0] == '\0'))
    return false;
  // A program running on SDL's headless drivers has no one to show a dialog to.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr) driver = std::getenv("SDL_VIDEODRIVER");
  return !Headless(driver);
}

std::string FindProgram(const std::string& name) {
  if (name.empty()) return "";
  if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : "";
  // The tests' stand-ins replace the desktop's programs altogether.
  const std::string& standIns = Services().programFolder;
  if (!standIns.empty()) {
    std::string candidate = standIns + "/" + name;
    return IsExecutableFile(candidate) ? candidate : "";
  }
  const char* path = std::getenv("PATH");
  std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string dir = dirs.substr(start, end - start);
    std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
    if (IsExecutableFile(candidate)) return candidate;
    start = end + 1;
  }
  return "";
}

bool RunAndRead(const std::vector<std::string>& argv, std::string* output, int* exitCode) {
  if (argv.empty()) return false;
  std::vector<char*> args = Pointers(argv);
  int pipeEnds[2];
  pid_t child = ForkWithPipe(pipeEnds);
  if (child < 0) return false;
  if (child == 0) {
    dup2(pipeEnds[1], STDOUT_FILENO);
    execv(args[0], args.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  char buffer[4096];
  ssize_t n;
  while ((n = read(pipeEnds[0], buffer, sizeof buffer)) != 0) {
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    output->append(buffer, static_cast<size_t>(n));
  }
  close(pipeEnds[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return !(WIFEXITED(status) && WEXITSTATUS(status) == 127);
}

bool StartDetached(const std::vector<std::string>& argv, const std::string& directory) {
  if (argv.empty()) return false;
  std::vector<char*> args = Pointers(argv);
  // The grandchild reports a failed exec through this pipe; a closed pipe means it started.
  int pipeEnds[2];
  pid_t child = ForkWithPipe(pipeEnds);
  if (child < 0) return false;
  if (child == 0) {
    setsid();
    pid_t grandchild = fork();
    if (grandchild != 0) _exit(grandchild < 0 ? 1 : 0);
    int error = 0;
    if (!directory.empty() && chdir(directory.c_str()) != 0) {
      error = errno;
    } else {
      execv(args[0], args.data());
      error = errno;
    }
    ssize_t ignored = write(pipeEnds[1], &error, sizeof error);
    (void)ignored;
    _exit(127);
  }
  close(pipeEnds[1]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {}
  int error = 0;
  ssize_t n;
  while ((n = read(pipeEnds[0], &error, sizeof error)) < 0 && errno == EINTR) {}
  close(pipeEnds[0]);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 && n == 0;
}

}  // namespace platform
