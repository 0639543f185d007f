// The SDL back end's window shapes: a window region given to the X window through the
// shape extension, so that what lies outside the region shows what is beneath. Apart
// from SdlBackend.cpp because the X headers' macros clash with the window system's names.
#include <SDL.h>
#include <SDL_syswm.h>
#include <dlfcn.h>

#include <vector>

// boxes: x, y, width, height of each of count rectangles (window coordinates); count 0
// gives the window back its whole rectangle. Nothing happens off X11.
void SdlSetWindowShape(SDL_Window* window, const int* boxes, int count) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  void* xext = dlopen("libXext.so.6", RTLD_NOW);
  if (!xext) return;
  using TCombineRectangles = void (*)(Display*, Window, int, int, int, XRectangle*, int, int, int);
  using TCombineMask = void (*)(Display*, Window, int, int, int, Pixmap, int);
  constexpr int kShapeBounding = 0, kShapeSet = 0, kUnsorted = 0;
  Display* display = info.info.x11.display;
  Window xwindow = info.info.x11.window;
  if (count > 0) {
    std::vector<XRectangle> rects;
    for (int i = 0; i < count; ++i)
      rects.push_back(XRectangle{short(boxes[4 * i]), short(boxes[4 * i + 1]), (unsigned short)(boxes[4 * i + 2]),
                                 (unsigned short)(boxes[4 * i + 3])});
    if (auto combine = reinterpret_cast<TCombineRectangles>(dlsym(xext, "XShapeCombineRectangles")))
      combine(display, xwindow, kShapeBounding, 0, 0, rects.data(), count, kShapeSet, kUnsorted);
  } else if (auto mask = reinterpret_cast<TCombineMask>(dlsym(xext, "XShapeCombineMask"))) {
    mask(display, xwindow, kShapeBounding, 0, 0, 0, kShapeSet);
  }
  dlclose(xext);
}
