#include "platform/vcl/Menus.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Edges.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Forms.h"

// ---------------------------------------------------------------------------------------
// Shortcuts
namespace {

struct TKeyName {
  WORD Key;
  const char* Name;
};
const TKeyName kKeyNames[] = {
    {VK_BACK, "BkSp"}, {VK_TAB, "Tab"}, {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"}, {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"}, {VK_END, "End"}, {VK_HOME, "Home"}, {VK_LEFT, "Left"},
    {VK_UP, "Up"}, {VK_RIGHT, "Right"}, {VK_DOWN, "Down"}, {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
    {VK_MULTIPLY, "Num *"}, {VK_ADD, "Num +"}, {VK_SUBTRACT, "Num -"}, {VK_DECIMAL, "Num ."},
    {VK_DIVIDE, "Num /"}, {VK_OEM_PLUS, "="}, {VK_OEM_MINUS, "-"}, {VK_OEM_COMMA, ","},
    {VK_OEM_PERIOD, "."}, {VK_OEM_1, ";"}, {VK_OEM_2, "/"}, {VK_OEM_3, "`"}, {VK_OEM_4, "["},
    {VK_OEM_5, "\\"}, {VK_OEM_6, "]"}, {VK_OEM_7, "'"},
};

std::string KeyName(WORD key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
  if (key >= VK_F1 && key <= VK_F1 + 23) return "F" + std::to_string(key - VK_F1 + 1);
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return "Num " + std::to_string(key - VK_NUMPAD0);
  for (const auto& k : kKeyNames)
    if (k.Key == key) return k.Name;
  return {};
}

const char* const kShift = "Shift+";
const char* const kCtrl = "Ctrl+";
const char* const kAlt = "Alt+";

std::map<WORD, TMenuItem*>& Commands() {
  static std::map<WORD, TMenuItem*> commands;
  return commands;
}

WORD NewCommand(TMenuItem* item) {
  static WORD next = 0;
  for (int tries = 0; tries < 0xFFFF; ++tries) {
    next = WORD(next % 0xFFFE + 1);
    if (!Commands().count(next)) {
      Commands()[next] = item;
      return next;
    }
  }
  throw EMenuError("Too many menu items");
}

}  // namespace

TShortCut ShortCut(WORD Key, TShiftState Shift) {
  if (Key & 0xFF00) return 0;
  TShortCut s = Key;
  if (Shift.Contains(ssShift)) s |= scShift;
  if (Shift.Contains(ssCtrl)) s |= scCtrl;
  if (Shift.Contains(ssAlt)) s |= scAlt;
  return s;
}

void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift) {
  Key = ShortCut & 0xFF;
  Shift = TShiftState();
  if (ShortCut & scShift) Shift += ssShift;
  if (ShortCut & scCtrl) Shift += ssCtrl;
  if (ShortCut & scAlt) Shift += ssAlt;
}

std::string ShortCutToText(TShortCut ShortCut) {
  std::string name = KeyName(WORD(ShortCut & 0xFF));
  if (name.empty()) return {};
  std::string prefix;
  if (ShortCut & scShift) prefix += kShift;
  if (ShortCut & scCtrl) prefix += kCtrl;
  if (ShortCut & scAlt) prefix += kAlt;
  return prefix + name;
}

TShortCut TextToShortCut(const std::string& Text) {
  std::string rest = Text;
  TShortCut mods = 0;
  for (;;) {
    bool found = false;
    for (auto [text, bit] : {std::pair{kShift, scShift}, std::pair{kCtrl, scCtrl}, std::pair{kAlt, scAlt}}) {
      size_t n = std::strlen(text);
      if (rest.size() > n && AnsiSameText(rest.substr(0, n), text)) {
        mods |= bit;
        rest = rest.substr(n);
        found = true;
      }
    }
    if (!found) break;
  }
  if (rest.empty()) return 0;
  for (int key = 0x08; key <= 0xFF; ++key) {
    std::string name = KeyName(WORD(key));
    if (!name.empty() && AnsiSameText(name, rest)) return TShortCut(mods | key);
  }
  return 0;
}

TShortCut ShortCutFromMessage(const TMessage& Message) {
  TShortCut s = TShortCut(Message.WParam & 0xFF);
  if (GetKeyState(VK_SHIFT) < 0) s |= scShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= scCtrl;
  if ((Message.LParam & (LPARAM(1) << 29)) || GetKeyState(VK_MENU) < 0) s |= scAlt;
  return s;
}

