// KvCore::KV_GUI: the GUI manager. It owns the tree of controls (through shared pointers),
// the named resources that skin them (styles, skins, textures, fonts) and the controls filed
// by name, and it runs the GUI's per-frame steps: layout, the input pass (hit test, clearing
// of the masked event bits, dispatch), the deletion queue, the purge of stale names and the
// draw. It stays inert until it is given its screen window (Attach).
// The nested classes live in their own headers (gui/control.h, gui/style.h), included at the
// end of this one, so including gui/gui.h gives the whole toolkit core.
#pragma once

#include <cstdint>

#include "core/app/window.h"
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

class KV_GUI
{
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

    // Event bits of a control (`Events`): input bits set by the hit pass; 0x800 to 0x4000 are
    // notifications that widgets send to their composites.
    enum EVENT_BITS : uint32_t
    {
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
    };

    // Layout flags of a control (`Behaviour`), named as the control script and layout files
    // name them.
    enum LAYOUT_FLAGS : uint32_t
    {
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
    KV_WINDOW* screen;                 // the window the GUI lives in, not owned; null until Attach
    NODE tree;                         // root node; its control is the root control
    KV_LIST<NODE*> deletionQueue;      // nodes queued by CONTROL::Detach
    CONTROL* focus;                    // the front-most hit Hitable control of the last hit pass
    KV_VECTOR_D mousePosition;         // cursor in the screen's client area, stored by dispatch
    KV_VECTOR_D mouseDelta;            // cursor movement since the previous frame
    KV_DICTIONARY<STYLE> styles;       // styles by name
    KV_DICTIONARY<KV_SKIN> skins;      // skins by name
    KV_DICTIONARY<CONTROL*> controls;  // controls filed by name, not owned
    KV_DICTIONARY<KV_HANDLE> textures; // textures by name, destroyed by DestroyAll
    KV_DICTIONARY<KV_FONT> fonts;      // fonts by name, destroyed by DestroyAll
    TEXTURE_LOADER textureLoader;      // null: none
    uint32_t eventMask;                // bits cleared from every control but the focused one
    uint32_t treeChanges;              // counts removals, so passes know when to re-check

    // Every container empty, no screen, no focus, mouse fields (0, 0, 0, 1), mask 0x148.
    KV_GUI();
    // Destroys the containers (and with the tree every control); calls no engine function.
    ~KV_GUI();
    KV_GUI(const KV_GUI&) = delete;
    KV_GUI& operator=(const KV_GUI&) = delete;

    // ---- screen and tree (gui.cpp) ----
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
    // Removes control and its subtree from the tree now (the immediate removal). Safe while a
    // pass walks the tree: a control the pass still holds stays alive until the pass lets go.
    // Queued entries inside the subtree are dropped. False for null, the root control or a
    // control that is not in this tree.
    bool RemoveControl(CONTROL* control);
    // False for null; else whether node is the root control's node or lies below it.
    bool HasNode(const NODE* node) const;
    // False for null; else whether control is the root control or lies in its subtree.
    bool Contains(const CONTROL* control) const;
    // Raises control above its siblings: Order := lowest sibling Order - 1, or (exclusive)
    // every sibling 0 and the control -1. Nothing without a node or a parent node.
    void BringToFront(CONTROL* control, unsigned char exclusive);
    // Tear-down: the tree's controls, the queue, styles, names, textures (destroyed), fonts
    // (destroyed). Skins, screen, focus, loader and mouse fields stay.
    void DestroyAll();

    // ---- per-frame steps ----
    // Lays out every top-level control in tree order (layout.cpp).
    void UpdateLayout();
    // Hit test, clearing and dispatch; nothing without a screen (gui_input.cpp).
    void ProcessInput();
    // The hit pass over the children of parent (root for null) within offset..extent.
    void HitTest(CONTROL* parent, KV_VECTOR_D offset, KV_VECTOR_D extent);
    // Events &= ~mask on every control under parent (root for null) but spared and those
    // marked NonCorrected.
    void ClearFlags(CONTROL* spared, uint32_t mask, CONTROL* parent);
    // Runs every control's OnEvent under parent (root for null), then ages its flags.
    void DispatchEvents(CONTROL* parent);
    // Sends bits to target (mode 2: OR them in when Active; mode 1: pass them to the subtree),
    // runs its OnEvent and, with clear, zeroes its Events (gui_input.cpp).
    void SendEvent(CONTROL* target, uint32_t bits, uint32_t mode, unsigned char onlyIfInTree,
                   unsigned char clear);
    // Empties the deletion queue, last queued first, removing the nodes still in the tree.
    void DestroyQueued();
    // Drops every controls-by-name entry whose control left the tree.
    void PurgeNames();
    // Draws every top-level control back to front, in two passes (alpha, then colour) when
    // twoPass is set; nothing without a screen (gui_draw.cpp).
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
    bool LoadTheme(const char* file, const char* theme);

    // ---- helpers for the passes ----
    // out := the children of parent (root for null) sorted by depth: descending Order, equal
    // Order in tree order, so the front-most comes last.
    void ChildrenByDepth(const CONTROL* parent, KV_LIST<CONTROL*>& out) const;
    // The node whose children a pass over parent walks: parent's node, the root node for null.
    NODE* ChildNodes(const CONTROL* parent);

private:
    bool NodeInSubtree(const NODE* root, const NODE* node) const;
    void DropQueuedInside(const NODE* subtree);
};

}  // namespace KvCore

#include "gui/style.h"
#include "gui/control.h"
