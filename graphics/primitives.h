// Immediate 2D primitives: three small shape records that draw coloured, optionally textured
// shapes straight through the engine at an offset given to their draw: a circle or disc, a
// triangle and an axis-aligned rectangle. Coordinates, colours and texture coordinates are
// doubles. Each record borrows its texture; a null handle draws untextured.
#pragma once

#include <cstdint>

#include "engine/kv_engine.h"
#include "foundation/vector.h"

// A circle outline or a filled disc of `segments` edge points.
struct KV_CIRCLE2D {
  float radius = 0;
  int32_t segments = 0;  // edge points; fewer than 1 draws no vertex
  uint8_t filled = 0;    // 1: a fan from the centre; 0: the closed outline
  KV_HANDLE texture;
  KV_VECTOR_D centreColour;  // the fan's centre vertex
  KV_VECTOR_D edgeColour;    // every edge point

  // Draws the circle around centre, its first edge point startAngle degrees round (the texture
  // does not turn with it); vertices one by one, or as arrays in one call with useArrays.
  void Draw(KV_VECTOR_D centre, float startAngle, uint8_t useArrays);
};

// A triangle, filled or as its outline, one position, texture coordinate and colour per corner.
struct KV_ARRAY2D {
  uint8_t filled = 0;
  KV_HANDLE texture;
  KV_VECTOR_D positions[3];
  KV_VECTOR_D texCoords[3];
  KV_VECTOR_D colours[3];

  // Draws the triangle moved by offset, as arrays in one call.
  void Draw(KV_VECTOR_D offset);
};

// An axis-aligned rectangle, filled or as its outline.
struct KV_RECT2D {
  uint8_t filled = 0;
  KV_HANDLE texture;
  KV_VECTOR_D corner1;     // left and top
  KV_VECTOR_D corner2;     // right and bottom
  KV_VECTOR_D colours[4];  // top-left, top-right, bottom-right, bottom-left

  // Draws the rectangle moved by offset (x and y); vertices one by one, or as arrays in one call
  // with useArrays.
  void Draw(KV_VECTOR_D offset, uint8_t useArrays);
};
