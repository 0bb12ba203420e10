// KV_FONT: loading a font texture (a texture file, a block in memory or an image file) with its
// description, measuring and printing text, releasing.
#include "graphics/font.h"

#include <new>
#include <string>

#include "graphics/image_files.h"
#include "graphics/placement.h"

namespace {

// The engine's fixed text metrics, read once per measure.
struct FixedMetrics {
  double width = 0, height = 0, hspacing = 0, vspacing = 0;
  unsigned char lineBreak = 10;
};

double StateDouble(unsigned int state) {
  const void* value = KvGetState(state);
  return value != nullptr ? *(const double*)value : 0.0;
}

unsigned char StateLineBreak() {
  const void* value = KvGetState(KV_STATE_LINE_BREAK);
  return value != nullptr ? *(const unsigned char*)value : 10;
}

FixedMetrics ReadFixedMetrics() {
  FixedMetrics m;
  m.width = StateDouble(KV_STATE_TEXT_WIDTH);
  m.height = StateDouble(KV_STATE_TEXT_HEIGHT);
  m.hspacing = StateDouble(KV_STATE_TEXT_HSPACING);
  m.vspacing = StateDouble(KV_STATE_TEXT_VSPACING);
  m.lineBreak = StateLineBreak();
  return m;
}

// The line being measured and the total so far.
struct MeasureState {
  double x = 0, y = 0, w = 0, h = 0;

  void CloseLine() {
    if (x > w) w = x;
    h += y;
    x = y = 0;
  }
};

// The vertical offset of line i of n, each h high, for the alignment.
double VerticalOffset(int valign, unsigned int i, unsigned int n, double h) {
  switch (valign) {
    case -1: return i * h;
    case 0: return i * h - n * h / 2;
    case 1: return i * h - n * h;
    default: return 0;
  }
}

double HorizontalOffset(int halign, double w) {
  switch (halign) {
    case -1: return 0;
    case 0: return -w / 2;
    case 1: return -w;
    default: return 0;
  }
}

}  // namespace

// ---- life --------------------------------------------------------------------------------

KV_FONT::KV_FONT() : loaded(0), valign(-1), halign(-1), texture(), displayList(), desc(nullptr) {}

KV_FONT::KV_FONT(const KV_FONT& other)
    : loaded(other.loaded),
      valign(other.valign),
      halign(other.halign),
      texture(other.texture),
      displayList(other.displayList),
      desc(other.desc ? new KV_FONT_DESC(*other.desc) : nullptr) {}

KV_FONT& KV_FONT::operator=(const KV_FONT& other) {
  if (this == &other) return *this;
  KV_FONT_DESC* copy = other.desc ? new KV_FONT_DESC(*other.desc) : nullptr;
  delete desc;
  desc = copy;
  loaded = other.loaded;
  valign = other.valign;
  halign = other.halign;
  texture = other.texture;
  displayList = other.displayList;
  return *this;
}

KV_FONT::~KV_FONT() { delete desc; }

// ---- loading -----------------------------------------------------------------------------

bool KV_FONT::Load(const char* textureFile, const char* descFile, unsigned char lineBreak,
                   int minFilter, int magFilter) {
  if (textureFile == nullptr) return false;
  // A second load must not strand the objects of the first.
  Destroy();
  KvSetState(KV_STATE_LINE_BREAK, (int)lineBreak);
  if (KvTextureCreate(&texture) == 0 || texture.IsNull()) return false;
  if (KvTextureLoad(texture, textureFile, 1) == 0) {
    KvTextureDestroy(texture);
    texture = KV_HANDLE();
    return false;
  }
  return FinishLoad(minFilter, magFilter, descFile, nullptr, 0);
}

bool KV_FONT::LoadFromMemory(const void* image, const char* descText, unsigned int descLength,
                             unsigned char lineBreak, int minFilter, int magFilter) {
  if (image == nullptr) return false;
  Destroy();
  KvSetState(KV_STATE_LINE_BREAK, (int)lineBreak);
  if (KvTextureCreate(&texture) == 0 || texture.IsNull()) return false;
  if (KvTextureLoadFromMemory(texture, image, 1) == 0) {
    KvTextureDestroy(texture);
    texture = KV_HANDLE();
    return false;
  }
  const char* text = (descText != nullptr && descLength > 0) ? descText : nullptr;
  return FinishLoad(minFilter, magFilter, nullptr, text, descLength);
}

bool KV_FONT::LoadImage(const char* imageFile, const char* descFile, unsigned char lineBreak,
                        int minFilter, int magFilter) {
  if (imageFile == nullptr) return false;
  // A second load must not strand the objects of the first.
  Destroy();
  KvSetState(KV_STATE_LINE_BREAK, (int)lineBreak);
  if (KvTextureCreate(&texture) == 0 || texture.IsNull()) return false;
  if (!KvTextureLoadImage(texture, imageFile)) {
    KvTextureDestroy(texture);
    texture = KV_HANDLE();
    return false;
  }
  return FinishLoad(minFilter, magFilter, descFile, nullptr, 0);
}

