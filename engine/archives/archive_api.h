// Virtual-file archives: one file holding named blocks of bytes. The engine lists an archive's
// entries into the framework's KV_ARRAY, loads one entry into a file record the caller holds, and
// writes a new archive from records the caller prepared. The engine owns the bytes a loaded
// record carries until KvVirtualFileFree; a record made for saving only borrows the caller's bytes.
//
// The archive file (little-endian):
//    offset 0    4 bytes    magic "KVA1"
//    offset 4    uint32     version, 1
//    offset 8    uint32     entry count N
//    offset 12   N x 264    the directory: one KV_VIRTUAL_FILE_ENTRY per entry, in save order
//    then        the entries' bytes, one after the other in directory order
//  An entry's first word is the offset of its bytes from the start of the file, so the directory
//  is read straight into the entry array. A file whose header, directory or any entry's bytes
//  lie outside it is refused as a whole; names are cut at 255 characters when saved and always
//  end with a zero when read. An archive and every offset in it must stay below 4 GiB.
//
// Why the entry record stays 264 bytes on 64-bit: its first word holds a file offset, never a
// pointer, so it is a 32-bit word on every build and the size (bytes 4 to 7) and the name
// (bytes 8 to 263) sit where the framework reads them. The pointer an archive operation needs
// (the bytes of a loaded entry, or the caller's bytes to save) lives in the file record, whose
// first word is a pointer-sized slot: that record is the caller's memory only, never a file's,
// and grows from 264 to 272 bytes on 64-bit.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/kv_array.h"

// One directory entry of an archive, as the engine fills the framework's entry array.
struct KV_VIRTUAL_FILE_ENTRY {
  uint32_t offset;  // where the entry's bytes start in the archive file (the engine's word)
  uint32_t size;    // the entry's size in bytes
  char name[256];   // zero-terminated name
};
static_assert(sizeof(KV_VIRTUAL_FILE_ENTRY) == 264, "archive entries are 264 bytes");
static_assert(offsetof(KV_VIRTUAL_FILE_ENTRY, size) == 4 &&
                  offsetof(KV_VIRTUAL_FILE_ENTRY, name) == 8,
              "the size sits in bytes 4 to 7, the name in bytes 8 to 263");

// One file record, held by the caller: an entry loaded for reading, or a block prepared for saving.
// All zero is an empty record.
struct KV_VIRTUAL_FILE_RECORD {
  void* data;      // the bytes: engine-owned after a load, the caller's after KvVirtualFileMakeFile
  uint32_t size;   // number of bytes
  uint32_t owned;  // 1 when the engine allocated data and KvVirtualFileFree releases it
  char name[256];  // zero-terminated name
};
static_assert(sizeof(KV_VIRTUAL_FILE_RECORD) == sizeof(void*) + 8 + 256,
              "the file record: a pointer slot, size, ownership and a 256-byte name");

extern "C" {

// Lists the archive at path into entries (resized to the entry count, replacing what it held).
// 0 when the file cannot be read or is not a whole archive; entries is then left as it was.
uint8_t KvVirtualFileInfoOpen(const char* path, KV_ARRAY<KV_VIRTUAL_FILE_ENTRY>* entries);
// Frees the entry array; 0 for a null array.
uint8_t KvVirtualFileInfoClose(KV_ARRAY<KV_VIRTUAL_FILE_ENTRY>* entries);
// Reads the bytes of entry (of the archive at path) into record, replacing nothing the record
// held; 0, with the record empty, when the archive or the entry cannot be read.
uint8_t KvVirtualFileLoad(void* record, const char* path, const KV_VIRTUAL_FILE_ENTRY* entry);
// The size in bytes of the loaded record; 0 for a null record.
uint32_t KvVirtualFileSize(void* record);
// Copies size bytes of the loaded record into dest; 0 when the record holds fewer bytes or dest
// is null while size is not 0.
uint8_t KvVirtualFileGetData(void* record, void* dest, uint32_t size);
// Releases what KvVirtualFileLoad put into the record and empties it.
void KvVirtualFileFree(void* record);
// Prepares record for saving: name (cut at 255 characters) and the caller's length bytes at data,
// which must stay valid until KvVirtualFileSave.
void KvVirtualFileMakeFile(void* record, const char* name, const void* data, uint32_t length);
// Writes an archive of count prepared records to path (option is not used). 0 when the file
// cannot be written or would reach 4 GiB; a file that failed half-way is removed.
uint8_t KvVirtualFileSave(const char* path, void* records, uint32_t count, uint32_t option);

}  // extern "C"
