// The central object's hot paths: a collision query by name over 200 and 2,000 live actors,
// and a whole frame of 200 actors (each probing once and drawing a 16 x 16 sprite) on the
// offscreen engine, presented as the game presents its frames.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "app/loop.h"
#include "core/core.h"
#include "engine/kv_engine.h"

namespace {

// A game-like actor: one box probe for walls in its update, its sprite in its draw.
class Tile : public KvCore::KV_ACTOR2D {
 public:
  KV_CORE* core = nullptr;
  bool probes = false;
  void Update() override {
    if (probes) core->FindCollision(7, this, "MUR", KV_VECTOR_D(1, 0, 0, 1));
  }
  void Draw() override { Render(); }
};

// count live actors: all walls ("MUR", 16 pixels apart on a row) but the last, which is the
// one the query looks for, so the query walks the whole collection.
void Populate(KV_CORE& core, int count, bool probes) {
  for (int i = 0; i < count; ++i) {
    Tile* tile = new Tile();
    tile->core = &core;
    tile->probes = probes;
    tile->position = KV_VECTOR_D(16.0 * (i % 50), 16.0 * (i / 50), 0, 1);
    tile->sprite = *core.sprites.GetValue("spr");
    core.SetActorName(tile, i + 1 == count ? "GRACZ" : "MUR");
    core.AddActor("G", tile);
  }
  core.CommitActors();
}

void BM_FindCollisionByName(benchmark::State& state) {
  KV_CORE core;
  KV_SPRITE* sprite = core.sprites.GetValue("spr");
  sprite->boxWidth = sprite->boxHeight = 16;
  Populate(core, (int)state.range(0), false);
  KvCore::KV_ACTOR* asker = core.liveActors.Begin().GetCopy();
  asker->position = KV_VECTOR_D(10000, 10000, 0, 1);  // far from all: nothing is hit
  for (auto _ : state)
    benchmark::DoNotOptimize(core.FindCollision(7, asker, "GRACZ", KV_VECTOR_D(1, 0)));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FindCollisionByName)->Arg(200)->Arg(2000);

void BM_FrameOf200Actors(benchmark::State& state) {
  KvInitiation();
  KV_WINDOW window;
  window.title = "Core Frame Bench";
  window.width = 800;
  window.height = 600;
  if (!window.Create(KV_HANDLE())) {
    state.SkipWithError("no window");
    return;
  }
  {
    KV_CORE core;
    core.windows.GetValue("main");
    KvRenderTargetActivate(window.renderTarget);
    KvSetState(KV_STATE_TEXTURING, 1);
    KvCameraOrtho(0, 0, 800, 600, 0);
    core.sprites.GetValue("spr")->LoadEmpty(16, 16, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, -1,
                                            -1, 0, 0);
    Populate(core, 200, true);
    KV_LOOP& loop = KV_LOOP::Instance();
    loop.drawTick = loop.updateTick = 1;
    const bool present = state.range(0) != 0;
    for (auto _ : state) {
      core.Frame();
      if (present) KvRenderScene(KV_SCENE_FRAME);
    }
    core.DestroyAll();
  }
  window.Destroy();
  KvClosure();
}
BENCHMARK(BM_FrameOf200Actors)
    ->Arg(0)
    ->Arg(1)
    ->ArgNames({"present"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
