// The engine's render states: one record that KvSetState writes and KvGetState points into, and
// the table (render_states.cpp) that gives each state number its argument types, its checks and
// its GL meaning. States outlive every render target: the one GL context keeps them all.
#pragma once

#include <cstdint>

#include "engine/numbers.h"

namespace kv::engine {

// Each field is the storage of the state named beside it.
struct RenderStates {
  double textMetrics[4] = {8.0, 16.0, 0.0, 0.0};  // KV_STATE_TEXT_METRICS; WIDTH to VSPACING
                                                  // point at its four values
  uint8_t lineBreak = 10;                         // KV_STATE_LINE_BREAK: line feed
  int32_t colorMask[4] = {1, 1, 1, 1};            // KV_STATE_COLOR_MASK
  int32_t texturing = 1;                          // KV_STATE_TEXTURING
  int32_t blend = 0;                              // KV_STATE_BLEND
  // KV_STATE_BLEND_FUNC: one, zero (no blending effect).
  int32_t blendFunc[2] = {KV_BLEND_ONE, KV_BLEND_ZERO};
  int32_t blendEquation = KV_BLEND_ADD;              // KV_STATE_BLEND_EQUATION
  int32_t clipRect[4] = {0, 0, 0, 0};                // KV_STATE_CLIP_RECT
  int32_t clip = 0;                                  // KV_STATE_CLIP
  double pointSize = 1.0;                            // KV_STATE_POINT_SIZE
  int32_t pointSprite = 0;                           // KV_STATE_POINT_SPRITE
  int32_t pointCoord = 0;                            // KV_STATE_POINT_COORD
  int32_t pointSmooth = 0;                           // KV_STATE_POINT_SMOOTH
  double clearColor[4] = {0.0, 0.0, 0.0, 0.0};       // KV_STATE_CLEAR_COLOR
  double drawColor[4] = {1.0, 1.0, 1.0, 1.0};        // KV_STATE_DRAW_COLOR
  uint8_t drawColorBytes[4] = {255, 255, 255, 255};  // KV_STATE_DRAW_COLOR as the batch stores it
};

// The current states (read-only outside the state table).
const RenderStates& States();
// Sets the clip switch (220) and rectangle (219) together, as KvSetState would, for the engine's
// own save and restore around drawing into a frame buffer.
void SetClipping(int32_t on, const int32_t rect[4]);
// Applies every GL-side state to the context (after the context is made).
void SyncStatesToGl();
// Restores every state to its initial value (at closure).
void ResetStates();
// A colour component 0..1 as the byte the batch stores (clamped, rounded).
uint8_t ColorByte(double component);

}  // namespace kv::engine
