// A small program for the end-to-end tests: a form with a clickable pad and a text entry,
// both built from TCustomControl, that writes every input message it receives to a log.
//
//   e2e_form --log FILE [--at X,Y]      on the display (SDL back end), the form at X,Y
//   e2e_form --log FILE --robot SCRIPT  headless, the robot plays SCRIPT
//
// The log starts with the screen positions of the pad, the entry and the caption's close
// button ("at NAME X Y", client origins for the controls), then "ready"; input follows as
// "pad down L X Y", "edit keydown 0x41", "edit char U+0061", "edit text …", and "form close".
// A robot script has one action a line: "click pad X Y" (client coordinates of pad, edit
// or close; close ignores X Y), "type TEXT", "key NAME" (BackSpace, Return, Tab, Escape).
// The test driver plays the same script with xdotool on the display and compares the logs.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/backend/SdlBackend.h"
#include "platform/rtl/CodePage.h"
#include "platform/vcl/Forms.h"

namespace {

std::ofstream gLog;

void Log(const std::string& line) {
  gLog << line << '\n';
  gLog.flush();
}

std::string Hex(unsigned v) {
  char b[16];
  std::snprintf(b, sizeof b, "0x%02X", v);
  return b;
}

std::string CodePoint(char32_t c) {
  char b[16];
  std::snprintf(b, sizeof b, "U+%04X", unsigned(c));
  return b;
}

// A pad that counts its clicks.
class TClickPad : public TCustomControl {
public:
  explicit TClickPad(TComponent* AOwner) : TCustomControl(AOwner) {
    SetColor(RGB(40, 110, 200));
  }
  int Clicks = 0;

protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
    Canvas()->Font()->SetColor(clWhite);
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->TextOut(10, 10, "Нажатий: " + std::to_string(Clicks));
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    Log("pad down " + std::string(Button == mbLeft ? "L" : Button == mbRight ? "R" : "M") + " " +
        std::to_string(X) + " " + std::to_string(Y));
    TCustomControl::MouseDown(Button, Shift, X, Y);
  }
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    Log("pad up " + std::string(Button == mbLeft ? "L" : Button == mbRight ? "R" : "M") + " " +
        std::to_string(X) + " " + std::to_string(Y));
    TCustomControl::MouseUp(Button, Shift, X, Y);
  }
  void Click() override {
    ++Clicks;
    Log("pad click " + std::to_string(Clicks));
    Invalidate();
    TCustomControl::Click();
  }
};

// A one-line text entry: takes the focus on a click, types characters, erases with
// backspace, copies its text with Ctrl+C and pastes with Ctrl+V.
class TTextEntry : public TCustomControl {
public:
  explicit TTextEntry(TComponent* AOwner) : TCustomControl(AOwner) {
    SetTabStop(true);
    SetColor(clWindow);
  }
  std::string Value;

  void WndProc(TMessage& Message) override {
    switch (Message.Msg) {
      case WM_KEYDOWN: Log("edit keydown " + Hex(unsigned(Message.WParam))); break;
      case WM_KEYUP: Log("edit keyup " + Hex(unsigned(Message.WParam))); break;
      case WM_CHAR: Log("edit char " + CodePoint(char32_t(Message.WParam))); break;
      case WM_SYSKEYDOWN: Log("edit syskeydown " + Hex(unsigned(Message.WParam))); break;
      case WM_SYSKEYUP: Log("edit syskeyup " + Hex(unsigned(Message.WParam))); break;
      case WM_SETFOCUS: Log("edit focus"); Invalidate(); break;
      case WM_KILLFOCUS: Invalidate(); break;
      case WM_GETDLGCODE: Message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS; return;
    }
    TCustomControl::WndProc(Message);
  }

protected:
  void Paint() override {
    TRect r = ClientRect();
    Canvas()->Brush()->SetColor(clWindow);
    Canvas()->FillRect(r);
    Canvas()->Brush()->SetColor(Focused() ? RGB(0, 120, 215) : RGB(122, 122, 122));
    Canvas()->FrameRect(r);
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->Font()->SetColor(clWindowText);
    Canvas()->TextOut(4, 5, Value);
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    if (CanFocus()) SetFocus();
    TCustomControl::MouseDown(Button, Shift, X, Y);
  }
  void KeyPress(char32_t& Key) override {
    TCustomControl::KeyPress(Key);
    if (Key == 3) {  // Ctrl+C
      SetClipboardTextUtf8(Value);
      Log("edit copy");
      return;
    }
    if (Key == 22) {  // Ctrl+V
      Value += GetClipboardTextUtf8();
    } else if (Key == 8) {
      // Erase the last character (a whole UTF-8 sequence).
      while (!Value.empty() && (static_cast<unsigned char>(Value.back()) & 0xC0) == 0x80) Value.pop_back();
      if (!Value.empty()) Value.pop_back();
    } else if (Key >= 32) {
      Utf8Append(Value, Key);
    } else {
      return;
    }
    Log("edit text " + Value);
    Invalidate();
  }
};

