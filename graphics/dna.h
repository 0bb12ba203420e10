// KV_DNA: a 2D soft body kept by the engine (an engine Dna object linking substances, covalence
// forces, surfaces and one handle of a fourth kind) plus the framework's own force sprites,
// textured rectangles drawn along covalence forces. The engine owns the body's elements; a force
// sprite borrows its texture (owned by a named sprite) and points at one slot of the engine's
// force array, which stays where it is while the body lives. Records copy by value and never
// free the body themselves: Destroy does.
#pragma once

#include <cstdint>

#include "engine/kv_engine.h"
#include "engine/kv_array.h"
#include "foundation/dictionary.h"
#include "foundation/matrix.h"
#include "foundation/vector.h"
#include "graphics/sprite.h"

// One force sprite.
struct KV_DNA_SPRITE {
  KV_HANDLE texture;  // the image drawn; null skips the sprite
  KV_HANDLE* force =
      nullptr;  // a slot of the engine's force array (KvDnaGet(handle, KV_DNA_FORCES, 0))
  int32_t pivotX = 0, pivotY = 0;  // pivot in pixels from the rectangle's top-left corner
  int32_t width = 0, height = 0;   // size in pixels
  uint8_t reversed = 0;            // 1 anchors the sprite at the force's second substance
  uint8_t stretched = 0;           // 1 stretches it from the pivot to the far end of the force
  double angle = 0;                // written by each draw: degrees from the anchor to the other end
};

class KV_DNA {
 public:
  KV_HANDLE handle;                 // the engine Dna object; null until Reset
  KV_ARRAY<KV_DNA_SPRITE> sprites;  // the force sprites

  // ---- lifetime (dna.cpp) ----

  // Kills and destroys the engine body (if any) and creates a new empty one; the force sprites
  // are kept, their force pointers cleared (the old force array is gone). False, leaving the
  // handle null, when the engine cannot create it.
  bool Reset();
  // Makes room in the engine body for the given numbers of elements (0 leaves a kind as it is)
  // and, when sprites is not 0, replaces the force sprites by that many cleared records.
  void Birth(uint32_t substances, uint32_t surfaces, uint32_t forces, uint32_t spriteCount);
  // Kills and destroys the engine body, leaves the handle null and frees the force sprites.
  // Harmless on a body never created.
  void Destroy();

  // ---- loading (dna_load.cpp) ----

  // Builds the body from a model file in memory into the body made by Reset: substances placed
  // at transform x (x, y, 0, 1) (no transform: as written), masses, ranges and resiliences
  // multiplied by the three scales, surfaces textured from the named sprites (when given), forces
  // at their rest length, force sprites sized by scale. False for a body without an engine
  // object, no data, or a model file that does not read (see KV_DNA_MODEL), with nothing built;
  // also false when the engine refuses to make room for the elements.
  bool LoadFromMemory(const void* data, uint32_t size, KV_DICTIONARY<KV_SPRITE>* spriteDictionary,
                      const KV_MATRIX_D* transform, KV_VECTOR_D scale, double massScale,
                      double rangeScale, double resilienceScale);
  // The same from a file read whole; false for a null path or a file that cannot be read.
  bool LoadFromFile(const char* path, KV_DICTIONARY<KV_SPRITE>* spriteDictionary,
                    const KV_MATRIX_D* transform, KV_VECTOR_D scale, double massScale,
                    double rangeScale, double resilienceScale);
  // Loads every texture the model names (surfaces, then force sprites) that the dictionary does
  // not hold yet, from "directory/name.kvt", into a sprite of that name (without a dictionary,
  // nothing). False for no data or a model file that does not read; a texture that cannot be
  // loaded still leaves an empty sprite of its name.
  bool LoadTexturesFromMemory(const void* data, uint32_t size, const char* directory,
                              KV_DICTIONARY<KV_SPRITE>* spriteDictionary);
  // The same from a file read whole; false for a null path or a file that cannot be read.
  bool LoadTexturesFromFile(const char* path, const char* directory,
                            KV_DICTIONARY<KV_SPRITE>* spriteDictionary);
  // LoadTexturesFromFile, then (when it succeeds) LoadFromFile.
  bool Load(const char* path, const char* directory, KV_DICTIONARY<KV_SPRITE>* spriteDictionary,
            const KV_MATRIX_D* transform, KV_VECTOR_D scale, double massScale, double rangeScale,
            double resilienceScale);
  // LoadTexturesFromMemory, then (when it succeeds) LoadFromMemory.
  bool LoadMemory(const void* data, uint32_t size, const char* directory,
                  KV_DICTIONARY<KV_SPRITE>* spriteDictionary, const KV_MATRIX_D* transform,
                  KV_VECTOR_D scale, double massScale, double rangeScale, double resilienceScale);

  // ---- drawing (dna_draw.cpp) ----

  // Lets the engine draw the body, then draws each force sprite along its force (turned, and
  // stretched when asked). Sprites without a texture or a live force with two live ends are
  // skipped.
  void Draw();

  // ---- links and queries (dna.cpp) ----

  // Stores a copy of the element handle at index of the body's substances, surfaces or forces;
  // the engine's result (0 for an index beyond the room made, or an element of another kind).
  uint8_t LinkSubstance(uint32_t index, KV_HANDLE substance);
  uint8_t LinkSurface(uint32_t index, KV_HANDLE surface);
  uint8_t LinkForce(uint32_t index, KV_HANDLE force);
  // Stores the one handle of the fourth kind; the engine's result.
  uint8_t LinkKind37(KV_HANDLE element);
  // The engine's live arrays of element handles; null for a body without them.
  KV_HANDLE* GetSubstances();
  KV_HANDLE* GetSurfaces();
  KV_HANDLE* GetForces();
  // Copies the handle of the fourth kind into *out (null when the body has none) and returns out.
  KV_HANDLE* GetKind37(KV_HANDLE* out);
  // The number of slots of each kind; 0 without a body.
  uint32_t GetSubstanceCount();
  uint32_t GetSurfaceCount();
  uint32_t GetForceCount();
  // Replaces force sprite index; false, changing nothing, when index is not below the count.
  bool SetSprite(uint32_t index, KV_DNA_SPRITE record);
  // The first force sprite; null when there is none.
  KV_DNA_SPRITE* GetSprites();
  // The number of force sprites.
  uint32_t GetSpriteCount();
};
