// The SDL back end's clipboard on X11. SDL offers our text to other programs only as
// UTF8_STRING (and the text/plain names) and asks for nothing else, so a program that
// speaks only the older STRING target (Latin-1) could neither paste our text nor give us
// its own. Here the back end owns the CLIPBOARD selection itself, through a small window of
// its own on SDL's display connection, and answers TARGETS, UTF8_STRING, STRING, TEXT,
// text/plain and text/plain;charset=utf-8; reading asks for UTF8_STRING first and STRING
// when the owner has no UTF-8. The requests reach us as SDL's window-system events (SDL
// hands every X event over before handling it and ignores those of windows it does not
// know), so the program's usual wait wakes for them.
//
// Apart from SdlBackend.cpp because the X headers' macros clash with the window system's
// names; Xlib comes with SDL and is called through the library already loaded.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <dlfcn.h>

#include <climits>
#include <string>
#include <type_traits>

#include "platform/rtl/CodePage.h"

namespace {

// The Xlib calls used here, looked up in the library SDL has loaded.
struct TXlib {
  void* Lib = nullptr;
  Atom (*InternAtom)(Display*, const char*, Bool) = nullptr;
  Window (*CreateSimpleWindow)(Display*, Window, int, int, unsigned, unsigned, unsigned, unsigned long,
                               unsigned long) = nullptr;
  int (*DestroyWindow)(Display*, Window) = nullptr;
  int (*SelectInput)(Display*, Window, long) = nullptr;
  int (*SetSelectionOwner)(Display*, Atom, Window, Time) = nullptr;
  Window (*GetSelectionOwner)(Display*, Atom) = nullptr;
  int (*ConvertSelection)(Display*, Atom, Atom, Atom, Window, Time) = nullptr;
  int (*ChangeProperty)(Display*, Window, Atom, Atom, int, int, const unsigned char*, int) = nullptr;
  int (*GetWindowProperty)(Display*, Window, Atom, long, long, Bool, Atom, Atom*, int*, unsigned long*,
                           unsigned long*, unsigned char**) = nullptr;
  int (*DeleteProperty)(Display*, Window, Atom) = nullptr;
  Status (*SendEvent)(Display*, Window, Bool, long, XEvent*) = nullptr;
  Bool (*CheckTypedWindowEvent)(Display*, Window, int, XEvent*) = nullptr;
  int (*Flush)(Display*) = nullptr;
  int (*Free)(void*) = nullptr;
  long (*ExtendedMaxRequestSize)(Display*) = nullptr;
  long (*MaxRequestSize)(Display*) = nullptr;

  bool Load() {
    Lib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (!Lib) return false;
    bool ok = true;
    auto get = [&](auto& fn, const char* name) {
      fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(Lib, name));
      if (!fn) ok = false;
    };
    get(InternAtom, "XInternAtom");
    get(CreateSimpleWindow, "XCreateSimpleWindow");
    get(DestroyWindow, "XDestroyWindow");
    get(SelectInput, "XSelectInput");
    get(SetSelectionOwner, "XSetSelectionOwner");
    get(GetSelectionOwner, "XGetSelectionOwner");
    get(ConvertSelection, "XConvertSelection");
    get(ChangeProperty, "XChangeProperty");
    get(GetWindowProperty, "XGetWindowProperty");
    get(DeleteProperty, "XDeleteProperty");
    get(SendEvent, "XSendEvent");
    get(CheckTypedWindowEvent, "XCheckTypedWindowEvent");
    get(Flush, "XFlush");
    get(Free, "XFree");
    get(ExtendedMaxRequestSize, "XExtendedMaxRequestSize");
    get(MaxRequestSize, "XMaxRequestSize");
    return ok;
  }
  ~TXlib() {
    if (Lib) dlclose(Lib);
  }
};

// How long a reader waits for the owner's answer (and for each part of a long one).
constexpr Uint32 kReplyWaitMs = 2000;
// The most text a paste takes in parts from another program.
constexpr size_t kMaxPastedBytes = size_t(64) << 20;

}  // namespace

