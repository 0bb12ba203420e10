// KvCore::KV_GUI: the GUI manager. It owns the tree of controls (through shared pointers),
// the named resources that skin them (styles, skins, textures, fonts) and the controls filed
// by name, and it runs the GUI's per-frame steps: layout, the input pass (hit test, clearing
// of the masked event bits, dispatch), the deletion queue, the purge of stale names and the
// draw. It stays inert until it is given its screen window (Attach).
// The nested classes live in their own headers (gui/control.h, gui/style.h, gui/widgets/);
// gui/gui.h includes this header with them.
#pragma once

#include <cstdint>

#include "app/window.h"
#include "engine/kv_engine.h"
#include "foundation/dictionary.h"
#include "foundation/list.h"
#include "foundation/shared.h"
#include "foundation/string.h"
#include "foundation/tree.h"
#include "foundation/vector.h"
#include "graphics/font.h"
#include "gui/skin.h"

namespace KvCore {

class KV_GUI {
 public:
  class CONTROL;
  struct STYLE;
  class __window;
  class __button;
  class __scroll;
  class __list;
  class __check;
  class __option;
  class __slider;
  class __menu;
  class __edit;
  class __combo;
  class __default;
  class __comboitem;

  // A node of the control tree: a shared pointer to its control, its parent, its children.
  typedef KV_TREE<KV_SHARED<CONTROL>> NODE;
  // A style handle: the iterator into `styles` of one style; the end iterator is no style.
  typedef KV_LIST_ITERATOR<STYLE> STYLE_HANDLE;
  // Called by the theme loader for a texture whose type is not the engine's own.
  typedef void (*TEXTURE_LOADER)(KV_HANDLE texture, const char* file);

  // Event bits of a control (`Events`): input bits set by the hit pass, and the four
  // notification bits that widgets send to their composites (NOTIFICATIONS says what each
  // means for each composite).
  enum EVENT_BITS : uint32_t {
    EVENT_KEY_PRESSED = 0x1,
    EVENT_KEY_DOWN = 0x2,
    EVENT_KEY_RELEASED = 0x4,
    EVENT_MOUSE_PRESSED = 0x8,
    EVENT_MOUSE_DOWN = 0x10,
    EVENT_MOUSE_RELEASED = 0x20,
    EVENT_ENTERED = 0x40,
    EVENT_LEFT = 0x80,
    EVENT_OVER = 0x100,
    EVENT_OUTSIDE = 0x200,
    EVENT_MOVED = 0x400,
    EVENT_NOTIFY_1 = 0x800,
    EVENT_NOTIFY_2 = 0x1000,
    EVENT_NOTIFY_3 = 0x2000,
    EVENT_NOTIFY_4 = 0x4000,
    EVENT_NOTIFICATIONS = 0x7800,  // the four notification bits together
  };

  // What the notification bits tell the control that hears them, by composite.
  enum NOTIFICATIONS : uint32_t {
    WINDOW_DRAGGED = EVENT_NOTIFY_1,    // client area: the title bar moved the window
    WINDOW_CLOSED = EVENT_NOTIFY_2,     // client area: the close button removed the window
    WINDOW_MAXIMIZE = EVENT_NOTIFY_3,   // client area: the maximize button was clicked
    WINDOW_MINIMIZE = EVENT_NOTIFY_4,   // client area: the minimize button was clicked
    BUTTON_CLICKED = EVENT_NOTIFY_1,    // outer button
    BUTTON_ENTERED = EVENT_NOTIFY_2,    // outer button: the pointer came in
    BUTTON_LEFT = EVENT_NOTIFY_3,       // outer button: the pointer went out
    SCROLL_DRAGGED_H = EVENT_NOTIFY_1,  // track "hscrollb": its thumb was dragged
    SCROLL_DRAGGED_V = EVENT_NOTIFY_2,  // track "vscrollb": its thumb was dragged
    CHECK_CLICKED = EVENT_NOTIFY_1,     // check box row: its mark toggled
    OPTION_CLICKED = EVENT_NOTIFY_1,    // option box: one of its marks was clicked
    SLIDER_DRAGGED_H = EVENT_NOTIFY_1,  // outer slider, every frame of a horizontal drag
    SLIDER_DRAGGED_V = EVENT_NOTIFY_2,  // outer slider, every frame of a vertical drag
    MENU_ENTERED = EVENT_NOTIFY_1,      // outer menu: the pointer came in
    MENU_LEFT = EVENT_NOTIFY_2,         // outer menu: the pointer went out
    MENU_PRESSED = EVENT_NOTIFY_3,      // outer menu: a press opened its list
    EDIT_CLICKED = EVENT_NOTIFY_1,      // outer edit box: a click started editing
    EDIT_ENDED = EVENT_NOTIFY_2,        // outer edit box: editing ended
    EDIT_TYPED = EVENT_NOTIFY_3,        // outer edit box: characters were typed
    EDIT_KEY_PRESSED = EVENT_NOTIFY_4,  // outer edit box: a key was pressed while editing
    COMBO_PICKED = EVENT_NOTIFY_1,      // outer combo box: an item was picked
    COMBO_ENTERED = EVENT_NOTIFY_2,     // outer combo box: the pointer came in
    COMBO_LEFT = EVENT_NOTIFY_3,        // outer combo box: the pointer went out
    COMBO_PRESSED = EVENT_NOTIFY_4,     // outer combo box: a press opened its list
  };

