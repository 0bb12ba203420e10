// Logical palettes as a device of true colour uses them: a palette index colour, and a colour
// table of palette indices, take the colour of that entry of the palette selected in the device
// context when they are drawn (the default palette of twenty colours until one is selected),
// and realizing a palette changes nothing. An index beyond the palette takes its first entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/imaging/metafile/gdi_objects.h"

namespace platform::metafile {

// The palette a device context starts with: the twenty static colours.
const Palette& DefaultPalette();
// The colour itself, or for a palette index colour its entry in palette (the default one when
// null).
Color Resolved(Color color, const Palette* palette);

// A palette of count entries of four bytes each (red, green, blue and flags, as GDI writes
// them); null for no entries or more than a palette holds, or beyond the decode budget.
std::shared_ptr<Palette> ReadPalette(const uint8_t* entries, size_t count);
// Replaces count entries from start; those past the palette's end are left out.
void SetEntries(Palette* palette, size_t start, const uint8_t* entries, size_t count);
// Makes the palette count entries long, new ones black; false (unchanged) for no entries, more
// than a palette holds, or beyond the decode budget.
bool ResizePalette(Palette* palette, size_t count);

}  // namespace platform::metafile
