// Reading archives: listing the directory into the framework's entry array and loading one entry's
// bytes into a caller's file record. Every check happens before anything is handed back, so a
// truncated or foreign file leaves the caller's array and record as they were (or empty).
#include <cstdlib>
#include <cstring>
#include <new>

#include "engine/archives/archive_api.h"
#include "engine/archives/archive_format.h"
#include "engine/trace/trace.h"
#include "platform/runtime/file_open.h"

namespace kv::engine::archives {

int64_t FileLength(FILE* file) {
  if (fseek(file, 0, SEEK_END) != 0) return -1;
  long length = ftell(file);
  if (length < 0 || fseek(file, 0, SEEK_SET) != 0) return -1;
  return length;
}

bool ReadHeader(FILE* file, int64_t fileLength, Header* header) {
  if (fileLength < static_cast<int64_t>(kHeaderSize)) return false;
  if (fread(header, sizeof(Header), 1, file) != 1) return false;
  if (memcmp(header->magic, kMagic, sizeof kMagic) != 0 || header->version != kVersion)
    return false;
  uint64_t directoryEnd = kHeaderSize + kEntrySize * header->count;
  return directoryEnd <= static_cast<uint64_t>(fileLength);
}

bool EntryFits(const KV_VIRTUAL_FILE_ENTRY& entry, uint32_t count, int64_t fileLength) {
  uint64_t directoryEnd = kHeaderSize + kEntrySize * count;
  uint64_t end = static_cast<uint64_t>(entry.offset) + entry.size;
  return entry.offset >= directoryEnd && end <= static_cast<uint64_t>(fileLength);
}

namespace {

// Closes the file when the reader leaves, whichever way it leaves.
struct FileCloser {
  FILE* file;
  ~FileCloser() {
    if (file != nullptr) fclose(file);
  }
};

KV_VIRTUAL_FILE_RECORD* AsRecord(void* record) {
  return static_cast<KV_VIRTUAL_FILE_RECORD*>(record);
}

// Reads the whole directory into a new block; null when an entry is unreadable or out of the file.
KV_VIRTUAL_FILE_ENTRY* ReadDirectory(FILE* file, const Header& header, int64_t fileLength) {
  auto* directory = new (std::nothrow) KV_VIRTUAL_FILE_ENTRY[header.count];
  if (directory == nullptr) return nullptr;
  if (fread(directory, sizeof(KV_VIRTUAL_FILE_ENTRY), header.count, file) != header.count) {
    delete[] directory;
    return nullptr;
  }
  for (uint32_t i = 0; i < header.count; ++i) {
    if (!EntryFits(directory[i], header.count, fileLength)) {
      delete[] directory;
      return nullptr;
    }
    directory[i].name[sizeof directory[i].name - 1] = 0;
  }
  return directory;
}

}  // namespace
}  // namespace kv::engine::archives

using namespace kv::engine;
using namespace kv::engine::archives;

extern "C" {

uint8_t KvVirtualFileInfoOpen(const char* path, KV_ARRAY<KV_VIRTUAL_FILE_ENTRY>* entries) {
  if (trace::Call("KvVirtualFileInfoOpen", path, entries)) return 0;
  if (path == nullptr || entries == nullptr) return 0;
  FileCloser closer{KvOpenFile(path, "rb")};
  if (closer.file == nullptr) return 0;
  int64_t length = FileLength(closer.file);
  Header header;
  if (!ReadHeader(closer.file, length, &header)) return 0;
  if (header.count == 0) {
    entries->Free();
    return 1;
  }
  KV_VIRTUAL_FILE_ENTRY* directory = ReadDirectory(closer.file, header, length);
  if (directory == nullptr) return 0;
  // The array's own allocation, so that the framework's destructor frees it the same way.
  entries->Resize(header.count);
  memcpy(entries->data, directory, sizeof(KV_VIRTUAL_FILE_ENTRY) * header.count);
  delete[] directory;
  return 1;
}

uint8_t KvVirtualFileInfoClose(KV_ARRAY<KV_VIRTUAL_FILE_ENTRY>* entries) {
  if (trace::Call("KvVirtualFileInfoClose", entries)) return 0;
  if (entries == nullptr) return 0;
  entries->Free();
  return 1;
}

uint8_t KvVirtualFileLoad(void* record, const char* path, const KV_VIRTUAL_FILE_ENTRY* entry) {
  if (trace::Call("KvVirtualFileLoad", record, path, entry)) return 0;
  if (record == nullptr) return 0;
  KV_VIRTUAL_FILE_RECORD* out = AsRecord(record);
  memset(out, 0, sizeof *out);
  if (path == nullptr || entry == nullptr) return 0;
  FileCloser closer{KvOpenFile(path, "rb")};
  if (closer.file == nullptr) return 0;
  // The entry comes from the caller: check it against this file as it is now.
  int64_t length = FileLength(closer.file);
  Header header;
  if (!ReadHeader(closer.file, length, &header) || !EntryFits(*entry, header.count, length))
    return 0;
  void* bytes = nullptr;
  if (entry->size > 0) {
    bytes = malloc(entry->size);
    if (bytes == nullptr) return 0;
    if (fseek(closer.file, entry->offset, SEEK_SET) != 0 ||
        fread(bytes, 1, entry->size, closer.file) != entry->size) {
      free(bytes);
      return 0;
    }
  }
  out->data = bytes;
  out->size = entry->size;
  out->owned = bytes != nullptr ? 1 : 0;
  memcpy(out->name, entry->name, strnlen(entry->name, sizeof out->name - 1));
  return 1;
}

uint32_t KvVirtualFileSize(void* record) {
  if (trace::Call("KvVirtualFileSize", record)) return 0;
  return record != nullptr ? AsRecord(record)->size : 0;
}

uint8_t KvVirtualFileGetData(void* record, void* dest, uint32_t size) {
  if (trace::Call("KvVirtualFileGetData", record, dest, size)) return 0;
  if (record == nullptr) return 0;
  const KV_VIRTUAL_FILE_RECORD* from = AsRecord(record);
  if (size > from->size || (size > 0 && (dest == nullptr || from->data == nullptr))) return 0;
  if (size > 0) memcpy(dest, from->data, size);
  return 1;
}

void KvVirtualFileFree(void* record) {
  if (trace::Call("KvVirtualFileFree", record)) return;
  if (record == nullptr) return;
  KV_VIRTUAL_FILE_RECORD* held = AsRecord(record);
  if (held->owned) free(held->data);
  memset(held, 0, sizeof *held);
}

}  // extern "C"
