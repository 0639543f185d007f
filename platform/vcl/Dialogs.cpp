// Message boxes (the service's fallback window, MessageBox, MessageDlg, ShowMessage), the
// file dialog handler and recorder, filters and masks, and the open and save dialogs'
// component side. The file dialog window is in DialogsFile.cpp.
#include "platform/vcl/Dialogs.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/CodePage.h"
#include "platform/vcl/PortalFileChooser.h"
#include "platform/vcl/TypInfo.h"

namespace fs = std::filesystem;

namespace {

// Button captions of the system's message boxes and of the framework's message dialog.
constexpr const char* kOK = "ОК";
constexpr const char* kCancel = "Отмена";
constexpr const char* kAbort = "&Прервать";
constexpr const char* kRetry = "По&вторить";
constexpr const char* kIgnore = "Пр&опустить";
constexpr const char* kYes = "&Да";
constexpr const char* kNo = "&Нет";
constexpr const char* kTryAgain = "По&вторить";
constexpr const char* kContinue = "Пр&одолжить";
constexpr const char* kHelp = "&Справка";
constexpr const char* kAll = "Вс&е";
constexpr const char* kNoToAll = "Нет для в&сех";
constexpr const char* kYesToAll = "Да для &всех";

TFileDialogHandler& FileHandler() {
  static TFileDialogHandler handler;
  return handler;
}

// Client-area metrics of the message box (pixels at 96 DPI).
constexpr int kMargin = 11;
constexpr int kIconSize = 32;
constexpr int kIconGap = 14;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
constexpr int kMaxTextWidth = 420;

}  // namespace

// ---------------------------------------------------------------------------------------
// Buttons.
std::vector<TMessageBoxButton> MessageBoxButtonsOfType(int Flags) {
  std::vector<TMessageBoxButton> b;
  switch (Flags & MB_TYPEMASK) {
    case MB_OKCANCEL: b = {{IDOK, kOK}, {IDCANCEL, kCancel}}; break;
    case MB_ABORTRETRYIGNORE: b = {{IDABORT, kAbort}, {IDRETRY, kRetry}, {IDIGNORE, kIgnore}}; break;
    case MB_YESNOCANCEL: b = {{IDYES, kYes}, {IDNO, kNo}, {IDCANCEL, kCancel}}; break;
    case MB_YESNO: b = {{IDYES, kYes}, {IDNO, kNo}}; break;
    case MB_RETRYCANCEL: b = {{IDRETRY, kRetry}, {IDCANCEL, kCancel}}; break;
    case MB_CANCELTRYCONTINUE: b = {{IDCANCEL, kCancel}, {IDTRYAGAIN, kTryAgain}, {IDCONTINUE, kContinue}}; break;
    default: b = {{IDOK, kOK}}; break;
  }
  // Escape answers Cancel; a box with only OK closes with OK.
  bool hasCancel = false;
  for (auto& x : b)
    if (x.Result == IDCANCEL) x.Cancel = hasCancel = true;
  if (!hasCancel && b.size() == 1) b[0].Cancel = true;
  size_t def = size_t((Flags & MB_DEFMASK) >> 8);
  b[def < b.size() ? def : 0].Default = true;
  if (Flags & MB_HELP) b.push_back({0, kHelp});
  return b;
}

