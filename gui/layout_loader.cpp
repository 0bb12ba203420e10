// KvGuiLoadLayout: reads a layout file's node and builds its child elements depth first, in
// document order, each element's children inside the control that element built. An
// Include element builds a node of another (or the same) file, read afresh, under the same
// parent. Three limits keep a hostile or careless file from running away: nesting deeper
// than kMaxDepth levels is not built, an Include of a file and node already being built
// (a cycle) builds nothing, and one load follows at most kMaxIncludes Includes.
#include "gui/layout_loader.h"

#include <string>
#include <vector>

#include "foundation/buffer.h"
#include "gui/layout_elements.h"
#include "platform/runtime/file_open.h"

using KvCore::KV_GUI;
using namespace KvCore::layout;

namespace {

typedef KV_XML::NODE NODE;
typedef KV_GUI::CONTROL CONTROL;

// The blank set of layout files: text made of these is dropped and cut from every text.
const char* const kBlanks = " \t\n\r";
// Mode of KV_XML::Find that only finds.
constexpr int kFindOnly = 2;
// Element levels built below the loaded node, counted across Includes.
constexpr int kMaxDepth = 64;
// Includes followed by one load, so that a file whose nodes each include the next one
// twice cannot make the work double at every level.
constexpr int kMaxIncludes = 256;

// One load's state, shared by every level and every Include of it.
struct LOAD {
  CONTEXT context;
  std::vector<std::string> building;  // "file\nnode" of every file node being built
  int depth = 0;
  int includes = 0;
};

bool Load(LOAD& load, const char* file, const char* nodePath, NODE* start, CONTROL* parent,
          KV_XML* document);

// A file node being built, as the cycle check compares it; "\" and "/" in the file's path
// are one separator.
std::string Key(const char* file, const char* nodePath) {
  return (file != nullptr ? KvNativePath(file) : std::string()) + "\n" +
         (nodePath != nullptr ? nodePath : "");
}

bool Building(const LOAD& load, const std::string& key) {
  for (const std::string& entry : load.building)
    if (entry == key) return true;
  return false;
}

// An Include builds the node it names of File (this load's file when empty) under parent;
// its result is not used.
void Include(LOAD& load, const char* file, const NODE* element, CONTROL* parent) {
  const KV_STRING& node = Attribute(element, "Node");
  if (node.Length() == 0) return;
  const KV_STRING& named = Attribute(element, "File");
  const char* source = named.Length() != 0 ? named.c_str() : file;
  if (source == nullptr || load.includes >= kMaxIncludes || Building(load, Key(source, node)))
    return;
  ++load.includes;
  Load(load, source, node, nullptr, parent, nullptr);
}

// Builds the child elements of node under parent.
void BuildChildren(LOAD& load, const char* file, const char* nodePath, NODE* node, CONTROL* parent,
                   KV_XML* document) {
  for (KV_XML::ITERATOR it = node->Begin(); !it.IsEnd(); it.Next()) {
    NODE* element = it.Get();
    if (element->value.name == "Include") {
      Include(load, file, element, parent);
      continue;
    }
    BUILT built = BuildElement(load.context, element, parent);
    // Children are built only inside the control their own element built: an element
    // that built nothing (an unknown name, a failed factory, an item) has no place
    // for them, and an unrelated sibling's control would be the wrong one.
    if (!built.known || built.control == nullptr || element->Begin().IsEnd()) continue;
    if (element->value.name == "Item" || load.depth >= kMaxDepth) continue;
    ++load.depth;
    BuildChildren(load, file, nodePath, element, built.control, document);
    --load.depth;
  }
}

bool Load(LOAD& load, const char* file, const char* nodePath, NODE* start, CONTROL* parent,
          KV_XML* document) {
  KV_XML own;
  if (document == nullptr) {
    if (file == nullptr) return false;
    // The bytes are needed only while parsing.
    KV_BUFFER buffer;
    if (!buffer.LoadFromFile(file, 0, 0)) return false;
    if (!own.Parse((const char*)buffer.GetData(), buffer.length, kBlanks, true)) return false;
    document = &own;
  }
  if (start == nullptr) {
    if (nodePath == nullptr) return false;
    KV_XML::ITERATOR found = document->Find(nodePath, kFindOnly, nullptr);
    if (found.IsEnd()) return false;
    start = found.Get();
  }
  load.building.push_back(Key(file, nodePath));
  BuildChildren(load, file, nodePath, start, parent, document);
  load.building.pop_back();
  return true;
}

}  // namespace

bool KvGuiLoadLayout(const char* file, const char* nodePath, KV_GUI_PROCEDURES& procedures,
                     KV_GUI_ICONS& icons, KV_GUI& gui, KV_XML::NODE* start, CONTROL* parent,
                     KV_XML* document) {
  LOAD load{CONTEXT{procedures, icons, gui}, {}, 0, 0};
  return Load(load, file, nodePath, start, parent, document);
}