std::string StripHotkey(const std::string& Text) {
  std::string out;
  for (size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == '&') {
      if (i + 1 < Text.size() && Text[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;
    }
    out += Text[i];
  }
  return out;
}

std::string GetHotkey(const std::string& Text) {
  for (size_t i = 0; i + 1 < Text.size(); ++i) {
    if (Text[i] != '&') continue;
    if (Text[i + 1] == '&') {
      ++i;
      continue;
    }
    unsigned char c = static_cast<unsigned char>(Text[i + 1]);
    size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return AnsiLowerCase(Text.substr(i + 1, n));
  }
  return {};
}

// ---------------------------------------------------------------------------------------
// TMenuItem
static const TEnumInfo* MenuBreakNames = RegisterEnum("TMenuBreak", {"mbNone", "mbBreak", "mbBarBreak"});
static const TEnumInfo* AutoFlagNames = RegisterEnum("TMenuItemAutoFlag", {"maAutomatic", "maManual", "maParent"});
static const TEnumInfo* MenuAutoFlagNames = RegisterEnum("TMenuAutoFlag", {"maAutomatic", "maManual"});
static const TEnumInfo* PopupAlignmentNames = RegisterEnum("TPopupAlignment", {"paLeft", "paRight", "paCenter"});
static const TEnumInfo* TrackButtonNames = RegisterEnum("TTrackButton", {"tbRightButton", "tbLeftButton"});

static const TIntConsts* ShortCutConsts() {
  // Stored shortcuts are numbers; named ones read too ("Ctrl+N" is not an identifier, so
  // only numbers occur in practice).
  return nullptr;
}

void TMenuItem::Publish(TClassBuilder<TMenuItem>& P) {
  P.Component("Action", &TMenuItem::Action, &TMenuItem::SetAction)
      .Bool("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck, false)
      .Enum("AutoHotkeys", AutoFlagNames, &TMenuItem::AutoHotkeys, &TMenuItem::SetAutoHotkeys, maParent)
      .Enum("AutoLineReduction", AutoFlagNames, &TMenuItem::AutoLineReduction, &TMenuItem::SetAutoLineReduction, maParent)
      .Object("Bitmap", &TMenuItem::Bitmap, &TMenuItem::SetBitmap)
      .Stored(&TMenuItem::HasBitmap)
      .Enum("Break", MenuBreakNames, &TMenuItem::Break, &TMenuItem::SetBreak, mbNone)
      .Str("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
      .Stored(&TMenuItem::IsCaptionStored)
      .Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked, false)
      .Stored(&TMenuItem::IsCheckedStored)
      .Component("SubMenuImages", &TMenuItem::SubMenuImages, &TMenuItem::SetSubMenuImages)
      .Bool("Default", &TMenuItem::Default, &TMenuItem::SetDefault, false)
      .Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled, true)
      .Stored(&TMenuItem::IsEnabledStored)
      .Int("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex, 0)
      .Int("HelpContext", &TMenuItem::HelpContext, &TMenuItem::SetHelpContext, 0)
      .Str("Hint", &TMenuItem::Hint, &TMenuItem::SetHint)
      .Stored(&TMenuItem::IsHintStored)
      .Int("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex, -1)
      .Stored(&TMenuItem::IsImageIndexStored)
      .Bool("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem, false)
      .Int("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut, 0)
      .Stored(&TMenuItem::IsShortCutStored)
      .Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible, true)
      .Stored(&TMenuItem::IsVisibleStored)
      .Event("OnAdvancedDrawItem", &TMenuItem::OnAdvancedDrawItem)
      .Event("OnClick", &TMenuItem::OnClick)
      .Event("OnDrawItem", &TMenuItem::OnDrawItem)
      .Event("OnMeasureItem", &TMenuItem::OnMeasureItem);
  (void)ShortCutConsts;
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) { FCommand = NewCommand(this); }

TMenuItem::~TMenuItem() {
  FActionLink.reset();
  if (FParent) FParent->Remove(this);
  while (!FItems.empty()) {
    TMenuItem* child = FItems.back();
    FItems.pop_back();
    child->FParent = nullptr;
    delete child;
  }
  DestroyHandles();
  Commands().erase(FCommand);
}

TMenuItem* TMenuItem::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EMenuError("Menu index out of range");
  return FItems[size_t(Index)];
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (!Item) return;
  if (Item->FParent) throw EMenuError("Menu inserted twice");
  if (Index < 0 || Index > Count()) throw EMenuError("Menu index out of range");
  for (TMenuItem* p = this; p; p = p->FParent)
    if (p == Item) throw EMenuError("Sub-menu is not in menu");
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  MenuChanged(true);
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Remove(TMenuItem* Item) {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it == FItems.end()) throw EMenuError("Sub-menu is not in menu");
  FItems.erase(it);
  Item->FParent = nullptr;
  Item->DestroyHandles();
  MenuChanged(true);
}

void TMenuItem::Delete(int Index) {
  TMenuItem* item = Items(Index);
  Remove(item);
  delete item;
}

void TMenuItem::Clear() {
  while (!FItems.empty()) Delete(Count() - 1);
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : int(it - FItems.begin());
}

TMenuItem* TMenuItem::Find(const std::string& ACaption) const {
  std::string wanted = StripHotkey(ACaption);
  for (TMenuItem* i : FItems)
    if (AnsiSameText(StripHotkey(i->FCaption), wanted)) return i;
  return nullptr;
}

int TMenuItem::MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(int Value) {
  if (!FParent) return;
  TMenuItem* parent = FParent;
  int count = parent->Count();
  Value = std::clamp(Value, 0, count - 1);
  if (Value == MenuIndex()) return;
  parent->FItems.erase(parent->FItems.begin() + MenuIndex());
  parent->FItems.insert(parent->FItems.begin() + Value, this);
  parent->MenuChanged(true);
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* i = this;
  while (i->FParent) i = i->FParent;
  return i->FMenu;
}

TCustomImageList* TMenuItem::GetImageList() const {
  for (const TMenuItem* p = FParent; p; p = p->FParent)
    if (p->FSubMenuImages) return p->FSubMenuImages;
  TMenu* m = GetParentMenu();
  return m ? m->Images() : nullptr;
}

HMENU TMenuItem::Handle() {
  if (FMenu) return FMenu->Handle();
  if (!FHandle) {
    FHandle = CreatePopupMenu();
    RebuildHandle();
  }
  return FHandle;
}

void TMenuItem::DestroyHandles() {
  for (TMenuItem* c : FItems) c->DestroyHandles();
  if (FHandle && !FMenu && IsMenu(FHandle)) {
    // The sub-handles were taken out first, so that destroying does not free them twice.
    while (GetMenuItemCount(FHandle) > 0) RemoveMenu(FHandle, 0, MF_BYPOSITION);
    DestroyMenu(FHandle);
  }
  if (!FMenu) FHandle = nullptr;
}

// Which sub-items are shown: the visible ones, and with automatic line reduction no
// separator at the start, at the end or after another.
bool TMenuItem::ComputeVisibleLines(std::vector<TMenuItem*>& Shown) const {
  bool reduce = true;
  const TMenuItem* p = this;
  TMenuItemAutoFlag flag = FAutoLineReduction;
  while (flag == maParent && p->FParent) {
    p = p->FParent;
    flag = p->FAutoLineReduction;
  }
  if (flag == maParent) {
    TMenu* m = GetParentMenu();
    reduce = !m || m->AutoLineReduction() == maAutomatic;
  } else {
    reduce = flag == maAutomatic;
  }
  for (TMenuItem* i : FItems) {
    if (!i->FVisible) continue;
    if (reduce && i->IsLine() && (Shown.empty() || Shown.back()->IsLine())) continue;
    Shown.push_back(i);
  }
  while (reduce && !Shown.empty() && Shown.back()->IsLine()) Shown.pop_back();
  return true;
}

bool TMenuItem::IsOwnerDraw() const {
  TMenu* m = GetParentMenu();
  if (m && (m->OwnerDraw() || (m->Images() && FParent && FParent->FParent))) return true;
  return FBitmap && !FBitmap->GetEmpty() && !(FParent && !FParent->FParent && dynamic_cast<TMainMenu*>(m));
}


void TMenuItem::RebuildHandle() {
  HMENU target = FMenu ? FMenu->FHandle : FHandle;
  if (!target || !IsMenu(target)) return;
  // From the last entry: taking the first each time would move all the others along.
  for (int i = GetMenuItemCount(target); i-- > 0;) RemoveMenu(target, UINT(i), MF_BYPOSITION);
  std::vector<TMenuItem*> shown;
  ComputeVisibleLines(shown);
  for (TMenuItem* c : shown) {
    MENUITEMINFO mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
    UINT type = c->IsLine() ? MFT_SEPARATOR : MFT_STRING;
    if (c->IsOwnerDraw()) type |= MFT_OWNERDRAW;
    if (c->FRadioItem) type |= MFT_RADIOCHECK;
    if (c->FBreak == mbBreak) type |= MFT_MENUBREAK;
    else if (c->FBreak == mbBarBreak) type |= MFT_MENUBARBREAK;
    mii.fType = type;
    mii.fState = (c->FChecked ? MFS_CHECKED : 0u) | (c->FEnabled ? 0u : MFS_GRAYED) | (c->FDefault ? MFS_DEFAULT : 0u);
    mii.wID = c->FCommand;
    if (!c->FItems.empty()) {
      if (!c->FHandle || !IsMenu(c->FHandle)) c->FHandle = CreatePopupMenu();
      c->RebuildHandle();
      mii.hSubMenu = c->FHandle;
    } else if (c->FHandle) {
      DestroyMenu(c->FHandle);
      c->FHandle = nullptr;
    }
    mii.dwItemData = ULONG_PTR(c);
    std::string text = c->FCaption;
    if (c->FShortCut && !c->IsLine()) text += "\t" + ShortCutToText(c->FShortCut);
    mii.dwTypeData = text.data();
    InsertMenuItem(target, UINT(-1), TRUE, &mii);
  }
}

void TMenuItem::MenuChanged(bool Rebuild) {
  TMenu* m = GetParentMenu();
  if (m) m->MenuChanged(m, this, Rebuild);
}

void TMenuItem::SetCaption(const std::string& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  MenuChanged(true);
}
void TMenuItem::SetShortCut(TShortCut Value) {
  if (FShortCut == Value) return;
  FShortCut = Value;
  MenuChanged(true);
}
void TMenuItem::TurnSiblingsOff() {
  if (!FParent || !FRadioItem) return;
  for (TMenuItem* s : FParent->FItems)
    if (s != this && s->FRadioItem && s->FGroupIndex == FGroupIndex && s->FChecked) {
      s->FChecked = false;
      if (s->FActionLink && s->FActionLink->CustomAction() && s->FActionLink->IsCheckedLinked())
        s->FActionLink->CustomAction()->SetChecked(false);
    }
}
void TMenuItem::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  if (Value) TurnSiblingsOff();
  MenuChanged(true);
}
void TMenuItem::SetRadioItem(bool Value) {
  if (FRadioItem == Value) return;
  FRadioItem = Value;
  if (FChecked) TurnSiblingsOff();
  MenuChanged(true);
}
void TMenuItem::SetGroupIndex(BYTE Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  if (FChecked) TurnSiblingsOff();
  MenuChanged(false);
}
void TMenuItem::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  MenuChanged(true);
}
void TMenuItem::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  MenuChanged(true);
}
void TMenuItem::SetDefault(bool Value) {
  if (FDefault == Value) return;
  if (Value && FParent)
    for (TMenuItem* s : FParent->FItems) s->FDefault = false;
  FDefault = Value;
  MenuChanged(true);
}
void TMenuItem::SetBreak(TMenuBreak Value) {
  if (FBreak == Value) return;
  FBreak = Value;
  MenuChanged(true);
}
void TMenuItem::SetAutoCheck(bool Value) { FAutoCheck = Value; }
void TMenuItem::SetAutoLineReduction(TMenuItemAutoFlag Value) {
  if (FAutoLineReduction == Value) return;
  FAutoLineReduction = Value;
  MenuChanged(true);
}
void TMenuItem::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  MenuChanged(true);
}
TBitmap* TMenuItem::Bitmap() {
  if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
  return FBitmap.get();
}
void TMenuItem::SetBitmap(TBitmap* Value) {
  if (!Value) FBitmap.reset();
  else Bitmap()->Assign(Value);
  MenuChanged(true);
}
bool TMenuItem::HasBitmap() const { return FBitmap && !FBitmap->GetEmpty(); }
void TMenuItem::SetSubMenuImages(TCustomImageList* Value) {
  if (FSubMenuImages) FSubMenuImages->RemoveFreeNotification(this);
  FSubMenuImages = Value;
  if (Value) Value->FreeNotification(this);
  MenuChanged(true);
}

