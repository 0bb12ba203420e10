// The window manager's answer when a window of the program leaves the screen. A manager that
// hears a managed window go (unmapped or destroyed) may move the keyboard focus as it forgets
// the window: some give it to PointerRoot or to nobody. Its answer can reach the server after
// the program has already given the keyboard to its next window, undoing that. A connection of
// its own watches for the signs that the manager has finished with the window: its frame gone
// (a manager that frames windows) and the window gone from the manager's client list
// (_NET_CLIENT_LIST); only then is the focus looked at again. Internal to platform/.
#pragma once

#include <SDL2/SDL.h>

namespace platform {

// Starts watching the window, which is about to be destroyed, hidden or minimised: false when
// nobody will answer (not X, or no window manager runs), and the focus request that follows on
// SDL's own connection stands as the server orders it. Any earlier watch ends.
bool WatchLeaving(SDL_Window* leaving);
// Whether the window manager has answered the watched window's leaving (reads what the server
// reported, without waiting); true too when nothing is watched.
bool LeavingAnswered();
// Whether the keyboard focus is nowhere a program can use it: None, PointerRoot or the root
// window. Asked of the server.
bool KeyboardNowhere();
// Ends the watch.
void StopWatchingLeaving();

}  // namespace platform
