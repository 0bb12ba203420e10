// The values the testing interface replaces in the desktop services, and what those services
// record. Internal to platform/; tests reach them through platform/testing/services.h.
#pragma once

#include <optional>
#include <string>

#include "platform/testing/services.h"

namespace platform {

struct ServiceHooks {
  std::string registryFile;  // empty: the default place
  bool hideDesktop = false;
  std::string programFolder;  // non-empty: a desktop whose helper programs are in this folder
  std::optional<testing::MessageBoxRecord> lastMessageBox;
  std::optional<testing::DialogRecord> lastDialog;
  std::optional<testing::ShellOpenRecord> lastShellOpen;
};

ServiceHooks& Services();

// Drops the registry's memory so that the next call reads its file again.
void ForgetRegistry();

}  // namespace platform
