// KV_DNA_MODEL: a soft-body model file ("envboxmodel2d", version "2") read into plain records:
// substances, surfaces, covalence forces and force sprites, with their indices checked against
// their sections. The whole file is read and checked before anything is built from it, so a
// short, garbage or hostile file is refused as a whole and no count in it can ask for more
// records than the file has lines to describe.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/string.h"

struct KV_DNA_MODEL {
  struct SUBSTANCE {
    double x = 0, y = 0, mass = 0, range = 0, solid = 0;
  };
  struct SURFACE {
    uint32_t substances[3] = {0, 0, 0};              // indices into the substances
    double coords[3][2] = {{0, 0}, {0, 0}, {0, 0}};  // u and v of each corner
    KV_STRING texture;                               // the texture's name
  };
  struct FORCE {
    uint32_t substances[2] = {0, 0};  // indices into the substances
    double resilience = 0;
  };
  struct SPRITE {
    KV_STRING texture;
    double pivotX = 0, pivotY = 0, width = 0, height = 0;
    uint32_t force = 0;  // index into the forces
    bool reversed = false;
    bool stretched = false;
  };

  std::vector<SUBSTANCE> substances;
  std::vector<SURFACE> surfaces;
  std::vector<FORCE> forces;
  std::vector<SPRITE> sprites;

  // Reads a model file from memory. Lines end at carriage returns and line feeds, empty lines do
  // not count; numbers that do not read as numbers are 0. False, with the model left empty, for
  // null data, size 0, a wrong first line or version, a file that ends before its counts are met,
  // or an index outside its section. Lines after the last sprite are ignored.
  bool Read(const void* data, uint32_t size);
  // Empties every section.
  void Clear();
};
