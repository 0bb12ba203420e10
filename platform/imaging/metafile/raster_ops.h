// Raster operations: how GDI combines the pattern (the selected brush), the source (a bitmap) and
// the destination (what is drawn) into a new pixel. A ternary operation is named by the low byte
// of its code's high word, its index, which is its truth table: bit (P << 2 | S << 1 | D) of the
// index is the result for those three input bits, applied to every bit of every colour channel.
// The sixteen mix modes of pens and brushes (SetROP2) are functions of the pen or brush and the
// destination, written here as the ternary operations that ignore the source.
//
// Where nothing is drawn yet (a transparent pixel) the operation acts on each bit of the pixel
// either by keeping, inverting or setting it. A pixel it keeps whole stays as it was,
// transparent; otherwise the destination counts as black, or as white where black would make the
// result black. So ANDing a mask sees white and ORing or XORing sees black, and a masked picture
// drawn with SRCPAINT then SRCAND stays transparent around it.
#pragma once

#include <cstdint>

namespace platform::metafile {

// Indices of the operations the reader treats specially.
constexpr uint8_t kRopBlackness = 0x00, kRopNop = 0xAA, kRopSrcCopy = 0xCC, kRopPatCopy = 0xF0,
                  kRopWhiteness = 0xFF;

// The mix modes of SetROP2.
enum MixMode : uint32_t {
  kR2Black = 1,
  kR2NotMergePen = 2,
  kR2MaskNotPen = 3,
  kR2NotCopyPen = 4,
  kR2MaskPenNot = 5,
  kR2Not = 6,
  kR2XorPen = 7,
  kR2NotMaskPen = 8,
  kR2MaskPen = 9,
  kR2NotXorPen = 10,
  kR2Nop = 11,
  kR2MergeNotPen = 12,
  kR2CopyPen = 13,
  kR2MergePenNot = 14,
  kR2MergePen = 15,
  kR2White = 16,
};

// The index of a ternary raster operation's code.
inline uint8_t RopIndex(uint32_t rop) { return static_cast<uint8_t>(rop >> 16); }
// Whether the operation's result depends on the pattern, or on the source.
bool UsesPattern(uint8_t op);
bool UsesSource(uint8_t op);
// The ternary operation of a mix mode, the brush or pen standing as the pattern; a number that
// names no mode gives the operation that leaves the destination alone.
uint8_t MixOperation(uint32_t mixMode);

// A ternary operation made ready to combine many pixels.
class RasterOp {
 public:
  explicit RasterOp(uint8_t op);
  // The operation on three colours, R, G, B in the low three bytes; the result's high byte is 0.
  uint32_t Apply(uint32_t p, uint32_t s, uint32_t d) const;
  // The picture's new pixel from its old one d (a premultiplied cairo word, perhaps transparent)
  // and opaque p and s, under the rule above for where nothing is drawn.
  uint32_t Pixel(uint32_t p, uint32_t s, uint32_t d);

 private:
  uint32_t table_[8];  // each bit of the index as a mask of 0 or all ones
  // What the operation gives over black and over white, for the last pattern and source seen:
  // runs of one colour are common, and these decide what happens where nothing is drawn.
  uint32_t lastP_ = 0, lastS_ = 0, overBlack_ = 0, overWhite_ = 0;
};

}  // namespace platform::metafile
