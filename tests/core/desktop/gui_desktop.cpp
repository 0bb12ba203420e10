// A small GUI program on the framework, for the desktop test: a 640 x 480 window at (200, 150)
// whose GUI holds one GUI window (title bar and client area) with a button in it. The button is
// blue, and red while the pointer is over it (its hover look). The program says on stdout what
// it sees, a line each, as it happens:
//   "bar L T R B" and "button L T R B"   where the title bar and the button are, in the window
//   "window X Y"                         where the GUI window is (at first, then on every move)
//   "entered", "left", "clicked"         what the button heard
//   "mouse down", "mouse up"             the left button, as the frame reads it
// Escape ends it with exit code 1.
#include <cstdio>

#include "app/input.h"
#include "app/loop.h"
#include "core/core.h"
#include "engine/kv_engine.h"
#include "platform/winapi/windows.h"

KV_CORE Core;

namespace {

using KvCore::KV_GUI;
typedef KV_GUI::CONTROL CONTROL;

const char* const kTitle = "Kelvo GUI Desktop";

KV_GUI::CONTROL* guiWindow = nullptr;
KV_VECTOR lastPosition(-1, -1, 0, 1);
bool mouseWasDown = false;

void Say(const char* line) {
  std::printf("%s\n", line);
  std::fflush(stdout);
}

void SayBox(const char* what, const CONTROL* control) {
  std::printf("%s %g %g %g %g\n", what, control->Points[0][0].x, control->Points[0][0].y,
              control->Points[8][2].x, control->Points[8][2].y);
  std::fflush(stdout);
}

// A style of one flat colour.
void Colour(const char* style, float r, float g, float b) {
  KV_GUI::STYLE* look = Core.gui.styles.GetValue(style);
  for (auto& area : look->AreaColors)
    for (KV_VECTOR& corner : area) corner = KV_VECTOR(r, g, b, 1);
}

// Skin "look": the window grey with a dark bar, the button blue, red under the pointer.
void MakeSkin() {
  KV_SKIN* skin = Core.gui.skins.GetValue("look");
  const char* grey[] = {"AreaActive", "AreaUnactive", "AreaBarActive", "AreaBarUnactive"};
  for (const char* part : grey) *skin->GetValue(part) = "client";
  *skin->GetValue("BarActive") = "bar";
  *skin->GetValue("BarUnactive") = "bar";
  Colour("client", 0.5f, 0.5f, 0.5f);
  Colour("bar", 0.15f, 0.15f, 0.15f);
  KV_SKIN* buttonSkin = Core.gui.skins.GetValue("button");
  *buttonSkin->GetValue("AreaActive") = "button";
  *buttonSkin->GetValue("AreaUnactive") = "button";
  *buttonSkin->GetValue("AreaOver") = "button over";
  Colour("button", 0.1f, 0.2f, 0.9f);
  Colour("button over", 0.9f, 0.1f, 0.1f);
}

void HearButton(CONTROL* button) {
  uint32_t heard = button->Events;
  if (heard & KV_GUI::BUTTON_ENTERED) Say("entered");
  if (heard & KV_GUI::BUTTON_LEFT) Say("left");
  if (heard & KV_GUI::BUTTON_CLICKED) Say("clicked");
}

void BuildGui() {
  MakeSkin();
  KV_HANDLE icon = {};
  CONTROL* client = Core.gui.CreateWindow("look", "w", "Window", KV_VECTOR(100, 100, 0, 1),
                                          KV_VECTOR(300, 200, 0, 1), KV_GUI::WINDOW_TITLE_BAR, icon,
                                          0, 0, 0, 0, nullptr);
  auto* button = dynamic_cast<KvCore::Com::C_GUI_CONTROL*>(Core.gui.CreateButton(
      "button", "ok", "", KV_VECTOR(10, 10, 0, 1), KV_VECTOR(80, 20, 0, 1), icon, client));
  if (client == nullptr || button == nullptr) return;
  button->EventProc = HearButton;
  guiWindow = client->GetParent();
}

// The controls' places once the first layout has placed them.
void SayLayout() {
  CONTROL* bar = nullptr;
  for (auto it = guiWindow->node->Begin(); !it.IsEnd(); it.Next())
    if (it->value.Get()->GetTag() == "bar") bar = it->value.Get();
  auto found = Core.gui.controls.Find(1, "ok");
  if (bar != nullptr) SayBox("bar", bar);
  if (!found.IsEnd()) SayBox("button", *found);
}

void GuiFrame(HWND, uintptr_t) {
  if (KvKeyPressed(VK_ESCAPE)) Core.Quit();
  Core.camera.Apply();
  Core.Frame();
  KvRenderScene(KV_SCENE_FRAME);
  if (guiWindow == nullptr) return;
  bool down = KvMouseDown(1);
  if (down != mouseWasDown) Say(down ? "mouse down" : "mouse up");
  mouseWasDown = down;
  if (guiWindow->Position.x != lastPosition.x || guiWindow->Position.y != lastPosition.y) {
    if (lastPosition.x < 0) SayLayout();
    lastPosition = guiWindow->Position;
    std::printf("window %g %g\n", lastPosition.x, lastPosition.y);
    std::fflush(stdout);
  }
}

void GuiState() {
  KV_WINDOW* window = Core.windows.GetValue("main");
  Core.ActivateWindow("main", 0);
  Core.gui.Attach(window);
  Core.SetVsync(true);
  Core.camera.width = static_cast<float>(window->width);
  Core.camera.height = static_cast<float>(window->height);
  BuildGui();
  KV_LOOP::Instance().Run(GuiFrame, 0);
  Core.DestroyAll();
}

}  // namespace

// Returns 1 after a normal run, 0 when the window cannot be created.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  KvInitiation();
  KV_WINDOW* window = Core.windows.GetValue("main");
  window->title = kTitle;
  window->x = 200;
  window->y = 150;
  window->width = 640;
  window->height = 480;
  window->colorBits = 32;
  window->depthBits = 16;
  Core.stateMachine.states.Get("gui")->function = GuiState;
  Core.stateMachine.current = Core.stateMachine.states.Get("gui");
  if (!window->Create(KV_HANDLE())) return 0;
  Core.stateMachine.Run();
  window->Destroy();
  KvClosure();
  return 1;
}