TBasicAction* TMenuItem::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TMenuItem::SetAction(TBasicAction* Value) {
  if (!Value) {
    if (FActionLink) {
      FActionLink.reset();
    }
    return;
  }
  if (!FActionLink) FActionLink = std::make_unique<TMenuActionLink>(this);
  FActionLink->SetAction(Value);
  // Later changes reach the item property by property through the link (only the
  // properties that still follow the action), so an own caption such as "-" stays.
  ActionChange(Value, Value->ComponentState().Contains(csLoading));
  Value->FreeNotification(this);
}

void TMenuItem::DoActionChange(TObject* Sender) {
  if (FActionLink && Sender == FActionLink->Action()) ActionChange(Sender, false);
}

void TMenuItem::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* a = dynamic_cast<TCustomAction*>(Sender);
  if (!a) return;
  if (!CheckDefaults || FCaption.empty()) SetCaption(a->Caption());
  if (!CheckDefaults || !FChecked) SetChecked(a->Checked());
  if (!CheckDefaults || FEnabled) SetEnabled(a->Enabled());
  if (!CheckDefaults || FHelpContext == 0) SetHelpContext(a->HelpContext());
  if (!CheckDefaults || FHint.empty()) SetHint(a->Hint());
  if (!CheckDefaults || FImageIndex == -1) SetImageIndex(a->ImageIndex());
  if (!CheckDefaults || FShortCut == 0) SetShortCut(a->ShortCut());
  if (!CheckDefaults || FVisible) SetVisible(a->Visible());
  if (FRadioItem && (!CheckDefaults || FGroupIndex == 0)) SetGroupIndex(BYTE(a->GroupIndex()));
  if (!CheckDefaults || !FAutoCheck) SetAutoCheck(a->AutoCheck());
}

