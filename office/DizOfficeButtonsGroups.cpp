// DizOfficeButtons, part 3: the radio group and the check group with their items.
#include <algorithm>

#include "office/DizOfficeButtons.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/win/WinUser.h"

namespace {
const TEnumInfo* AlignmentNames() {
  static const TEnumInfo* names = RegisterEnum("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
  return names;
}
const TEnumInfo* LayoutNames() {
  static const TEnumInfo* names = RegisterEnum("TTextLayout", {"tlTop", "tlCenter", "tlBottom"});
  return names;
}

// The height of a font's characters as the screen measures them.
int FontHeight(TFont* Font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font->GetHandle());
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return tm.tmHeight;
}

template <class T>
void PublishGroup(TClassBuilder<T>& P) {
  P.Object("Items", &T::Items, &T::SetItems)
      .Int("Columns", &T::Columns, &T::SetColumns, 1)
      .Enum("Alignment", AlignmentNames(), &T::Alignment, &T::SetAlignment, taLeftJustify)
      .Enum("ButtonVertAlign", LayoutNames(), &T::ButtonVertAlign, &T::SetButtonVertAlign, tlTop)
      .Component("PictureContainer", &T::PictureContainer, &T::SetPictureContainer)
      .Bool("Ellipsis", &T::Ellipsis, &T::SetEllipsis)
      .Int("ShadowColor", &T::ShadowColor, &T::SetShadowColor, clSilver)
      .Consts(ColorConsts())
      .Int("ShadowOffset", &T::ShadowOffset, &T::SetShadowOffset, 1)
      .Bool("ShowFocus", &T::ShowFocus, &T::SetShowFocus, true)
      .Bool("Themed", &T::Themed, &T::SetThemed, false)
      .Int("DisabledFontColor", &T::DisabledFontColor, &T::SetDisabledFontColor, clGray)
      .Consts(ColorConsts())
      .Event("OnIsEnabled", &T::OnIsEnabled);
}
}  // namespace

// ---- the shared group base ------------------------------------------------------------------

template <class Item>
TDizOfficeGroupBase<Item>::TDizOfficeGroupBase(TComponent* AOwner)
    : TDizGroupBox(AOwner), FItems(std::make_unique<TStringList>()) {
  FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
  FItems->OnChange = [this](TObject* Sender) { ItemsChange(Sender); };
}

template <class Item>
TDizOfficeGroupBase<Item>::~TDizOfficeGroupBase() {
  FItems->OnChange = nullptr;
  while (!FButtons.empty()) delete FButtons.back();
}

template <class Item>
void TDizOfficeGroupBase<Item>::RemoveButton(Item* Button) {
  std::erase(FButtons, Button);
}

template <class Item>
void TDizOfficeGroupBase<Item>::SetButtonCount(int Count) {
  Count = std::max(0, Count);
  while (static_cast<int>(FButtons.size()) < Count) NewButton();
  while (static_cast<int>(FButtons.size()) > Count) delete FButtons.back();
}

template <class Item>
void TDizOfficeGroupBase<Item>::UpdateButtons() {
  SetButtonCount(FItems->Count());
  for (int i = 0; i < ItemCount(); ++i) FButtons[i]->SetCaption((*FItems)[i]);
  ArrangeButtons();
  Invalidate();
}

template <class Item>
void TDizOfficeGroupBase<Item>::ItemsChange(TObject*) {
  if (FReading || ComponentState().Contains(csLoading)) return;
  UpdateButtons();
}

template <class Item>
void TDizOfficeGroupBase<Item>::EndReading() {
  FReading = false;
  UpdateButtons();
}

template <class Item>
void TDizOfficeGroupBase<Item>::ArrangeButtons() {
  if (FReading || FButtons.empty()) return;
  if (ArrangeNeedsWindow() && (ComponentState().Contains(csLoading) || !HandleAllocated())) return;
  const int th = FontHeight(Font());
  const int count = ItemCount();
  const int rows = (count + FColumns - 1) / FColumns;
  const int itemWidth = (Width() - 10) / FColumns;
  const int free = Height() - th - 5;
  const int itemHeight = free / rows;
  int top = th + 1 + (free % rows) / 2;
  if (Caption().empty()) top -= th / 2;
  for (int i = 0; i < count; ++i) {
    Item* item = FButtons[i];
    item->SetPaintParent(false);
    item->SetAlignment(FAlignment == taRightJustify ? taRightJustify : taLeftJustify);
    item->SetButtonVertAlign(FButtonVertAlign);
    item->SetImages(Images());
    item->SetPictureContainer(FPictureContainer);
    item->SetEllipsis(FEllipsis);
    item->SetShadowOffset(FShadowOffset);
    item->SetShadowColor(FShadowColor);
    item->SetThemed(FThemed);
    item->SetShowFocus(FShowFocus);
    item->SetDisabledFontColor(FDisabledFontColor);
    bool enabled = ItemEnabled(item);
    if (OnIsEnabled) OnIsEnabled(this, i, enabled);
    item->SetEnabled(enabled);
    const int left = (i / rows) * itemWidth + 8;
    item->SetBounds(left, (i % rows) * itemHeight + top, itemWidth, itemHeight);
    item->SetVisible(true);
  }
}

