// Each metafile compared coarsely with Inkscape's rendering of it (tests/data/metafiles/reference,
// made by make_references.py): both pictures are cut into cells of 8 x 8 pixels, and a cell
// matches when the mean of each premultiplied channel differs by at most 48 of 255. Edges fall
// between pixels differently in two renderers (antialiased there, not here), which a cell's mean
// absorbs; a shape misplaced, missing, of another colour or size, or a background not
// transparent fails many cells. Where Inkscape departs from how the format draws, the area is
// left out, with the reason.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/imaging/metafile/metafile_files.h"

namespace {

using kvtest::Decode;
using kvtest::MetafileBytes;
using kvtest::Picture;

constexpr int kCell = 8;
constexpr double kMostDifference = 48;
constexpr double kLeastMatching = 0.98;

struct Area {
  int x1, y1, x2, y2;
  const char* why;
};

struct Reference {
  const char* file;
  std::vector<Area> leftOut;
};

const std::vector<Reference> kReferences = {
    {"shapes.wmf",
     {{160, 160, 288, 256,
       "a hatch is 8 x 8 device pixels over the background colour (white, in the default opaque "
       "mode); Inkscape draws its lines every 4.5 pixels over nothing"},
      {304, 16, 368, 80, "a stretched bitmap keeps its pixels; Inkscape smooths them"}}},
    {"y_up.wmf", {}},
    {"text.wmf", {}},
    {"shapes.emf", {}},
    {"world.emf", {}},
    {"fill_modes.emf", {}},
    {"clip.emf", {}},
    {"hatch.emf", {}},
    {"pens.emf", {}},
    {"arcs.emf", {}},
    {"libemf_shapes.emf", {}},
    {"libemf_paths.emf", {}},
    {"inkscape_scene.emf", {}},
    {"inkscape_scene.wmf", {}},
    // LibreOffice writes a picture with transparent corners as a mask ORed in and then the
    // picture ANDed over it, which leaves the corners as they were; Inkscape applies neither
    // operation and draws the mask's white box.
    {"libreoffice_scene.wmf",
     {{296, 196, 373, 273, "a masked picture: Inkscape does not apply raster operations"}}},
    {"libreoffice_scene.emf",
     {{296, 196, 372, 272, "a masked picture: Inkscape does not apply raster operations"}}},
};

std::vector<uint8_t> ReferenceBytes(const std::string& file) {
  return MetafileBytes("reference/" + file + ".png");
}

bool LeftOut(const std::vector<Area>& areas, int x, int y) {
  for (const Area& area : areas)
    if (x + kCell > area.x1 && x < area.x2 && y + kCell > area.y1 && y < area.y2) return true;
  return false;
}

// The largest difference of a premultiplied channel's mean over the cell at (x, y).
double CellDifference(const Picture& a, const Picture& b, int x, int y) {
  double sums[2][4] = {};
  int count = 0;
  for (int py = y; py < y + kCell && py < a.h; ++py) {
    for (int px = x; px < x + kCell && px < a.w; ++px, ++count) {
      const Picture* pictures[2] = {&a, &b};
      for (int i = 0; i < 2; ++i) {
        kvtest::Rgba p = pictures[i]->At(px, py);
        sums[i][0] += p.r * p.a / 255.0;
        sums[i][1] += p.g * p.a / 255.0;
        sums[i][2] += p.b * p.a / 255.0;
        sums[i][3] += p.a;
      }
    }
  }
  double most = 0;
  for (int c = 0; c < 4; ++c) most = std::max(most, std::abs(sums[0][c] - sums[1][c]) / count);
  return most;
}

TEST(MetafileReference, MatchesAnIndependentRenderingCellByCell) {
  for (const Reference& reference : kReferences) {
    SCOPED_TRACE(reference.file);
    Picture ours = Decode(MetafileBytes(reference.file));
    Picture theirs = Decode(ReferenceBytes(reference.file));
    ASSERT_GT(ours.w, 0);
    ASSERT_EQ(ours.w, theirs.w);
    ASSERT_EQ(ours.h, theirs.h);
    int cells = 0, matching = 0;
    for (int y = 0; y < ours.h; y += kCell) {
      for (int x = 0; x < ours.w; x += kCell) {
        if (LeftOut(reference.leftOut, x, y)) continue;
        ++cells;
        if (CellDifference(ours, theirs, x, y) <= kMostDifference) ++matching;
      }
    }
    EXPECT_GE(matching, kLeastMatching * cells) << matching << " of " << cells << " cells match";
  }
}

// The comparison can fail: the same files drawn with their records' colours swapped, or moved,
// do not match.
TEST(MetafileReference, TellsAPictureMovedFromItsReference) {
  Picture ours = Decode(MetafileBytes("shapes.emf"));
  Picture theirs = Decode(ReferenceBytes("shapes.emf"));
  ASSERT_EQ(ours.w, theirs.w);
  Picture moved = ours;
  for (int y = 0; y < ours.h; ++y)
    for (int x = 0; x < ours.w; ++x)
      for (int c = 0; c < 4; ++c)
        moved.rgba[(static_cast<size_t>(y) * ours.w + x) * 4 + c] =
            x >= 24 ? ours.rgba[(static_cast<size_t>(y) * ours.w + x - 24) * 4 + c] : 0;
  int cells = 0, matching = 0;
  for (int y = 0; y < ours.h; y += kCell)
    for (int x = 0; x < ours.w; x += kCell, ++cells)
      if (CellDifference(moved, theirs, x, y) <= kMostDifference) ++matching;
  EXPECT_LT(matching, kLeastMatching * cells);
}

}  // namespace
