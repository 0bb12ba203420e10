// Checking a metafile whole, then playing it onto a canvas of its size.
#include "platform/imaging/metafile/metafile_decode.h"

#include <cstdint>

#include "platform/imaging/decode_budget.h"
#include "platform/imaging/metafile/canvas.h"
#include "platform/imaging/metafile/emf_player.h"
#include "platform/imaging/metafile/emfplus_player.h"
#include "platform/imaging/metafile/emfplus_walk.h"
#include "platform/imaging/metafile/metafile_header.h"
#include "platform/imaging/metafile/record_walk.h"
#include "platform/imaging/metafile/wmf_player.h"

namespace platform::metafile {

bool MetafileSides(const uint8_t* data, size_t size, int* w, int* h) {
  Header header;
  if (!ReadHeader(data, size, &header)) return false;
  *w = header.width;
  *h = header.height;
  return true;
}

namespace {

constexpr size_t kShapeBytesPerFileByte = 32;

}  // namespace

size_t MetafileBlockLimit(int w, int h, size_t fileSize) {
  size_t limit = imaging::DecodeBlockLimit(w, h, fileSize);
  if (fileSize > (SIZE_MAX - limit) / kShapeBytesPerFileByte) return SIZE_MAX;
  return limit + kShapeBytesPerFileByte * fileSize;
}

bool DecodeMetafile(const uint8_t* data, size_t size, int* w, int* h, std::vector<uint8_t>* rgba) {
  Header header;
  if (!ReadHeader(data, size, &header) || !RecordsWhole(header, data, size)) return false;
  bool plus = header.kind == Kind::Emf && HasEmfPlus(header, data, size);
  if (plus && !EmfPlusWhole(header, data, size)) return false;
  // The picture and every bitmap in the file take their memory under the budget of a picture of
  // the header's size, and no shape takes more than the file's points justify.
  imaging::DecodeBudget budget(MetafileBlockLimit(header.width, header.height, size));
  Canvas canvas(header);
  if (!canvas.Ready()) return false;
  if (header.kind == Kind::Wmf)
    PlayWmf(canvas, data, size);
  else if (plus)
    PlayEmfPlus(canvas, data, size);
  else
    PlayEmf(canvas, data, size);
  // A cairo context in an error state has drawn nothing since: the picture would be incomplete.
  if (canvas.Failed() || cairo_status(canvas.Cairo()) != CAIRO_STATUS_SUCCESS) return false;
  canvas.Finish(rgba);
  *w = header.width;
  *h = header.height;
  return true;
}

}  // namespace platform::metafile
