// The points and rectangles of EMF+ records and objects: 32-bit floats, 16-bit integers, or
// points relative to the one before in 7 or 15 bits. Floats that are not finite are refused, so
// nothing after them sees a NaN or an infinity.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/imaging/metafile/path.h"
#include "platform/imaging/metafile/record_reader.h"

namespace platform::metafile {

// How points are written.
enum class PointForm { Float, Short, Relative };

struct RectD {
  double x = 0, y = 0, w = 0, h = 0;
};

// The form the compressed and relative bits of a record's or path's flags give.
PointForm PointFormOf(uint32_t flags, uint32_t compressedBit, uint32_t relativeBit);

// count points from at; *end is the offset after them. False when they run past the data, a
// float is not finite, or they would take more memory than the decode budget allows.
bool ReadPoints(RecordReader& r, size_t at, size_t count, PointForm form, std::vector<PointD>* out,
                size_t* end);
// count rectangles (x, y, width, height) from at, as floats or 16-bit integers.
bool ReadRects(RecordReader& r, size_t at, size_t count, bool small, std::vector<RectD>* out);
// One float, false when it lies past the data or is not finite.
bool ReadFloat(RecordReader& r, size_t at, double* out);
// An affine matrix of six floats (m11, m12, m21, m22, dx, dy), false unless all are finite.
bool ReadMatrix(RecordReader& r, size_t at, double out[6]);

}  // namespace platform::metafile
