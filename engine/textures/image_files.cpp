// Decoding texture files, measuring image blocks in memory, and reading files.
#include "engine/textures/image_files.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/textures/kvt_format.h"
#include "platform/imaging/image_decode.h"
#include "platform/runtime/file_open.h"

namespace kv::engine {

namespace {

// No texture file can be larger than the largest .kvt file.
constexpr size_t kMaxFileSize =
    kvt::kHeaderSize + static_cast<size_t>(kvt::kMaxSide) * kvt::kMaxSide * 4;

uint32_t Be32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
         static_cast<uint32_t>(p[2]) << 8 | p[3];
}
uint32_t Be16(const uint8_t* p) { return static_cast<uint32_t>(p[0]) << 8 | p[1]; }
uint32_t Le16(const uint8_t* p) { return static_cast<uint32_t>(p[1]) << 8 | p[0]; }
uint32_t Le32(const uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }

// ---- block lengths, one per format --------------------------------------------------------

size_t MeasureKvt(const uint8_t* block) {
  kvt::Header header;
  if (kvt::ReadHeader(block, kvt::kHeaderSize, &header) != kvt::Status::Ok) return 0;
  return kvt::kHeaderSize + header.payloadSize;
}

// A PNG ends with its IEND chunk; every chunk is length, type, data and a 4-byte checksum.
size_t MeasurePng(const uint8_t* block) {
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (std::memcmp(block, kSignature, sizeof kSignature) != 0) return 0;
  size_t position = sizeof kSignature;
  while (position <= kMaxFileSize) {
    uint32_t length = Be32(block + position);
    if (length > 0x7fffffff) return 0;
    bool last = std::memcmp(block + position + 4, "IEND", 4) == 0;
    position += 12 + static_cast<size_t>(length);
    if (last) return position;
  }
  return 0;
}

// A BMP says its file size in its header.
size_t MeasureBmp(const uint8_t* block) {
  if (block[0] != 'B' || block[1] != 'M') return 0;
  size_t size = Le32(block + 2);
  return size >= 26 && size <= kMaxFileSize ? size : 0;
}

// A JPEG is a run of marker segments ending with EOI; the entropy-coded data after SOS runs to the
// next marker that is neither a stuffed 0xFF00 nor a restart marker.
size_t MeasureJpeg(const uint8_t* block) {
  if (block[0] != 0xff || block[1] != 0xd8 || block[2] != 0xff) return 0;
  size_t position = 2;
  while (position <= kMaxFileSize) {
    if (block[position] != 0xff) return 0;
    while (block[position] == 0xff) ++position;
    uint8_t marker = block[position++];
    if (marker == 0xd9) return position;
    if (marker == 0x01 || (marker >= 0xd0 && marker <= 0xd8)) continue;
    position += Be16(block + position);
    if (marker != 0xda) continue;
    while (position <= kMaxFileSize) {
      if (block[position] != 0xff) {
        ++position;
        continue;
      }
      uint8_t next = block[position + 1];
      if (next == 0x00 || (next >= 0xd0 && next <= 0xd7)) {
        position += 2;
      } else if (next == 0xff) {
        ++position;
      } else {
        break;
      }
    }
  }
  return 0;
}

// A TGA has no signature and no stated length: its header must describe a sensible image, and the
// length runs to the end of its pixel data: every pixel stored once or, run-length encoded, the
// packets that cover them (a packet byte, then one pixel value for a run or one per pixel for a
// raw packet), walked without decoding. The decoder reads ahead of what it needs, so the length
// must not reach past the image.
size_t MeasureTga(const uint8_t* block) {
  uint8_t idLength = block[0], colorMapType = block[1], imageType = block[2];
  uint32_t colorMapLength = Le16(block + 5), colorMapBits = block[7];
  uint32_t width = Le16(block + 12), height = Le16(block + 14), bits = block[16];
  bool knownType = imageType == 1 || imageType == 2 || imageType == 3 || imageType == 9 ||
                   imageType == 10 || imageType == 11;
  bool knownBits = bits == 8 || bits == 15 || bits == 16 || bits == 24 || bits == 32;
  if (colorMapType > 1 || !knownType || !knownBits || width == 0 || height == 0) return 0;
  size_t pixels = static_cast<size_t>(width) * height;
  size_t pixelBytes = (bits + 7) / 8;
  size_t at = 18 + idLength + colorMapLength * ((colorMapBits + 7) / 8);
  if (imageType < 9) return at + pixels * pixelBytes;
  for (size_t covered = 0; covered < pixels;) {
    if (at > kMaxFileSize) return 0;
    uint8_t packet = block[at++];
    size_t count = (packet & 0x7fu) + 1;
    at += (packet & 0x80) != 0 ? pixelBytes : count * pixelBytes;
    covered += count;
  }
  return at;
}

bool DecodeKvt(const uint8_t* data, size_t size, Image* out) {
  kvt::Header header;
  const uint8_t* pixels = nullptr;
  if (kvt::Parse(data, size, &header, &pixels) != kvt::Status::Ok) return false;
  if (!out->rgba.Allocate(header.payloadSize)) return false;
  std::memcpy(out->rgba.data(), pixels, header.payloadSize);
  out->width = header.width;
  out->height = header.height;
  return true;
}

// PNG, JPEG, BMP and TGA go to the imaging calls' decoders; GIF, TIFF and icon files, which those
// also read, are no texture files. The size limit is checked on the header before anything is
// decoded; the decoders themselves refuse a file shorter than the image its header describes.
bool DecodeOther(const uint8_t* data, size_t size, Image* out) {
  using platform::imaging::ImageFormat;
  ImageFormat format = platform::imaging::FormatOf(data, size);
  if (format != ImageFormat::Png && format != ImageFormat::Jpeg && format != ImageFormat::Bmp &&
      format != ImageFormat::Tga)
    return false;
  int w = 0, h = 0;
  if (!platform::imaging::ImageSides(data, size, &w, &h)) return false;
  if (w <= 0 || h <= 0 || w > static_cast<int>(kvt::kMaxSide) ||
      h > static_cast<int>(kvt::kMaxSide))
    return false;
  if (!platform::imaging::DecodeImage(data, size, platform::imaging::PixelOrder::Rgba, &w, &h,
                                      &out->rgba))
    return false;
  out->width = static_cast<uint32_t>(w);
  out->height = static_cast<uint32_t>(h);
  return true;
}

}  // namespace