bool TMenuItem::IsCaptionStored() const { return !FActionLink || !FActionLink->IsCaptionLinked(); }
bool TMenuItem::IsCheckedStored() const { return !FActionLink || !FActionLink->IsCheckedLinked(); }
bool TMenuItem::IsEnabledStored() const { return !FActionLink || !FActionLink->IsEnabledLinked(); }
bool TMenuItem::IsShortCutStored() const { return !FActionLink || !FActionLink->IsShortCutLinked(); }
bool TMenuItem::IsVisibleStored() const { return !FActionLink || !FActionLink->IsVisibleLinked(); }
bool TMenuItem::IsHintStored() const { return !FActionLink || !FActionLink->IsHintLinked(); }
bool TMenuItem::IsImageIndexStored() const { return !FActionLink || !FActionLink->IsImageIndexLinked(); }

void TMenuItem::InitiateAction() {
  if (FActionLink) FActionLink->Update();
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  bool linked = FActionLink && FActionLink->Action();
  if (FAutoCheck && !(linked && FActionLink->CustomAction() && FActionLink->CustomAction()->AutoCheck()))
    SetChecked(!FChecked);
  if (OnClick) OnClick(this);
  else if (linked) FActionLink->Execute(this);
}

TComponent* TMenuItem::GetParentComponent() const {
  if (FParent && FParent->FMenu) return FParent->FMenu;
  return FParent;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
  if (FParent) FParent->Remove(this);
  if (!Value) return;
  if (auto* m = dynamic_cast<TMenu*>(Value)) m->Items()->Add(this);
  else if (auto* i = dynamic_cast<TMenuItem*>(Value)) i->Add(this);
}

void TMenuItem::GetChildren(const TGetChildProc& Proc, TComponent*) {
  for (TMenuItem* i : FItems) Proc(i);
}

void TMenuItem::SetChildOrder(TComponent* Child, int Order) {
  if (auto* i = dynamic_cast<TMenuItem*>(Child); i && i->FParent == this) i->SetMenuIndex(Order);
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (FActionLink && AComponent == FActionLink->Action()) SetAction(nullptr);
  if (AComponent == FSubMenuImages) FSubMenuImages = nullptr;
}

