#pragma once
// The application's message box as a service: text, caption and flags in, the pressed
// button out. Tests install a responder that answers and records what was shown; without
// one the fallback answers (the window layer, platform/vcl/Dialogs, installs one that shows
// the box as a real modal window).
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
  MB_CANCELTRYCONTINUE = 0x06,
  MB_DEFBUTTON1 = 0x000, MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200, MB_DEFBUTTON4 = 0x300,
  MB_APPLMODAL = 0x0000, MB_SYSTEMMODAL = 0x1000, MB_TASKMODAL = 0x2000, MB_HELP = 0x4000,
  MB_SETFOREGROUND = 0x10000, MB_TOPMOST = 0x40000,
  MB_TYPEMASK = 0x0F, MB_ICONMASK = 0xF0, MB_DEFMASK = 0xF00,
  MB_USERBUTTONS = 0x0F,  // buttons given one by one (ShowMessageBoxButtons below)
};
enum : int {
  IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7,
  IDCLOSE = 8, IDHELP = 9, IDTRYAGAIN = 10, IDCONTINUE = 11,
};

using TMessageBoxHandler =
    std::function<int(const std::string& text, const std::string& caption, int flags)>;

// Installs the handler that answers message boxes; returns the previous one.
TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler);

// The handler used when none is installed: the window layer installs one that shows the
// box as a real modal window. Returns the previous one.
TMessageBoxHandler SetMessageBoxFallback(TMessageBoxHandler handler);

// Shows a message box through the installed handler, else the fallback. Without either the
// message is written to standard error and the default button (MB_DEFBUTTONn of the type's
// buttons) answers.
int ShowMessageBox(const std::string& text, const std::string& caption, int flags);

// A box with a button set of its own (the framework's MessageDlg: Yes to all, No to all,
// Help...). Handlers see it as a usual box: flags hold the nearest MB_ type (or
// MB_USERBUTTONS when none fits) and the icon; while it is shown, MessageBoxButtons() lists
// its buttons, which a window handler draws instead of the ones of the type.
struct TMessageBoxButton {
  int Result = 0;        // what pressing it answers (0: the box stays, e.g. Help)
  std::string Caption;   // with "&" before the accelerator letter
  bool Default = false;  // Enter
  bool Cancel = false;   // Escape and the close box
  bool operator==(const TMessageBoxButton&) const = default;
};
int ShowMessageBoxButtons(const std::string& text, const std::string& caption, int flags,
                          const std::vector<TMessageBoxButton>& buttons);
// The buttons of the box being shown with ShowMessageBoxButtons (empty otherwise).
const std::vector<TMessageBoxButton>& MessageBoxButtons();

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
