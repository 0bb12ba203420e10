// KV_CORE's life: construction with the desktop size (and its accessors), the tear-down of every resource in a
// fixed order, the per-frame driver and the destructor's order.
#include "core/core.h"

#include <new>

#include "app/loop.h"

namespace {

// Deletes every actor of a collection through its virtual destructor, once, then empties it.
void DeleteAll(KV_DICTIONARY<KV_CORE::ACTOR>& actors) {
  for (KV_LIST_ITERATOR<KV_CORE::ACTOR> it = actors.Begin(); !it.IsEnd(); it.Next()) {
    KV_CORE::ACTOR actor = *it.Get();
    *it.Get() = nullptr;
    delete actor;
  }
  actors.Clear();
}

}  // namespace

KV_CORE::KV_CORE() : idCounter(0), screenWidth(0), screenHeight(0), screenAspect(0) {
  // The desktop size, read once through a temporary window description.
  KV_WINDOW screen;
  screen.FitScreen();
  screenWidth = screen.width;
  screenHeight = screen.height;
  screenAspect = screenHeight != 0 ? (float)screenWidth / (float)screenHeight : 1.0f;
}

KV_CORE* KV_CORE::Create() { return new (std::nothrow) KV_CORE(); }

int KV_CORE::GetScreenWidth() const { return screenWidth; }

int KV_CORE::GetScreenHeight() const { return screenHeight; }

float KV_CORE::GetScreenAspect() const { return screenAspect; }

KV_CORE::~KV_CORE() {
  DestroyAll();
  stateMachine.Clear();
  windows.Clear();
  // The other members go in reverse order of their declaration.
}

// ---- tear-down ----

void KV_CORE::DestroyAll() {
  // 1. models: their meshes, and their textures when marked loaded.
  for (KV_LIST_ITERATOR<KV_MODEL> it = models.Begin(); !it.IsEnd(); it.Next())
    it.Get()->Free(false);
  models.Clear();
  // 2. sprites, with their frame textures.
  for (KV_LIST_ITERATOR<KV_SPRITE> it = sprites.Begin(); !it.IsEnd(); it.Next())
    it.Get()->Destroy(0);
  sprites.Clear();
  // 3. and 4. live and pending actors.
  DeleteAll(liveActors);
  DeleteAll(pendingActors);
  // 5. The delete list only names actors that are live or pending (deleted above), or
  // pointers the core never owned: it is dropped without deleting anything, so nothing is
  // deleted twice or freed that the core was not given.
  deleteList.Clear();
  // 6. memory blocks.
  for (KV_LIST_ITERATOR<unsigned char*> it = memoryBlocks.Begin(); !it.IsEnd(); it.Next())
    delete[] * it.Get();
  memoryBlocks.Clear();
  // 7. fonts.
  for (KV_LIST_ITERATOR<KV_FONT> it = fonts.Begin(); !it.IsEnd(); it.Next()) it.Get()->Destroy();
  fonts.Clear();
  // 8. the GUI manager: its controls, styles, names, textures and fonts.
  gui.DestroyAll();
  // 9. timers.
  timers.Clear();
  // 10. 2D cameras (the current-camera iterator would point into them).
  currentCamera2D.Reset();
  cameras2D.Clear();
  // 11. particle systems.
  for (KV_LIST_ITERATOR<KV_PARTICLES_ENTRY> it = particles.Begin(); !it.IsEnd(); it.Next())
    it.Get()->system.Clear();
  particles.Clear();
  // 12. shaders.
  for (KV_LIST_ITERATOR<KV_SHADER> it = shaders.Begin(); !it.IsEnd(); it.Next())
    it.Get()->Destroy();
  shaders.Clear();
  // 13. canvases.
  for (KV_LIST_ITERATOR<KV_CANVAS> it = canvases.Begin(); !it.IsEnd(); it.Next())
    it.Get()->Destroy();
  canvases.Clear();
  // 14. techniques.
  for (KV_LIST_ITERATOR<KV_TECHNIQUE> it = techniques.Begin(); !it.IsEnd(); it.Next())
    it.Get()->Free();
  techniques.Clear();
  // 15. soft bodies.
  for (KV_LIST_ITERATOR<KV_DNA> it = softBodies.Begin(); !it.IsEnd(); it.Next())
    it.Get()->Destroy();
  softBodies.Clear();
  // 16. sockets.
  for (KV_LIST_ITERATOR<KV_SOCKET> it = sockets.Begin(); !it.IsEnd(); it.Next()) it.Get()->Close();
  sockets.Clear();
}

