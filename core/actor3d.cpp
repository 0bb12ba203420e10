// The 3D actor: its model drawn at the actor's place.
#include "core/actor3d.h"

namespace KvCore {

KV_ACTOR3D::~KV_ACTOR3D() {}

void KV_ACTOR3D::Render() { model.Draw(position, rotation, scale); }

}  // namespace KvCore
