// A 4x4 matrix of doubles, column-major (the element in row r and column c is m[4c + r]), as the
// engine's matrix stacks and cameras keep it, with the few operations they need.
#pragma once

namespace kv::engine {

struct Matrix {
  double m[16];

  static Matrix Identity();
  static Matrix Translation(double x, double y, double z);
  // Rotation of angle degrees about the axis (x, y, z), which must not be zero (right-handed).
  static Matrix Rotation(double angle, double x, double y, double z);
  static Matrix Scaling(double x, double y, double z);
  // The GL orthographic projection of the box left..right, bottom..top, -nearZ..-farZ.
  static Matrix Ortho(double left, double right, double bottom, double top, double nearZ,
                      double farZ);
  // The GL perspective projection with a vertical field of view in degrees.
  static Matrix Perspective(double fieldOfView, double aspect, double nearZ, double farZ);

  // this * other: other's transform applies first.
  Matrix operator*(const Matrix& other) const;
  // this = this * Translation(x, y, z), this * Rotation(...), this * Scaling(...), without the
  // full product: the matrix stacks make these three for every sprite, and the product's terms
  // with the factor's zeros and ones are skipped. The values are those of the full product (for
  // finite matrices; a zero may keep its sign where the product would make it +0).
  void Translate(double x, double y, double z);
  void Rotate(double angle, double x, double y, double z);
  void Scale(double x, double y, double z);
  // Transforms the point (x, y, z, w) in place.
  void Transform(double v[4]) const;

 private:
  void MultiplyLinear(const Matrix& by);
};

}  // namespace kv::engine
