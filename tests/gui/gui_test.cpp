// The whole toolkit driven together: a soak of a few thousand frames of random clicks, drags,
// key presses, typed text and wheel steps, fed through the window procedure as the frame loop
// feeds it, over a window built from a theme file and a layout file on a real offscreen render
// target. The handlers open, close, rebuild and switch off dialogs and read their fields by
// name. Every name must hold a control of the tree at every read, the tree must not grow, and
// the live engine objects must be those the theme made; the sanitizer build checks the memory.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/testing.h"
#include "gui/control_script.h"
#include "gui/layout_loader.h"
#include "gui/widgets/widgets.h"
#include "gui_fixture.h"
#include "scratch_folder.h"
#include "skin_parts.h"

namespace {

LRESULT CALLBACK Quiet(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A theme with a texture, a font and one style per part, each with a border split, colours,
// the font and, on every third part, the texture in its middle.
std::string ThemeText(const std::string& texture, const std::string& desc) {
  std::string text = "<Theme Name=\"soak\">";
  text += "<Texture Name=\"tex\" Type=\"KVT\" File=\"" + texture + "\" MinFilter=\"LINEAR\"/>";
  text += "<Font Name=\"f\" TexFile=\"" + texture + "\" MapFile=\"" + desc + "\"/>";
  int n = 0;
  for (const char* part : kSkinParts) {
    text += "<Style Name=\"" + std::string(part) + "\">";
    text +=
        "<AreaSplit><Top Value=\"2\"/><Bottom Value=\"2\"/><Left Value=\"10%\"/>"
        "<Right Value=\"2\"/></AreaSplit>";
    text +=
        "<AreaColors Align=\"MIDDLE\"><0 Value=\"0.2:0.3:0.4:1\"/><2 Value=\"0.5:0.5:0.9:1\"/>"
        "</AreaColors>";
    text += "<TextFont Name=\"f\"/><TextOffset Value=\"2:2\"/>";
    if (n++ % 3 == 0) text += "<AreaTexture Align=\"MIDDLE\" Name=\"tex\"/>";
    text += "</Style>";
  }
  text += "<Skin Name=\"sk\">";
  for (const char* part : kSkinParts)
    text += "<Style Control=\"" + std::string(part) + "\" Name=\"" + part + "\"/>";
  return text + "</Skin></Theme>";
}

const char kLayout[] = R"(<Layout>
<Main>
  <Window Name="main" Skin="sk" Title="Soak" Position="5:5" Size="220:190" Caption="On"
          ButtonMin="On">
    <EditBox Name="user" Skin="sk" Position="5:5" Size="100:18" EventProc="field">guest</EditBox>
    <Button Name="open" Skin="sk" Position="110:5" Size="50:18" EventProc="open">Open</Button>
    <Menu Name="menu" Skin="sk" Position="170:5" Size="50:18" ListDockType="BOTTOM">File
      <Item Skin="sk" Size="70:15" EventProc="entry">Add</Item>
      <Menu Skin="sk" Size="70:15" ListDockType="RIGHT">More
        <Item Skin="sk" Size="70:15" EventProc="entry">Deeper</Item>
      </Menu>
    </Menu>
    <ListBox Name="list" Skin="sk" Position="5:30" Size="100:60" BarSize="8" EventProc="read">
      <Item Skin="sk" Size="15">one</Item><Item Skin="sk" Size="15">two</Item>
      <Item Skin="sk" Size="15">three</Item><Item Skin="sk" Size="15">four</Item>
      <Item Skin="sk" Size="15">five</Item>
    </ListBox>
    <Slider Name="slider" Skin="sk" Position="110:30" Size="80:12" EventProc="slider"/>
    <ProgressBar Name="progress" Skin="sk" Position="110:45" Size="80:8" Margin="1:1:1:1"/>
    <ComboBox Name="combo" Skin="sk" Position="110:60" Size="80:16" ListSize="80:50" BarSize="6"
              EventProc="read">
      <Item Skin="sk" Size="12">red</Item><Item Skin="sk" Size="12">green</Item>
    </ComboBox>
    <CheckBox Name="checks" Skin="sk" Position="110:85" Size="70:30">
      <Item Skin="sk" Size="14" CheckSize="10:10">loud</Item>
      <Item Skin="sk" Size="14" CheckSize="10:10">fast</Item>
    </CheckBox>
    <ScrollPlane Name="plane" Skin="sk" Position="5:100" Size="120:60" BarSize="8:8"
                 ContentSize="240:200">
      <Static Skin="sk" Position="0:0" Size="200:20">scrolled text</Static>
      <Button Skin="sk" Position="10:30" Size="60:18" EventProc="open">Open too</Button>
    </ScrollPlane>
  </Window>
</Main>
<Dialog>
  <Window Name="dialog" Skin="sk" Title="Dialog" Position="140:100" Size="170:120" Caption="On"
          ButtonClose="On" EventProc="dialog">
    <EditBox Name="name" Skin="sk" Position="5:5" Size="100:18" EventProc="field">x</EditBox>
    <EditBox Name="secret" Skin="sk" Position="5:28" Size="100:18" Password="On">pw</EditBox>
    <Button Name="ok" Skin="sk" Position="110:5" Size="50:18" EventProc="ok">OK</Button>
    <Button Name="cancel" Skin="sk" Position="110:28" Size="50:18" EventProc="cancel">No</Button>
    <Button Name="again" Skin="sk" Position="110:51" Size="50:18" EventProc="open">Again</Button>
    <OptionBox Name="opts" Skin="sk" Position="5:55" Size="80:30">
      <Item Skin="sk" Size="14" OptSize="10:10">a</Item>
      <Item Skin="sk" Size="14" OptSize="10:10">b</Item>
    </OptionBox>
  </Window>
</Dialog>
</Layout>)";

// What the handlers did, so the test can tell that the soak reached every path.
struct TALLY {
  int opened = 0, okayed = 0, cancelled = 0, closed = 0, editsEnded = 0, entries = 0, reads = 0;
};

class GuiSoak : public GuiTest {
 public:
  static GuiSoak* current;
  TALLY tally;

