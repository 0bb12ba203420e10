// A buffer's bytes as a string, for comparing what a download gave with what was served.
#pragma once

#include <string>

#include "foundation/buffer.h"

inline std::string Text(const KV_BUFFER& buffer) {
  return std::string((const char*)buffer.GetData(), buffer.length);
}
