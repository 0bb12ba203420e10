// The batch: the CPU vertex array, the draw records, and the flush.
#include "engine/draw/batch.h"

#include <cstring>

#include "engine/gl/context.h"
#include "engine/gl/state_cache.h"
#include "engine/matrices/matrix_stacks.h"
#include "engine/targets/render_targets.h"
#include "engine/testing.h"

namespace kv::engine::batch {

namespace {

// Room for 16384 quads (a frame of ten thousand sprites takes one flush), and no more vertices
// than 16-bit indices reach: half the index bytes to write and for GL to read.
constexpr uint32_t kMaxVertices = 65536;
constexpr uint32_t kMaxIndices = kMaxVertices / 4 * 6;
constexpr uint32_t kMaxRecords = 1024;
// Waiting vertices go to GL in chunks of this many, each followed by a GL flush, so that a
// renderer that rasterizes on worker threads (Mesa's llvmpipe) draws one chunk while the next is
// being built instead of waiting for the whole frame: measured at 10,000 sprites a frame, this
// takes a frame from about 15.5 ms to about 11 ms on llvmpipe. Drawing order is unchanged.
constexpr uint32_t kChunkVertices = 8192;

struct Record {
  Mode mode;
  GLuint texture;
  // Every vertex of the record is opaque white: the record is drawn with the texture replacing
  // the colour instead of modulating it. Modulating by white changes nothing, so the pixels are
  // the same, but llvmpipe then compiles a fragment program without the colour input: measured at
  // 10,000 sprites a frame, a tenth less rasterizing work and a fifth less work on the thread that
  // submits (no colour to set up per triangle). A record joined by a tinted primitive modulates.
  bool untinted;
  uint32_t firstIndex;
  uint32_t indexCount;
  uint32_t minVertex;
  uint32_t maxVertex;
};

struct Batch {
  Vertex vertices[kMaxVertices];
  uint16_t indices[kMaxIndices];
  Record records[kMaxRecords];
  uint32_t vertexCount = 0;
  uint32_t indexCount = 0;
  uint32_t recordCount = 0;
};

Batch storage;  // large, so kept out of the stack and the heap
Batch* const batch = &storage;
bool flushEveryDraw = false;
testing::FrameStats thisFrame, lastFrame;

// What GL was last given, so a flush skips what is already in place.
bool arraysEnabled = false;
bool projectionLoaded = false;
double loadedProjection[16];
// False once GL's model-view holds something else than the identity the batch draws with.
bool identityLoaded = false;
bool directMode = false;

constexpr GLenum kGlModes[] = {GL_TRIANGLES, GL_LINES, GL_POINTS};

void Reset() {
  batch->vertexCount = 0;
  batch->indexCount = 0;
  batch->recordCount = 0;
}

// Vertices enter the batch transformed by the model-view matrix, so GL's stays the identity;
// in direct mode they enter untransformed and GL gets the real one.
void LoadMatrices(bool realModelView) {
  const Matrix& projection = Projection();
  if (!projectionLoaded ||
      std::memcmp(loadedProjection, projection.m, sizeof loadedProjection) != 0) {
    gl.MatrixMode(GL_PROJECTION);
    gl.LoadMatrixd(projection.m);
    gl.MatrixMode(GL_MODELVIEW);
    std::memcpy(loadedProjection, projection.m, sizeof loadedProjection);
    projectionLoaded = true;
  }
  if (realModelView) {
    gl.LoadMatrixd(ModelView().m);
    identityLoaded = false;
  } else if (!identityLoaded) {
    gl.LoadIdentity();
    identityLoaded = true;
  }
}

void SetArrays() {
  if (!arraysEnabled) {
    gl.EnableClientState(GL_VERTEX_ARRAY);
    gl.EnableClientState(GL_COLOR_ARRAY);
    gl.ClientActiveTexture(GL_TEXTURE0);
    gl.EnableClientState(GL_TEXTURE_COORD_ARRAY);
    arraysEnabled = true;
  }
  const Vertex* v = batch->vertices;
  gl.VertexPointer(3, GL_FLOAT, sizeof(Vertex), &v->x);
  gl.ColorPointer(4, GL_UNSIGNED_BYTE, sizeof(Vertex), v->color);
  gl.ClientActiveTexture(GL_TEXTURE0);
  gl.TexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &v->u);
}

// The texture environment of unit 0 while a flush draws; GL_MODULATE, GL's default, outside it.
GLint textureEnvironment = GL_MODULATE;

void SetTextureEnvironment(GLint mode) {
  if (mode == textureEnvironment) return;
  gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, mode);
  textureEnvironment = mode;
}

