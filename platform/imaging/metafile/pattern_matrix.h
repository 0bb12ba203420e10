// Matrices of the bitmaps and images laid on the picture as cairo patterns. cairo hands a
// pattern's transform on to pixman as 16.16 fixed-point numbers and, when they overflow, fails
// the drawing and leaves the drawing context failed for everything after it. These checks keep
// every pattern matrix within those numbers, leaving out only what could not show.
#pragma once

#include <cairo.h>

namespace platform::metafile {

// Whether every entry of the matrix is a finite number.
bool MatrixFinite(const cairo_matrix_t& m);
// Whether a pattern matrix (picture to image) shrinks the image few enough times for pixman: an
// image shrunk more shows as less than two pixels anyway.
bool Representable(const cairo_matrix_t& toImage);
// Whether any pixel of the largest picture falls on the w x h image that toImage places: an image
// padded at its edges that falls nowhere on the picture shows nothing, and its image coordinates
// could overflow those numbers.
bool Reaches(const cairo_matrix_t& toImage, double w, double h);
// Moves a repeating pattern by whole tiles so that the picture's origin lies in its first tile:
// the same picture, with image coordinates small enough. False when the tile has no size.
bool ToFirstTile(cairo_matrix_t* toImage, double w, double h);

}  // namespace platform::metafile
