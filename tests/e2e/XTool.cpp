// X11 helpers for the end-to-end tests, on the display in DISPLAY:
//
//   e2e_xtool shot OUT.png [X Y]...  saves the whole screen (what the display really shows)
//                                    as a PNG and prints "X Y RRGGBB" for each point
//   e2e_xtool close WINDOW           asks a window to close as a window manager does
//                                    (WM_DELETE_WINDOW); WINDOW is a decimal or 0x id
//   e2e_xtool paste TARGET           asks the clipboard's owner for TARGET and prints the
//                                    answer's type name, a line break and its bytes (atom
//                                    lists as names separated by spaces)
//   e2e_xtool panel HEIGHT           maps a dock along the screen's bottom that reserves
//                                    HEIGHT pixels of it (a task bar); prints "mapped" and
//                                    stays until ended
//   e2e_xtool offer-latin1 TEXT      owns the clipboard offering TEXT (given in UTF-8) only
//                                    as STRING, the old Latin-1 target; prints "owned" and
//                                    answers until another program takes the clipboard
//                                    (at most 60 s)
//   e2e_xtool keys TEXT              binds each Cyrillic letter of TEXT (given in UTF-8),
//                                    small and capital on one key, to a key that has no
//                                    symbols, as a Russian layout would, so that xdotool
//                                    finds them in the keyboard map instead of remapping a
//                                    key for every letter; prints "bound N"
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

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

// Waits for an event of a type on a window (5 s at most).
bool WaitEvent(Display* dpy, Window w, int type, XEvent* ev) {
  for (int i = 0; i < 2500; ++i) {
    if (XCheckTypedWindowEvent(dpy, w, type, ev)) return true;
    struct timespec ts{0, 2000000};
    nanosleep(&ts, nullptr);
  }
  return false;
}

int Paste(Display* dpy, int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: e2e_xtool paste TARGET\n");
    return 2;
  }
  Window w = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
  Atom clipboard = XInternAtom(dpy, "CLIPBOARD", False), prop = XInternAtom(dpy, "E2E_PASTE", False);
  XConvertSelection(dpy, clipboard, XInternAtom(dpy, argv[2], False), prop, w, CurrentTime);
  XFlush(dpy);
  XEvent ev;
  if (!WaitEvent(dpy, w, SelectionNotify, &ev)) {
    std::fprintf(stderr, "e2e_xtool: the clipboard's owner did not answer\n");
    return 1;
  }
  if (ev.xselection.property == None) {
    std::printf("None\n");
    return 0;
  }
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  XGetWindowProperty(dpy, w, prop, 0, 1 << 24, True, AnyPropertyType, &type, &format, &count, &after, &data);
  char* typeName = type ? XGetAtomName(dpy, type) : nullptr;
  std::printf("%s\n", typeName ? typeName : "None");
  if (typeName) XFree(typeName);
  if (data && format == 32 && type == XA_ATOM) {
    auto* atoms = reinterpret_cast<Atom*>(data);
    for (unsigned long i = 0; i < count; ++i) {
      char* n = XGetAtomName(dpy, atoms[i]);
      std::printf(i ? " %s" : "%s", n ? n : "?");
      if (n) XFree(n);
    }
  } else if (data && format == 8) {
    std::fwrite(data, 1, count, stdout);
  }
  if (data) XFree(data);
  return 0;
}

int OfferLatin1(Display* dpy, int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: e2e_xtool offer-latin1 TEXT\n");
    return 2;
  }
  // UTF-8 to Latin-1 (characters outside it are not expected here).
  std::string in = argv[2], text;
  for (size_t i = 0; i < in.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(in[i]);
    if (c >= 0xC2 && c <= 0xC3 && i + 1 < in.size()) text += char(((c & 0x1F) << 6) | (in[++i] & 0x3F));
    else text += char(c);
  }
  Window w = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
  Atom clipboard = XInternAtom(dpy, "CLIPBOARD", False), targets = XInternAtom(dpy, "TARGETS", False);
  XSetSelectionOwner(dpy, clipboard, w, CurrentTime);
  if (XGetSelectionOwner(dpy, clipboard) != w) {
    std::fprintf(stderr, "e2e_xtool: cannot own the clipboard\n");
    return 1;
  }
  std::printf("owned\n");
  std::fflush(stdout);
  for (int i = 0; i < 30000; ++i) {
    XEvent ev;
    if (XCheckTypedWindowEvent(dpy, w, SelectionClear, &ev)) return 0;
    if (XCheckTypedWindowEvent(dpy, w, SelectionRequest, &ev)) {
      const XSelectionRequestEvent& req = ev.xselectionrequest;
      XEvent reply;
      std::memset(&reply, 0, sizeof reply);
      reply.xselection.type = SelectionNotify;
      reply.xselection.requestor = req.requestor;
      reply.xselection.selection = req.selection;
      reply.xselection.target = req.target;
      reply.xselection.time = req.time;
      reply.xselection.property = None;
      if (req.target == targets) {
        Atom list[] = {targets, XA_STRING};
        XChangeProperty(dpy, req.requestor, req.property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(list), 2);
        reply.xselection.property = req.property;
      } else if (req.target == XA_STRING) {
        XChangeProperty(dpy, req.requestor, req.property, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(text.data()), int(text.size()));
        reply.xselection.property = req.property;
      }
      XSendEvent(dpy, req.requestor, False, 0, &reply);
      XFlush(dpy);
      continue;
    }
    struct timespec ts{0, 2000000};
    nanosleep(&ts, nullptr);
  }
  return 0;
}

