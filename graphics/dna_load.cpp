// KV_DNA's loaders: the model file (read and checked whole by KV_DNA_MODEL) turned into engine
// substances, surfaces and covalence forces linked into the body, force sprites, and the textures
// the model names loaded into the program's named sprites.
#include <cmath>
#include <cstdint>

#include "engine/numbers.h"
#include "foundation/buffer.h"
#include "graphics/dna.h"
#include "graphics/dna_model.h"

namespace {

// A double truncated toward zero to a 32-bit integer; values beyond the range saturate and NaN
// gives 0, where a plain conversion would be undefined.
int32_t TruncateToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(value);
}

KV_DOUBLE4 Double4(double x, double y, double z, double w) { return KV_DOUBLE4{x, y, z, w}; }

// The current-frame texture of the named sprite, adding an empty sprite for a missing name.
KV_HANDLE NamedTexture(KV_DICTIONARY<KV_SPRITE>* spriteDictionary, const KV_STRING& name) {
  if (spriteDictionary == nullptr) return KV_HANDLE();
  KV_SPRITE* sprite = spriteDictionary->GetValue(name.c_str());
  return sprite != nullptr ? sprite->GetTexture() : KV_HANDLE();
}

// The position the engine keeps for a substance; null when it has none.
const double* PositionOf(KV_HANDLE substance) {
  return static_cast<const double*>(KvSubstanceGet(substance, KV_SUBSTANCE_POSITION));
}

// ---- building the elements ----------------------------------------------------------------------

struct BUILD {
  KV_HANDLE body;
  KV_DICTIONARY<KV_SPRITE>* spriteDictionary;
  const KV_MATRIX_D* transform;
  double massScale, rangeScale, resilienceScale;
};

bool BuildSubstances(const BUILD& b, const KV_DNA_MODEL& model) {
  if (KvDnaBirth(b.body, static_cast<uint32_t>(model.substances.size()), 0, 0) != 1) return false;
  for (uint32_t i = 0; i < model.substances.size(); ++i) {
    const KV_DNA_MODEL::SUBSTANCE& source = model.substances[i];
    KV_HANDLE s;
    KvSubstanceCreate(&s);
    KV_VECTOR_D p(source.x, source.y, 0, 1);
    if (b.transform != nullptr) p = *b.transform * p;
    KvSubstanceSetPosition(s, Double4(p.x, p.y, p.z, p.w), 0);
    KvSubstanceSetMass(s, source.mass * b.massScale);
    KvSubstanceSetRange(s, source.range * b.rangeScale);
    KvSubstanceSetSolid(s, TruncateToInt32(source.solid));
    KvDnaLink(b.body, KV_DNA_SUBSTANCES, i, &s);
  }
  return true;
}

// substances: the engine's substance array, which holds at least as many slots as the model has
// substances once their birth succeeded (the model's indices were checked against that number).
bool BuildSurfaces(const BUILD& b, const KV_DNA_MODEL& model, const KV_HANDLE* substances) {
  if (KvDnaBirth(b.body, 0, 0, static_cast<uint32_t>(model.surfaces.size())) != 1) return false;
  static const uint32_t kCorners[3] = {KV_SURFACE_CORNER1, KV_SURFACE_CORNER2, KV_SURFACE_CORNER3};
  static const uint32_t kCoords[3] = {KV_SURFACE_COORD1, KV_SURFACE_COORD2, KV_SURFACE_COORD3};
  for (uint32_t j = 0; j < model.surfaces.size(); ++j) {
    const KV_DNA_MODEL::SURFACE& source = model.surfaces[j];
    KV_HANDLE f;
    KvSurfaceCreate(&f);
    for (int k = 0; k < 3; ++k)
      KvSurfaceSetSubstance(f, kCorners[k], substances[source.substances[k]]);
    for (int k = 0; k < 3; ++k)
      KvSurfaceSetCoord(f, kCoords[k], Double4(source.coords[k][0], source.coords[k][1], 0, 1));
    if (b.spriteDictionary != nullptr) {
      KvSurfaceSetTexture(f, NamedTexture(b.spriteDictionary, source.texture), KV_TEXTURE_TARGET);
    }
    KvDnaLink(b.body, KV_DNA_SURFACES, j, &f);
  }
  return true;
}

bool BuildForces(const BUILD& b, const KV_DNA_MODEL& model, const KV_HANDLE* substances) {
  if (KvDnaBirth(b.body, 0, static_cast<uint32_t>(model.forces.size()), 0) != 1) return false;
  for (uint32_t k = 0; k < model.forces.size(); ++k) {
    const KV_DNA_MODEL::FORCE& source = model.forces[k];
    KV_HANDLE first = substances[source.substances[0]];
    KV_HANDLE second = substances[source.substances[1]];
    KV_HANDLE c;
    KvCovalenceForceCreate(&c);
    KvCovalenceForceSetSubstance(c, KV_FORCE_FIRST, first);
    KvCovalenceForceSetSubstance(c, KV_FORCE_SECOND, second);
    KvCovalenceForceSetResilience(c, source.resilience * b.resilienceScale);
    // The rest length is the force's length as laid out in the file (after the transform).
    const double* pa = PositionOf(first);
    const double* pb = PositionOf(second);
    double length = 0;
    if (pa != nullptr && pb != nullptr) {
      length = std::sqrt((pa[0] - pb[0]) * (pa[0] - pb[0]) + (pa[1] - pb[1]) * (pa[1] - pb[1]) +
                         (pa[2] - pb[2]) * (pa[2] - pb[2]));
    }
    KvCovalenceForceSetForce(c, length);
    KvDnaLink(b.body, KV_DNA_FORCES, k, &c);
  }
  return true;
}

