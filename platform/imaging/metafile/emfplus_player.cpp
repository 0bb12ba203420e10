// The walk over an EMF+ file: EMF+ records through their table, EMF records in GetDC segments.
#include "platform/imaging/metafile/emfplus_player.h"

#include "platform/imaging/metafile/emf_player.h"
#include "platform/imaging/metafile/emfplus_draw.h"
#include "platform/imaging/metafile/emfplus_image_draw.h"
#include "platform/imaging/metafile/emfplus_playback.h"
#include "platform/imaging/metafile/emfplus_state.h"
#include "platform/imaging/metafile/emfplus_text.h"
#include "platform/imaging/metafile/emfplus_walk.h"
#include "platform/imaging/metafile/record_reader.h"

namespace platform::metafile {

namespace {

// The header's flags: the reference device was a video display.
constexpr uint32_t kVideoDisplay = 0x1;
// Logical dpi beyond these are taken from the EMF header instead.
constexpr double kLeastDpi = 1, kMostDpi = 1 << 16;

void PlayObject(PlusPlayback& play, const PlusRecord& record) {
  play.objects.Put(record, play.fileSize);
}

// Record types to the functions that play them; a type missing here is passed over.
struct RecordPlayer {
  uint16_t type;
  PlusRecordPlayer play;
};
constexpr RecordPlayer kPlayers[] = {
    {kPlusObject, PlayObject},
    {kPlusClear, PlayClear},
    {kPlusFillRects, PlayFillRects},
    {kPlusDrawRects, PlayDrawRects},
    {kPlusFillPolygon, PlayFillPolygon},
    {kPlusDrawLines, PlayDrawLines},
    {kPlusFillEllipse, PlayFillEllipse},
    {kPlusDrawEllipse, PlayDrawEllipse},
    {kPlusFillPie, PlayFillPie},
    {kPlusDrawPie, PlayDrawPie},
    {kPlusDrawArc, PlayDrawArc},
    {kPlusFillRegion, PlayFillRegion},
    {kPlusFillPath, PlayFillPath},
    {kPlusDrawPath, PlayDrawPath},
    {kPlusFillClosedCurve, PlayFillClosedCurve},
    {kPlusDrawClosedCurve, PlayDrawClosedCurve},
    {kPlusDrawCurve, PlayDrawCurve},
    {kPlusDrawBeziers, PlayDrawBeziers},
    {kPlusDrawImage, PlayDrawImage},
    {kPlusDrawImagePoints, PlayDrawImagePoints},
    {kPlusDrawString, PlayDrawString},
    {kPlusDrawDriverString, PlayDrawDriverString},
    {kPlusSetRenderingOrigin, PlaySetRenderingOrigin},
    {kPlusSetAntiAliasMode, PlaySetAntiAliasMode},
    {kPlusSetTextRenderingHint, PlaySetTextRenderingHint},
    {kPlusSetTextContrast, PlaySetTextContrast},
    {kPlusSetInterpolationMode, PlaySetInterpolationMode},
    {kPlusSetPixelOffsetMode, PlaySetPixelOffsetMode},
    {kPlusSetCompositingMode, PlaySetCompositingMode},
    {kPlusSetCompositingQuality, PlaySetCompositingQuality},
    {kPlusSave, PlaySave},
    {kPlusRestore, PlayRestore},
    {kPlusBeginContainer, PlayBeginContainer},
    {kPlusBeginContainerNoParams, PlayBeginContainerNoParams},
    {kPlusEndContainer, PlayRestore},
    {kPlusSetWorldTransform, PlaySetWorldTransform},
    {kPlusResetWorldTransform, PlayResetWorldTransform},
    {kPlusMultiplyWorldTransform, PlayMultiplyWorldTransform},
    {kPlusTranslateWorldTransform, PlayTranslateWorldTransform},
    {kPlusScaleWorldTransform, PlayScaleWorldTransform},
    {kPlusRotateWorldTransform, PlayRotateWorldTransform},
    {kPlusSetPageTransform, PlaySetPageTransform},
    {kPlusResetClip, PlayResetClip},
    {kPlusSetClipRect, PlaySetClipRect},
    {kPlusSetClipPath, PlaySetClipPath},
    {kPlusSetClipRegion, PlaySetClipRegion},
    {kPlusOffsetClip, PlayOffsetClip},
};

PlusRecordPlayer PlayerOf(uint16_t type) {
  for (const RecordPlayer& entry : kPlayers)
    if (entry.type == type) return entry.play;
  return nullptr;
}

// The header record's logical dpi (the EMF header's device resolution where it names none
// sensible) and whether its reference device was a display.
struct PlusHead {
  double dpiX = 96, dpiY = 96;
  bool video = true;
};

PlusHead ReadPlusHead(const Canvas& canvas, const uint8_t* data, size_t size) {
  const Header& header = canvas.Head();
  PlusHead head;
  head.dpiX = header.unitsPerMmX * 25.4;
  head.dpiY = header.unitsPerMmY * 25.4;
  RecordSpan first;
  size_t next = 0, at = 0;
  PlusRecord record;
  bool damaged = false;
  if (!RecordAt(header, data, size, header.firstRecord, &first, &next) ||
      !NextPlusRecord(first, &at, &record, &damaged))
    return head;
  RecordReader r = record.Reader();
  uint32_t flags = r.U32(4);
  double dpiX = r.U32(8), dpiY = r.U32(12);
  if (r.Short()) return head;
  head.video = (flags & kVideoDisplay) != 0;
  if (dpiX >= kLeastDpi && dpiX <= kMostDpi && dpiY >= kLeastDpi && dpiY <= kMostDpi) {
    head.dpiX = dpiX;
    head.dpiY = dpiY;
  }
  return head;
}

// The EMF records of a GetDC segment draw as GDI draws, inside the EMF+ clip; what they change
// of cairo's state (their clip, their saved states) ends with the segment.
class GetDcSegment {
 public:
  explicit GetDcSegment(PlusGraphics& graphics) : graphics_(graphics) {}
  ~GetDcSegment() { End(); }
  GetDcSegment(const GetDcSegment&) = delete;
  GetDcSegment& operator=(const GetDcSegment&) = delete;

