// KV_ROTATION_D: three rotation angles in degrees (the first is the angle in the
// plane, the one 2D drawing uses) and a fourth value whose use belongs to the holder
// (an actor keeps the radius of its collision circle there).
#pragma once

struct KV_ROTATION_D {
  double x, y, z, w;

  KV_ROTATION_D(double x = 0, double y = 0, double z = 0, double w = 0) : x(x), y(y), z(z), w(w) {}
};
