// Feeds arbitrary bytes to the font description parser, both as they come (no terminator, so the
// parser must read nothing beyond the length) and as a file, and checks that every glyph it fills
// stays a finite record and the line break is left alone.
#include "graphics/font_desc.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz/scratch_folder.h"

namespace {

void Check(const KV_FONT_DESC& desc) {
  if (desc.lineBreak != 10 || desc.spacing != 0 || desc.lineSpacing != 0) __builtin_trap();
  for (const KV_GLYPH& g : desc.glyphs) {
    const float values[] = {g.width,   g.height, g.xoffset,  g.yoffset,  g.xadvance,
                            g.texLeft, g.texTop, g.texRight, g.texBottom};
    for (float v : values)
      if (std::isnan(v)) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::EnterScratchFolder("kv_fuzz_font_desc");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An exact-size copy: reading one byte past it is an overflow the sanitizer reports.
  std::vector<char> text(data, data + size);
  KV_FONT_DESC fromMemory;
  bool parsed = fromMemory.Parse(text.empty() ? nullptr : text.data(), (unsigned int)size);
  if (size == 0 && parsed) __builtin_trap();
  Check(fromMemory);

  // The same bytes through a file (in memory: the scratch folder) must give the same result.
  fuzz::WriteFile("f.fnt", data, size);
  KV_FONT_DESC fromFile;
  bool loaded = fromFile.Load("f.fnt");
  if (loaded != parsed) __builtin_trap();
  if (loaded && memcmp(&fromFile, &fromMemory, sizeof fromFile) != 0) __builtin_trap();
  return 0;
}
