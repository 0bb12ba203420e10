// JPEG and PNG pictures inside a metafile's bitmap records (a bitmap compressed as BI_JPEG or
// BI_PNG), decoded by the framework's own decoders under the metafile's decode budget.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/imaging/metafile/dib.h"

namespace platform::metafile {

// Decodes the PNG (png) or JPEG picture of data into out's pixels: premultiplied cairo words,
// top row first, a PNG's transparency kept. False when it is damaged, when its sides are not
// width x height, or when decoding it could take a block beyond the budget in force.
bool DecodeEmbeddedImage(bool png, const uint8_t* data, size_t size, int width, int height,
                         DibPixels* out);

}  // namespace platform::metafile
