// The engine's texture file format .kvt (laid out in engine/kv_engine.h): a 24-byte header and
// RGBA pixels, top row first. Checking and writing need no GL, so the loader's checks can be
// fuzzed and the tools can write files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kv::engine::kvt {

constexpr size_t kHeaderSize = 24;
constexpr uint32_t kVersion = 1;
constexpr uint32_t kFormatRgba8 = 1;
constexpr uint32_t kMaxSide = 16384;  // the largest width or height any texture may have
constexpr char kMagic[4] = {'K', 'V', 'T', '1'};

enum class Status {
  Ok,
  TooShort,  // fewer bytes than a header
  BadMagic,
  BadVersion,
  BadFormat,     // a pixel format other than RGBA8
  BadSize,       // width or height 0 or over kMaxSide
  BadPayload,    // payload size not width * height * 4
  Truncated,     // fewer bytes than the header promises
  TrailingBytes  // more bytes than the header promises
};

struct Header {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t payloadSize = 0;
};

// True when the bytes start with the .kvt magic.
bool HasMagic(const uint8_t* data, size_t size);
// Checks a header (the first kHeaderSize bytes must be readable).
Status ReadHeader(const uint8_t* data, size_t size, Header* out);
// Checks a whole file image (exactly header and payload); pixels then points at the payload.
Status Parse(const uint8_t* data, size_t size, Header* header, const uint8_t** pixels);
// The file image of w x h RGBA pixels (top row first); empty for a size the format refuses.
std::vector<uint8_t> Write(uint32_t w, uint32_t h, const uint8_t* rgba);

}  // namespace kv::engine::kvt
