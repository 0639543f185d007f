#include "editors/DizTimePickerDropDown.h"

#include <cmath>
#include <cstdio>

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

namespace DizDropDown {

namespace {
std::string Two(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}
// A part typed into the text: empty (0) or digits only; -1 when neither.
int TypedPart(const std::string& Text, size_t Pos) {
  std::string part = Pos < Text.size() ? Text.substr(Pos, 2) : std::string();
  while (!part.empty() && part.front() == ' ') part.erase(part.begin());
  while (!part.empty() && part.back() == ' ') part.pop_back();
  int v = 0;
  for (char c : part) {
    if (c < '0' || c > '9') return -1;
    v = v * 10 + (c - '0');
  }
  return v;
}
}  // namespace

TDizTimePickerDropDown::TDizTimePickerDropDown(TComponent* AOwner)
    : TDizCustomDropDown(AOwner),
      FWatchAppearance(std::make_unique<TWatchAppearance>()),
      FWatchSettings(std::make_unique<TWatchSettings>()) {
  // The base made the pop-up before this class existed: add the clock now.
  if (!ComponentState().Contains(csDesigning)) CreateDropDownForm();
  FShowTimePicker = false;
  SetEditorEnabled(false);
  SetDropDownEnabled(true);
  FShowSeconds = true;
  FTextUpdate = true;
  SetEditMask(MaskFor(true));
  WriteText(GetFormattedTimeString(0, 0, 0, true));
  FTextUpdate = false;
  FWatchAppearance->OnChange = [](TObject*) {};
  DropDownHeader()->Visible = false;
  DropDownFooter()->Visible = false;
}

TDizTimePickerDropDown::~TDizTimePickerDropDown() = default;

void TDizTimePickerDropDown::WndProc(TMessage& Message) {
  // Without a typable editor the base stops Up and Down after its own handling; this
  // editor steps the field under the caret with them.
  if (Message.Msg == WM_KEYDOWN && !EditorEnabled() && (Message.WParam == VK_UP || Message.WParam == VK_DOWN)) {
    TDizCustomDropDown::WndProc(Message);
    WORD key = WORD(Message.WParam);
    KeyDown(key, KeyDataToShiftState(Message.LParam));
    return;
  }
  TDizCustomDropDown::WndProc(Message);
}

std::string TDizTimePickerDropDown::MaskFor(bool Seconds) const {
  std::string sep(1, FormatSettings().TimeSeparator);
  return Seconds ? "!90" + sep + "00" + sep + "00;1; " : "!90" + sep + "00;1; ";
}

std::string TDizTimePickerDropDown::GetFormattedTimeString(int Hour, int Minute, int Second, bool Seconds) {
  std::string sep(1, FormatSettings().TimeSeparator);
  std::string s = Two(Hour) + sep + Two(Minute);
  if (Seconds) s += sep + Two(Second);
  return s;
}

void TDizTimePickerDropDown::WriteText(const std::string& Text) { SetTextDirect(Text); }

void TDizTimePickerDropDown::SetText(const std::string& Value) { TDizCustomDropDown::SetText(Value); }

void TDizTimePickerDropDown::SetTime(TDateTime Value) {
  if (Value == FTime) return;
  FTime = Value;
  int h, m, s, ms;
  DecodeTime(FTime, h, m, s, ms);
  bool was = FTextUpdate;
  FTextUpdate = true;
  WriteText(GetFormattedTimeString(h, m, s, FShowSeconds));
  FTextUpdate = was;
}

void TDizTimePickerDropDown::SetShowSeconds(bool Value) {
  if (FShowSeconds == Value) return;
  FShowSeconds = Value;
  FTextUpdate = true;
  SetEditMask("");
  SetEditMask(MaskFor(Value));
  FTextUpdate = false;
  TDateTime t = FTime;
  FTime = t + 1;  // forces the setter to write the text in the new form
  SetTime(t);
}

void TDizTimePickerDropDown::SetHour(int H) {
  int h, m, s, ms;
  DecodeTime(FTime, h, m, s, ms);
  if (H == h || H < 0 || H > 23) return;
  SetTime(std::trunc(FTime) + EncodeTime(H, m, s, ms));
  if (OnTimeChange) OnTimeChange(this);
}

void TDizTimePickerDropDown::SetMinute(int M) {
  int h, m, s, ms;
  DecodeTime(FTime, h, m, s, ms);
  if (M == m || M < 0 || M > 59) return;
  SetTime(std::trunc(FTime) + EncodeTime(h, M, s, ms));
  if (OnTimeChange) OnTimeChange(this);
}

void TDizTimePickerDropDown::SetSecond(int S) {
  int h, m, s, ms;
  DecodeTime(FTime, h, m, s, ms);
  if (S == s || S < 0 || S > 59) return;
  SetTime(std::trunc(FTime) + EncodeTime(h, m, S, ms));
  if (OnTimeChange) OnTimeChange(this);
}

void TDizTimePickerDropDown::SetComponentStyle(DUZERazav Style) { FWatchAppearance->ApplyStyle(Style); }

// ---- pop-up ---------------------------------------------------------------------------

void TDizTimePickerDropDown::CreateDropDownForm() {
  TDizCustomDropDown::CreateDropDownForm();
  if (!FWatchAppearance) return;  // called from the base constructor: content comes later
  if (!FPanel) {
    FPanel = new TPanel(this);
    FPanel->SetParent(DropDownForm());
    FPanel->SetBevelInner(bvNone);
    FPanel->SetBevelOuter(bvNone);
    FPanel->SetBorderWidth(0);
    FPanel->SetBounds(0, 0, FPanel->Width(), 180);
  }
  if (!FWatch) {
    FWatch = new TDizWatch(this);
    FWatch->SetParent(FPanel);
    FWatch->SetAlign(alClient);
  }
  SetControl(FPanel);
}

void TDizTimePickerDropDown::BeforeDropDown() {
  TDizCustomDropDown::BeforeDropDown();
  FPanel->SetAlign(alNone);  // sized here; the pop-up aligns it again when it lays out
  FPanel->SetBounds(FPanel->Left(), FPanel->Top(), 170, 170);
  DropDownForm()->SetWidth(DropDownForm()->Width() + 1);
  DropDownForm()->SetWidth(DropDownForm()->Width() - 1);
  DropDownForm()->CancelOnDeactivate = false;
  FPanel->SetColor(DropDownColor);
  FWatch->SetAppearance(FWatchAppearance.get());
  FWatch->SetSettings(FWatchSettings.get());
  FWatch->SetShowAMPM(ShowWatchAMPM);
  FWatch->SetShowNumbers(ShowWatchNumbers);
  FWatch->SetAnimation(Animation);
  FWatch->SetAnimationFactor(AnimationFactor);
  FWatch->OnChange = nullptr;
  if (!FWatchSettings->Auto()) FWatch->SetTime(FTime);
  FWatch->OnChange = [this](TObject* s) { WatchChanged(s); };
  if (FShowTimePicker) {
    if (!FTimePicker) {
      FTimePicker = new TDateTimePicker(this);
      FTimePicker->SetParent(FPanel);
      FTimePicker->SetKind(dtkTime);
    }
    FTimePicker->OnChange = nullptr;
    FTimePicker->SetAlign(alBottom);
    FTimePicker->Show();
    FTimePicker->SetTime(FTime);
    FTimePicker->BringToFront();
    FTimePicker->OnChange = [this](TObject* s) { PickerChanged(s); };
    FTimePicker->OnKeyDown = [this](TObject* s, WORD& k, TShiftState sh) { TDizCustomDropDown::OnDropDownControlKeyDown(s, k, sh); };
    FTimePicker->OnKeyUp = [this](TObject* s, WORD& k, TShiftState sh) { TDizCustomDropDown::OnDropDownControlKeyUp(s, k, sh); };
    FTimePicker->OnKeyPress = [this](TObject* s, char32_t& k) { TDizCustomDropDown::OnDropDownControlKeyPress(s, k); };
    FTimePicker->SetFormat(FShowSeconds ? "HH:mm:ss" : "HH:mm");
    FPanel->SetHeight(FTimePicker->Height() + 170);
  } else if (FTimePicker) {
    FTimePicker->Hide();
  }
}

void TDizTimePickerDropDown::WatchChanged(TObject*) {
  if (FTimePicker && FShowTimePicker && FTimePicker->Time() != TimeOf(FWatch->Time())) {
    FTimePicker->SetTime(FWatch->Time());
    if (OnTimeChange) OnTimeChange(this);
  }
  SetTime(FWatch->Time());
}

void TDizTimePickerDropDown::PickerChanged(TObject*) {
  if (FTimePicker && FWatch && !FWatchSettings->Auto()) FWatch->SetTime(FTimePicker->Time());
}

void TDizTimePickerDropDown::DoHideDropDown(bool Cancelled) {
  TDizCustomDropDown::DoHideDropDown(Cancelled);
  if (!FWatch) return;
  if (Cancelled) FWatch->SetTime(FTime);
  else SetTime(FWatch->Time());
}

void TDizTimePickerDropDown::OnHideDropDown(TObject* Sender) {
  TDizCustomDropDown::OnHideDropDown(Sender);
  if (FWatch) SetTime(FWatch->Time());
}

namespace {
bool PageOrArrow(WORD Key) { return Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN; }
}  // namespace

void TDizTimePickerDropDown::OnDropDownFormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) {
  if (!PageOrArrow(Key) || Shift.Contains(ssAlt)) TDizCustomDropDown::OnDropDownFormKeyDown(Sender, Key, Shift);
  if (DropDownForm() && DropDownForm()->Visible() && FWatch) FWatch->HandleKey(Key);
}

