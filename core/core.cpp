// KV_CORE's life: construction with the desktop size, the tear-down of every resource, the
// per-frame driver and the destructor's order. A member that arrives later takes its place in
// DestroyAll's numbered steps and in the driver at the comment that names it.
#include "core/core.h"

#include <new>

#include "core/app/loop.h"

namespace {

// Deletes every actor of a collection through its virtual destructor, once, then empties it.
void DeleteAll(KV_DICTIONARY<KV_CORE::ACTOR>& actors)
{
    for (KV_LIST_ITERATOR<KV_CORE::ACTOR> it = actors.Begin(); !it.IsEnd(); it.Next())
    {
        KV_CORE::ACTOR actor = *it.Get();
        *it.Get() = nullptr;
        delete actor;
    }
    actors.Clear();
}

}  // namespace

KV_CORE::KV_CORE() : idCounter(0), screenWidth(0), screenHeight(0), screenAspect(0)
{
    // The desktop size, read once through a temporary window description.
    KV_WINDOW screen;
    screen.FitScreen();
    screenWidth = screen.width;
    screenHeight = screen.height;
    screenAspect = screenHeight != 0 ? (float)screenWidth / (float)screenHeight : 1.0f;
}

KV_CORE* KV_CORE::Create()
{
    return new (std::nothrow) KV_CORE();
}

KV_CORE::~KV_CORE()
{
    DestroyAll();
    stateMachine.Clear();
    windows.Clear();
    // The other members go in reverse order of their declaration.
}

// ---- tear-down ----

void KV_CORE::DestroyAll()
{
    // 1. models: KV_MODEL::Free(0) on each, then empty (arrives with the models).
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
        delete[] *it.Get();
    memoryBlocks.Clear();
    // 7. fonts.
    for (KV_LIST_ITERATOR<KV_FONT> it = fonts.Begin(); !it.IsEnd(); it.Next())
        it.Get()->Destroy();
    fonts.Clear();
    // 8. the GUI manager: its controls, styles, names, textures and fonts.
    gui.DestroyAll();
    // 9. timers.
    timers.Clear();
    // 10. 2D cameras (the current-camera iterator would point into them).
    currentCamera2D.Reset();
    cameras2D.Clear();
    // 11. particle systems: KV_PARTICLES::Clear on each, then empty (arrive with particles).
    // 12. shaders: KV_SHADER::Destroy on each, then empty (arrive with shader programs).
    // 13. canvases: KV_CANVAS::Destroy on each, then empty (arrive with canvases).
    // 14. techniques.
    for (KV_LIST_ITERATOR<KV_TECHNIQUE> it = techniques.Begin(); !it.IsEnd(); it.Next())
        it.Get()->Free();
    techniques.Clear();
    // 15. soft bodies: KV_DNA::Destroy on each, then empty (arrive with soft bodies).
    // 16. sockets.
    for (KV_LIST_ITERATOR<KV_SOCKET> it = sockets.Begin(); !it.IsEnd(); it.Next())
        it.Get()->Close();
    sockets.Clear();
}

// ---- per-frame driver ----

void KV_CORE::Frame()
{
    KV_LOOP& loop = KV_LOOP::Instance();
    if (loop.UpdateTick())
        UpdateActors();
    // The GUI: layout in update frames once it has a screen; its input pass, deletion queue
    // and purge of stale names in every frame (each acts only as far as it can without one).
    if (loop.UpdateTick() && gui.GetScreen() != nullptr)
        gui.UpdateLayout();
    gui.ProcessInput();
    gui.DestroyQueued();
    gui.PurgeNames();
    if (loop.DrawTick())
        DrawScene();
    // The GUI over the scene, in two passes for a screen window with per-pixel alpha.
    if (loop.DrawTick() && gui.GetScreen() != nullptr)
        gui.Draw(gui.GetScreen()->layered);
    CommitActors();
    DeleteActors();
    UpdateTimers();
}

void KV_CORE::UpdateActors()
{
    if (updateHook.function != nullptr)
        updateHook.function();
    for (KV_LIST_ITERATOR<KV_SOCKET> it = sockets.Begin(); !it.IsEnd(); it.Next())
        it.Get()->Update();
    // Actors added or marked meanwhile go to the pending collection or the delete list, so
    // the live collection stays as it is during the walk.
    for (KV_LIST_ITERATOR<ACTOR> it = liveActors.Begin(); !it.IsEnd(); it.Next())
        if (*it.Get() != nullptr)
            (*it.Get())->Update();
    // Particle systems: KV_PARTICLES::Update (entry's callback word, 0) on each (arrive with
    // the particle systems).
}

void KV_CORE::DrawScene()
{
    if (cameras2D.values.Count() == 0)
    {
        currentCamera2D.Reset();
        DrawPass();
    }
    else
    {
        for (KV_LIST_ITERATOR<KV_CAMERA2D> it = cameras2D.Begin(); !it.IsEnd(); it.Next())
        {
            if (!it.Get()->enabled)
                continue;
            currentCamera2D = it;
            it.Get()->Begin();
            DrawPass();
            it.Get()->End();
        }
    }
    currentCamera2D.Reset();
}

void KV_CORE::DrawPass()
{
    if (preDrawHook.function != nullptr)
        preDrawHook.function();
    // Particle systems drawn before their actor and bound to none (arrive with particles).
    for (KV_LIST_ITERATOR<ACTOR> it = liveActors.Begin(); !it.IsEnd(); it.Next())
    {
        // Particle systems bound to this actor and drawn before it.
        if (*it.Get() != nullptr)
            (*it.Get())->Draw();
        // Particle systems bound to this actor and drawn after it.
    }
    // Soft bodies: KV_DNA::Draw on each (arrive with the soft bodies).
    // Particle systems drawn after their actor and bound to none.
    if (postDrawHook.function != nullptr)
        postDrawHook.function();
}

void KV_CORE::UpdateTimers()
{
    float frameTime = KV_LOOP::Instance().frameTime;
    for (KV_LIST_ITERATOR<KV_TIMER> it = timers.Begin(); !it.IsEnd(); it.Next())
        it.Get()->Update(frameTime);
}
