// X11 helpers for the end-to-end tests, on the display in DISPLAY:
//
//   e2e_xtool shot OUT.png [X Y]...  saves the whole screen (what the display really shows)
//                                    as a PNG and prints "X Y RRGGBB" for each point
//   e2e_xtool close WINDOW           asks a window to close as a window manager does
//                                    (WM_DELETE_WINDOW); WINDOW is a decimal or 0x id
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The 8-bit value of a colour channel given its mask.
unsigned Channel(unsigned long pixel, unsigned long mask) {
  if (!mask) return 0;
  while (!(mask & 1)) {
    mask >>= 1;
    pixel >>= 1;
  }
  return unsigned((pixel & mask) * 255 / mask);
}

int Shot(Display* dpy, int argc, char** argv) {
  if (argc < 3 || argc % 2 != 1) {
    std::fprintf(stderr, "usage: e2e_xtool shot OUT.png [X Y]...\n");
    return 2;
  }
  Window root = DefaultRootWindow(dpy);
  XWindowAttributes attrs;
  XGetWindowAttributes(dpy, root, &attrs);
  XImage* img = XGetImage(dpy, root, 0, 0, unsigned(attrs.width), unsigned(attrs.height), AllPlanes, ZPixmap);
  if (!img) {
    std::fprintf(stderr, "e2e_xtool: cannot read the screen\n");
    return 1;
  }
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, attrs.width, attrs.height);
  unsigned char* data = cairo_image_surface_get_data(out);
  int stride = cairo_image_surface_get_stride(out);
  for (int y = 0; y < attrs.height; ++y) {
    auto* row = reinterpret_cast<unsigned*>(data + y * stride);
    for (int x = 0; x < attrs.width; ++x) {
      unsigned long p = XGetPixel(img, x, y);
      row[x] = (Channel(p, img->red_mask) << 16) | (Channel(p, img->green_mask) << 8) | Channel(p, img->blue_mask);
    }
  }
  cairo_surface_mark_dirty(out);
  int rc = cairo_surface_write_to_png(out, argv[2]) == CAIRO_STATUS_SUCCESS ? 0 : 1;
  if (rc) std::fprintf(stderr, "e2e_xtool: cannot write %s\n", argv[2]);
  for (int i = 3; i + 1 < argc; i += 2) {
    int x = std::atoi(argv[i]), y = std::atoi(argv[i + 1]);
    unsigned v = (x >= 0 && y >= 0 && x < attrs.width && y < attrs.height)
                     ? reinterpret_cast<unsigned*>(data + y * stride)[x] & 0xFFFFFF
                     : 0;
    std::printf("%d %d %06X\n", x, y, v);
  }
  cairo_surface_destroy(out);
  XDestroyImage(img);
  return rc;
}

int Close(Display* dpy, int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: e2e_xtool close WINDOW\n");
    return 2;
  }
  Window w = Window(std::strtoul(argv[2], nullptr, 0));
  XEvent ev;
  std::memset(&ev, 0, sizeof ev);
  ev.xclient.type = ClientMessage;
  ev.xclient.window = w;
  ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = long(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
  ev.xclient.data.l[1] = CurrentTime;
  if (!XSendEvent(dpy, w, False, NoEventMask, &ev)) {
    std::fprintf(stderr, "e2e_xtool: cannot send to window %s\n", argv[2]);
    return 1;
  }
  XSync(dpy, False);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: e2e_xtool shot OUT.png [X Y]... | close WINDOW\n");
    return 2;
  }
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) {
    std::fprintf(stderr, "e2e_xtool: cannot open the display\n");
    return 1;
  }
  int rc = 2;
  if (std::strcmp(argv[1], "shot") == 0) rc = Shot(dpy, argc, argv);
  else if (std::strcmp(argv[1], "close") == 0) rc = Close(dpy, argc, argv);
  else std::fprintf(stderr, "e2e_xtool: unknown command %s\n", argv[1]);
  XCloseDisplay(dpy);
  return rc;
}
