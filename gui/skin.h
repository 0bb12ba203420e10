// KV_SKIN: how one composite control is dressed. It maps the part names that the factories
// use ("AreaActive", "BarBackH", "CellOver", ...) to the names of styles kept by the GUI
// manager, so that a composite is re-skinned by naming another skin. The manager keeps skins
// by name (KvCore::KV_GUI::skins); copying a skin copies its entries.
#pragma once

#include "foundation/dictionary.h"
#include "foundation/string.h"

// Part name -> style name.
typedef KV_DICTIONARY<KV_STRING> KV_SKIN;
