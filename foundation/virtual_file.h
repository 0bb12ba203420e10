// KV_VIRTUAL_FILE_INFO: the framework's side of the engine's virtual-file archives. It keeps an
// archive's path and the entry records the engine lists (the engine fills and frees the array),
// loads one entry into a byte buffer, and writes a new archive from named buffers.
// KV_VIRTUAL_FILE_DATA names one buffer to save; it borrows the buffer.
#pragma once

#include "engine/archives/archive_api.h"
#include "engine/kv_array.h"
#include "foundation/buffer.h"
#include "foundation/string.h"

// One file for KV_VIRTUAL_FILE_INFO::Save: a name and the buffer holding its bytes (not owned).
struct KV_VIRTUAL_FILE_DATA {
  KV_STRING name;
  KV_BUFFER* buffer = nullptr;
};

class KV_VIRTUAL_FILE_INFO {
 public:
  KV_STRING path;                           // the archive's path, kept by Open
  KV_ARRAY<KV_VIRTUAL_FILE_ENTRY> entries;  // filled and freed by the engine

  // Lists the archive's entries; false (path and entries unchanged) when the engine cannot.
  bool Open(const char* archivePath);
  // Forgets the path and lets the engine free the entries; the engine's result.
  unsigned char Close();
  // The number of entries.
  unsigned int GetCount() const { return entries.IsEmpty() ? 0 : entries.count; }
  // Entry i's name; null when there is no entry i.
  const char* GetEntryName(unsigned int i) const;
  // Entry i's size in bytes; 0 when there is no entry i.
  unsigned int GetEntrySize(unsigned int i) const;
  // The first entry named name: index := its position, true; false (index untouched) when none.
  bool Find(const char* name, unsigned int& index) const;
  // Replaces the buffer's contents by entry i's bytes (length the entry's size, position 0);
  // false, with the buffer unchanged, when there is no open archive, no entry i, or the engine
  // cannot read it.
  bool LoadEntry(KV_BUFFER* buffer, unsigned int i);
  // Writes a new archive at path of count files, each named and holding its buffer's length
  // bytes (a file without a buffer is an empty entry); false for no files or when the engine
  // cannot write the archive.
  static bool Save(const char* path, const KV_VIRTUAL_FILE_DATA* files, unsigned int count);
};
