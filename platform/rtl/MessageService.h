#pragma once
// The application's message box as a service: text, caption and flags in, the pressed
// button out. Tests install a responder that answers and records what was shown; a
// display back end installs one that shows a real dialog.
#include <functional>
#include <string>
#include <vector>

// Message box flags and results with their Windows values (they are stored in forms
// and passed around as plain integers).
enum : int {
  MB_OK = 0x00, MB_OKCANCEL = 0x01, MB_ABORTRETRYIGNORE = 0x02, MB_YESNOCANCEL = 0x03,
  MB_YESNO = 0x04, MB_RETRYCANCEL = 0x05,
  MB_ICONHAND = 0x10, MB_ICONSTOP = 0x10, MB_ICONERROR = 0x10,
  MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30, MB_ICONWARNING = 0x30,
  MB_ICONASTERISK = 0x40, MB_ICONINFORMATION = 0x40,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

using TMessageBoxHandler =
    std::function<int(const std::string& text, const std::string& caption, int flags)>;

// Installs the handler that answers message boxes; returns the previous one.
TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler);

// Shows a message box through the installed handler. Without a handler the message is
// written to standard error and the first button (IDOK, IDYES, IDABORT, IDRETRY) answers.
int ShowMessageBox(const std::string& text, const std::string& caption, int flags);

// A test responder: records every box shown and answers with a fixed result.
struct TRecordedMessageBox {
  std::string Text;
  std::string Caption;
  int Flags = 0;
  bool operator==(const TRecordedMessageBox&) const = default;
};

class TMessageBoxRecorder {
public:
  explicit TMessageBoxRecorder(int answer = IDOK);
  ~TMessageBoxRecorder();
  TMessageBoxRecorder(const TMessageBoxRecorder&) = delete;
  TMessageBoxRecorder& operator=(const TMessageBoxRecorder&) = delete;

  const std::vector<TRecordedMessageBox>& Shown() const { return FShown; }
  void Clear() { FShown.clear(); }
  void SetAnswer(int answer) { FAnswer = answer; }

private:
  std::vector<TRecordedMessageBox> FShown;
  int FAnswer;
  TMessageBoxHandler FPrevious;
};
