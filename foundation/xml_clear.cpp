// KV_XML::Clear: the document's teardown. A read document has as many nodes as its text has
// tags and attributes, so letting it go is a walk over every one of them. The walk only reads
// the nodes: it frees the texts a node owns and gives its storage straight back, without running
// the generic destructors that would first write into every node (unlinking it, emptying its
// lists and strings) only for the node to be freed. The storage goes back in the reverse of the
// order it was taken in (the last child first, a node after its children, its attributes from
// the last), so the next document read takes the same slots in the same order.
#include "foundation/xml.h"

#include <cstdint>
#include <vector>

namespace {

typedef KV_XML::NODE NODE;
typedef NODE::LIST::NODE LINK;
typedef KV_LIST<KV_XML_ATTRIBUTE>::NODE ATTRIBUTE_LINK;

void FreeText(const KV_STRING& s) {
  if (!s.notOwned) delete[] s.text;
}

// Asks for the memory of the slot n slots below p. The address is reckoned as a number, since
// it may lie outside p's chunk.
template <class SLOT>
void Prefetch(const SLOT* p, uintptr_t n) {
  __builtin_prefetch(
      reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(p) - n * sizeof(SLOT)));
}

// Frees one node whose children are gone: its attributes, its texts, its storage. A shared
// attribute list leaves its nodes alone, as its destructor would.
void FreeNode(LINK* link) {
  // The pool hands slots out in address order and takes them back in reverse, so the nodes
  // this walk reaches next most likely lie just below this one: asking for them now lets the
  // memory fetch run beside the work instead of each node waiting for its own. A guess that
  // misses costs nothing (a prefetch never faults).
  Prefetch(link, 4);
  Prefetch(link, 3);
  const KV_XML_NODE& v = link->value.value;
  if (!v.attributes.shared) {
    ATTRIBUTE_LINK* a = v.attributes.last;
    while (a != nullptr) {
      // The attribute freed next most likely lies a few slots below, as with the nodes.
      Prefetch(a, 6);
      ATTRIBUTE_LINK* prev = a->prev;
      FreeText(a->value.value);
      FreeText(a->value.name);
      ATTRIBUTE_LINK::operator delete(a);
      a = prev;
    }
  }
  FreeText(v.value);
  FreeText(v.name);
  LINK::operator delete(link);
}

// Frees every node below root, leaving root an empty list of children. The walk keeps its own
// stack of the nodes whose children it is freeing, so a very deep tree cannot exhaust the call
// stack.
void FreeSubtrees(NODE& root) {
  std::vector<LINK*> open;
  LINK* link = root.children.last;
  while (link != nullptr) {
    if (link->value.children.last != nullptr) {
      open.push_back(link);
      link = link->value.children.last;
      continue;
    }
    // link has no children left: free it and every ancestor whose last child it was.
    for (;;) {
      LINK* prev = link->prev;
      FreeNode(link);
      if (prev != nullptr) {
        link = prev;
        break;
      }
      if (open.empty()) {
        link = nullptr;
        break;
      }
      link = open.back();
      open.pop_back();
    }
  }
  root.children.first = root.children.last = nullptr;
  root.children.count = 0;
}

}  // namespace

void KV_XML::Clear() {
  FreeSubtrees(*this);
  pool.Free();
}
