// KV_MODEL: drawing the material groups and releasing them. Reading the files is in
// model_obj.cpp (OBJ) and model_mtl.cpp (MTL).
#include "graphics/model.h"

#include "graphics/placement.h"

// Binds the group's textures, the last unit first so that unit 0 is current afterwards. A
// texture the engine cannot make current (one whose image never loaded) leaves its unit empty,
// so the group is not drawn with whatever texture that unit held before.
void KV_MODEL::BindTextures(KV_MODEL_GROUP& group) {
  if (group.textures.IsEmpty()) {
    KvTextureUnactivate(KV_TEXTURE_TARGET);
    return;
  }
  for (unsigned int i = group.textures.Size(); i-- > 0;) {
    KvTextureUnit(i);
    const KV_HANDLE& texture = *group.textures.Get(i);
    if (texture.IsNull() || KvTextureActivate(texture) == 0) KvTextureUnactivate(KV_TEXTURE_TARGET);
  }
}

void KV_MODEL::Draw(KV_VECTOR_D position, KV_ROTATION_D rotation, KV_VECTOR_D scale) {
  for (KV_LIST_ITERATOR<KV_MODEL_GROUP> g = groups.Begin(); !g.IsEnd(); g.Next()) {
    BindTextures(*g.Get());
    KvMatrixPush();
    KvMatrixIdentity();
    ApplyPlacement(position, rotation, scale);
    g->mesh.Draw();
    KvMatrixPop();
  }
}

void KV_MODEL::Free(bool keepTextures) {
  if (loaded && !keepTextures) {
    loaded = 0;
    for (KV_LIST_ITERATOR<KV_MODEL_GROUP> g = groups.Begin(); !g.IsEnd(); g.Next()) {
      for (unsigned int i = 0; i < g->textures.Size(); ++i) KvTextureDestroy(*g->textures.Get(i));
      g->textures.Free();
    }
  }
  for (KV_LIST_ITERATOR<KV_MODEL_GROUP> g = groups.Begin(); !g.IsEnd(); g.Next()) g->mesh.Destroy();
  groups.Clear();
}
