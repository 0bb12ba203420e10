// A window's task-bar button as an X desktop keeps it: the window manager's state of the window
// (_NET_WM_STATE) skips the task bar and the pager for a tool window. SDL sets that state only
// when it creates a window; a later change goes through here. Internal to platform/.
#pragma once

#include <SDL2/SDL.h>

namespace platform {

// Gives the window a task-bar and pager button (shown) or none, as a tool window has. A mapped
// window's manager is asked with a state message to the root window; a withdrawn (hidden)
// window's state is written, and its manager reads it when the window is mapped. Nothing
// happens where the video driver is not X11.
void SetTaskbarButton(SDL_Window* window, bool shown, bool mapped);
// Puts the mapped window right above the sibling in the stacking order, where a window that
// takes the sibling's place belongs: directly where neither has a window manager's frame, else
// by asking the manager (_NET_RESTACK_WINDOW; a manager without it leaves the window where it
// put it). Nothing happens where the video driver is not X11.
void StackAbove(SDL_Window* window, SDL_Window* sibling);

}  // namespace platform
