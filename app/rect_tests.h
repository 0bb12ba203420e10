// The rectangle and box tests that actor collision, the GUI's input pass and the mouse
// queries share: the cursor against a rectangle of the screen or of a window, a point against
// a rectangle given by two corners, and the overlap of two boxes given by two corners each.
#pragma once

#include "foundation/vector.h"

struct KV_WINDOW;

// True when the cursor (screen pixels, as last read) lies in the rectangle, all four bounds
// inclusive.
bool KvMouseInRect(int left, int top, int right, int bottom);
// True when the cursor in the window's coordinates lies in the rectangle, left and top
// inclusive, right and bottom exclusive (a null window: screen coordinates).
bool KvMouseInWindowRect(const KV_WINDOW* window, int left, int top, int right, int bottom);
// True when point.x and point.y lie from the smaller corner value (inclusive) to the larger one
// (exclusive) on both axes; z and w are ignored.
bool KvPointInRect(KV_VECTOR_D point, KV_VECTOR_D corner1, KV_VECTOR_D corner2);
// True when the box spanned by a1 and a2 meets the box spanned by b1 and b2 on x, y and z as
// closed intervals: boxes touching on a face, an edge or a corner overlap; w is ignored.
bool KvBoxOverlap(KV_VECTOR_D a1, KV_VECTOR_D a2, KV_VECTOR_D b1, KV_VECTOR_D b2);
