// The values of composites after they were built: the content extent of scroll planes, the
// phase of progress bars, the factor of sliders, the open state of menus, the text and modes
// of edit boxes and the look of buttons. Each operation finds its parts by tree position and
// part name and fails for a null control or another kind of composite.
#include <algorithm>

#include "gui/composite.h"
#include "gui/widgets/parts.h"
#include "gui/widgets/widgets.h"

namespace KvCore {

using namespace composite;
using widgets::FirstChild;
using widgets::HasPart;

namespace {

// The scroll plane's area ("scrollarea") around content; null for another kind.
CONTROL* ScrollArea(const CONTROL* content) {
  if (content == nullptr) return nullptr;
  CONTROL* area = content->GetParent();
  return HasPart(area, "scrollarea") ? area : nullptr;
}

// The thumb of the area's track tagged track; null when the plane has no such bar.
KV_GUI::__scroll* Thumb(const CONTROL* area, const char* track, CONTROL** trackOut) {
  KV_LIST<CONTROL*> parts;
  Children(area, parts);
  for (KV_LIST_ITERATOR<CONTROL*> it = parts.Begin(); !it.IsEnd(); it.Next()) {
    if (!HasPart(*it, track)) continue;
    if (trackOut != nullptr) *trackOut = *it;
    return dynamic_cast<KV_GUI::__scroll*>(FirstChild(*it));
  }
  return nullptr;
}

// Sets one thumb's extent and length along axis (0 x, 1 y) and moves it to the start.
void SizeThumb(const CONTROL* area, const char* track, int axis, float extent) {
  CONTROL* bar = nullptr;
  KV_GUI::__scroll* thumb = Thumb(area, track, &bar);
  if (thumb == nullptr) return;
  thumb->ContentExtent = extent;
  float view = axis == 0 ? area->Size.x : area->Size.y;
  float length = axis == 0 ? bar->Size.x : bar->Size.y;
  float d = std::max(extent, view);
  if (d < 1) d = 1;
  if (axis == 0) {
    thumb->Position.x = 0;
    thumb->Size.x = view / d * length;
  } else {
    thumb->Position.y = 0;
    thumb->Size.y = view / d * length;
  }
}

// The bar of a progress bar: its outer is an application control without a tag and the bar
// is its first child, a plain part.
CONTROL* ProgressBar(const CONTROL* control) {
  if (dynamic_cast<const Com::C_GUI_CONTROL*>(control) == nullptr || !HasPart(control, ""))
    return nullptr;
  return dynamic_cast<KV_GUI::__default*>(FirstChild(control));
}

// The bar of a slider ("slider" > "hbar" or "vbar"); null for another kind.
KV_GUI::__slider* SliderBar(const CONTROL* slider) {
  if (!HasPart(slider, "slider")) return nullptr;
  return dynamic_cast<KV_GUI::__slider*>(FirstChild(slider));
}

// The field of an edit box: its first child, an __edit tagged "editbox"; null otherwise.
KV_GUI::__edit* EditField(const CONTROL* editBox) {
  CONTROL* field = FirstChild(editBox);
  if (!HasPart(field, "editbox")) return nullptr;
  return dynamic_cast<KV_GUI::__edit*>(field);
}

// The inner part of a button composite; null for another kind.
KV_GUI::__button* ButtonPart(const CONTROL* button) {
  return dynamic_cast<KV_GUI::__button*>(FirstChild(button));
}

// Opens or closes a menu's list; closing also closes every sub-menu in it.
bool ShowMenu(CONTROL* menu, unsigned char open) {
  CONTROL* list = MenuList(menu);
  if (list == nullptr) return false;
  list->Active = open;
  list->Visible = open;
  if (open) return true;
  KV_LIST<CONTROL*> entries;
  Children(list, entries);
  for (KV_LIST_ITERATOR<CONTROL*> it = entries.Begin(); !it.IsEnd(); it.Next())
    if (HasPart(*it, "menuitem")) ShowMenu(*it, 0);
  return true;
}

}  // namespace

// ---- scroll planes ----

bool KV_GUI::ScrollSetContentSize(CONTROL* content, float x, float y) {
  CONTROL* area = ScrollArea(content);
  if (area == nullptr) return false;
  SizeThumb(area, "hscrollb", 0, x);
  SizeThumb(area, "vscrollb", 1, y);
  // The thumbs start over at the beginning, so the content does too.
  content->ChildOffset = KV_VECTOR(0, 0, 0, 1);
  return true;
}

KV_VECTOR KV_GUI::ScrollGetContentSize(CONTROL* content) {
  KV_VECTOR extent(0, 0, 0, 1);
  CONTROL* area = ScrollArea(content);
  if (area == nullptr) return extent;
  if (__scroll* thumb = Thumb(area, "hscrollb", nullptr)) extent.x = thumb->ContentExtent;
  if (__scroll* thumb = Thumb(area, "vscrollb", nullptr)) extent.y = thumb->ContentExtent;
  return extent;
}

// ---- progress bars ----

bool KV_GUI::ProgressBarSetPhase(CONTROL* progressBar, float phase) {
  CONTROL* bar = ProgressBar(progressBar);
  if (bar == nullptr) return false;
  float inner = progressBar->Size.x - progressBar->CutMarginLeft - progressBar->CutMarginRight;
  bar->Size.x = inner * phase;
  return true;
}

float KV_GUI::ProgressBarGetPhase(CONTROL* progressBar) {
  CONTROL* bar = ProgressBar(progressBar);
  if (bar == nullptr) return 0;
  // Measured against the same inner width that SetPhase fills, so a phase reads back.
  float inner = progressBar->Size.x - progressBar->CutMarginLeft - progressBar->CutMarginRight;
  if (inner <= 0) return 0;
  return bar->Size.x / inner;
}

// ---- sliders ----

bool KV_GUI::SliderSetFactor(CONTROL* slider, float factor) {
  __slider* bar = SliderBar(slider);
  CONTROL* thumb = FirstChild(bar);
  if (thumb == nullptr) return false;
  bool horizontal = HasPart(bar, "hbar");
  if (!horizontal && !HasPart(bar, "vbar")) return false;
  // The thumb travels the bar's free length, the length the factor is read against.
  float free = horizontal ? slider->Size.x - thumb->Size.x : slider->Size.y - thumb->Size.y;
  float place = free * factor;
  if (place < 0) place = 0;
  if (place > free) place = free;
  thumb->Position = horizontal ? KV_VECTOR(place, 0, 0, 1) : KV_VECTOR(0, place, 0, 1);
  return true;
}

float KV_GUI::SliderGetFactor(CONTROL* slider) {
  __slider* bar = SliderBar(slider);
  CONTROL* thumb = FirstChild(bar);
  if (thumb == nullptr) return 0;
  bool horizontal = HasPart(bar, "hbar");
  if (!horizontal && !HasPart(bar, "vbar")) return 0;
  float free = horizontal ? slider->Size.x - thumb->Size.x : slider->Size.y - thumb->Size.y;
  // A thumb as long as the slider cannot move: no factor to read.
  if (free <= 0) return 0;
  return (horizontal ? thumb->Position.x : thumb->Position.y) / free;
}

// ---- menus ----

bool KV_GUI::MenuExpand(CONTROL* menu) { return ShowMenu(menu, 1); }

bool KV_GUI::MenuCollapse(CONTROL* menu) { return ShowMenu(menu, 0); }

// ---- edit boxes ----

bool KV_GUI::EditBoxPasswordMode(CONTROL* editBox, unsigned char on) {
  __edit* field = EditField(editBox);
  if (field == nullptr) return false;
  field->Masked = on;
  ShowEditText(*field);
  return true;
}

bool KV_GUI::EditBoxEditMode(CONTROL* editBox, unsigned char on) {
  __edit* field = EditField(editBox);
  if (field == nullptr) return false;
  field->Editing = on;
  return true;
}

bool KV_GUI::EditBoxSetText(CONTROL* editBox, const char* text) {
  __edit* field = EditField(editBox);
  if (field == nullptr) return false;
  field->TextLeft.Assign(text != nullptr ? text : "");
  field->TextRight.Assign("");
  ShowEditText(*field);
  return true;
}

bool KV_GUI::EditBoxGetText(CONTROL* editBox, KV_STRING& out) {
  __edit* field = EditField(editBox);
  if (field == nullptr) return false;
  out.Format("%s%s", field->TextLeft.c_str(), field->TextRight.c_str());
  return true;
}

// ---- buttons ----

bool KV_GUI::ButtonSetOverStyle(CONTROL* button) {
  __button* inner = ButtonPart(button);
  if (inner == nullptr) return false;
  button->StyleActive = inner->StyleOver;
  return true;
}

bool KV_GUI::ButtonSetNormalStyle(CONTROL* button) {
  __button* inner = ButtonPart(button);
  if (inner == nullptr) return false;
  button->StyleActive = inner->StyleNormal;
  return true;
}

KV_GUI::CONTROL* KV_GUI::GetParentControl(CONTROL* control) {
  if (control == nullptr) return nullptr;
  return control->GetParent();
}

}  // namespace KvCore
