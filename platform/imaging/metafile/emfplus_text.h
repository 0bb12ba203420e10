// The EMF+ records that draw text, with a font object and a brush (an object, or a colour the
// record carries), under the drawing state: DrawString lays its characters out in a layout
// rectangle as its string format says (emfplus_string_layout.h) and clips them to it;
// DrawDriverString places each glyph where the record says (or the first there and the others
// by their advances), its values characters or, when the record says so, glyph numbers of the
// face the font names (passed over when fontconfig has another face for that name), through an
// optional transform of its own. Glyphs are smoothed unless the text rendering hint asks for
// one bit a pixel; those above 64 pixels to the em are filled from their outlines, and those
// above 4096 pixels are not drawn.
#pragma once

#include "platform/imaging/metafile/emfplus_playback.h"

namespace platform::metafile {

void PlayDrawString(PlusPlayback& play, const PlusRecord& record);
void PlayDrawDriverString(PlusPlayback& play, const PlusRecord& record);

}  // namespace platform::metafile
