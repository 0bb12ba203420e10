// What EMF+ records play on: the drawing state and the object table, over the canvas the EMF
// records of GetDC segments also draw on. Each record type has one function that plays it,
// listed in one table of emfplus_player.cpp; the functions live in the file of their concept
// (state records in emfplus_state.cpp, shapes in emfplus_draw.cpp; images and text in files of
// their own) and take the record's data whole, checking every field before use.
#pragma once

#include <cstddef>

#include "platform/imaging/metafile/emfplus_font_face.h"
#include "platform/imaging/metafile/emfplus_graphics.h"
#include "platform/imaging/metafile/emfplus_objects.h"
#include "platform/imaging/metafile/emfplus_records.h"

namespace platform::metafile {

struct PlusPlayback {
  PlusGraphics graphics;
  PlusObjectTable objects;
  size_t fileSize = 0;
  PlusFontFaces faces;  // the faces text is drawn in, matched once each
};

using PlusRecordPlayer = void (*)(PlusPlayback& play, const PlusRecord& record);

// The brush a filling record names: the colour its data carries when the record's flags say so,
// else the brush object in the slot the data names; null when the slot holds no brush.
const PlusBrush* RecordBrush(PlusPlayback& play, const PlusRecord& record, uint32_t field,
                             PlusBrush* colorBrush);

}  // namespace platform::metafile
