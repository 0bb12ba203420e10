// Layered windows on X: the compositor and alpha-visual questions, picture uploads and shapes.
// A compositing manager shows the pixels of a window whose visual has an alpha channel blended,
// premultiplied, over what lies beneath; without one such a window shows its colour on black, as
// a window on the usual visual does, but GL cannot draw on it. So the alpha visual is given only
// where a compositor runs, and to a window on the usual visual when one starts later
// (x_compositor.h). The Shape extension cuts a window to a mask on any X server, composited or
// not.
#include "platform/display/x_layered.h"

#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <cstring>
#include <map>
#include <string>

#include "platform/display/x_compositor.h"
#include "platform/display/x_desktop.h"

namespace platform {
namespace {

// What the uploads to one window keep between frames.
struct PictureWindow {
  GC gc = nullptr;
  Visual* visual = nullptr;
  int depth = 0;
};

std::map<SDL_Window*, PictureWindow>& PictureWindows() {
  static std::map<SDL_Window*, PictureWindow> windows;
  return windows;
}

// SDL's own connection and the X window behind an SDL window; false off X.
bool XWindowOf(SDL_Window* window, Display** display, Window* xwindow) {
  if (window == nullptr) return false;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  *display = info.info.x11.display;
  *xwindow = info.info.x11.window;
  return true;
}

bool HasCompositor(Display* display, int screen) {
  std::string name = "_NET_WM_CM_S" + std::to_string(screen);
  Atom selection = XInternAtom(display, name.c_str(), False);
  return selection != None && XGetSelectionOwner(display, selection) != None;
}

// A 32-bit TrueColor visual whose colour takes the low 24 bits, as 8 bits each of red, green
// and blue: the top byte is then alpha (the visual the Composite extension adds for this).
unsigned long FindAlphaVisual(Display* display, int screen) {
  XVisualInfo wanted;
  std::memset(&wanted, 0, sizeof wanted);
  wanted.screen = screen;
  wanted.depth = 32;
  wanted.c_class = TrueColor;
  int count = 0;
  XVisualInfo* found = XGetVisualInfo(display, VisualScreenMask | VisualDepthMask | VisualClassMask,
                                      &wanted, &count);
  unsigned long id = 0;
  for (int i = 0; i < count && id == 0; ++i) {
    if (found[i].red_mask == 0xff0000 && found[i].green_mask == 0xff00 &&
        found[i].blue_mask == 0xff) {
      id = found[i].visualid;
    }
  }
  if (found != nullptr) XFree(found);
  return id;
}

PictureWindow* PictureWindowOf(SDL_Window* window, Display* display, Window xwindow) {
  auto& windows = PictureWindows();
  auto known = windows.find(window);
  if (known != windows.end()) return &known->second;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, xwindow, &attributes) || attributes.depth != 32)
    return nullptr;
  PictureWindow entry;
  entry.gc = XCreateGC(display, xwindow, 0, nullptr);
  entry.visual = attributes.visual;
  entry.depth = attributes.depth;
  return &windows.emplace(window, entry).first->second;
}

// An image over the caller's pixels, in the byte order they are in (blue first in memory).
bool DescribePixels(XImage& image, const PictureWindow& target, const uint8_t* pixels, int w,
                    int h) {
  std::memset(&image, 0, sizeof image);
  image.width = w;
  image.height = h;
  image.format = ZPixmap;
  image.data = reinterpret_cast<char*>(const_cast<uint8_t*>(pixels));
  image.byte_order = LSBFirst;
  image.bitmap_unit = 32;
  image.bitmap_bit_order = LSBFirst;
  image.bitmap_pad = 32;
  image.depth = target.depth;
  image.bytes_per_line = w * 4;
  image.bits_per_pixel = 32;
  image.red_mask = target.visual->red_mask;
  image.green_mask = target.visual->green_mask;
  image.blue_mask = target.visual->blue_mask;
  return XInitImage(&image) != 0;
}

}  // namespace

bool X11Video() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver != nullptr && std::strcmp(driver, "x11") == 0;
}

unsigned long AlphaVisualForNewWindow() {
  if (!X11Video()) return 0;
  // The watch is in place at the server before the question, so a compositor that takes the
  // selection after the answer is seen (x_compositor.h). The window does not exist yet, and
  // visual ids hold for every connection to the server: the desktop connection answers.
  WatchCompositor();
  Display* display = DesktopDisplay();
  if (display == nullptr) return 0;
  int screen = DefaultScreen(display);
  return HasCompositor(display, screen) ? FindAlphaVisual(display, screen) : 0;
}

bool CompositorFollowed() {
  if (!X11Video() || !WatchCompositor()) return false;
  Display* display = DesktopDisplay();
  return FindAlphaVisual(display, DefaultScreen(display)) != 0;
}

bool CompositorRuns(SDL_Window* window) {
  Display* display = nullptr;
  Window xwindow = 0;
  if (!XWindowOf(window, &display, &xwindow)) return false;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, xwindow, &attributes)) return false;
  return HasCompositor(display, XScreenNumberOfScreen(attributes.screen));
}

bool PutWindowPicture(SDL_Window* window, const uint8_t* pixels, int w, int h) {
  Display* display = nullptr;
  Window xwindow = 0;
  if (pixels == nullptr || w <= 0 || h <= 0 || !XWindowOf(window, &display, &xwindow)) {
    return false;
  }
  PictureWindow* target = PictureWindowOf(window, display, xwindow);
  XImage image;
  if (target == nullptr || !DescribePixels(image, *target, pixels, w, h)) return false;
  // Xlib splits an image larger than one request into several.
  XPutImage(display, xwindow, target->gc, &image, 0, 0, 0, 0, static_cast<unsigned>(w),
            static_cast<unsigned>(h));
  XFlush(display);
  return true;
}

void SetWindowShape(SDL_Window* window, const uint8_t* mask, int w, int h) {
  Display* display = nullptr;
  Window xwindow = 0;
  if (!XWindowOf(window, &display, &xwindow)) return;
  int eventBase = 0, errorBase = 0;
  if (!XShapeQueryExtension(display, &eventBase, &errorBase)) return;
  if (mask == nullptr || w <= 0 || h <= 0) {
    XShapeCombineMask(display, xwindow, ShapeBounding, 0, 0, None, ShapeSet);
  } else {
    Pixmap bitmap = XCreateBitmapFromData(display, xwindow, reinterpret_cast<const char*>(mask),
                                          static_cast<unsigned>(w), static_cast<unsigned>(h));
    XShapeCombineMask(display, xwindow, ShapeBounding, 0, 0, bitmap, ShapeSet);
    XFreePixmap(display, bitmap);
  }
  XFlush(display);
}

void ForgetWindowPictures(SDL_Window* window) {
  auto& windows = PictureWindows();
  auto known = windows.find(window);
  if (known == windows.end()) return;
  Display* display = nullptr;
  Window xwindow = 0;
  if (XWindowOf(window, &display, &xwindow)) XFreeGC(display, known->second.gc);
  windows.erase(known);
}

}  // namespace platform
