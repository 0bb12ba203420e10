// KV_VIRTUAL_FILE_INFO: listing, loading and saving archives through the engine's calls.
#include "foundation/virtual_file.h"

#include <cstring>
#include <new>

bool KV_VIRTUAL_FILE_INFO::Open(const char* archivePath) {
  if (KvVirtualFileInfoOpen(archivePath, &entries) == 0) return false;
  path = archivePath;
  return true;
}

unsigned char KV_VIRTUAL_FILE_INFO::Close() {
  path = "";
  return KvVirtualFileInfoClose(&entries);
}

const char* KV_VIRTUAL_FILE_INFO::GetEntryName(unsigned int i) const {
  return i < GetCount() ? entries.data[i].name : nullptr;
}

unsigned int KV_VIRTUAL_FILE_INFO::GetEntrySize(unsigned int i) const {
  return i < GetCount() ? entries.data[i].size : 0;
}

bool KV_VIRTUAL_FILE_INFO::Find(const char* name, unsigned int& index) const {
  if (name == nullptr) return false;
  for (unsigned int i = 0; i < GetCount(); ++i) {
    if (strcmp(entries.data[i].name, name) == 0) {
      index = i;
      return true;
    }
  }
  return false;
}

bool KV_VIRTUAL_FILE_INFO::LoadEntry(KV_BUFFER* buffer, unsigned int i) {
  if (buffer == nullptr || path.Length() == 0 || i >= GetCount()) return false;
  KV_VIRTUAL_FILE_RECORD record = {};
  if (KvVirtualFileLoad(&record, path, &entries.data[i]) == 0) return false;
  unsigned int size = KvVirtualFileSize(&record);
  // The bytes go into a block of their own first, so a failed copy leaves the buffer as it was.
  KV_BUFFER loaded;
  bool ok = true;
  if (size > 0) {
    loaded.bytes.data = loaded.bytes.cursor = new (std::nothrow) unsigned char[size];
    ok = loaded.bytes.data != nullptr;
    loaded.bytes.count = ok ? size : 0;
  }
  ok = ok && KvVirtualFileGetData(&record, loaded.bytes.data, size) != 0;
  KvVirtualFileFree(&record);
  if (!ok) return false;
  buffer->Clear();
  buffer->bytes.data = buffer->bytes.cursor = loaded.bytes.data;
  buffer->bytes.count = loaded.bytes.count;
  buffer->length = size;
  loaded.bytes.data = loaded.bytes.cursor = nullptr;
  loaded.bytes.count = 0;
  return true;
}

bool KV_VIRTUAL_FILE_INFO::Save(const char* path, const KV_VIRTUAL_FILE_DATA* files,
                                unsigned int count) {
  if (files == nullptr || count == 0) return false;
  KV_VIRTUAL_FILE_RECORD* records = new (std::nothrow) KV_VIRTUAL_FILE_RECORD[count]();
  if (records == nullptr) return false;
  for (unsigned int i = 0; i < count; ++i) {
    const KV_BUFFER* buffer = files[i].buffer;
    KvVirtualFileMakeFile(&records[i], files[i].name, buffer ? buffer->GetData() : nullptr,
                          buffer ? buffer->length : 0);
  }
  unsigned char saved = KvVirtualFileSave(path, records, count, 0);
  delete[] records;
  return saved != 0;
}