std::vector<TMessageBoxButton> MessageDlgButtons(TMsgDlgButtons Buttons, std::optional<TMsgDlgBtn> DefaultButton) {
  static const struct {
    TMsgDlgBtn Btn;
    int Result;
    const char* Caption;
  } kButtons[] = {
      {mbYes, mrYes, kYes},         {mbNo, mrNo, kNo},           {mbOK, mrOk, kOK},
      {mbCancel, mrCancel, kCancel}, {mbAbort, mrAbort, kAbort}, {mbRetry, mrRetry, kRetry},
      {mbIgnore, mrIgnore, kIgnore}, {mbAll, mrAll, kAll},       {mbNoToAll, mrNoToAll, kNoToAll},
      {mbYesToAll, mrYesToAll, kYesToAll}, {mbHelp, mrNone, kHelp},
  };
  // A box without buttons could never be closed: it gets OK.
  if ((Buttons - mbHelp).Empty()) Buttons += mbOK;
  TMsgDlgBtn def = mbHelp;
  if (DefaultButton && Buttons.Contains(*DefaultButton)) def = *DefaultButton;
  else if (Buttons.Contains(mbOK)) def = mbOK;
  else if (Buttons.Contains(mbYes)) def = mbYes;
  else if (Buttons.Contains(mbRetry)) def = mbRetry;
  else
    for (const auto& k : kButtons)
      if (Buttons.Contains(k.Btn) && k.Btn != mbHelp) {
        def = k.Btn;
        break;
      }
  TMsgDlgBtn cancel = Buttons.Contains(mbCancel) ? mbCancel : Buttons.Contains(mbNo) ? mbNo : mbOK;
  std::vector<TMessageBoxButton> b;
  for (const auto& k : kButtons)
    if (Buttons.Contains(k.Btn)) b.push_back({k.Result, k.Caption, k.Btn == def, k.Btn == cancel});
  return b;
}

// The MB_ type with the same buttons, or MB_USERBUTTONS.
static int TypeOfDlgButtons(TMsgDlgButtons Buttons) {
  TMsgDlgButtons b = Buttons - mbHelp;
  if (b == TMsgDlgButtons{mbOK}) return MB_OK;
  if (b == TMsgDlgButtons{mbOK, mbCancel}) return MB_OKCANCEL;
  if (b == TMsgDlgButtons{mbAbort, mbRetry, mbIgnore}) return MB_ABORTRETRYIGNORE;
  if (b == TMsgDlgButtons{mbYes, mbNo, mbCancel}) return MB_YESNOCANCEL;
  if (b == TMsgDlgButtons{mbYes, mbNo}) return MB_YESNO;
  if (b == TMsgDlgButtons{mbRetry, mbCancel}) return MB_RETRYCANCEL;
  return MB_USERBUTTONS;
}

