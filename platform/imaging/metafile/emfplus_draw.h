// The EMF+ records that draw shapes: filled with a brush (or the colour the record carries) and
// outlined with a pen, under the drawing state.
#pragma once

#include "platform/imaging/metafile/emfplus_playback.h"

namespace platform::metafile {

void PlayClear(PlusPlayback& play, const PlusRecord& record);
void PlayFillRects(PlusPlayback& play, const PlusRecord& record);
void PlayDrawRects(PlusPlayback& play, const PlusRecord& record);
void PlayFillPolygon(PlusPlayback& play, const PlusRecord& record);
void PlayDrawLines(PlusPlayback& play, const PlusRecord& record);
void PlayFillEllipse(PlusPlayback& play, const PlusRecord& record);
void PlayDrawEllipse(PlusPlayback& play, const PlusRecord& record);
void PlayFillPie(PlusPlayback& play, const PlusRecord& record);
void PlayDrawPie(PlusPlayback& play, const PlusRecord& record);
void PlayDrawArc(PlusPlayback& play, const PlusRecord& record);
void PlayFillRegion(PlusPlayback& play, const PlusRecord& record);
void PlayFillPath(PlusPlayback& play, const PlusRecord& record);
void PlayDrawPath(PlusPlayback& play, const PlusRecord& record);
void PlayFillClosedCurve(PlusPlayback& play, const PlusRecord& record);
void PlayDrawClosedCurve(PlusPlayback& play, const PlusRecord& record);
void PlayDrawCurve(PlusPlayback& play, const PlusRecord& record);
void PlayDrawBeziers(PlusPlayback& play, const PlusRecord& record);

}  // namespace platform::metafile