int Panel(Display* dpy, int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: e2e_xtool panel HEIGHT\n");
    return 2;
  }
  long h = std::atol(argv[2]);
  int screen = DefaultScreen(dpy);
  long sw = DisplayWidth(dpy, screen), sh = DisplayHeight(dpy, screen);
  Window w = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, int(sh - h), unsigned(sw), unsigned(h), 0, 0,
                                 0x404040);
  Atom type = XInternAtom(dpy, "_NET_WM_WINDOW_TYPE", False), dock = XInternAtom(dpy, "_NET_WM_WINDOW_TYPE_DOCK", False);
  XChangeProperty(dpy, w, type, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&dock), 1);
  long strut[12] = {0, 0, 0, h, 0, 0, 0, 0, 0, 0, 0, sw - 1};
  XChangeProperty(dpy, w, XInternAtom(dpy, "_NET_WM_STRUT_PARTIAL", False), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(strut), 12);
  XChangeProperty(dpy, w, XInternAtom(dpy, "_NET_WM_STRUT", False), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(strut), 4);
  XSizeHints hints;
  std::memset(&hints, 0, sizeof hints);
  hints.flags = USPosition | PPosition | USSize | PSize;
  hints.x = 0;
  hints.y = int(sh - h);
  hints.width = int(sw);
  hints.height = int(h);
  XSetWMNormalHints(dpy, w, &hints);
  XMapWindow(dpy, w);
  XSync(dpy, False);
  std::printf("mapped\n");
  std::fflush(stdout);
  for (;;) {
    XEvent ev;
    XNextEvent(dpy, &ev);
  }
}

// The X keysyms of the Cyrillic letters: the small ones from 0x6C0 and the capitals from
// 0x6E0, both in this order; ё and Ё apart.
constexpr char32_t kCyrillicOrder[] = U"юабцдефгхийклмнопярстужвьызшэщчъ";

// The small and capital keysym of a Cyrillic letter given either way; false for others.
bool CyrillicKeysyms(char32_t c, KeySym* small, KeySym* capital) {
  if (c == U'ё' || c == U'Ё') {
    *small = 0x6A3;
    *capital = 0x6B3;
    return true;
  }
  char32_t lower = c >= U'А' && c <= U'Я' ? c + 0x20 : c;
  for (int i = 0; kCyrillicOrder[i]; ++i)
    if (kCyrillicOrder[i] == lower) {
      *small = KeySym(0x6C0 + i);
      *capital = KeySym(0x6E0 + i);
      return true;
    }
  return false;
}

int BindKeys(Display* dpy, int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: e2e_xtool keys TEXT\n");
    return 2;
  }
  std::u32string letters;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(argv[2]); *p;) {
    char32_t c = *p;
    int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    c &= more ? (0x3F >> more) : 0x7F;
    ++p;
    for (; more && (*p & 0xC0) == 0x80; --more, ++p) c = (c << 6) | (*p & 0x3F);
    letters += c;
  }
  int low, high, per;
  XDisplayKeycodes(dpy, &low, &high);
  KeySym* map = XGetKeyboardMapping(dpy, KeyCode(low), high - low + 1, &per);
  auto bound = [&](KeySym k) {
    for (int i = 0; i < (high - low + 1) * per; ++i)
      if (map[i] == k) return true;
    return false;
  };
  int code = high, count = 0;
  for (char32_t c : letters) {
    KeySym small, capital;
    if (!CyrillicKeysyms(c, &small, &capital) || bound(small)) continue;
    auto unused = [&](int k) {
      for (int j = 0; j < per; ++j)
        if (map[(k - low) * per + j] != NoSymbol) return false;
      return true;
    };
    while (code >= low && !unused(code)) --code;
    if (code < low) {
      std::fprintf(stderr, "e2e_xtool: no free key left\n");
      XFree(map);
      return 1;
    }
    KeySym syms[2] = {small, capital};
    XChangeKeyboardMapping(dpy, code, 2, syms, 1);
    map[(code - low) * per] = small;  // taken from now on
    if (per > 1) map[(code - low) * per + 1] = capital;
    --code;
    ++count;
  }
  XFree(map);
  XSync(dpy, False);
  std::printf("bound %d\n", count);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: e2e_xtool shot OUT.png [X Y]... | close WINDOW | paste TARGET | offer-latin1 TEXT | keys TEXT\n");
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
  else if (std::strcmp(argv[1], "panel") == 0) rc = Panel(dpy, argc, argv);
  else if (std::strcmp(argv[1], "paste") == 0) rc = Paste(dpy, argc, argv);
  else if (std::strcmp(argv[1], "offer-latin1") == 0) rc = OfferLatin1(dpy, argc, argv);
  else if (std::strcmp(argv[1], "keys") == 0) rc = BindKeys(dpy, argc, argv);
  else std::fprintf(stderr, "e2e_xtool: unknown command %s\n", argv[1]);
  XCloseDisplay(dpy);
  return rc;
}
