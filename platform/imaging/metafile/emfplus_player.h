// Plays an EMF that carries EMF+ records, as the imaging interface plays it: the EMF+ records
// draw, and of the EMF records only those that follow an EmfPlusGetDC record, up to the next
// EMF+ record, are played (through the EMF player, on the same canvas). A dual file's EMF
// records, which draw the same picture again for programs without EMF+, are passed over.
//
// Record types are played through one table, kPlayers in emfplus_player.cpp: the image records
// (DrawImage, DrawImagePoints) and the text records (DrawString, DrawDriverString) join it with
// functions of their own files (emfplus_image_draw.*, emfplus_text.*). Those files read their objects
// through the table of emfplus_objects.cpp, find them with PlusObjectTable::Get, and draw through
// PlusPaint (emfplus_graphics.h): it puts the clip, compositing mode and antialiasing in force,
// and its Source and Fill paint with any EMF+ brush; WorldToPicture() places their points.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/imaging/metafile/canvas.h"

namespace platform::metafile {

// Plays the file's records up to its end-of-file record; the structure of its EMF and EMF+
// records was checked by RecordsWhole and EmfPlusWhole.
void PlayEmfPlus(Canvas& canvas, const uint8_t* data, size_t size);

}  // namespace platform::metafile