// ---- per-frame driver ----

void KV_CORE::Frame() {
  KV_LOOP& loop = KV_LOOP::Instance();
  if (loop.UpdateTick()) UpdateActors();
  // The GUI: layout in update frames once it has a screen; its input pass, deletion queue
  // and purge of stale names in every frame (each acts only as far as it can without one).
  if (loop.UpdateTick() && gui.GetScreen() != nullptr) gui.UpdateLayout();
  gui.ProcessInput();
  gui.DestroyQueued();
  gui.PurgeNames();
  if (loop.DrawTick()) DrawScene();
  // The GUI over the scene, in two passes for a screen window with per-pixel alpha.
  if (loop.DrawTick() && gui.GetScreen() != nullptr) gui.Draw(gui.GetScreen()->layered);
  CommitActors();
  DeleteActors();
  UpdateTimers();
}

void KV_CORE::UpdateActors() {
  if (updateHook.function != nullptr) updateHook.function();
  for (KV_LIST_ITERATOR<KV_SOCKET> it = sockets.Begin(); !it.IsEnd(); it.Next()) it.Get()->Update();
  // Actors added or marked meanwhile go to the pending collection or the delete list, so
  // the live collection stays as it is during the walk.
  for (KV_LIST_ITERATOR<ACTOR> it = liveActors.Begin(); !it.IsEnd(); it.Next())
    if (*it.Get() != nullptr) (*it.Get())->Update();
  for (KV_LIST_ITERATOR<KV_PARTICLES_ENTRY> it = particles.Begin(); !it.IsEnd(); it.Next())
    it.Get()->system.Update(it.Get()->callback, 0);
}

void KV_CORE::DrawScene() {
  if (cameras2D.values.Count() == 0) {
    currentCamera2D.Reset();
    DrawPass();
  } else {
    for (KV_LIST_ITERATOR<KV_CAMERA2D> it = cameras2D.Begin(); !it.IsEnd(); it.Next()) {
      if (!it.Get()->enabled) continue;
      currentCamera2D = it;
      it.Get()->Begin();
      DrawPass();
      it.Get()->End();
    }
  }
  currentCamera2D.Reset();
}

// Draws, in dictionary order, the particle systems bound to actor (null: bound to none) whose
// draw-before flag equals before.
void KV_CORE::DrawParticles(KvCore::KV_ACTOR* actor, bool before) {
  for (KV_LIST_ITERATOR<KV_PARTICLES_ENTRY> it = particles.Begin(); !it.IsEnd(); it.Next()) {
    KV_PARTICLES_ENTRY* entry = it.Get();
    if (entry->actor == actor && (entry->drawBefore != 0) == before) entry->system.Draw();
  }
}

void KV_CORE::DrawPass() {
  if (preDrawHook.function != nullptr) preDrawHook.function();
  DrawParticles(nullptr, true);
  for (KV_LIST_ITERATOR<ACTOR> it = liveActors.Begin(); !it.IsEnd(); it.Next()) {
    if (*it.Get() == nullptr) continue;
    DrawParticles(*it.Get(), true);
    (*it.Get())->Draw();
    DrawParticles(*it.Get(), false);
  }
  // Soft bodies, after the actors.
  for (KV_LIST_ITERATOR<KV_DNA> it = softBodies.Begin(); !it.IsEnd(); it.Next()) it.Get()->Draw();
  DrawParticles(nullptr, false);
  if (postDrawHook.function != nullptr) postDrawHook.function();
}

void KV_CORE::UpdateTimers() {
  float frameTime = KV_LOOP::Instance().frameTime;
  for (KV_LIST_ITERATOR<KV_TIMER> it = timers.Begin(); !it.IsEnd(); it.Next())
    it.Get()->Update(frameTime);
}