void TDizTimePickerDropDown::OnDropDownFormKeyUp(TObject* Sender, WORD& Key, TShiftState Shift) {
  if (!PageOrArrow(Key) || Shift.Contains(ssAlt)) TDizCustomDropDown::OnDropDownFormKeyUp(Sender, Key, Shift);
}

void TDizTimePickerDropDown::OnDropDownControlKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) {
  if (!PageOrArrow(Key) || Shift.Contains(ssAlt)) TDizCustomDropDown::OnDropDownControlKeyDown(Sender, Key, Shift);
}

void TDizTimePickerDropDown::OnDropDownControlKeyUp(TObject* Sender, WORD& Key, TShiftState Shift) {
  if (!PageOrArrow(Key) || Shift.Contains(ssAlt)) TDizCustomDropDown::OnDropDownControlKeyUp(Sender, Key, Shift);
}

void TDizTimePickerDropDown::OnDropDownControlKeyPress(TObject* Sender, char32_t& Key) {
  if ((Key == 33 || Key == 34 || Key == 38 || Key == 40) && GetKeyState(VK_MENU) >= 0) return;
  TDizCustomDropDown::OnDropDownControlKeyPress(Sender, Key);
}

// ---- the edit -------------------------------------------------------------------------

void TDizTimePickerDropDown::KeyDown(WORD& Key, TShiftState Shift) {
  // The masked edit's own arrow handling may take the key: the step reads it first.
  WORD pressed = Key;
  TDizCustomDropDown::KeyDown(Key, Shift);
  if (Shift.Contains(ssAlt) || Shift.Contains(ssCtrl) || GetKeyState(VK_MENU) < 0) return;
  if (pressed != VK_UP && pressed != VK_DOWN) return;
  std::string t = EditWindowText();
  int p = SelStart();
  char sep = FormatSettings().TimeSeparator;
  size_t first = t.find(sep);
  int h, m, s, ms;
  DecodeTime(FTime, h, m, s, ms);
  bool up = pressed == VK_UP;
  int caret = p;
  if (first == std::string::npos || p < int(first) + 1) {
    SetHour(up ? (h == 0 ? 23 : h - 1) : (h == 23 ? 0 : h + 1));
  } else {
    p -= int(first) + 1;
    t = t.substr(first + 1);
    size_t second = t.find(sep);
    if (second == std::string::npos || p < int(second) + 1) SetMinute(up ? (m == 0 ? 59 : m - 1) : (m == 59 ? 0 : m + 1));
    else SetSecond(up ? (s == 0 ? 59 : s - 1) : (s == 59 ? 0 : s + 1));
  }
  SetSelStart(caret);
  Key = 0;
}

void TDizTimePickerDropDown::Change() {
  TDizCustomDropDown::Change();
  std::string t = EditWindowText();
  if (t.empty() || FTextUpdate) return;
  int h = TypedPart(t, 0), m = TypedPart(t, 3), s = TypedPart(t, 6);
  if (h < 0 || m < 0 || s < 0) return;
  // An hour above 23 or a minute or second above 59 is refused: the time stays.
  if (h > 23 || m > 59 || s > 59) return;
  FTime = EncodeTime(h, m, s, 0);
  std::string shown = GetFormattedTimeString(h, m, s, FShowSeconds);
  if (shown != t) {
    FTextUpdate = true;
    SetText(shown);
    FTextUpdate = false;
  }
}

}  // namespace DizDropDown
