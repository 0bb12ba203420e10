// Opening a document through the shell: a program file is started with its parameters, any
// other file or address is handed to xdg-open, which picks the desktop's application for it.
// The file and the working folder may be written the Windows way; an address is left as it is.
// Results follow the window system: above 32 on success, small error numbers otherwise.
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <string>
#include <vector>

#include "platform/runtime/file_open.h"
#include "platform/shell/desktop.h"
#include "platform/testing/service_hooks.h"
#include "platform/text/code_page.h"
#include "platform/winapi/shell.h"
#include "platform/winapi/windows.h"

namespace {

// Any value above 32 tells success.
const int kStarted = 42;

HINSTANCE Result(int value) { return reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(value)); }

bool IsOpenVerb(const char* verb) {
  if (verb == nullptr || verb[0] == '\0') return true;
  std::string word = verb;
  for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return word == "open";
}

// "scheme:..." (http:, mailto:, file:) names an address, not a local file.
bool IsAddress(const std::string& file) {
  size_t colon = file.find(':');
  if (colon == std::string::npos || colon < 2) return false;
  for (size_t i = 0; i < colon; ++i) {
    char c = file[i];
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
      return false;
  }
  return true;
}

// Parameters split at blanks, with "double quotes" keeping blanks inside one parameter.
std::vector<std::string> SplitParameters(const std::string& text) {
  std::vector<std::string> parts;
  std::string part;
  bool quoted = false, any = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (any) parts.push_back(part);
      part.clear();
      any = false;
    } else {
      part += c;
      any = true;
    }
  }
  if (any) parts.push_back(part);
  return parts;
}

}  // namespace

HINSTANCE WINAPI ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                               LPCSTR directory, INT showCommand) {
  platform::Services().lastShellOpen =
      platform::testing::ShellOpenRecord{owner,
                                         verb != nullptr ? verb : "",
                                         file != nullptr ? file : "",
                                         parameters != nullptr ? parameters : "",
                                         directory != nullptr ? directory : "",
                                         showCommand};
  if (file == nullptr || file[0] == '\0') return Result(SE_ERR_FNF);
  if (!IsOpenVerb(verb)) return Result(SE_ERR_NOASSOC);

  std::string target = platform::Latin1ToUtf8(file);
  bool local = !IsAddress(target);
  if (local) target = KvNativePath(file);
  std::string folder = KvNativePath(directory);
  struct stat info;
  if (local && stat(target.c_str(), &info) != 0) return Result(SE_ERR_FNF);

  if (!platform::DesktopAvailable()) return Result(SE_ERR_NOASSOC);
  std::vector<std::string> argv;
  if (local && S_ISREG(info.st_mode) && access(target.c_str(), X_OK) == 0) {
    // A program: started directly with its parameters.
    argv.push_back(target.find('/') == std::string::npos ? "./" + target : target);
    for (const std::string& p : SplitParameters(platform::Latin1ToUtf8(parameters)))
      argv.push_back(p);
  } else {
    std::string opener = platform::FindProgram("xdg-open");
    if (opener.empty()) return Result(SE_ERR_NOASSOC);
    argv = {opener, target};
  }
  return Result(platform::StartDetached(argv, folder) ? kStarted : SE_ERR_NOASSOC);
}
