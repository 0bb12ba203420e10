// The archive file's fixed parts, shared by the reader and the writer: the header, the limits, and
// the check that a file is a whole archive. The layout is documented in archive_api.h.
#pragma once

#include <cstdint>
#include <cstdio>

#include "engine/archives/archive_api.h"

namespace kv::engine::archives {

constexpr char kMagic[4] = {'K', 'V', 'A', '1'};
constexpr uint32_t kVersion = 1;
constexpr uint64_t kHeaderSize = 12;
constexpr uint64_t kEntrySize = sizeof(KV_VIRTUAL_FILE_ENTRY);
// Every offset must fit the entry's 32-bit word.
constexpr uint64_t kMaxArchiveSize = 0xFFFFFFFFull;

struct Header {
  char magic[4];
  uint32_t version;
  uint32_t count;
};
static_assert(sizeof(Header) == kHeaderSize, "the archive header is 12 bytes");

// The length of an open file in bytes, the position left at the start; -1 when it cannot be told.
int64_t FileLength(FILE* file);

// Reads and checks the header of an open archive of fileLength bytes: the magic, the version,
// and a directory that fits the file. False for anything else.
bool ReadHeader(FILE* file, int64_t fileLength, Header* header);

// True when the entry's bytes lie inside the file, after the directory of count entries.
bool EntryFits(const KV_VIRTUAL_FILE_ENTRY& entry, uint32_t count, int64_t fileLength);

}  // namespace kv::engine::archives
