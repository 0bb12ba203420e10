// The manager's controls by name: names whose control left the tree are purged, named
// composites leave the tree whole and at once with every name inside them, and every removal
// that frees controls (from a handler, the close button, the deletion queue, the draw pass)
// drops their names at once, so a handler that reads a form by name never reads freed memory.
#include "gui/control_script.h"
#include "layout_fixture.h"

namespace {

const KV_VECTOR POS(10, 10, 0, 1);
const KV_HANDLE NO_ICON = {};

typedef GuiTest ManagerNames;
typedef CompositeTest NamedRemoval;

TEST_F(ManagerNames, PurgeNamesDropsControlsThatLeftTheTree) {
  gui->Attach(&screen);
  Probe* kept = Add("k", nullptr);
  Probe* gone = Add("g", nullptr);
  Probe* goneChild = Add("gc", gone);
  *gui->controls.GetValue("kept") = kept;
  *gui->controls.GetValue("gone") = gone;
  *gui->controls.GetValue("goneChild") = goneChild;
  *gui->controls.GetValue("alias") = gone;
  gui->RemoveControl(gone);
  gui->PurgeNames();
  EXPECT_EQ(gui->controls.CountName(nullptr), 1u);
  EXPECT_EQ(*gui->controls.Find(1, "kept").Get(), kept);
}

TEST_F(ManagerNames, BeforeAttachOnlyTheRootIsFoundSoEveryNameIsPurged) {
  Probe* control = Add("c", nullptr);
  *gui->controls.GetValue("c") = control;
  EXPECT_TRUE(gui->Contains(gui->GetRoot()));
  EXPECT_FALSE(gui->Contains(control));
  gui->PurgeNames();
  EXPECT_EQ(gui->controls.CountName(nullptr), 0u);
}

TEST_F(NamedRemoval, NamedCompositesLeaveWholeAndAtOnce) {
  CONTROL* client = gui->CreateWindow("sk", "w", "", POS, KV_VECTOR(200, 200, 0, 1),
                                      KV_GUI::WINDOW_TITLE_BAR | KV_GUI::WINDOW_CLOSE_BUTTON,
                                      NO_ICON, 0, 0, 0, 0, nullptr);
  CONTROL* inner =
      gui->CreateButton("sk", "inner", "", POS, KV_VECTOR(50, 20, 0, 1), NO_ICON, client);
  CONTROL* list =
      gui->CreateListBox("sk", "lb", POS, KV_VECTOR(50, 50, 0, 1), 5, 0, 0, 0, 0, nullptr);
  CONTROL* button =
      gui->CreateButton("sk", "b", "", POS, KV_VECTOR(50, 20, 0, 1), NO_ICON, nullptr);
  CONTROL* unnamed = gui->CreateStatic("sk", nullptr, "", POS, KV_VECTOR(50, 20, 0, 1), nullptr);
  EXPECT_EQ(TopLevelCount(), 4u);

  EXPECT_FALSE(gui->RemoveNamed(nullptr));
  EXPECT_FALSE(gui->RemoveNamedParent(nullptr));
  // A control filed under no name stays.
  EXPECT_FALSE(gui->RemoveNamed(unnamed));
  EXPECT_TRUE(gui->Contains(unnamed));
  // The whole window leaves at once, and the name of the button inside goes with it.
  EXPECT_TRUE(gui->RemoveNamedParent(client));
  EXPECT_EQ(TopLevelCount(), 3u);
  EXPECT_EQ(Named("w"), nullptr);
  EXPECT_EQ(Named("inner"), nullptr);
  (void)inner;
  EXPECT_TRUE(gui->RemoveNamedParent(list));
  EXPECT_TRUE(gui->RemoveNamed(button));
  EXPECT_EQ(TopLevelCount(), 1u);
  EXPECT_EQ(gui->controls.CountName(nullptr), 0u);
  // A top-level control's parent is the root: nothing is removed and the name stays.
  CONTROL* top = gui->CreateStatic("sk", "top", "", POS, KV_VECTOR(50, 20, 0, 1), nullptr);
  EXPECT_FALSE(gui->RemoveNamedParent(top));
  EXPECT_EQ(Named("top"), top);
  EXPECT_TRUE(gui->Contains(top));
}

// ---- names leave with their controls, at once, on every path that frees controls ----

// A dialog built from a layout file, whose handlers remove, rebuild and reload it and then
// read its fields by name, as an application's would.
class NamesAtOnce : public LayoutTest {
 public:
  // What the handlers (plain procedures) reach the test through.
  static NamesAtOnce* current;
  KV_GUI* Manager() { return gui; }
  using CompositeTest::Named;
  using LayoutTest::path;
  using LayoutTest::Write;

