// The testing interface of platform/'s desktop services: where the registry file lives, a
// switch that takes the desktop away (no message boxes, dialogs or shell open, as on a machine
// without a display or the tools), and records of the last message box, dialog and shell open
// as the program asked for them. ResetServices puts everything back.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/winapi/windows.h"

namespace platform::testing {

// Points the registry at this file (empty: the default place). The store is read again from
// the file on its next use, as a new process would read it.
void SetRegistryFile(const std::string& path);
// The file the registry reads and writes now.
std::string RegistryFile();

// With hide set, every dialog, message box and shell open acts as on a machine without a
// desktop: nothing is shown or started, and each call gives its failure result.
void HideDesktop(bool hide);
// Acts as on a desktop whose helper programs (zenity, xdg-open) are the ones in folder, so tests
// can stand in for them; an empty folder goes back to the real desktop, if any. Hiding the
// desktop still wins.
void UseDesktopPrograms(const std::string& folder);

struct MessageBoxRecord {
  HWND owner;
  std::string text;  // as given (8-bit)
  std::string caption;
  UINT type;
};
// The last message box asked for, shown or not.
std::optional<MessageBoxRecord> LastMessageBox();

struct DialogRecord {
  std::string kind;  // "open", "save" or "folder"
  HWND owner;
  std::vector<std::string> filter;  // the filter list's items in order (description, pattern, ...)
  std::string initialDirectory;
  std::string title;
  DWORD flags;
  DWORD flagsEx;
  DWORD maxFile;
};
// The last open, save or folder dialog asked for, shown or not.
std::optional<DialogRecord> LastDialog();

struct ShellOpenRecord {
  HWND owner;
  std::string verb;
  std::string file;
  std::string parameters;
  std::string directory;
  int showCommand;
};
// The last shell open asked for, done or not.
std::optional<ShellOpenRecord> LastShellOpen();

// Forgets the records, shows the real desktop again and points the registry at its default place.
void ResetServices();

}  // namespace platform::testing
