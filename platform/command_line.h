// The command-line text a program's entry function receives: the arguments after the program
// name, joined by single blanks, with the quoting that lets the text be split again.
#pragma once

#include <string>

namespace platform {

// The command line of argv[1..argc-1]; an argument that is empty or holds blanks, tabs or quotes
// is quoted, with its quotes and the backslashes before them escaped.
std::string BuildCommandLine(int argc, const char* const* argv);

}  // namespace platform
