#pragma once
// DizTimePickerDropDown: a drop-down editor for a time of day. The edit shows hours,
// minutes and optionally seconds behind a mask; Up and Down change the field under the
// caret; the pop-up holds an analogue clock set by clicks and keys, optionally with a
// time picker under it.
#include <memory>

#include "editors/DizDropDownEditor.h"
#include "editors/DizWatch.h"
#include "foundation/DizStyleIF.h"
#include "platform/vcl/DateTimePicker.h"
#include "platform/vcl/ExtCtrls.h"

namespace DizDropDown {

class TDizTimePickerDropDown : public TDizCustomDropDown, public IDizStyle {
  LORM_CLASS(TDizTimePickerDropDown, TDizCustomDropDown)
public:
  explicit TDizTimePickerDropDown(TComponent* AOwner);
  ~TDizTimePickerDropDown() override;
  void WndProc(TMessage& Message) override;

  TDateTime Time() const { return FTime; }
  void SetTime(TDateTime Value);
  bool ShowSeconds() const { return FShowSeconds; }
  void SetShowSeconds(bool Value);
  bool ShowTimePicker() const { return FShowTimePicker; }
  void SetShowTimePicker(bool Value) { FShowTimePicker = Value; }
  TWatchAppearance* WatchAppearance() const { return FWatchAppearance.get(); }
  void SetWatchAppearance(TWatchAppearance* Value) { FWatchAppearance->Assign(Value); }
  TWatchSettings* WatchSettings() const { return FWatchSettings.get(); }
  void SetWatchSettings(TWatchSettings* Value) { FWatchSettings->Assign(Value); }
  bool ShowWatchAMPM = true;
  bool ShowWatchNumbers = true;
  bool Animation = true;
  int AnimationFactor = 10;
  TNotifyEvent OnTimeChange;

  void SetHour(int H);
  void SetMinute(int M);
  void SetSecond(int S);
  static std::string GetFormattedTimeString(int Hour, int Minute, int Second, bool Seconds);
  TDizWatch* Watch() const { return FWatch; }
  TPanel* Panel() const { return FPanel; }
  TDateTimePicker* TimePicker() const { return FTimePicker; }
  void SetComponentStyle(DUZERazav Style) override;

  void SetText(const std::string& Value) override;
  void OnDropDownFormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) override;
  void OnDropDownFormKeyUp(TObject* Sender, WORD& Key, TShiftState Shift) override;
  void OnDropDownControlKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) override;
  void OnDropDownControlKeyUp(TObject* Sender, WORD& Key, TShiftState Shift) override;
  void OnDropDownControlKeyPress(TObject* Sender, char32_t& Key) override;
  void OnHideDropDown(TObject* Sender) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;

protected:
  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void DoHideDropDown(bool Cancelled) override;
  void Change() override;

private:
  std::string MaskFor(bool Seconds) const;
  void WatchChanged(TObject*);
  void PickerChanged(TObject*);
  void WriteText(const std::string& Text);
  std::unique_ptr<TWatchAppearance> FWatchAppearance;
  std::unique_ptr<TWatchSettings> FWatchSettings;
  TDizWatch* FWatch = nullptr;
  TDateTimePicker* FTimePicker = nullptr;
  TPanel* FPanel = nullptr;
  TDateTime FTime = 0;
  bool FShowTimePicker = false;
  bool FShowSeconds = true;
  bool FTextUpdate = false;
};

}  // namespace DizDropDown
