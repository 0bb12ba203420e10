// KV_CORE's render-state shortcuts: draw and clear colours from four components or from a
// packed colour word, and the blend settings. Colours go to the engine as four doubles, blend
// numbers as whole numbers, as the engine's variadic state call reads them.
#include "app/colors.h"
#include "core/core.h"
#include "engine/kv_engine.h"
#include "engine/numbers.h"

void KV_CORE::SetColorARGB(uint32_t word) {
  SetColor(KvColorComponent(word, 'r'), KvColorComponent(word, 'g'), KvColorComponent(word, 'b'),
           KvColorComponent(word, 'a'));
}

void KV_CORE::SetColor(double r, double g, double b, double a) {
  KvSetState(KV_STATE_DRAW_COLOR, r, g, b, a);
}

void KV_CORE::ClearColorARGB(uint32_t word) {
  ClearColor(KvColorComponent(word, 'r'), KvColorComponent(word, 'g'), KvColorComponent(word, 'b'),
             KvColorComponent(word, 'a'));
}

void KV_CORE::ClearColor(double r, double g, double b, double a) {
  KvSetState(KV_STATE_CLEAR_COLOR, r, g, b, a);
  KvRenderScene(KV_SCENE_CLEAR_COLOR);
}

void KV_CORE::SetBlend(uint32_t source, uint32_t destination, uint32_t second) {
  KvSetState(KV_STATE_BLEND_FUNC, (int)source, (int)destination);
  KvSetState(KV_STATE_BLEND_EQUATION, (int)second);
}

void KV_CORE::SetDefaultBlend() {
  SetBlend(KV_BLEND_SRC_ALPHA, KV_BLEND_ONE_MINUS_SRC_ALPHA, KV_BLEND_ADD);
}
