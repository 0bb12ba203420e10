// The shapes of the EMF+ drawing records, in world units, appended to an outline in picture
// pixels: rectangles, ellipses, arcs and pies by their angles, and cardinal splines through
// points with a tension (0 draws straight lines; 0.5, the usual, a Catmull-Rom curve).
#pragma once

#include <cairo.h>

#include <cstddef>
#include <vector>

#include "platform/imaging/metafile/emfplus_points.h"
#include "platform/imaging/metafile/path.h"

namespace platform::metafile {

void AddPlusRect(Path* out, const cairo_matrix_t& m, const RectD& rect);
void AddPlusEllipse(Path* out, const cairo_matrix_t& m, const RectD& rect);
// The arc of the ellipse in rect from startDegrees, sweeping sweepDegrees clockwise as y points
// down (angles are those of the points as seen from the centre); a pie joins it to the centre
// and closes. A sweep of a whole turn or more is the whole ellipse; a sweep of 0 adds nothing.
void AddPlusArc(Path* out, const cairo_matrix_t& m, const RectD& rect, double startDegrees,
                double sweepDegrees, bool pie);
// The cardinal spline through the points: for an open curve, numSegments segments from the
// point at offset; a closed one runs through every point and back to the first.
void AddCardinal(Path* out, const cairo_matrix_t& m, const std::vector<PointD>& points,
                 double tension, bool closed, size_t offset, size_t segments);

}  // namespace platform::metafile