  // How SendEvent delivers its bits (mode); the two values combine.
  enum SEND_MODE : uint32_t {
    SEND_RUN_ONLY = 0,    // only runs the target's OnEvent
    SEND_TO_SUBTREE = 1,  // then sends the bits on to every child, adding them there
    SEND_ADD_BITS = 2,    // ORs the bits into the target's Events when it is Active
  };
  // SendEvent's onlyIfInTree: whether a target that has a node must lie in this tree.
  enum SEND_TARGET : unsigned char { SEND_ANY_TARGET = 0, SEND_TREE_ONLY = 1 };
  // SendEvent's clear: whether the target's Events are zeroed after its OnEvent.
  enum SEND_AFTER : unsigned char { SEND_KEEP_EVENTS = 0, SEND_CLEAR_EVENTS = 1 };

  // The parts of a window that CreateWindow's flags ask for.
  enum WINDOW_FLAGS : uint32_t {
    WINDOW_TITLE_BAR = 0x1,
    WINDOW_CLOSE_BUTTON = 0x2,
    WINDOW_MINIMIZE_BUTTON = 0x4,
    WINDOW_MAXIMIZE_BUTTON = 0x8,
  };

  // Layout flags of a control (`Behaviour`), named as the control script and layout files
  // name them.
  enum LAYOUT_FLAGS : uint32_t {
    EMPTY = 0,
    FIT_TO_EDGE_TOP = 0x1,
    FIT_TO_EDGE_BOTTOM = 0x2,
    FIT_TO_EDGE_LEFT = 0x4,
    FIT_TO_EDGE_RIGHT = 0x8,
    FIT_TO_EDGE = 0xF,
    INHERIT_WIDTH = 0x10,
    INHERIT_HEIGHT = 0x20,
    INHERIT_SIZE = 0x30,
    DOCK_TO_EDGE_TOP = 0x40,
    DOCK_TO_EDGE_BOTTOM = 0x80,
    DOCK_TO_EDGE_LEFT = 0x100,
    DOCK_TO_EDGE_RIGHT = 0x200,
    DOCK_TO_EDGE_BOTTOM_INSIDE = 0x400,
    DOCK_TO_EDGE_RIGHT_INSIDE = 0x800,
    DOCK_TO_CENTER = 0x1000,
    DOCK_TO_MIDDLE = 0x2000,
    CENTRALIZE = 0x3000,
    ALL = 0xFFFFFFFFu,
  };

  // ---- fields, in this order ----
  KV_WINDOW* screen;                  // the window the GUI lives in, not owned; null until Attach
  NODE tree;                          // root node; its control is the root control
  KV_LIST<NODE*> deletionQueue;       // nodes queued by CONTROL::Detach
  CONTROL* focus;                     // the front-most hit Hitable control of the last hit pass
  KV_VECTOR_D mousePosition;          // cursor in the screen's client area, stored by dispatch
  KV_VECTOR_D mouseDelta;             // cursor movement since the previous frame
  KV_DICTIONARY<STYLE> styles;        // styles by name
  KV_DICTIONARY<KV_SKIN> skins;       // skins by name
  KV_DICTIONARY<CONTROL*> controls;   // controls filed by name, not owned
  KV_DICTIONARY<KV_HANDLE> textures;  // textures by name, destroyed by DestroyAll
  KV_DICTIONARY<KV_FONT> fonts;       // fonts by name, destroyed by DestroyAll
  TEXTURE_LOADER textureLoader;       // null: none
  uint32_t eventMask;                 // bits cleared from every control but the focused one
  uint32_t treeChanges;               // counts removals, so passes know when to re-check

