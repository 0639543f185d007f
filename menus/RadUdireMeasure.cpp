// RadUdire, measuring: the size of one item, the predicates that tell where an item
// stands, and the shortcut texts.
#include <algorithm>

#include "menus/RadUdire.h"
#include "platform/gdi/Text.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinUser.h"

namespace {

// The text of the resource string that stands for the Windows-key modifier.
constexpr const char* kWinKeyText = "Win+";
constexpr TShortCut kWinKey = 0x0200;

int TextSize(TCanvas* Canvas, const std::string& Text, int& Height) {
  Canvas->TextExtent(" ");  // selects the canvas font
  RECT r{0, 0, 0, 0};
  DrawTextUtf8(Canvas->GetHandle(), Text, &r, DT_CALCRECT | DT_SINGLELINE);
  Height = r.bottom - r.top;
  return r.right - r.left;
}

std::vector<std::string> SplitNotes(const std::string& Caption) {
  std::vector<std::string> parts;
  std::string rest = Caption;
  for (size_t n; (n = rest.find("\\n")) != std::string::npos; rest = rest.substr(n + 2)) parts.push_back(rest.substr(0, n));
  parts.push_back(rest);
  return parts;
}

bool ShowsNotes(TMenuItem* Item) {
  IZedIvad* menu = GetMenuItemIntf(Item);
  return menu && menu->GetShowNotes() && Item->Caption().find("\\n") != std::string::npos;
}

}  // namespace

void MeasureItem(TMenuItem* Item, TCanvas* Canvas, int& Width, int& Height, bool SideBarVisible) {
  if (!Item->Visible()) {
    Width = 0;
    Height = 0;
    return;
  }
  IZedIvad* menu = GetMenuItemIntf(Item);
  TCustomRadUdirEtyler* s = menu ? menu->GetCurrentMenuStyler() : nullptr;
  if (!s) return;
  bool bar = IsInTopMainMenu(Item);
  if (bar) {
    NONCLIENTMETRICS ncm;
    if (SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) {
      Width = ncm.iMenuWidth;
      Height = ncm.iMenuHeight;
    }
  }
  if (Item->IsLine()) {
    Height = s->Separator()->Width() + 2;
    Width = -2;
    return;
  }
  if (!bar) Width = s->IconBar()->Size();
  TCustomImageList* images = Item->GetImageList();
  if (images && (Item->ImageIndex() >= 0 || !bar)) {
    if (bar) Width = images->GetWidth();
    else Height = std::max(Height, images->GetHeight());
  } else if (Item->HasBitmap()) {
    if (bar) Width = Item->Bitmap()->GetWidth();
    else Height = std::max(Height, Item->Bitmap()->GetHeight());
  } else {
    if (bar) Width = -7;
    else Height -= 3;
  }
  if (!bar) {
    Width += 15;
    Height += 2;
  }
  bool notes = ShowsNotes(Item);
  std::string text = notes ? SplitNotes(Item->Caption()).front() : Item->Caption();
  if (Item->ShortCut() != 0) text += DizShortCutToText(Item->ShortCut(), menu->GetIntlKeybShortCuts());
  if (bar) {
    if (!s->RootItem()->UseSystemFont()) Canvas->Font()->Assign(s->RootItem()->Font());
  } else if (!s->UseSystemFont()) {
    Canvas->Font()->Assign(s->Font());
  } else if (!s->SelectedItem()->UseSystemFont()) {
    Canvas->Font()->Assign(s->SelectedItem()->Font());
  }
  int textHeight = 0;
  int textWidth = TextSize(Canvas, text, textHeight);
  Width += textWidth + 7;
  Height = std::max(Height, textHeight + 6);
  if (bar) return;
  if (Item->ShortCut() & kWinKey) Width += Canvas->TextWidth(kWinKeyText);
  if (SideBarVisible && !IsAfterMenuBreak(Item)) Width += s->SideBar()->Size() + s->SideBar()->SplitterWidth();
  Height = (Height + 1) / 2 * 2;
  Width += 17;
  if (notes) {
    // Every line but the last one widens the item to its own width and adds a notes
    // line; the last one needs room beside the icon column and the margins.
    Canvas->Font()->Assign(s->NotesFont());
    int lineHeight = Canvas->TextHeight("gh");
    std::vector<std::string> parts = SplitNotes(Item->Caption());
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
      Width = std::max(Width, Canvas->TextWidth(parts[i]));
      Height += lineHeight;
    }
    if (!parts.back().empty())
      Width = std::max(Width, Canvas->TextWidth(parts.back()) + 17 + s->IconBar()->Size() + 15);
  }
}