// ---------------------------------------------------------------------------------------
// Icons, drawn with plain GDI shapes.
namespace {

struct TSelectedObjects {
  HDC DC;
  HGDIOBJ Pen, Brush;
  TSelectedObjects(HDC dc, COLORREF pen, COLORREF brush, bool noPen = false)
      : DC(dc),
        Pen(SelectObject(dc, noPen ? GetStockObject(NULL_PEN) : CreatePen(PS_SOLID, 1, pen))),
        Brush(SelectObject(dc, CreateSolidBrush(brush))) {}
  ~TSelectedObjects() {
    HGDIOBJ pen = SelectObject(DC, Pen);
    HGDIOBJ brush = SelectObject(DC, Brush);
    DeleteObject(pen);
    DeleteObject(brush);
  }
};

// A bar of the given half-width between two points (for the cross of the stop icon).
void Bar(HDC dc, double x1, double y1, double x2, double y2, double half) {
  double dx = x2 - x1, dy = y2 - y1, len = std::sqrt(dx * dx + dy * dy);
  double nx = -dy / len * half, ny = dx / len * half;
  POINT p[4] = {{LONG(std::lround(x1 + nx)), LONG(std::lround(y1 + ny))},
                {LONG(std::lround(x2 + nx)), LONG(std::lround(y2 + ny))},
                {LONG(std::lround(x2 - nx)), LONG(std::lround(y2 - ny))},
                {LONG(std::lround(x1 - nx)), LONG(std::lround(y1 - ny))}};
  Polygon(dc, p, 4);
}

void DrawGlyph(HDC dc, const RECT& r, const char* text, COLORREF color) {
  HFONT font = CreateFont(-24, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Times New Roman");
  HGDIOBJ old = SelectObject(dc, font);
  COLORREF oldColor = SetTextColor(dc, color);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  RECT box = r;
  DrawTextUtf8(dc, text, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
  SelectObject(dc, old);
  DeleteObject(font);
}

void DrawBalloon(HDC dc, int x, int y) {
  {  // the shadow
    TSelectedObjects o(dc, 0, RGB(160, 160, 160), true);
    Ellipse(dc, x + 3, y + 3, x + 32, y + 29);
  }
  TSelectedObjects outline(dc, RGB(64, 64, 64), RGB(255, 255, 255));
  Ellipse(dc, x + 1, y + 1, x + 31, y + 27);
  POINT tail[3] = {{x + 8, y + 20}, {x + 5, y + 31}, {x + 16, y + 24}};
  Polygon(dc, tail, 3);
  // The tail's edge inside the balloon is painted over.
  TSelectedObjects inside(dc, 0, RGB(255, 255, 255), true);
  Ellipse(dc, x + 2, y + 2, x + 31, y + 27);
}

}  // namespace

void DrawMessageIcon(HDC DC, int X, int Y, int IconFlags) {
  switch (IconFlags & MB_ICONMASK) {
    case MB_ICONSTOP: {
      {
        TSelectedObjects o(DC, 0, RGB(160, 160, 160), true);
        Ellipse(DC, X + 3, Y + 3, X + 33, Y + 33);
      }
      {
        TSelectedObjects o(DC, RGB(128, 0, 0), RGB(224, 32, 32));
        Ellipse(DC, X + 1, Y + 1, X + 31, Y + 31);
      }
      TSelectedObjects o(DC, 0, RGB(255, 255, 255), true);
      Bar(DC, X + 10, Y + 10, X + 21, Y + 21, 2.2);
      Bar(DC, X + 21, Y + 10, X + 10, Y + 21, 2.2);
      break;
    }
    case MB_ICONQUESTION:
      DrawBalloon(DC, X, Y);
      DrawGlyph(DC, RECT{X + 1, Y + 1, X + 31, Y + 27}, "?", RGB(0, 0, 224));
      break;
    case MB_ICONWARNING: {
      POINT tri[3] = {{X + 16, Y + 1}, {X + 31, Y + 29}, {X + 1, Y + 29}};
      {
        TSelectedObjects o(DC, 0, RGB(160, 160, 160), true);
        POINT shadow[3] = {{X + 18, Y + 4}, {X + 32, Y + 31}, {X + 4, Y + 31}};
        Polygon(DC, shadow, 3);
      }
      {
        TSelectedObjects o(DC, RGB(0, 0, 0), RGB(255, 221, 0));
        Polygon(DC, tri, 3);
      }
      TSelectedObjects o(DC, 0, RGB(0, 0, 0), true);
      POINT bar[4] = {{X + 14, Y + 9}, {X + 19, Y + 9}, {X + 17, Y + 21}, {X + 16, Y + 21}};
      Polygon(DC, bar, 4);
      Rectangle(DC, X + 14, Y + 23, X + 19, Y + 28);
      break;
    }
    case MB_ICONINFORMATION:
      DrawBalloon(DC, X, Y);
      DrawGlyph(DC, RECT{X + 1, Y + 1, X + 31, Y + 27}, "i", RGB(0, 0, 224));
      break;
    default: break;
  }
}

TMessageIcon::TMessageIcon(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, kIconSize + 2, kIconSize + 2); }

void TMessageIcon::Paint() { DrawMessageIcon(Canvas()->GetHandle(), 0, 0, IconFlags); }

// ---------------------------------------------------------------------------------------
// The message box window.
TMessageForm::TMessageForm(TComponent* AOwner, const std::string& Text, const std::string& Caption, int Flags,
                           const std::vector<TMessageBoxButton>& Wanted)
    : TForm(AOwner), FButtons(Wanted) {
  if (FButtons.empty()) FButtons = MessageBoxButtonsOfType(MB_OK);
  SetBorderStyle(bsDialog);
  SetPosition(poMainFormCenter);
  SetCaption(Caption);
  SetKeyPreview(true);
  for (const auto& b : FButtons)
    if (b.Cancel) {
      FHasCancel = true;
      FCancelResult = b.Result;
    }
  // Without a Cancel button the box has no close box: it is answered by a button.
  SetBorderIcons(FHasCancel ? TBorderIcons{biSystemMenu} : TBorderIcons{});

  // Measure the text and the buttons with the form's font.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldFont = SelectObject(dc, Font()->GetHandle());
  RECT tr{0, 0, kMaxTextWidth, 0};
  std::string shown = Text.empty() ? std::string(" ") : Text;
  DrawTextUtf8(dc, shown, &tr, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  int textW = tr.right - tr.left, textH = tr.bottom - tr.top;
  int buttonW = kButtonWidth;
  for (const auto& b : FButtons) {
    RECT br{0, 0, 0, 0};
    DrawTextUtf8(dc, b.Caption, &br, DT_CALCRECT | DT_SINGLELINE);
    buttonW = std::max<int>(buttonW, br.right - br.left + 20);
  }
  RECT cr{0, 0, 0, 0};
  DrawTextUtf8(dc, Caption, &cr, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  int captionW = cr.right - cr.left + 60;
  SelectObject(dc, oldFont);
  DeleteDC(dc);

  int iconFlags = Flags & MB_ICONMASK;
  int textLeft = kMargin + 3;
  int textTop = kMargin;
  int contentBottom = 0;
  if (iconFlags == MB_ICONSTOP || iconFlags == MB_ICONQUESTION || iconFlags == MB_ICONWARNING ||
      iconFlags == MB_ICONINFORMATION) {
    Icon = new TMessageIcon(this);
    Icon->SetName("Image");
    Icon->IconFlags = iconFlags;
    Icon->SetBounds(kMargin, kMargin, kIconSize + 2, kIconSize + 2);
    Icon->SetParent(this);
    textLeft = kMargin + kIconSize + kIconGap;
    if (textH < kIconSize) textTop = kMargin + (kIconSize - textH) / 2;
    contentBottom = kMargin + kIconSize;
  }
  contentBottom = std::max(contentBottom, textTop + textH);

  Message = new TLabel(this);
  Message->SetName("Message");
  Message->SetShowAccelChar(false);
  Message->SetWordWrap(true);
  Message->SetAutoSize(false);
  Message->SetBounds(textLeft, textTop, textW + 1, textH);
  Message->SetCaption(Text);
  Message->SetParent(this);

  int n = int(FButtons.size());
  int rowW = n * buttonW + (n - 1) * kButtonGap;
  int clientW = std::max({textLeft + textW + kMargin + 3, rowW + 2 * kMargin, captionW, 120});
  int buttonsTop = contentBottom + 16;
  SetClientSize(clientW, buttonsTop + kButtonHeight + kMargin);

  int x = (clientW - rowW) / 2;
  TButton* def = nullptr;
  for (int i = 0; i < n; ++i) {
    const auto& wanted = FButtons[size_t(i)];
    auto* b = new TButton(this);
    b->SetName("Button" + std::to_string(i + 1));
    b->SetCaption(wanted.Caption);
    b->SetModalResult(wanted.Result);
    b->SetCancel(wanted.Cancel);
    b->SetBounds(x, buttonsTop, buttonW, kButtonHeight);
    b->SetTabOrder(i);
    b->SetParent(this);
    if (wanted.Default) {
      b->SetDefault(true);
      def = b;
    }
    Buttons.push_back(b);
    x += buttonW + kButtonGap;
  }
  FFirstFocus = def ? def : Buttons.front();
}

void TMessageForm::DoShow() {
  TForm::DoShow();
  // The default button has the focus when the box comes up.
  if (FFirstFocus && FFirstFocus->CanFocus()) SetActiveControl(FFirstFocus);
}

TButton* TMessageForm::FindButton(const std::string& Caption) const {
  for (TButton* b : Buttons)
    if (b->Caption() == Caption) return b;
  return nullptr;
}

void TMessageForm::KeyPress(char32_t& Key) {
  // A letter pressed without Alt presses the button it underlines, as in the system's
  // boxes (the buttons take no characters).
  if (Key > 32 && Perform(CM_DIALOGCHAR, WPARAM(Key), 0) != 0) {
    Key = 0;
    return;
  }
  TForm::KeyPress(Key);
}

void TMessageForm::DoClose(TCloseAction& Action) {
  bool byButton = false;
  for (const auto& b : FButtons)
    if (b.Result != mrNone && b.Result == ModalResult()) byButton = true;
  if (!byButton) {
    // The close box, Alt+F4: the Cancel button's answer, or stay open without one.
    if (FHasCancel) SetModalResult(FCancelResult);
    else Action = caNone;
  }
  TForm::DoClose(Action);
}

int TMessageForm::Run() {
  int result = ShowModal();
  for (const auto& b : FButtons)
    if (b.Result != mrNone && b.Result == result) return result;
  // Ended without a button (the application terminates).
  if (FHasCancel) return FCancelResult;
  for (const auto& b : FButtons)
    if (b.Default) return b.Result;
  return FButtons.front().Result;
}

int ShowMessageWindow(const std::string& Text, const std::string& Caption, int Flags) {
  std::vector<TMessageBoxButton> buttons = MessageBoxButtons();
  if (buttons.empty()) buttons = MessageBoxButtonsOfType(Flags);
  auto form = std::make_unique<TMessageForm>(nullptr, Text, Caption, Flags, buttons);
  return form->Run();
}

int MessageBox(HWND hWnd, const std::string& Text, const std::string& Caption, UINT Type) {
  (void)hWnd;  // the box is modal to the whole application
  return ShowMessageBox(Text, Caption, int(Type));
}

static std::string ApplicationTitle() {
  if (!Application) return std::string();
  if (!Application->Title().empty()) return Application->Title();
  return fs::path(Application->ExeName()).stem().string();
}

static int RunMessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                         std::optional<TMsgDlgBtn> DefaultButton) {
  static const char* const kCaptions[] = {"Предупреждение", "Ошибка", "Информация", "Подтверждение", nullptr};
  static const int kIcons[] = {MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION, MB_ICONQUESTION, 0};
  std::vector<TMessageBoxButton> buttons = MessageDlgButtons(Buttons, DefaultButton);
  int flags = kIcons[DlgType] | TypeOfDlgButtons(Buttons);
  if (Buttons.Contains(mbHelp)) flags |= MB_HELP;
  for (size_t i = 0; i < buttons.size() && i < 4; ++i)
    if (buttons[i].Default) flags |= int(i) << 8;
  std::string caption = kCaptions[DlgType] ? kCaptions[DlgType] : ApplicationTitle();
  return ShowMessageBoxButtons(Msg, caption, flags, buttons);
}

int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
  (void)HelpCtx;
  return RunMessageDlg(Msg, DlgType, Buttons, std::nullopt);
}

int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx,
               TMsgDlgBtn DefaultButton) {
  (void)HelpCtx;
  return RunMessageDlg(Msg, DlgType, Buttons, DefaultButton);
}