  // Every container empty, no screen, no focus, mouse fields (0, 0, 0, 1), the mask of the
  // pressed, entered and over bits.
  KV_GUI();
  // Destroys the containers (and with the tree every control); calls no engine function.
  ~KV_GUI();
  KV_GUI(const KV_GUI&) = delete;
  KV_GUI& operator=(const KV_GUI&) = delete;

  // ---- screen and tree (manager.cpp) ----
  // Makes window the screen and gives the root control its owner and node; false for null.
  bool Attach(KV_WINDOW* window);
  // The screen; null before Attach.
  KV_WINDOW* GetScreen() const { return screen; }
  // The root control (never laid out, hit or drawn); the top-level controls are its children.
  CONTROL* GetRoot() const;
  // Hands control to the tree as the last child of parent (of the root for null) and
  // returns it. Null, taking nothing, for a null control, a control already in a tree, or a
  // parent that is in no tree or in another manager's: the caller still owns the control.
  CONTROL* AddControl(CONTROL* control, CONTROL* parent);
  // Removes control and its subtree from the tree now (the immediate removal). Edit boxes
  // inside that are editing end it first, with their notification, while the subtree is
  // still in the tree. Then every name of a control in the subtree is dropped, and so are the
  // queued entries inside it, before the subtree leaves. Safe while a pass walks the tree: a
  // control the pass still holds stays alive until the pass lets go. False for null, the root
  // control or a control that is not in this tree.
  bool RemoveControl(CONTROL* control);
  // False for null; else whether node is the root control's node or lies below it.
  bool HasNode(const NODE* node) const;
  // False for null; else whether control is the root control or lies in its subtree.
  bool Contains(const CONTROL* control) const;
  // Raises control above its siblings: Order := lowest sibling Order - 1, or (exclusive)
  // every sibling 0 and the control -1. Nothing without a node or a parent node.
  void BringToFront(CONTROL* control, unsigned char exclusive);
  // Tear-down: the tree's controls, the queue, styles, names, textures (destroyed), fonts
  // (destroyed). Skins, screen, focus, loader and mouse fields stay. No handler runs: edit
  // boxes that were editing go without their end-of-editing notification.
  void DestroyAll();

  // ---- per-frame steps ----
  // Lays out every top-level control in tree order (manager.cpp).
  void UpdateLayout();
  // Hit test, clearing and dispatch; nothing without a screen (manager_input.cpp).
  void ProcessInput();
  // The hit pass over the children of parent (root for null) within offset..extent.
  void HitTest(CONTROL* parent, KV_VECTOR_D offset, KV_VECTOR_D extent);
  // Events &= ~mask on every control under parent (root for null) but spared and those
  // marked NonCorrected.
  void ClearFlags(CONTROL* spared, uint32_t mask, CONTROL* parent);
  // Runs every control's OnEvent under parent (root for null), then ages its flags.
  void DispatchEvents(CONTROL* parent);
  // Sends bits to target as mode says (SEND_MODE), runs its OnEvent and, with clear, zeroes
  // its Events; nothing for a target outside this tree when onlyIfInTree is set
  // (manager_input.cpp).
  void SendEvent(CONTROL* target, uint32_t bits, uint32_t mode, unsigned char onlyIfInTree,
                 unsigned char clear);
  // Empties the deletion queue, last queued first, removing the nodes still in the tree as
  // RemoveControl does.
  void DestroyQueued();
  // Drops every controls-by-name entry whose control left the tree (manager_names.cpp).
  void PurgeNames();
  // Draws every top-level control back to front, in two passes (alpha, then colour) when
  // twoPass is set; nothing without a screen (manager_draw.cpp).
  void Draw(unsigned char twoPass);

  // Copies of the mouse fields.
  KV_VECTOR_D GetMousePosition() const { return mousePosition; }
  KV_VECTOR_D GetMouseDelta() const { return mouseDelta; }

  // ---- styles and skins (style.cpp) ----
  // The style that the skin gives to the part: skins[skin][part] names a style, found or
  // added in `styles`; missing skins, parts and styles are added empty, so this never fails
  // but for a null or too long name, which gives the end handle (no style).
  STYLE_HANDLE ResolveStyle(const char* skin, const char* part);

