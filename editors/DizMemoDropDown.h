#pragma once
// DizMemoDropDown: a multi-line text edited in a single-line drop-down. The pop-up holds a
// memo with every line; the edit shows the first line, with "..." when more lines follow
// or cut with "..." when it does not fit. Typing in the edit replaces the whole text.
#include <memory>

#include "editors/DizDropDownEditor.h"
#include "platform/vcl/StdCtrls.h"

namespace DizDropDown {

class TDizMemoDropDown : public TDizCustomDropDown {
  LORM_CLASS(TDizMemoDropDown, TDizCustomDropDown)
public:
  explicit TDizMemoDropDown(TComponent* AOwner);
  ~TDizMemoDropDown() override;

  TStringList* MemoText() const { return FMemoText.get(); }
  void SetMemoText(TStrings* Value) { FMemoText->Assign(Value); }
  TComponent* MemoPopup() const { return FMemoPopup; }
  void SetMemoPopup(TComponent* Value) { FMemoPopup = Value; }
  TScrollStyle MemoScrollBars() const { return FMemoScrollBars; }
  void SetMemoScrollBars(TScrollStyle Value) { FMemoScrollBars = Value; }
  bool MemoReadOnly() const { return FMemoReadOnly; }
  void SetMemoReadOnly(bool Value);
  std::string GetTextEx() const { return GetText(); }
  TMemo* Memo() const { return FMemo; }

  TNotifyEvent OnMemoChange;

  void OnDropDownControlKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) override;
  void OnDropDownControlKeyUp(TObject* Sender, WORD& Key, TShiftState Shift) override;
  void OnDropDownControlKeyPress(TObject* Sender, char32_t& Key) override;
  void OnHideDropDown(TObject* Sender) override;

protected:
  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void DoHideDropDown(bool Cancelled) override;
  void Change() override;

private:
  void MemoTextChanged(TObject* Sender);
  std::unique_ptr<TStringList> FMemoText;
  TComponent* FMemoPopup = nullptr;
  TScrollStyle FMemoScrollBars = ssNone;
  bool FMemoReadOnly = false;
  TMemo* FMemo = nullptr;
  bool FUpdating = false;
  std::string FShown;
};

}  // namespace DizDropDown
