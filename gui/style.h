// KvCore::KV_GUI::STYLE: the look of one control. Nine skin areas (row order: top-left, top,
// top-right, left, middle, right, bottom-left, bottom, bottom-right), each with a texture,
// texture coordinates, tiling, offset and corner colours; the split that sizes the border rows
// and columns; the text's font, placement, scale, colours, alignment and outline; an icon
// rectangle; and a switch that draws the areas as outlines. Styles live by name in the
// manager's `styles`; controls refer to them by handle (KV_GUI::STYLE_HANDLE).
#pragma once

#include <cstdint>

#include "engine/kv_engine.h"
#include "foundation/vector.h"
#include "graphics/font.h"
#include "gui/manager.h"

namespace KvCore {

struct KV_GUI::STYLE {
  // Indices into AreaSplit and AreaSplitPercent.
  enum SPLIT { SPLIT_TOP = 0, SPLIT_BOTTOM = 1, SPLIT_LEFT = 2, SPLIT_RIGHT = 3 };

  KV_HANDLE AreaTexture[9];           // per area; null: drawn untextured
  KV_VECTOR AreaCoords[9][4];         // per area corner (0 TL, 1 TR, 2 BR, 3 BL): u in x, v in y
  KV_VECTOR AreaTiled[9];             // per area: tile width (x), height (y); > 0 repeats
  KV_VECTOR AreaOffset[9];            // per area: texture offset in pixels on a tiled axis
  KV_VECTOR AreaColors[9][4];         // per area corner: r, g, b, a from 0 to 1
  KV_VECTOR AreaColorFilter;          // multiplied into every corner colour when drawn
  float AreaSplit[4];                 // top row height, bottom row height, left and right widths
  unsigned char AreaSplitPercent[4];  // '%' when that split value is a percentage, else 0
  KV_FONT* TextFont;                  // a font of the manager's `fonts`, not owned; null: no text
  KV_VECTOR_D TextOffset;             // text position relative to the drawn top-left
  KV_VECTOR_D TextScale;              // scale handed to the font's print
  KV_VECTOR_D TextColor;              // r, g, b, a
  KV_VECTOR_D TextBorderColor;        // colour of the outline
  float TextBorderSize;               // outline distance in pixels; no outline unless > 0
  int32_t TextBorderQuality;          // outline prints = quality * 4; no outline unless > 0
  int32_t TextHalign;                 // -1 left, 0 centre, 1 right
  int32_t TextValign;                 // -1 top, 0 middle, 1 bottom
  KV_VECTOR IconRect[4];              // icon quad corners (TL, TR, BR, BL) from the drawn top-left
  unsigned char AsBorder;             // 1: every area drawn as a closed outline

  // Nine white untextured areas with full texture coordinates, no split, no font, text
  // white at (0, 0) with scale 1, top-left aligned, no outline, empty icon rectangle.
  STYLE();

  // The four split values resolved against a control of the given size: a '%' value
  // becomes value / 100 of the height (top, bottom) or width (left, right). out holds top,
  // bottom, left, right.
  void ResolveSplit(const KV_VECTOR& size, float out[4]) const;
};

}  // namespace KvCore
