// Palettes: the default one, reading and changing entries, and resolving palette index colours.
#include "platform/imaging/metafile/palette.h"

#include "platform/imaging/decode_budget.h"

namespace platform::metafile {

namespace {

// A palette's entry count is a 16-bit number in the records that make one.
constexpr size_t kMostEntries = 0xFFFF;

bool Fits(size_t count) {
  return count > 0 && count <= kMostEntries && imaging::FitsBudget(count * sizeof(Color));
}

Color Entry(const uint8_t* entry) { return Color{entry[0], entry[1], entry[2]}; }

}  // namespace

const Palette& DefaultPalette() {
  static const Palette palette{
      {{0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
       {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
       {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
       {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}}};
  return palette;
}

Color Resolved(Color color, const Palette* palette) {
  if (!color.indexed) return color;
  const Palette& used =
      palette != nullptr && !palette->entries.empty() ? *palette : DefaultPalette();
  Color entry = used.entries[color.index < used.entries.size() ? color.index : 0];
  entry.indexed = true;
  entry.index = color.index;
  return entry;
}

std::shared_ptr<Palette> ReadPalette(const uint8_t* entries, size_t count) {
  if (!Fits(count)) return nullptr;
  auto palette = std::make_shared<Palette>();
  palette->entries.reserve(count);
  for (size_t i = 0; i < count; ++i) palette->entries.push_back(Entry(entries + i * 4));
  return palette;
}

void SetEntries(Palette* palette, size_t start, const uint8_t* entries, size_t count) {
  // start comes from a 32-bit field, so start + i cannot wrap.
  for (size_t i = 0; i < count && start + i < palette->entries.size(); ++i)
    palette->entries[start + i] = Entry(entries + i * 4);
}

bool ResizePalette(Palette* palette, size_t count) {
  if (!Fits(count)) return false;
  palette->entries.resize(count);
  return true;
}

}  // namespace platform::metafile
