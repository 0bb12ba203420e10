// Theme files: KV_GUI::LoadTheme reads a markup document, picks the first top-level `Theme`
// of the requested name and fills the manager's textures, fonts, styles and skins from its
// children; `Include` pulls in a named theme of another file. Loading only adds to or
// overwrites the manager's dictionaries. The document and the file's bytes live only for the
// call; the one thing carried down an Include chain is the list of themes being applied, so
// that a chain coming back to one of them fails instead of recursing without end.
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "foundation/buffer.h"
#include "foundation/xml.h"
#include "gui/gui.h"
#include "platform/runtime/file_open.h"

namespace KvCore {

namespace {

typedef KV_XML::NODE NODE;

// The blank set of theme files: text made of these is dropped, and cut from every text's ends.
const char* const kBlanks = " \t\n\r";

// Include chains deeper than this fail like a cycle. Cycles are caught by name first; the
// limit catches the ones names miss (the same file reached through two hard links).
constexpr size_t kMaxIncludeDepth = 64;

// Style area names, in area order (row by row).
const char* const kAreaNames[9] = {"TOP-LEFT", "TOP",         "TOP-RIGHT", "LEFT",        "MIDDLE",
                                   "RIGHT",    "BOTTOM-LEFT", "BOTTOM",    "BOTTOM-RIGHT"};
constexpr int kMiddleArea = 4;

// AreaSplit children, in the order of STYLE::SPLIT.
const char* const kSplitSides[4] = {"Top", "Bottom", "Left", "Right"};

// ---- reading the document ----

// The value of the node's first attribute called name; empty text when it has none.
const KV_STRING& Attribute(const NODE* node, const char* name) {
  static const KV_STRING empty;
  for (KV_XML::ATTRIBUTE_ITERATOR it = node->value.attributes.Begin(); !it.IsEnd(); it.Next())
    if (it->name == name) return it->value;
  return empty;
}

// Calls visit(child) for every child element (text nodes have no name and are skipped).
template <class VISIT>
void ForEachElement(const NODE* node, VISIT visit) {
  for (KV_XML::ITERATOR it = node->Begin(); !it.IsEnd(); it.Next())
    if (it->value.name.Length() != 0) visit(it.Get());
}

bool Named(const NODE* node, const char* name) { return node->value.name == name; }

// ---- decoding values with their forced suffix; an empty text leaves the field ----

void DecodeFloat(const KV_STRING& text, float& field) { text.Decode(&field, 'h'); }

void DecodeInteger(const KV_STRING& text, int32_t& field) { text.Decode(&field, 'i'); }

void DecodeVector(const KV_STRING& text, KV_VECTOR& field) {
  float components[4] = {field.x, field.y, field.z, field.w};
  if (text.Decode(components, 'f'))
    field = KV_VECTOR(components[0], components[1], components[2], components[3]);
}

void DecodeVector(const KV_STRING& text, KV_VECTOR_D& field) {
  double components[4] = {field.x, field.y, field.z, field.w};
  if (text.Decode(components, 'v'))
    field = KV_VECTOR_D(components[0], components[1], components[2], components[3]);
}

// ---- keywords ----

// The area an `Align` names; any other text means the middle.
int AreaIndex(const KV_STRING& align) {
  for (int area = 0; area < 9; ++area)
    if (align == kAreaNames[area]) return area;
  return kMiddleArea;
}

// The entry a child element "0" to "3" names; -1 for any other name.
int EntryIndex(const NODE* node) {
  const KV_STRING& name = node->value.name;
  if (name.Length() != 1 || name.text[0] < '0' || name.text[0] > '3') return -1;
  return name.text[0] - '0';
}

// -1, 0 or 1 for the three words; false (field left alone) for any other text.
bool AlignmentWord(const KV_STRING& mode, const char* const words[3], int32_t& field) {
  for (int i = 0; i < 3; ++i) {
    if (mode == words[i]) {
      field = i - 1;
      return true;
    }
  }
  return false;
}

int FilterValue(const KV_STRING& word) {
  return word == "LINEAR" ? KV_FILTER_LINEAR : KV_FILTER_NEAREST;
}

int WrapValue(const KV_STRING& word) { return word == "CLAMP" ? KV_WRAP_CLAMP : KV_WRAP_REPEAT; }

// Whether the dictionaries can file an entry under name (they refuse 124 characters or more).
bool FileableName(const KV_STRING& name) { return name.Length() <= KV_KEY_NAME_MAX; }

// ---- style elements: one handler each, found by the element's name ----

typedef KV_GUI::STYLE STYLE;

// Children "0" to "3" set entries 0 to 3; other children are skipped.
void AreaCorners(KV_VECTOR corners[4], const NODE* element) {
  ForEachElement(element, [&](const NODE* child) {
    int entry = EntryIndex(child);
    if (entry >= 0) DecodeVector(Attribute(child, "Value"), corners[entry]);
  });
}

// Top, Bottom, Left, Right in document order. A value ending in "%" marks its side as a
// percentage; a plain value unmarks it, so a value always means what it says, also over an
// inherited percentage. Decoding stops at the "%": "25%" gives 25.
void AreaSplit(KV_GUI&, STYLE& style, const NODE* element) {
  ForEachElement(element, [&](const NODE* child) {
    for (int side = 0; side < 4; ++side) {
      if (!Named(child, kSplitSides[side])) continue;
      const KV_STRING& value = Attribute(child, "Value");
      unsigned int length = value.Length();
      if (length == 0) return;
      style.AreaSplitPercent[side] = value.text[length - 1] == '%' ? '%' : 0;
      DecodeFloat(value, style.AreaSplit[side]);
      return;
    }
  });
}

void AreaColors(KV_GUI&, STYLE& style, const NODE* element) {
  AreaCorners(style.AreaColors[AreaIndex(Attribute(element, "Align"))], element);
}

void AreaCoords(KV_GUI&, STYLE& style, const NODE* element) {
  int area = AreaIndex(Attribute(element, "Align"));
  DecodeVector(Attribute(element, "Tiled"), style.AreaTiled[area]);
  DecodeVector(Attribute(element, "Offset"), style.AreaOffset[area]);
  AreaCorners(style.AreaCoords[area], element);
}

// The area takes a copy of the named texture's handle, so only textures defined before this
// style reach it; an empty name leaves the area untextured.
void AreaTexture(KV_GUI& gui, STYLE& style, const NODE* element) {
  int area = AreaIndex(Attribute(element, "Align"));
  const KV_STRING& name = Attribute(element, "Name");
  if (name.Length() == 0) {
    style.AreaTexture[area] = KV_HANDLE();
    return;
  }
  KV_HANDLE* texture = gui.textures.GetValue(name);
  if (texture != nullptr) style.AreaTexture[area] = *texture;
}

void AreaColorFilter(KV_GUI&, STYLE& style, const NODE* element) {
  DecodeVector(Attribute(element, "Value"), style.AreaColorFilter);
}

void AsBorder(KV_GUI&, STYLE& style, const NODE* element) {
  style.AsBorder = Attribute(element, "Mode") == "On" ? 1 : 0;
}

void IconRect(KV_GUI&, STYLE& style, const NODE* element) { AreaCorners(style.IconRect, element); }

void TextColor(KV_GUI&, STYLE& style, const NODE* element) {
  DecodeVector(Attribute(element, "Value"), style.TextColor);
}

// The style holds the font object itself, so a Font element read later loads into it.
void TextFont(KV_GUI& gui, STYLE& style, const NODE* element) {
  KV_FONT* font = gui.fonts.GetValue(Attribute(element, "Name"));
  if (font != nullptr) style.TextFont = font;
}

void TextHalign(KV_GUI&, STYLE& style, const NODE* element) {
  static const char* const kWords[3] = {"LEFT", "CENTER", "RIGHT"};
  AlignmentWord(Attribute(element, "Mode"), kWords, style.TextHalign);
}

void TextValign(KV_GUI&, STYLE& style, const NODE* element) {
  static const char* const kWords[3] = {"TOP", "MIDDLE", "BOTTOM"};
  AlignmentWord(Attribute(element, "Mode"), kWords, style.TextValign);
}

void TextOffset(KV_GUI&, STYLE& style, const NODE* element) {
  DecodeVector(Attribute(element, "Value"), style.TextOffset);
}

void TextScale(KV_GUI&, STYLE& style, const NODE* element) {
  DecodeVector(Attribute(element, "Value"), style.TextScale);
}

void TextBorder(KV_GUI&, STYLE& style, const NODE* element) {
  DecodeVector(Attribute(element, "Color"), style.TextBorderColor);
  DecodeFloat(Attribute(element, "Size"), style.TextBorderSize);
  DecodeInteger(Attribute(element, "Quality"), style.TextBorderQuality);
}

struct STYLE_ELEMENT {
  const char* name;
  void (*apply)(KV_GUI& gui, STYLE& style, const NODE* element);
};
const STYLE_ELEMENT kStyleElements[] = {
    {"AreaSplit", AreaSplit},
    {"AreaColors", AreaColors},
    {"AreaCoords", AreaCoords},
    {"AreaTexture", AreaTexture},
    {"AreaColorFilter", AreaColorFilter},
    {"AsBorder", AsBorder},
    {"IconRect", IconRect},
    {"TextColor", TextColor},
    {"TextFont", TextFont},
    {"TextHalign", TextHalign},
    {"TextValign", TextValign},
    {"TextOffset", TextOffset},
    {"TextScale", TextScale},
    {"TextBorder", TextBorder},
};

// Applies one child of a Style element; a child of another name is skipped.
void StyleChild(KV_GUI& gui, STYLE& style, const NODE* element) {
  for (const STYLE_ELEMENT& known : kStyleElements) {
    if (!Named(element, known.name)) continue;
    known.apply(gui, style, element);
    return;
  }
}

// ---- the loader: one per LoadTheme call, shared by the Include levels below it ----

class THEME_LOADER {
 public:
  explicit THEME_LOADER(KV_GUI& gui) : gui(gui) {}