  // The work the "ok" button's handler does before it reads the form.
  void (*action)(NamesAtOnce& test) = nullptr;
  // The names that resolved at the last read of the form, space-separated.
  std::string found;
  KV_WINDOW otherScreen;

  void SetUp() override {
    LayoutTest::SetUp();
    current = this;
    otherScreen.width = 800;
    otherScreen.height = 600;
    *procedures.GetValue("ok") = [](CONTROL* c) {
      if (!(c->Events & KV_GUI::BUTTON_CLICKED)) return;
      if (current->action != nullptr) current->action(*current);
      current->ReadForm();
    };
    Write(R"(<Layout><Dialog>
  <Window Name="dialog" Skin="sk" Title="Form" Position="100:100" Size="300:200" Caption="On"
          ButtonClose="On" EventProc="closed">
    <EditBox Name="field" Skin="sk" Position="10:10" Size="120:20">hello</EditBox>
    <Button Name="ok" Skin="sk" Position="10:40" Size="60:20" EventProc="ok">OK</Button>
    <ListBox Name="list" Skin="sk" Position="10:70" Size="100:60" BarSize="8">
      <Item Skin="sk" Size="20">a</Item><Item Skin="sk" Size="20">b</Item>
    </ListBox>
    <ComboBox Name="combo" Skin="sk" Position="150:10" Size="100:20" ListSize="100:60"
              BarSize="8"><Item Skin="sk" Size="20">x</Item></ComboBox>
  </Window>
</Dialog></Layout>)");
    Build();
  }
  void TearDown() override {
    current = nullptr;
    LayoutTest::TearDown();
  }

 public:
  // Builds the dialog and files its first list item and its combo item by name too.
  void Build() {
    ASSERT_TRUE(Load("Layout/Dialog"));
    KV_LIST<CONTROL*> items;
    gui->ListBoxGetItems(Named("list"), items);
    *gui->controls.GetValue("row") = *items.Begin();
    gui->ComboBoxGetItems(Named("combo"), items);
    *gui->controls.GetValue("pick") = *items.Begin();
  }

  // Reads every field of the form by name through the per-control API and a control script.
  // A name that resolves must hold a control of the tree: a freed one would be read here.
  void ReadForm() {
    found.clear();
    for (const char* name : {"dialog", "field", "ok", "list", "row", "combo", "pick"}) {
      CONTROL* control = Named(name);
      if (control == nullptr) continue;
      EXPECT_TRUE(gui->Contains(control)) << name;
      found += std::string(found.empty() ? "" : " ") + name;
      KV_STRING text;
      gui->EditBoxGetText(control, text);
      gui->ButtonSetOverStyle(control);
      gui->ButtonSetNormalStyle(control);
      gui->ListBoxGetCount(control);
      gui->ComboBoxGetSelected(control);
    }
    KvGuiRunScript(gui->GetRoot(), "select by name field ; set Order to number 0h ; ", gui);
  }

  // The dialog's window: the parent of its client area, which carries the name.
  CONTROL* Window() { return Named("dialog")->GetParent(); }

