// Tray icon windows' visuals and pictures. Without an alpha channel only what is mostly opaque
// is drawn (through a clip mask), over the panel's own background (ParentRelative): the pixels
// beneath an icon cannot be read to blend its edges with.
#include "platform/display/x_tray_image.h"

#include <X11/Xutil.h>

#include <cstdlib>
#include <vector>

#include "platform/shell/tray_picture.h"

namespace platform {
namespace {

constexpr uint8_t kMostlyOpaque = 128;

// A colour channel's 8-bit value placed in the bits of its mask.
unsigned long Channel(unsigned value, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = __builtin_ctzl(mask);
  unsigned long top = mask >> shift;
  return ((value * top + 127) / 255 << shift) & mask;
}

// The visual's pixel for a premultiplied pixel: as it is where there is an alpha channel,
// else its colour without the alpha.
unsigned long PixelOf(const Visual& visual, const IconLook& look, const uint8_t* rgba) {
  unsigned alpha = rgba[3];
  unsigned rgb[3] = {rgba[0], rgba[1], rgba[2]};
  if (!look.alpha && alpha != 0) {
    for (unsigned& c : rgb) c = (c * 255 + alpha / 2) / alpha;
  }
  unsigned long pixel = Channel(rgb[0], visual.red_mask) | Channel(rgb[1], visual.green_mask) |
                        Channel(rgb[2], visual.blue_mask);
  if (look.alpha) {
    unsigned long alphaMask =
        0xFFFFFFFFul & ~(visual.red_mask | visual.green_mask | visual.blue_mask);
    pixel |= Channel(alpha, alphaMask);
  }
  return pixel;
}

// One bit per pixel, set where the picture is mostly opaque; rows padded to whole bytes, the
// first pixel in the lowest bit, as XCreateBitmapFromData takes them.
std::vector<char> OpaqueBits(const TrayPicture& picture) {
  int rowBytes = (picture.width + 7) / 8;
  std::vector<char> bits(size_t(rowBytes) * picture.height, 0);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (picture.rgba[(size_t(y) * picture.width + x) * 4 + 3] >= kMostlyOpaque)
        bits[size_t(y) * rowBytes + x / 8] |= static_cast<char>(1 << (x % 8));
    }
  }
  return bits;
}

XImage* ImageOf(Display* display, const IconLook& look, const TrayPicture& picture) {
  Visual* visual = look.visual ? look.visual : DefaultVisual(display, DefaultScreen(display));
  int depth = look.visual ? look.depth : DefaultDepth(display, DefaultScreen(display));
  XImage* image = XCreateImage(display, visual, depth, ZPixmap, 0, nullptr, picture.width,
                               picture.height, 32, 0);
  if (image == nullptr) return nullptr;
  // XDestroyImage frees the pixels with free().
  image->data = static_cast<char*>(std::malloc(size_t(image->bytes_per_line) * picture.height));
  if (image->data == nullptr) {
    XDestroyImage(image);
    return nullptr;
  }
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const uint8_t* rgba = picture.rgba.data() + (size_t(y) * picture.width + x) * 4;
      XPutPixel(image, x, y, PixelOf(*visual, look, rgba));
    }
  }
  return image;
}

}  // namespace

IconLook IconLookFor(Display* display, VisualID hostVisual) {
  IconLook look;
  if (hostVisual == 0) return look;
  XVisualInfo wanted{};
  wanted.visualid = hostVisual;
  int count = 0;
  XVisualInfo* found = XGetVisualInfo(display, VisualIDMask, &wanted, &count);
  if (found == nullptr) return look;
  if (found->c_class == TrueColor) {
    look.visual = found->visual;
    look.depth = found->depth;
    look.alpha = found->depth == 32;
    look.colormap = XCreateColormap(display, DefaultRootWindow(display), look.visual, AllocNone);
  }
  XFree(found);
  return look;
}

void FreeIconLook(Display* display, IconLook& look) {
  if (look.colormap != None) XFreeColormap(display, look.colormap);
  look = IconLook{};
}

Window CreateIconLookWindow(Display* display, Window parent, const IconLook& look, int size,
                            long mask) {
  XSetWindowAttributes attributes{};
  attributes.event_mask = mask;
  unsigned long valueMask = CWEventMask;
  if (look.visual == nullptr) {
    // The panel's background shows through wherever the icon draws nothing.
    attributes.background_pixmap = ParentRelative;
    valueMask |= CWBackPixmap;
    return XCreateWindow(display, parent, 0, 0, size, size, 0, CopyFromParent, InputOutput,
                         CopyFromParent, valueMask, &attributes);
  }
  // A visual other than the parent's needs a colour map and border of its own.
  attributes.background_pixel = 0;
  attributes.border_pixel = 0;
  attributes.colormap = look.colormap;
  valueMask |= CWBackPixel | CWBorderPixel | CWColormap;
  return XCreateWindow(display, parent, 0, 0, size, size, 0, look.depth, InputOutput, look.visual,
                       valueMask, &attributes);
}

void DrawTrayIcon(Display* display, Window window, const IconLook& look, HICON icon, int width,
                  int height) {
  TrayPicture picture = TrayPictureOf(icon, width, height);
  XImage* image = picture.rgba.empty() ? nullptr : ImageOf(display, look, picture);
  if (image == nullptr) return;
  GC gc = XCreateGC(display, window, 0, nullptr);
  Pixmap mask = None;
  if (!look.alpha) {
    XClearWindow(display, window);
    std::vector<char> bits = OpaqueBits(picture);
    mask = XCreateBitmapFromData(display, window, bits.data(), width, height);
    XSetClipMask(display, gc, mask);
  }
  XPutImage(display, window, gc, image, 0, 0, 0, 0, width, height);
  if (mask != None) XFreePixmap(display, mask);
  XFreeGC(display, gc);
  XDestroyImage(image);
}

}  // namespace platform
