// The working directory, with the window system's buffer rules.
#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/winapi/windows.h"

DWORD WINAPI GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer) {
  std::string path(4096, '\0');
  while (getcwd(path.data(), path.size()) == nullptr) {
    if (errno != ERANGE) return 0;
    path.resize(path.size() * 2);
  }
  DWORD length = static_cast<DWORD>(std::strlen(path.c_str()));
  // Too small a buffer is left untouched and the size it would need is returned.
  if (buffer == nullptr || bufferLength < length + 1) return length + 1;
  std::memcpy(buffer, path.c_str(), length + 1);
  return length;
}
