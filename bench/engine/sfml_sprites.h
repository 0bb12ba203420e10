// The scene through SFML 2.5's graphics module, in two ways an SFML program draws many sprites:
// one sf::Sprite draw per sprite, and one sf::VertexArray a frame whose quads are placed with an
// sf::Transform per sprite. SFML draws into an X window, so these need an X display (DISPLAY).
#pragma once

#include <memory>

#include "bench/engine/sprite_scene.h"

namespace sprites_bench {

// True when an X display can be opened (SFML's windows need one).
bool SfmlAvailable();
// A renderer drawing one sf::Sprite per sprite.
std::unique_ptr<Renderer> MakeSfmlSprites();
// A renderer drawing every sprite's quad in one sf::VertexArray a frame.
std::unique_ptr<Renderer> MakeSfmlVertexArray();

}  // namespace sprites_bench