void ShowMessage(const std::string& Msg) { ShowMessageBox(Msg, ApplicationTitle(), MB_OK); }

// ---------------------------------------------------------------------------------------
// File dialog handler and recorder.
TFileDialogHandler SetFileDialogHandler(TFileDialogHandler Handler) {
  TFileDialogHandler previous = std::move(FileHandler());
  FileHandler() = std::move(Handler);
  return previous;
}

TFileDialogRecorder::TFileDialogRecorder() {
  FPrevious = SetFileDialogHandler([this](const TFileDialogRequest& Request, TFileDialogAnswer& Answer) {
    FShown.push_back(Request);
    if (FAnswers.empty()) return false;
    std::optional<TFileDialogAnswer> a = std::move(FAnswers.front());
    FAnswers.pop_front();
    if (!a) return false;
    Answer = std::move(*a);
    return true;
  });
}

TFileDialogRecorder::~TFileDialogRecorder() { SetFileDialogHandler(std::move(FPrevious)); }

void TFileDialogRecorder::Answer(const std::string& FileName, int FilterIndex) {
  FAnswers.push_back(TFileDialogAnswer{{FileName}, FilterIndex});
}

void TFileDialogRecorder::AnswerFiles(const std::vector<std::string>& Files, int FilterIndex) {
  FAnswers.push_back(TFileDialogAnswer{Files, FilterIndex});
}

