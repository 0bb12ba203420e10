// Icon and cursor handles: system ones by their numbers, or resources a module registered; and
// the picture an icon resource holds. No icon picture is set on the SDL window.
#include "platform/windows/icons.h"

#include "platform/imaging/image_decode.h"
#include "platform/modules/module_table.h"
#include "platform/winapi/windows.h"

namespace {

constexpr uintptr_t kFirstSystemId = 32512;
constexpr uintptr_t kLastSystemId = 32651;

// A system icon or cursor handle carries its number; a resource handle is the resource record.
template <typename Handle>
Handle LoadImageHandle(HINSTANCE instance, LPCSTR name, LPCSTR groupType) {
  if (name == nullptr) return nullptr;
  if (instance == nullptr) {
    uintptr_t id = reinterpret_cast<uintptr_t>(name);
    if (!IS_INTRESOURCE(name) || id < kFirstSystemId || id > kLastSystemId) return nullptr;
    return reinterpret_cast<Handle>(id);
  }
  return reinterpret_cast<Handle>(FindResourceA(instance, name, groupType));
}

}  // namespace

namespace platform {

IconImage IconPictureOf(HICON icon) {
  const ResourceRecord* resource = KnownResource(icon);
  uintptr_t groupIcon = reinterpret_cast<uintptr_t>(RT_GROUP_ICON);
  if (resource == nullptr || resource->type != groupIcon || resource->bytes.empty()) return {};
  IconImage image;
  if (!imaging::DecodeImage(resource->bytes.data(), resource->bytes.size(), &image.width,
                            &image.height, &image.rgba))
    return {};
  return image;
}

}  // namespace platform

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
  return LoadImageHandle<HICON>(instance, name, RT_GROUP_ICON);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
  return LoadImageHandle<HCURSOR>(instance, name, RT_GROUP_CURSOR);
}
