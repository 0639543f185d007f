#include "platform/rtl/MessageService.h"

#include <cstdio>

namespace {
TMessageBoxHandler& CurrentHandler() {
  static TMessageBoxHandler handler;
  return handler;
}

int DefaultAnswer(int flags) {
  switch (flags & 0x0F) {
  case MB_ABORTRETRYIGNORE: return IDABORT;
  case MB_YESNOCANCEL:
  case MB_YESNO: return IDYES;
  case MB_RETRYCANCEL: return IDRETRY;
  default: return IDOK;
  }
}
} // namespace

TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler) {
  TMessageBoxHandler previous = std::move(CurrentHandler());
  CurrentHandler() = std::move(handler);
  return previous;
}

int ShowMessageBox(const std::string& text, const std::string& caption, int flags) {
  if (CurrentHandler()) return CurrentHandler()(text, caption, flags);
  std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
  return DefaultAnswer(flags);
}

TMessageBoxRecorder::TMessageBoxRecorder(int answer) : FAnswer(answer) {
  FPrevious = SetMessageBoxHandler([this](const std::string& text, const std::string& caption,
                                          int flags) {
    FShown.push_back({text, caption, flags});
    return FAnswer;
  });
}

TMessageBoxRecorder::~TMessageBoxRecorder() { SetMessageBoxHandler(std::move(FPrevious)); }
