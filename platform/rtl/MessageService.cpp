#include "platform/rtl/MessageService.h"

#include <cstdio>

namespace {
TMessageBoxHandler& CurrentHandler() {
  static TMessageBoxHandler handler;
  return handler;
}

TMessageBoxHandler& FallbackHandler() {
  static TMessageBoxHandler handler;
  return handler;
}

std::vector<TMessageBoxButton>& CurrentButtons() {
  static std::vector<TMessageBoxButton> buttons;
  return buttons;
}

int DefaultAnswer(int flags) {
  int index = (flags & MB_DEFMASK) >> 8;
  switch (flags & MB_TYPEMASK) {
  case MB_OKCANCEL: { const int ids[] = {IDOK, IDCANCEL}; return ids[index < 2 ? index : 0]; }
  case MB_ABORTRETRYIGNORE: { const int ids[] = {IDABORT, IDRETRY, IDIGNORE}; return ids[index < 3 ? index : 0]; }
  case MB_YESNOCANCEL: { const int ids[] = {IDYES, IDNO, IDCANCEL}; return ids[index < 3 ? index : 0]; }
  case MB_YESNO: { const int ids[] = {IDYES, IDNO}; return ids[index < 2 ? index : 0]; }
  case MB_RETRYCANCEL: { const int ids[] = {IDRETRY, IDCANCEL}; return ids[index < 2 ? index : 0]; }
  case MB_CANCELTRYCONTINUE: { const int ids[] = {IDCANCEL, IDTRYAGAIN, IDCONTINUE}; return ids[index < 3 ? index : 0]; }
  default: return IDOK;
  }
}
} // namespace

TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler) {
  TMessageBoxHandler previous = std::move(CurrentHandler());
  CurrentHandler() = std::move(handler);
  return previous;
}

TMessageBoxHandler SetMessageBoxFallback(TMessageBoxHandler handler) {
  TMessageBoxHandler previous = std::move(FallbackHandler());
  FallbackHandler() = std::move(handler);
  return previous;
}

int ShowMessageBox(const std::string& text, const std::string& caption, int flags) {
  // A box shown from inside another one's handler has the buttons of its own type.
  std::vector<TMessageBoxButton> outer = std::move(CurrentButtons());
  CurrentButtons().clear();
  struct TRestore {
    std::vector<TMessageBoxButton>& Outer;
    ~TRestore() { CurrentButtons() = std::move(Outer); }
  } restore{outer};
  if (CurrentHandler()) return CurrentHandler()(text, caption, flags);
  if (FallbackHandler()) return FallbackHandler()(text, caption, flags);
  std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
  return DefaultAnswer(flags);
}

int ShowMessageBoxButtons(const std::string& text, const std::string& caption, int flags,
                          const std::vector<TMessageBoxButton>& buttons) {
  if (buttons.empty()) return ShowMessageBox(text, caption, flags);
  std::vector<TMessageBoxButton> outer = std::move(CurrentButtons());
  CurrentButtons() = buttons;
  struct TRestore {
    std::vector<TMessageBoxButton>& Outer;
    ~TRestore() { CurrentButtons() = std::move(Outer); }
  } restore{outer};
  if (CurrentHandler()) return CurrentHandler()(text, caption, flags);
  if (FallbackHandler()) return FallbackHandler()(text, caption, flags);
  std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
  for (const TMessageBoxButton& b : buttons)
    if (b.Default) return b.Result;
  return buttons.front().Result;
}

const std::vector<TMessageBoxButton>& MessageBoxButtons() { return CurrentButtons(); }

TMessageBoxRecorder::TMessageBoxRecorder(int answer) : FAnswer(answer) {
  FPrevious = SetMessageBoxHandler([this](const std::string& text, const std::string& caption,
                                          int flags) {
    FShown.push_back({text, caption, flags});
    return FAnswer;
  });
}

TMessageBoxRecorder::~TMessageBoxRecorder() { SetMessageBoxHandler(std::move(FPrevious)); }