void TFileDialogRecorder::AnswerCancel() { FAnswers.push_back(std::nullopt); }

// ---------------------------------------------------------------------------------------
// Filters and masks.
static std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return std::string();
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

std::vector<TFilterItem> ParseFilter(const std::string& Filter) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t bar = Filter.find('|', start);
    parts.push_back(Filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  std::vector<TFilterItem> items;
  // A description without a mask (a filter with an odd number of parts) is left out.
  for (size_t i = 0; i + 1 < parts.size(); i += 2)
    if (!Trim(parts[i + 1]).empty()) items.push_back({parts[i], Trim(parts[i + 1])});
  return items;
}

namespace {
char32_t Fold(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0x410 && c <= 0x42F) return c + 32;  // А..Я
  if (c == 0x401) return 0x451;                 // Ё
  return c;
}

bool Wild(const std::u32string& p, size_t pi, const std::u32string& s, size_t si) {
  // Iterative match with backtracking to the last '*'.
  size_t starP = std::u32string::npos, starS = 0;
  while (si < s.size()) {
    if (pi < p.size() && (p[pi] == U'?' || Fold(p[pi]) == Fold(s[si]))) {
      ++pi;
      ++si;
    } else if (pi < p.size() && p[pi] == U'*') {
      starP = pi++;
      starS = si;
    } else if (starP != std::u32string::npos) {
      pi = starP + 1;
      si = ++starS;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == U'*') ++pi;
  return pi == p.size();
}

std::u32string ToU32(const std::string& s) {
  std::u32string out;
  size_t pos = 0;
  while (pos < s.size()) out.push_back(Utf8Next(s, pos));
  return out;
}
}  // namespace

