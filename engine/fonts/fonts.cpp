// KvGenerateFont, KvDrawFont, KvDisplaylistDestroy: bitmap text. A "display list" is a glyph table
// (a copy of the font description, or the fixed metrics of KV_STATE_TEXT_METRICS); KvDrawFont sends
// one textured quad per glyph through the batch, with the current texture, transform and draw
// colour.
//
// Glyphs land where the framework's measure rule puts them. The pen starts at the origin, the top
// left of the first line. With a description, character c advances the pen by its xadvance plus the
// spacing, and its box is width x height at the pen plus (xoffset, yoffset), textured by its
// rectangle. Without one, every character is a cell of the fixed width and height, advancing by
// width plus horizontal spacing, and character c shows cell c of a 16 x 16 grid over the texture.
// The line-break character of KV_STATE_LINE_BREAK ends a line; a line with characters moves the
// next one down by the line height plus the line spacing (the character height plus the vertical
// spacing without a description), and a line without characters takes no height.
#include "engine/fonts/fonts.h"

#include <cstring>
#include <memory>

#include "engine/draw/primitives.h"
#include "engine/kv_engine.h"
#include "engine/objects/object_table.h"
#include "engine/states/render_states.h"
#include "engine/trace/trace.h"

namespace kv::engine {

namespace {

struct GlyphTable {
  bool described = false;
  KV_FONT_RECORD record;
};

ObjectTable<GlyphTable> fonts;

struct GlyphBox {
  float x, y, w, h;
  float u0, v0, u1, v1;
};

// The box of character c at the pen, or false for a glyph with nothing to draw; *advance is how
// far the pen moves.
bool Place(const GlyphTable& font, uint8_t c, float penX, float penY, GlyphBox* box,
           float* advance) {
  if (font.described) {
    const KV_GLYPH& glyph = font.record.glyphs[c];
    *advance = glyph.xadvance + font.record.spacing;
    *box = GlyphBox{penX + glyph.xoffset, penY + glyph.yoffset, glyph.width,    glyph.height,
                    glyph.texLeft,        glyph.texTop,         glyph.texRight, glyph.texBottom};
    return glyph.width > 0 && glyph.height > 0;
  }
  const double* metrics = States().textMetrics;
  float width = static_cast<float>(metrics[0]), height = static_cast<float>(metrics[1]);
  *advance = width + static_cast<float>(metrics[2]);
  float column = static_cast<float>(c % 16), row = static_cast<float>(c / 16);
  *box =
      GlyphBox{penX, penY, width, height, column / 16, row / 16, (column + 1) / 16, (row + 1) / 16};
  return width > 0 && height > 0;
}

float LineStep(const GlyphTable& font) {
  if (font.described) return font.record.lineHeight + font.record.lineSpacing;
  const double* metrics = States().textMetrics;
  return static_cast<float>(metrics[1] + metrics[3]);
}

void DrawGlyph(const GlyphBox& box) {
  const uint8_t* color = States().drawColorBytes;
  draw::InputVertex corners[4] = {
      {{box.x, box.y, 0, 1}, box.u0, box.v0, {color[0], color[1], color[2], color[3]}},
      {{box.x + box.w, box.y, 0, 1}, box.u1, box.v0, {color[0], color[1], color[2], color[3]}},
      {{box.x + box.w, box.y + box.h, 0, 1},
       box.u1,
       box.v1,
       {color[0], color[1], color[2], color[3]}},
      {{box.x, box.y + box.h, 0, 1}, box.u0, box.v1, {color[0], color[1], color[2], color[3]}},
  };
  draw::Emit(draw::Kind::Quads, 4, [&corners](uint32_t number, draw::InputVertex* out) {
    *out = corners[number];
    return true;
  });
}

}  // namespace

size_t FontCount() { return fonts.Count(); }
void DestroyAllFonts() { fonts.Clear(); }

}  // namespace kv::engine

using namespace kv::engine;

extern "C" uint8_t KvGenerateFont(KV_HANDLE* displayList, const KV_FONT_RECORD* desc) {
  if (trace::Call("KvGenerateFont", displayList, desc)) return 0;
  if (displayList == nullptr) return 0;
  auto font = std::make_unique<GlyphTable>();
  if (desc != nullptr) {
    font->described = true;
    std::memcpy(&font->record, desc, sizeof font->record);
  }
  *displayList = fonts.Add(std::move(font));
  return 1;
}

extern "C" uint8_t KvDrawFont(KV_HANDLE displayList, const char* text) {
  if (trace::Call("KvDrawFont", displayList, text)) return 0;
  const GlyphTable* font = fonts.Find(displayList);
  if (font == nullptr || text == nullptr) return 0;
  uint8_t lineBreak = States().lineBreak;
  float penX = 0, penY = 0;
  bool lineHasCharacters = false;
  for (const char* p = text; *p != '\0'; ++p) {
    uint8_t c = static_cast<uint8_t>(*p);
    if (c == lineBreak) {
      if (lineHasCharacters) penY += LineStep(*font);
      penX = 0;
      lineHasCharacters = false;
      continue;
    }
    GlyphBox box;
    float advance = 0;
    if (Place(*font, c, penX, penY, &box, &advance)) DrawGlyph(box);
    penX += advance;
    lineHasCharacters = true;
  }
  return 1;
}

extern "C" void KvDisplaylistDestroy(KV_HANDLE displayList) {
  if (trace::Call("KvDisplaylistDestroy", displayList)) return;
  fonts.Remove(displayList);
}
