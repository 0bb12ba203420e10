// Writing GIF files with giflib, into memory: one frame, its colours as indexed_picture.h makes
// them, with a graphic control block naming the transparent colour when there is one.
#pragma once

#include <cstdint>
#include <string>

namespace platform::imaging {

// Encodes w x h R, G, B, A pixels (rows packed, top first) into out; false on failure or for a
// side longer than a GIF can say (65535).
bool EncodeGif(const uint8_t* rgba, int w, int h, std::string* out);

}  // namespace platform::imaging