bool DecodeImage(const uint8_t* data, size_t size, Image* out) {
  if (data == nullptr || size == 0) return false;
  if (kvt::HasMagic(data, size)) return DecodeKvt(data, size, out);
  return DecodeOther(data, size, out);
}

size_t MeasureImageBlock(const uint8_t* block) {
  if (block == nullptr) return 0;
  if (kvt::HasMagic(block, kvt::kHeaderSize)) return MeasureKvt(block);
  if (block[0] == 0x89) return MeasurePng(block);
  if (block[0] == 'B' && block[1] == 'M') return MeasureBmp(block);
  if (block[0] == 0xff && block[1] == 0xd8) return MeasureJpeg(block);
  return MeasureTga(block);
}

bool ReadWholeFile(const char* path, std::vector<uint8_t>* out) {
  if (path == nullptr || path[0] == '\0') return false;
  std::FILE* file = KvOpenFile(path, "rb");
  if (file == nullptr) return false;
  bool read = false;
  if (std::fseek(file, 0, SEEK_END) == 0) {
    long size = std::ftell(file);
    if (size > 0 && static_cast<size_t>(size) <= kMaxFileSize &&
        std::fseek(file, 0, SEEK_SET) == 0) {
      out->resize(static_cast<size_t>(size));
      read = std::fread(out->data(), 1, out->size(), file) == out->size();
    }
  }
  std::fclose(file);
  return read;
}

}  // namespace kv::engine
