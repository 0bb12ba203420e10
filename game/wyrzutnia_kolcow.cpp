// C_WYRZUTNIA_KOLCOW: the launcher.
#include "game/wyrzutnia_kolcow.h"

#include "game/actor_helpers.h"
#include "game/maly_kolec.h"

namespace {

constexpr int32_t kFirePeriod = 200;  // updates between two columns
constexpr int kColumn = 10;           // small spikes per column
constexpr double kSpacing = 20;       // pixels between them

}  // namespace

C_WYRZUTNIA_KOLCOW::C_WYRZUTNIA_KOLCOW(KV_VECTOR_D position) : counter(0) {
  Core.SetActorName(this, "WYRZUTNIA_KOLCOW");
  KvGameSetSprite(this, "spr_wyrzutnia_kolcow");
  this->position = position;
}

C_WYRZUTNIA_KOLCOW::~C_WYRZUTNIA_KOLCOW() { KvGameDropSprite(this); }

// Every 200th update fires a column of ten small spikes down the launcher; they go live at the
// end of this frame and fly from the next.
void C_WYRZUTNIA_KOLCOW::Update() {
  if (++counter != kFirePeriod) return;
  counter = 0;
  for (int i = 0; i < kColumn; ++i) {
    KV_VECTOR_D place(position.x + 9, position.y + kSpacing * i, 0, 1);
    Core.AddActor("MALY_KOLEC", new C_MALY_KOLEC(place));
  }
}

void C_WYRZUTNIA_KOLCOW::Draw() { Render(); }
