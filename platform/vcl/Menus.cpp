#include "platform/vcl/Menus.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/Drawing.h"
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
  if (FHandle && !FMenu) {
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
  return FBitmap && !FBitmap->Empty() && !(FParent && !FParent->FParent && dynamic_cast<TMainMenu*>(m));
}

void TMenuItem::RebuildHandle() {
  HMENU h = FMenu ? FMenu->FHandleValue() : FHandle;
  (void)h;
}
