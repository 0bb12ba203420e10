// The GUI manager's tree keeping: construction, the screen, adding and removing controls,
// searches from the root, raising controls, the layout walk over the top-level controls, the
// deletion queue and the tear-down. Every removal that frees controls goes through
// RemoveControl, which first ends the editing of the edit boxes inside (their handlers still
// find the whole subtree) and then drops every name, queued entry and focus that would
// otherwise point into the freed subtree.
#include <algorithm>
#include <vector>

#include "gui/gui.h"
#include "gui/widgets/edit.h"

namespace KvCore {

namespace {

// Marks every control of a subtree that is about to leave the tree as detached, so that a
// control still held by a running pass is not taken for one in the tree.
void ForgetPlaces(KV_GUI::NODE* subtree) {
  for (KV_GUI::NODE::ITERATOR it = subtree->Begin(); !it.IsEnd(); it.Next()) ForgetPlaces(it.Get());
  KV_GUI::CONTROL* control = subtree->value.Get();
  if (control != nullptr) {
    control->node = nullptr;
    control->owner = nullptr;
  }
}

// Appends every control of a subtree to out.
void CollectControls(const KV_GUI::NODE* subtree, std::vector<KV_GUI::CONTROL*>& out) {
  if (subtree->value.Get() != nullptr) out.push_back(subtree->value.Get());
  for (KV_GUI::NODE::ITERATOR it = subtree->Begin(); !it.IsEnd(); it.Next())
    CollectControls(it.Get(), out);
}

}  // namespace

KV_GUI::KV_GUI()
    : screen(nullptr),
      focus(nullptr),
      mousePosition(0, 0, 0, 1),
      mouseDelta(0, 0, 0, 1),
      textureLoader(nullptr),
      eventMask(EVENT_MOUSE_PRESSED | EVENT_ENTERED | EVENT_OVER),
      treeChanges(0) {}

KV_GUI::~KV_GUI() = default;

bool KV_GUI::Attach(KV_WINDOW* window) {
  if (window == nullptr) return false;
  screen = window;
  CONTROL* root = GetRoot();
  root->owner = this;
  root->node = &tree;
  return true;
}

KV_GUI::CONTROL* KV_GUI::GetRoot() const { return tree.value.Get(); }

KV_GUI::CONTROL* KV_GUI::AddControl(CONTROL* control, CONTROL* parent) {
  if (control == nullptr) return nullptr;
  // A control already held by a tree would end up owned twice and freed twice.
  if (control->node != nullptr || control == GetRoot()) return nullptr;
  NODE* parentNode = &tree;
  if (parent != nullptr) {
    // The parent must sit in this manager's tree; otherwise its node is unknown (or
    // belongs to another manager, which would then own a control filed under this one).
    if (parent->node == nullptr || parent->owner != this) return nullptr;
    parentNode = parent->node;
  }
  NODE::ITERATOR child = parentNode->Add(KV_SHARED<CONTROL>(control));
  if (child.IsEnd()) return nullptr;
  control->owner = this;
  control->node = child.Get();
  return control;
}

bool KV_GUI::RemoveControl(CONTROL* control) {
  if (!Removable(control)) return false;
  // Held while the end-of-editing handlers run: they may remove it themselves.
  KV_SHARED<CONTROL> keep = control->node->value;
  EndEditingInside(control);
  if (control->node == nullptr) return true;
  if (!Removable(control)) return false;
  NODE* node = control->node;
  DropQueuedInside(node);
  ForgetNamesInside(node);
  if (focus != nullptr && control->Contains(focus)) focus = nullptr;
  ++treeChanges;
  ForgetPlaces(node);
  node->Detach();
  return true;
}

bool KV_GUI::HasNode(const NODE* node) const {
  if (node == nullptr) return false;
  return GetRoot()->HasNode(node);
}

bool KV_GUI::Contains(const CONTROL* control) const {
  if (control == nullptr) return false;
  return GetRoot()->Contains(control);
}

void KV_GUI::BringToFront(CONTROL* control, unsigned char exclusive) {
  if (control == nullptr || control->node == nullptr || control->node->parent == nullptr) return;
  NODE* parentNode = control->node->parent;
  if (exclusive) {
    for (NODE::ITERATOR it = parentNode->Begin(); !it.IsEnd(); it.Next()) {
      CONTROL* sibling = it->value.Get();
      if (sibling != nullptr && sibling != control) sibling->Order = 0;
    }
    control->Order = -1;
    return;
  }
  float lowest = control->Order;
  for (NODE::ITERATOR it = parentNode->Begin(); !it.IsEnd(); it.Next()) {
    CONTROL* sibling = it->value.Get();
    if (sibling != nullptr && sibling->Order < lowest) lowest = sibling->Order;
  }
  control->Order = lowest - 1;
}

void KV_GUI::UpdateLayout() {
  for (NODE::ITERATOR it = tree.Begin(); !it.IsEnd(); it.Next())
    if (it->value.Get() != nullptr) it->value.Get()->UpdateLayout();
}

void KV_GUI::DestroyQueued() {
  while (deletionQueue.Count() != 0) {
    KV_LIST<NODE*>::ITERATOR last = deletionQueue.Last();
    NODE* node = *last.Get();
    deletionQueue.Erase(last);
    // An entry whose node already left the tree (with an ancestor, or queued twice) is
    // dropped. Removing a node drops the queued entries inside it, so none of them can name a
    // node that a handler builds later at a freed node's address.
    if (node == &tree || !HasNode(node)) continue;
    RemoveControl(node->value.Get());
  }
}

void KV_GUI::DestroyAll() {
  ++treeChanges;
  focus = nullptr;
  for (NODE::ITERATOR it = tree.Begin(); !it.IsEnd(); it.Next()) ForgetPlaces(it.Get());
  tree.Clear();
  deletionQueue.Clear();
  styles.Clear();
  controls.Clear();
  for (KV_LIST_ITERATOR<KV_HANDLE> it = textures.Begin(); !it.IsEnd(); it.Next())
    if (!it.Get()->IsNull()) KvTextureDestroy(*it.Get());
  textures.Clear();
  for (KV_LIST_ITERATOR<KV_FONT> it = fonts.Begin(); !it.IsEnd(); it.Next()) it.Get()->Destroy();
  fonts.Clear();
}

void KV_GUI::ChildrenByDepth(const CONTROL* parent, KV_LIST<CONTROL*>& out) const {
  out.Clear();
  const NODE* parentNode = parent == nullptr ? &tree : parent->node;
  if (parentNode == nullptr) return;
  for (NODE::ITERATOR it = parentNode->Begin(); !it.IsEnd(); it.Next())
    if (it->value.Get() != nullptr) out.PushBack(it->value.Get());
  out.Sort(&CONTROL::CompareDepth);
}

KV_GUI::NODE* KV_GUI::ChildNodes(const CONTROL* parent) {
  return parent == nullptr ? &tree : parent->node;
}

bool KV_GUI::NodeInSubtree(const NODE* root, const NODE* node) const {
  if (root == node) return true;
  for (NODE::ITERATOR it = root->Begin(); !it.IsEnd(); it.Next())
    if (NodeInSubtree(it.Get(), node)) return true;
  return false;
}

bool KV_GUI::Removable(const CONTROL* control) const {
  return control != nullptr && control != GetRoot() && control->node != nullptr &&
         control->owner == this && Contains(control);
}

void KV_GUI::EndEditingInside(CONTROL* control) {
  // Shares first: a handler may remove any of these boxes while another one is heard.
  std::vector<CONTROL*> controls;
  CollectControls(control->node, controls);
  KV_LIST<KV_SHARED<CONTROL>> editing;
  for (CONTROL* c : controls) {
    __edit* edit = dynamic_cast<__edit*>(c);
    if (edit != nullptr && edit->Editing) editing.PushBack(edit->node->value);
  }
  for (KV_LIST_ITERATOR<KV_SHARED<CONTROL>> it = editing.Begin(); !it.IsEnd(); it.Next()) {
    __edit* edit = static_cast<__edit*>(it->Get());
    if (edit->node != nullptr) edit->EndEditing();
  }
}

void KV_GUI::ForgetNamesInside(const NODE* subtree) {
  // The names are compared as addresses only: every control of the subtree is still alive.
  std::vector<CONTROL*> inside;
  CollectControls(subtree, inside);
  std::sort(inside.begin(), inside.end());
  KV_LIST<CONTROL*> stale;
  for (KV_LIST_ITERATOR<CONTROL*> it = controls.Begin(); !it.IsEnd(); it.Next())
    if (std::binary_search(inside.begin(), inside.end(), *it.Get())) stale.PushBack(*it.Get());
  for (KV_LIST_ITERATOR<CONTROL*> it = stale.Begin(); !it.IsEnd(); it.Next())
    controls.RemoveValue(*it.Get());
}

void KV_GUI::DropQueuedInside(const NODE* subtree) {
  // The nodes of the subtree are about to be freed; a queued entry left behind could later
  // name a new node built at the same address and remove the wrong control.
  KV_LIST<NODE*>::ITERATOR it = deletionQueue.Begin();
  while (!it.IsEnd()) {
    KV_LIST<NODE*>::ITERATOR current = it;
    it.Next();
    if (NodeInSubtree(subtree, *current.Get())) deletionQueue.Erase(current);
  }
}

}  // namespace KvCore
