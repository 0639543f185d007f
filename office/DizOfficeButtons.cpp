// DizOfficeButtons, part 1: what both office buttons share and the office check box. The
// radio button is in DizOfficeButtonsRadio.cpp, the groups in DizOfficeButtonsGroups.cpp.
#include "office/DizOfficeButtons.h"

#include <algorithm>
#include <cctype>

#include "foundation/DizTBXPVS.h"
#include "foundation/DizThemeBinding.h"
#include "foundation/DizUtil.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Regions.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/WinUser.h"

// ---- shared routines ----------------------------------------------------------------------

namespace dizofficebuttons {

bool IsWinXPOrLater() {
  OSVERSIONINFO info;
  GetVersionEx(&info);
  return info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion >= 1);
}

void DrawDottedFocusRect(TCanvas* Canvas, const TRect& R, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  HDC dc = Canvas->GetHandle();
  LOGBRUSH lb{BS_SOLID, ColorToRGB(Color), 0};
  HPEN pen = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, nullptr);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, R.Left, R.Top, nullptr);
  LineTo(dc, R.Right, R.Top);
  MoveToEx(dc, R.Right, R.Top, nullptr);
  LineTo(dc, R.Right, R.Bottom);
  MoveToEx(dc, R.Right, R.Bottom, nullptr);
  LineTo(dc, R.Left, R.Bottom);
  MoveToEx(dc, R.Left, R.Top, nullptr);
  LineTo(dc, R.Left, R.Bottom);
  SelectObject(dc, old);
  DeleteObject(pen);
}

bool IsAccel(char32_t Key, const std::string& Caption) {
  std::size_t pos = 0;
  while (pos < Caption.size()) {
    const char32_t c = Utf8Next(Caption, pos);
    if (c != U'&' || pos >= Caption.size()) continue;
    const char32_t next = Utf8Next(Caption, pos);
    if (next == U'&') continue;  // "&&" is a literal ampersand
    return AnsiUpperCase(CodePointToUtf8(next)) == AnsiUpperCase(CodePointToUtf8(Key));
  }
  return false;
}

}  // namespace dizofficebuttons

using namespace dizofficebuttons;

namespace {
const TEnumInfo* LeftRightNames() {
  static const TEnumInfo* names = RegisterEnum("TLeftRight", {"taLeftJustify", "taRightJustify", "taCenter"});
  return names;
}
const TEnumInfo* LayoutNames() {
  static const TEnumInfo* names = RegisterEnum("TTextLayout", {"tlTop", "tlCenter", "tlBottom"});
  return names;
}
const TEnumInfo* CheckStateNames() {
  static const TEnumInfo* names = RegisterEnum("TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"});
  return names;
}

// Links the desktop may open; anything else is the application's business.
bool IsShellAnchor(const std::string& Anchor) {
  const std::string lower = LowerCase(Anchor);
  return lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0 || lower.rfind("mailto:", 0) == 0;
}
}  // namespace

// ---- the shared base ------------------------------------------------------------------------

void TDizOfficeButtonBase::Publish(TClassBuilder<TDizOfficeButtonBase>& P) {
  P.Enum("Alignment", LeftRightNames(), &TDizOfficeButtonBase::Alignment, &TDizOfficeButtonBase::SetAlignment)
      .Enum("ButtonVertAlign", LayoutNames(), &TDizOfficeButtonBase::ButtonVertAlign,
            &TDizOfficeButtonBase::SetButtonVertAlign, tlTop)
      .Int("DisabledFontColor", &TDizOfficeButtonBase::DisabledFontColor, &TDizOfficeButtonBase::SetDisabledFontColor,
           clGray)
      .Consts(ColorConsts())
      .Bool("Down", &TDizOfficeButtonBase::Down, &TDizOfficeButtonBase::SetDown, false)
      .Bool("Ellipsis", &TDizOfficeButtonBase::Ellipsis, &TDizOfficeButtonBase::SetEllipsis, false)
      .Component("Images", &TDizOfficeButtonBase::Images, &TDizOfficeButtonBase::SetImages)
      .Component("PictureContainer", &TDizOfficeButtonBase::PictureContainer,
                 &TDizOfficeButtonBase::SetPictureContainer)
      .Bool("ReturnIsTab", &TDizOfficeButtonBase::ReturnIsTab, &TDizOfficeButtonBase::SetReturnIsTab)
      .Int("ShadowColor", &TDizOfficeButtonBase::ShadowColor, &TDizOfficeButtonBase::SetShadowColor, clGray)
      .Consts(ColorConsts())
      .Int("ShadowOffset", &TDizOfficeButtonBase::ShadowOffset, &TDizOfficeButtonBase::SetShadowOffset, 1)
      .Bool("ShowFocus", &TDizOfficeButtonBase::ShowFocus, &TDizOfficeButtonBase::SetShowFocus, true)
      .Bool("Themed", &TDizOfficeButtonBase::Themed, &TDizOfficeButtonBase::SetThemed, false)
      .Int("URLColor", &TDizOfficeButtonBase::URLColor, &TDizOfficeButtonBase::SetURLColor, clBlue)
      .Consts(ColorConsts())
      .Str("Version", &TDizOfficeButtonBase::GetVersion, &TDizOfficeButtonBase::SetVersion)
      .Event("OnAnchorClick", &TDizOfficeButtonBase::OnAnchorClick)
      .Event("OnAnchorEnter", &TDizOfficeButtonBase::OnAnchorEnter)
      .Event("OnAnchorExit", &TDizOfficeButtonBase::OnAnchorExit);
}

