// The memo drop-down: the shown first line, the memo's keys and the copy on closing.
#include "editors/DizMemoDropDown.h"

#include "platform/gdi/DeviceContext.h"

namespace DizDropDown {

namespace {
bool AltDown() { return (GetKeyState(VK_MENU) & 0x8000) != 0; }
}  // namespace

TDizMemoDropDown::TDizMemoDropDown(TComponent* AOwner)
    : TDizCustomDropDown(AOwner), FMemoText(std::make_unique<TStringList>()) {
  FMemoText->OnChange = [this](TObject* Sender) { MemoTextChanged(Sender); };
  if (DropDownForm() && !FMemo) CreateDropDownForm();
}

TDizMemoDropDown::~TDizMemoDropDown() { FMemoText->OnChange = nullptr; }

void TDizMemoDropDown::CreateDropDownForm() {
  TDizCustomDropDown::CreateDropDownForm();
  if (FMemo || !FDropDownForm) return;
  FMemo = new TMemo(this);
  FMemo->SetParent(FDropDownForm);
  FMemo->SetHeight(100);
  FMemo->SetBorderStyle(bsNone);
  FMemo->OnChange = [this](TObject*) {
    if (OnMemoChange) OnMemoChange(this);
  };
  FMemo->OnKeyDown = [this](TObject* Sender, WORD& Key, TShiftState Shift) {
    OnDropDownControlKeyDown(Sender, Key, Shift);
  };
  SetControl(FMemo);
}

void TDizMemoDropDown::BeforeDropDown() {
  TDizCustomDropDown::BeforeDropDown();
  if (!FMemo) return;
  FDropDownForm->CancelOnDeactivate = false;
  FMemo->Lines()->Assign(FMemoText.get());
  FMemo->SetPopupMenu(FMemoPopup);
  FMemo->SetScrollBars(FMemoScrollBars);
  FMemo->SetReadOnly(FMemoReadOnly);
}

void TDizMemoDropDown::DoHideDropDown(bool Cancelled) {
  if (Cancelled && FMemo) FMemo->Lines()->Assign(FMemoText.get());
  TDizCustomDropDown::DoHideDropDown(Cancelled);
}

void TDizMemoDropDown::OnHideDropDown(TObject* Sender) {
  TDizCustomDropDown::OnHideDropDown(Sender);
  if (FMemo) FMemoText->Assign(FMemo->Lines());
}

void TDizMemoDropDown::SetMemoReadOnly(bool Value) {
  FMemoReadOnly = Value;
  if (FMemo && DroppedDown()) FMemo->SetReadOnly(Value);
}

void TDizMemoDropDown::Change() {
  // The edit showing the shortened first line (as a cancelled close restores it) is no
  // typed text: writing it back would replace every line by it.
  if (!FUpdating && GetText() != FShown) FMemoText->SetText(GetText());
  TDizCustomDropDown::Change();
}

void TDizMemoDropDown::MemoTextChanged(TObject*) {
  std::string s;
  if (FMemoText->Count() > 0) {
    s = FMemoText->Strings(0);
    if (HandleAllocated()) {
      HDC dc = GetDC(Handle());
      TCanvas c;
      c.SetHandle(dc);
      c.Font()->Assign(Font());
      int w = GetEditRect().Width();
      if (GetTextSize(&c, s).cx < w) {
        if (FMemoText->Count() > 1) s += "...";
      } else {
        s = GetTextOfSize(&c, s, w, true);
      }
      c.SetHandle(nullptr);
      ReleaseDC(Handle(), dc);
    } else if (FMemoText->Count() > 1) {
      s += "...";
    }
  }
  FShown = s;
  FUpdating = true;
  try {
    SetTextDirect(s);
  } catch (...) {
    FUpdating = false;
    throw;
  }
  FUpdating = false;
}

void TDizMemoDropDown::OnDropDownControlKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) {
  if (AltDown() || Key == VK_ESCAPE || Key == VK_F4) {
    TDizCustomDropDown::OnDropDownControlKeyDown(Sender, Key, Shift);
    return;
  }
  if ((Key == 'A' || Key == 'a') && Shift.Contains(ssCtrl) && FMemo) FMemo->SelectAll();
}

void TDizMemoDropDown::OnDropDownControlKeyUp(TObject* Sender, WORD& Key, TShiftState Shift) {
  if (AltDown() || Key == VK_ESCAPE || Key == VK_F4) TDizCustomDropDown::OnDropDownControlKeyUp(Sender, Key, Shift);
}

void TDizMemoDropDown::OnDropDownControlKeyPress(TObject* Sender, char32_t& Key) {
  if (Key == 27 || AltDown()) TDizCustomDropDown::OnDropDownControlKeyPress(Sender, Key);
}

}  // namespace DizDropDown