  // Reads file, applies its first top-level Theme named theme; false when the file cannot
  // be read or parsed, no such theme exists, or an Include inside it fails.
  bool Load(const char* file, const char* theme);

 private:
  KV_GUI& gui;
  // The (file, theme) pairs being applied, outermost first.
  std::vector<std::pair<std::string, std::string>> open;

  static std::string FileIdentity(const char* file);
  bool Apply(const NODE* theme);
  void Texture(const NODE* element);
  void Font(const NODE* element);
  void Style(const NODE* element);
  void Skin(const NODE* element);
};

// The file as the cycle check compares it: its resolved path when it exists, so "a.xml",
// "./a.xml" and ".\a.xml" are one file; else the path as written, with "/" for "\".
std::string THEME_LOADER::FileIdentity(const char* file) {
  std::string native = KvNativePath(file);
  char resolved[PATH_MAX];
  if (realpath(native.c_str(), resolved) != nullptr) return resolved;
  return native;
}

bool THEME_LOADER::Load(const char* file, const char* theme) {
  if (file == nullptr) return false;
  if (theme == nullptr) theme = "";

  KV_XML document;
  {
    // The bytes are needed only while parsing.
    KV_BUFFER buffer;
    if (!buffer.LoadFromFile(file, 0, 0)) return false;
    if (!document.Parse((const char*)buffer.GetData(), buffer.length, kBlanks, true)) return false;
  }

  const NODE* chosen = nullptr;
  ForEachElement(&document, [&](const NODE* element) {
    if (chosen == nullptr && Named(element, "Theme") && Attribute(element, "Name") == theme)
      chosen = element;
  });
  if (chosen == nullptr) return false;

  std::pair<std::string, std::string> key(FileIdentity(file), theme);
  for (const auto& entry : open)
    if (entry == key) return false;
  if (open.size() >= kMaxIncludeDepth) return false;
  open.push_back(key);
  bool applied = Apply(chosen);
  open.pop_back();
  return applied;
}

// Applies the theme's children in document order; stops with false at the first Include
// that fails, keeping what was applied before it.
bool THEME_LOADER::Apply(const NODE* theme) {
  for (KV_XML::ITERATOR it = theme->Begin(); !it.IsEnd(); it.Next()) {
    const NODE* element = it.Get();
    if (Named(element, "Include")) {
      if (!Load(Attribute(element, "File"), Attribute(element, "Theme"))) return false;
    } else if (Named(element, "Texture")) {
      Texture(element);
    } else if (Named(element, "Font")) {
      Font(element);
    } else if (Named(element, "Style")) {
      Style(element);
    } else if (Named(element, "Skin")) {
      Skin(element);
    }
  }
  return true;
}

// ---- textures and fonts ----

void THEME_LOADER::Texture(const NODE* element) {
  const KV_STRING& name = Attribute(element, "Name");
  // A name the dictionary refuses could never be found again: make no engine object for it.
  if (!FileableName(name)) return;
  const KV_STRING& file = Attribute(element, "File");

  KV_HANDLE texture;
  KvTextureCreate(&texture);
  if (Attribute(element, "Type") == "KVT")
    KvTextureLoad(texture, file, 1);
  else if (gui.textureLoader != nullptr)
    gui.textureLoader(texture, file);

  if (KvTextureActivate(texture)) {
    KvTextureParameter(KV_TEX_MIN_FILTER, (float)FilterValue(Attribute(element, "MinFilter")));
    KvTextureParameter(KV_TEX_MAG_FILTER, (float)FilterValue(Attribute(element, "MagFilter")));
    KvTextureParameter(KV_TEX_WRAP_S, (float)WrapValue(Attribute(element, "WrapS")));
    KvTextureParameter(KV_TEX_WRAP_T, (float)WrapValue(Attribute(element, "WrapT")));
  }
  // An earlier texture of that name is not destroyed: styles may still hold its handle.
  *gui.textures.GetValue(name) = texture;
}

void THEME_LOADER::Font(const NODE* element) {
  KV_FONT* font = gui.fonts.GetValue(Attribute(element, "Name"));
  if (font == nullptr) return;
  // An empty MapFile names no file: the font loads without a description, with the engine's
  // fixed text metrics, instead of failing to read a file of no name and drawing nothing.
  const KV_STRING& map = Attribute(element, "MapFile");
  font->Load(Attribute(element, "TexFile"), map.Length() != 0 ? map.c_str() : nullptr, '\n',
             FilterValue(Attribute(element, "MinFilter")),
             FilterValue(Attribute(element, "MagFilter")));
}

// ---- styles ----

void THEME_LOADER::Style(const NODE* element) {
  KV_GUI::STYLE* style = gui.styles.GetValue(Attribute(element, "Name"));
  if (style == nullptr) return;
  const KV_STRING& inherit = Attribute(element, "Inherit");
  if (inherit.Length() != 0) {
    KV_GUI::STYLE* base = gui.styles.GetValue(inherit);
    if (base != nullptr) *style = *base;
  }
  ForEachElement(element, [&](const NODE* child) { StyleChild(gui, *style, child); });
}

// ---- skins ----

void THEME_LOADER::Skin(const NODE* element) {
  KV_SKIN* skin = gui.skins.GetValue(Attribute(element, "Name"));
  if (skin == nullptr) return;
  ForEachElement(element, [&](const NODE* child) {
    if (!Named(child, "Style")) return;
    KV_STRING* styleName = skin->GetValue(Attribute(child, "Control"));
    if (styleName != nullptr) *styleName = Attribute(child, "Name");
  });
}

}  // namespace

bool KV_GUI::LoadTheme(const char* file, const char* theme) {
  THEME_LOADER loader(*this);
  return loader.Load(file, theme);
}

}  // namespace KvCore
