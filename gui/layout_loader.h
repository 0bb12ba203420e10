// Layout files: markup documents whose elements describe a tree of GUI controls. The loader
// builds one node's child elements in document order through the control factories and the
// item adders, sets the application's event and draw procedures named in the file and runs
// each element's OnLoad control script on the control built for it. It lays out and draws
// nothing; the controls belong to the manager's tree.
#pragma once

#include "engine/kv_engine.h"
#include "foundation/dictionary.h"
#include "foundation/xml.h"
#include "gui/control.h"
#include "gui/gui.h"

// The procedures a layout file names (EventProc and RenderProc), by name.
typedef KV_DICTIONARY<KvCore::Com::C_GUI_CONTROL::PROC> KV_GUI_PROCEDURES;
// The icons a layout file names, by name.
typedef KV_DICTIONARY<KV_HANDLE> KV_GUI_ICONS;

// Builds the children of the node at nodePath of file under parent (top level for null).
// The application passes a null start and a null document; with a start node its children
// are built from the given document instead. Names the file uses are looked up in (and, when
// missing, added to) procedures and icons. False, building nothing, when the file cannot be
// read or parsed or the node is not there; everything after that is best effort and true.
// The file's path and those of its Includes may use "\" for "/".
bool KvGuiLoadLayout(const char* file, const char* nodePath, KV_GUI_PROCEDURES& procedures,
                     KV_GUI_ICONS& icons, KvCore::KV_GUI& gui, KV_XML::NODE* start,
                     KvCore::KV_GUI::CONTROL* parent, KV_XML* document);
