// The elements of layout files: one builder per element, found by the element's name in one
// table, and one item adder per kind of parent, found by the parent's tag in another. Each
// builder gathers its attribute values (and looks its icon up) before it calls its factory;
// then come, in this order, the unescaping of the text, the procedures and last the OnLoad
// script, so the script finds the control complete.
#include "gui/layout_elements.h"

#include <cstring>

#include "gui/control_script.h"

namespace KvCore::layout {

namespace {

typedef KV_XML::NODE NODE;
typedef KV_GUI::CONTROL CONTROL;
typedef Com::C_GUI_CONTROL APP_CONTROL;

// What is applied to an element's control after its factory.
enum AFTER : unsigned {
  UNESCAPE = 1,  // the text decoded with its backslash escapes
  EVENT = 2,     // EventProc
  RENDER = 4,    // RenderProc
  ONLOAD = 8,    // the OnLoad script
};

// List docking: the two diagonal words differ between menus and combo boxes.
struct DOCK_WORD {
  const char* word;
  uint32_t menu;
  uint32_t comboBox;
};
const DOCK_WORD kDockWords[] = {
    {"TOP", KV_GUI::DOCK_TO_EDGE_TOP, KV_GUI::DOCK_TO_EDGE_TOP},
    {"BOTTOM", KV_GUI::DOCK_TO_EDGE_BOTTOM, KV_GUI::DOCK_TO_EDGE_BOTTOM},
    {"LEFT", KV_GUI::DOCK_TO_EDGE_LEFT, KV_GUI::DOCK_TO_EDGE_LEFT},
    {"RIGHT", KV_GUI::DOCK_TO_EDGE_RIGHT, KV_GUI::DOCK_TO_EDGE_RIGHT},
    // A menu's list opens beside its button, running up from the button's bottom edge; a
    // combo box's list opens diagonally above the box, past its left or right edge.
    {"LEFT-UP", KV_GUI::DOCK_TO_EDGE_LEFT | KV_GUI::DOCK_TO_EDGE_BOTTOM_INSIDE,
     KV_GUI::DOCK_TO_EDGE_LEFT | KV_GUI::DOCK_TO_EDGE_TOP},
    {"RIGHT-UP", KV_GUI::DOCK_TO_EDGE_RIGHT | KV_GUI::DOCK_TO_EDGE_BOTTOM_INSIDE,
     KV_GUI::DOCK_TO_EDGE_RIGHT | KV_GUI::DOCK_TO_EDGE_TOP},
};
constexpr uint32_t kDockRight = KV_GUI::DOCK_TO_EDGE_RIGHT;
constexpr uint32_t kDockBottom = KV_GUI::DOCK_TO_EDGE_BOTTOM;

// ---- attribute values; an empty value leaves the default ----

KV_VECTOR Vector(const NODE* element, const char* name, KV_VECTOR value) {
  float parts[4] = {value.x, value.y, value.z, value.w};
  if (Attribute(element, name).Decode(parts, 'f'))
    value = KV_VECTOR(parts[0], parts[1], parts[2], parts[3]);
  return value;
}

// Position, Size and the other vectors start at (0, 0, 0, 1).
KV_VECTOR Vector(const NODE* element, const char* name) {
  return Vector(element, name, KV_VECTOR());
}

// Margins start at (0, 0, 0, 0) and are read as top, bottom, left, right.
KV_VECTOR Margins(const NODE* element) { return Vector(element, "Margin", KV_VECTOR(0, 0, 0, 0)); }

// A float the file should give; a missing one reads as 0.
float Float(const NODE* element, const char* name) {
  float value = 0;
  Attribute(element, name).Decode(&value, 'h');
  return value;
}

bool Switch(const NODE* element, const char* name) { return Attribute(element, name) == "On"; }

// The icon the element names: an element that names none takes none, whatever the caller
// filed under the empty name, and adds no entry; a name the dictionary lacks is added with an
// empty handle, which is no icon either.
KV_HANDLE Icon(CONTEXT& context, const NODE* element) {
  const KV_STRING& name = Attribute(element, "Icon");
  if (name.Length() == 0) return KV_HANDLE();
  KV_HANDLE* handle = context.icons.GetValue(name);
  return handle != nullptr ? *handle : KV_HANDLE();
}

// The element's text: the value of its first text node; empty when it has none.
KV_STRING Text(const NODE* element) {
  for (KV_XML::ITERATOR it = element->Begin(); !it.IsEnd(); it.Next())
    if (it->value.name.Length() == 0) return it->value.value;
  return KV_STRING();
}

uint32_t Dock(const NODE* element, bool comboBox, uint32_t otherwise) {
  const KV_STRING& word = Attribute(element, "ListDockType");
  for (const DOCK_WORD& dock : kDockWords)
    if (word == dock.word) return comboBox ? dock.comboBox : dock.menu;
  return otherwise;
}

// ---- after the factory ----

// The procedure filed under name (added as null when missing); null for an empty name or
// a name too long to file.
APP_CONTROL::PROC Procedure(CONTEXT& context, const KV_STRING& name) {
  APP_CONTROL::PROC* procedure = context.procedures.GetValue(name);
  return procedure != nullptr ? *procedure : nullptr;
}

void Apply(CONTEXT& context, const NODE* element, CONTROL* control, unsigned after) {
  if (control == nullptr) return;
  if (after & UNESCAPE) control->Text.Unescape();
  // Only the application's controls carry procedures; a factory may return a widget.
  APP_CONTROL* app = dynamic_cast<APP_CONTROL*>(control);
  const KV_STRING& eventName = Attribute(element, "EventProc");
  if ((after & EVENT) && eventName.Length() != 0) {
    APP_CONTROL::PROC procedure = Procedure(context, eventName);
    if (app != nullptr) app->EventProc = procedure;
  }
  const KV_STRING& renderName = Attribute(element, "RenderProc");
  if ((after & RENDER) && renderName.Length() != 0) {
    APP_CONTROL::PROC procedure = Procedure(context, renderName);
    if (app != nullptr) app->RenderProc = procedure;
  }
  const KV_STRING& script = Attribute(element, "OnLoad");
  if ((after & ONLOAD) && script.Length() != 0) KvGuiRunScript(control, script, &context.gui);
}

// ---- the elements ----

CONTROL* BuildControl(CONTEXT& context, const NODE* element, CONTROL* parent) {
  APP_CONTROL* control = new APP_CONTROL();
  if (context.gui.AddControl(control, parent) == nullptr) {
    // The tree refused it, so the loader still owns it.
    delete control;
    return nullptr;
  }
  const KV_STRING& name = Attribute(element, "Name");
  if (name.Length() != 0) {
    CONTROL** filed = context.gui.controls.GetValue(name);
    if (filed != nullptr) *filed = control;
  }
  return control;
}

CONTROL* BuildWindow(CONTEXT& context, const NODE* e, CONTROL* parent) {
  uint32_t flags = 0;
  if (Switch(e, "Caption")) flags |= KV_GUI::WINDOW_TITLE_BAR;
  if (Switch(e, "ButtonClose")) flags |= KV_GUI::WINDOW_CLOSE_BUTTON;
  if (Switch(e, "ButtonMin")) flags |= KV_GUI::WINDOW_MINIMIZE_BUTTON;
  if (Switch(e, "ButtonFull")) flags |= KV_GUI::WINDOW_MAXIMIZE_BUTTON;
  KV_VECTOR margin = Margins(e);
  KV_HANDLE icon = Icon(context, e);
  return context.gui.CreateWindow(Attribute(e, "Skin"), Attribute(e, "Name"), Attribute(e, "Title"),
                                  Vector(e, "Position"), Vector(e, "Size"), flags, icon, margin.x,
                                  margin.y, margin.z, margin.w, parent);
}

CONTROL* BuildButton(CONTEXT& context, const NODE* e, CONTROL* parent) {
  KV_HANDLE icon = Icon(context, e);
  return context.gui.CreateButton(Attribute(e, "Skin"), Attribute(e, "Name"), Text(e),
                                  Vector(e, "Position"), Vector(e, "Size"), icon, parent);
}

CONTROL* BuildScrollPlane(CONTEXT& context, const NODE* e, CONTROL* parent) {
  KV_VECTOR m = Margins(e);
  return context.gui.CreateScrollPlane(
      Attribute(e, "Skin"), Attribute(e, "Name"), Vector(e, "Position"), Vector(e, "Size"),
      Vector(e, "BarSize"), Vector(e, "ContentSize"), m.x, m.y, m.z, m.w, parent);
}

CONTROL* BuildStatic(CONTEXT& context, const NODE* e, CONTROL* parent) {
  return context.gui.CreateStatic(Attribute(e, "Skin"), Attribute(e, "Name"), Text(e),
                                  Vector(e, "Position"), Vector(e, "Size"), parent);
}

CONTROL* BuildProgressBar(CONTEXT& context, const NODE* e, CONTROL* parent) {
  KV_VECTOR m = Margins(e);
  return context.gui.CreateProgressBar(Attribute(e, "Skin"), Attribute(e, "Name"),
                                       Vector(e, "Position"), Vector(e, "Size"), m.x, m.y, m.z, m.w,
                                       parent);
}

CONTROL* BuildListBox(CONTEXT& context, const NODE* e, CONTROL* parent) {
  KV_VECTOR m = Margins(e);
  return context.gui.CreateListBox(Attribute(e, "Skin"), Attribute(e, "Name"),
                                   Vector(e, "Position"), Vector(e, "Size"), Float(e, "BarSize"),
                                   m.x, m.y, m.z, m.w, parent);
}

CONTROL* BuildCheckBox(CONTEXT& context, const NODE* e, CONTROL* parent) {
  KV_VECTOR m = Margins(e);
  return context.gui.CreateCheckBox(Attribute(e, "Skin"), Attribute(e, "Name"),
                                    Vector(e, "Position"), Vector(e, "Size"), m.x, m.y, m.z, m.w,
                                    parent);
}

CONTROL* BuildOptionBox(CONTEXT& context, const NODE* e, CONTROL* parent) {
  KV_VECTOR m = Margins(e);
  return context.gui.CreateOptionBox(Attribute(e, "Skin"), Attribute(e, "Name"),
                                     Vector(e, "Position"), Vector(e, "Size"), m.x, m.y, m.z, m.w,
                                     parent);
}

CONTROL* BuildSlider(CONTEXT& context, const NODE* e, CONTROL* parent) {
  return context.gui.CreateSlider(Attribute(e, "Skin"), Attribute(e, "Name"), Vector(e, "Position"),
                                  Vector(e, "Size"), parent);
}

CONTROL* BuildMenu(CONTEXT& context, const NODE* e, CONTROL* parent) {
  KV_HANDLE icon = Icon(context, e);
  const KV_STRING text = Text(e);
  // A menu inside a menu button becomes an entry of its list that opens a list of its own.
  if (parent != nullptr && parent->GetTag() == "menubutton")
    return context.gui.CreateSubMenu(parent, Attribute(e, "Skin"), Vector(e, "Size"), text, icon,
                                     Dock(e, false, kDockRight));
  return context.gui.CreateMenu(Attribute(e, "Skin"), Attribute(e, "Name"), Vector(e, "Position"),
                                Vector(e, "Size"), text, icon, Dock(e, false, kDockBottom), parent);
}

CONTROL* BuildEditBox(CONTEXT& context, const NODE* e, CONTROL* parent) {
  return context.gui.CreateEditBox(Attribute(e, "Skin"), Attribute(e, "Name"),
                                   Vector(e, "Position"), Vector(e, "Size"), Text(e),
                                   Switch(e, "Password") ? 1 : 0, parent);
}

CONTROL* BuildGroup(CONTEXT& context, const NODE* e, CONTROL* parent) {
  return context.gui.CreateGroup(Attribute(e, "Skin"), Attribute(e, "Name"), Vector(e, "Position"),
                                 Vector(e, "Size"), Attribute(e, "Title"), parent);
}

CONTROL* BuildComboBox(CONTEXT& context, const NODE* e, CONTROL* parent) {
  KV_VECTOR m = Margins(e);
  return context.gui.CreateComboBox(Attribute(e, "Skin"), Attribute(e, "Name"),
                                    Vector(e, "Position"), Vector(e, "Size"), Vector(e, "ListSize"),
                                    Float(e, "BarSize"), Attribute(e, "Text"),
                                    Dock(e, true, kDockBottom), m.x, m.y, m.z, m.w, parent);
}

// A builder: makes the element's control under parent; null when nothing was built.
typedef CONTROL* (*BUILDER)(CONTEXT& context, const NODE* element, CONTROL* parent);

// Every control-building element of the language but Item, with what follows its factory.
struct ELEMENT {
  const char* name;
  BUILDER build;
  unsigned after;
};
const ELEMENT kElements[] = {
    {"Control", BuildControl, EVENT | RENDER | ONLOAD},
    {"Window", BuildWindow, EVENT | RENDER | ONLOAD},
    {"Button", BuildButton, UNESCAPE | EVENT | RENDER | ONLOAD},
    {"ScrollPlane", BuildScrollPlane, EVENT | RENDER | ONLOAD},
    {"Static", BuildStatic, UNESCAPE | EVENT | RENDER | ONLOAD},
    {"ProgressBar", BuildProgressBar, EVENT | ONLOAD},
    {"ListBox", BuildListBox, EVENT | ONLOAD},
    {"CheckBox", BuildCheckBox, EVENT | ONLOAD},
    {"OptionBox", BuildOptionBox, EVENT | ONLOAD},
    {"Slider", BuildSlider, EVENT | ONLOAD},
    {"Menu", BuildMenu, UNESCAPE | EVENT | ONLOAD},
    {"EditBox", BuildEditBox, EVENT | ONLOAD},
    {"Group", BuildGroup, ONLOAD},
    {"ComboBox", BuildComboBox, EVENT | ONLOAD},
};

// ---- items ----

CONTROL* AddListItem(CONTEXT& context, const NODE* e, CONTROL* parent) {
  return context.gui.ListBoxAddItem(Attribute(e, "Skin"), Text(e), Float(e, "Size"), parent);
}

CONTROL* AddCheckItem(CONTEXT& context, const NODE* e, CONTROL* parent) {
  return context.gui.CheckBoxAddItem(Attribute(e, "Skin"), Text(e), Float(e, "Size"),
                                     Vector(e, "CheckSize"), parent);
}

CONTROL* AddOptionItem(CONTEXT& context, const NODE* e, CONTROL* parent) {
  return context.gui.OptionBoxAddItem(Attribute(e, "Skin"), Text(e), Float(e, "Size"),
                                      Vector(e, "OptSize"), parent);
}

CONTROL* AddMenuItem(CONTEXT& context, const NODE* e, CONTROL* parent) {
  KV_HANDLE icon = Icon(context, e);
  return context.gui.MenuAddItem(parent, Attribute(e, "Skin"), Vector(e, "Size"), Text(e), icon);
}

CONTROL* AddComboItem(CONTEXT& context, const NODE* e, CONTROL* parent) {
  return context.gui.ComboBoxAddItem(Attribute(e, "Skin"), Text(e), Float(e, "Size"), parent);
}

// The item adder that a parent's tag picks, with what follows it.
struct ITEM {
  const char* parentTag;
  BUILDER add;
  unsigned after;
};
const ITEM kItems[] = {
    {"listbox", AddListItem, UNESCAPE | ONLOAD},
    {"checkbox", AddCheckItem, UNESCAPE | ONLOAD},
    {"optionbox", AddOptionItem, UNESCAPE | ONLOAD},
    {"menubutton", AddMenuItem, UNESCAPE | EVENT | ONLOAD},
    {"menuitem", AddMenuItem, UNESCAPE | EVENT | ONLOAD},
};
// A parent of any other tag takes an item when it is a combo box.
const ITEM kComboItem = {"", AddComboItem, UNESCAPE | ONLOAD};

// Whether control's first child is tagged "comboboxm": the control is a combo box.
bool IsComboBox(const CONTROL* control) {
  if (control->node == nullptr) return false;
  KV_GUI::NODE::ITERATOR first = control->node->Begin();
  return !first.IsEnd() && first->value.Get() != nullptr &&
         first->value.Get()->GetTag() == "comboboxm";
}

// The adder for an Item under parent; null when the parent takes no items.
const ITEM* ItemAdder(const CONTROL* parent) {
  const KV_STRING tag = parent->GetTag();
  for (const ITEM& item : kItems)
    if (tag == item.parentTag) return &item;
  return IsComboBox(parent) ? &kComboItem : nullptr;
}

// An Item adds one entry through the adder that its parent's tag picks.
BUILT BuildItem(CONTEXT& context, const NODE* e, CONTROL* parent) {
  BUILT built;
  built.known = true;
  const ITEM* item = ItemAdder(parent);
  if (item == nullptr) return built;
  built.control = item->add(context, e, parent);
  Apply(context, e, built.control, item->after);
  return built;
}

}  // namespace

const KV_STRING& Attribute(const NODE* element, const char* name) {
  static const KV_STRING empty;
  for (KV_XML::ATTRIBUTE_ITERATOR it = element->value.attributes.Begin(); !it.IsEnd(); it.Next())
    if (it->name == name) return it->value;
  return empty;
}

BUILT BuildElement(CONTEXT& context, NODE* element, CONTROL* parent) {
  const KV_STRING& kind = element->value.name;
  if (kind == "Item") {
    // Without a parent there is nothing to add an item to: the name counts as unknown.
    if (parent == nullptr) return BUILT{};
    return BuildItem(context, element, parent);
  }
  BUILT built;
  for (const ELEMENT& known : kElements) {
    if (kind != known.name) continue;
    built.known = true;
    built.control = known.build(context, element, parent);
    Apply(context, element, built.control, known.after);
    break;
  }
  return built;
}

}  // namespace KvCore::layout
