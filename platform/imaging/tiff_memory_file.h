// A TIFF file in memory for libtiff: read from a block of bytes it borrows, or written into a
// byte string it borrows, through libtiff's client procedures; never a file on disk. libtiff's
// warnings and errors go to the file's own handlers: nothing reaches stderr, and an error is
// remembered, so that a decode that libtiff complained about is refused even where libtiff
// itself carries on.
#pragma once

#include <tiffio.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform::imaging {

class TiffMemoryFile {
 public:
  // A file to read: data stays the caller's and must outlive the file.
  TiffMemoryFile(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  // A file to write, into out (emptied first).
  explicit TiffMemoryFile(std::string* out) : out_(out) { out_->clear(); }
  ~TiffMemoryFile();
  TiffMemoryFile(const TiffMemoryFile&) = delete;
  TiffMemoryFile& operator=(const TiffMemoryFile&) = delete;

  // Opens the file through libtiff, reading its first directory when it is read; no single
  // block libtiff allocates may exceed blockLimit bytes. Null on failure.
  TIFF* Open(size_t blockLimit);
  // Closes it (writing a file's last directory); false when writing failed.
  bool Close();
  // True once libtiff reported an error about the file.
  bool Failed() const { return failed_; }

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  std::string* out_ = nullptr;
  uint64_t at_ = 0;
  TIFF* tiff_ = nullptr;
  bool failed_ = false;

  static tmsize_t Read(thandle_t file, void* buffer, tmsize_t size);
  static tmsize_t Write(thandle_t file, void* buffer, tmsize_t size);
  static toff_t Seek(thandle_t file, toff_t offset, int whence);
  static int CloseFile(thandle_t file);
  static toff_t Size(thandle_t file);
  static int OnError(TIFF*, void* file, const char* module, const char* format, va_list);
  static int OnWarning(TIFF*, void* file, const char* module, const char* format, va_list);
};

}  // namespace platform::imaging