template <class Item>
void TDizOfficeGroupBase<Item>::Loaded() {
  TDizGroupBox::Loaded();
  UpdateButtons();
}

template <class Item>
void TDizOfficeGroupBase<Item>::Notification(TComponent* AComponent, TOperation Operation) {
  TDizGroupBox::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPictureContainer) FPictureContainer = nullptr;
}

template <class Item>
void TDizOfficeGroupBase<Item>::WndProc(TMessage& Message) {
  TDizGroupBox::WndProc(Message);
  switch (Message.Msg) {
    case CM_ENABLEDCHANGED:
      for (Item* item : FButtons) item->SetEnabled(Enabled());
      break;
    case CM_FONTCHANGED:
    case WM_SIZE: ArrangeButtons(); break;
    case WM_CREATE: ArrangeButtons(); break;
    default: break;
  }
}

template <class Item>
void TDizOfficeGroupBase<Item>::SetColumns(int Value) {
  Value = std::clamp(Value, 1, 16);
  if (FColumns == Value) return;
  FColumns = Value;
  ArrangeButtons();
  Invalidate();
}

template <class Item>
void TDizOfficeGroupBase<Item>::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  ArrangeButtons();
}

template <class Item>
void TDizOfficeGroupBase<Item>::SetButtonVertAlign(TTextLayout Value) {
  FButtonVertAlign = Value;
  ArrangeButtons();
}

template <class Item>
void TDizOfficeGroupBase<Item>::SetImages(TCustomImageList* Value) {
  TDizGroupBox::SetImages(Value);
  ArrangeButtons();
}

template <class Item>
void TDizOfficeGroupBase<Item>::SetPictureContainer(TPictureContainer* Value) {
  if (FPictureContainer != Value) {
    if (FPictureContainer) FPictureContainer->RemoveFreeNotification(this);
    FPictureContainer = Value;
    if (FPictureContainer) FPictureContainer->FreeNotification(this);
  }
  ArrangeButtons();
}

template <class Item>
void TDizOfficeGroupBase<Item>::SetShowFocus(bool Value) {
  if (FShowFocus == Value) return;
  FShowFocus = Value;
  ArrangeButtons();
}

template <class Item>
void TDizOfficeGroupBase<Item>::SetThemed(bool Value) {
  if (FThemed == Value) return;
  FThemed = Value;
  ArrangeButtons();
}

template <class Item>
void TDizOfficeGroupBase<Item>::SetEllipsisValue(bool Value, bool OnlyWhenChanged) {
  if (OnlyWhenChanged && FEllipsis == Value) return;
  FEllipsis = Value;
  ArrangeButtons();
}

template <class Item>
void TDizOfficeGroupBase<Item>::SetShadowColorValue(TColor Value, bool OnlyWhenChanged) {
  if (OnlyWhenChanged && FShadowColor == Value) return;
  FShadowColor = Value;
  ArrangeButtons();
}

template <class Item>
void TDizOfficeGroupBase<Item>::SetShadowOffsetValue(int Value, bool OnlyWhenChanged) {
  if (OnlyWhenChanged && FShadowOffset == Value) return;
  FShadowOffset = Value;
  ArrangeButtons();
}

template class TDizOfficeGroupBase<TDizGroupButton>;
template class TDizOfficeGroupBase<TGroupCheck>;

// ---- items ----------------------------------------------------------------------------------

void TDizGroupButton::Publish(TClassBuilder<TDizGroupButton>& P) { (void)P; }

TDizGroupButton::TDizGroupButton(TComponent* AOwner)
    : TDizOfficeRadioButton(AOwner), FGroup(dynamic_cast<TCustomDizOfficeRadioGroup*>(AOwner)) {
  if (!FGroup) return;
  FGroup->AddButton(this);
  SetVisible(false);
  SetEnabled(FGroup->Enabled());
  SetParentShowHint(false);
  TCustomDizOfficeRadioGroup* group = FGroup;
  OnClick = [group](TObject* Sender) { group->ButtonClick(Sender); };
  SetParent(FGroup);
}