bool MatchesMask(const std::string& FileName, const std::string& Mask) {
  std::u32string name = ToU32(FileName);
  size_t start = 0;
  for (;;) {
    size_t semi = Mask.find(';', start);
    std::string pattern = Trim(Mask.substr(start, semi == std::string::npos ? std::string::npos : semi - start));
    if (!pattern.empty()) {
      if (pattern == "*" || pattern == "*.*") return true;
      std::u32string p = ToU32(pattern);
      // "name." stands for a name without an extension.
      if (p.size() > 1 && p.back() == U'.' && p[p.size() - 2] != U'.') {
        p.pop_back();
        if (name.find(U'.') == std::u32string::npos && Wild(p, 0, name, 0)) return true;
      } else if (Wild(p, 0, name, 0)) {
        return true;
      }
    }
    if (semi == std::string::npos) break;
    start = semi + 1;
  }
  return false;
}

// ---------------------------------------------------------------------------------------
// Components.
static const TEnumInfo* OpenOptionNames() {
  static const TEnumInfo* info = RegisterEnum(
      "TOpenOption",
      {"ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir", "ofShowHelp", "ofNoValidate",
       "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist", "ofFileMustExist", "ofCreatePrompt",
       "ofShareAware", "ofNoReadOnlyReturn", "ofNoTestFileCreate", "ofNoNetworkButton", "ofNoLongNames",
       "ofOldStyleDialog", "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing", "ofDontAddToRecent",
       "ofForceShowHidden"});
  return info;
}

void TCommonDialog::Publish(TClassBuilder<TCommonDialog>& P) {
  P.Bool("Ctl3D", &TCommonDialog::Ctl3D, &TCommonDialog::SetCtl3D, true)
      .Int("HelpContext", &TCommonDialog::HelpContext, &TCommonDialog::SetHelpContext, 0)
      .Event("OnClose", &TCommonDialog::OnClose)
      .Event("OnShow", &TCommonDialog::OnShow);
}

TCommonDialog::TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}

