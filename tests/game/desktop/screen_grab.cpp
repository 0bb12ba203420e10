// screen_grab: writes what an X server shows in a rectangle of its root window as a binary PPM
// (P6) file, so that a test can read the screen back the way a person sees it.
//   screen_grab OUT.ppm [X Y WIDTH HEIGHT]
// Without a rectangle the whole screen is read. DISPLAY names the server. Exit code 0 on
// success, 1 when the display cannot be opened or the rectangle is not on the screen.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The 8-bit value of a colour channel given its mask in a true-colour pixel.
unsigned char Channel(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  unsigned long bits = mask >> shift;
  unsigned long value = (pixel & mask) >> shift;
  return static_cast<unsigned char>(value * 255 / bits);
}

bool WritePpm(const char* path, XImage* image, int width, int height) {
  std::vector<unsigned char> rgb;
  rgb.reserve(static_cast<size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      unsigned long pixel = XGetPixel(image, x, y);
      rgb.push_back(Channel(pixel, image->red_mask));
      rgb.push_back(Channel(pixel, image->green_mask));
      rgb.push_back(Channel(pixel, image->blue_mask));
    }
  }
  FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  std::fprintf(file, "P6\n%d %d\n255\n", width, height);
  bool written = std::fwrite(rgb.data(), 1, rgb.size(), file) == rgb.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 6) {
    std::fprintf(stderr, "usage: screen_grab OUT.ppm [X Y WIDTH HEIGHT]\n");
    return 1;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "screen_grab: cannot open the display\n");
    return 1;
  }
  Window root = DefaultRootWindow(display);
  int screen = DefaultScreen(display);
  int x = 0, y = 0;
  int width = DisplayWidth(display, screen), height = DisplayHeight(display, screen);
  if (argc == 6) {
    x = std::atoi(argv[2]);
    y = std::atoi(argv[3]);
    width = std::atoi(argv[4]);
    height = std::atoi(argv[5]);
  }
  XImage* image = nullptr;
  if (width > 0 && height > 0) {
    image = XGetImage(display, root, x, y, static_cast<unsigned>(width),
                      static_cast<unsigned>(height), AllPlanes, ZPixmap);
  }
  if (image == nullptr) {
    std::fprintf(stderr, "screen_grab: the rectangle is not on the screen\n");
    XCloseDisplay(display);
    return 1;
  }
  bool written = WritePpm(argv[1], image, width, height);
  XDestroyImage(image);
  XCloseDisplay(display);
  return written ? 0 : 1;
}