TDizGroupButton::~TDizGroupButton() {
  if (FGroup) FGroup->RemoveButton(this);
}

void TDizGroupButton::KeyPress(char32_t& Key) {
  TDizOfficeRadioButton::KeyPress(Key);
  if (!FGroup) return;
  FGroup->PushKey(Key);
  if ((Key == U'\b' || Key == U' ') && !FGroup->CanModify()) Key = 0;
}

void TDizGroupButton::KeyDown(WORD& Key, TShiftState Shift) {
  TDizOfficeRadioButton::KeyDown(Key, Shift);
  if (FGroup) FGroup->PushKeyDown(Key, Shift);
}

void TGroupCheck::Publish(TClassBuilder<TGroupCheck>& P) { (void)P; }

TGroupCheck::TGroupCheck(TComponent* AOwner)
    : TDizOfficeCheckBox(AOwner), FGroup(dynamic_cast<TCustomDizOfficeCheckGroup*>(AOwner)) {
  if (!FGroup) return;
  FGroup->AddButton(this);
  SetVisible(false);
  SetEnabled(FGroup->Enabled());
  SetParentShowHint(false);
  TCustomDizOfficeCheckGroup* group = FGroup;
  OnClick = [group](TObject* Sender) { group->ButtonClick(Sender); };
  OnEnter = [group](TObject* Sender) { group->CheckFocus(Sender); };
  SetParent(FGroup);
}

TGroupCheck::~TGroupCheck() {
  if (FGroup) FGroup->RemoveButton(this);
}

void TGroupCheck::KeyPress(char32_t& Key) {
  TDizOfficeCheckBox::KeyPress(Key);
  if (!FGroup) return;
  FGroup->PushKey(Key);
  if ((Key == U'\b' || Key == U' ') && !FGroup->CanModify()) Key = 0;
}

void TGroupCheck::KeyDown(WORD& Key, TShiftState Shift) {
  TDizOfficeCheckBox::KeyDown(Key, Shift);
  if (FGroup) FGroup->PushKeyDown(Key, Shift);
}

// ---- radio group ----------------------------------------------------------------------------

void TCustomDizOfficeRadioGroup::Publish(TClassBuilder<TCustomDizOfficeRadioGroup>& P) { (void)P; }

void TDizOfficeRadioGroup::Publish(TClassBuilder<TDizOfficeRadioGroup>& P) {
  PublishGroup(P);
  P.Int("ItemIndex", &TDizOfficeRadioGroup::ItemIndex, &TDizOfficeRadioGroup::SetItemIndex, -1)
      .Str("Version", &TDizOfficeRadioGroup::GetVersion, &TDizOfficeRadioGroup::SetVersion);
}

TCustomDizOfficeRadioGroup::TCustomDizOfficeRadioGroup(TComponent* AOwner)
    : TDizOfficeGroupBase<TDizGroupButton>(AOwner) {}

TCustomDizOfficeRadioGroup::~TCustomDizOfficeRadioGroup() { SetButtonCount(0); }

TDizGroupButton* TCustomDizOfficeRadioGroup::NewButton() { return new TDizGroupButton(this); }

bool TCustomDizOfficeRadioGroup::ItemEnabled(TDizGroupButton* Button) const {
  return Enabled() && Button->Enabled();
}

void TCustomDizOfficeRadioGroup::SetItemIndex(int Value) {
  if (FReading || ComponentState().Contains(csLoading)) {
    FItemIndex = Value;
    return;
  }
  Value = std::clamp(Value, -1, ItemCount() - 1);
  if (Value == FItemIndex) return;
  if (FItemIndex >= 0 && FItemIndex < ItemCount()) FButtons[FItemIndex]->SetChecked(false);
  FItemIndex = Value;
  if (FItemIndex >= 0) FButtons[FItemIndex]->SetChecked(true);
}

