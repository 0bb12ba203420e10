// The engine's two matrix stacks, projection (KV_MATRIX_PROJECTION) and model-view
// (KV_MATRIX_MODELVIEW), kept on the CPU. Draws are transformed by the model-view matrix as they
// enter the batch, so pushes and pops cost no GL call; the projection reaches GL when the batch
// flushes, and changing it flushes first.
#pragma once

#include <cstdint>

#include "engine/matrices/matrix.h"

namespace kv::engine {

// The top of the model-view stack, as floats for the batch (column-major).
const float* ModelViewFloats();
// The top of the model-view stack.
const Matrix& ModelView();
// The top of the projection stack.
const Matrix& Projection();
// Replaces the projection (flushing the batch first when it changes).
void SetProjection(const Matrix& projection);
// Makes the model-view matrix current.
void SelectModelView();
// The tops of both stacks and the current mode: what drawing into a frame buffer borrows and gives
// back.
struct MatrixState {
  Matrix projection;
  Matrix modelView;
  uint32_t mode = 0;
};
// The matrices in force now.
MatrixState SaveMatrices();
// Puts the saved tops and mode back (flushing the batch first when the projection changes).
void RestoreMatrices(const MatrixState& saved);
// Restores both stacks to one identity matrix and the model-view mode.
void ResetMatrices();

}  // namespace kv::engine
