// The SDL back end's windows as the desktop's services name them. Apart from
// SdlBackend.cpp because the X headers' macros clash with the window system's names.
#include <SDL.h>
#include <SDL_syswm.h>

#include <cstdio>
#include <string>

// "x11:<hex window id>" for a window on X11; empty elsewhere (the portals of other
// displays name windows through protocols SDL 2 does not offer).
std::string SdlDesktopWindowId(SDL_Window* window) {
  if (!window) return std::string();
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return std::string();
  char id[32];
  std::snprintf(id, sizeof id, "x11:%lx", static_cast<unsigned long>(info.info.x11.window));
  return id;
}
