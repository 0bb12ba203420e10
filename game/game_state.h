// The state "game": turns window "main" into the 800 x 600 game window, loads the twelve
// sprites and the score font into `Core`, builds the walled arena out of actors, runs the frame
// loop until Escape or a window close, and frees everything `Core` holds but its windows and
// states.
#pragma once

#include <cstdint>

#include "platform/winapi/windows.h"

// The state function: set-up, the frame loop, tear-down.
void GameState();
// One game frame: Escape quits (after this frame), the camera, the core's frame, the score line,
// the present. The window and the argument are not used.
void GameFrame(HWND hwnd, uintptr_t argument);
