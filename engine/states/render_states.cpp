// KvSetState and KvGetState: the state numbers, their argument types and their GL meaning, each in
// one line of the table below. A number the table lacks, or a value a state refuses, gives the
// failure result and never reaches GL. A change that alters how batched vertices must be drawn
// flushes the batch first; setting a state to the value it has changes nothing.
#include "engine/states/render_states.h"

#include <cmath>
#include <cstdarg>
#include <cstring>
#include <string>
#include <vector>

#include "engine/draw/batch.h"
#include "engine/gl/context.h"
#include "engine/gl/gl_functions.h"
#include "engine/kv_engine.h"
#include "engine/numbers.h"
#include "engine/targets/render_targets.h"
#include "engine/trace/trace.h"

namespace kv::engine {

namespace {

RenderStates states;

// ---- number tables -------------------------------------------------------------------------

// Blend factors to GL; anything else (0 included) is refused.
struct FactorEntry {
  int32_t number;
  GLenum factor;
};
constexpr FactorEntry kBlendFactors[] = {
    {KV_BLEND_ZERO, GL_ZERO},
    {KV_BLEND_ONE, GL_ONE},
    {KV_BLEND_SRC_COLOR, GL_SRC_COLOR},
    {KV_BLEND_ONE_MINUS_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR},
    {KV_BLEND_DST_COLOR, GL_DST_COLOR},
    {KV_BLEND_ONE_MINUS_DST_COLOR, GL_ONE_MINUS_DST_COLOR},
    {KV_BLEND_SRC_ALPHA, GL_SRC_ALPHA},
    {KV_BLEND_ONE_MINUS_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA},
    {KV_BLEND_DST_ALPHA, GL_DST_ALPHA},
    {KV_BLEND_ONE_MINUS_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA},
    {KV_BLEND_SRC_ALPHA_SATURATE, GL_SRC_ALPHA_SATURATE},
    {KV_BLEND_CONSTANT_COLOR, GL_CONSTANT_COLOR},
    {KV_BLEND_ONE_MINUS_CONSTANT_COLOR, GL_ONE_MINUS_CONSTANT_COLOR},
    {KV_BLEND_CONSTANT_ALPHA, GL_CONSTANT_ALPHA},
    {KV_BLEND_ONE_MINUS_CONSTANT_ALPHA, GL_ONE_MINUS_CONSTANT_ALPHA},
};

// Blend equations to GL; anything else is refused.
constexpr FactorEntry kBlendEquations[] = {
    {KV_BLEND_ADD, GL_FUNC_ADD},
    {KV_BLEND_SUBTRACT, GL_FUNC_SUBTRACT},
    {KV_BLEND_REVERSE_SUBTRACT, GL_FUNC_REVERSE_SUBTRACT},
    {KV_BLEND_MIN, GL_MIN},
    {KV_BLEND_MAX, GL_MAX},
};

template <size_t N>
bool LookUp(const FactorEntry (&table)[N], int32_t number, GLenum* out) {
  for (const FactorEntry& entry : table) {
    if (entry.number == number) {
      *out = entry.factor;
      return true;
    }
  }
  return false;
}

// ---- GL side ---------------------------------------------------------------------------------

bool GlReady() { return HasContext() && EnsureCurrent(); }

void SetCap(GLenum cap, bool on) { on ? gl.Enable(cap) : gl.Disable(cap); }

void ApplyColorMask() {
  gl.ColorMask(states.colorMask[0] != 0, states.colorMask[1] != 0, states.colorMask[2] != 0,
               states.colorMask[3] != 0);
}

void ApplyBlendFunc() {
  GLenum source = GL_ONE, destination = GL_ZERO;
  LookUp(kBlendFactors, states.blendFunc[0], &source);
  LookUp(kBlendFactors, states.blendFunc[1], &destination);
  gl.BlendFunc(source, destination);
}

void ApplyBlendEquation() {
  GLenum equation = GL_FUNC_ADD;
  LookUp(kBlendEquations, states.blendEquation, &equation);
  gl.BlendEquation(equation);
}

void ApplyClipRect() {
  gl.Scissor(states.clipRect[0], states.clipRect[1], states.clipRect[2], states.clipRect[3]);
}

void ApplyPointSprite() {
  SetCap(GL_POINT_SPRITE, states.pointSprite != 0);
  gl.TexEnvi(GL_POINT_SPRITE, GL_COORD_REPLACE, states.pointCoord != 0 ? GL_TRUE : GL_FALSE);
}

// ---- the state table ---------------------------------------------------------------------------

enum class Args { None, Ints, Doubles };

struct Values {
  int32_t ints[4] = {0, 0, 0, 0};
  double doubles[4] = {0, 0, 0, 0};
};

// Stores the values when they are valid and differ; flushes and applies to GL through apply.
template <typename T, size_t N>
bool Store(T (&field)[N], const T* values, bool flush, void (*apply)()) {
  if (std::memcmp(field, values, sizeof field) == 0) return true;
  if (flush) batch::Flush();
  std::memcpy(field, values, sizeof field);
  if (apply != nullptr && GlReady()) apply();
  return true;
}

template <typename T>
bool StoreOne(T& field, T value, bool flush, void (*apply)()) {
  if (field == value) return true;
  if (flush) batch::Flush();
  field = value;
  if (apply != nullptr && GlReady()) apply();
  return true;
}

bool IsSwitch(int32_t value) { return value == 0 || value == 1; }

bool SetTextMetrics(const Values& v) {
  for (double value : v.doubles) {
    if (!std::isfinite(value) || value < 0) return false;
  }
  return Store(states.textMetrics, v.doubles, false, nullptr);
}

bool SetLineBreak(const Values& v) {
  if (v.ints[0] < 0 || v.ints[0] > 255) return false;
  states.lineBreak = static_cast<uint8_t>(v.ints[0]);
  return true;
}

bool SetColorMask(const Values& v) {
  for (int i = 0; i < 4; ++i) {
    if (!IsSwitch(v.ints[i])) return false;
  }
  return Store(states.colorMask, v.ints, true, ApplyColorMask);
}

bool SetTexturing(const Values& v) {
  if (!IsSwitch(v.ints[0])) return false;
  states.texturing = v.ints[0];
  return true;
}

bool SetBlend(const Values& v) {
  if (!IsSwitch(v.ints[0])) return false;
  return StoreOne(states.blend, v.ints[0], true, [] { SetCap(GL_BLEND, states.blend != 0); });
}

bool SetBlendFunc(const Values& v) {
  GLenum unused;
  if (!LookUp(kBlendFactors, v.ints[0], &unused) || !LookUp(kBlendFactors, v.ints[1], &unused))
    return false;
  return Store(states.blendFunc, v.ints, true, ApplyBlendFunc);
}

bool SetBlendEquation(const Values& v) {
  GLenum unused;
  if (!LookUp(kBlendEquations, v.ints[0], &unused)) return false;
  return StoreOne(states.blendEquation, v.ints[0], true, ApplyBlendEquation);
}

bool SetClipRect(const Values& v) {
  if (v.ints[2] < 0 || v.ints[3] < 0) return false;
  return Store(states.clipRect, v.ints, true, ApplyClipRect);
}

bool SetClip(const Values& v) {
  if (!IsSwitch(v.ints[0])) return false;
  return StoreOne(states.clip, v.ints[0], true, [] { SetCap(GL_SCISSOR_TEST, states.clip != 0); });
}

bool SetPointSize(const Values& v) {
  if (!std::isfinite(v.doubles[0]) || v.doubles[0] <= 0) return false;
  return StoreOne(states.pointSize, v.doubles[0], true,
                  [] { gl.PointSize(static_cast<GLfloat>(states.pointSize)); });
}

bool SetPointSprite(const Values& v) {
  if (!IsSwitch(v.ints[0])) return false;
  return StoreOne(states.pointSprite, v.ints[0], true, ApplyPointSprite);
}

bool SetPointCoord(const Values& v) {
  if (!IsSwitch(v.ints[0])) return false;
  return StoreOne(states.pointCoord, v.ints[0], true, ApplyPointSprite);
}

bool SetPointSmooth(const Values& v) {
  if (!IsSwitch(v.ints[0])) return false;
  return StoreOne(states.pointSmooth, v.ints[0], true,
                  [] { SetCap(GL_POINT_SMOOTH, states.pointSmooth != 0); });
}

bool ValidColor(const Values& v) {
  for (double value : v.doubles) {
    if (!std::isfinite(value)) return false;
  }
  return true;
}

bool SetClearColor(const Values& v) {
  if (!ValidColor(v)) return false;
  std::memcpy(states.clearColor, v.doubles, sizeof states.clearColor);
  return true;
}

bool SetDrawColor(const Values& v) {
  if (!ValidColor(v)) return false;
  std::memcpy(states.drawColor, v.doubles, sizeof states.drawColor);
  for (int i = 0; i < 4; ++i) states.drawColorBytes[i] = ColorByte(states.drawColor[i]);
  return true;
}

struct StateEntry {
  uint32_t number;
  Args args;
  int count;                   // values KvSetState reads
  bool (*set)(const Values&);  // null: the state can only be read
  void* (*storage)();          // what KvGetState points at
};

// One line per state number: argument types, setter, and the storage KvGetState returns.
const StateEntry kStates[] = {
    {KV_STATE_RENDER_TARGET, Args::None, 0, nullptr,
     [] { return static_cast<void*>(CurrentTargetHandle()); }},
    {KV_STATE_TEXT_METRICS, Args::Doubles, 4, SetTextMetrics,
     [] { return static_cast<void*>(states.textMetrics); }},
    {KV_STATE_TEXT_WIDTH, Args::None, 0, nullptr,
     [] { return static_cast<void*>(&states.textMetrics[0]); }},
    {KV_STATE_TEXT_HEIGHT, Args::None, 0, nullptr,
     [] { return static_cast<void*>(&states.textMetrics[1]); }},
    {KV_STATE_TEXT_HSPACING, Args::None, 0, nullptr,
     [] { return static_cast<void*>(&states.textMetrics[2]); }},
    {KV_STATE_TEXT_VSPACING, Args::None, 0, nullptr,
     [] { return static_cast<void*>(&states.textMetrics[3]); }},
    {KV_STATE_LINE_BREAK, Args::Ints, 1, SetLineBreak,
     [] { return static_cast<void*>(&states.lineBreak); }},
    {KV_STATE_COLOR_MASK, Args::Ints, 4, SetColorMask,
     [] { return static_cast<void*>(states.colorMask); }},
    {KV_STATE_TEXTURING, Args::Ints, 1, SetTexturing,
     [] { return static_cast<void*>(&states.texturing); }},
    {KV_STATE_BLEND, Args::Ints, 1, SetBlend, [] { return static_cast<void*>(&states.blend); }},
    {KV_STATE_BLEND_FUNC, Args::Ints, 2, SetBlendFunc,
     [] { return static_cast<void*>(states.blendFunc); }},
    {KV_STATE_BLEND_EQUATION, Args::Ints, 1, SetBlendEquation,
     [] { return static_cast<void*>(&states.blendEquation); }},
    {KV_STATE_CLIP_RECT, Args::Ints, 4, SetClipRect,
     [] { return static_cast<void*>(states.clipRect); }},
    {KV_STATE_CLIP, Args::Ints, 1, SetClip, [] { return static_cast<void*>(&states.clip); }},
    {KV_STATE_POINT_SIZE, Args::Doubles, 1, SetPointSize,
     [] { return static_cast<void*>(&states.pointSize); }},
    {KV_STATE_POINT_SPRITE, Args::Ints, 1, SetPointSprite,
     [] { return static_cast<void*>(&states.pointSprite); }},
    {KV_STATE_POINT_COORD, Args::Ints, 1, SetPointCoord,
     [] { return static_cast<void*>(&states.pointCoord); }},
    {KV_STATE_POINT_SMOOTH, Args::Ints, 1, SetPointSmooth,
     [] { return static_cast<void*>(&states.pointSmooth); }},
    {KV_STATE_CLEAR_COLOR, Args::Doubles, 4, SetClearColor,
     [] { return static_cast<void*>(states.clearColor); }},
    {KV_STATE_DRAW_COLOR, Args::Doubles, 4, SetDrawColor,
     [] { return static_cast<void*>(states.drawColor); }},
};

const StateEntry* FindState(uint32_t number) {
  for (const StateEntry& entry : kStates) {
    if (entry.number == number) return &entry;
  }
  return nullptr;
}

std::vector<std::string> FormatValues(uint32_t state, const StateEntry* entry, const Values& v) {
  std::vector<std::string> args{trace::FormatArg(state)};
  if (entry == nullptr) return args;
  for (int i = 0; i < entry->count; ++i) {
    args.push_back(entry->args == Args::Ints ? trace::FormatArg(v.ints[i])
                                             : trace::FormatArg(v.doubles[i]));
  }
  return args;
}

}  // namespace

const RenderStates& States() { return states; }

uint8_t ColorByte(double component) {
  if (!(component > 0.0)) return 0;
  if (component >= 1.0) return 255;
  return static_cast<uint8_t>(component * 255.0 + 0.5);
}

void SetClipping(int32_t on, const int32_t rect[4]) {
  Store(states.clipRect, rect, true, ApplyClipRect);
  StoreOne(states.clip, on != 0 ? 1 : 0, true, [] { SetCap(GL_SCISSOR_TEST, states.clip != 0); });
}

void SyncStatesToGl() {
  ApplyColorMask();
  SetCap(GL_BLEND, states.blend != 0);
  ApplyBlendFunc();
  ApplyBlendEquation();
  ApplyClipRect();
  SetCap(GL_SCISSOR_TEST, states.clip != 0);
  gl.PointSize(static_cast<GLfloat>(states.pointSize));
  ApplyPointSprite();
  SetCap(GL_POINT_SMOOTH, states.pointSmooth != 0);
}

void ResetStates() { states = RenderStates{}; }

}  // namespace kv::engine

using namespace kv::engine;

extern "C" uint8_t KvSetState(uint32_t state, ...) {
  const StateEntry* entry = FindState(state);
  // Only the table knows how many values of which type follow; an unknown number reads none.
  Values values;
  va_list list;
  va_start(list, state);
  for (int i = 0; entry != nullptr && i < entry->count; ++i) {
    if (entry->args == Args::Ints)
      values.ints[i] = va_arg(list, int32_t);
    else
      values.doubles[i] = va_arg(list, double);
  }
  va_end(list);
  if (trace::armed && trace::Record("KvSetState", FormatValues(state, entry, values))) return 0;
  if (entry == nullptr || entry->set == nullptr) return 0;
  return entry->set(values) ? 1 : 0;
}

extern "C" void* KvGetState(uint32_t state) {
  if (trace::Call("KvGetState", state)) return nullptr;
  const StateEntry* entry = FindState(state);
  return entry == nullptr ? nullptr : entry->storage();
}