void BuildSprites(const BUILD& b, const KV_DNA_MODEL& model, KV_VECTOR_D scale, KV_HANDLE* forces,
                  KV_ARRAY<KV_DNA_SPRITE>& sprites) {
  sprites.Resize(static_cast<uint32_t>(model.sprites.size()));
  for (uint32_t m = 0; m < model.sprites.size(); ++m) {
    const KV_DNA_MODEL::SPRITE& source = model.sprites[m];
    KV_DNA_SPRITE& sprite = sprites.data[m];
    sprite.texture = NamedTexture(b.spriteDictionary, source.texture);
    sprite.pivotX = TruncateToInt32(source.pivotX * scale.x);
    sprite.pivotY = TruncateToInt32(source.pivotY * scale.y);
    sprite.width = TruncateToInt32(source.width * scale.x);
    sprite.height = TruncateToInt32(source.height * scale.y);
    sprite.force = forces != nullptr ? &forces[source.force] : nullptr;
    sprite.reversed = source.reversed ? 1 : 0;
    sprite.stretched = source.stretched ? 1 : 0;
  }
}

// Every texture name of the model in file order: the surfaces', then the force sprites'.
template <typename F>
void ForEachTextureName(const KV_DNA_MODEL& model, F&& f) {
  for (const KV_DNA_MODEL::SURFACE& surface : model.surfaces) f(surface.texture);
  for (const KV_DNA_MODEL::SPRITE& sprite : model.sprites) f(sprite.texture);
}

}  // namespace

// ---- the body ----------------------------------------------------------------------------------

bool KV_DNA::LoadFromMemory(const void* data, uint32_t size,
                            KV_DICTIONARY<KV_SPRITE>* spriteDictionary,
                            const KV_MATRIX_D* transform, KV_VECTOR_D scale, double massScale,
                            double rangeScale, double resilienceScale) {
  if (handle.IsNull()) return false;
  KV_DNA_MODEL model;
  if (!model.Read(data, size)) return false;
  BUILD b{handle, spriteDictionary, transform, massScale, rangeScale, resilienceScale};
  if (!BuildSubstances(b, model)) return false;
  // The substance array is taken once the substances are linked; the model's indices lie below
  // its count, so every lookup stays inside it.
  const KV_HANDLE* substances = GetSubstances();
  if (substances == nullptr && (!model.surfaces.empty() || !model.forces.empty())) return false;
  if (!BuildSurfaces(b, model, substances) || !BuildForces(b, model, substances)) return false;
  BuildSprites(b, model, scale, GetForces(), sprites);
  return true;
}

bool KV_DNA::LoadFromFile(const char* path, KV_DICTIONARY<KV_SPRITE>* spriteDictionary,
                          const KV_MATRIX_D* transform, KV_VECTOR_D scale, double massScale,
                          double rangeScale, double resilienceScale) {
  if (path == nullptr) return false;
  KV_BUFFER buffer;
  if (!buffer.LoadFromFile(path, 0, 0)) return false;
  bool loaded = LoadFromMemory(buffer.GetData(), buffer.length, spriteDictionary, transform, scale,
                               massScale, rangeScale, resilienceScale);
  buffer.Clear();
  return loaded;
}

// ---- the textures ------------------------------------------------------------------------------

bool KV_DNA::LoadTexturesFromMemory(const void* data, uint32_t size, const char* directory,
                                    KV_DICTIONARY<KV_SPRITE>* spriteDictionary) {
  KV_DNA_MODEL model;
  if (!model.Read(data, size)) return false;
  if (spriteDictionary == nullptr) return true;
  const char* folder = directory != nullptr ? directory : ".";
  ForEachTextureName(model, [&](const KV_STRING& name) {
    // A name already held (loaded before, or named earlier in this file) is not loaded again.
    if (!spriteDictionary->Find(KV_DICTIONARY<KV_SPRITE>::FIND_NAME, name.c_str()).IsEnd()) return;
    KV_SPRITE* sprite = spriteDictionary->GetValue(name.c_str());
    if (sprite == nullptr) return;
    KV_STRING path;
    path.Format("%s/%s.kvt", folder, name.c_str());
    sprite->Load(path.c_str(), 1, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, -1, -1, 0, 0);
  });
  return true;
}

bool KV_DNA::LoadTexturesFromFile(const char* path, const char* directory,
                                  KV_DICTIONARY<KV_SPRITE>* spriteDictionary) {
  if (path == nullptr) return false;
  KV_BUFFER buffer;
  if (!buffer.LoadFromFile(path, 0, 0)) return false;
  bool loaded =
      LoadTexturesFromMemory(buffer.GetData(), buffer.length, directory, spriteDictionary);
  buffer.Clear();
  return loaded;
}

bool KV_DNA::Load(const char* path, const char* directory,
                  KV_DICTIONARY<KV_SPRITE>* spriteDictionary, const KV_MATRIX_D* transform,
                  KV_VECTOR_D scale, double massScale, double rangeScale, double resilienceScale) {
  if (!LoadTexturesFromFile(path, directory, spriteDictionary)) return false;
  return LoadFromFile(path, spriteDictionary, transform, scale, massScale, rangeScale,
                      resilienceScale);
}

bool KV_DNA::LoadMemory(const void* data, uint32_t size, const char* directory,
                        KV_DICTIONARY<KV_SPRITE>* spriteDictionary, const KV_MATRIX_D* transform,
                        KV_VECTOR_D scale, double massScale, double rangeScale,
                        double resilienceScale) {
  if (!LoadTexturesFromMemory(data, size, directory, spriteDictionary)) return false;
  return LoadFromMemory(data, size, spriteDictionary, transform, scale, massScale, rangeScale,
                        resilienceScale);
}
