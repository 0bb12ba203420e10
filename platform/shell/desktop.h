// What the desktop services need of Linux: whether a desktop is there to show anything, where
// a helper program is installed, and running one, either waiting for its answer (dialogs) or
// leaving it to run on its own (documents opened through the shell). Internal to platform/.
#pragma once

#include <string>
#include <vector>

namespace platform {

// True when a display is set, SDL is not headless (offscreen or dummy driver) and the tests
// have not taken the desktop away; always true while the tests stand in for its programs.
bool DesktopAvailable();
// The full path of an executable program found on PATH (or given with a "/"), or in the tests'
// folder of stand-ins while they give one; "" when none.
std::string FindProgram(const std::string& name);

// Runs argv[0] with its arguments and waits for it; its standard output goes to output.
// False when it cannot be started; otherwise exitCode holds its exit status (-1 if killed).
bool RunAndRead(const std::vector<std::string>& argv, std::string* output, int* exitCode);
// Starts argv[0] detached from this process, in directory when it is not empty (no child is
// left to reap); false when it cannot be started.
bool StartDetached(const std::vector<std::string>& argv, const std::string& directory);

}  // namespace platform
