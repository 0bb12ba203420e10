// A path as a Windows program's data files write it: every "/" turned into "\". Tests of the
// calls that take paths hand them such paths, which must name the same files.
#pragma once

#include <string>

namespace kvtest {

inline std::string WindowsPath(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

}  // namespace kvtest