  bool Open() const { return open_; }
  void Begin() {
    End();
    Canvas& canvas = graphics_.Surface();
    depth_ = canvas.SavedDepth();
    cairo_save(canvas.Cairo());
    graphics_.ClipCairo(canvas.Cairo());
    open_ = true;
  }
  void End() {
    if (!open_) return;
    Canvas& canvas = graphics_.Surface();
    while (canvas.SavedDepth() > depth_) canvas.Restore(-1);
    cairo_restore(canvas.Cairo());
    open_ = false;
  }

 private:
  PlusGraphics& graphics_;
  size_t depth_ = 0;
  bool open_ = false;
};

}  // namespace

void PlayEmfPlus(Canvas& canvas, const uint8_t* data, size_t size) {
  PlusHead head = ReadPlusHead(canvas, data, size);
  PlusPlayback play{PlusGraphics(canvas, head.dpiX, head.dpiY, head.video), {}, size};
  GetDcSegment segment(play.graphics);
  bool ended = false;
  ForEachRecord(canvas.Head(), data, size, [&](const RecordSpan& record) {
    if (!IsEmfPlusComment(record)) {
      if (segment.Open()) PlayEmfRecord(canvas, record);
      return;
    }
    ForEachPlusRecord(record, [&](const PlusRecord& plus) {
      segment.End();
      if (ended || canvas.Failed()) return;
      if (plus.type != kPlusObject) play.objects.Interrupt();
      if (plus.type == kPlusEndOfFile) ended = true;
      if (plus.type == kPlusGetDc) segment.Begin();
      if (PlusRecordPlayer player = PlayerOf(plus.type)) player(play, plus);
    });
  });
}

}  // namespace platform::metafile
