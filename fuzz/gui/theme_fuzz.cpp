// Feeds arbitrary bytes to the theme loader as a theme file's text, on the real engine
// (offscreen). The loader runs in a folder of its own that also holds a texture, a font
// description and a second theme file, so Texture, Font and Include reach real files; a
// theme that includes itself exercises the cycle check. Path separators in the input are
// replaced, so every path the input names stays inside that folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/kv_engine.h"
#include "fuzz/scratch_folder.h"
#include "gui/gui.h"

using fuzz::EnterScratchFolder;
using fuzz::WriteFile;

namespace {

std::string KvtBytes(uint32_t w, uint32_t h) {
  std::string bytes = "KVT1";
  for (uint32_t v : {1u, w, h, 1u, w * h * 4}) bytes.append((const char*)&v, 4);
  bytes.append(w * h * 4, '\x80');
  return bytes;
}

// A new texture's id: every engine object id is larger than the ones before it.
uint32_t NextTextureId() {
  KV_HANDLE probe;
  KvTextureCreate(&probe);
  uint32_t id = probe.Id();
  KvTextureDestroy(probe);
  return id;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  EnterScratchFolder("kv_fuzz_theme");
  KvInitiation();
  WriteFile("t.kvt", KvtBytes(4, 4));
  WriteFile("f.fnt",
            "common lineHeight=20 base=16 scaleW=4 scaleH=4 pages=1\n"
            "char id=97 x=0 y=0 width=2 height=2 xoffset=0 yoffset=0 xadvance=3 page=0\n");
  WriteFile("b.xml",
            "<Theme Name=\"B\"><Texture Name=\"t\" Type=\"KVT\" File=\"t.kvt\"/>"
            "<Font Name=\"f\" TexFile=\"t.kvt\" MapFile=\"f.fnt\"/>"
            "<Style Name=\"s\"><TextFont Name=\"f\"/><AreaTexture Name=\"t\"/></Style>"
            "<Include File=\"a.xml\" Theme=\"T\"/></Theme>");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 16)) return 0;
  std::string text((const char*)data, size);
  for (char& c : text)
    if (c == '/' || c == '\\') c = '_';
  WriteFile("a.xml", text);

  uint32_t firstId = NextTextureId();
  {
    KvCore::KV_GUI gui;
    gui.LoadTheme("a.xml", "T");
    gui.LoadTheme("a.xml", "");
    gui.LoadTheme("b.xml", "B");
    gui.DestroyAll();
  }
  // Textures whose name a later one took are not destroyed by the manager (styles may still
  // hold them); free them here so the engine does not fill up across runs.
  uint32_t lastId = NextTextureId();
  for (uint32_t id = firstId + 1; id < lastId; ++id) {
    KV_HANDLE handle;
    handle.endFlag = 0;
    handle.value = id;
    KvTextureDestroy(handle);
  }
  return 0;
}
