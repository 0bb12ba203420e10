// KV_XML::Save: the markup writer. One line per text node, empty element, opening and
// closing tag, CR LF line ends, one tab per level of depth. Nothing is escaped. The
// walk keeps its own stack, so a deeply nested document is written without recursion.
#include "foundation/xml.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

typedef KV_XML::NODE NODE;
typedef KV_XML::NODE::LIST::NODE LINK;

void Indent(std::string& out, unsigned int depth) { out.append(depth, '\t'); }

bool HasChildren(const NODE& node) { return node.children.Count() != 0; }

// A text node's line, or an element's opening tag (the whole element when it has no
// children). A text node's children are never written.
void WriteOpen(std::string& out, const NODE& node, unsigned int depth) {
  const KV_XML_NODE& v = node.value;
  if (v.name.text[0] == 0) {
    if (v.value.text[0] == 0) return;
    Indent(out, depth);
    out += v.value.text;
    out += "\r\n";
    return;
  }
  Indent(out, depth);
  out += '<';
  out += v.name.text;
  for (KV_LIST<KV_XML_ATTRIBUTE>::NODE* a = v.attributes.first; a != nullptr; a = a->next) {
    // An attribute without a name cannot be read back, so it is not written.
    if (a->value.name.text[0] == 0) continue;
    out += ' ';
    out += a->value.name.text;
    out += "=\"";
    out += a->value.value.text;
    out += '"';
  }
  out += HasChildren(node) ? ">\r\n" : " />\r\n";
}

void WriteClose(std::string& out, const NODE& node, unsigned int depth) {
  Indent(out, depth);
  out += "</";
  out += node.value.name.text;
  out += ">\r\n";
}

// Writes one top-level node with its subtree.
void WriteTree(std::string& out, const NODE& top) {
  struct FRAME {
    const NODE* node;
    const LINK* next;  // the next child to write
    unsigned int depth;
  };
  WriteOpen(out, top, 0);
  if (top.value.name.text[0] == 0 || !HasChildren(top)) return;
  std::vector<FRAME> stack;
  stack.push_back({&top, top.children.first, 0});
  while (!stack.empty()) {
    FRAME& frame = stack.back();
    if (frame.next == nullptr) {
      WriteClose(out, *frame.node, frame.depth);
      stack.pop_back();
      continue;
    }
    const NODE& child = frame.next->value;
    unsigned int depth = frame.depth + 1;
    frame.next = frame.next->next;
    WriteOpen(out, child, depth);
    if (child.value.name.text[0] != 0 && HasChildren(child))
      stack.push_back({&child, child.children.first, depth});
  }
}

}  // namespace

bool KV_XML::Save(KV_ARRAY<unsigned char>& out) const {
  if (children.Count() == 0) return false;
  std::string text;
  for (const LINK* link = children.first; link != nullptr; link = link->next)
    WriteTree(text, link->value);
  // The array counts its bytes in 32 bits; a larger text cannot be stored whole.
  if (text.size() > 0xFFFFFFFFu) return false;
  out.Resize((unsigned int)text.size());
  if (!text.empty()) memcpy(out.data, text.data(), text.size());
  return true;
}
