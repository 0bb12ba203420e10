// The control script: a short text of words, run once on a control (a layout file's OnLoad)
// to change its fields or those of other controls, do arithmetic on typed variables and call
// the eight per-control commands. It is interpreted word by word with no compile step; the
// variables and every other piece of state live only for the run.
#pragma once

#include "gui/gui.h"

// Runs script on control with the manager's named controls, textures and styles. Nothing
// happens for a null control, a null script or a null manager. Errors end the run silently;
// what ran before stays done.
void KvGuiRunScript(KvCore::KV_GUI::CONTROL* control, const char* script, KvCore::KV_GUI* gui);
