// KV_BUFFER: file transfers and the growing stream.
#include "foundation/buffer.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "platform/runtime/file_open.h"

namespace {

// Closes the file when the caller leaves, whichever way it leaves.
struct FileCloser {
  FILE* file;
  ~FileCloser() {
    if (file != nullptr) fclose(file);
  }
};

// The length of an open file, the position left at the start; -1 when it cannot be told.
long long FileLength(FILE* file) {
  if (fseek(file, 0, SEEK_END) != 0) return -1;
  long size = ftell(file);
  if (size < 0 || fseek(file, 0, SEEK_SET) != 0) return -1;
  return size;
}

// The capacity a write ending at end needs: exactly end without a step, else the current
// capacity grown by whole steps. 0 when that would not fit 32 bits.
unsigned long long NeededCapacity(unsigned int capacity, unsigned int step,
                                  unsigned long long end) {
  if (step == 0) return end;
  unsigned long long c = capacity;
  if (c < end) c += (end - c + step - 1) / step * step;
  return c;
}

}  // namespace

bool KV_BUFFER::ReplaceBlock(unsigned int capacity, unsigned int keep) {
  unsigned char* block = nullptr;
  if (capacity > 0) {
    block = new (std::nothrow) unsigned char[capacity]();
    if (block == nullptr) return false;
    unsigned int kept = keep < capacity ? keep : capacity;
    if (kept > bytes.count) kept = bytes.count;
    if (kept > 0) memcpy(block, bytes.data, kept);
  }
  bytes.Free();
  bytes.data = bytes.cursor = block;
  bytes.count = capacity;
  return true;
}

// ---- files ---------------------------------------------------------------------------------

bool KV_BUFFER::LoadFromFile(const char* path, unsigned int offset, unsigned int size) {
  FileCloser closer{KvOpenFile(path, "rb")};
  if (closer.file == nullptr) return false;
  if (size == 0) {
    long long fileLength = FileLength(closer.file);
    if (fileLength < 0 || fileLength > UINT_MAX) return false;
    size = (unsigned int)fileLength;
  }
  if (offset != 0 && fseek(closer.file, offset, SEEK_SET) != 0) return false;
  if (!ReplaceBlock(size, 0)) return false;
  length = size > 0 ? (unsigned int)fread(bytes.data, 1, size, closer.file) : 0;
  return true;
}

bool KV_BUFFER::SaveToFile(const char* path, unsigned int offset, unsigned int size) {
  FileCloser closer{KvOpenFile(path, "wb")};
  if (closer.file == nullptr) return false;
  if (offset != 0 && fseek(closer.file, offset, SEEK_SET) != 0) return false;
  unsigned int n = (size == 0 || size > length) ? length : size;
  if (n == 0 || bytes.data == nullptr) return false;
  return fwrite(bytes.data, n, 1, closer.file) == 1;
}

bool KV_BUFFER::AppendToFile(const char* path) {
  FileCloser closer{KvOpenFile(path, "ab")};
  if (closer.file == nullptr) return false;
  if (length == 0 || bytes.data == nullptr) return true;
  return fwrite(bytes.data, length, 1, closer.file) == 1;
}

unsigned int KV_BUFFER::GetFileSize(const char* path) {
  if (path == nullptr) return length;
  FileCloser closer{KvOpenFile(path, "rb")};
  if (closer.file == nullptr) return 0;
  long long fileLength = FileLength(closer.file);
  if (fileLength < 0) return 0;
  return fileLength > UINT_MAX ? UINT_MAX : (unsigned int)fileLength;
}

// ---- stream --------------------------------------------------------------------------------

unsigned int KV_BUFFER::Write(const void* data, unsigned int n) {
  if (data == nullptr && n > 0) return 0;
  unsigned int p = Tell();
  unsigned long long end = (unsigned long long)p + n;
  unsigned long long capacity = NeededCapacity(bytes.count, growStep, end);
  if (capacity > UINT_MAX) return 0;
  // Bytes taken from this buffer's own block would be read after that block is freed:
  // they are copied aside first.
  std::unique_ptr<unsigned char[]> aside;
  const unsigned char* source = (const unsigned char*)data;
  if (n > 0 && bytes.data != nullptr && source >= bytes.data && source < bytes.data + bytes.count) {
    aside.reset(new (std::nothrow) unsigned char[n]);
    if (!aside) return 0;
    memcpy(aside.get(), source, n);
    data = aside.get();
  }
  // The block is made anew even when its size stays, which puts the position back to the start.
  if (!ReplaceBlock((unsigned int)capacity, bytes.count)) return 0;
  bytes.Seek(p, 0);
  unsigned int copied = bytes.Write(data, n);
  length = (unsigned int)end;
  return copied;
}

unsigned int KV_BUFFER::WriteString(const char* text, bool withTerminator) {
  if (text == nullptr) return 0;
  size_t n = strlen(text) + (withTerminator ? 1 : 0);
  if (n > UINT_MAX) return 0;
  return Write(text, (unsigned int)n);
}

unsigned int KV_BUFFER::Read(void* out, unsigned int n) {
  unsigned int p = Tell();
  if (out == nullptr || p >= length) return 0;
  unsigned int available = length - p;
  return bytes.Read(out, n < available ? n : available);
}

unsigned int KV_BUFFER::ReadString(KV_STRING& out, bool skipTerminator) {
  if (bytes.IsEmpty()) return 0;
  unsigned int p = Tell();
  // Nothing is left to read: answering 1 for a skipped terminator here would keep a reading
  // loop going forever at the end of the stream.
  if (p >= length) {
    out.Clear();
    return 0;
  }
  unsigned int end = length < bytes.count ? length : bytes.count;
  const unsigned char* start = bytes.data + p;
  const void* zero = memchr(start, 0, end - p);
  unsigned int n = zero ? (unsigned int)((const unsigned char*)zero - start) : end - p;
  out.AssignN((const char*)start, n);
  unsigned int step = n + (skipTerminator ? 1 : 0);
  unsigned int to = (unsigned long long)p + step < length ? p + step : length;
  bytes.Seek(to, 0);
  return step;
}

void KV_BUFFER::Seek(unsigned int offset, bool relative, bool reverse) {
  if (!relative && !reverse)
    bytes.Seek(offset, 0);
  else if (!relative)
    bytes.Seek(length - (offset < length ? offset : length), 0);
  else if (!reverse)
    bytes.Seek(offset, 2);
  else
    bytes.Seek(offset, 3);
  if (Tell() >= length) bytes.Seek(length, 0);
}

void KV_BUFFER::Clear() {
  bytes.Free();
  length = 0;
}

unsigned int KV_BUFFER::FillLength() {
  length = bytes.count;
  return length;
}