void TCommonDialog::DoShow() {
  if (OnShow) OnShow(this);
}

void TCommonDialog::DoClose() {
  if (OnClose) OnClose(this);
}

void TOpenDialog::Publish(TClassBuilder<TOpenDialog>& P) {
  P.Str("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt)
      .Str("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName)
      .Str("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter)
      .Int("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex, 1)
      .Str("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir)
      .Set("Options", OpenOptionNames(), &TOpenDialog::Options, &TOpenDialog::SetOptions,
           TOpenOptions{ofHideReadOnly, ofEnableSizing})
      .Str("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle)
      .Event("OnCanClose", &TOpenDialog::OnCanClose)
      .Event("OnFolderChange", &TOpenDialog::OnFolderChange)
      .Event("OnSelectionChange", &TOpenDialog::OnSelectionChange)
      .Event("OnTypeChange", &TOpenDialog::OnTypeChange);
}

void TSaveDialog::Publish(TClassBuilder<TSaveDialog>& P) { (void)P; }

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFiles(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

void TOpenDialog::SetDefaultExt(const std::string& Value) {
  // Stored without the leading dot (".cnv" and "cnv" mean the same).
  FDefaultExt = (!Value.empty() && Value[0] == '.') ? Value.substr(1) : Value;
}

std::string TOpenDialog::DefaultTitle() const { return IsSaveDialog() ? "Сохранить как" : "Открыть"; }

TFileDialogRequest TOpenDialog::MakeRequest() const {
  TFileDialogRequest r;
  r.Save = IsSaveDialog();
  r.Title = FTitle.empty() ? DefaultTitle() : FTitle;
  r.Filter = FFilter;
  int count = int(ParseFilter(FFilter).size());
  r.FilterIndex = (FFilterIndex >= 1 && FFilterIndex <= count) ? FFilterIndex : 1;
  r.DefaultExt = FDefaultExt;
  r.Options = FOptions;
  // The starting folder: InitialDir, else the folder of FileName, else where the last run
  // ended, else the current one. The name field gets FileName's name part.
  std::error_code ec;
  fs::path name(FFileName);
  std::string folder;
  if (!FInitialDir.empty() && fs::is_directory(FInitialDir, ec)) folder = FInitialDir;
  else if (name.has_parent_path() && fs::is_directory(name.parent_path(), ec)) folder = name.parent_path().string();
  else if (!FLastFolder.empty() && fs::is_directory(FLastFolder, ec)) folder = FLastFolder;
  else folder = fs::current_path(ec).string();
  r.InitialDir = fs::absolute(folder, ec).lexically_normal().string();
  if (r.InitialDir.size() > 1 && r.InitialDir.back() == '/') r.InitialDir.pop_back();
  r.FileName = name.has_parent_path() && fs::is_directory(name.parent_path(), ec) ? name.filename().string() : FFileName;
  return r;
}

bool TOpenDialog::AcceptNames(const std::vector<std::string>& Typed, const std::string& Folder, int ChosenFilter,
                              bool OverwriteAsked) {
  std::string title = FTitle.empty() ? DefaultTitle() : FTitle;
  std::vector<std::string> names;
  for (const std::string& t : Typed) {
    std::string s = Trim(t);
    if (!s.empty()) names.push_back(s);
  }
  if (names.empty()) return false;
  if (!FOptions.Contains(ofAllowMultiSelect)) names.resize(1);
  std::vector<std::string> full;
  for (const std::string& n : names) {
    fs::path p(n);
    if (p.is_relative()) p = fs::path(Folder) / p;
    p = p.lexically_normal();
    // The default extension goes on a name without one (the name is otherwise kept as typed).
    bool extended = !FDefaultExt.empty() && !p.filename().has_extension();
    if (extended) p += "." + FDefaultExt;
    std::error_code ec;
    std::string s = p.string();
    if (fs::is_directory(p, ec)) {
      ShowMessageBox(s + "\nЭто папка, а не файл.", title, MB_OK | MB_ICONWARNING);
      return false;
    }
    bool exists = fs::exists(p, ec);
    fs::path parent = p.parent_path();
    if ((FOptions.Contains(ofPathMustExist) || FOptions.Contains(ofFileMustExist) || IsSaveDialog()) &&
        !parent.empty() && !fs::is_directory(parent, ec)) {
      ShowMessageBox(s + "\nПуть не существует.\nПроверьте правильность указанного пути.", title,
                     MB_OK | MB_ICONWARNING);
      return false;
    }
    if (!IsSaveDialog() && !exists) {
      if (FOptions.Contains(ofFileMustExist)) {
        ShowMessageBox(s + "\nФайл не найден.\nПроверьте правильность указанного имени файла.", title,
                       MB_OK | MB_ICONWARNING);
        return false;
      }
      if (FOptions.Contains(ofCreatePrompt) &&
          ShowMessageBox(s + "\nЭтот файл не существует.\nСоздать его?", title, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    }
    if (IsSaveDialog() && exists && FOptions.Contains(ofOverwritePrompt) && (!OverwriteAsked || extended) &&
        ShowMessageBox(s + " уже существует.\nВы хотите заменить его?", title, MB_YESNO | MB_ICONWARNING) != IDYES)
      return false;
    full.push_back(s);
  }
  // OnCanClose sees the new names; when it refuses, the old ones come back.
  std::string oldName = FFileName;
  std::string oldFiles = FFiles->GetText();
  int oldFilter = FFilterIndex;
  FFileName = full.front();
  FFiles->Clear();
  for (const std::string& s : full) FFiles->Add(s);
  if (ChosenFilter > 0) FFilterIndex = ChosenFilter;
  bool canClose = true;
  if (OnCanClose) OnCanClose(this, canClose);
  if (!canClose) {
    FFileName = oldName;
    FFiles->SetText(oldFiles);
    FFilterIndex = oldFilter;
    return false;
  }
  FLastFolder = fs::path(full.front()).parent_path().string();
  return true;
}

bool TOpenDialog::AcceptAnswers(const TFileDialogRequest& Request,
                                const std::function<bool(TFileDialogAnswer&)>& Source, bool OverwriteAsked) {
  // A source that keeps answering refused names is taken as cancelling.
  for (int attempt = 0; attempt < 100; ++attempt) {
    TFileDialogAnswer answer;
    if (!Source(answer)) return false;
    int count = int(ParseFilter(FFilter).size());
    int chosen = (answer.FilterIndex >= 1 && answer.FilterIndex <= count) ? answer.FilterIndex : 0;
    if (AcceptNames(answer.Files, Request.InitialDir, chosen, OverwriteAsked)) return true;
  }
  return false;
}

bool TOpenDialog::ExecuteDesktopChooser(const TFileDialogRequest& Request, bool& Chosen) {
  bool first = true, offered = false;
  bool chosen = AcceptAnswers(
      Request,
      [&](TFileDialogAnswer& answer) {
        TPortalOutcome outcome = AskDesktopFileChooser(Request, answer);
        if (first) offered = outcome != TPortalOutcome::Unavailable;
        first = false;
        return outcome == TPortalOutcome::Chosen;
      },
      true);
  if (offered) Chosen = chosen;
  return offered;
}

bool TOpenDialog::Execute() {
  TFileDialogRequest request = MakeRequest();
  DoShow();
  bool ok = false;
  try {
    // A test's handler answers first; then the desktop's own chooser; the layer's window
    // stands in when the desktop has none.
    if (FileHandler()) ok = AcceptAnswers(request, [&](TFileDialogAnswer& a) { return FileHandler()(request, a); }, false);
    else if (!ExecuteDesktopChooser(request, ok)) ok = ExecuteWindow(request);
  } catch (...) {
    DoClose();
    throw;
  }
  DoClose();
  return ok;
}

static const bool kDialogsRegistered = [] {
  SetMessageBoxFallback(ShowMessageWindow);
  RegisterClasses({TOpenDialog::StaticClass(), TSaveDialog::StaticClass()});
  return true;
}();
