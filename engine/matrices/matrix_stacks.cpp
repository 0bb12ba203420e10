// KvMatrix*: the projection and model-view stacks and the current mode.
#include "engine/matrices/matrix_stacks.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "engine/draw/batch.h"
#include "engine/kv_engine.h"
#include "engine/numbers.h"
#include "engine/trace/trace.h"

namespace kv::engine {

namespace {

// Deep enough for the framework's nesting (one push per sprite, per GUI level, per text line).
constexpr size_t kModelViewDepth = 64;
constexpr size_t kProjectionDepth = 8;

struct Stacks {
  std::vector<Matrix> modelView{Matrix::Identity()};
  std::vector<Matrix> projection{Matrix::Identity()};
  uint32_t mode = KV_MATRIX_MODELVIEW;
  float modelViewFloats[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  bool floatsStale = false;
};

Stacks stacks;

bool ProjectionMode() { return stacks.mode == KV_MATRIX_PROJECTION; }

// The current matrix, about to change: a projection change flushes what the batch holds.
Matrix& Changing() {
  if (ProjectionMode()) {
    batch::Flush();
    return stacks.projection.back();
  }
  stacks.floatsStale = true;
  return stacks.modelView.back();
}

bool Finite(std::initializer_list<double> values) {
  for (double value : values) {
    if (!std::isfinite(value)) return false;
  }
  return true;
}

}  // namespace

const float* ModelViewFloats() {
  if (stacks.floatsStale) {
    const double* m = stacks.modelView.back().m;
    for (int i = 0; i < 16; ++i) stacks.modelViewFloats[i] = static_cast<float>(m[i]);
    stacks.floatsStale = false;
  }
  return stacks.modelViewFloats;
}

const Matrix& ModelView() { return stacks.modelView.back(); }
const Matrix& Projection() { return stacks.projection.back(); }

void SetProjection(const Matrix& projection) {
  Matrix& top = stacks.projection.back();
  if (std::memcmp(top.m, projection.m, sizeof top.m) == 0) return;
  batch::Flush();
  top = projection;
}

void SelectModelView() { stacks.mode = KV_MATRIX_MODELVIEW; }

MatrixState SaveMatrices() {
  return MatrixState{stacks.projection.back(), stacks.modelView.back(), stacks.mode};
}

void RestoreMatrices(const MatrixState& saved) {
  SetProjection(saved.projection);
  stacks.modelView.back() = saved.modelView;
  stacks.floatsStale = true;
  stacks.mode = saved.mode;
}

void ResetMatrices() { stacks = Stacks{}; }

}  // namespace kv::engine

using namespace kv::engine;

extern "C" uint8_t KvMatrixPush(void) {
  if (trace::Call("KvMatrixPush")) return 0;
  std::vector<Matrix>& stack = ProjectionMode() ? stacks.projection : stacks.modelView;
  size_t depth = ProjectionMode() ? kProjectionDepth : kModelViewDepth;
  if (stack.size() >= depth) return 0;
  stack.push_back(stack.back());
  return 1;
}

extern "C" uint8_t KvMatrixPop(void) {
  if (trace::Call("KvMatrixPop")) return 0;
  std::vector<Matrix>& stack = ProjectionMode() ? stacks.projection : stacks.modelView;
  if (stack.size() <= 1) return 0;
  if (ProjectionMode()) {
    if (std::memcmp(stack.back().m, stack[stack.size() - 2].m, sizeof(Matrix)) != 0) batch::Flush();
  } else {
    stacks.floatsStale = true;
  }
  stack.pop_back();
  return 1;
}

extern "C" uint8_t KvMatrixIdentity(void) {
  if (trace::Call("KvMatrixIdentity")) return 0;
  Changing() = Matrix::Identity();
  return 1;
}

extern "C" uint8_t KvMatrixTranslate(double x, double y, double z) {
  if (trace::Call("KvMatrixTranslate", x, y, z)) return 0;
  if (!Finite({x, y, z})) return 0;
  Changing().Translate(x, y, z);
  return 1;
}

extern "C" uint8_t KvMatrixRotate(double angle, double x, double y, double z) {
  if (trace::Call("KvMatrixRotate", angle, x, y, z)) return 0;
  if (!Finite({angle, x, y, z}) || (x == 0 && y == 0 && z == 0)) return 0;
  // A turn by 0 degrees changes nothing; the framework sends three per sprite, mostly zeros.
  if (angle == 0) return 1;
  Changing().Rotate(angle, x, y, z);
  return 1;
}

extern "C" uint8_t KvMatrixScale(double x, double y, double z) {
  if (trace::Call("KvMatrixScale", x, y, z)) return 0;
  if (!Finite({x, y, z})) return 0;
  // A scale by one changes nothing; the framework sends one per sprite, mostly ones.
  if (x == 1 && y == 1 && z == 1) return 1;
  Changing().Scale(x, y, z);
  return 1;
}

extern "C" uint8_t KvMatrixMode(uint32_t mode) {
  if (trace::Call("KvMatrixMode", mode)) return 0;
  if (mode != KV_MATRIX_PROJECTION && mode != KV_MATRIX_MODELVIEW) return 0;
  stacks.mode = mode;
  return 1;
}

extern "C" uint8_t KvMatrixLoad(const double* m) {
  if (trace::Call("KvMatrixLoad", m)) return 0;
  if (m == nullptr) return 0;
  Matrix loaded;
  std::memcpy(loaded.m, m, sizeof loaded.m);
  if (ProjectionMode()) {
    SetProjection(loaded);
  } else {
    Changing() = loaded;
  }
  return 1;
}

extern "C" uint8_t KvMatrixSave(uint32_t mode, double* out) {
  if (trace::Call("KvMatrixSave", mode, out)) return 0;
  if (out == nullptr) return 0;
  if (mode == KV_MATRIX_PROJECTION) {
    std::memcpy(out, Projection().m, sizeof(Matrix));
  } else if (mode == KV_MATRIX_MODELVIEW) {
    std::memcpy(out, ModelView().m, sizeof(Matrix));
  } else {
    return 0;
  }
  return 1;
}
