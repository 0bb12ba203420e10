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

// The sum of the table's minterms: each set bit i of the index contributes the bits where the
// three inputs equal i's three bits.
uint32_t ApplyRop(uint8_t op, uint32_t p, uint32_t s, uint32_t d) {
  uint32_t out = 0;
  for (uint32_t i = 0; i < 8; ++i) {
    if (((op >> i) & 1) == 0) continue;
    out |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return out & kRgb;
}

uint32_t RasterPixel(uint8_t op, uint32_t p, uint32_t s, uint32_t d) {
  uint32_t overBlack = ApplyRop(op, p, s, 0), overWhite = ApplyRop(op, p, s, kRgb);
  // Every bit kept: the pixel is left as it was, whatever it holds.
  if (overBlack == 0 && overWhite == kRgb) return d;
  if ((d >> 24) != 0) return kOpaque | ApplyRop(op, p, s, d & kRgb);
  return kOpaque | (overBlack != 0 ? overBlack : overWhite);
}

}  // namespace platform::metafile
