#include "editors/DizDateTimePicker.h"

#include <cmath>

#include "editors/DizDropDownEditor.h"
#include "foundation/DizStyleIF.h"
#include "platform/gdi/Gdi.h"

namespace DizDropDown {

UINT DTPShiftFocusMessage() {
  static const UINT message = WORD(RegisterWindowMessage("DTPShiftFocus"));
  return message;
}
namespace {
const UINT kRegistered = DTPShiftFocusMessage();  // registered once when the unit starts
}

// ---- the flat picker with AutoTab -----------------------------------------------------

TCustomDateTimePicker::TCustomDateTimePicker(TComponent* AOwner) : TDateTimePicker(AOwner) {
  SetDoubleBuffered(true);
  SetParentCtl3D(false);
  SetCtl3D(false);
  FThemedControls = ((unsigned(GetFileVersion("COMCTL32.DLL")) >> 16) & 0xFF) > 5;
}

void TCustomDateTimePicker::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  Invalidate();
}

void TCustomDateTimePicker::SetBorderColor(TColor Value) {
  if (FBorderColor == Value) return;
  FBorderColor = Value;
  Invalidate();
}

TColor TCustomDateTimePicker::OutlineColor() const {
  if (FBorderStyle == bsNone) return Parent() ? Parent()->Brush()->GetColor() : clBtnFace;
  return FThemedControls ? TColor(0xB99D7F) : FBorderColor;
}

void TCustomDateTimePicker::Paint() {
  TDateTimePicker::Paint();
  if (Ctl3D()) return;
  TCanvas* c = Canvas();
  int w = Width(), h = Height();
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetColor(OutlineColor());
  c->MoveTo(0, h);
  c->LineTo(0, 0);
  c->LineTo(w - 1, 0);
  c->LineTo(w - 1, h - 1);
  c->LineTo(0, h - 1);
  if (Parent() && (FBorderStyle == bsNone || FBorderStyle == bsSingle)) {
    c->Pen()->SetColor(Parent()->Brush()->GetColor());
    c->MoveTo(1, h - 2);
    c->LineTo(1, 1);
    c->LineTo(w - 1, 1);
  }
}

void TCustomDateTimePicker::SaveBeforeDigit() {
  int h, m, s, ms;
  DecodeTime(DateTime(), h, m, s, ms);
  FSavedHour = WORD(h);
  FSavedMinute = WORD(m);
  FSavedSecond = WORD(s);
  FSavedMSec = WORD(ms);
}

void TCustomDateTimePicker::KeyPress(char32_t& Key) {
  bool digit = Key >= '0' && Key <= '9' && FAutoTab;
  if (digit) SaveBeforeDigit();
  TDateTimePicker::KeyPress(Key);
  if (digit && HandleAllocated()) PostMessage(Handle(), DTPShiftFocusMessage(), 0, 0);
}

void TCustomDateTimePicker::WndProc(TMessage& Message) {
  if (Message.Msg == DTPShiftFocusMessage()) ShiftFocus();
  TDateTimePicker::WndProc(Message);
}

void TCustomDateTimePicker::ShiftFocus() {
  if (TDateTimePicker::Kind() != dtkTime) return;
  int h, m, s, ms;
  DecodeTime(DateTime(), h, m, s, ms);
  if (h != FSavedHour || m != FSavedMinute || s != FSavedSecond) PostMessage(Handle(), WM_KEYDOWN, VK_RIGHT, 0);
}

// ---- date and time together -----------------------------------------------------------

TDizDateTimePicker::TDizDateTimePicker(TComponent* AOwner) : TCustomDateTimePicker(AOwner) {
  FDizKind = dkDateTime;
  FBorderStyle = bsSingle;
  SetCtl3D(true);
  FRefocusTimer = std::make_unique<TTimer>(nullptr);
  FRefocusTimer->SetEnabled(false);
  FRefocusTimer->SetInterval(20);
  FRefocusTimer->SetOnTimer([this](TObject*) { FRefocusTimer->SetEnabled(false); });
}

TDizDateTimePicker::~TDizDateTimePicker() { FRefocusTimer.reset(); }

void TDizDateTimePicker::CreateTimePicker() {
  if (FTimePicker) return;
  FTimePicker = new TCustomDateTimePicker(this);
  if (!(ComponentState().Contains(csLoading) && ComponentState().Contains(csDesigning))) FTimePicker->SetParent(this);
  FTimePicker->SetBounds(0, 0, 90, 17);
  FTimePicker->SetVisible(false);
  FTimePicker->SetEnabled(Enabled());
  FTimePicker->TDateTimePicker::SetKind(dtkTime);
  FTimePicker->SetAutoTab(AutoTab());
  FTimePicker->OnChange = [this](TObject* s) { TimePickerChanged(s); };
  FTimePicker->OnClick = [this](TObject* s) { TimePickerClicked(s); };
  FTimePicker->OnKeyPress = [this](TObject* s, char32_t& k) { TimePickerKeyPress(s, k); };
  FTimePicker->OnKeyDown = [this](TObject*, WORD& k, TShiftState sh) {
    if (OnKeyDown) OnKeyDown(this, k, sh);
  };
}

void TDizDateTimePicker::SetKind(TDizDateTimeKind Value) {
  if (Value == FDizKind) return;
  FDizKind = Value;
  TDateTimePicker::SetKind(Value == dkTime ? dtkTime : dtkDate);
  if (Value == dkDateTime) CreateTimePicker();
  UpdateTimePicker();
}

void TDizDateTimePicker::CreateWnd() {
  TCustomDateTimePicker::CreateWnd();
  TDizDateTimeKind k = FDizKind;
  FDizKind = dkDate;
  SetKind(k);
}