TDizOfficeButtonBase::TDizOfficeButtonBase(TComponent* AOwner)
    : TCustomControl(AOwner), FPictureCache(std::make_unique<THTMLPictureCache>()) {
  FControlStyle -= csClickEvents;
}

TDizOfficeButtonBase::~TDizOfficeButtonBase() = default;

std::string TDizOfficeButtonBase::GetVersion() const {
  const uint32_t v = GetVersionNr();
  return std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 0xFF) + "." + std::to_string((v >> 8) & 0xFF) +
         "." + std::to_string(v & 0xFF);
}

void TDizOfficeButtonBase::SetAlignment(TLeftRight Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TDizOfficeButtonBase::SetButtonVertAlign(TTextLayout Value) {
  if (FButtonVertAlign == Value) return;
  FButtonVertAlign = Value;
  Invalidate();
}

void TDizOfficeButtonBase::SetCaption(const std::string& Value) {
  // The text is kept by the control until its window exists, so a caption can be given
  // at any time.
  SetText(Value);
  Invalidate();
}

void TDizOfficeButtonBase::SetEllipsis(bool Value) {
  if (FEllipsis == Value) return;
  FEllipsis = Value;
  Invalidate();
}

void TDizOfficeButtonBase::SetImages(TCustomImageList* Value) {
  if (FImages != Value) {
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages) FImages->FreeNotification(this);
  }
  Invalidate();
}

void TDizOfficeButtonBase::SetPictureContainer(TPictureContainer* Value) {
  if (FPictureContainer != Value) {
    if (FPictureContainer) FPictureContainer->RemoveFreeNotification(this);
    FPictureContainer = Value;
    if (FPictureContainer) FPictureContainer->FreeNotification(this);
  }
  Invalidate();
}

void TDizOfficeButtonBase::SetShadowColor(TColor Value) {
  if (FShadowColor == Value) return;
  FShadowColor = Value;
  Invalidate();
}

void TDizOfficeButtonBase::SetShadowOffset(int Value) {
  if (FShadowOffset == Value) return;
  FShadowOffset = Value;
  Invalidate();
}

void TDizOfficeButtonBase::SetThemed(bool Value) {
  if (FThemed == Value) return;
  FThemed = Value;
  Invalidate();
}

void TDizOfficeButtonBase::SetURLColor(TColor Value) {
  if (FURLColor != Value) FURLColor = Value;
  Invalidate();
}

void TDizOfficeButtonBase::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (HandleAllocated()) Repaint();
}

void TDizOfficeButtonBase::Loaded() {
  TCustomControl::Loaded();
  FSavedCursor = Cursor();
}

void TDizOfficeButtonBase::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (AComponent == FPictureContainer) FPictureContainer = nullptr;
}

