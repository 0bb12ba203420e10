// The engine's soft bodies: a body ("Dna") links point masses (substances), springs between two
// substances (covalence forces) and triangles spanned by three substances (surfaces), plus one
// further handle of the program's own (KV_DNA_KIND37). Elements are made on their own, then linked
// into a body at an index; from then on the body owns them, and KvDnaDie(h, KV_DNA_KILL) or
// KvDnaDestroy(h) destroys them. Bodies are static: positions stay as set, since no step function
// exists. KvDnaDraw draws the forces as lines, then the surfaces as triangles, both in the draw
// colour. Null and unknown handles are accepted everywhere and give the failure result.
#pragma once

#include <cstdint>

#include "engine/kv_engine.h"

extern "C" {

// ---- bodies ---------------------------------------------------------------------------------

// Fills *out with a new empty body; leaves it null and returns 0 on failure (a null out).
uint8_t KvDnaCreate(KV_HANDLE* out);
// Mode KV_DNA_KILL: destroys every element the body owns and empties its arrays (their blocks stay
// where they are, so pointers taken from KvDnaGet stay readable). 0 for another mode or an unknown
// body.
uint8_t KvDnaDie(KV_HANDLE dna, uint32_t mode);
// Destroys the body and every element it owns; null and unknown handles do nothing.
void KvDnaDestroy(KV_HANDLE dna);
// Makes room for the given numbers of substances, forces and surfaces (note the order): each
// non-zero count gives that kind exactly that many null slots; 0 leaves the kind as it is. A block
// never moves while the body lives: a larger count takes a new block and keeps the old one.
// 0 for an unknown body or a count above 16 777 216.
uint8_t KvDnaBirth(KV_HANDLE dna, uint32_t substances, uint32_t forces, uint32_t surfaces);
// Stores *element at index of the kind's array (KV_DNA_SUBSTANCES, KV_DNA_FORCES,
// KV_DNA_SURFACES; KV_DNA_KIND37 keeps one handle, index ignored) and makes the body its owner
// (not for KV_DNA_KIND37). 0 for an unknown body or kind, an index beyond the count, a null
// pointer or an element of another kind.
uint8_t KvDnaLink(KV_HANDLE dna, uint32_t kind, uint32_t index, const KV_HANDLE* element);
// Pointer to the kind's live array of handles or to the one handle of KV_DNA_KIND37; null
// for an unknown body or kind, or an array never born. reserved is 0.
void* KvDnaGet(KV_HANDLE dna, uint32_t kind, uint32_t reserved);
// The number of slots of the kind (KV_DNA_KIND37 gives 1); 0 for an unknown body or kind.
uint32_t KvDnaCount(KV_HANDLE dna, uint32_t kind);
// Draws the body with the current transform: each force whose two substances live as a line,
// then each surface whose three substances live as a triangle, textured with its texture (when
// texturing is on and the texture is filled) at its texture coordinates. 0 for an unknown body.
uint8_t KvDnaDraw(KV_HANDLE dna);

// ---- substances -------------------------------------------------------------------------------

// Fills *out with a new substance at (0, 0, 0, 1) with mass 1, range 0, solid 0; 0 on failure.
uint8_t KvSubstanceCreate(KV_HANDLE* out);
// Sets the position (x, y, z, w). reserved is 0. 0 for an unknown substance.
uint8_t KvSubstanceSetPosition(KV_HANDLE substance, KV_DOUBLE4 position, uint32_t reserved);
uint8_t KvSubstanceSetMass(KV_HANDLE substance, double mass);
uint8_t KvSubstanceSetRange(KV_HANDLE substance, double range);
uint8_t KvSubstanceSetSolid(KV_HANDLE substance, int32_t solid);
// Pointer to a live property: KV_SUBSTANCE_POSITION (four doubles). Null for an unknown substance
// or number.
void* KvSubstanceGet(KV_HANDLE substance, uint32_t property);

// ---- covalence forces -----------------------------------------------------------------------

// Fills *out with a new force with no substances, resilience 0 and rest length 0; 0 on failure.
uint8_t KvCovalenceForceCreate(KV_HANDLE* out);
// Sets the substance at one end: KV_FORCE_FIRST or KV_FORCE_SECOND. 0 for an unknown force or end.
uint8_t KvCovalenceForceSetSubstance(KV_HANDLE force, uint32_t end, KV_HANDLE substance);
uint8_t KvCovalenceForceSetResilience(KV_HANDLE force, double resilience);
// Sets the rest length.
uint8_t KvCovalenceForceSetForce(KV_HANDLE force, double restLength);
// Pointer to the live substance handle at an end (KV_FORCE_FIRST, KV_FORCE_SECOND); null for an
// unknown force or end.
void* KvCovalenceForceGet(KV_HANDLE force, uint32_t end);

// ---- surfaces -------------------------------------------------------------------------------

// Fills *out with a new surface with no substances, coordinates (0, 0) and no texture; 0 on
// failure.
uint8_t KvSurfaceCreate(KV_HANDLE* out);
// Sets the substance at a corner: KV_SURFACE_CORNER1 to KV_SURFACE_CORNER3. 0 for an unknown
// surface or corner.
uint8_t KvSurfaceSetSubstance(KV_HANDLE surface, uint32_t corner, KV_HANDLE substance);
// Sets the texture coordinate (u, v, r, q) of a corner: KV_SURFACE_COORD1 to KV_SURFACE_COORD3.
uint8_t KvSurfaceSetCoord(KV_HANDLE surface, uint32_t corner, KV_DOUBLE4 coord);
// Sets the texture drawn on the surface (borrowed, may be null) for target KV_TEXTURE_TARGET; 0
// for another target.
uint8_t KvSurfaceSetTexture(KV_HANDLE surface, KV_HANDLE texture, uint32_t target);

}  // extern "C"
