// Reading an image file for the decoder, block by block, noting asks past the end.
#include "platform/imaging/image_reader.h"

#include <algorithm>
#include <cstring>

namespace platform::stb {

int ImageReader::Read(void* user, char* out, int size) {
  auto* reader = static_cast<ImageReader*>(user);
  // The decoder starts by filling its read-ahead buffer; later reads elsewhere go straight into
  // its output and must be filled whole.
  if (reader->readAhead_ == nullptr) reader->readAhead_ = out;
  size_t wanted = size > 0 ? static_cast<size_t>(size) : 0;
  size_t given = std::min(wanted, reader->size_ - reader->at_);
  if (given < wanted && (given == 0 || out != reader->readAhead_)) reader->askedPastEnd_ = true;
  if (given > 0) std::memcpy(out, reader->data_ + reader->at_, given);
  reader->at_ += given;
  return static_cast<int>(given);
}

void ImageReader::Skip(void* user, int count) {
  auto* reader = static_cast<ImageReader*>(user);
  if (count <= 0) return;
  size_t left = reader->size_ - reader->at_;
  if (static_cast<size_t>(count) > left) reader->askedPastEnd_ = true;
  reader->at_ += std::min(static_cast<size_t>(count), left);
}

int ImageReader::AtEnd(void* user) {
  auto* reader = static_cast<ImageReader*>(user);
  return reader->at_ >= reader->size_ ? 1 : 0;
}

}  // namespace platform::stb