  // ---- theme files (theme_loader.cpp) ----
  // Applies the first top-level Theme named theme of the markup file: its textures, fonts,
  // styles and skins are added to (or overwrite) the dictionaries. False when the file cannot
  // be read or parsed, has no such theme, or an Include in it fails (what came before stays).
  // Paths may use "\" for "/": the file's, its Includes', and those of its KVT textures and
  // fonts (a texture of another type goes to textureLoader as written).
  bool LoadTheme(const char* file, const char* theme);

  // ---- helpers for the passes ----
  // out := the children of parent (root for null) sorted by depth: descending Order, equal
  // Order in tree order, so the front-most comes last.
  void ChildrenByDepth(const CONTROL* parent, KV_LIST<CONTROL*>& out) const;
  // The node whose children a pass over parent walks: parent's node, the root node for null.
  NODE* ChildNodes(const CONTROL* parent);

  // ---- control factories (factories/, one file per kind of composite) ----
  // Each builds one composite from the named skin's parts under parent (top level for null),
  // files the returned control under name when name is not null (a later composite of the
  // same name replaces the entry) and returns it. Null, with nothing left in the tree and
  // nothing leaked, when the top control (or a required part) cannot be attached.
  // Margins and borders are given as top, bottom, left, right.

  // A window with the parts that flags ask for (WINDOW_FLAGS). Returns the client area (the
  // window's first child).
  CONTROL* CreateWindow(const char* skin, const char* name, const char* title, KV_VECTOR position,
                        KV_VECTOR size, uint32_t flags, KV_HANDLE icon, float marginTop,
                        float marginBottom, float marginLeft, float marginRight, CONTROL* parent);
  // A button: an application control filled by a __button. Returns the outer control.
  CONTROL* CreateButton(const char* skin, const char* name, const char* text, KV_VECTOR position,
                        KV_VECTOR size, KV_HANDLE icon, CONTROL* parent);
  // A scroll plane: barSize.x is the vertical bar's width, barSize.y the horizontal bar's
  // height. Returns the content (an application control under the "scrollarea").
  CONTROL* CreateScrollPlane(const char* skin, const char* name, KV_VECTOR position, KV_VECTOR size,
                             KV_VECTOR barSize, KV_VECTOR contentSize, float marginTop,
                             float marginBottom, float marginLeft, float marginRight,
                             CONTROL* parent);
  // The list of a combo box: a scroll plane whose content is a __combo. Returns the content.
  CONTROL* CreateComboList(const char* skin, const char* name, KV_VECTOR position, KV_VECTOR size,
                           KV_VECTOR barSize, KV_VECTOR contentSize, float marginTop,
                           float marginBottom, float marginLeft, float marginRight,
                           CONTROL* parent);
  // A static text: one application control.
  CONTROL* CreateStatic(const char* skin, const char* name, const char* text, KV_VECTOR position,
                        KV_VECTOR size, CONTROL* parent);
  // A progress bar inside a border; the bar's width is 0 until ProgressBarSetPhase.
  CONTROL* CreateProgressBar(const char* skin, const char* name, KV_VECTOR position, KV_VECTOR size,
                             float borderTop, float borderBottom, float borderLeft,
                             float borderRight, CONTROL* parent);
  // A list box: a scroll plane with a vertical bar of barWidth only. Returns the content,
  // tagged "listbox".
  CONTROL* CreateListBox(const char* skin, const char* name, KV_VECTOR position, KV_VECTOR size,
                         float barWidth, float marginTop, float marginBottom, float marginLeft,
                         float marginRight, CONTROL* parent);
  // A check box (tagged "checkbox"): the border grows its height; rows come from
  // CheckBoxAddItem.
  CONTROL* CreateCheckBox(const char* skin, const char* name, KV_VECTOR position, KV_VECTOR size,
                          float borderTop, float borderBottom, float borderLeft, float borderRight,
                          CONTROL* parent);
  // An option box (tagged "optionbox"), built as a check box; rows from OptionBoxAddItem.
  CONTROL* CreateOptionBox(const char* skin, const char* name, KV_VECTOR position, KV_VECTOR size,
                           float borderTop, float borderBottom, float borderLeft, float borderRight,
                           CONTROL* parent);
  // A group frame with a title: one __default.
  CONTROL* CreateGroup(const char* skin, const char* name, KV_VECTOR position, KV_VECTOR size,
                       const char* title, CONTROL* parent);
  // A slider (tagged "slider"): horizontal ("hbar") when narrower than wide, else vertical
  // ("vbar"), with a square thumb. Returns the outer control.
  CONTROL* CreateSlider(const char* skin, const char* name, KV_VECTOR position, KV_VECTOR size,
                        CONTROL* parent);
  // A menu button ("menubutton") with its closed list; a listDock from DOCK_TO_EDGE_TOP up to
  // the docking flags' end (composite::IsListDock) sets where the list opens. The icon is not used. Returns the outer control.
  CONTROL* CreateMenu(const char* skin, const char* name, KV_VECTOR position, KV_VECTOR size,
                      const char* text, KV_HANDLE icon, uint32_t listDock, CONTROL* parent);
  // A sub-menu appended to menu's list (tagged "menuitem"); files nothing by name. Null for
  // a menu without its list.
  CONTROL* CreateSubMenu(CONTROL* menu, const char* skin, KV_VECTOR size, const char* text,
                         KV_HANDLE icon, uint32_t listDock);
  // An edit box holding text; password 1 shows one "*" per character. Returns the outer.
  CONTROL* CreateEditBox(const char* skin, const char* name, KV_VECTOR position, KV_VECTOR size,
                         const char* text, unsigned char password, CONTROL* parent);
  // A combo box with its closed list of size listSize (bar barWidth wide), docked by
  // a listDock as for menus, else below the box. Returns the outer control.
  CONTROL* CreateComboBox(const char* skin, const char* name, KV_VECTOR position, KV_VECTOR size,
                          KV_VECTOR listSize, float barWidth, const char* text, uint32_t listDock,
                          float marginTop, float marginBottom, float marginLeft, float marginRight,
                          CONTROL* parent);

