// The matrix operations of the engine's stacks and cameras.
#include "engine/matrices/matrix.h"

#include <cmath>

namespace kv::engine {

namespace {
constexpr double kDegreesToRadians = 3.14159265358979323846 / 180.0;
}

Matrix Matrix::Identity() { return Matrix{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}; }

Matrix Matrix::Translation(double x, double y, double z) {
  Matrix result = Identity();
  result.m[12] = x;
  result.m[13] = y;
  result.m[14] = z;
  return result;
}

Matrix Matrix::Rotation(double angle, double x, double y, double z) {
  double length = std::sqrt(x * x + y * y + z * z);
  x /= length;
  y /= length;
  z /= length;
  double radians = angle * kDegreesToRadians;
  double c = std::cos(radians), s = std::sin(radians), t = 1.0 - c;
  Matrix result = Identity();
  result.m[0] = t * x * x + c;
  result.m[1] = t * x * y + s * z;
  result.m[2] = t * x * z - s * y;
  result.m[4] = t * x * y - s * z;
  result.m[5] = t * y * y + c;
  result.m[6] = t * y * z + s * x;
  result.m[8] = t * x * z + s * y;
  result.m[9] = t * y * z - s * x;
  result.m[10] = t * z * z + c;
  return result;
}

Matrix Matrix::Scaling(double x, double y, double z) {
  Matrix result = Identity();
  result.m[0] = x;
  result.m[5] = y;
  result.m[10] = z;
  return result;
}

Matrix Matrix::Ortho(double left, double right, double bottom, double top, double nearZ,
                     double farZ) {
  Matrix result = Identity();
  result.m[0] = 2.0 / (right - left);
  result.m[5] = 2.0 / (top - bottom);
  result.m[10] = -2.0 / (farZ - nearZ);
  result.m[12] = -(right + left) / (right - left);
  result.m[13] = -(top + bottom) / (top - bottom);
  result.m[14] = -(farZ + nearZ) / (farZ - nearZ);
  return result;
}

Matrix Matrix::Perspective(double fieldOfView, double aspect, double nearZ, double farZ) {
  double f = 1.0 / std::tan(fieldOfView * kDegreesToRadians / 2.0);
  Matrix result{};
  result.m[0] = f / aspect;
  result.m[5] = f;
  result.m[10] = (farZ + nearZ) / (nearZ - farZ);
  result.m[11] = -1.0;
  result.m[14] = 2.0 * farZ * nearZ / (nearZ - farZ);
  return result;
}

Matrix Matrix::operator*(const Matrix& other) const {
  Matrix result;
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 4; ++row) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += m[4 * k + row] * other.m[4 * column + k];
      result.m[4 * column + row] = sum;
    }
  }
  return result;
}

void Matrix::Translate(double x, double y, double z) {
  for (int row = 0; row < 4; ++row) {
    m[12 + row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
  }
}

// Column c of this times the upper-left 3x3 block of by, for c = 0, 1, 2; column 3 stays.
void Matrix::MultiplyLinear(const Matrix& by) {
  double columns[3][4];
  for (int column = 0; column < 3; ++column) {
    const double* b = by.m + 4 * column;
    for (int row = 0; row < 4; ++row) {
      columns[column][row] = m[row] * b[0] + m[4 + row] * b[1] + m[8 + row] * b[2];
    }
  }
  for (int column = 0; column < 3; ++column) {
    for (int row = 0; row < 4; ++row) m[4 * column + row] = columns[column][row];
  }
}

void Matrix::Rotate(double angle, double x, double y, double z) {
  MultiplyLinear(Rotation(angle, x, y, z));
}

void Matrix::Scale(double x, double y, double z) {
  const double factors[3] = {x, y, z};
  for (int column = 0; column < 3; ++column) {
    for (int row = 0; row < 4; ++row) m[4 * column + row] *= factors[column];
  }
}

void Matrix::Transform(double v[4]) const {
  double out[4];
  for (int row = 0; row < 4; ++row) {
    out[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
  }
  for (int i = 0; i < 4; ++i) v[i] = out[i];
}

}  // namespace kv::engine