bool TDizOfficeButtonBase::MarkupCall(const std::string& Text, const TRect& R, bool Measure, bool HeightOnly,
                                      TColor LinkColor, int HitX, int HitY, std::string& Anchor, int& Width,
                                      int& Height) {
  std::string stripped, focusAnchor;
  int linkCount = 0, mouseLink = 0;
  TRect hoverRect;
  Anchor.clear();
  return OfficeButtonsHTMLDrawEx(Canvas(), Text, R, FImages, HitX, HitY, -1, -1, FShadowOffset, Measure, HeightOnly,
                                 false, false, false, false, !FEllipsis, 1.0, LinkColor, clNone, clNone, FShadowColor,
                                 Anchor, stripped, focusAnchor, Width, Height, linkCount, mouseLink, hoverRect,
                                 FPictureCache.get(), FPictureContainer, 0);
}

void TDizOfficeButtonBase::DrawParentImage() {
  TWinControl* parent = Parent();
  if (!parent) return;
  HDC dc = Canvas()->GetHandle();
  const int saved = SaveDC(dc);
  POINT origin{};
  GetViewportOrgEx(dc, &origin);
  SetViewportOrgEx(dc, origin.x - Left(), origin.y - Top(), nullptr);
  IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
  parent->Perform(WM_ERASEBKGND, WPARAM(dc), 0);
  parent->Perform(WM_PAINT, WPARAM(dc), 0);
  RestoreDC(dc, saved);
  Canvas()->Refresh();
}

void TDizOfficeButtonBase::DrawCaption(TRect R, int& Width, int& Height) {
  std::string anchor;
  TCanvas* c = Canvas();
  if (Enabled()) {
    MarkupCall(Caption(), R, false, false, FURLColor, 0, 0, anchor, Width, Height);
    return;
  }
  const TColor fontColor = c->Font()->GetColor();
  R = TRect{R.Left + 1, R.Top + 1, R.Right + 1, R.Bottom + 1};
  c->Font()->SetColor(clWhite);
  MarkupCall(Caption(), R, false, false, clWhite, 0, 0, anchor, Width, Height);
  c->Font()->SetColor(FDisabledFontColor);
  R = TRect{R.Left - 1, R.Top - 1, R.Right - 1, R.Bottom - 1};
  MarkupCall(Caption(), R, false, false, clGray, 0, 0, anchor, Width, Height);
  (void)fontColor;
}

void TDizOfficeButtonBase::InvalidateGlyphStrip(int StripWidth) {
  if (!HandleAllocated()) return;
  RECT r{0, 0, ClientWidth(), ClientHeight()};
  if (FAlignment == taRightJustify) r.left = std::max(0, r.right - StripWidth);
  else r.right = std::min<int>(r.right, StripWidth);
  InvalidateRect(Handle(), &r, FALSE);
}

bool TDizOfficeButtonBase::UseTheme() const {
  if (!IsWinXPOrLater() || !FThemed) return false;
  TThemeBinding& binding = XPThemeBinding();
  if (!binding.CanDrawThemed()) return false;
  const int32_t version = GetFileVersion("COMCTL32.DLL");
  const int major = version == -1 ? 255 : (version >> 16) & 0xFF;
  return major > 5;
}

void TDizOfficeButtonBase::Press(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FMouseDownMarker = true;
  bool anchor = false;
  if (FFocusFlag) {
    anchor = HandleAnchorPress(X, Y);
  } else if (CanFocus() && !ComponentState().Contains(csDesigning)) {
    SetFocus();
    FFocusFlag = true;
  }
  if (anchor) return;
  TCustomControl::MouseDown(Button, Shift, X, Y);
  SetMouseCapture(true);
  FDown = true;
}

bool TDizOfficeButtonBase::HandleAnchorPress(int X, int Y) {
  if (!FFocusFlag) return false;
  const std::string anchor = IsAnchor(X, Y);
  if (anchor.empty()) return false;
  if (IsShellAnchor(anchor)) OpenHyperlink(anchor);
  else if (OnAnchorClick) OnAnchorClick(this, anchor);
  return true;
}

void TDizOfficeButtonBase::HandleAnchorMove(int X, int Y) {
  const std::string anchor = FFocusFlag ? IsAnchor(X, Y) : std::string();
  if (!anchor.empty()) {
    if (Cursor() == crDefault || anchor != FLastAnchor) {
      FLastAnchor = anchor;
      SetCursor(crHandPoint);
      if (OnAnchorEnter) OnAnchorEnter(this, anchor);
    }
  } else if (Cursor() == crHandPoint) {
    // The anchor that was left is reported, so a handler knows which one it was.
    const std::string left = FLastAnchor;
    FLastAnchor.clear();
    SetCursor(FSavedCursor);
    if (OnAnchorExit) OnAnchorExit(this, left);
  }
}

