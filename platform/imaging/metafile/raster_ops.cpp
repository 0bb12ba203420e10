// Ternary raster operations bit by bit, and the rule for pixels where nothing is drawn.
#include "platform/imaging/metafile/raster_ops.h"

namespace platform::metafile {

namespace {

constexpr uint32_t kRgb = 0x00ffffff, kOpaque = 0xff000000u;

}  // namespace

// The truth table's halves with the pattern bit 1 and 0 differ exactly when the pattern matters;
// likewise for the source bit (bit 1 of the table's index).
bool UsesPattern(uint8_t op) { return ((op >> 4) ^ op) & 0x0F; }
bool UsesSource(uint8_t op) { return ((op >> 2) ^ op) & 0x33; }

// A mix mode's number less one is its table over (pen << 1 | destination); the ternary table
// repeats it for both values of the source bit.
uint8_t MixOperation(uint32_t mixMode) {
  if (mixMode < kR2Black || mixMode > kR2White) return kRopNop;
  uint32_t table = mixMode - 1, op = 0;
  for (uint32_t i = 0; i < 8; ++i) {
    uint32_t p = i >> 2, d = i & 1;
    op |= ((table >> (p << 1 | d)) & 1) << i;
  }
  return static_cast<uint8_t>(op);
}

RasterOp::RasterOp(uint8_t op) {
  for (int i = 0; i < 8; ++i) table_[i] = ((op >> i) & 1) ? ~0u : 0u;
  overBlack_ = Apply(lastP_, lastS_, 0);
  overWhite_ = Apply(lastP_, lastS_, kRgb);
}

// The table read as a tree of choices, bit by bit: the pattern picks a half, the source a
// quarter, the destination an entry.
uint32_t RasterOp::Apply(uint32_t p, uint32_t s, uint32_t d) const {
  auto pick = [](uint32_t by, uint32_t one, uint32_t zero) { return (by & one) | (~by & zero); };
  uint32_t quarter[4];
  for (int q = 0; q < 4; ++q) quarter[q] = pick(d, table_[2 * q + 1], table_[2 * q]);
  return pick(p, pick(s, quarter[3], quarter[2]), pick(s, quarter[1], quarter[0])) & kRgb;
}

uint32_t RasterOp::Pixel(uint32_t p, uint32_t s, uint32_t d) {
  if (p != lastP_ || s != lastS_) {
    lastP_ = p, lastS_ = s;
    overBlack_ = Apply(p, s, 0);
    overWhite_ = Apply(p, s, kRgb);
  }
  // Every bit kept: the pixel is left as it was, whatever it holds.
  if (overBlack_ == 0 && overWhite_ == kRgb) return d;
  if ((d >> 24) != 0) return kOpaque | Apply(p, s, d & kRgb);
  return kOpaque | (overBlack_ != 0 ? overBlack_ : overWhite_);
}

}  // namespace platform::metafile
