// The GUI toolkit's header: the manager (KvCore::KV_GUI, gui/manager.h) with the classes nested
// in it, the style (gui/style.h) and the control (gui/control.h). The widget classes have their
// own headers under gui/widgets/.
#pragma once

#include "gui/manager.h"
#include "gui/style.h"
#include "gui/control.h"
