// A table of EMF+ files and the colours expected at points of their pictures, and the runner that
// decodes each file and looks at each point.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <vector>

#include "platform/imaging/metafile/emfplus_files.h"
#include "platform/imaging/metafile/metafile_files.h"

namespace kvtest {

struct Probe {
  int x, y;
  Rgba colour;
  const char* what;
  int tolerance = 2;
};

struct PlusCase {
  const char* name;
  std::function<std::vector<uint8_t>()> file;
  std::vector<Probe> probes;
};

inline std::vector<uint8_t> Filled(const std::function<void(PlusFile&)>& records,
                                   bool dual = false) {
  PlusFile f(dual);
  records(f);
  return f.Build();
}

inline bool Within(Rgba got, Rgba want, int most) {
  return std::abs(got.r - want.r) <= most && std::abs(got.g - want.g) <= most &&
         std::abs(got.b - want.b) <= most && std::abs(got.a - want.a) <= most;
}

inline void CheckCases(const std::vector<PlusCase>& cases) {
  for (const PlusCase& c : cases) {
    SCOPED_TRACE(c.name);
    Picture picture = Decode(c.file());
    ASSERT_EQ(picture.w, PlusFile::kSide);
    ASSERT_EQ(picture.h, PlusFile::kSide);
    for (const Probe& probe : c.probes) {
      Rgba got = picture.At(probe.x, probe.y);
      EXPECT_TRUE(Within(got, probe.colour, probe.tolerance))
          << probe.what << " at " << probe.x << "," << probe.y << ": got " << int(got.r) << ","
          << int(got.g) << "," << int(got.b) << "," << int(got.a);
    }
  }
}

}  // namespace kvtest