// UTF-8 as Latin-1 (the STRING target): code points past U+00FF become '?'.
std::string Utf8ToLatin1(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  size_t pos = 0;
  while (pos < s.size()) {
    char32_t c = Utf8Next(s, pos);
    out += c <= 0xFF ? char(c) : '?';
  }
  return out;
}

std::string Latin1ToUtf8(const std::string& s) {
  std::string out;
  out.reserve(s.size() + s.size() / 4);
  for (unsigned char c : s) Utf8Append(out, c);
  return out;
}

struct TXClipboard {
  TXlib X;
  Display* D = nullptr;
  Window Win = 0;
  Atom Clipboard = 0, Targets = 0, Utf8 = 0, Text = 0, Plain = 0, PlainUtf8 = 0, Incr = 0, Property = 0;
  bool Owned = false;
  std::string Held;  // the text we offer while we own the selection (LF line breaks)

  // The largest property one request may carry, in bytes (less room for the request).
  size_t MaxBytes() const {
    long units = X.ExtendedMaxRequestSize(D);
    if (units <= 0) units = X.MaxRequestSize(D);
    return units > 64 ? size_t(units - 64) * 4 : 0;
  }

  // Waits for an event of a type on our window; false after the timeout.
  bool WaitFor(int type, XEvent* ev) {
    Uint32 start = SDL_GetTicks();
    for (;;) {
      if (X.CheckTypedWindowEvent(D, Win, type, ev)) return true;
      if (SDL_GetTicks() - start >= kReplyWaitMs) return false;
      SDL_Delay(2);
    }
  }

  // Reads the property a conversion left on our window (following INCR for long texts).
  bool ReadProperty(Atom* type, std::string* out) {
    Atom actual = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (X.GetWindowProperty(D, Win, Property, 0, LONG_MAX / 4, True, AnyPropertyType, &actual, &format, &count,
                            &after, &data) != Success)
      return false;
    if (actual != Incr) {
      if (data && format == 8) out->assign(reinterpret_cast<char*>(data), count);
      if (data) X.Free(data);
      *type = actual;
      return actual != None && format == 8;
    }
    if (data) X.Free(data);
    // INCR: the owner writes the text in parts, each after we delete the last; an empty
    // part ends it.
    out->clear();
    *type = None;
    for (;;) {
      XEvent ev;
      do {
        if (!WaitFor(PropertyNotify, &ev)) return false;
      } while (ev.xproperty.atom != Property || ev.xproperty.state != PropertyNewValue);
      data = nullptr;
      if (X.GetWindowProperty(D, Win, Property, 0, LONG_MAX / 4, True, AnyPropertyType, &actual, &format, &count,
                              &after, &data) != Success)
        return false;
      size_t n = (data && format == 8) ? count : 0;
      if (n) out->append(reinterpret_cast<char*>(data), n);
      if (data) X.Free(data);
      // An owner that never ends its parts is refused rather than read without bound.
      if (out->size() > kMaxPastedBytes) {
        out->clear();
        return false;
      }
      if (*type == None) *type = actual;
      if (n == 0) return *type != None;
    }
  }

  void Answer(const XSelectionRequestEvent& req) {
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.display = D;
    reply.xselection.requestor = req.requestor;
    reply.xselection.selection = req.selection;
    reply.xselection.target = req.target;
    reply.xselection.time = req.time;
    reply.xselection.property = None;
    // Clients of the oldest convention give no property: the target's name serves.
    Atom prop = req.property != None ? req.property : req.target;
    if (Owned && req.selection == Clipboard) {
      if (req.target == Targets) {
        Atom list[] = {Targets, Utf8, XA_STRING, Text, Plain, PlainUtf8};
        X.ChangeProperty(D, req.requestor, prop, XA_ATOM, 32, PropModeReplace,
                         reinterpret_cast<const unsigned char*>(list), int(sizeof list / sizeof list[0]));
        reply.xselection.property = prop;
      } else if (req.target == Utf8 || req.target == PlainUtf8 || req.target == Text || req.target == XA_STRING ||
                 req.target == Plain) {
        bool latin1 = req.target == XA_STRING || req.target == Plain;
        std::string data = latin1 ? Utf8ToLatin1(Held) : Held;
        // A text too long for one request is refused rather than cut short.
        if (data.size() <= MaxBytes()) {
          X.ChangeProperty(D, req.requestor, prop, latin1 ? XA_STRING : Utf8, 8, PropModeReplace,
                           reinterpret_cast<const unsigned char*>(data.data()), int(data.size()));
          reply.xselection.property = prop;
        }
      }
    }
    X.SendEvent(D, req.requestor, False, 0, &reply);
    X.Flush(D);
  }
};

