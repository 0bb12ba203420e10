// The testing interface of the desktop services: setters and records over ServiceHooks.
#include "platform/testing/services.h"

#include "platform/testing/service_hooks.h"

namespace platform {

ServiceHooks& Services() {
  static ServiceHooks hooks;
  return hooks;
}

}  // namespace platform

namespace platform::testing {

void SetRegistryFile(const std::string& path) {
  Services().registryFile = path;
  ForgetRegistry();
}

void HideDesktop(bool hide) { Services().hideDesktop = hide; }

void UseDesktopPrograms(const std::string& folder) { Services().programFolder = folder; }

std::optional<MessageBoxRecord> LastMessageBox() { return Services().lastMessageBox; }
std::optional<DialogRecord> LastDialog() { return Services().lastDialog; }
std::optional<ShellOpenRecord> LastShellOpen() { return Services().lastShellOpen; }

void ResetServices() {
  Services() = ServiceHooks();
  ForgetRegistry();
}

}  // namespace platform::testing
