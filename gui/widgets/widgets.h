// Every widget class of the GUI toolkit: the parts that give the composite controls (window,
// button, scroll plane, list box, check box, option box, slider, menu, edit box, combo box)
// their behaviour. Factories and item adders include this one header.
#pragma once

#include "gui/widgets/button.h"
#include "gui/widgets/check.h"
#include "gui/widgets/combo.h"
#include "gui/widgets/comboitem.h"
#include "gui/widgets/default.h"
#include "gui/widgets/edit.h"
#include "gui/widgets/list.h"
#include "gui/widgets/menu.h"
#include "gui/widgets/option.h"
#include "gui/widgets/scroll.h"
#include "gui/widgets/slider.h"
#include "gui/widgets/window.h"
