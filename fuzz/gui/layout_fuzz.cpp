// Feeds arbitrary bytes to the layout loader as a layout file's text. The loader runs in a
// folder of its own beside a second layout file that includes nodes of the fuzzed one, so
// Include reaches real files and cycles through both. "File" in the input is defaced, so
// every file the loader reads is one of the two in that folder (never a device or a huge
// file elsewhere); Includes of the same file, which need no File, stay open to the input.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/scratch_folder.h"
#include "gui/layout_loader.h"

using fuzz::EnterScratchFolder;
using fuzz::WriteFile;

namespace {

void Procedure(KvCore::KV_GUI::CONTROL*) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  EnterScratchFolder("kv_fuzz_layout");
  WriteFile("b.xml",
            "<B><Include File=\"a.xml\" Node=\"L\"/><Control Name=\"b\">"
            "<Include File=\"a.xml\" Node=\"L/M\"/></Control></B>");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 16)) return 0;
  std::string text((const char*)data, size);
  for (size_t at = text.find("File"); at != std::string::npos; at = text.find("File", at))
    text[at + 2] = '_';
  WriteFile("a.xml", text);

  KV_WINDOW screen;
  screen.width = 640;
  screen.height = 480;
  {
    KvCore::KV_GUI gui;
    gui.Attach(&screen);
    KV_GUI_PROCEDURES procedures;
    *procedures.GetValue("p") = Procedure;
    KV_GUI_ICONS icons;
    KvGuiLoadLayout("a.xml", "L", procedures, icons, gui, nullptr, nullptr, nullptr);
    KvGuiLoadLayout("b.xml", "B", procedures, icons, gui, nullptr, nullptr, nullptr);
    // A frame's layout over whatever was built.
    gui.UpdateLayout();
  }
  return 0;
}