void TDizDateTimePicker::Loaded() {
  TCustomDateTimePicker::Loaded();
  if (ComponentState().Contains(csDesigning)) return;
  CreateTimePicker();
  UpdateTimePicker();
}

TDateTime TDizDateTimePicker::GetDateTimeEx() {
  if (FTimePicker) SetTime(FTimePicker->Time());
  return DateTime();
}

void TDizDateTimePicker::SetDateTimeEx(TDateTime Value) {
  int h, m, s, ms;
  DecodeTime(Value, h, m, s, ms);
  double day = std::trunc(Value);
  double t = EncodeTime(h, m, s, 0);
  TDateTime v = day >= 0 ? day + t : day - t;
  SetDateTime(v);
  CreateTimePicker();
  FTimePicker->SetDateTime(v);
}

TDateTime TDizDateTimePicker::GetTimeEx() {
  if (FDizKind == dkDateTime && FTimePicker) return FTimePicker->Time();
  return Time();
}

void TDizDateTimePicker::SetTimeEx(TDateTime Value) {
  SetTime(Value);
  UpdateTimePicker();
}

void TDizDateTimePicker::SetTimeFormat(const std::string& Value) {
  if (FTimePicker) FTimePicker->SetFormat(Value);
  FTimeFormat = Value;
  UpdateTimePicker();
}

void TDizDateTimePicker::SetAutoTab(bool Value) {
  TCustomDateTimePicker::SetAutoTab(Value);
  if (FTimePicker) FTimePicker->SetAutoTab(Value);
}

void TDizDateTimePicker::SetBorderStyle(TBorderStyle Value) {
  TCustomDateTimePicker::SetBorderStyle(Value);
  UpdateTimePicker();
}

void TDizDateTimePicker::Resize() {
  TCustomDateTimePicker::Resize();
  UpdateTimePicker();
}

void TDizDateTimePicker::UpdateTimePicker() {
  if (!FTimePicker) return;
  if (FTimePicker->Parent() != this) FTimePicker->SetParent(this);
  FTimePicker->SetColor(Color());
  FTimePicker->SetEnabled(Enabled());
  FTimePicker->SetVisible(FDizKind == dkDateTime);
  FTimePicker->SetTime(GetTimeEx());
  FTimePicker->SetDateTime(GetDateTimeEx());
  FTimePicker->SetFormat(FTimeFormat);
  FTimePicker->SetFont(Font());
  if (!FTimePicker->Visible() && ComponentState().Contains(csDesigning)) {
    delete FTimePicker;
    FTimePicker = nullptr;
    return;
  }
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  std::string text = FTimePicker->ShownText().substr(0, 255);
  int pw = c->TextWidth(text) + 31;
  int w = Width(), h = Height();
  if (IsVista()) {
    int e = 0;  // the control draws no bevel of its own
    if (ThemedControls()) FTimePicker->SetBounds(w - pw - e - 34, 1, pw, h - e - 2);
    else FTimePicker->SetBounds(w - pw - e - 23, -2, pw, h - e);
  } else {
    FTimePicker->SetBounds(w - pw - 21, -2, pw, h);
  }
}

void TDizDateTimePicker::TimePickerChanged(TObject*) {
  if (OnChange) OnChange(this);
  if (OnTimeChange) OnTimeChange(this);
}

void TDizDateTimePicker::TimePickerClicked(TObject*) {
  if (OnClick) OnClick(this);
}

void TDizDateTimePicker::SaveBeforeDigit() {
  int y, m, d;
  DecodeDate(GetDateTimeEx(), y, m, d);
  FSavedYear = WORD(y);
  FSavedMonth = WORD(m);
  FSavedDay = WORD(d);
  TCustomDateTimePicker::SaveBeforeDigit();
}

void TDizDateTimePicker::ShiftFocus() {
  int y, m, d;
  DecodeDate(GetDateTimeEx(), y, m, d);
  bool dayChanged = d != FSavedDay, monthChanged = m != FSavedMonth, yearChanged = y != FSavedYear;
  auto toTime = [&] {
    if (FTimePicker && FTimePicker->Visible() && FTimePicker->CanFocus()) FTimePicker->SetFocus();
  };
  auto right = [&] { PostMessage(Handle(), WM_KEYDOWN, VK_RIGHT, 0); };
  if (Format().empty()) {
    if (dayChanged || monthChanged) right();
    else if (yearChanged) toTime();
    return;
  }
  char last = Format().back();
  bool lastChanged = ((last == 'D' || last == 'd') && dayChanged) || ((last == 'M' || last == 'm') && monthChanged) ||
                     ((last == 'Y' || last == 'y') && yearChanged);
  if (lastChanged) toTime();
  else if (dayChanged || monthChanged || yearChanged) right();
}

void TDizDateTimePicker::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
      if (hdr && int(hdr->code) == DTN_DATETIMECHANGE && ShowCheckbox()) {
        TFieldKind k = SelectedKind();
        if (k == fkYear || k == fkMonth || k == fkDay) FRefocusTimer->SetEnabled(true);
      }
      break;
    }
    case CM_ENABLEDCHANGED:
      if (FTimePicker) FTimePicker->SetEnabled(Enabled());
      break;
    case CM_COLORCHANGED:
      TCustomDateTimePicker::WndProc(Message);
      UpdateTimePicker();
      return;
    case CM_CTL3DCHANGED: Invalidate(); break;
    default: break;
  }
  TCustomDateTimePicker::WndProc(Message);
}

}  // namespace DizDropDown
