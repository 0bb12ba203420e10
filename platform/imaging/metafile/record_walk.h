// The record structure of a metafile, checked whole before anything is drawn: each record's
// size must be at least its own header, hold whole units (words of a WMF, four bytes of an EMF)
// and end inside the file, and the records must reach an end-of-file record. A file cut short,
// a record running past the end, and a zero or huge size are all refused here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/imaging/metafile/metafile_header.h"

namespace platform::metafile {

struct RecordSpan {
  uint32_t type = 0;              // a WMF's function number, an EMF's record type
  const uint8_t* data = nullptr;  // the whole record, its size and type fields included
  size_t size = 0;
};

// The record at offset at of the file, or false when it is damaged; *next is the offset after it.
bool RecordAt(const Header& header, const uint8_t* data, size_t size, size_t at, RecordSpan* out,
              size_t* next);
// True when every record from the header's first is whole and an end-of-file record is reached.
bool RecordsWhole(const Header& header, const uint8_t* data, size_t size);

}  // namespace platform::metafile
