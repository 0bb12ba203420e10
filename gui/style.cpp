// Styles and skins: a style's defaults, its split resolved against a control's size, and the
// lookup by which factories and item adders turn a skin's part into a style handle.
#include "gui/gui.h"

namespace KvCore {

KV_GUI::STYLE::STYLE()
    : AreaColorFilter(1, 1, 1, 1),
      AreaSplit{0, 0, 0, 0},
      AreaSplitPercent{0, 0, 0, 0},
      TextFont(nullptr),
      TextOffset(0, 0, 0, 1),
      TextScale(1, 1, 0, 1),
      TextColor(1, 1, 1, 1),
      TextBorderColor(0, 0, 0, 1),
      TextBorderSize(0),
      TextBorderQuality(1),
      TextHalign(-1),
      TextValign(-1),
      AsBorder(0) {
  for (int area = 0; area < 9; ++area) {
    AreaCoords[area][0] = KV_VECTOR(0, 0, 0, 1);
    AreaCoords[area][1] = KV_VECTOR(1, 0, 0, 1);
    AreaCoords[area][2] = KV_VECTOR(1, 1, 0, 1);
    AreaCoords[area][3] = KV_VECTOR(0, 1, 0, 1);
    AreaTiled[area] = KV_VECTOR(0, 0, 0, 1);
    AreaOffset[area] = KV_VECTOR(0, 0, 0, 1);
    for (int corner = 0; corner < 4; ++corner) AreaColors[area][corner] = KV_VECTOR(1, 1, 1, 1);
  }
  for (int corner = 0; corner < 4; ++corner) IconRect[corner] = KV_VECTOR(0, 0, 0, 1);
}

void KV_GUI::STYLE::ResolveSplit(const KV_VECTOR& size, float out[4]) const {
  for (int i = 0; i < 4; ++i) {
    out[i] = AreaSplit[i];
    if (AreaSplitPercent[i] == '%')
      out[i] = AreaSplit[i] / 100.0f * (i == SPLIT_TOP || i == SPLIT_BOTTOM ? size.y : size.x);
  }
}

KV_GUI::STYLE_HANDLE KV_GUI::ResolveStyle(const char* skin, const char* part) {
  KV_SKIN* found = skins.GetValue(skin);
  if (found == nullptr) return STYLE_HANDLE();
  KV_STRING* styleName = found->GetValue(part);
  if (styleName == nullptr) return STYLE_HANDLE();
  return styles.Get(styleName->c_str());
}

}  // namespace KvCore