// A program's vertex stage may compute its own colour, so with one bound every record modulates.
void DrawRecord(const Record& record) {
  glcache::BindTexture(0, record.texture);
  glcache::EnableTexturing(0, record.texture != 0);
  bool replace = record.untinted && record.texture != 0 && !directMode;
  SetTextureEnvironment(replace ? GL_REPLACE : GL_MODULATE);
  gl.DrawRangeElements(kGlModes[static_cast<int>(record.mode)], record.minVertex, record.maxVertex,
                       static_cast<GLsizei>(record.indexCount), GL_UNSIGNED_SHORT,
                       batch->indices + record.firstIndex);
  ++thisFrame.drawCalls;
}

}  // namespace

Slot Reserve(Mode mode, GLuint texture, bool untinted, uint32_t vertexCount, uint32_t indexCount) {
  if (batch->vertexCount >= kChunkVertices) {
    Flush();
    gl.Flush();
  }
  if (batch->vertexCount + vertexCount > kMaxVertices ||
      batch->indexCount + indexCount > kMaxIndices)
    Flush();
  Record* last = batch->recordCount > 0 ? &batch->records[batch->recordCount - 1] : nullptr;
  if (last == nullptr || last->mode != mode || last->texture != texture) {
    if (batch->recordCount == kMaxRecords) {
      Flush();
    }
    last = &batch->records[batch->recordCount++];
    *last = Record{
        mode, texture, untinted, batch->indexCount, 0, batch->vertexCount, batch->vertexCount};
  }
  last->untinted = last->untinted && untinted;
  Slot slot{batch->vertices + batch->vertexCount, batch->indices + batch->indexCount,
            batch->vertexCount};
  batch->vertexCount += vertexCount;
  batch->indexCount += indexCount;
  last->indexCount += indexCount;
  last->maxVertex = batch->vertexCount - 1;
  return slot;
}

void EndDraw() {
  if (flushEveryDraw || directMode) Flush();
}

void SetDirectMode(bool on) {
  if (on == directMode) return;
  Flush();
  directMode = on;
}

bool DirectMode() { return directMode; }

void BeginOutsideDraw() {
  Flush();
  LoadMatrices(true);
}

void EndOutsideDraw() {
  ++thisFrame.drawCalls;
  arraysEnabled = false;
}

void Flush() {
  if (batch->recordCount == 0) return;
  if (CurrentTarget() == nullptr || !EnsureCurrent()) {
    Reset();
    return;
  }
  LoadMatrices(directMode);
  SetArrays();
  for (uint32_t i = 0; i < batch->recordCount; ++i) {
    if (batch->records[i].indexCount > 0) DrawRecord(batch->records[i]);
  }
  glcache::ActiveUnit(0);
  SetTextureEnvironment(GL_MODULATE);
  ++thisFrame.flushes;
  Reset();
}

void FlushIfUses(GLuint texture) {
  for (uint32_t i = 0; i < batch->recordCount; ++i) {
    if (batch->records[i].texture == texture) {
      Flush();
      return;
    }
  }
}

void EndFrame() {
  lastFrame = thisFrame;
  thisFrame = testing::FrameStats{};
}

void ResetCounts() { lastFrame = thisFrame = testing::FrameStats{}; }

void ResetGlState() {
  arraysEnabled = false;
  projectionLoaded = false;
  identityLoaded = false;
  directMode = false;
  textureEnvironment = GL_MODULATE;
  Reset();
}

}  // namespace kv::engine::batch

namespace kv::engine::testing {

FrameStats LastFrameStats() { return batch::lastFrame; }
FrameStats CurrentFrameStats() { return batch::thisFrame; }
void SetFlushEveryDraw(bool on) {
  batch::Flush();
  batch::flushEveryDraw = on;
}

}  // namespace kv::engine::testing
