// Reading EMF+ image attribute objects.
#include "platform/imaging/metafile/emfplus_image_attributes.h"

#include "platform/imaging/metafile/record_reader.h"

namespace platform::metafile {

std::shared_ptr<const PlusImageAttributes> ReadImageAttributes(const uint8_t* data, size_t size) {
  // Version, a field not used, the wrap mode, the clamp colour, the object clamp and another
  // field not used; the object clamp changes nothing an image draws here.
  RecordReader r(data, size);
  auto attributes = std::make_shared<PlusImageAttributes>();
  attributes->wrap = r.U32(8);
  attributes->clampColor = PlusColorOf(r.U32(12));
  if (!r.Has(0, 24) || attributes->wrap > kWrapClamp) return nullptr;
  return attributes;
}

}  // namespace platform::metafile