  // ---- per-control API: items (composite_items.cpp) ----
  // The adders re-lay the existing items top to bottom and append one below them; each
  // returns the new item, or null for a null control, a control of the wrong kind or a
  // failed attach (nothing new is left in the tree).

  // Appends a __list of the given height to a list box's content ("listbox").
  CONTROL* ListBoxAddItem(const char* skin, const char* text, float height, CONTROL* listBox);
  // Appends a row holding a __check of checkSize to a check box; returns the row.
  CONTROL* CheckBoxAddItem(const char* skin, const char* text, float height, KV_VECTOR checkSize,
                           CONTROL* checkBox);
  // Appends a row holding an __option of checkSize to an option box; returns the row.
  CONTROL* OptionBoxAddItem(const char* skin, const char* text, float height, KV_VECTOR checkSize,
                            CONTROL* optionBox);
  // Appends a __comboitem to a combo box's list.
  CONTROL* ComboBoxAddItem(const char* skin, const char* text, float height, CONTROL* comboBox);
  // Appends a button entry of size to a menu's list (every entry takes size.x as width).
  CONTROL* MenuAddItem(CONTROL* menu, const char* skin, KV_VECTOR size, const char* text,
                       KV_HANDLE icon);

  // Remove the item at index (from 0) at once and re-lay the rest; false for a wrong kind
  // or an index that names no item.
  bool ListBoxRemoveItem(CONTROL* listBox, int32_t index);
  bool CheckBoxRemoveItem(CONTROL* checkBox, int32_t index);
  bool OptionBoxRemoveItem(CONTROL* optionBox, int32_t index);
  bool ComboBoxRemoveItem(CONTROL* comboBox, int32_t index);
  // Remove every item at once; false for a null control or a wrong kind.
  bool ListBoxClear(CONTROL* listBox);
  bool CheckBoxClear(CONTROL* checkBox);
  bool OptionBoxClear(CONTROL* optionBox);
  bool ComboBoxClear(CONTROL* comboBox);
  // Number of items; 0 for a null control or a wrong kind.
  int32_t ListBoxGetCount(CONTROL* listBox);
  int32_t CheckBoxGetCount(CONTROL* checkBox);
  int32_t OptionBoxGetCount(CONTROL* optionBox);
  int32_t ComboBoxGetCount(CONTROL* comboBox);
  // out := the items in child order (plain pointers, valid while the items stay in the
  // tree); false, out untouched, for a null control or a wrong kind.
  bool ListBoxGetItems(CONTROL* listBox, KV_LIST<CONTROL*>& out);
  bool CheckBoxGetItems(CONTROL* checkBox, KV_LIST<CONTROL*>& out);
  bool OptionBoxGetItems(CONTROL* optionBox, KV_LIST<CONTROL*>& out);
  bool ComboBoxGetItems(CONTROL* comboBox, KV_LIST<CONTROL*>& out);
  // out := the list items that are selected / not selected.
  bool ListBoxGetSelected(CONTROL* listBox, KV_LIST<CONTROL*>& out);
  bool ListBoxGetUnselected(CONTROL* listBox, KV_LIST<CONTROL*>& out);
  // out := the rows whose check is checked / not checked.
  bool CheckBoxGetChecked(CONTROL* checkBox, KV_LIST<CONTROL*>& out);
  bool CheckBoxGetUnchecked(CONTROL* checkBox, KV_LIST<CONTROL*>& out);
  // out := the rows whose option is not checked.
  bool OptionBoxGetUnselected(CONTROL* optionBox, KV_LIST<CONTROL*>& out);
  // The first row whose option is checked; null when none or for a wrong kind.
  CONTROL* OptionBoxGetSelected(CONTROL* optionBox);
  // The item picked last in a combo box's list; null until one was picked.
  CONTROL* ComboBoxGetSelected(CONTROL* comboBox);