void TCustomDizOfficeRadioGroup::ItemsChange(TObject* Sender) {
  if (FReading || ComponentState().Contains(csLoading)) return;
  if (FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
  UpdateButtons();
}

void TCustomDizOfficeRadioGroup::UpdateButtons() {
  SetButtonCount(FItems->Count());
  for (int i = 0; i < ItemCount(); ++i) FButtons[i]->SetCaption((*FItems)[i]);
  // A stored index past the stored items selects the last item instead of failing.
  if (FItemIndex >= ItemCount()) FItemIndex = ItemCount() - 1;
  if (FItemIndex >= 0) {
    FUpdating = true;
    FButtons[FItemIndex]->SetChecked(true);
    FUpdating = false;
  }
  ArrangeButtons();
  Invalidate();
}

void TCustomDizOfficeRadioGroup::ButtonClick(TObject* Sender) {
  if (FUpdating) return;
  auto it = std::find(FButtons.begin(), FButtons.end(), Sender);
  if (it == FButtons.end()) return;
  FItemIndex = static_cast<int>(it - FButtons.begin());
  Changed();
  Click();
}

// ---- check group ----------------------------------------------------------------------------

void TCustomDizOfficeCheckGroup::Publish(TClassBuilder<TCustomDizOfficeCheckGroup>& P) { (void)P; }

void TDizOfficeCheckGroup::Publish(TClassBuilder<TDizOfficeCheckGroup>& P) {
  PublishGroup(P);
  P.Str("Version", &TDizOfficeCheckGroup::GetVersion, &TDizOfficeCheckGroup::SetVersion);
}

TCustomDizOfficeCheckGroup::TCustomDizOfficeCheckGroup(TComponent* AOwner)
    : TDizOfficeGroupBase<TGroupCheck>(AOwner) {}

TCustomDizOfficeCheckGroup::~TCustomDizOfficeCheckGroup() { SetButtonCount(0); }

TGroupCheck* TCustomDizOfficeCheckGroup::NewButton() { return new TGroupCheck(this); }

bool TCustomDizOfficeCheckGroup::ItemEnabled(TGroupCheck*) const { return Enabled(); }

bool TCustomDizOfficeCheckGroup::GetChecked(int Index) const {
  if (Index < 0 || Index >= ItemCount()) throw Exception("Invalid checkbox index");
  return FButtons[Index]->GetChecked();
}

void TCustomDizOfficeCheckGroup::SetChecked(int Index, bool Value) {
  if (Index < 0 || Index >= ItemCount()) return;
  FButtons[Index]->SetChecked(Value);
  UpdateValue();
}

bool TCustomDizOfficeCheckGroup::GetReadOnly(int Index) const {
  if (Index < 0 || Index >= ItemCount()) throw Exception("Invalid checkbox index");
  return !FButtons[Index]->Enabled();
}

void TCustomDizOfficeCheckGroup::SetReadOnly(int Index, bool Value) {
  if (Index < 0 || Index >= ItemCount()) return;
  FButtons[Index]->SetEnabled(!Value);
}

uint32_t TCustomDizOfficeCheckGroup::GetValue() const {
  if (FButtons.empty()) return FValue;
  uint32_t value = 0;
  for (int i = 0; i < std::min(ItemCount(), 32); ++i)
    if (FButtons[i]->GetChecked()) value |= uint32_t(1) << i;
  return value;
}

void TCustomDizOfficeCheckGroup::SetValue(uint32_t Value) {
  FValue = Value;
  for (int i = 0; i < std::min(ItemCount(), 32); ++i) FButtons[i]->SetChecked((Value >> i) & 1u);
}

void TCustomDizOfficeCheckGroup::UpdateValue() { FValue = GetValue(); }

// The value is brought up to date before the group's OnClick, so a handler reads the
// state the click produced.
void TCustomDizOfficeCheckGroup::ButtonClick(TObject*) {
  UpdateValue();
  Changed();
  Click();
}

void TCustomDizOfficeCheckGroup::CheckFocus(TObject* Sender) {
  auto it = std::find(FButtons.begin(), FButtons.end(), Sender);
  if (it != FButtons.end()) FFocusIndex = static_cast<int>(it - FButtons.begin());
}

void TCustomDizOfficeCheckGroup::Loaded() {
  TDizOfficeGroupBase<TGroupCheck>::Loaded();
  SetValue(GetValue());
}

void TCustomDizOfficeCheckGroup::DoEnter() {
  TDizOfficeGroupBase<TGroupCheck>::DoEnter();
  if (FFocusIndex >= ItemCount() || !FButtons[FFocusIndex]->HandleAllocated()) return;
  if (GetReadOnly(FFocusIndex)) {
    int found = -1;
    for (int i = 0; i < FItems->Count() && i < ItemCount(); ++i)
      if (!GetReadOnly(i)) {
        found = i;
        break;
      }
    if (found < 0) return;
    FFocusIndex = found;
  }
  FButtons[FFocusIndex]->SetFocus();
  Invalidate();
}
