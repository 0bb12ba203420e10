// The EMF's text records: ExtTextOut (EMR_EXTTEXTOUTA and W), PolyTextOut (A and W) and
// SmallTextOut, each checked whole and drawn as text runs (text.h) with the selected font. A
// record cut short or claiming more than it holds draws nothing.
#pragma once

#include "platform/imaging/metafile/canvas.h"
#include "platform/imaging/metafile/record_reader.h"

namespace platform::metafile {

// ExtTextOut: one string, 8-bit (in the font's code page) or wide.
void ExtTextOut(Canvas& canvas, RecordReader& r, bool wide);
// PolyTextOut: several strings, each drawn as ExtTextOut draws its one.
void PolyTextOut(Canvas& canvas, RecordReader& r, bool wide);
// SmallTextOut: a string without a spacing array, its box left out when it has none.
void SmallTextOut(Canvas& canvas, RecordReader& r);

}  // namespace platform::metafile
