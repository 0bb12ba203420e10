// Checking and writing .kvt texture files.
#include "engine/textures/kvt_format.h"

#include <cstring>

namespace kv::engine::kvt {

namespace {

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void WriteU32(uint8_t* p, uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

bool HasMagic(const uint8_t* data, size_t size) {
  return data != nullptr && size >= sizeof kMagic && std::memcmp(data, kMagic, sizeof kMagic) == 0;
}

Status ReadHeader(const uint8_t* data, size_t size, Header* out) {
  if (data == nullptr || size < kHeaderSize) return Status::TooShort;
  if (!HasMagic(data, size)) return Status::BadMagic;
  if (ReadU32(data + 4) != kVersion) return Status::BadVersion;
  uint32_t width = ReadU32(data + 8), height = ReadU32(data + 12);
  if (ReadU32(data + 16) != kFormatRgba8) return Status::BadFormat;
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return Status::BadSize;
  uint32_t payload = ReadU32(data + 20);
  // Both sides are at most 2^14, so the product fits in 32 bits.
  if (payload != width * height * 4) return Status::BadPayload;
  *out = Header{width, height, payload};
  return Status::Ok;
}

Status Parse(const uint8_t* data, size_t size, Header* header, const uint8_t** pixels) {
  Header read;
  Status status = ReadHeader(data, size, &read);
  if (status != Status::Ok) return status;
  size_t expected = kHeaderSize + read.payloadSize;
  if (size < expected) return Status::Truncated;
  if (size > expected) return Status::TrailingBytes;
  *header = read;
  *pixels = data + kHeaderSize;
  return Status::Ok;
}

std::vector<uint8_t> Write(uint32_t w, uint32_t h, const uint8_t* rgba) {
  if (w == 0 || h == 0 || w > kMaxSide || h > kMaxSide || rgba == nullptr) return {};
  uint32_t payload = w * h * 4;
  std::vector<uint8_t> file(kHeaderSize + payload);
  std::memcpy(file.data(), kMagic, sizeof kMagic);
  WriteU32(file.data() + 4, kVersion);
  WriteU32(file.data() + 8, w);
  WriteU32(file.data() + 12, h);
  WriteU32(file.data() + 16, kFormatRgba8);
  WriteU32(file.data() + 20, payload);
  std::memcpy(file.data() + kHeaderSize, rgba, payload);
  return file;
}

}  // namespace kv::engine::kvt
