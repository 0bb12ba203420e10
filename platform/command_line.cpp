// Building the command-line text from the argument vector.
#include "platform/command_line.h"

#include <cstring>

namespace platform {
namespace {

bool NeedsQuotes(const char* argument) {
  return *argument == '\0' || std::strpbrk(argument, " \t\n\v\"") != nullptr;
}

// Quoting that splits back to the same argument: backslashes count only before a quote, where
// they are doubled, and a quote gets a backslash of its own.
void AppendQuoted(std::string& line, const char* argument) {
  line += '"';
  size_t backslashes = 0;
  for (const char* p = argument; *p; ++p) {
    if (*p == '\\') {
      ++backslashes;
      continue;
    }
    if (*p == '"') backslashes = backslashes * 2 + 1;
    line.append(backslashes, '\\');
    backslashes = 0;
    line += *p;
  }
  line.append(backslashes * 2, '\\');
  line += '"';
}

}  // namespace

std::string BuildCommandLine(int argc, const char* const* argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    if (NeedsQuotes(argv[i])) {
      AppendQuoted(line, argv[i]);
    } else {
      line += argv[i];
    }
  }
  return line;
}

}  // namespace platform