void TDizOfficeButtonBase::MouseMove(TShiftState Shift, int X, int Y) {
  if (MouseCapture()) FDown = X >= 0 && X <= Width() && Y >= 0 && Y <= Height();
  HandleAnchorMove(X, Y);
  TCustomControl::MouseMove(Shift, X, Y);
}

void TDizOfficeButtonBase::KeyDown(WORD& Key, TShiftState Shift) {
  if (Key == VK_RETURN && FReturnIsTab) {
    Key = VK_TAB;
    PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
  }
  if (Key == VK_SPACE) FDown = true;
  TCustomControl::KeyDown(Key, Shift);
}

std::string TDizOfficeButtonBase::IsAnchor(int X, int Y) {
  const TRect r = CaptionRect();
  std::string anchor;
  int w = 0, h = 0;
  if (MarkupCall(Caption(), r, true, false, FURLColor, X, Y, anchor, w, h)) return anchor;
  return std::string();
}

void TDizOfficeButtonBase::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;  // the control paints everything itself
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      FHot = Message.Msg == CM_MOUSEENTER;
      if (HandleAllocated() && Showing()) DrawGlyph();
      TCustomControl::WndProc(Message);
      return;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
      TCustomControl::WndProc(Message);
      Invalidate();
      return;
    default: TCustomControl::WndProc(Message);
  }
}

// ---- check box ------------------------------------------------------------------------------

TDizOfficeCheckBoxActionLink::TDizOfficeCheckBoxActionLink(TCustomDizOfficeCheckBox* AClient)
    : TControlActionLink(AClient), FBox(AClient) {}

void TDizOfficeCheckBoxActionLink::SetChecked(bool Value) { FBox->SetChecked(Value); }
void TDizOfficeCheckBoxActionLink::SetCaption(const std::string& Value) { FBox->SetCaption(Value); }

void TCustomDizOfficeCheckBox::Publish(TClassBuilder<TCustomDizOfficeCheckBox>& P) { (void)P; }

void TDizOfficeCheckBox::Publish(TClassBuilder<TDizOfficeCheckBox>& P) {
  P.Bool("Checked", &TDizOfficeCheckBox::GetChecked, &TDizOfficeCheckBox::SetChecked, false)
      .Bool("ReadOnly", &TDizOfficeCheckBox::ReadOnly, &TDizOfficeCheckBox::SetReadOnly, false)
      .Enum("State", CheckStateNames(), &TDizOfficeCheckBox::State, &TDizOfficeCheckBox::SetState, cbUnchecked);
}

TCustomDizOfficeCheckBox::TCustomDizOfficeCheckBox(TComponent* AOwner) : TDizOfficeButtonBase(AOwner) {
  SetBounds(0, 0, 120, 20);
}

std::unique_ptr<TControlActionLink> TCustomDizOfficeCheckBox::CreateActionLink() {
  return std::make_unique<TDizOfficeCheckBoxActionLink>(this);
}

void TCustomDizOfficeCheckBox::SetState(TCheckBoxState Value) {
  if (FState != Value) FState = Value;
  if (HandleAllocated() && Parent()) InvalidateGlyphStrip(20);
}

void TCustomDizOfficeCheckBox::SetChecked(bool Value) {
  SetState(Value ? cbChecked : cbUnchecked);
  Invalidate();
}

void TCustomDizOfficeCheckBox::Toggle() {
  if (!FReadOnly) SetChecked(!GetChecked());
}

void TCustomDizOfficeCheckBox::ActionChange(TObject* Sender, bool CheckDefaults) {
  TDizOfficeButtonBase::ActionChange(Sender, CheckDefaults);
  if (auto* action = dynamic_cast<TCustomAction*>(Sender)) {
    SetCaption(action->Caption());
    SetChecked(action->Checked());
    SetEnabled(action->Enabled());
  }
}

TRect TCustomDizOfficeCheckBox::CaptionRect() {
  TRect r = ClientRect();
  if (FAlignment == taRightJustify) {
    r.Left = 0;
    r.Right -= 16;
  } else {
    r.Left += 16;
  }
  r.Top += 4;
  return r;
}