  // ---- per-control API: values (composite_values.cpp) ----
  // Sets the scrolled content's extent (x wide, y high) on the plane's thumbs, sizes them
  // and scrolls back to the start; false unless content sits in a "scrollarea".
  bool ScrollSetContentSize(CONTROL* content, float x, float y);
  // (horizontal extent, vertical extent, 0, 1); (0, 0, 0, 1) for a null or wrong control.
  KV_VECTOR ScrollGetContentSize(CONTROL* content);
  // Bar width := inner width (width less the side borders) x phase; false for a wrong kind.
  bool ProgressBarSetPhase(CONTROL* progressBar, float phase);
  // Bar width / inner width; 0 for a wrong kind or no inner width.
  float ProgressBarGetPhase(CONTROL* progressBar);
  // Moves the thumb to factor (0 start, 1 end) of the bar's free length, held within it;
  // false for a wrong kind.
  bool SliderSetFactor(CONTROL* slider, float factor);
  // Thumb offset / free length; 0 for a wrong kind or no free length.
  float SliderGetFactor(CONTROL* slider);
  // Opens a menu's list; false for a wrong kind.
  bool MenuExpand(CONTROL* menu);
  // Closes a menu's list and every sub-menu in it, at every depth; false for a wrong kind.
  bool MenuCollapse(CONTROL* menu);
  // Password mode on or off, shown text rebuilt; false unless an edit box.
  bool EditBoxPasswordMode(CONTROL* editBox, unsigned char on);
  // Editing on or off; false unless an edit box.
  bool EditBoxEditMode(CONTROL* editBox, unsigned char on);
  // Replaces the edit box's text (caret at the end); false unless an edit box.
  bool EditBoxSetText(CONTROL* editBox, const char* text);
  // out := the edit box's whole text; false, out untouched, unless an edit box.
  bool EditBoxGetText(CONTROL* editBox, KV_STRING& out);
  // The button takes its over / normal look; false unless a button composite.
  bool ButtonSetOverStyle(CONTROL* button);
  bool ButtonSetNormalStyle(CONTROL* button);
  // The parent control (the root control for a top-level one); null for null or a
  // detached control.
  CONTROL* GetParentControl(CONTROL* control);

  // ---- controls by name (manager_names.cpp) ----
  // Drops the control's name and removes it with its subtree at once; false, with nothing
  // changed, when no name holds it or it cannot be removed. Names of controls that left
  // the tree with it are dropped too.
  bool RemoveNamed(CONTROL* control);
  // The same, removing the control's parent (the composite's top) with its subtree.
  bool RemoveNamedParent(CONTROL* control);

 private:
  // Whether control is one RemoveControl may take out of this tree.
  bool Removable(const CONTROL* control) const;
  // Ends, with its notification, the editing of every edit box in control's subtree.
  void EndEditingInside(CONTROL* control);
  // Drops every name that holds a control of the subtree.
  void ForgetNamesInside(const NODE* subtree);
  bool NodeInSubtree(const NODE* root, const NODE* node) const;
  // Drops every deletion-queue entry that names a node of the subtree.
  void DropQueuedInside(const NODE* subtree);
};

}  // namespace KvCore
