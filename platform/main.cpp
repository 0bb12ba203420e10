// The program's entry: builds the command-line text without the program name and runs the
// program's WinMain with it; WinMain's result is the exit code.
#include <vector>

#include "platform/command_line.h"
#include "platform/winapi/windows.h"

int main(int argc, char** argv) {
  std::string text = platform::BuildCommandLine(argc, argv);
  std::vector<char> commandLine(text.begin(), text.end());
  commandLine.push_back('\0');
  return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
}
