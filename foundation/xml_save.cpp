// KV_XML::Save: the markup writer. One line per text node, empty element, opening and
// closing tag, CR LF line ends, one tab per level of depth. Nothing is escaped. One walk
// serves two passes: the first only counts the text's bytes (and stops counting once the
// text cannot fit the array), the second writes them into a block of exactly that size, so
// the two agree byte for byte and a text too large is refused before anything is built. The
// walk keeps its own stack, so a deeply nested document is written without recursion.
#include "foundation/xml.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace {

typedef KV_XML::NODE NODE;
typedef KV_XML::NODE::LIST::NODE LINK;

// The array counts its bytes in 32 bits: the longest text it can hold.
const uint64_t kMaxText = 0xFFFFFFFFu;

// The first pass: adds up the bytes, no more than one line past kMaxText.
struct COUNTER {
  uint64_t bytes = 0;
  void Tabs(size_t n) { bytes += n; }
  void Put(const char* text, size_t n) {
    (void)text;
    bytes += n;
  }
  bool Full() const { return bytes > kMaxText; }
};

// The second pass: copies the bytes into a block sized by the first.
struct WRITER {
  unsigned char* at;
  void Tabs(size_t n) {
    memset(at, '\t', n);
    at += n;
  }
  void Put(const char* text, size_t n) {
    memcpy(at, text, n);
    at += n;
  }
  bool Full() const { return false; }
};

template <class SINK>
void Put(SINK& sink, const char* text) {
  sink.Put(text, strlen(text));
}

bool HasChildren(const NODE& node) { return node.children.Count() != 0; }

// A text node's line, or an element's opening tag (the whole element when it has no
// children). A text node's children are never written.
template <class SINK>
void WriteOpen(SINK& sink, const NODE& node, size_t depth) {
  const KV_XML_NODE& v = node.value;
  if (v.name.text[0] == 0) {
    if (v.value.text[0] == 0) return;
    sink.Tabs(depth);
    Put(sink, v.value.text);
    sink.Put("\r\n", 2);
    return;
  }
  sink.Tabs(depth);
  sink.Put("<", 1);
  Put(sink, v.name.text);
  for (KV_LIST<KV_XML_ATTRIBUTE>::NODE* a = v.attributes.first; a != nullptr; a = a->next) {
    // An attribute without a name cannot be read back, so it is not written.
    if (a->value.name.text[0] == 0) continue;
    sink.Put(" ", 1);
    Put(sink, a->value.name.text);
    sink.Put("=\"", 2);
    Put(sink, a->value.value.text);
    sink.Put("\"", 1);
  }
  if (HasChildren(node))
    sink.Put(">\r\n", 3);
  else
    sink.Put(" />\r\n", 5);
}

template <class SINK>
void WriteClose(SINK& sink, const NODE& node, size_t depth) {
  sink.Tabs(depth);
  sink.Put("</", 2);
  Put(sink, node.value.name.text);
  sink.Put(">\r\n", 3);
}

// Writes every top-level node with its subtree, in order; false as soon as the sink is full
// (the counter past kMaxText). May throw std::bad_alloc for its stack.
template <class SINK>
bool WriteDocument(SINK& sink, const NODE& root) {
  struct FRAME {
    const NODE* node;
    const LINK* next;  // the next child to write
    size_t depth;
  };
  std::vector<FRAME> stack;
  for (const LINK* top = root.children.first; top != nullptr; top = top->next) {
    const NODE& node = top->value;
    WriteOpen(sink, node, 0);
    if (sink.Full()) return false;
    if (node.value.name.text[0] == 0 || !HasChildren(node)) continue;
    stack.push_back({&node, node.children.first, 0});
    while (!stack.empty()) {
      FRAME& frame = stack.back();
      if (frame.next == nullptr) {
        WriteClose(sink, *frame.node, frame.depth);
        if (sink.Full()) return false;
        stack.pop_back();
        continue;
      }
      const NODE& child = frame.next->value;
      size_t depth = frame.depth + 1;
      frame.next = frame.next->next;
      WriteOpen(sink, child, depth);
      if (sink.Full()) return false;
      if (child.value.name.text[0] != 0 && HasChildren(child))
        stack.push_back({&child, child.children.first, depth});
    }
  }
  return true;
}

}  // namespace

uint64_t KV_XML::SaveLength() const {
  COUNTER counter;
  try {
    WriteDocument(counter, *this);
  } catch (const std::bad_alloc&) {
    return kMaxText + 1;
  }
  return counter.bytes;
}

bool KV_XML::Save(KV_ARRAY<unsigned char>& out) const {
  if (children.Count() == 0) return false;
  // Nothing is built before the length is known, and out is touched only once the whole
  // text is written: a text the array cannot hold, or a block or stack that cannot be had,
  // gives false and leaves out as it was.
  uint64_t length = SaveLength();
  if (length > kMaxText) return false;
  std::unique_ptr<unsigned char[]> block;
  if (length != 0) {
    block.reset(new (std::nothrow) unsigned char[length]);
    if (block == nullptr) return false;
  }
  WRITER writer{block.get()};
  try {
    WriteDocument(writer, *this);
  } catch (const std::bad_alloc&) {
    return false;
  }
  out.Free();
  out.data = out.cursor = block.release();
  out.count = (unsigned int)length;
  return true;
}