 protected:
  static constexpr int kWidth = 320, kHeight = 240;
  HWND window = nullptr;
  KV_HANDLE target;
  KV_GUI_PROCEDURES procedures;
  KV_GUI_ICONS icons;
  ScratchFolder scratch{"kv_gui_soak"};
  std::string dir, layout;
  std::mt19937 random{20240611};
  int releaseIn = 0;  // frames until the held button goes up; 0: not held

  void SetUp() override {
    GuiTest::SetUp();
    current = this;
    screen.width = kWidth;
    screen.height = kHeight;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Quiet;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Soak Test";
    RegisterClassA(&windowClass);
    window = CreateWindowExA(0, "Soak Test", "Soak Test", WS_POPUP, 0, 0, kWidth, kHeight, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(KvRenderTargetCreate(&target, window, KV_FORMAT_OPAQUE, 32, 16), 1);
    ASSERT_EQ(KvRenderTargetArea(target, 0, 0, kWidth, kHeight, 45.0, -1.0, 1.0, 0.0), 1);
    KvRenderTargetActivate(target);
    KvCameraOrtho(0, 0, kWidth, kHeight, 0);
    gui->Attach(&screen);
    WriteFiles();
    SetProcedures();
  }
  void TearDown() override {
    current = nullptr;
    gui->DestroyAll();  // fonts and textures go before the target
    delete gui;
    gui = new KV_GUI();
    KvRenderTargetDestroy(target);
    if (window != nullptr) DestroyWindow(window);
    GuiTest::TearDown();
  }

  void WriteFiles() {
    dir = scratch.Path() + "/";
    std::string bytes = "KVT1";
    for (uint32_t v : {1u, 16u, 16u, 1u, 16u * 16u * 4u}) bytes.append((const char*)&v, 4);
    bytes.append(16 * 16 * 4, '\xc0');
    std::ofstream(dir + "soak.kvt", std::ios::binary) << bytes;
    std::ofstream(dir + "soak.fnt", std::ios::binary)
        << "common lineHeight=10 base=10 scaleW=16 scaleH=16 pages=1\n"
           "char id=97 x=4 y=4 width=8 height=10 xoffset=0 yoffset=0 xadvance=10 page=0\n";
    std::ofstream(dir + "theme.xml", std::ios::binary)
        << ThemeText(dir + "soak.kvt", dir + "soak.fnt");
    layout = dir + "layout.xml";
    std::ofstream(layout, std::ios::binary) << kLayout;
  }

 public:
  CONTROL* Named(const char* name) {
    auto it = gui->controls.Find(KV_DICTIONARY<CONTROL*>::FIND_NAME, name);
    return it.IsEnd() ? nullptr : *it;
  }
  KV_GUI& Gui() { return *gui; }

  bool LoadNode(const char* node) {
    return KvGuiLoadLayout(layout.c_str(), node, procedures, icons, *gui, nullptr, nullptr,
                           nullptr);
  }

  // Opens the dialog, first closing the one that is open.
  void OpenDialog() {
    if (CONTROL* dialog = Named("dialog")) gui->RemoveNamedParent(dialog);
    EXPECT_TRUE(LoadNode("Layout/Dialog"));
    // A dialog opens in front, as an application opens it.
    if (CONTROL* dialog = Named("dialog")) gui->BringToFront(dialog->GetParent(), 1);
    ++tally.opened;
  }

  // Reads every field of both windows by name, as a form's handler does. A name that
  // resolves must hold a control of the tree.
  void ReadFields() {
    ++tally.reads;
    for (const char* name : {"main", "user", "list", "slider", "combo", "checks", "dialog", "name",
                             "secret", "ok", "opts"}) {
      CONTROL* control = Named(name);
      if (control == nullptr) continue;
      ASSERT_TRUE(gui->Contains(control)) << name;
      KV_STRING text;
      gui->EditBoxGetText(control, text);
      KV_LIST<CONTROL*> items;
      gui->ListBoxGetSelected(control, items);
      gui->CheckBoxGetChecked(control, items);
      gui->OptionBoxGetSelected(control);
      gui->ComboBoxGetSelected(control);
      gui->SliderGetFactor(control);
    }
    KvGuiRunScript(gui->GetRoot(), "select by name name ; set Order to number 0h ; ", gui);
  }

 protected:
  void SetProcedures() {
    *procedures.GetValue("open") = [](CONTROL* c) {
      if (c->Events & KV_GUI::BUTTON_CLICKED) current->OpenDialog();
    };
    *procedures.GetValue("ok") = [](CONTROL* c) {
      if (!(c->Events & KV_GUI::BUTTON_CLICKED)) return;
      ++current->tally.okayed;
      current->ReadFields();
      current->Gui().RemoveNamedParent(current->Named("dialog"));
      current->ReadFields();
    };
    *procedures.GetValue("cancel") = [](CONTROL* c) {
      if (!(c->Events & KV_GUI::BUTTON_CLICKED)) return;
      ++current->tally.cancelled;
      if (CONTROL* dialog = current->Named("dialog")) dialog->GetParent()->Detach();
    };
    *procedures.GetValue("dialog") = [](CONTROL* c) {
      if (!(c->Events & KV_GUI::WINDOW_CLOSED)) return;
      ++current->tally.closed;
      current->ReadFields();
      // Every other close builds the dialog anew at once.
      if (current->tally.closed % 2 == 0) current->OpenDialog();
    };
    *procedures.GetValue("field") = [](CONTROL* c) {
      if (!(c->Events & KV_GUI::EDIT_ENDED)) return;
      ++current->tally.editsEnded;
      current->ReadFields();
    };
    *procedures.GetValue("entry") = [](CONTROL* c) {
      if (!(c->Events & KV_GUI::BUTTON_CLICKED)) return;
      ++current->tally.entries;
      KV_GUI& gui = current->Gui();
      gui.MenuCollapse(current->Named("menu"));
      CONTROL* list = current->Named("list");
      // The list grows and shrinks in turn; the combo box is refilled.
      if (gui.ListBoxGetCount(list) < 8)
        gui.ListBoxAddItem("sk", "added", 15, list);
      else
        gui.ListBoxClear(list);
      CONTROL* combo = current->Named("combo");
      gui.ComboBoxClear(combo);
      gui.ComboBoxAddItem("sk", "again", 12, combo);
      current->ReadFields();
    };
    *procedures.GetValue("slider") = [](CONTROL* c) {
      KV_GUI& gui = current->Gui();
      gui.ProgressBarSetPhase(current->Named("progress"), gui.SliderGetFactor(c));
    };
    *procedures.GetValue("read") = [](CONTROL* c) {
      if (c->Events & KV_GUI::EVENT_NOTIFICATIONS) current->ReadFields();
    };
  }

  // A point to aim at: mostly the middle of a control the pointer can reach (half the time a
  // widget part, which acts on a click), give or take a few pixels, so that the small parts
  // (title-bar buttons, thumbs, items) are hit too; else anywhere on the screen.
  void Aim(int& x, int& y) {
    std::vector<CONTROL*> controls;
    Collect(&gui->tree, controls, true);
    // An open menu or combo list draws the pointer, as it draws a person's.
    std::vector<CONTROL*> inLists;
    for (CONTROL* c : controls)
      for (CONTROL* up = c->GetParent(); up != nullptr; up = up->GetParent())
        if (up->GetTag() == "menulist" || up->GetTag() == "comboboxl") {
          inLists.push_back(c);
          break;
        }
    if (!inLists.empty() && random() % 10 < 8) controls.swap(inLists);
    // Half the time only the parts that act on a click are aimed at.
    if (random() % 2 == 0) {
      std::vector<CONTROL*> parts;
      for (CONTROL* c : controls)
        if (dynamic_cast<KvCore::Com::C_GUI_CONTROL*>(c) == nullptr &&
            dynamic_cast<KV_GUI::__default*>(c) == nullptr)
          parts.push_back(c);
      controls.swap(parts);
    }
    if (!controls.empty() && random() % 6 != 0) {
      CONTROL* c = controls[random() % controls.size()];
      KV_VECTOR at = c->GetPosition();
      KV_VECTOR size = c->GetSize();
      x = (int)(at.x + size.x / 2) + (int)(random() % 7) - 3;
      y = (int)(at.y + size.y / 2) + (int)(random() % 7) - 3;
      return;
    }
    x = (int)(random() % kWidth);
    y = (int)(random() % kHeight);
  }
  // The controls below node; with reachable set, only those that are active and shown with
  // every control above them.
  static void Collect(const KV_GUI::NODE* node, std::vector<CONTROL*>& out,
                      bool reachable = false) {
    for (auto it = node->Begin(); !it.IsEnd(); it.Next()) {
      CONTROL* c = it->value.Get();
      if (reachable && (!c->Active || !c->Visible)) continue;
      out.push_back(c);
      Collect(it.Get(), out, reachable);
    }
  }

  // This frame's input, sent to the window procedure as messages: moves (drags while the
  // button is held), presses released one to three frames later, keys, typed text, wheel steps.
  void RandomInput() {
    static const unsigned int kKeys[] = {VK_LEFT, VK_RIGHT,  VK_HOME, VK_END,
                                         VK_BACK, VK_DELETE, 'A',     VK_CONTROL};
    if (releaseIn > 0 && --releaseIn == 0) Send(WM_LBUTTONUP);
    int x = 0, y = 0;
    switch (random() % 10) {
      case 0:
      case 1:
      case 2:
        Aim(x, y);
        Cursor(x, y);
        break;
      case 3:
      case 4:
      case 5:
        if (releaseIn > 0) break;
        Aim(x, y);
        Cursor(x, y);
        Send(WM_LBUTTONDOWN);
        releaseIn = 1 + (int)(random() % 3);
        break;
      case 6: {  // a key goes down and up, or stays down a frame
        unsigned int key = kKeys[random() % (sizeof kKeys / sizeof kKeys[0])];
        Send(WM_KEYDOWN, key);
        if (random() % 2) Send(WM_KEYUP, key);
        break;
      }
      case 7:
        for (int i = 0, n = 1 + (int)(random() % 3); i < n; ++i)
          Send(WM_CHAR, (WPARAM)('a' + random() % 26));
        break;
      case 8: Send(WM_MOUSEWHEEL, WheelParam(random() % 2 ? 120 : -120)); break;
      default: break;
    }
  }

  // Now and then the dialog is switched off, hidden or shown again from outside, as an
  // application does for a modal step.
  void RandomSwitch() {
    if (random() % 50 != 0) return;
    CONTROL* client = Named("dialog");
    if (client == nullptr) return;
    CONTROL* dialog = client->GetParent();
    switch (random() % 4) {
      case 0: dialog->Active = 0; break;
      case 1: dialog->Visible = 0; break;
      default: dialog->Active = dialog->Visible = 1; break;
    }
  }

  // Windows dragged off the screen are put back with their title bar on it, as a desktop does,
  // so that the soak keeps reaching them.
  void KeepWindowsOnScreen() {
    for (auto it = gui->tree.Begin(); !it.IsEnd(); it.Next()) {
      KV_VECTOR& at = it->value.Get()->Position;
      at.x = std::clamp(at.x, -100.0f, (float)kWidth - 40);
      at.y = std::clamp(at.y, 0.0f, (float)kHeight - 30);
    }
  }

  // One frame as the central object runs the GUI, then the frame loop's end-of-frame reset.
  void Frame() {
    gui->UpdateLayout();
    gui->ProcessInput();
    gui->DestroyQueued();
    gui->PurgeNames();
    KvRenderScene(KV_SCENE_CLEAR_COLOR);
    gui->Draw(0);
    KvInputResetFrame(false);
    KvClearChars();
  }
};
GuiSoak* GuiSoak::current = nullptr;

TEST_F(GuiSoak, ThousandsOfRandomFramesKeepNamesTreeAndEngineObjectsSound) {
  ASSERT_TRUE(gui->LoadTheme((dir + "theme.xml").c_str(), "soak"));
  ASSERT_TRUE(LoadNode("Layout/Main"));
  OpenDialog();
  size_t engineObjects = kv::engine::testing::LiveObjectCount();
  std::vector<CONTROL*> controls;
  Collect(&gui->tree, controls);
  const size_t startControls = controls.size();

  size_t mostControls = 0;
  for (int frame = 0; frame < 4000; ++frame) {
    RandomInput();
    RandomSwitch();
    Frame();
    KeepWindowsOnScreen();
    // After the purge every name holds a control of the tree.
    for (auto it = gui->controls.Begin(); !it.IsEnd(); it.Next())
      ASSERT_TRUE(gui->Contains(*it.Get())) << "frame " << frame;
    controls.clear();
    Collect(&gui->tree, controls);
    mostControls = std::max(mostControls, controls.size());
    if (HasFailure()) break;
  }

  // The tree holds at most the main window, one dialog and the items the menu entries add.
  EXPECT_LE(mostControls, startControls + 8 * 4);
  EXPECT_EQ(kv::engine::testing::LiveObjectCount(), engineObjects);
  // The soak went down every path it is meant to.
  EXPECT_GT(tally.opened, 10);
  EXPECT_GT(tally.okayed, 0);
  EXPECT_GT(tally.cancelled, 0);
  EXPECT_GT(tally.closed, 0);
  EXPECT_GT(tally.editsEnded, 0);
  EXPECT_GT(tally.entries, 0);
  std::printf(
      "soak: %d opened, %d ok, %d cancelled, %d closed, %d edits ended, %d entries, "
      "%d reads, at most %zu controls\n",
      tally.opened, tally.okayed, tally.cancelled, tally.closed, tally.editsEnded, tally.entries,
      tally.reads, mostControls);
}

}  // namespace