void TCustomDizOfficeCheckBox::Paint() {
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  if (FPaintParent || IsWinXPOrLater()) DrawParentImage();
  DrawGlyph();
  TRect r = CaptionRect();
  std::string anchor;
  int w = 0, h = 0;
  MarkupCall(Caption(), r, true, false, FURLColor, 0, 0, anchor, w, h);
  DrawCaption(r, w, h);
  if (FFocusFlag && TabStop() && FShowFocus)
    DrawDottedFocusRect(c, TRect{r.Left, r.Top, r.Left + w + 3, r.Top + h}, c->Font()->GetColor());
}

void TCustomDizOfficeCheckBox::DrawGlyph() {
  TCanvas* c = Canvas();
  HDC dc = c->GetHandle();
  if (!dc) return;
  const bool right = FAlignment == taRightJustify;
  if (UseTheme()) {
    int top = 0;
    switch (FButtonVertAlign) {
      case tlTop: top = (c->TextHeight("gh") - 16) / 2 + 4; break;
      case tlCenter: top = ClientHeight() / 2 - 8; break;
      case tlBottom: top = ClientHeight() - 16; break;
    }
    const int left = right ? ClientWidth() - 17 : 0;
    TThemeBinding& theme = XPThemeBinding();
    if (HTHEME h = theme.OpenThemeData(Handle(), u"button")) {
      static const int kStates[3][4] = {{4, 3, 3, 1}, {8, 7, 7, 5}, {12, 11, 10, 9}};
      const int column = !Enabled() ? 0 : FDown ? 1 : FHot ? 2 : 3;
      RECT r{left, top, left + 16, top + 16};
      theme.DrawThemeBackground(h, dc, 3, kStates[FState][column], &r, nullptr);
      theme.CloseThemeData(h);
      return;
    }
  }
  const bool checked = FState == cbChecked;
  std::string name = checked ? "DIZOFCC" : "DIZOFCU";
  if (FDown) name += "D";
  else if (FHot) name += "H";
  TBitmap bitmap;
  bitmap.LoadFromResourceName(nullptr, name);
  bitmap.SetTransparent(true);
  int top = 0;
  switch (FButtonVertAlign) {
    case tlTop: top = (c->TextHeight("gh") - bitmap.GetHeight()) / 2 + 4; break;
    case tlCenter: top = ClientHeight() / 2 - bitmap.GetHeight() / 2; break;
    case tlBottom: top = ClientHeight() - bitmap.GetHeight(); break;
  }
  const int left = right ? ClientWidth() - bitmap.GetWidth() - 1 : 0;
  c->Draw(left, top, &bitmap);
}

void TCustomDizOfficeCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  Press(Button, Shift, X, Y);
  InvalidateGlyphStrip(16);
}

void TCustomDizOfficeCheckBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  SetMouseCapture(false);
  FDown = false;
  if (X >= 0 && X <= Width() && Y >= 0 && Y <= Height() && FFocusFlag && FMouseDownMarker) {
    Toggle();
    Click();
  }
  TDizOfficeButtonBase::MouseUp(Button, Shift, X, Y);
  InvalidateGlyphStrip(16);
  FMouseDownMarker = false;
}

void TCustomDizOfficeCheckBox::KeyUp(WORD& Key, TShiftState) {
  if (Key != VK_SPACE) return;
  FDown = false;
  Toggle();
  Click();
}

void TCustomDizOfficeCheckBox::DoEnter() {
  TDizOfficeButtonBase::DoEnter();
  FFocusFlag = true;
  if (FShowFocus) Repaint();
  else InvalidateGlyphStrip(16);
}

void TCustomDizOfficeCheckBox::DoExit() {
  TDizOfficeButtonBase::DoExit();
  FFocusFlag = false;
  const bool saved = FPaintParent;
  FPaintParent = true;
  Repaint();
  FPaintParent = saved;
}

void TCustomDizOfficeCheckBox::WndProc(TMessage& Message) {
  if (Message.Msg == CM_DIALOGCHAR) {
    if (IsAccel(char32_t(Message.WParam), Caption()) && CanFocus()) {
      Toggle();
      if (OnClick) OnClick(this);
      if (TabStop() && CanFocus() && !ComponentState().Contains(csDesigning)) SetFocus();
      Message.Result = 1;
      return;
    }
  }
  TDizOfficeButtonBase::WndProc(Message);
}
