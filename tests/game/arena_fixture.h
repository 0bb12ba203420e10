// Shared set-up of the game classes' own tests: no window and no textures, only the central
// object with its named sprites given the sizes of the game's textures, and helpers that place
// actors, make them live and run their Update directly.
#pragma once

#include <gtest/gtest.h>

#include "app/input.h"
#include "core/core.h"
#include "graphics/sprite.h"

class ArenaTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Adds the actor under group and makes it live at once (as the end of a frame does).
  template <class T>
  static T* Place(const char* group, double x, double y) {
    T* actor = new T(KV_VECTOR_D(x, y, 0, 1));
    Core.AddActor(group, actor);
    Core.CommitActors();
    return actor;
  }
  // A wall tile at (x, y), live.
  static KvCore::KV_ACTOR2D* Wall(double x, double y);
  // Holds exactly the keys given (virtual-key codes), letting go of all others.
  static void Hold(std::initializer_list<unsigned int> keys);
  // The frame texture id a named sprite was given here, to tell which sprite an actor shows.
  static uint32_t Marker(const char* sprite);
  // The id of the frame an actor's sprite shows; 0 for none.
  static uint32_t Shown(const KvCore::KV_ACTOR2D* actor);
  // Number of pending and of live actors.
  static int PendingCount();
  static int LiveCount();
};
