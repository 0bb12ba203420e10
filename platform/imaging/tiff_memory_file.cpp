// libtiff's client procedures over memory, and its messages kept off stderr.
#include "platform/imaging/tiff_memory_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace platform::imaging {

namespace {

// libtiff also has process-wide handlers, which print to stderr and which a few of its messages
// reach without going through a file's own handlers: they are silenced once, for good.
void SilenceProcessWideHandlers() {
  static const bool silenced = [] {
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
    return true;
  }();
  (void)silenced;
}

}  // namespace

TiffMemoryFile::~TiffMemoryFile() {
  if (tiff_ != nullptr) TIFFCleanup(tiff_);
}

TIFF* TiffMemoryFile::Open(size_t blockLimit) {
  SilenceProcessWideHandlers();
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  if (options == nullptr) return nullptr;
  TIFFOpenOptionsSetMaxSingleMemAlloc(options, static_cast<tmsize_t>(blockLimit));
  TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, this);
  TIFFOpenOptionsSetWarningHandlerExtR(options, OnWarning, this);
  // "m": read through the procedures, never through a mapping of the caller's bytes, which
  // libtiff could otherwise decode in place; "l": a file written is little-endian everywhere.
  const char* mode = out_ != nullptr ? "wl" : "rm";
  tiff_ = TIFFClientOpenExt("memory", mode, this, Read, Write, Seek, CloseFile, Size, nullptr,
                            nullptr, options);
  TIFFOpenOptionsFree(options);
  return tiff_;
}

bool TiffMemoryFile::Close() {
  if (tiff_ == nullptr) return false;
  TIFFClose(tiff_);  // writes the last directory of a file being written
  tiff_ = nullptr;
  return !failed_;
}

tmsize_t TiffMemoryFile::Read(thandle_t handle, void* buffer, tmsize_t size) {
  auto* file = static_cast<TiffMemoryFile*>(handle);
  if (file->data_ == nullptr || size < 0 || file->at_ >= file->size_) return 0;
  size_t given = std::min(static_cast<size_t>(size), static_cast<size_t>(file->size_ - file->at_));
  std::memcpy(buffer, file->data_ + file->at_, given);
  file->at_ += given;
  return static_cast<tmsize_t>(given);
}

// Writes at the current place, overwriting what is there (libtiff goes back to patch the
// header's pointer to the directory) and filling any gap left by a seek past the end.
tmsize_t TiffMemoryFile::Write(thandle_t handle, void* buffer, tmsize_t size) {
  auto* file = static_cast<TiffMemoryFile*>(handle);
  if (file->out_ == nullptr || size < 0) return 0;
  std::string& out = *file->out_;
  size_t at = static_cast<size_t>(file->at_), length = static_cast<size_t>(size);
  if (out.size() < at + length) out.resize(at + length, '\0');
  std::memcpy(out.data() + at, buffer, length);
  file->at_ += length;
  return size;
}

toff_t TiffMemoryFile::Seek(thandle_t handle, toff_t offset, int whence) {
  auto* file = static_cast<TiffMemoryFile*>(handle);
  uint64_t base = whence == SEEK_CUR ? file->at_ : whence == SEEK_END ? Size(handle) : 0;
  file->at_ = base + offset;
  return file->at_;
}

int TiffMemoryFile::CloseFile(thandle_t) { return 0; }

toff_t TiffMemoryFile::Size(thandle_t handle) {
  auto* file = static_cast<TiffMemoryFile*>(handle);
  return file->out_ != nullptr ? file->out_->size() : file->size_;
}

int TiffMemoryFile::OnError(TIFF*, void* file, const char*, const char*, va_list) {
  static_cast<TiffMemoryFile*>(file)->failed_ = true;
  return 1;  // handled: the process-wide handler is not called
}

int TiffMemoryFile::OnWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

}  // namespace platform::imaging