class TE2eForm : public TForm {
public:
  explicit TE2eForm(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Проверка ввода");
    SetBounds(120, 90, 380, 250);
    Pad = new TClickPad(this);
    Pad->SetParent(this);
    Pad->SetBounds(20, 20, 160, 70);
    Pad->SetHint("Счётчик нажатий");
    Pad->SetShowHint(true);
    Edit = new TTextEntry(this);
    Edit->SetParent(this);
    Edit->SetBounds(20, 120, 320, 28);
    OnClose = [](TObject*, TCloseAction&) { Log("form close"); };
  }
  TClickPad* Pad;
  TTextEntry* Edit;
};

// The screen point of the caption's close button, found through the form's own hit test.
POINT CloseButtonPoint(HWND form) {
  RECT wr;
  GetWindowRect(form, &wr);
  for (int y = wr.top; y < wr.top + 60; ++y)
    for (int x = wr.right - 1; x > wr.right - 120; --x) {
      if (SendMessage(form, WM_NCHITTEST, 0, PointToLParam(POINT{x, y})) != HTCLOSE) continue;
      // The centre of the button: its extent along this row and down this column.
      int x0 = x;
      while (SendMessage(form, WM_NCHITTEST, 0, PointToLParam(POINT{x0 - 1, y})) == HTCLOSE) --x0;
      int y1 = y;
      while (SendMessage(form, WM_NCHITTEST, 0, PointToLParam(POINT{x, y1 + 1})) == HTCLOSE) ++y1;
      return POINT{(x0 + x) / 2, (y + y1) / 2};
    }
  return POINT{-1, -1};
}

void LogGeometry(TE2eForm* form) {
  TPoint p = form->Pad->ClientToScreen(TPoint{0, 0});
  Log("at pad " + std::to_string(p.X) + " " + std::to_string(p.Y));
  p = form->Edit->ClientToScreen(TPoint{0, 0});
  Log("at edit " + std::to_string(p.X) + " " + std::to_string(p.Y));
  POINT c = CloseButtonPoint(form->Handle());
  Log("at close " + std::to_string(c.x) + " " + std::to_string(c.y));
  // A point of the caption bar, offset from the window's top-left corner.
  RECT wr;
  GetWindowRect(form->Handle(), &wr);
  for (int y = wr.top; y < wr.top + 40; ++y)
    if (SendMessage(form->Handle(), WM_NCHITTEST, 0, PointToLParam(POINT{wr.left + 100, y})) == HTCAPTION) {
      Log("at caption 100 " + std::to_string(y - wr.top + 4));
      break;
    }
  Log("ready");
}

int VkByName(const std::string& name) {
  if (name == "BackSpace") return VK_BACK;
  if (name == "Return") return VK_RETURN;
  if (name == "Tab") return VK_TAB;
  if (name == "Escape") return VK_ESCAPE;
  return 0;
}

// Plays a robot script on the headless back end.
void PlayScript(TE2eForm* form, const std::string& path) {
  std::ifstream in(path);
  if (!in) throw Exception("Cannot open the script " + path);
  TRobot robot;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string verb;
    words >> verb;
    if (verb == "click") {
      std::string target;
      int x = 0, y = 0;
      words >> target >> x >> y;
      if (target == "close") {
        POINT c = CloseButtonPoint(form->Handle());
        robot.Click(nullptr, c.x, c.y);
      } else {
        robot.Click(target == "pad" ? form->Pad->Handle() : form->Edit->Handle(), x, y);
      }
    } else if (verb == "type") {
      robot.Type(line.size() > 5 ? line.substr(5) : std::string());
    } else if (verb == "key") {
      std::string name;
      words >> name;
      robot.PressKey(VkByName(name));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string logPath, script;
  int left = -1, top = -1;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string a = argv[i];
    if (a == "--log") logPath = argv[i + 1];
    else if (a == "--robot") script = argv[i + 1];
    else if (a == "--at") std::sscanf(argv[i + 1], "%d,%d", &left, &top);
  }
  if (logPath.empty()) {
    std::cerr << "usage: e2e_form --log FILE [--robot SCRIPT]\n";
    return 2;
  }
  gLog.open(logPath, std::ios::trunc);
  try {
    if (!script.empty()) {
      THeadlessScope headless;
      TE2eForm* form = nullptr;
      Application->CreateForm(form);
      form->Show();
      LogGeometry(form);
      PlayScript(form, script);
      Application->Run();
      Application->Restart();
    } else {
      TSdlBackend display;
      TSdlBackendScope use(display);
      TE2eForm* form = nullptr;
      Application->CreateForm(form);
      if (left >= 0 && top >= 0) form->SetBounds(left, top, form->Width(), form->Height());
      // The positions are told once the form is up and the loop idles.
      bool told = false;
      Application->OnIdle = [&](TObject*, bool&) {
        if (told) return;
        told = true;
        LogGeometry(form);
      };
      Application->Run();  // shows the form
      // Everything goes while the display is still there.
      Application->Restart();
      ResetWindowSystem();
    }
  } catch (const std::exception& e) {
    Log(std::string("error ") + e.what());
    std::cerr << "e2e_form: " << e.what() << "\n";
    return 1;
  }
  Log("exit 0");
  return 0;
}
