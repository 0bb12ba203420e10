// The program's global objects, in the order the runtime builds them (and, reversed, destroys
// them), and the entry function WinMain. `Core` comes before the game objects because their
// constructors already name themselves and take sprite entries through it.
#include "core/core.h"
#include "core/intro.h"
#include "app/input.h"
#include "foundation/small_math.h"
#include "foundation/string.h"
#include "game/bonus.h"
#include "game/game_state.h"
#include "game/gracz.h"
#include "game/gracz2.h"
#include "game/kolec_gora.h"
#include "game/kolec_lewo.h"
#include "game/laser_pionowy.h"
#include "game/laser_poziomy.h"
#include "game/maly_kolec.h"
#include "game/mur.h"
#include "game/wyrzutnia_kolcow.h"
#include "platform/winapi/windows.h"

// ---- the globals, in construction order ----
// The ten game objects are never added to `Core`: the actors that play are built by the game
// state.
KV_STRING CommandLine;
KV_CORE Core;
C_GRACZ Gracz(KV_VECTOR_D(0, 0, 0, 1));
C_GRACZ2 Gracz2(KV_VECTOR_D(0, 0, 0, 1));
C_MUR Mur(KV_VECTOR_D(0, 0, 0, 1));
C_BONUS Bonus(KV_VECTOR_D(0, 0, 0, 1));
C_KOLEC_LEWO KolecLewo(KV_VECTOR_D(0, 0, 0, 1));
C_KOLEC_GORA KolecGora(KV_VECTOR_D(0, 0, 0, 1));
C_MALY_KOLEC MalyKolec(KV_VECTOR_D(0, 0, 0, 1));
C_WYRZUTNIA_KOLCOW WyrzutniaKolcow(KV_VECTOR_D(0, 0, 0, 1));
C_LASER_PIONOWY LaserPionowy(KV_VECTOR_D(0, 0, 0, 1));
C_LASER_POZIOMY LaserPoziomy(KV_VECTOR_D(0, 0, 0, 1));

// ---- the entry function ----

// Returns 1 after a normal run, 0 when the main window cannot be created.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  KvInitiation();
  CommandLine = commandLine;

  Core.windows.GetValue("main")->title = "Kelvo Tumbix";
  Core.windows.GetValue("main")->colorBits = 32;
  Core.windows.GetValue("main")->depthBits = 16;
  KV_INPUT::Instance().keyRepeatFilter = 1;
  KvRandomize();

  Core.stateMachine.states.Get("intro")->function = IntroState;
  Core.stateMachine.states.Get("game")->function = GameState;
  Core.stateMachine.current = Core.stateMachine.states.Get("intro");

  if (!Core.windows.GetValue("main")->Create(KV_HANDLE())) return 0;
  Core.stateMachine.Run();
  Core.windows.GetValue("main")->Destroy();
  KvClosure();
  return 1;
}