bool KV_FONT::FinishLoad(int minFilter, int magFilter, const char* descFile, const char* descText,
                         unsigned int descLength) {
  KvTextureParameter(KV_TEX_MIN_FILTER, (float)minFilter);
  KvTextureParameter(KV_TEX_MAG_FILTER, (float)magFilter);
  KvTextureUnactivate(KV_TEXTURE_TARGET);
  if (descFile != nullptr || descText != nullptr) {
    delete desc;
    desc = new (std::nothrow) KV_FONT_DESC();
    bool read = desc != nullptr &&
                (descFile != nullptr ? desc->Load(descFile) : desc->Parse(descText, descLength));
    if (!read) {
      delete desc;
      desc = nullptr;
      KvTextureDestroy(texture);
      texture = KV_HANDLE();
      return false;
    }
  }
  // A failed generation releases what this load made, so the font is left as never loaded.
  if (KvGenerateFont(&displayList, desc) == 0 || displayList.IsNull()) {
    displayList = KV_HANDLE();
    delete desc;
    desc = nullptr;
    KvTextureDestroy(texture);
    texture = KV_HANDLE();
    return false;
  }
  loaded = 1;
  return true;
}

// ---- measuring and printing ---------------------------------------------------------------

KV_VECTOR_D KV_FONT::Measure(const char* text) const {
  if (text == nullptr) return KV_VECTOR_D(0, 0, 0, 1);
  MeasureState m;
  if (desc != nullptr) {
    for (const unsigned char* p = (const unsigned char*)text; *p != 0; ++p) {
      if (*p == desc->lineBreak) {
        m.CloseLine();
        continue;
      }
      m.x += desc->glyphs[*p].xadvance + desc->spacing;
      m.y = desc->lineHeight + desc->lineSpacing;
    }
  } else {
    FixedMetrics fixed = ReadFixedMetrics();
    for (const unsigned char* p = (const unsigned char*)text; *p != 0; ++p) {
      if (*p == fixed.lineBreak) {
        m.CloseLine();
        continue;
      }
      m.x += fixed.width + fixed.hspacing;
      if (fixed.height + fixed.vspacing > m.y) m.y = fixed.height + fixed.vspacing;
    }
  }
  m.CloseLine();
  return KV_VECTOR_D(m.w, m.h, 0, 1);
}

void KV_FONT::DrawPiece(const char* text, const KV_VECTOR_D& position, const KV_VECTOR_D& scale,
                        const KV_VECTOR_D& rotation, const double* offset) {
  KvMatrixPush();
  ApplyPlacement(position, rotation, scale);
  if (offset != nullptr) KvMatrixTranslate(offset[0], offset[1], 0);
  KvTextureActivate(texture);
  KvDrawFont(displayList, text);
  KvMatrixPop();
}

void KV_FONT::Print(const char* text, KV_VECTOR_D position, KV_VECTOR_D scale,
                    KV_VECTOR_D rotation) {
  if (text == nullptr || texture.IsNull() || displayList.IsNull()) return;
  // Top-left text goes to the engine whole; the engine breaks its lines.
  if (valign == -1 && halign == -1) {
    DrawPiece(text, position, scale, rotation, nullptr);
    return;
  }
  char lineBreak = (char)(desc != nullptr ? desc->lineBreak : StateLineBreak());
  std::string all(text);
  unsigned int n = 1;
  for (char c : all) n += c == lineBreak ? 1 : 0;
  size_t start = 0;
  for (unsigned int i = 0; i < n; ++i) {
    size_t end = all.find(lineBreak, start);
    if (end == std::string::npos) end = all.size();
    std::string line = all.substr(start, end - start);
    KV_VECTOR_D size = Measure(line.c_str());
    double offset[2] = {HorizontalOffset(halign, size.x), VerticalOffset(valign, i, n, size.y)};
    DrawPiece(line.c_str(), position, scale, rotation, offset);
    start = end + 1;
  }
}

// ---- release -------------------------------------------------------------------------------

void KV_FONT::Destroy() {
  if (!loaded) return;
  loaded = 0;
  KvTextureDestroy(texture);
  texture = KV_HANDLE();
  KvDisplaylistDestroy(displayList);
  displayList = KV_HANDLE();
  delete desc;
  desc = nullptr;
}

void KV_FONT::SetState95(double width, double height, double hspacing, double vspacing) {
  KvSetState(KV_STATE_TEXT_METRICS, width, height, hspacing, vspacing);
}
