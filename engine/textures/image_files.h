// Turning texture files into RGBA pixels: the engine's .kvt files, and PNG, JPEG, BMP and TGA
// files recognised by their first bytes (through the imaging calls' decoders), all held to the .kvt size limit
// before any pixel is decoded. Blocks in memory come without a length, so each format's own
// header or chunk structure says where the block ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/runtime/byte_block.h"

namespace kv::engine {

struct Image {
  uint32_t width = 0;
  uint32_t height = 0;
  platform::ByteBlock rgba;  // R, G, B, A, top row first
};

// Decodes a whole file image; false for a damaged, unknown or oversized image.
bool DecodeImage(const uint8_t* data, size_t size, Image* out);
// The length of an image block from its own structure, 0 when it is not a recognised image or
// its structure is broken. Reads only as far as a well-formed image of that format reaches.
size_t MeasureImageBlock(const uint8_t* block);
// Reads a whole file; a path written the Windows way ("data\1.kvt") is read with "/". False when
// the file cannot be read or is larger than any texture file can be.
bool ReadWholeFile(const char* path, std::vector<uint8_t>* out);

}  // namespace kv::engine
