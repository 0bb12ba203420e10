// The game state: its resources, the arena and the game frame.
#include "game/game_state.h"

#include "app/input.h"
#include "app/loop.h"
#include "core/core.h"
#include "engine/kv_engine.h"
#include "foundation/string.h"
#include "game/bonus.h"
#include "game/gracz.h"
#include "game/gracz2.h"
#include "game/kolec_gora.h"
#include "game/kolec_lewo.h"
#include "game/laser_pionowy.h"
#include "game/laser_poziomy.h"
#include "game/mur.h"
#include "game/scores.h"
#include "game/wyrzutnia_kolcow.h"
#include "graphics/font.h"
#include "graphics/sprite.h"

int32_t ScoreGracz = 0;
int32_t ScoreGracz2 = 0;

namespace {

constexpr int kGameWidth = 800;
constexpr int kGameHeight = 600;

// The sprites in the order loaded, with the texture loader's flag.
struct SPRITE_FILE {
  const char* name;
  const char* file;
  uint8_t loadFlag;
};
const SPRITE_FILE kSpritesBeforeFont[] = {
    {"spr_mur", "data/1.kvt", 0},
    {"spr_gracz2", "data/2.kvt", 1},
    {"spr_gracz", "data/3.kvt", 1},
    {"spr_bonus", "data/4.kvt", 1},
};
const SPRITE_FILE kSpritesAfterFont[] = {
    {"spr_kolec_gora", "data/6.kvt", 1},        {"spr_kolec_prawo", "data/7.kvt", 1},
    {"spr_kolec_dol", "data/8.kvt", 1},         {"spr_kolec_lewo", "data/9.kvt", 1},
    {"spr_wyrzutnia_kolcow", "data/10.kvt", 1}, {"spr_maly_kolec", "data/11.kvt", 1},
    {"spr_laser_pionowy", "data/12.kvt", 1},    {"spr_laser_poziomy", "data/13.kvt", 1},
};

// Loads into the sprite entry of that name; the collision rectangle of (-1, -1) makes every
// actor's box its texture's size with the top-left corner at the actor's position.
void LoadSprite(const SPRITE_FILE& entry) {
  KV_SPRITE* sprite = Core.sprites.GetValue(entry.name);
  if (sprite == nullptr) return;
  sprite->Load(entry.file, entry.loadFlag, KV_FILTER_NEAREST, KV_FILTER_NEAREST, 0, 0, -1, -1, 0,
               0);
}

// Sprites and font in their file order: 1 to 4, the font 5, then 6 to 13.
void LoadResources() {
  for (const SPRITE_FILE& entry : kSpritesBeforeFont) LoadSprite(entry);
  KV_FONT* font = Core.fonts.GetValue("fnt_1");
  if (font != nullptr)
    font->Load("data/5.kvt", "data/5.fnt", 10, KV_FILTER_NEAREST, KV_FILTER_NEAREST);
  for (const SPRITE_FILE& entry : kSpritesAfterFont) LoadSprite(entry);
}

// 176 tiles 16 pixels apart: left and right columns, then the top and bottom rows (the corners
// and the bottom row's overlap with the columns' last tiles are kept as they are).
void BuildWalls() {
  for (int y = 0; y <= 592; y += 16) Core.AddActor("MUR", new C_MUR(KV_VECTOR_D(0, y, 0, 1)));
  for (int y = 0; y <= 592; y += 16) Core.AddActor("MUR", new C_MUR(KV_VECTOR_D(784, y, 0, 1)));
  for (int x = 0; x <= 784; x += 16) Core.AddActor("MUR", new C_MUR(KV_VECTOR_D(x, 0, 0, 1)));
  for (int x = 0; x <= 784; x += 16) Core.AddActor("MUR", new C_MUR(KV_VECTOR_D(x, 584, 0, 1)));
}

// The arena in its live order, which is also the order of update and draw.
void BuildArena() {
  BuildWalls();
  Core.AddActor("GRACZ", new C_GRACZ(KV_VECTOR_D(22, 22, 0, 1)));
  Core.AddActor("GRACZ2", new C_GRACZ2(KV_VECTOR_D(44, 22, 0, 1)));
  Core.AddActor("BONUS", new C_BONUS(KV_VECTOR_D(400, 300, 0, 1)));
  const int horizontal[][2] = {{124, 100}, {524, 200}, {724, 300}, {224, 400}, {624, 500}};
  for (const auto& p : horizontal)
    Core.AddActor("KOLEC_LEWO", new C_KOLEC_LEWO(KV_VECTOR_D(p[0], p[1], 0, 1)));
  const int vertical[][2] = {{100, 333}, {200, 433}, {300, 133}, {400, 333},
                             {500, 33},  {600, 161}, {700, 545}};
  for (const auto& p : vertical)
    Core.AddActor("KOLEC_GORA", new C_KOLEC_GORA(KV_VECTOR_D(p[0], p[1], 0, 1)));
  Core.AddActor("WYRZUTNIA_KOLCOW", new C_WYRZUTNIA_KOLCOW(KV_VECTOR_D(17, 300, 0, 1)));
  Core.AddActor("LASER_PIONOWY", new C_LASER_PIONOWY(KV_VECTOR_D(333, 0, 0, 1)));
  Core.AddActor("LASER_POZIOMY", new C_LASER_POZIOMY(KV_VECTOR_D(0, 333, 0, 1)));
}

// The camera shows the window one pixel for one, as the game state set it up: a window the
// desktop resizes shows the arena unscaled, with more or less room around it.
void CameraFollowsWindow() {
  KV_WINDOW* window = Core.windows.Find(KV_DICTIONARY<KV_WINDOW>::FIND_NAME, "main").Get();
  if (window == nullptr) return;
  Core.camera.width = static_cast<float>(window->width);
  Core.camera.height = static_cast<float>(window->height);
}

}  // namespace

void GameState() {
  KV_WINDOW* window = Core.windows.GetValue("main");
  window->width = kGameWidth;
  window->height = kGameHeight;
  Core.CenterWindow("main", 0);
  Core.windows.GetValue("main")->Apply();
  Core.ActivateWindow("main", 0);
  Core.SetVsync(true);
  Core.camera.width = static_cast<float>(window->width);
  Core.camera.height = static_cast<float>(window->height);

  LoadResources();
  BuildArena();
  KV_LOOP::Instance().Run(GameFrame, 0);
  Core.DestroyAll();
}

void GameFrame(HWND, uintptr_t) {
  // Quitting only ends the loop after this frame, which is still updated, drawn and presented.
  if (KvKeyPressed(VK_ESCAPE)) Core.Quit();
  CameraFollowsWindow();
  Core.camera.Apply();
  Core.Frame();
  KV_STRING score;
  score.Format("Gracz 1: %i \nGracz 2: %i", ScoreGracz, ScoreGracz2);
  Core.fonts.GetValue("fnt_1")->Print(score, KV_VECTOR_D(10, 10, 0, 1), KV_VECTOR_D(1, 1, 1, 1),
                                      KV_VECTOR_D(0, 0, 0, 0));
  KvRenderScene(KV_SCENE_FRAME);
}
