// KV_XML::Find and GetAttribute: path lookup. A path is a chain of segments split by
// "/"; each names the children to match ("." and ".." walk the start's own level and
// its parent's) and carries "#" modifiers that pick the occurrence. Mode 0 creates
// what is missing, so a whole chain of elements appears at once; mode 1 removes what
// it finds; every other mode only finds.
#include "foundation/xml.h"

#include <cstring>

namespace {

typedef KV_XML::NODE NODE;
typedef KV_XML::ITERATOR ITERATOR;
typedef NODE::LIST::NODE LINK;

// One segment: its name and what its modifiers ask for.
struct SEGMENT {
  const char* name;
  size_t nameLength;
  unsigned int index = 0;  // which match to take, counted from 0
  bool create = false;     // "new": skip the search
  bool backward = false;   // "last": walk from the last child backwards
};

bool Is(const char* text, size_t length, const char* word) {
  return length == strlen(word) && memcmp(text, word, length) == 0;
}

void ApplyModifier(SEGMENT& segment, const char* text, size_t length) {
  if (Is(text, length, "new"))
    segment.create = true;
  else if (Is(text, length, "last"))
    segment.backward = true;
  else if (Is(text, length, "prev"))
    segment.index = segment.index > 0 ? segment.index - 1 : 0;
  else if (Is(text, length, "next"))
    ++segment.index;
  else if (length >= 3 && memcmp(text, "id:", 3) == 0) {
    // An unsigned number in the runtime's base rule (0x hexadecimal, leading 0 octal).
    KV_STRING number;
    number.AssignN(text + 3, (unsigned int)(length - 3));
    unsigned int n = 0;
    number.Decode(&n, 'd');
    segment.index = n;
  }
}

SEGMENT ReadSegment(const char* text, size_t length) {
  SEGMENT segment;
  const char* hash = (const char*)memchr(text, '#', length);
  segment.name = text;
  segment.nameLength = hash ? (size_t)(hash - text) : length;
  while (hash != nullptr) {
    const char* modifier = hash + 1;
    size_t rest = length - (size_t)(modifier - text);
    hash = (const char*)memchr(modifier, '#', rest);
    ApplyModifier(segment, modifier, hash ? (size_t)(hash - modifier) : rest);
  }
  return segment;
}

bool NameIs(const NODE& node, const SEGMENT& segment) {
  const char* name = node.value.name.text;
  return strncmp(name, segment.name, segment.nameLength) == 0 && name[segment.nameLength] == 0;
}

// The list link of node among owner's children; null when it is not one of them.
LINK* LinkOf(NODE* owner, const NODE* node) {
  for (LINK* link = owner->children.first; link != nullptr; link = link->next)
    if (&link->value == node) return link;
  return nullptr;
}

// Walks from link (forward, or backward with "last") and counts matches down to the
// segment's index; anyName makes every node match.
LINK* Walk(LINK* link, const SEGMENT& segment, bool anyName) {
  unsigned int index = segment.index;
  for (; link != nullptr; link = segment.backward ? link->prev : link->next) {
    if (!anyName && !NameIs(link->value, segment)) continue;
    if (index == 0) return link;
    --index;
  }
  return nullptr;
}

ITERATOR At(LINK* link) { return link ? ITERATOR(link->endFlag, link) : ITERATOR(); }

}  // namespace

KV_XML::ITERATOR KV_XML::Find(const char* path, int mode, NODE* start) {
  if (path == nullptr) return ITERATOR();
  NODE* node = start != nullptr ? start : this;
  const char* text = path;
  for (;;) {
    const char* slash = strchr(text, '/');
    size_t length = slash ? (size_t)(slash - text) : strlen(text);
    SEGMENT segment = ReadSegment(text, length);

    // owner: the node whose children are walked; from: where the walk begins.
    NODE* owner = node;
    LINK* from = nullptr;
    bool anyName = false;
    if (Is(segment.name, segment.nameLength, ".")) {
      owner = node->parent != nullptr ? node->parent : this;
      from = LinkOf(owner, node);
      anyName = true;
    } else if (Is(segment.name, segment.nameLength, "..")) {
      if (node->parent == nullptr || node->parent->parent == nullptr) return ITERATOR();
      owner = node->parent->parent;
      from = LinkOf(owner, node->parent);
      anyName = true;
    } else {
      from = segment.backward ? owner->children.last : owner->children.first;
    }

    LINK* found = segment.create ? nullptr : Walk(from, segment, anyName);
    if (found == nullptr) {
      if (mode != 0) return ITERATOR();
      KV_XML_NODE element;
      element.name.AssignN(segment.name, (unsigned int)segment.nameLength);
      ITERATOR added = owner->Add(element);
      if (slash == nullptr) return added;
      node = added.Get();
    } else {
      if (slash == nullptr) {
        if (mode == 1) {
          owner->Remove(At(found));
          return ITERATOR();
        }
        return At(found);
      }
      node = &found->value;
    }
    text = slash + 1;
  }
}

KV_XML::ATTRIBUTE_ITERATOR KV_XML::GetAttribute(const char* path, const char* name, int mode,
                                                NODE* start) {
  if (name == nullptr) return ATTRIBUTE_ITERATOR();
  ITERATOR it = Find(path, mode, start);
  if (it.IsEnd()) return ATTRIBUTE_ITERATOR();
  KV_LIST<KV_XML_ATTRIBUTE>& attributes = it.Get()->value.attributes;
  for (ATTRIBUTE_ITERATOR a = attributes.Begin(); !a.IsEnd(); a.Next())
    if (a.Get()->name == name) return a;
  KV_XML_ATTRIBUTE attribute;
  attribute.name = name;
  return attributes.PushBack(attribute);
}
