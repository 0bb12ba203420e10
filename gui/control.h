// KvCore::KV_GUI::CONTROL: the record and base class of every GUI control: a rectangle placed
// against its parent, the corner points of nine skin areas, event bits, layout flags, a text,
// a tag buffer, an icon and two style handles. Controls live in the manager's tree: each tree
// node holds a shared pointer to one control, and each control knows its node and manager.
// KvCore::Com::C_GUI_CONTROL is the control that carries the application's own event and draw
// procedures. Field names are the property words of the control script.
#pragma once

#include <cstdint>

#include "engine/kv_engine.h"
#include "foundation/buffer.h"
#include "foundation/string.h"
#include "foundation/vector.h"
#include "gui/manager.h"
#include "gui/style.h"

namespace KvCore {

class KV_GUI::CONTROL {
 public:
  // Areas in row order (0 top-left ... 8 bottom-right), corners 0 TL, 1 TR, 2 BR, 3 BL:
  // absolute screen positions written by the layout. Points[0][0] is the drawn top-left,
  // Points[8][2] the drawn bottom-right.
  KV_VECTOR Points[9][4];
  KV_GUI* owner;                // the manager whose tree holds the control; null when detached
  NODE* node;                   // the control's tree node; null when detached
  unsigned char drawnDisabled;  // written by each draw: inactive, or inside an inactive parent
  uint32_t previousEvents;      // Events of the previous frame, copied by the dispatch pass
  unsigned char hovered;        // inside its hit rectangle at the last hit pass that reached it
  float Order;                  // depth among siblings: lower is in front
  uint32_t Events;              // event bits of this frame (KV_GUI::EVENT_BITS)
  uint32_t Behaviour;           // layout flags (KV_GUI::LAYOUT_FLAGS)
  KV_VECTOR Position;           // top-left of the layout box in the parent's coordinates
  KV_VECTOR Size;               // width and height of the layout box
  KV_VECTOR Offset;             // extra displacement of this control's points
  KV_VECTOR ChildOffset;        // displacement of the children's points and of the OnDraw origin
  float MarginTop, MarginBottom, MarginLeft, MarginRight;  // drawn box inside the layout box
  float CutMarginTop, CutMarginBottom, CutMarginLeft, CutMarginRight;  // hit and clip insets
  unsigned char Active;        // enabled: takes input, drawn with StyleActive
  unsigned char Visible;       // drawn, with its subtree
  unsigned char Hitable;       // may become the focused control
  unsigned char NonCorrected;  // keeps the masked event bits through the clearing step
  unsigned char CutArea;       // clip the control and its children to its own box
  KV_STRING Text;              // caption
  KV_BUFFER Extend;            // tag: the part name as a zero-terminated text
  KV_HANDLE Icon;              // drawn over the skin; not owned
  STYLE_HANDLE StyleActive;    // style while enabled; end: none
  STYLE_HANDLE StyleUnactive;  // style while disabled or inside a disabled parent

  // The defaults: points and vectors (0, 0, 0, 1), no owner or node, Active, Visible,
  // Hitable and CutArea set, empty text and tag, null icon, no styles.
  CONTROL();
  // Frees Text and Extend; leaves Icon, node and owner alone.
  virtual ~CONTROL();
  // Reads this frame's Events; empty here.
  virtual void OnEvent();
  // Draws the control's own content with the origin at its children's region; empty here.
  virtual void OnDraw();

  // Copies every field of other, owner and node included (Text and Extend by value).
  CONTROL& operator=(const CONTROL& other);
  CONTROL(const CONTROL&) = delete;

  // 1 when the first control's Order is greater, 0 when equal, -1 when smaller.
  static int CompareDepth(CONTROL* const* a, CONTROL* const* b);
  // Queues the node for removal at the manager's next DestroyQueued; nothing without an
  // owner or a node.
  void Detach();
  // False for null; true for this control's node or a node below it.
  bool HasNode(const NODE* n) const;
  // False for null; true for this control or a control below it.
  bool Contains(const CONTROL* control) const;

  // Points[0][0]: the absolute drawn top-left.
  KV_VECTOR GetPosition() const { return Points[0][0]; }
  // Points[8][2] - Points[0][0] (w = 1).
  KV_VECTOR GetSize() const { return Points[8][2] - Points[0][0]; }
  unsigned char IsDrawnDisabled() const { return drawnDisabled; }
  uint32_t GetPreviousFlags() const { return previousEvents; }
  KV_GUI* GetGui() const { return owner; }
  // The control of the parent node (the root control for a top-level control); null
  // without a node or a parent node.
  CONTROL* GetParent() const;
  NODE* GetNode() const { return node; }
  // The tag text (what Extend holds up to its first zero); "" for an empty tag.
  KV_STRING GetTag() const;
  // Empties the tag and writes text with its terminating zero.
  void SetTag(const char* text);

  // Applies the layout flags against the parent (or the screen), sizes the border areas
  // from the style's split, computes the corner points, then lays out the children
  // (control_layout.cpp). Nothing without owner, screen, node or parent control.
  void UpdateLayout();
  // Draws the control and its subtree within the region offset..extent (control_draw.cpp).
  void Draw(KV_VECTOR_D offset, KV_VECTOR_D extent, unsigned char parentDisabled);
  // Draws the skin areas, the text and the icon of the style that applies (control_draw.cpp);
  // called by Draw between the clip and OnDraw.
  void Render(unsigned char parentDisabled);
};

}  // namespace KvCore

namespace KvCore::Com {

// A control that calls the application's procedures: EventProc from OnEvent, RenderProc from
// OnDraw, each only when set.
class C_GUI_CONTROL : public KV_GUI::CONTROL {
 public:
  typedef void (*PROC)(KV_GUI::CONTROL* control);

  PROC EventProc;   // null: none
  PROC RenderProc;  // null: none

  C_GUI_CONTROL() : EventProc(nullptr), RenderProc(nullptr) {}
  void OnEvent() override;
  void OnDraw() override;
};

}  // namespace KvCore::Com
