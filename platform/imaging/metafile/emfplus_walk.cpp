// Walking the EMF+ records of EMF comments.
#include "platform/imaging/metafile/emfplus_walk.h"

#include "platform/imaging/metafile/record_reader.h"

namespace platform::metafile {

namespace {

constexpr uint32_t kEmfComment = 70;
// A comment record: type, size, the size of its data, then the data; EMF+ records follow the
// mark at the data's start.
constexpr size_t kCommentData = 12;
constexpr size_t kFirstPlusRecord = kCommentData + 4;

// The end of the comment's data within the record.
size_t CommentEnd(const RecordSpan& comment) {
  RecordReader r(comment.data, comment.size);
  size_t dataSize = r.U32(8);
  if (r.Short() || dataSize > comment.size - kCommentData) return comment.size;
  return kCommentData + dataSize;
}

}  // namespace

bool IsEmfPlusComment(const RecordSpan& record) {
  RecordReader r(record.data, record.size);
  return record.type == kEmfComment && r.U32(kCommentData) == kEmfPlusMark && !r.Short();
}

bool NextPlusRecord(const RecordSpan& comment, size_t* at, PlusRecord* out, bool* damaged) {
  size_t end = CommentEnd(comment);
  size_t from = kFirstPlusRecord + *at;
  if (from > end || end - from < kPlusRecordHeader) return false;
  RecordReader r(comment.data + from, end - from);
  size_t size = r.U32(4), dataSize = r.U32(8);
  if (size < kPlusRecordHeader || size > end - from || dataSize > size - kPlusRecordHeader) {
    *damaged = true;
    return false;
  }
  out->type = r.U16(0);
  out->flags = r.U16(2);
  out->data = comment.data + from + kPlusRecordHeader;
  out->size = dataSize;
  *at += size;
  return true;
}

bool HasEmfPlus(const Header& header, const uint8_t* data, size_t size) {
  RecordSpan record;
  size_t next = 0, at = 0;
  PlusRecord first;
  bool damaged = false;
  return RecordAt(header, data, size, header.firstRecord, &record, &next) &&
         IsEmfPlusComment(record) && NextPlusRecord(record, &at, &first, &damaged) &&
         first.type == kPlusHeader;
}

bool EmfPlusWhole(const Header& header, const uint8_t* data, size_t size) {
  bool whole = true;
  ForEachRecord(header, data, size, [&whole](const RecordSpan& record) {
    if (IsEmfPlusComment(record) && !ForEachPlusRecord(record, [](const PlusRecord&) {}))
      whole = false;
  });
  return whole;
}

}  // namespace platform::metafile