void TMenuItem::Loaded() {
  TComponent::Loaded();
  if (FActionLink && FActionLink->Action()) ActionChange(FActionLink->Action(), true);
}

// The framework's own size of an owner-drawn item, before OnMeasureItem.
void TMenuItem::MeasureItem(TCanvas* ACanvas, int& Width, int& Height) {
  bool topLevel = FParent && FParent->FMenu && dynamic_cast<TMainMenu*>(FParent->FMenu);
  TCustomImageList* images = GetImageList();
  if (IsLine()) {
    Width = 0;
    Height = 9;
  } else {
    std::string text = FCaption;
    int textWidth = ACanvas->TextWidth(StripHotkey(text));
    int textHeight = ACanvas->TextHeight("Wg");
    int glyph = images ? images->GetWidth() : HasBitmap() ? FBitmap->GetWidth() : 16;
    int glyphHeight = images ? images->GetHeight() : HasBitmap() ? FBitmap->GetHeight() : 0;
    if (topLevel) {
      Width = textWidth + ((images && FImageIndex >= 0) ? glyph + 4 : 0) + 2;
      Height = std::max(GetSystemMetrics(SM_CYMENU) - 1, textHeight + 4);
    } else {
      Width = glyph + 8 + textWidth + 16;
      if (FShortCut) Width += ACanvas->TextWidth(ShortCutToText(FShortCut)) + 16;
      Height = std::max({textHeight + 6, glyphHeight + 4, GetSystemMetrics(SM_CYMENUCHECK) + 6});
    }
  }
  if (OnMeasureItem) OnMeasureItem(this, ACanvas, Width, Height);
}

void TMenuItem::DrawItem(TCanvas* ACanvas, TRect ARect, bool Selected) {
  TOwnerDrawState state;
  if (Selected) state += odSelected;
  AdvancedDrawItem(ACanvas, ARect, state, false);
}