 protected:
  void ClickOk() { Click(120, 170); }
};
NamesAtOnce* NamesAtOnce::current = nullptr;

const char* const kWholeForm = "dialog field ok list row combo pick";

TEST_F(NamesAtOnce, RemovalsInAHandlerDropTheNamesOfEveryFreedControl) {
  struct PATH {
    const char* what;
    void (*action)(NamesAtOnce& test);
    const char* left;  // the names that still resolve afterwards
  };
  const PATH paths[] = {
      {"RemoveControl", [](NamesAtOnce& t) { t.Manager()->RemoveControl(t.Window()); }, ""},
      {"RemoveNamedParent",
       [](NamesAtOnce& t) { t.Manager()->RemoveNamedParent(t.Named("dialog")); }, ""},
      {"ListBoxRemoveItem",
       [](NamesAtOnce& t) { t.Manager()->ListBoxRemoveItem(t.Named("list"), 0); },
       "dialog field ok list combo pick"},
      {"ListBoxClear", [](NamesAtOnce& t) { t.Manager()->ListBoxClear(t.Named("list")); },
       "dialog field ok list combo pick"},
      {"ComboBoxRemoveItem",
       [](NamesAtOnce& t) { t.Manager()->ComboBoxRemoveItem(t.Named("combo"), 0); },
       "dialog field ok list row combo"},
      {"ComboBoxClear", [](NamesAtOnce& t) { t.Manager()->ComboBoxClear(t.Named("combo")); },
       "dialog field ok list row combo"},
      {"DestroyAll", [](NamesAtOnce& t) { t.Manager()->DestroyAll(); }, ""},
      // Swapping the screen window frees nothing: every name still holds its control.
      {"Attach", [](NamesAtOnce& t) { t.Manager()->Attach(&t.otherScreen); }, kWholeForm},
      // A theme reload changes styles in place: the controls stay, and so do their names.
      {"LoadTheme",
       [](NamesAtOnce& t) {
         std::string theme = t.path + ".theme";
         t.Write(R"(<Theme Name="t"><Style Name="AreaOver"><TextScale Value="2:2"/></Style>
                    </Theme>)",
                 theme);
         EXPECT_TRUE(t.Manager()->LoadTheme(theme.c_str(), "t"));
         std::remove(theme.c_str());
       },
       kWholeForm},
  };
  for (const PATH& path : paths) {
    SCOPED_TRACE(path.what);
    if (Named("dialog") == nullptr) Build();
    gui->Attach(&screen);
    action = path.action;
    Step();
    ClickOk();
    EXPECT_EQ(found, path.left);
    // The frame's own purge finds nothing more to drop.
    action = nullptr;
    ReadForm();
    EXPECT_EQ(found, path.left);
    if (Named("dialog") != nullptr) gui->RemoveControl(Window());
    EXPECT_EQ(gui->controls.CountName(nullptr), 0u);
  }
}

TEST_F(NamesAtOnce, TheCloseButtonsHandlerFindsNoFormAndRebuildsIt) {
  *procedures.GetValue("closed") = [](CONTROL* c) {
    if (!(c->Events & KV_GUI::WINDOW_CLOSED)) return;
    // The window has gone with every control in it: none of its names resolves, so the
    // handler cannot read freed memory; then it builds the dialog anew under the same names.
    current->ReadForm();
    EXPECT_EQ(current->found, "");
    current->Build();
    current->ReadForm();
  };
  gui->RemoveControl(Window());
  Build();  // with the handler set
  CONTROL* oldField = Named("field");
  gui->EditBoxSetText(oldField, "typed");
  Step();
  Click(383, 110);  // the close button at the bar's right end
  EXPECT_EQ(found, kWholeForm);
  KV_STRING text;
  ASSERT_TRUE(gui->EditBoxGetText(Named("field"), text));
  EXPECT_EQ(text, "hello");  // the new dialog's field
  EXPECT_EQ(TopLevelCount(), 1u);
}

TEST_F(NamesAtOnce, ALayoutReloadedInAHandlerGivesTheNamesToTheNewControls) {
  action = [](NamesAtOnce& t) {
    t.Manager()->RemoveNamedParent(t.Named("dialog"));
    t.Build();
  };
  gui->EditBoxSetText(Named("field"), "typed");
  Step();
  ClickOk();
  EXPECT_EQ(found, kWholeForm);
  KV_STRING text;
  ASSERT_TRUE(gui->EditBoxGetText(Named("field"), text));
  EXPECT_EQ(text, "hello");
  EXPECT_EQ(TopLevelCount(), 1u);
}

TEST_F(NamesAtOnce, AQueuedRemovalDropsTheNamesWhenTheQueueIsEmptied) {
  action = [](NamesAtOnce& t) { t.Window()->Detach(); };
  Step();
  // The input pass of a click on "ok", whose handler queues the dialog's removal.
  Cursor(120, 170);
  KvSetMouseDown(1, 1);
  KvSetMousePressed(1, 1);
  gui->UpdateLayout();
  gui->ProcessInput();
  EXPECT_EQ(found, kWholeForm);  // still in the tree until the queue is emptied
  gui->DestroyQueued();
  EXPECT_EQ(TopLevelCount(), 0u);
  EXPECT_EQ(gui->controls.CountName(nullptr), 0u);  // before any purge
}

TEST_F(NamesAtOnce, ADrawProcedureThatRemovesTheDialogFindsNoForm) {
  App(Named("ok"))->RenderProc = [](CONTROL* c) {
    KV_GUI* gui = c->GetGui();
    if (gui == nullptr) return;
    gui->RemoveControl(current->Window());
    current->ReadForm();
  };
  gui->UpdateLayout();
  gui->Draw(0);
  EXPECT_EQ(found, "");
  EXPECT_EQ(TopLevelCount(), 0u);
}

}  // namespace
