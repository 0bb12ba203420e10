// The engine's render states: one record that KvSetState writes and KvGetState points into, and
// the table (render_states.cpp) that gives each state number its argument types, its checks and
// its GL meaning. States outlive every render target: the one GL context keeps them all.
#pragma once

#include <cstdint>

namespace kv::engine {

struct RenderStates {
  double textMetrics[4] = {8.0, 16.0, 0.0, 0.0};     // 95; 96 to 99 point at its four values
  uint8_t lineBreak = 10;                            // 100
  int32_t colorMask[4] = {1, 1, 1, 1};               // 101
  int32_t texturing = 1;                             // 108
  int32_t blend = 0;                                 // 154
  int32_t blendFunc[2] = {159, 158};                 // 155: one, zero (no blending effect)
  int32_t blendEquation = 174;                       // 173: add
  int32_t clipRect[4] = {0, 0, 0, 0};                // 219
  int32_t clip = 0;                                  // 220
  double pointSize = 1.0;                            // 221
  int32_t pointSprite = 0;                           // 224
  int32_t pointCoord = 0;                            // 225
  int32_t pointSmooth = 0;                           // 226
  double clearColor[4] = {0.0, 0.0, 0.0, 0.0};       // 262
  double drawColor[4] = {1.0, 1.0, 1.0, 1.0};        // 263
  uint8_t drawColorBytes[4] = {255, 255, 255, 255};  // 263 as the batch stores colours
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