// ---- shortcut texts ----------------------------------------------------------------------------
namespace {

// The layout's name of a key, first letter kept and the rest in lower case; the letter
// after a "(" is upper case again.
std::string KeyName(UINT Key) {
  LONG lparam = LONG(MapVirtualKey(Key, 0) << 16);
  if (Key != 8 && Key != 13 && !(Key >= 16 && Key <= 18)) lparam |= 0x1000000;
  char buffer[64] = {};
  int n = GetKeyNameText(lparam, buffer, sizeof buffer);
  std::string name(buffer, size_t(std::max(n, 0)));
  for (size_t i = 1; i < name.size(); ++i) name[i] = char(std::tolower(static_cast<unsigned char>(name[i])));
  size_t paren = name.find('(');
  if (paren != std::string::npos && paren + 1 < name.size())
    name[paren + 1] = char(std::toupper(static_cast<unsigned char>(name[paren + 1])));
  return name;
}

}  // namespace

std::string DizShortCutToText(TShortCut ShortCut, bool IntlKeybShortCuts) {
  if (!IntlKeybShortCuts) {
    std::string text = ShortCutToText(TShortCut(ShortCut & ~kWinKey));
    if (ShortCut & kWinKey) text = kWinKeyText + text;
    return text;
  }
  UINT key = ShortCut & 0xFF;
  std::string text = key >= 0x70 && key <= 0x87 ? "F" + std::to_string(key - 0x6F) : KeyName(key);
  if (ShortCut & scShift) text = KeyName(VK_SHIFT) + "+" + text;
  if (ShortCut & scCtrl) text = KeyName(VK_CONTROL) + "+" + text;
  if (ShortCut & scAlt) text = KeyName(VK_MENU) + "+" + text;
  return text;
}

// ---- predicates ------------------------------------------------------------------------------------
bool IsInTopMenu(TMenuItem* Item) {
  TComponent* parent = Item ? Item->GetParentComponent() : nullptr;
  return dynamic_cast<TMenu*>(parent) && !dynamic_cast<TRerAvideReva*>(parent);
}

bool IsInTopMainMenu(TMenuItem* Item) { return Item && dynamic_cast<TMainMenu*>(Item->GetParentComponent()); }

bool IsInTopPopupMenu(TMenuItem* Item) { return Item && dynamic_cast<TPopupMenu*>(Item->GetParentComponent()); }

bool IsInFirstLevelMenu(TMenuItem* Item) {
  if (!Item) return false;
  TComponent* parent = Item->GetParentComponent();
  if (dynamic_cast<TPopupMenu*>(parent)) return true;
  auto* parentItem = dynamic_cast<TMenuItem*>(parent);
  return parentItem && dynamic_cast<TMainMenu*>(parentItem->GetParentComponent());
}

bool IsInFirstVisibleMenu(TMenuItem* Item) {
  if (!Item) return false;
  if (auto* main = dynamic_cast<TMainMenu*>(GetParentMenuEx(Item)))
    return Item->Parent() && Item->Parent() == FirstVisibleItem(main->Items());
  return IsInTopMenu(Item);
}

bool IsSideBarVisible(TMenuItem* Item) {
  IZedIvad* menu = GetMenuItemIntf(Item);
  TCustomRadUdirEtyler* s = menu ? menu->GetCurrentMenuStyler() : nullptr;
  if (!s || !s->SideBar()->Visible()) return false;
  switch (s->SideBar()->VisibleIn()) {
    case viFirstVisible: return IsInFirstVisibleMenu(Item);
    case viFirstLevel: return IsInFirstLevelMenu(Item);
    case viAnyLevel: return !IsInTopMainMenu(Item);
  }
  return false;
}