// Sets up the clipboard on the display of an SDL window; nullptr off X11 (SDL's own
// clipboard serves there).
TXClipboard* SdlClipboardOpen(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
  auto* c = new TXClipboard;
  if (!c->X.Load()) {
    delete c;
    return nullptr;
  }
  c->D = info.info.x11.display;
  Window root = DefaultRootWindow(c->D);
  c->Win = c->X.CreateSimpleWindow(c->D, root, -10, -10, 1, 1, 0, 0, 0);
  c->X.SelectInput(c->D, c->Win, PropertyChangeMask);
  c->Clipboard = c->X.InternAtom(c->D, "CLIPBOARD", False);
  c->Targets = c->X.InternAtom(c->D, "TARGETS", False);
  c->Utf8 = c->X.InternAtom(c->D, "UTF8_STRING", False);
  c->Text = c->X.InternAtom(c->D, "TEXT", False);
  c->Plain = c->X.InternAtom(c->D, "text/plain", False);
  c->PlainUtf8 = c->X.InternAtom(c->D, "text/plain;charset=utf-8", False);
  c->Incr = c->X.InternAtom(c->D, "INCR", False);
  c->Property = c->X.InternAtom(c->D, "LORM_CLIPBOARD", False);
  c->X.Flush(c->D);
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  return c;
}

void SdlClipboardClose(TXClipboard* c) {
  if (!c) return;
  SDL_EventState(SDL_SYSWMEVENT, SDL_DISABLE);
  c->X.DestroyWindow(c->D, c->Win);
  c->X.Flush(c->D);
  delete c;
}

// Offers text (LF line breaks) to other programs.
void SdlClipboardSet(TXClipboard* c, const std::string& text) {
  c->Held = text;
  c->X.SetSelectionOwner(c->D, c->Clipboard, c->Win, CurrentTime);
  c->Owned = c->X.GetSelectionOwner(c->D, c->Clipboard) == c->Win;
  c->X.Flush(c->D);
}

// True while the clipboard holds what we offered.
bool SdlClipboardOwned(TXClipboard* c) { return c->Owned && c->X.GetSelectionOwner(c->D, c->Clipboard) == c->Win; }

// The text another program offers, as UTF-8; false when there is none or the owner does
// not answer.
bool SdlClipboardGet(TXClipboard* c, std::string* text) {
  Window owner = c->X.GetSelectionOwner(c->D, c->Clipboard);
  if (owner == None) return false;
  if (owner == c->Win) {
    *text = c->Held;
    return true;
  }
  for (Atom target : {c->Utf8, Atom(XA_STRING)}) {
    c->X.DeleteProperty(c->D, c->Win, c->Property);
    c->X.ConvertSelection(c->D, c->Clipboard, target, c->Property, c->Win, CurrentTime);
    c->X.Flush(c->D);
    XEvent ev;
    if (!c->WaitFor(SelectionNotify, &ev)) return false;  // the owner does not answer
    if (ev.xselection.property == None) continue;          // not in this form
    Atom type = None;
    std::string data;
    if (!c->ReadProperty(&type, &data)) continue;
    *text = type == XA_STRING ? Latin1ToUtf8(data) : data;
    return true;
  }
  return false;
}

// An X event SDL handed over: answers requests for our text and notes the loss of the
// selection.
void SdlClipboardEvent(TXClipboard* c, const SDL_Event& e) {
  if (e.type != SDL_SYSWMEVENT || !e.syswm.msg || e.syswm.msg->subsystem != SDL_SYSWM_X11) return;
  const XEvent& xe = e.syswm.msg->msg.x11.event;
  if (xe.xany.window != c->Win) return;
  if (xe.type == SelectionRequest) c->Answer(xe.xselectionrequest);
  else if (xe.type == SelectionClear && xe.xselectionclear.selection == c->Clipboard) c->Owned = false;
}
