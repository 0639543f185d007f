// The SDL back end asks whether a window manager runs on the X display: SDL hands a drag
// on the caption or a border to the window manager (_NET_WM_MOVERESIZE), which with none
// running does nothing, so the back end then leaves the press to the window system's own
// moving and sizing loops. A manager compliant with the desktop conventions names its
// check window on the root (_NET_SUPPORTING_WM_CHECK) and on that window itself; a stale
// name left by a manager that has gone does not count. Apart from SdlBackend.cpp because
// the X headers' macros clash with the window system's names; Xlib comes with SDL and is
// called through the library already loaded.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <dlfcn.h>

namespace {

struct TWmXlib {
  void* Lib = nullptr;
  Atom (*InternAtom)(Display*, const char*, Bool) = nullptr;
  int (*GetWindowProperty)(Display*, Window, Atom, long, long, Bool, Atom, Atom*, int*, unsigned long*,
                           unsigned long*, unsigned char**) = nullptr;
  int (*Free)(void*) = nullptr;
  Window (*RootWindowOf)(Display*) = nullptr;

  bool Load() {
    Lib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (!Lib) return false;
    InternAtom = reinterpret_cast<decltype(InternAtom)>(dlsym(Lib, "XInternAtom"));
    GetWindowProperty = reinterpret_cast<decltype(GetWindowProperty)>(dlsym(Lib, "XGetWindowProperty"));
    Free = reinterpret_cast<decltype(Free)>(dlsym(Lib, "XFree"));
    RootWindowOf = reinterpret_cast<decltype(RootWindowOf)>(dlsym(Lib, "XDefaultRootWindow"));
    return InternAtom && GetWindowProperty && Free && RootWindowOf;
  }
  ~TWmXlib() {
    if (Lib) dlclose(Lib);
  }

  // The window named by a WINDOW property of `on`; 0 when there is none (or `on` has gone:
  // the back end's error handler ignores the error).
  Window WindowProperty(Display* d, Window on, Atom name) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, rest = 0;
    unsigned char* data = nullptr;
    Window result = 0;
    if (GetWindowProperty(d, on, name, 0, 1, False, XA_WINDOW, &type, &format, &count, &rest, &data) == Success &&
        data && type == XA_WINDOW && format == 32 && count == 1)
      result = *reinterpret_cast<Window*>(data);
    if (data) Free(data);
    return result;
  }
};

}  // namespace

// True when a window manager runs on the display of `window`, and off X11 (where the
// display server itself moves windows).
bool SdlWindowManagerPresent(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return true;
  TWmXlib x;
  if (!x.Load()) return true;
  Display* d = info.info.x11.display;
  Atom check = x.InternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
  Window named = x.WindowProperty(d, x.RootWindowOf(d), check);
  return named != 0 && x.WindowProperty(d, named, check) == named;
}