bool IsFirstSubMenuItem(TMenuItem* Item) { return Item && Item->Parent() && FirstVisibleItem(Item->Parent()) == Item; }

bool IsAfterMenuBreak(TMenuItem* Item) {
  if (!Item || !Item->Parent()) return false;
  TMenuItem* parent = Item->Parent();
  // The siblings up to the item itself, in one walk.
  const int n = parent->Count();
  for (int i = 0; i < n; ++i) {
    TMenuItem* sibling = parent->Items(i);
    if (sibling->Visible() && sibling->Break() != mbNone) return true;
    if (sibling == Item) break;
  }
  return false;
}

int GetMenuItemLevel(TMenuItem* Item) {
  int ancestors = 0;
  for (TMenuItem* p = Item ? Item->Parent() : nullptr; p; p = p->Parent()) ++ancestors;
  return ancestors - 1;
}

TMenuItem* FirstVisibleItem(TMenuItem* Parent) {
  if (!Parent) return nullptr;
  for (int i = 0; i < Parent->Count(); ++i)
    if (Parent->Items(i)->Visible()) return Parent->Items(i);
  return nullptr;
}

TMenuItem* LastVisibleItem(TMenuItem* Parent) {
  if (!Parent) return nullptr;
  for (int i = Parent->Count() - 1; i >= 0; --i)
    if (Parent->Items(i)->Visible()) return Parent->Items(i);
  return nullptr;
}

int VisibleMenuIndex(TMenuItem* Item) {
  if (!Item || !Item->Visible()) return -1;
  if (!Item->Parent()) return 0;
  int index = 0;
  for (int i = 0; i < Item->MenuIndex(); ++i)
    if (Item->Parent()->Items(i)->Visible()) ++index;
  return index;
}

bool IsRightmost(TMenuItem* Item) {
  if (!IsInTopMainMenu(Item)) return false;
  auto* menu = dynamic_cast<TMainMenu*>(Item->GetParentComponent());
  TMenuItem* root = menu->Items();
  HWND window = GetMenuWnd(menu);
  if (Item != LastVisibleItem(root) && dynamic_cast<TWinControl*>(menu->Owner())) {
    TMenuItem* next = nullptr;
    for (int i = Item->MenuIndex() + 1; i < root->Count() && !next; ++i)
      if (root->Items(i)->Visible()) next = root->Items(i);
    RECT own{}, other{};
    GetMenuItemRect(window, menu->Handle(), UINT(VisibleMenuIndex(Item)), &own);
    GetMenuItemRect(window, menu->Handle(), UINT(VisibleMenuIndex(next)), &other);
    return other.top != own.top && other.right - other.left != 0;
  }
  // The last owner-drawn entry of the bar (the system's own entries are skipped).
  HMENU handle = menu->Handle();
  for (int i = GetMenuItemCount(handle) - 1; i >= 0; --i) {
    MENUITEMINFO info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
    if (!GetMenuItemInfo(handle, UINT(i), TRUE, &info) || info.fType != MFT_OWNERDRAW) continue;
    return info.wID == Item->Command() || (Item->Count() > 0 && info.hSubMenu == Item->Handle());
  }
  return false;
}

bool IsRightAligned(TMenuItem* Item, HWND MenuWindow) {
  if (IsInTopMenu(Item)) return true;
  TMenuItem* parent = Item->Parent();
  if (!parent) return true;
  HMENU own = parent->Handle();
  RECT sub{};
  for (int i = 0; i <= Item->MenuIndex() && sub.right - sub.left == 0 && sub.bottom - sub.top == 0; ++i)
    GetMenuItemRect(nullptr, own, UINT(i), &sub);
  if (sub.right - sub.left == 0 || sub.bottom - sub.top == 0) return true;
  int index = VisibleMenuIndex(parent);
  if (index < 0 || !parent->Parent()) return false;
  RECT p{};
  GetMenuItemRect(MenuWindow ? GetParent(MenuWindow) : nullptr, parent->Parent()->Handle(), UINT(index), &p);
  return p.left < sub.left || (p.left == sub.left && p.right < sub.right);
}