// The framework's drawing of an owner-drawn item: the classic look with its image.
void TMenuItem::AdvancedDrawItem(TCanvas* ACanvas, TRect ARect, TOwnerDrawState State, bool TopLevel) {
  if (OnAdvancedDrawItem) {
    OnAdvancedDrawItem(this, ACanvas, ARect, State);
    return;
  }
  if (OnDrawItem) {
    OnDrawItem(this, ACanvas, ARect, State.Contains(odSelected));
    return;
  }
  bool selected = State.Contains(odSelected) || (TopLevel && State.Contains(odHotLight));
  ACanvas->Brush()->SetColor(selected && !TopLevel ? clHighlight : clMenu);
  ACanvas->FillRect(ARect);
  HDC dc = ACanvas->GetHandle();
  if (IsLine()) {
    RECT line{ARect.Left + 1, (ARect.Top + ARect.Bottom) / 2 - 1, ARect.Right - 1, (ARect.Top + ARect.Bottom) / 2 + 1};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  if (TopLevel && selected) {
    RECT r = ToRECT(ARect);
    DrawEdge(dc, &r, State.Contains(odSelected) ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  }
  TCustomImageList* images = GetImageList();
  int glyphWidth = images ? images->GetWidth() : 16;
  int x = ARect.Left + 2;
  if (images && FImageIndex >= 0 && FImageIndex < images->Count()) {
    images->Draw(ACanvas, x, ARect.Top + (ARect.Height() - images->GetHeight()) / 2, FImageIndex, FEnabled);
  } else if (HasBitmap()) {
    ACanvas->Draw(x, ARect.Top + (ARect.Height() - FBitmap->GetHeight()) / 2, FBitmap.get());
  } else if (FChecked && !TopLevel) {
    RECT box{x, ARect.Top, x + glyphWidth, ARect.Bottom};
    DrawFrameControl(dc, &box, DFC_MENU, FRadioItem ? DFCS_MENUBULLET : DFCS_MENUCHECK);
  }
  TColor text = !FEnabled ? clGrayText : (selected && !TopLevel) ? clHighlightText : clMenuText;
  ACanvas->Font()->SetColor(text);
  if (FDefault) ACanvas->Font()->SetStyle(ACanvas->Font()->GetStyle() + fsBold);
  SetBkMode(dc, TRANSPARENT);
  ACanvas->Font()->GetHandle();
  SelectObject(dc, ACanvas->Font()->GetHandle());
  SetTextColor(dc, ColorToRGB(text));
  UINT prefix = State.Contains(odNoAccel) ? DT_HIDEPREFIX : 0u;
  RECT r = ToRECT(ARect);
  if (TopLevel) {
    DrawTextUtf8(dc, FCaption, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER | prefix);
    return;
  }
  r.left = ARect.Left + glyphWidth + 8;
  r.right -= 16;
  DrawTextUtf8(dc, FCaption, &r, DT_SINGLELINE | DT_VCENTER | DT_LEFT | prefix);
  if (FShortCut) DrawTextUtf8(dc, ShortCutToText(FShortCut), &r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
}

// ---------------------------------------------------------------------------------------
// TMenu
void TMenu::Publish(TClassBuilder<TMenu>& P) {
  P.Component("Images", &TMenu::Images, &TMenu::SetImages)
      .Bool("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw, false)
      .Enum("AutoHotkeys", MenuAutoFlagNames, &TMenu::AutoHotkeys, &TMenu::SetAutoHotkeys, maAutomatic)
      .Enum("AutoLineReduction", MenuAutoFlagNames, &TMenu::AutoLineReduction, &TMenu::SetAutoLineReduction, maAutomatic)
      .Uses({TMenuItem::StaticClass()});
}

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner) {
  FItems = std::make_unique<TMenuItem>(nullptr);
  FItems->FMenu = this;
}

TMenu::~TMenu() {
  FItems.reset();
  DestroyMenuHandle();
}

void TMenu::DestroyMenuHandle() {
  if (FHandle && IsMenu(FHandle)) {
    while (GetMenuItemCount(FHandle) > 0) RemoveMenu(FHandle, 0, MF_BYPOSITION);
    DestroyMenu(FHandle);
  }
  FHandle = nullptr;
}

HMENU TMenu::Handle() {
  if (!FHandle || !IsMenu(FHandle)) {
    FHandle = CreateMenuHandle();
    ++FRebuilding;
    FItems->RebuildHandle();
    --FRebuilding;
  }
  return FHandle;
}

void TMenu::SetWindowHandle(HWND Value) { FWindowHandle = Value; }

void TMenu::SetOwnerDraw(bool Value) {
  if (FOwnerDraw == Value) return;
  FOwnerDraw = Value;
  MenuChanged(this, nullptr, true);
}

void TMenu::SetImages(TCustomImageList* Value) {
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  MenuChanged(this, nullptr, true);
}

void TMenu::SetAutoLineReduction(TMenuAutoFlag Value) {
  if (FAutoLineReduction == Value) return;
  FAutoLineReduction = Value;
  MenuChanged(this, nullptr, true);
}

void TMenu::UpdateItems() {
  if (!FHandle || !IsMenu(FHandle) || FRebuilding) return;
  ++FRebuilding;
  try {
    FItems->RebuildHandle();
  } catch (...) {
    --FRebuilding;
    throw;
  }
  --FRebuilding;
}

void TMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) {
  if (FComponentState.Contains(csLoading) || FComponentState.Contains(csDestroying)) return;
  if (Rebuild) UpdateItems();
  if (OnChange) OnChange(Sender, Source, Rebuild);
}

static TMenuItem* FindIn(TMenuItem* Parent, UINT_PTR Value, TFindItemKind Kind) {
  for (int i = 0; i < Parent->Count(); ++i) {
    TMenuItem* c = Parent->Items(i);
    if ((Kind == fkCommand && c->Command() == Value) ||
        (Kind == fkHandle && c->HasHandle() && UINT_PTR(c->Handle()) == Value) ||
        (Kind == fkShortCut && c->ShortCut() == Value && Value != 0))
      return c;
    if (TMenuItem* found = FindIn(c, Value, Kind)) return found;
  }
  return nullptr;
}

TMenuItem* TMenu::FindItem(UINT_PTR Value, TFindItemKind Kind) const {
  if (Kind == fkHandle && FHandle && UINT_PTR(FHandle) == Value) return FItems.get();
  if (Kind == fkCommand) {
    // Commands are unique among the living items: the item of one is looked up, and it
    // counts when it lies under this menu's items (each entry drawn or measured asks).
    if (Value == 0 || Value > 0xFFFF) return nullptr;
    auto it = Commands().find(WORD(Value));
    if (it == Commands().end()) return nullptr;
    for (TMenuItem* p = it->second->Parent(); p; p = p->Parent())
      if (p == FItems.get()) return it->second;
    return nullptr;
  }
  return FindIn(FItems.get(), Value, Kind);
}

bool TMenu::DispatchCommand(WORD ACommand) {
  TMenuItem* item = FindItem(ACommand, fkCommand);
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::DispatchPopup(HMENU AMenu) {
  TMenuItem* item = FindItem(UINT_PTR(AMenu), fkHandle);
  if (!item) return false;
  if (item != FItems.get()) item->Click();
  for (int i = 0; i < item->Count(); ++i) item->Items(i)->InitiateAction();
  return true;
}

bool TMenu::IsShortCut(TMessage& Message) {
  TShortCut sc = ShortCutFromMessage(Message);
  if ((sc & 0xFF) == 0 || (sc & 0xFF) == VK_SHIFT || (sc & 0xFF) == VK_CONTROL || (sc & 0xFF) == VK_MENU) return false;
  TMenuItem* item = FindItem(sc, fkShortCut);
  if (!item) return false;
  // The item's action and those of its parents are brought up to date first; a disabled
  // item (or one under a disabled parent) lets the key go on.
  for (TMenuItem* p = item; p && p != FItems.get(); p = p->Parent()) p->InitiateAction();
  for (TMenuItem* p = item; p && p != FItems.get(); p = p->Parent())
    if (!p->Enabled()) return false;
  item->Click();
  return true;
}

LRESULT TMenu::ProcessMenuChar(TMessage& Message) {
  HMENU menu = reinterpret_cast<HMENU>(Message.LParam);
  TMenuItem* parent = FindItem(UINT_PTR(menu), fkHandle);
  if (!parent) return 0;
  std::string key;
  Utf8Append(key, char32_t(LOWORD(Message.WParam)));
  key = AnsiLowerCase(key);
  std::vector<TMenuItem*> shown;
  parent->ComputeVisibleLines(shown);
  for (size_t i = 0; i < shown.size(); ++i) {
    std::string caption = shown[i]->Caption();
    std::string hot = GetHotkey(caption);
    // Owner-drawn items have no text for the window system: their accelerator is found here.
    if (hot == key && shown[i]->Enabled()) return MAKELRESULT(WORD(i), MNC_EXECUTE);
  }
  return 0;
}

bool TMenu::MeasureItemMessage(MEASUREITEMSTRUCT& mis) {
  if (mis.CtlType != ODT_MENU) return false;
  TMenuItem* item = FindItem(mis.itemID, fkCommand);
  if (!item) return false;
  TCanvas canvas;
  HDC dc = GetDC(nullptr);
  canvas.SetHandle(dc);
  NONCLIENTMETRICS ncm;
  SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
  canvas.Font()->SetName(ncm.lfMenuFont.lfFaceName);
  canvas.Font()->SetHeight(ncm.lfMenuFont.lfHeight);
  int w = int(mis.itemWidth), h = int(mis.itemHeight);
  try {
    item->MeasureItem(&canvas, w, h);
  } catch (...) {
    canvas.SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
    throw;
  }
  canvas.SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  mis.itemWidth = UINT(std::max(w, 0));
  mis.itemHeight = UINT(std::max(h, 0));
  return true;
}

bool TMenu::DrawItemMessage(const DRAWITEMSTRUCT& dis) {
  if (dis.CtlType != ODT_MENU) return false;
  TMenuItem* item = FindItem(dis.itemID, fkCommand);
  if (!item) return false;
  TCanvas canvas;
  int saved = SaveDC(dis.hDC);
  canvas.SetHandle(dis.hDC);
  NONCLIENTMETRICS ncm;
  SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
  canvas.Font()->SetName(ncm.lfMenuFont.lfFaceName);
  canvas.Font()->SetHeight(ncm.lfMenuFont.lfHeight);
  bool topLevel = item->Parent() == FItems.get() && dynamic_cast<TMainMenu*>(this);
  try {
    item->AdvancedDrawItem(&canvas, ToTRect(dis.rcItem), OwnerDrawStateFromODS(dis.itemState), topLevel);
  } catch (...) {
    canvas.SetHandle(nullptr);
    RestoreDC(dis.hDC, saved);
    throw;
  }
  canvas.SetHandle(nullptr);
  RestoreDC(dis.hDC, saved);
  return true;
}

void TMenu::GetChildren(const TGetChildProc& Proc, TComponent* Root) { FItems->GetChildren(Proc, Root); }

void TMenu::SetChildOrder(TComponent* Child, int Order) { FItems->SetChildOrder(Child, Order); }

void TMenu::Loaded() {
  TComponent::Loaded();
  MenuChanged(this, nullptr, true);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
    MenuChanged(this, nullptr, true);
  }
}

bool DispatchMenuMessage(TMenu* Menu, TMessage& Message) {
  if (!Menu) return false;
  switch (Message.Msg) {
    case WM_COMMAND:
      if (Message.LParam == 0 && HIWORD(Message.WParam) == 0 && Menu->DispatchCommand(LOWORD(Message.WParam))) return true;
      return false;
    case WM_INITMENUPOPUP:
      return Menu->DispatchPopup(reinterpret_cast<HMENU>(Message.WParam));
    case WM_MENUCHAR: {
      LRESULT r = Menu->ProcessMenuChar(Message);
      if (r == 0) return false;
      Message.Result = r;
      return true;
    }
    case WM_MEASUREITEM:
      if (Message.WParam != 0) return false;
      if (Menu->MeasureItemMessage(*reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam))) {
        Message.Result = 1;
        return true;
      }
      return false;
    case WM_DRAWITEM:
      if (Message.WParam != 0) return false;
      if (Menu->DrawItemMessage(*reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam))) {
        Message.Result = 1;
        return true;
      }
      return false;
    case WM_MENUSELECT: {
      WORD flags = HIWORD(Message.WParam);
      if (flags == 0xFFFF && Message.LParam == 0) {
        if (Application) Application->SetHint("");
        return false;
      }
      TMenuItem* item = nullptr;
      if (flags & MF_POPUP) {
        HMENU sub = GetSubMenu(reinterpret_cast<HMENU>(Message.LParam), LOWORD(Message.WParam));
        item = Menu->FindItem(UINT_PTR(sub), fkHandle);
      } else {
        item = Menu->FindItem(LOWORD(Message.WParam), fkCommand);
      }
      if (!item) return false;
      if (Application) Application->SetHint(item->Hint());
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------------------------------
// TMainMenu
void TMainMenu::Publish(TClassBuilder<TMainMenu>& P) {
  P.Bool("AutoMerge", &TMainMenu::AutoMerge, &TMainMenu::SetAutoMerge, false);
}

TMainMenu::~TMainMenu() {
  // A form that shows this menu forgets it before the handle goes.
  if (Screen)
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (Screen->Forms(i)->Menu() == this) Screen->Forms(i)->SetMenu(nullptr);
}

void TMainMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) {
  TMenu::MenuChanged(Sender, Source, Rebuild);
  if (WindowHandle() && IsWindow(WindowHandle())) DrawMenuBar(WindowHandle());
}

void TMainMenu::Rebuild() { MenuChanged(this, nullptr, true); }

void TMainMenu::Merge(TMainMenu* Menu) {
  if (!Menu || Menu == this || std::find(FMerged.begin(), FMerged.end(), Menu) != FMerged.end()) return;
  FMerged.push_back(Menu);
  // Own items of a merged group are hidden; the merged menu's items are appended.
  for (int i = 0; i < Menu->Items()->Count(); ++i) {
    TMenuItem* m = Menu->Items()->Items(i);
    for (int k = 0; k < Items()->Count(); ++k)
      if (Items()->Items(k)->GroupIndex() == m->GroupIndex() && m->GroupIndex() != 0) Items()->Items(k)->SetVisible(false);
  }
  HMENU h = Handle();
  for (int i = 0; i < Menu->Items()->Count(); ++i) {
    TMenuItem* m = Menu->Items()->Items(i);
    if (!m->Visible()) continue;
    MENUITEMINFO mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
    mii.fType = m->IsOwnerDraw() ? MFT_OWNERDRAW : MFT_STRING;
    mii.fState = m->Enabled() ? 0u : UINT(MFS_GRAYED);
    mii.wID = m->Command();
    mii.hSubMenu = m->Count() ? m->Handle() : nullptr;
    std::string text = m->Caption();
    mii.dwTypeData = text.data();
    mii.dwItemData = ULONG_PTR(m);
    InsertMenuItem(h, UINT(-1), TRUE, &mii);
  }
  if (WindowHandle()) DrawMenuBar(WindowHandle());
}

void TMainMenu::Unmerge(TMainMenu* Menu) {
  auto it = std::find(FMerged.begin(), FMerged.end(), Menu);
  if (it == FMerged.end()) return;
  FMerged.erase(it);
  for (int i = 0; i < Menu->Items()->Count(); ++i)
    for (int k = 0; k < Items()->Count(); ++k)
      if (Items()->Items(k)->GroupIndex() == Menu->Items()->Items(i)->GroupIndex()) Items()->Items(k)->SetVisible(true);
  Rebuild();
  for (TMainMenu* m : std::vector<TMainMenu*>(FMerged)) {
    FMerged.erase(std::find(FMerged.begin(), FMerged.end(), m));
    Merge(m);
  }
}

// ---------------------------------------------------------------------------------------
// TPopupMenu and the pop-up list
void TPopupMenu::Publish(TClassBuilder<TPopupMenu>& P) {
  P.Enum("Alignment", PopupAlignmentNames, &TPopupMenu::Alignment, &TPopupMenu::SetAlignment, paLeft)
      .Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup, true)
      .Int("HelpContext", &TPopupMenu::HelpContext, &TPopupMenu::SetHelpContext, 0)
      .Enum("TrackButton", TrackButtonNames, &TPopupMenu::TrackButton, &TPopupMenu::SetTrackButton, tbRightButton)
      .Event("OnClose", &TPopupMenu::OnClose)
      .Event("OnPopup", &TPopupMenu::OnPopup);
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) { PopupList()->Add(this); }

TPopupMenu::~TPopupMenu() { PopupList()->Remove(this); }

void TPopupMenu::DoPopup(TObject* Sender) {
  if (OnPopup) OnPopup(Sender);
}

void TPopupMenu::Popup(int X, int Y) {
  FPopupPoint = TPoint{X, Y};
  DoPopup(this);
  for (int i = 0; i < Items()->Count(); ++i) Items()->Items(i)->InitiateAction();
  HMENU h = Handle();
  UpdateItems();
  if (GetMenuItemCount(h) <= 0) return;
  UINT flags = FAlignment == paRight ? TPM_RIGHTALIGN : FAlignment == paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN;
  if (FTrackButton == tbRightButton) flags |= TPM_RIGHTBUTTON;
  SetWindowHandle(PopupList()->Window());
  TrackPopupMenu(h, flags, X, Y, 0, PopupList()->Window(), nullptr);
  if (OnClose) OnClose(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
}

TPopupList* PopupList() {
  static TPopupList list;
  return &list;
}

HWND TPopupList::Window() {
  if (FWindow && IsWindow(FWindow)) return FWindow;
  WNDCLASS wc;
  if (!GetClassInfo(HInstance(), "TPopupList", &wc)) {
    wc = WNDCLASS();
    wc.lpfnWndProc = &TPopupList::WndProc;
    wc.lpszClassName = "TPopupList";
    wc.hInstance = HInstance();
    RegisterClass(&wc);
  }
  FWindow = CreateWindowEx(WS_EX_TOOLWINDOW, "TPopupList", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, HInstance(), nullptr);
  return FWindow;
}

void TPopupList::Add(TPopupMenu* Menu) { FMenus.push_back(Menu); }

void TPopupList::Remove(TPopupMenu* Menu) { FMenus.erase(std::remove(FMenus.begin(), FMenus.end(), Menu), FMenus.end()); }

LRESULT TPopupList::WndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m;
  m.Msg = Msg;
  m.WParam = WParam;
  m.LParam = LParam;
  switch (Msg) {
    case WM_COMMAND: case WM_INITMENUPOPUP: case WM_MENUCHAR: case WM_MEASUREITEM: case WM_DRAWITEM:
    case WM_MENUSELECT:
      try {
        for (TPopupMenu* p : std::vector<TPopupMenu*>(PopupList()->FMenus))
          if (DispatchMenuMessage(p, m)) return m.Result;
      } catch (const std::exception&) {
        if (Application) Application->HandleException(nullptr);
      }
      if (Msg == WM_MENUCHAR) return 0;
      break;
    default: break;
  }
  return DefWindowProc(Wnd, Msg, WParam, LParam);
}
