// The track bar drop-down: range, position, keys and mouse dragging over the edit.
#include "editors/DizTrackBarDropDown.h"

#include <string>

#include "platform/rtl/SysUtils.h"
#include "platform/vcl/ComCtrls.h"

namespace DizDropDown {

TDizTrackBarDropDown::TDizTrackBarDropDown(TComponent* AOwner) : TDizCustomDropDown(AOwner) {
  // The base's constructor made the pop-up before this class existed: add the bar now.
  if (DropDownForm() && !FTrackBar) CreateDropDownForm();
  SetEditorEnabled(false);
  SetDropDownEnabled(true);
  SetEditType(etNumeric);
  DropDownHeader()->Visible = false;
  DropDownFooter()->Visible = false;
}

TDizTrackBarDropDown::~TDizTrackBarDropDown() = default;

void TDizTrackBarDropDown::CreateDropDownForm() {
  TDizCustomDropDown::CreateDropDownForm();
  if (FTrackBar || !FDropDownForm) return;
  FTrackBar = new TTrackBar(this);
  FTrackBar->SetParent(FDropDownForm);
  FTrackBar->SetBounds(0, 0, FTrackBar->Width(), 40);
  FTrackBar->SetMax(FMax);
  FTrackBar->OnChange = [this](TObject* Sender) { OnTrackBarChange(Sender); };
}

void TDizTrackBarDropDown::BeforeDropDown() {
  TDizCustomDropDown::BeforeDropDown();
  if (!FTrackBar) return;
  FDropDownForm->CancelOnDeactivate = false;
  FTrackBar->SetMin(FMin);
  FTrackBar->SetMax(FMax);
  FTrackBar->SetPosition(FPosition);
  FTrackBar->SetPageSize(FPageSize);
  FTrackBar->SetFrequency(FFrequency);
  FTrackBar->SetWidth(Width());
  SetControl(FTrackBar);
}

void TDizTrackBarDropDown::SetMin(int Value) {
  FMin = Value;
  if (FTrackBar) {
    FTrackBar->SetMin(Value);
    FMin = FTrackBar->Min();
  }
}

void TDizTrackBarDropDown::SetMax(int Value) {
  FMax = Value;
  if (FTrackBar) {
    FTrackBar->SetMax(Value);
    FMax = FTrackBar->Max();
  }
}

void TDizTrackBarDropDown::SetPosition(int Value) {
  FPosition = Value;
  if (FTrackBar) {
    // Kept within the bar's range; a move of the bar shows the number in the edit.
    FTrackBar->SetPosition(Value);
    FPosition = FTrackBar->Position();
  }
}

void TDizTrackBarDropDown::SetPageSize(int Value) {
  FPageSize = Value;
  if (FTrackBar) FTrackBar->SetPageSize(Value);
}

void TDizTrackBarDropDown::SetFrequency(int Value) {
  FFrequency = Value;
  if (FTrackBar) FTrackBar->SetFrequency(Value);
}

void TDizTrackBarDropDown::Change() {
  TDizCustomDropDown::Change();
  // A text that is no integer (the grid's editor can set any) keeps the position.
  int v = 0;
  if (TryStrToInt(GetText(), v)) SetPosition(v);
}

void TDizTrackBarDropDown::OnTrackBarChange(TObject*) {
  FPosition = FTrackBar->Position();
  SetTextDirect(std::to_string(FPosition));
  if (OnTrackChange) OnTrackChange(this);
}

void TDizTrackBarDropDown::WndProc(TMessage& Message) {
  if (Message.Msg != WM_KEYDOWN) {
    TDizCustomDropDown::WndProc(Message);
    return;
  }
  WORD key = WORD(Message.WParam);
  TDizCustomDropDown::WndProc(Message);
  if (EditorEnabled() || (GetKeyState(VK_MENU) & 0x8000)) return;
  if (key == VK_UP && FPosition - FFrequency >= FMin) {
    SetPosition(FPosition - FFrequency);
  } else if (key == VK_DOWN && FPosition + FFrequency <= FMax) {
    SetPosition(FPosition + FFrequency);
  }
}

void TDizTrackBarDropDown::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDizCustomDropDown::MouseDown(Button, Shift, X, Y);
  if (!DropDownEnabled() || EditorEnabled()) return;
  FLastX = X;
  FDragging = true;
}

void TDizTrackBarDropDown::MouseMove(TShiftState Shift, int X, int Y) {
  TDizCustomDropDown::MouseMove(Shift, X, Y);
  if (!FDragging || !DropDownEnabled() || EditorEnabled()) return;
  // At least one pixel per unit: a page size of 0 or less would divide by zero.
  int step = FPageSize > 0 ? FPageSize : 1;
  int d = (X - FLastX) / step;
  FLastX = X;
  if (d != 0) SetPosition(FPosition + d);
}

void TDizTrackBarDropDown::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDizCustomDropDown::MouseUp(Button, Shift, X, Y);
  FDragging = false;
}

}  // namespace DizDropDown
