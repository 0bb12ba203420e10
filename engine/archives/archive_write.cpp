// Writing archives: records prepared one by one with the caller's bytes, then written as a header,
// the directory and the entries' bytes. The offsets are all known before the first byte is
// written, so the file is written front to back in one pass.
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/archives/archive_api.h"
#include "engine/archives/archive_format.h"
#include "engine/trace/trace.h"
#include "platform/runtime/file_open.h"

namespace kv::engine::archives {
namespace {

// The directory for the records, data placed after it in record order; false when the archive
// would not fit the 32-bit offsets.
bool BuildDirectory(const KV_VIRTUAL_FILE_RECORD* records, uint32_t count,
                    std::vector<KV_VIRTUAL_FILE_ENTRY>* directory) {
  uint64_t offset = kHeaderSize + kEntrySize * count;
  directory->assign(count, KV_VIRTUAL_FILE_ENTRY{});
  for (uint32_t i = 0; i < count; ++i) {
    KV_VIRTUAL_FILE_ENTRY& entry = (*directory)[i];
    entry.offset = static_cast<uint32_t>(offset);
    entry.size = records[i].data != nullptr ? records[i].size : 0;
    memcpy(entry.name, records[i].name, sizeof entry.name);
    entry.name[sizeof entry.name - 1] = 0;
    offset += entry.size;
    if (offset > kMaxArchiveSize) return false;
  }
  return true;
}

bool WriteAll(FILE* file, const void* bytes, size_t size) {
  return size == 0 || fwrite(bytes, size, 1, file) == 1;
}

bool WriteArchive(FILE* file, const KV_VIRTUAL_FILE_RECORD* records, uint32_t count,
                  const std::vector<KV_VIRTUAL_FILE_ENTRY>& directory) {
  Header header;
  memcpy(header.magic, kMagic, sizeof kMagic);
  header.version = kVersion;
  header.count = count;
  if (!WriteAll(file, &header, sizeof header)) return false;
  if (!WriteAll(file, directory.data(), sizeof(KV_VIRTUAL_FILE_ENTRY) * count)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    if (!WriteAll(file, records[i].data, directory[i].size)) return false;
  }
  return true;
}

}  // namespace
}  // namespace kv::engine::archives

using namespace kv::engine;
using namespace kv::engine::archives;

extern "C" {

void KvVirtualFileMakeFile(void* record, const char* name, const void* data, uint32_t length) {
  if (trace::Call("KvVirtualFileMakeFile", record, name, data, length)) return;
  if (record == nullptr) return;
  auto* made = static_cast<KV_VIRTUAL_FILE_RECORD*>(record);
  memset(made, 0, sizeof *made);
  made->data = const_cast<void*>(data);
  made->size = data != nullptr ? length : 0;
  if (name != nullptr) memcpy(made->name, name, strnlen(name, sizeof made->name - 1));
}

uint8_t KvVirtualFileSave(const char* path, void* records, uint32_t count, uint32_t option) {
  if (trace::Call("KvVirtualFileSave", path, records, count, option)) return 0;
  if (path == nullptr || (records == nullptr && count > 0)) return 0;
  const auto* made = static_cast<const KV_VIRTUAL_FILE_RECORD*>(records);
  std::vector<KV_VIRTUAL_FILE_ENTRY> directory;
  if (!BuildDirectory(made, count, &directory)) return 0;
  FILE* file = KvOpenFile(path, "wb");
  if (file == nullptr) return 0;
  bool written = WriteArchive(file, made, count, directory);
  if (fclose(file) != 0) written = false;
  // A half-written archive would be refused by every reader; leave no such file behind.
  if (!written) KvRemoveFile(path);
  return written ? 1 : 0;
}

}  // extern "C"
