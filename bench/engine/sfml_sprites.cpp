// The SFML renderers of the sprite bench. Both draw into a hidden 800 x 600 sf::RenderWindow with
// the scene's texture (not smoothed: nearest texels, as the other renderers sample it), clear to
// transparent black, blend with SFML's default alpha blending, read one pixel back with
// glReadPixels and present with display().
#include "bench/engine/sfml_sprites.h"

#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>

#include <SFML/Graphics.hpp>
#include <SFML/OpenGL.hpp>

namespace sprites_bench {

namespace {

class SfmlWindow : public Renderer {
 public:
  SfmlWindow() {
    window_.create(sf::VideoMode(kWidth, kHeight), "SFML sprites", sf::Style::None);
    window_.setVisible(false);
    window_.setVerticalSyncEnabled(false);
    texture_.create(kSide, kSide);
    texture_.update(SpritePixels().data());
    texture_.setSmooth(false);
  }

  // SFML and SDL each remember which context they made current, and neither sees the other's
  // change: SFML's is released and taken again for real, and SDL is told that nothing is current.
  void Activate() override {
    window_.setActive(false);
    window_.setActive(true);
  }

  void Deactivate() override {
    window_.setActive(false);
    SDL_GL_MakeCurrent(nullptr, nullptr);
  }

  void Frame(const std::vector<Placement>& placements) override {
    window_.clear(sf::Color::Transparent);
    Draw(placements);
    uint8_t pixel[4];
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    benchmark::DoNotOptimize(pixel);
    window_.display();
  }

 protected:
  virtual void Draw(const std::vector<Placement>& placements) = 0;

  sf::RenderWindow window_;
  sf::Texture texture_;
};

// One draw per sprite: SFML transforms a sprite's four vertices on the CPU and draws them as one
// triangle strip.
class SfmlSprites : public SfmlWindow {
 public:
  SfmlSprites() : sprite_(texture_) { sprite_.setOrigin(kSide / 2.0f, kSide / 2.0f); }

 private:
  void Draw(const std::vector<Placement>& placements) override {
    for (const Placement& p : placements) {
      sprite_.setPosition(p.x, p.y);
      sprite_.setRotation(p.angle);
      window_.draw(sprite_);
    }
  }

  sf::Sprite sprite_;
};

// One draw a frame: every sprite's quad is placed into one vertex array (texture coordinates set
// once), then the array is drawn with the texture. Quads, as SFML 2.5's own examples build such
// arrays: four vertices a sprite, where separate triangles take six (on llvmpipe, six vertices a
// sprite cost the submitting thread more than four).
class SfmlVertexArray : public SfmlWindow {
 private:
  void Draw(const std::vector<Placement>& placements) override {
    static const sf::Vector2f kCorners[4] = {{0, 0}, {kSide, 0}, {kSide, kSide}, {0, kSide}};
    if (vertices_.getVertexCount() != placements.size() * 4) {
      vertices_.setPrimitiveType(sf::Quads);
      vertices_.resize(placements.size() * 4);
      for (size_t i = 0; i < vertices_.getVertexCount(); ++i) {
        vertices_[i].texCoords = kCorners[i % 4];
      }
    }
    for (size_t i = 0; i < placements.size(); ++i) {
      const Placement& p = placements[i];
      sf::Transform transform;
      transform.translate(p.x, p.y).rotate(p.angle).translate(-kSide / 2.0f, -kSide / 2.0f);
      for (int k = 0; k < 4; ++k) {
        vertices_[4 * i + k].position = transform.transformPoint(kCorners[k]);
      }
    }
    window_.draw(vertices_, &texture_);
  }

  sf::VertexArray vertices_;
};

}  // namespace

std::unique_ptr<Renderer> MakeSfmlSprites() { return std::make_unique<SfmlSprites>(); }
std::unique_ptr<Renderer> MakeSfmlVertexArray() { return std::make_unique<SfmlVertexArray>(); }

}  // namespace sprites_bench
