// The edit box factory: an outer control holding the text field (an __edit) with its text.
#include "gui/composite.h"
#include "gui/widgets/widgets.h"

namespace KvCore {

using namespace composite;

KV_GUI::CONTROL* KV_GUI::CreateEditBox(const char* skin, const char* name, KV_VECTOR position,
                                       KV_VECTOR size, const char* text, unsigned char password,
                                       CONTROL* parent) {
  Com::C_GUI_CONTROL* outer = AttachPlaced<Com::C_GUI_CONTROL>(*this, parent, position, size);
  if (outer == nullptr) return nullptr;
  Skin(*this, outer, skin, "AreaActive", "AreaUnactive");

  __edit* field = AttachPart(*this, new __edit(), outer, outer);
  if (field == nullptr) return nullptr;
  field->SetTag("editbox");
  field->Behaviour = INHERIT_SIZE;
  Skin(*this, field, skin, "BoxActive", "BoxUnactive");
  field->TextLeft.Assign(text != nullptr ? text : "");
  field->Masked = password;
  ShowEditText(*field);
  File(*this, name, outer);
  return outer;
}

}  // namespace KvCore
