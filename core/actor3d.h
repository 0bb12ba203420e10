// KvCore::KV_ACTOR3D: an actor that carries a 3D model by value. Its Draw is the base's, which
// draws nothing: a derived class that wants the model shown calls Render from its own Draw.
// The model's meshes and textures are released by KV_MODEL::Free, not by the actor's destructor.
#pragma once

#include "core/actor.h"
#include "graphics/model.h"

namespace KvCore {

class KV_ACTOR3D : public KV_ACTOR {
 public:
  KV_MODEL model;  // the look, drawn by Render

  ~KV_ACTOR3D() override;
  // Draws the model at the actor's position, rotation and scale.
  void Render();
};

}  // namespace KvCore
