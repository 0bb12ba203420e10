// Feeds arbitrary bytes to the control script interpreter as a script, run on a control of a
// manager that holds one composite of each kind the script's commands act on, filed by short
// names, so select, the property words and the commands all reach real controls.
#include <cstddef>
#include <cstdint>
#include <string>

#include "gui/control.h"
#include "gui/control_script.h"

namespace {

// Builds the composites the commands act on, filed as "a" to "f".
void Populate(KvCore::KV_GUI& gui, KvCore::KV_GUI::CONTROL* top) {
  KV_VECTOR origin(0, 0, 0, 1);
  gui.CreateSlider("s", "a", origin, KV_VECTOR(100, 10, 0, 1), top);
  gui.CreateProgressBar("s", "b", origin, KV_VECTOR(100, 10, 0, 1), 1, 1, 1, 1, top);
  gui.CreateEditBox("s", "c", origin, KV_VECTOR(100, 20, 0, 1), "x", 0, top);
  gui.CreateMenu("s", "d", origin, KV_VECTOR(50, 20, 0, 1), "m", KV_HANDLE(),
                 KvCore::KV_GUI::DOCK_TO_EDGE_BOTTOM, top);
  gui.CreateScrollPlane("s", "e", origin, KV_VECTOR(50, 50, 0, 1), KV_VECTOR(5, 5, 0, 1),
                        KV_VECTOR(80, 80, 0, 1), 0, 0, 0, 0, top);
  gui.CreateComboBox("s", "f", origin, KV_VECTOR(50, 20, 0, 1), KV_VECTOR(50, 50, 0, 1), 5, "c",
                     KvCore::KV_GUI::DOCK_TO_EDGE_BOTTOM, 0, 0, 0, 0, top);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 16)) return 0;
  std::string script((const char*)data, size);

  KV_WINDOW screen;
  screen.width = 640;
  screen.height = 480;
  KvCore::KV_GUI gui;
  gui.Attach(&screen);
  KvCore::Com::C_GUI_CONTROL* top = new KvCore::Com::C_GUI_CONTROL();
  gui.AddControl(top, nullptr);
  Populate(gui, top);
  // A name that outlived its control: select must not reach it.
  KvCore::Com::C_GUI_CONTROL* gone = new KvCore::Com::C_GUI_CONTROL();
  gui.AddControl(gone, top);
  *gui.controls.GetValue("g") = gone;
  gui.RemoveControl(gone);

  KvGuiRunScript(top, script.c_str(), &gui);
  return 0;
}
