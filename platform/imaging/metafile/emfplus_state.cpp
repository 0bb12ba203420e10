// Playing the EMF+ state records.
#include "platform/imaging/metafile/emfplus_state.h"

#include <cmath>
#include <numbers>

#include "platform/imaging/metafile/emfplus_points.h"
#include "platform/imaging/metafile/emfplus_region.h"

namespace platform::metafile {

namespace {

// The combine mode of the clip records, in the low four bits of the flags' high byte.
uint32_t CombineMode(const PlusRecord& record) { return record.flags >> 8 & 0x0F; }
// The small settings the hint records carry in their flags' low byte.
uint32_t LowByte(const PlusRecord& record) { return record.flags & 0xFF; }

void Transform(PlusPlayback& play, const PlusRecord& record, const cairo_matrix_t& by) {
  play.graphics.MultiplyWorld(by, (record.flags & kPlusAppend) != 0);
}

bool ReadPair(const PlusRecord& record, double* a, double* b) {
  RecordReader r = record.Reader();
  return ReadFloat(r, 0, a) && ReadFloat(r, 4, b);
}

void Clip(PlusPlayback& play, const PlusRecord& record, bool placed, const PixelRegion& region) {
  PixelRegion::Op op;
  if (!placed) {
    play.graphics.Surface().Fail();
    return;
  }
  if (CombineOp(CombineMode(record), &op)) play.graphics.Clip(region, op);
}

}  // namespace

// ---- transforms ------------------------------------------------------------------------------

void PlaySetWorldTransform(PlusPlayback& play, const PlusRecord& record) {
  RecordReader r = record.Reader();
  double m[6];
  if (ReadMatrix(r, 0, m))
    cairo_matrix_init(&play.graphics.State().world, m[0], m[1], m[2], m[3], m[4], m[5]);
}

void PlayResetWorldTransform(PlusPlayback& play, const PlusRecord&) {
  cairo_matrix_init_identity(&play.graphics.State().world);
}

void PlayMultiplyWorldTransform(PlusPlayback& play, const PlusRecord& record) {
  RecordReader r = record.Reader();
  double m[6];
  cairo_matrix_t by;
  if (!ReadMatrix(r, 0, m)) return;
  cairo_matrix_init(&by, m[0], m[1], m[2], m[3], m[4], m[5]);
  Transform(play, record, by);
}

void PlayTranslateWorldTransform(PlusPlayback& play, const PlusRecord& record) {
  double dx = 0, dy = 0;
  cairo_matrix_t by;
  if (!ReadPair(record, &dx, &dy)) return;
  cairo_matrix_init_translate(&by, dx, dy);
  Transform(play, record, by);
}

void PlayScaleWorldTransform(PlusPlayback& play, const PlusRecord& record) {
  double sx = 0, sy = 0;
  cairo_matrix_t by;
  if (!ReadPair(record, &sx, &sy)) return;
  cairo_matrix_init_scale(&by, sx, sy);
  Transform(play, record, by);
}

void PlayRotateWorldTransform(PlusPlayback& play, const PlusRecord& record) {
  RecordReader r = record.Reader();
  double degrees = 0;
  cairo_matrix_t by;
  if (!ReadFloat(r, 0, &degrees)) return;
  // Positive angles turn clockwise as seen, with y pointing down.
  cairo_matrix_init_rotate(&by, std::fmod(degrees, 360) * std::numbers::pi / 180);
  Transform(play, record, by);
}

void PlaySetPageTransform(PlusPlayback& play, const PlusRecord& record) {
  RecordReader r = record.Reader();
  double scale = 0;
  if (ReadFloat(r, 0, &scale)) play.graphics.SetPage(LowByte(record), scale);
}

// ---- saved states and containers -------------------------------------------------------------

void PlaySave(PlusPlayback& play, const PlusRecord& record) {
  RecordReader r = record.Reader();
  uint32_t index = r.U32(0);
  if (!r.Short()) play.graphics.Save(index);
}

// Restore and EndContainer both return to the state saved under their index.
void PlayRestore(PlusPlayback& play, const PlusRecord& record) {
  RecordReader r = record.Reader();
  uint32_t index = r.U32(0);
  if (!r.Short()) play.graphics.Restore(index);
}

void PlayBeginContainer(PlusPlayback& play, const PlusRecord& record) {
  RecordReader r = record.Reader();
  std::vector<RectD> rects;
  uint32_t index = r.U32(32);
  if (r.Short() || !ReadRects(r, 0, 2, false, &rects)) return;
  play.graphics.BeginContainer(index, rects[0], rects[1], record.flags >> 8);
}

void PlayBeginContainerNoParams(PlusPlayback& play, const PlusRecord& record) {
  RecordReader r = record.Reader();
  uint32_t index = r.U32(0);
  if (!r.Short()) play.graphics.BeginContainer(index);
}

// ---- clipping --------------------------------------------------------------------------------

void PlayResetClip(PlusPlayback& play, const PlusRecord&) { play.graphics.ResetClip(); }

void PlaySetClipRect(PlusPlayback& play, const PlusRecord& record) {
  RecordReader r = record.Reader();
  std::vector<RectD> rects;
  if (!ReadRects(r, 0, 1, false, &rects)) return;
  PixelRegion region;
  bool placed = PlaceRect(rects[0], play.graphics.Place(), &region);
  Clip(play, record, placed, region);
}

void PlaySetClipPath(PlusPlayback& play, const PlusRecord& record) {
  const PlusPath* path = play.objects.Path(record.Slot());
  if (path == nullptr) return;
  PixelRegion region;
  bool placed = PlacePath(*path, false, play.graphics.Place(), &region);
  Clip(play, record, placed, region);
}

void PlaySetClipRegion(PlusPlayback& play, const PlusRecord& record) {
  const PlusRegion* object = play.objects.Region(record.Slot());
  if (object == nullptr) return;
  PixelRegion region;
  bool placed = PlaceRegion(*object, play.graphics.Place(), &region);
  Clip(play, record, placed, region);
}

void PlayOffsetClip(PlusPlayback& play, const PlusRecord& record) {
  double dx = 0, dy = 0;
  if (ReadPair(record, &dx, &dy)) play.graphics.OffsetClip(dx, dy);
}

// ---- rendering hints -------------------------------------------------------------------------

void PlaySetRenderingOrigin(PlusPlayback& play, const PlusRecord& record) {
  RecordReader r = record.Reader();
  int32_t x = r.S32(0), y = r.S32(4);
  if (r.Short()) return;
  play.graphics.State().originX = x;
  play.graphics.State().originY = y;
}

void PlaySetAntiAliasMode(PlusPlayback& play, const PlusRecord& record) {
  play.graphics.State().antialias = (record.flags & 1) != 0;
}

void PlaySetTextRenderingHint(PlusPlayback& play, const PlusRecord& record) {
  play.graphics.State().textRenderingHint = LowByte(record);
}

void PlaySetTextContrast(PlusPlayback& play, const PlusRecord& record) {
  play.graphics.State().textContrast = record.flags & 0x0FFF;
}

void PlaySetInterpolationMode(PlusPlayback& play, const PlusRecord& record) {
  play.graphics.State().interpolation = LowByte(record);
}

void PlaySetPixelOffsetMode(PlusPlayback& play, const PlusRecord& record) {
  play.graphics.State().pixelOffset = LowByte(record);
}

void PlaySetCompositingMode(PlusPlayback& play, const PlusRecord& record) {
  play.graphics.State().sourceCopy = LowByte(record) == 1;
}

void PlaySetCompositingQuality(PlusPlayback& play, const PlusRecord& record) {
  play.graphics.State().compositingQuality = LowByte(record);
}

}  // namespace platform::metafile
