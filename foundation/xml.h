// KV_XML: the framework's markup document, a tree of elements with attributes and
// text read from and written to an XML-like text. The document is itself the root tree
// node (its own name and value stay empty and are never written) and owns every node.
// The reader is forgiving: no syntax errors, closing tags close whatever is open, no
// entities, comments or declarations; everything between "<" and ">" is a tag.
#pragma once

#include "engine/kv_array.h"
#include "foundation/list.h"
#include "foundation/string.h"
#include "foundation/tree.h"

#include <cstdint>
#include <vector>

// One attribute: name and text value, both as written (quotes around the value removed).
struct KV_XML_ATTRIBUTE {
  KV_STRING name;
  KV_STRING value;
};

// A node: an element when name is not empty, a text node (text in value) when it is.
// Attributes keep document order; duplicates and empty names are kept.
struct KV_XML_NODE {
  KV_STRING name;
  KV_STRING value;
  KV_LIST<KV_XML_ATTRIBUTE> attributes;
};

// The text Parse reads, kept by the document: each Parse copies its whole input once, without
// line ends, into one block, and the names, values and attributes it finds are cut out of that
// copy in place (a zero written behind each), so no string gets a heap block of its own. The
// strings borrow the block (their notOwned flag is set), so they read and copy like any other; a
// string that is assigned anew owns its new text. The blocks go with the document's Clear or
// destruction, when no node that borrows them is left; a node copied out of the document copies
// its text, but a list node moved into another document by hand (Adopt, or swapping nodes of two
// documents) still borrows from this one.
// A block a document lets go is kept by the thread for the next document it reads (a few blocks,
// a few dozen megabytes at most), so reading one file after another touches the same pages again
// instead of mapping and clearing fresh ones each time. A block is only ever used by one document
// at a time; the thread's kept blocks are released when the thread ends.
class KV_XML_TEXT_POOL {
 public:
  KV_XML_TEXT_POOL() {}
  // A copied document copies its strings into blocks of their own: the pool starts empty.
  KV_XML_TEXT_POOL(const KV_XML_TEXT_POOL&) {}
  // An assigned document keeps its own pool; the old strings are gone by then.
  KV_XML_TEXT_POOL& operator=(const KV_XML_TEXT_POOL&) { return *this; }
  ~KV_XML_TEXT_POOL() { Free(); }

  // A block of at least size bytes, kept until Free: one the thread kept when one fits,
  // else a new one.
  char* Block(size_t size);
  // Lets go of the block Block gave last; nothing may borrow from it.
  void DropLast();
  // Lets go of every block; no string may borrow from them any more.
  void Free();

  // One block and its usable size.
  struct BLOCK {
    char* bytes;
    size_t size;
  };

 private:
  std::vector<BLOCK> blocks;
};

class KV_XML : public KV_TREE<KV_XML_NODE> {
 public:
  typedef KV_TREE<KV_XML_NODE> NODE;
  typedef KV_LIST_ITERATOR<NODE> ITERATOR;
  typedef KV_LIST_ITERATOR<KV_XML_ATTRIBUTE> ATTRIBUTE_ITERATOR;

  // An empty document.
  KV_XML() {}
  // Removes every node.
  ~KV_XML() { Clear(); }

  // Removes every node and the text they borrowed.
  void Clear();

  // Reads the text and appends its nodes under the root (the document is not cleared).
  // trimChars: text made only of these bytes is dropped; with trim, the leading and
  // trailing runs of them are cut from every text. False only for a null or empty
  // text or one made only of line ends.
  bool Parse(const char* text, unsigned int length, const char* trimChars, bool trim);

  // Writes the document's text (CR LF line ends, one tab per level) into out, sized
  // to it, without a terminating zero. False, leaving out alone, for an empty document
  // and for a text the array cannot hold (more than 0xFFFFFFFF bytes) or whose block
  // cannot be had; such a text is never built. The length is counted first (SaveLength),
  // then the text is written straight into a block of that size.
  bool Save(KV_ARRAY<unsigned char>& out) const;

  // The number of bytes Save writes, counted without building the text, byte for byte
  // as Save writes it, when it is at most 0xFFFFFFFF; a larger number when the text is
  // longer (the count stops soon past that) or cannot be counted. 0 for an empty
  // document or one of empty texts only.
  uint64_t SaveLength() const;

  // Path lookup from start (the root when null): segments split by "/", each a name
  // ("." the start itself, ".." its parent) with modifiers "#new", "#last", "#prev",
  // "#next", "#id:N". Mode 0 finds or creates the whole chain, 1 finds and removes
  // (returning the end iterator), any other finds only. The end iterator when absent.
  ITERATOR Find(const char* path, int mode, NODE* start);

  // The attribute called name of the node Find(path, mode, start) gives, appended with
  // an empty value when missing; the end iterator when there is no node (or no name).
  ATTRIBUTE_ITERATOR GetAttribute(const char* path, const char* name, int mode, NODE* start);

 private:
  KV_XML_TEXT_POOL pool;  // the text of parsed nodes
};
