// Module handles and the resource calls over the blocks modules register in code.
#include <cstdlib>
#include <cstring>

#include "platform/modules/module_table.h"
#include "platform/winapi/windows.h"

namespace {

using platform::ModuleRecord;
using platform::ResourceRecord;

// A resource name or type as a number: MAKEINTRESOURCE values, or strings "#n". Named (string)
// resources are not registered by anyone, so any other string gives false.
bool ResourceNumber(LPCSTR name, uintptr_t* number) {
  if (IS_INTRESOURCE(name)) {
    *number = reinterpret_cast<uintptr_t>(name);
    return true;
  }
  if (name[0] != '#' || name[1] < '0' || name[1] > '9') return false;
  char* end = nullptr;
  unsigned long value = std::strtoul(name + 1, &end, 10);
  if (*end != '\0' || value > 0xFFFF) return false;
  *number = value;
  return true;
}

// A load handle is the resource record itself; LockResource trusts only records it can find.
ResourceRecord* RecordOf(HRSRC resource) { return reinterpret_cast<ResourceRecord*>(resource); }

}  // namespace

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
  ModuleRecord* module =
      moduleName ? platform::FindModuleByName(moduleName) : platform::ProgramModule();
  return reinterpret_cast<HMODULE>(module);
}

HRSRC WINAPI FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
  ModuleRecord* record = platform::FindModule(module);
  uintptr_t id = 0;
  uintptr_t kind = 0;
  if (record == nullptr || name == nullptr || type == nullptr) return nullptr;
  if (!ResourceNumber(name, &id) || !ResourceNumber(type, &kind)) return nullptr;
  for (ResourceRecord* resource : record->resources) {
    if (resource->id == id && resource->type == kind) return reinterpret_cast<HRSRC>(resource);
  }
  return nullptr;
}

HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource) {
  ModuleRecord* record = platform::FindModule(module);
  if (record == nullptr || resource == nullptr) return nullptr;
  if (!platform::OwnsResource(*record, RecordOf(resource))) return nullptr;
  return RecordOf(resource);
}

LPVOID WINAPI LockResource(HGLOBAL data) {
  if (data == nullptr) return nullptr;
  auto* resource = static_cast<ResourceRecord*>(data);
  return resource->bytes.empty() ? nullptr : resource->bytes.data();
}

DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource) {
  ModuleRecord* record = platform::FindModule(module);
  if (record == nullptr || resource == nullptr) return 0;
  if (!platform::OwnsResource(*record, RecordOf(resource))) return 0;
  return static_cast<DWORD>(RecordOf(resource)->bytes.size());
}

BOOL WINAPI FreeResource(HGLOBAL) { return FALSE; }
