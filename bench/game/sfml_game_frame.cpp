// An SFML 2.5 stand-in of the game's frame, the peer of scripts/bench_game.sh: an 800 x 600
// borderless window cleared each frame, the 176 16 x 16 tiles of the arena's border, 26 more
// 16 x 16 sprites inside it (players, spikes, launchers, the bonus), and two beams 2 pixels wide
// that sweep across, one across and one down, paced by setFramerateLimit(60) as an SFML game is.
// Each sprite is one sf::Sprite draw, as a plain SFML program draws them.
//   game_frame_sfml [seconds]   (runs until closed when no time is given)
#include <SFML/Graphics.hpp>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr unsigned kWidth = 800;
constexpr unsigned kHeight = 600;
constexpr int kTile = 16;
// 50 tiles along the top and the bottom, 38 down each side: 176.
constexpr int kAcross = kWidth / kTile;
constexpr int kDown = 38;
constexpr int kInner = 26;
constexpr float kBeamWidth = 2.0f;
constexpr float kBeamSpeed = 3.0f;  // pixels a frame

// A 16 x 16 tile: a brown brick with a darker edge.
sf::Texture TileTexture() {
  std::vector<uint8_t> pixels(kTile * kTile * 4);
  for (int y = 0; y < kTile; ++y) {
    for (int x = 0; x < kTile; ++x) {
      bool edge = x == 0 || y == 0 || x == kTile - 1 || y == kTile - 1;
      uint8_t* p = &pixels[(y * kTile + x) * 4];
      p[0] = edge ? 90 : 150;
      p[1] = edge ? 50 : 90;
      p[2] = edge ? 20 : 40;
      p[3] = 255;
    }
  }
  sf::Texture texture;
  texture.create(kTile, kTile);
  texture.update(pixels.data());
  return texture;
}

std::vector<sf::Vector2f> BorderPlaces() {
  std::vector<sf::Vector2f> places;
  for (int i = 0; i < kAcross; ++i) {
    places.emplace_back(i * kTile, 0);
    places.emplace_back(i * kTile, kHeight - kTile);
  }
  for (int i = 0; i < kDown; ++i) {
    places.emplace_back(0, i * kTile);
    places.emplace_back(kWidth - kTile, i * kTile);
  }
  return places;
}

std::vector<sf::Vector2f> InnerPlaces() {
  std::vector<sf::Vector2f> places;
  for (int i = 0; i < kInner; ++i) {
    places.emplace_back(48 + (i % 13) * 54, 120 + (i / 13) * 300);
  }
  return places;
}

// Moves a beam's offset along [low, high), turning at both ends.
void Sweep(float& at, float& speed, float low, float high) {
  at += speed;
  if (at < low || at >= high) {
    speed = -speed;
    at += 2 * speed;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const float seconds = argc > 1 ? std::strtof(argv[1], nullptr) : 0.0f;
  sf::RenderWindow window(sf::VideoMode(kWidth, kHeight), "SFML game frame", sf::Style::None);
  window.setFramerateLimit(60);
  // SFML centres its windows, as the game does its own: this one goes to the screen's corner, so
  // that neither covers the other.
  window.setPosition({0, 0});
  const sf::Texture tile = TileTexture();
  sf::Sprite sprite(tile);
  const std::vector<sf::Vector2f> border = BorderPlaces();
  const std::vector<sf::Vector2f> inner = InnerPlaces();
  sf::RectangleShape across({kWidth - 2.0f * kTile, kBeamWidth});
  sf::RectangleShape down({kBeamWidth, kHeight - 2.0f * kTile});
  across.setFillColor(sf::Color::Red);
  down.setFillColor(sf::Color::Red);
  float acrossY = kTile, acrossSpeed = kBeamSpeed, downX = kTile, downSpeed = kBeamSpeed;
  sf::Clock clock;
  while (window.isOpen() && (seconds <= 0 || clock.getElapsedTime().asSeconds() < seconds)) {
    sf::Event event;
    while (window.pollEvent(event)) {
      if (event.type == sf::Event::Closed) window.close();
    }
    Sweep(acrossY, acrossSpeed, kTile, kHeight - kTile);
    Sweep(downX, downSpeed, kTile, kWidth - kTile);
    across.setPosition(kTile, acrossY);
    down.setPosition(downX, kTile);
    window.clear();
    for (const sf::Vector2f& place : border) {
      sprite.setPosition(place);
      window.draw(sprite);
    }
    for (const sf::Vector2f& place : inner) {
      sprite.setPosition(place);
      window.draw(sprite);
    }
    window.draw(across);
    window.draw(down);
    window.display();
  }
  return 0;
}
