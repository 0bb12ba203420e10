// Module records and the registry calls that fill them.
#include "platform/modules/module_table.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/modules/module_registry.h"

namespace platform {
namespace {

// Every module ever registered, the program's first. Built on first use, because the framework
// reaches the modules during static initialisation.
std::vector<std::unique_ptr<ModuleRecord>>& Modules() {
  static std::vector<std::unique_ptr<ModuleRecord>> modules = [] {
    std::vector<std::unique_ptr<ModuleRecord>> list;
    list.push_back(std::make_unique<ModuleRecord>());
    return list;
  }();
  return modules;
}

// Resource records are owned here so that their addresses (the HRSRC values) stay valid.
std::vector<std::unique_ptr<ResourceRecord>>& Resources() {
  static std::vector<std::unique_ptr<ResourceRecord>> resources;
  return resources;
}

// A module name matches with or without the ".dll" the caller may leave off.
bool NameMatches(const std::string& registered, const char* asked) {
  if (strcasecmp(registered.c_str(), asked) == 0) return true;
  if (std::strchr(asked, '.') != nullptr) return false;
  return strcasecmp(registered.c_str(), (std::string(asked) + ".dll").c_str()) == 0;
}

}  // namespace

ModuleRecord* ProgramModule() { return Modules().front().get(); }

ModuleRecord* FindModule(HMODULE module) {
  if (module == nullptr) return ProgramModule();
  for (auto& record : Modules()) {
    if (reinterpret_cast<HMODULE>(record.get()) == module) return record.get();
  }
  return nullptr;
}

ModuleRecord* FindModuleByName(const char* name) {
  auto& modules = Modules();
  for (size_t i = 1; i < modules.size(); ++i) {
    if (NameMatches(modules[i]->name, name)) return modules[i].get();
  }
  return nullptr;
}

bool OwnsResource(const ModuleRecord& module, const ResourceRecord* resource) {
  return std::find(module.resources.begin(), module.resources.end(), resource) !=
         module.resources.end();
}

const ResourceRecord* KnownResource(const void* handle) {
  for (const auto& resource : Resources()) {
    if (resource.get() == handle) return resource.get();
  }
  return nullptr;
}

HMODULE RegisterModule(const char* name) {
  if (name == nullptr || *name == '\0') return nullptr;
  if (ModuleRecord* existing = FindModuleByName(name)) return reinterpret_cast<HMODULE>(existing);
  auto record = std::make_unique<ModuleRecord>();
  record->name = name;
  Modules().push_back(std::move(record));
  return reinterpret_cast<HMODULE>(Modules().back().get());
}

bool AddResource(HMODULE module, uintptr_t type, uintptr_t id, const void* data, DWORD size) {
  ModuleRecord* record = module ? FindModule(module) : nullptr;
  if (record == nullptr || (data == nullptr && size != 0)) return false;
  for (const ResourceRecord* resource : record->resources) {
    if (resource->type == type && resource->id == id) return false;
  }
  auto resource = std::make_unique<ResourceRecord>();
  resource->type = type;
  resource->id = id;
  const auto* bytes = static_cast<const unsigned char*>(data);
  resource->bytes.assign(bytes, bytes + size);
  record->resources.push_back(resource.get());
  Resources().push_back(std::move(resource));
  return true;
}

}  // namespace platform
