// Drawing one control: the region it may cover and the clip, the skin of the style that
// applies (its nine areas, the text with its optional outline, the icon), the control's own
// drawing hook with its origin moved to the children's region, then the children back to
// front within that region. The manager starts the walk from each top-level control
// (manager_draw.cpp).
#include <cstdint>

#include "engine/kv_engine.h"
#include "foundation/small_math.h"
#include "gui/gui.h"
#include "gui/truncate.h"

namespace KvCore {

namespace {

static_assert(sizeof(KV_VECTOR) == 16, "the engine reads four packed floats per vertex");

// The icon's texture coordinates: the whole texture, corners TL, TR, BR, BL.
const KV_VECTOR kIconCoords[4] = {KV_VECTOR(0, 0, 0, 1), KV_VECTOR(1, 0, 0, 1),
                                  KV_VECTOR(1, 1, 0, 1), KV_VECTOR(0, 1, 0, 1)};

// Four corners through the engine as one primitive: packed arrays (every stride 0) of
// four-component float vectors, none of them read from a vertex buffer.
void DrawQuad(uint32_t primitive, const KV_VECTOR* points, const KV_VECTOR* colors,
              const KV_VECTOR* coords) {
  KvDrawData(primitive, 0, 4, points, colors, coords, nullptr, nullptr, nullptr, KV_ELEMENT_FLOAT,
             0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0);
}

// The texture coordinates of one area, repeated on a tiled axis as often as the control's size
// holds the tile (the whole control's size, for every area).
void AreaCoords(const KV_GUI::STYLE& style, int area, const KV_VECTOR& size, KV_VECTOR out[4]) {
  for (int k = 0; k < 4; ++k) out[k] = style.AreaCoords[area][k];
  const KV_VECTOR& tile = style.AreaTiled[area];
  const KV_VECTOR& offset = style.AreaOffset[area];
  if (tile.x > 0) {
    float r = size.x / tile.x;
    float o = offset.x / tile.x;
    out[0].x = o;
    out[1].x = r + o;
    out[2].x = r + o;
    out[3].x = o;
  }
  if (tile.y > 0) {
    float r = size.y / tile.y;
    float o = offset.y / tile.y;
    out[0].y = o;
    out[1].y = o;
    out[2].y = r + o;
    out[3].y = r + o;
  }
}

// The nine areas, each with its texture (or none), coordinates and filtered corner colours.
void DrawSkin(const KV_GUI::CONTROL& control, const KV_GUI::STYLE& style) {
  for (int area = 0; area < 9; ++area) {
    if (!style.AreaTexture[area].IsNull())
      KvTextureActivate(style.AreaTexture[area]);
    else
      KvTextureUnactivate(KV_TEXTURE_TARGET);
    KV_VECTOR coords[4];
    AreaCoords(style, area, control.Size, coords);
    KV_VECTOR colors[4];
    for (int k = 0; k < 4; ++k) {
      const KV_VECTOR& c = style.AreaColors[area][k];
      const KV_VECTOR& f = style.AreaColorFilter;
      colors[k] = KV_VECTOR(c.x * f.x, c.y * f.y, c.z * f.z, c.w * f.w);
    }
    KV_VECTOR points[4];
    for (int k = 0; k < 4; ++k) points[k] = control.Points[area][k];
    if (style.AsBorder) {
      // The outline's left side moves right and its bottom up by one pixel, so that the
      // closed line stays inside the box it outlines.
      points[0].x += 1;
      points[3].x += 1;
      points[3].y -= 1;
      points[2].y -= 1;
    }
    DrawQuad(style.AsBorder ? KV_PRIM_LINE_LOOP : KV_PRIM_QUADS, points, colors, coords);
  }
}

// The text in the style's font, alignment and colour, first ringed by its outline prints.
void DrawText(const KV_GUI::CONTROL& control, const KV_GUI::STYLE& style) {
  KV_FONT* font = style.TextFont;
  int halign = font->halign;
  int valign = font->valign;
  font->halign = style.TextHalign;
  font->valign = style.TextValign;
  const KV_VECTOR& corner = control.Points[0][0];
  KV_VECTOR_D at = KV_VECTOR_D(corner.x, corner.y, corner.z, corner.w) + style.TextOffset;
  const KV_VECTOR_D noTurn(0, 0, 0, 0);
  if (style.TextBorderSize > 0 && style.TextBorderQuality > 0) {
    const KV_VECTOR_D& border = style.TextBorderColor;
    KvSetState(KV_STATE_DRAW_COLOR, border.x, border.y, border.z, border.w);
    // Counted in 64 bits: four prints per quality step overflow 32 bits for huge values.
    int64_t prints = (int64_t)style.TextBorderQuality * 4;
    double step = 360.0 / ((double)style.TextBorderQuality * 4.0);
    double angle = 0;
    for (int64_t i = 0; i < prints; ++i) {
      KV_VECTOR_D d = KvLengthdirVector(KV_ROTATION_D(angle, 0, 0, 0), style.TextBorderSize);
      angle += step;
      font->Print(control.Text.c_str(), at + d, style.TextScale, noTurn);
    }
  }
  const KV_VECTOR_D& color = style.TextColor;
  KvSetState(KV_STATE_DRAW_COLOR, color.x, color.y, color.z, color.w);
  font->Print(control.Text.c_str(), at, style.TextScale, noTurn);
  font->halign = halign;
  font->valign = valign;
}

// The icon in white over the whole texture, placed by the style's icon rectangle from the
// control's top-left.
void DrawIcon(const KV_GUI::CONTROL& control, const KV_GUI::STYLE& style) {
  KvTextureActivate(control.Icon);
  KvMatrixPush();
  const KV_VECTOR& corner = control.Points[0][0];
  KvMatrixTranslate(corner.x, corner.y, corner.z);
  DrawQuad(KV_PRIM_QUADS, style.IconRect, nullptr, kIconCoords);
  KvMatrixPop();
}

}  // namespace

void KV_GUI::CONTROL::Draw(KV_VECTOR_D offset, KV_VECTOR_D extent, unsigned char parentDisabled) {
  if (node == nullptr || !Visible) return;
  const KV_VECTOR& topLeft = Points[0][0];
  const KV_VECTOR& bottomRight = Points[8][2];

  // Own region, and the clip (y counted from the bottom of the screen window).
  KV_VECTOR_D offset1 = offset;
  KV_VECTOR_D extent1 = extent;
  if (CutArea) {
    offset1 = offset.Max(KV_VECTOR_D(topLeft.x, topLeft.y, 0, 1));
    extent1 = extent.Min(KV_VECTOR_D(bottomRight.x, bottomRight.y, 0, 1));
  }
  int w = Truncate(extent1.x - offset1.x);
  int h = Truncate(extent1.y - offset1.y);
  if (w < 0) w = 0;
  if (h < 0) h = 0;
  int screenHeight = owner != nullptr && owner->screen != nullptr ? owner->screen->height : 0;
  KvSetState(KV_STATE_CLIP_RECT, Truncate(offset1.x), screenHeight - Truncate(extent1.y), w, h);

  // The children's region: the drawn box less the cut margins.
  KV_VECTOR_D offset2 = offset;
  KV_VECTOR_D extent2 = extent;
  if (CutArea) {
    offset2 = offset.Max(KV_VECTOR_D(topLeft.x + CutMarginLeft, topLeft.y + CutMarginTop, 0, 1));
    extent2 = extent.Min(
        KV_VECTOR_D(bottomRight.x - CutMarginRight, bottomRight.y - CutMarginBottom, 0, 1));
  }

  Render(parentDisabled);

  // The control's own drawing, with its origin at the children's region moved by ChildOffset.
  KvMatrixPush();
  KvMatrixTranslate(ChildOffset.x + offset2.x, ChildOffset.y + offset2.y,
                    ChildOffset.z + offset2.z);
  drawnDisabled = (!Active || parentDisabled) ? 1 : 0;
  // Held while its draw procedure runs, in case that procedure removes it.
  KV_SHARED<CONTROL> keep = node->value;
  OnDraw();
  KvMatrixPop();
  if (node == nullptr) return;

  KV_LIST<CONTROL*> byDepth;
  owner->ChildrenByDepth(this, byDepth);
  KV_LIST<KV_SHARED<CONTROL>> children;
  for (KV_LIST_ITERATOR<CONTROL*> it = byDepth.Begin(); !it.IsEnd(); it.Next())
    children.PushBack((*it.Get())->node->value);
  for (KV_LIST_ITERATOR<KV_SHARED<CONTROL>> it = children.Begin(); !it.IsEnd(); it.Next())
    it->Get()->Draw(offset2, extent2, drawnDisabled);
}

void KV_GUI::CONTROL::Render(unsigned char parentDisabled) {
  // A control inside a disabled parent takes its disabled look, whatever its own state.
  STYLE_HANDLE applies = (Active && !parentDisabled) ? StyleActive : StyleUnactive;
  if ((Active && StyleActive.IsEnd()) || (!Active && StyleUnactive.IsEnd()) || applies.IsEnd())
    return;
  const STYLE& style = *applies.Get();
  DrawSkin(*this, style);
  if (Text.Length() > 0 && style.TextFont != nullptr) DrawText(*this, style);
  KvSetState(KV_STATE_DRAW_COLOR, 1.0, 1.0, 1.0, 1.0);
  if (!Icon.IsNull()) DrawIcon(*this, style);
}

}  // namespace KvCore
