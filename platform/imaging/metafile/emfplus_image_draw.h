// The EMF+ records that draw images: DrawImage onto a rectangle and DrawImagePoints onto a
// parallelogram (its upper-left, upper-right and lower-left corners), each from a source
// rectangle of the image in a unit, under the drawing state (transform, clip, compositing,
// antialiasing of the edges), sampled as the interpolation hint asks, and repeated beyond the
// image as the record's image attributes say (where it names none, nothing is drawn beyond it).
#pragma once

#include "platform/imaging/metafile/emfplus_playback.h"

namespace platform::metafile {

void PlayDrawImage(PlusPlayback& play, const PlusRecord& record);
void PlayDrawImagePoints(PlusPlayback& play, const PlusRecord& record);

}  // namespace platform::metafile
