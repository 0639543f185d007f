#include "platform/vcl/ListBoxes.h"

#include <functional>

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/gdi/Gdi.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Forms.h"
#include "platform/win/StdEdit.h"

namespace {

// Line height of a font (the standard item height).
int FontLineHeight(TFont* Font) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font->GetHandle());
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  SelectObject(dc, old);
  DeleteDC(dc);
  return std::max<int>(1, tm.tmHeight);
}

std::string Upper(const std::string& s) { return AnsiUpperCase(s); }

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
  if (prefix.empty()) return false;
  std::string u = Upper(s), p = Upper(prefix);
  return u.compare(0, p.size(), p) == 0;
}

int CompareNoCase(const std::string& a, const std::string& b) {
  std::string ua = Upper(a), ub = Upper(b);
  return ua < ub ? -1 : ua > ub ? 1 : 0;
}

constexpr unsigned kTypingPause = 500;  // ms between typed characters of one search


// Owner drawing shared by the list box and the combo box: the item height asked of a
// variable-height item, and an item drawn on the control's canvas with the selection
// colours and the focus rectangle.
void MeasureOwnerDrawItem(MEASUREITEMSTRUCT& mis, int itemHeight, bool variable,
                          const std::function<void(int, int&)>& measure) {
  mis.itemHeight = UINT(itemHeight);
  if (!variable) return;
  int h = int(mis.itemHeight);
  measure(int(mis.itemID), h);
  mis.itemHeight = UINT(std::max(1, h));
}

void DrawOwnerDrawItem(DRAWITEMSTRUCT& dis, TControlCanvas& canvas, TFont* font, TBrush* brush,
                       const std::function<void(int, const TRect&, TOwnerDrawState)>& draw) {
  TOwnerDrawState state = OwnerDrawStateFromODS(dis.itemState);
  canvas.Lock();
  canvas.SetHandle(dis.hDC);
  canvas.SetFont(font);
  canvas.SetBrush(brush);
  if (int(dis.itemID) >= 0 && state.Contains(odSelected)) {
    canvas.Brush()->SetColor(clHighlight);
    canvas.Font()->SetColor(clHighlightText);
  }
  TRect r = ToTRect(dis.rcItem);
  try {
    if (int(dis.itemID) >= 0) draw(int(dis.itemID), r, state);
    else canvas.FillRect(r);
  } catch (...) {
    canvas.SetHandle(nullptr);
    canvas.Unlock();
    throw;
  }
  if (state.Contains(odFocused)) DrawFocusRect(dis.hDC, &dis.rcItem);
  canvas.SetHandle(nullptr);
  canvas.Unlock();
}
}  // namespace

// ---------------------------------------------------------------------------------------
std::string TListBoxStrings::Get(int Index) const {
  if (Index < 0 || Index >= FListBox->Count()) Error("List index out of bounds (%d)", Index);
  return FListBox->ItemData()[size_t(Index)].Text;
}
int TListBoxStrings::GetCount() const { return FListBox->Count(); }
TObject* TListBoxStrings::GetObject(int Index) const {
  if (Index < 0 || Index >= FListBox->Count()) Error("List index out of bounds (%d)", Index);
  return reinterpret_cast<TObject*>(FListBox->ItemData()[size_t(Index)].Data);
}
void TListBoxStrings::Put(int Index, const std::string& S) {
  if (Index < 0 || Index >= FListBox->Count()) Error("List index out of bounds (%d)", Index);
  // The framework replaces an item by deleting and inserting it, keeping the selection
  // and the object.
  int oldIndex = FListBox->ItemIndex();
  TListItemData item = FListBox->ItemData()[size_t(Index)];
  FListBox->DeleteItem(Index);
  int at = FListBox->InsertItem(Index, S, item.Data, true);
  FListBox->MutableItemData()[size_t(at)].Selected = item.Selected;
  if (oldIndex == Index) FListBox->SetItemIndex(at);
}
void TListBoxStrings::PutObject(int Index, TObject* AObject) {
  if (Index < 0 || Index >= FListBox->Count()) Error("List index out of bounds (%d)", Index);
  FListBox->MutableItemData()[size_t(Index)].Data = reinterpret_cast<ULONG_PTR>(AObject);
}
void TListBoxStrings::Insert(int Index, const std::string& S) { InsertObject(Index, S, nullptr); }
void TListBoxStrings::InsertObject(int Index, const std::string& S, TObject* AObject) {
  if (Index < 0 || Index > FListBox->Count()) Error("List index out of bounds (%d)", Index);
  FListBox->InsertItem(Index, S, reinterpret_cast<ULONG_PTR>(AObject), true);
}
int TListBoxStrings::Add(const std::string& S) { return AddObject(S, nullptr); }
int TListBoxStrings::AddObject(const std::string& S, TObject* AObject) {
  return FListBox->InsertItem(FListBox->Count(), S, reinterpret_cast<ULONG_PTR>(AObject), false);
}
void TListBoxStrings::Delete(int Index) {
  if (Index < 0 || Index >= FListBox->Count()) Error("List index out of bounds (%d)", Index);
  FListBox->DeleteItem(Index);
}
void TListBoxStrings::Clear() { FListBox->ResetContent(); }
int TListBoxStrings::IndexOf(const std::string& S) const {
  for (int i = 0; i < FListBox->Count(); ++i)
    if (CompareNoCase(FListBox->ItemData()[size_t(i)].Text, S) == 0) return i;
  return -1;
}
void TListBoxStrings::Exchange(int Index1, int Index2) {
  if (Index1 < 0 || Index1 >= FListBox->Count()) Error("List index out of bounds (%d)", Index1);
  if (Index2 < 0 || Index2 >= FListBox->Count()) Error("List index out of bounds (%d)", Index2);
  auto& items = FListBox->MutableItemData();
  std::swap(items[size_t(Index1)], items[size_t(Index2)]);
  FListBox->ItemsChanged();
}
void TListBoxStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  if (CurIndex < 0 || CurIndex >= FListBox->Count()) Error("List index out of bounds (%d)", CurIndex);
  if (NewIndex < 0 || NewIndex >= FListBox->Count()) Error("List index out of bounds (%d)", NewIndex);
  auto& items = FListBox->MutableItemData();
  TListItemData item = items[size_t(CurIndex)];
  items.erase(items.begin() + CurIndex);
  items.insert(items.begin() + NewIndex, item);
  FListBox->ItemsChanged();
}
void TListBoxStrings::SetUpdateState(bool Updating) {
  if (!FListBox->HandleAllocated()) return;
  SendMessage(FListBox->Handle(), WM_SETREDRAW, Updating ? 0 : 1, 0);
  if (!Updating) FListBox->Invalidate();
}

// ---------------------------------------------------------------------------------------
static const TEnumInfo* ListBoxStyleNames = RegisterEnum(
    "TListBoxStyle", {"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable", "lbVirtual", "lbVirtualOwnerDraw"});
static const TEnumInfo* LBBorderStyleNames = RegisterEnum("TBorderStyle", {"bsNone", "bsSingle"});

void TCustomListBox::Publish(TClassBuilder<TCustomListBox>& P) {
  P.Bool("AutoComplete", &TCustomListBox::AutoComplete, &TCustomListBox::SetAutoComplete, true)
      .Enum("BorderStyle", LBBorderStyleNames, &TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle, bsSingle)
      .Int("Columns", &TCustomListBox::Columns, &TCustomListBox::SetColumns, 0)
      .Bool("ExtendedSelect", &TCustomListBox::ExtendedSelect, &TCustomListBox::SetExtendedSelect, true)
      .Bool("IntegralHeight", &TCustomListBox::IntegralHeight, &TCustomListBox::SetIntegralHeight, false)
      .Int("ItemHeight", &TCustomListBox::FItemHeight, &TCustomListBox::SetItemHeight, 16)
      .Object("Items", &TCustomListBox::Items, &TCustomListBox::SetItems)
      .Bool("MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect, false)
      .Int("ScrollWidth", &TCustomListBox::ScrollWidth, &TCustomListBox::SetScrollWidth, 0)
      .Bool("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted, false)
      .Enum("Style", ListBoxStyleNames, &TCustomListBox::Style, &TCustomListBox::SetStyle, lbStandard)
      .Int("TabWidth", &TCustomListBox::TabWidth, &TCustomListBox::SetTabWidth, 0)
      .Event("OnDrawItem", &TCustomListBox::OnDrawItem)
      .Event("OnMeasureItem", &TCustomListBox::OnMeasureItem);
}

void TListBox::Publish(TClassBuilder<TListBox>& P) { (void)P; }

TCustomListBox::TCustomListBox(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = TControlStyle{csSetCaption, csDoubleClicks, csOpaque};
  FWidth = 121;
  FHeight = 97;
  FTabStop = true;
  FColor = clWindow;
  FParentColor = false;
  Brush()->SetColor(FColor);
  FItemStrings = std::make_unique<TListBoxStrings>(this);
  FCanvas = std::make_unique<TControlCanvas>();
  FCanvas->SetControl(this);
}

TCustomListBox::~TCustomListBox() { FCanvas->SetControl(nullptr); }

void TCustomListBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style |= DWORD(WS_VSCROLL) | DWORD(LBS_NOTIFY) | DWORD(LBS_HASSTRINGS);
  if (FSorted) Params.Style |= LBS_SORT;
  if (FMultiSelect) Params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  if (FStyle == lbOwnerDrawFixed) Params.Style |= LBS_OWNERDRAWFIXED;
  if (FStyle == lbOwnerDrawVariable) Params.Style |= LBS_OWNERDRAWVARIABLE;
  if (!FIntegralHeight) Params.Style |= LBS_NOINTEGRALHEIGHT;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListBox::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateScrollBar();
}

void TCustomListBox::SetItems(TStrings* Value) { FItemStrings->Assign(Value); }

int TCustomListBox::ItemHeight() {
  if (FStyle == lbOwnerDrawFixed || FStyle == lbOwnerDrawVariable || FStyle == lbVirtualOwnerDraw)
    return FItemHeight;
  return FontLineHeight(Font());
}

void TCustomListBox::SetItemHeight(int Value) {
  if (Value <= 0 || FItemHeight == Value) return;
  FItemHeight = Value;
  UpdateScrollBar();
  Invalidate();
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  MeasureAll();
  RecreateWnd();
  Invalidate();
}

void TCustomListBox::SetBorderStyle(TBorderStyle Value) {
  if (Value != bsNone) Value = bsSingle;
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomListBox::SetMultiSelect(bool Value) {
  if (FMultiSelect == Value) return;
  FMultiSelect = Value;
  int keep = FMultiSelect ? FCurSel : FCaret;
  for (auto& item : FItems) item.Selected = false;
  FCurSel = -1;
  if (keep >= 0 && keep < Count()) {
    if (FMultiSelect) FItems[size_t(keep)].Selected = true;
    else FCurSel = keep;
    FCaret = FAnchor = keep;
  }
  RecreateWnd();
  Invalidate();
}

void TCustomListBox::SetExtendedSelect(bool Value) {
  if (FExtendedSelect == Value) return;
  FExtendedSelect = Value;
  RecreateWnd();
}

int TCustomListBox::SortedIndexOf(const std::string& S) const {
  int lo = 0, hi = Count();
  while (lo < hi) {
    int mid = (lo + hi) / 2;
    if (CompareNoCase(FItems[size_t(mid)].Text, S) <= 0) lo = mid + 1;
    else hi = mid;
  }
  return lo;
}

void TCustomListBox::SetSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  if (FSorted) {
    int sel = FCurSel;
    std::string selText = sel >= 0 && sel < Count() ? FItems[size_t(sel)].Text : std::string();
    ULONG_PTR selData = sel >= 0 && sel < Count() ? FItems[size_t(sel)].Data : 0;
    std::stable_sort(FItems.begin(), FItems.end(),
                     [](const TListItemData& a, const TListItemData& b) { return CompareNoCase(a.Text, b.Text) < 0; });
    if (sel >= 0) {
      for (int i = 0; i < Count(); ++i)
        if (FItems[size_t(i)].Text == selText && FItems[size_t(i)].Data == selData) {
          FCurSel = FCaret = i;
          break;
        }
    }
    ItemsChanged();
  }
}

void TCustomListBox::MeasureItem(int Index, int& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomListBox::MeasureAll() {
  for (int i = 0; i < Count(); ++i) {
    MEASUREITEMSTRUCT mis;
    mis.CtlType = ODT_LISTBOX;
    mis.itemID = UINT(i);
    mis.itemHeight = UINT(FItemHeight);
    mis.itemData = FItems[size_t(i)].Data;
    if (FStyle == lbOwnerDrawVariable) SendOwnerDraw(WM_MEASUREITEM, LPARAM(&mis));
    FItems[size_t(i)].Height = int(mis.itemHeight);
  }
}

int TCustomListBox::HeightOf(int Index) {
  if (FStyle == lbOwnerDrawVariable && Index >= 0 && Index < Count()) return std::max(1, FItems[size_t(Index)].Height);
  return ItemHeight();
}

int TCustomListBox::InsertItem(int Index, const std::string& S, ULONG_PTR Data, bool KeepOrder) {
  if (FSorted && !KeepOrder) Index = SortedIndexOf(S);
  Index = std::clamp(Index, 0, Count());
  TListItemData item;
  item.Text = S;
  item.Data = Data;
  item.Height = FItemHeight;
  FItems.insert(FItems.begin() + Index, item);
  if (FCurSel >= Index) ++FCurSel;
  if (FCaret >= Index) ++FCaret;
  if (FAnchor >= Index) ++FAnchor;
  if (FStyle == lbOwnerDrawVariable) {
    MEASUREITEMSTRUCT mis;
    mis.CtlType = ODT_LISTBOX;
    mis.itemID = UINT(Index);
    mis.itemHeight = UINT(FItemHeight);
    mis.itemData = Data;
    SendOwnerDraw(WM_MEASUREITEM, LPARAM(&mis));
    FItems[size_t(Index)].Height = int(mis.itemHeight);
  }
  ItemsChanged();
  return Index;
}

void TCustomListBox::DeleteItem(int Index) {
  if (Index < 0 || Index >= Count()) return;
  FItems.erase(FItems.begin() + Index);
  auto fix = [&](int& v) {
    if (v == Index) v = -1;
    else if (v > Index) --v;
  };
  fix(FCurSel);
  fix(FCaret);
  fix(FAnchor);
  if (FTopIndex > 0 && FTopIndex >= Count()) FTopIndex = std::max(0, Count() - 1);
  ItemsChanged();
}

void TCustomListBox::ResetContent() {
  FItems.clear();
  FCurSel = FCaret = FAnchor = -1;
  FTopIndex = 0;
  ItemsChanged();
}

void TCustomListBox::ItemsChanged() {
  UpdateScrollBar();
  Invalidate();
}

void TCustomListBox::Clear() { FItemStrings->Clear(); }

void TCustomListBox::ClearSelection() {
  if (FMultiSelect) {
    for (auto& item : FItems) item.Selected = false;
  } else {
    FCurSel = -1;
  }
  Invalidate();
}

void TCustomListBox::DeleteSelected() {
  if (FMultiSelect) {
    for (int i = Count() - 1; i >= 0; --i)
      if (FItems[size_t(i)].Selected) DeleteItem(i);
  } else if (FCurSel >= 0) {
    DeleteItem(FCurSel);
  }
}

void TCustomListBox::SelectAll() {
  if (!FMultiSelect) return;
  for (auto& item : FItems) item.Selected = true;
  Invalidate();
}

int TCustomListBox::ItemIndex() { return FMultiSelect ? FCaret : FCurSel; }

void TCustomListBox::SetItemIndex(int Value) {
  if (Value < -1 || Value >= Count()) Value = -1;
  if (ItemIndex() == Value) return;
  if (FMultiSelect) {
    SetCaret(Value);
  } else {
    FCurSel = Value;
    FCaret = Value;
    if (Value >= 0) MakeVisible(Value);
  }
  Invalidate();
}

bool TCustomListBox::Selected(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FMultiSelect ? FItems[size_t(Index)].Selected : FCurSel == Index;
}

void TCustomListBox::SetSelected(int Index, bool Value) {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  if (FMultiSelect) {
    FItems[size_t(Index)].Selected = Value;
  } else if (Value) {
    FCurSel = FCaret = Index;
  } else if (FCurSel == Index) {
    FCurSel = -1;
  }
  Invalidate();
}

int TCustomListBox::SelCount() const {
  if (!FMultiSelect) return -1;
  return int(std::count_if(FItems.begin(), FItems.end(), [](const TListItemData& i) { return i.Selected; }));
}

int TCustomListBox::VisibleItemsFrom(int Top) {
  int h = ClientHeight();
  int n = 0, y = 0;
  for (int i = std::max(0, Top); i < Count(); ++i) {
    y += HeightOf(i);
    if (y > h) break;
    ++n;
  }
  if (FStyle != lbOwnerDrawVariable && Count() == 0) n = std::max(1, h / std::max(1, ItemHeight()));
  return std::max(1, n);
}

void TCustomListBox::SetTopIndex(int Value) {
  Value = std::clamp(Value, 0, std::max(0, Count() - 1));
  // Never scroll past the point where the last item is at the bottom.
  int lastTop = Count();
  int h = ClientHeight(), y = 0;
  while (lastTop > 0 && y + HeightOf(lastTop - 1) <= h) {
    y += HeightOf(lastTop - 1);
    --lastTop;
  }
  Value = std::min(Value, std::max(0, lastTop));
  if (FTopIndex == Value) return;
  FTopIndex = Value;
  UpdateScrollBar();
  Invalidate();
}

void TCustomListBox::MakeVisible(int Index) {
  if (Index < 0 || Index >= Count()) return;
  if (Index < FTopIndex) {
    SetTopIndex(Index);
    return;
  }
  int h = ClientHeight();
  int top = FTopIndex;
  auto bottomOf = [&](int t) {
    int y = 0;
    for (int i = t; i <= Index; ++i) y += HeightOf(i);
    return y;
  };
  while (top < Index && bottomOf(top) > h) ++top;
  SetTopIndex(top);
}

void TCustomListBox::UpdateScrollBar() {
  if (!HandleAllocated()) return;
  int visible = VisibleItemsFrom(FTopIndex);
  bool needed = Count() > 0 && (FTopIndex > 0 || visible < Count() - FTopIndex);
  if (!needed) {
    int total = 0;
    for (int i = 0; i < Count(); ++i) total += HeightOf(i);
    needed = total > ClientHeight() + (FHandle && (GetWindowLong(FHandle, GWL_STYLE) & WS_VSCROLL) ? 0 : 0);
  }
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  si.nMin = 0;
  si.nMax = std::max(0, Count() - 1);
  si.nPage = UINT(visible);
  si.nPos = FTopIndex;
  SetScrollInfo(FHandle, SB_VERT, &si, TRUE);
  ShowScrollBar(FHandle, SB_VERT, needed ? TRUE : FALSE);
}

TRect TCustomListBox::ItemRect(int Index) {
  int w = ClientWidth();
  if (Index < FTopIndex) {
    int y = 0;
    for (int i = Index; i < FTopIndex; ++i) y -= HeightOf(i);
    return TRect{0, y, w, y + HeightOf(Index)};
  }
  int y = 0;
  for (int i = FTopIndex; i < Index; ++i) y += HeightOf(i);
  return TRect{0, y, w, y + HeightOf(Index)};
}

int TCustomListBox::ItemAtPos(const TPoint& Pos, bool Existing) {
  if (Count() == 0) return Existing ? -1 : 0;
  if (Pos.Y < 0) return Existing ? -1 : FTopIndex;
  int y = 0;
  for (int i = FTopIndex; i < Count(); ++i) {
    int h = HeightOf(i);
    if (Pos.Y < y + h) {
      if (Existing && (Pos.X < 0 || Pos.X >= ClientWidth())) return -1;
      return i;
    }
    y += h;
  }
  return Existing ? -1 : Count() - 1;
}

void TCustomListBox::Notify(WORD Code) {
  if (!HandleAllocated()) return;
  HWND parent = GetParent(FHandle);
  if (parent) SendMessage(parent, WM_COMMAND, MAKEWPARAM(WORD(GetDlgCtrlID(FHandle)), Code), LPARAM(FHandle));
}

int TCustomListBox::FindString(const std::string& S, int Start, bool Exact) const {
  int n = Count();
  if (n == 0) return -1;
  int first = (Start < 0 || Start >= n) ? 0 : Start + 1;
  for (int k = 0; k < n; ++k) {
    int i = (first + k) % n;
    const std::string& t = FItems[size_t(i)].Text;
    if (Exact ? CompareNoCase(t, S) == 0 : (S.empty() || StartsWithNoCase(t, S))) return i;
  }
  return -1;
}

void TCustomListBox::SetCaret(int Index) {
  if (Index < -1 || Index >= Count()) return;
  FCaret = Index;
  if (Index >= 0) MakeVisible(Index);
  Invalidate();
}

void TCustomListBox::SelectSingle(int Index, bool NotifyChange) {
  if (Index < 0 || Index >= Count()) return;
  bool changed = FCurSel != Index;
  FCurSel = FCaret = FAnchor = Index;
  MakeVisible(Index);
  Invalidate();
  if (NotifyChange && changed) Notify(LBN_SELCHANGE);
}

void TCustomListBox::SelectRange(int From, int To, bool ClearOthers) {
  if (From > To) std::swap(From, To);
  for (int i = 0; i < Count(); ++i) {
    if (i >= From && i <= To) FItems[size_t(i)].Selected = true;
    else if (ClearOthers) FItems[size_t(i)].Selected = false;
  }
}

void TCustomListBox::MouseSelect(int Index, TShiftState Shift, bool ButtonDown) {
  if (Index < 0) return;
  if (!FMultiSelect) {
    bool changed = FCurSel != Index;
    FCurSel = FCaret = FAnchor = Index;
    MakeVisible(Index);
    Invalidate();
    if (changed) Notify(LBN_SELCHANGE);
    return;
  }
  std::vector<bool> before;
  for (auto& item : FItems) before.push_back(item.Selected);
  if (!FExtendedSelect) {
    if (ButtonDown) FItems[size_t(Index)].Selected = !FItems[size_t(Index)].Selected;
    FCaret = Index;
  } else if (Shift.Contains(ssShift)) {
    if (FAnchor < 0) FAnchor = Index;
    SelectRange(FAnchor, Index, !Shift.Contains(ssCtrl));
    FCaret = Index;
  } else if (Shift.Contains(ssCtrl)) {
    if (ButtonDown) FItems[size_t(Index)].Selected = !FItems[size_t(Index)].Selected;
    FCaret = FAnchor = Index;
  } else {
    if (ButtonDown) FAnchor = Index;
    SelectRange(FAnchor < 0 ? Index : FAnchor, Index, true);
    FCaret = Index;
  }
  MakeVisible(Index);
  Invalidate();
  bool changed = false;
  for (size_t i = 0; i < FItems.size(); ++i) changed |= before[i] != FItems[i].Selected;
  if (changed || ButtonDown) Notify(LBN_SELCHANGE);
}

void TCustomListBox::KeyNavigate(WORD Key, TShiftState Shift) {
  if (Count() == 0) return;
  int cur = FMultiSelect ? FCaret : FCurSel;
  int page = std::max(1, VisibleItemsFrom(FTopIndex) - 1);
  int target = cur;
  switch (Key) {
    case VK_UP: case VK_LEFT: target = cur < 0 ? 0 : cur - 1; break;
    case VK_DOWN: case VK_RIGHT: target = cur < 0 ? 0 : cur + 1; break;
    case VK_PRIOR: target = cur < 0 ? 0 : cur - page; break;
    case VK_NEXT: target = cur < 0 ? 0 : cur + page; break;
    case VK_HOME: target = 0; break;
    case VK_END: target = Count() - 1; break;
    case VK_SPACE:
      if (FMultiSelect && cur >= 0) {
        if (!FExtendedSelect || Shift.Contains(ssCtrl)) FItems[size_t(cur)].Selected = !FItems[size_t(cur)].Selected;
        else SelectRange(cur, cur, !Shift.Contains(ssShift));
        FAnchor = cur;
        Invalidate();
        Notify(LBN_SELCHANGE);
      }
      return;
    default: return;
  }
  target = std::clamp(target, 0, Count() - 1);
  if (!FMultiSelect) {
    SelectSingle(target, true);
  } else if (!FExtendedSelect || Shift.Contains(ssCtrl)) {
    SetCaret(target);  // the caret moves, the selection stays
  } else {
    MouseSelect(target, Shift, !Shift.Contains(ssShift));
  }
}

void TCustomListBox::KeyPress(char32_t& Key) {
  TWinControl::KeyPress(Key);
  if (Key < 32 || !FAutoComplete) return;
  // Typed characters within a short pause search incrementally; a new search starts
  // after the pause.
  unsigned long long now = GetTickCount64();
  if (now - FLastTime > kTypingPause) FFilter.clear();
  FLastTime = now;
  Utf8Append(FFilter, Key);
  int cur = ItemIndex();
  int start = FFilter.size() > 1 && cur >= 0 ? cur - 1 : cur;
  int found = FindString(FFilter, start, false);
  if (found < 0 && FFilter.size() > 1) {
    // Repeating one letter walks through the items starting with it.
    std::string single;
    size_t pos = 0;
    Utf8Append(single, Utf8Next(FFilter, pos));
    found = FindString(single, cur, false);
  }
  if (found >= 0) {
    if (FMultiSelect) MouseSelect(found, {}, true);
    else SelectSingle(found, true);
  }
  Key = 0;
}

bool TCustomListBox::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TWinControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  int lines = Mouse()->WheelScrollLines();
  SetTopIndex(FTopIndex - (WheelDelta / WHEEL_DELTA) * std::max(1, lines));
  return true;
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  (void)State;
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  if (Index < Count()) FCanvas->TextOut(Rect.Left + 2, Rect.Top, FItems[size_t(Index)].Text);
}

void TCustomListBox::PaintItem(HDC DC, int Index, const RECT& R, UINT Action) {
  bool selected = FMultiSelect ? FItems[size_t(Index)].Selected : FCurSel == Index;
  UINT state = 0;
  if (selected) state |= ODS_SELECTED;
  // With nothing selected the caret rests on the first item, and the focus shows there.
  if ((Index == FCaret || (FCaret < 0 && Index == 0)) && Focused()) state |= ODS_FOCUS;
  if (!Enabled()) state |= ODS_DISABLED;
  DRAWITEMSTRUCT dis;
  dis.CtlType = ODT_LISTBOX;
  dis.CtlID = UINT(GetDlgCtrlID(FHandle));
  dis.itemID = UINT(Index);
  dis.itemAction = Action;
  dis.itemState = state;
  dis.hwndItem = FHandle;
  dis.hDC = DC;
  dis.rcItem = R;
  dis.itemData = FItems[size_t(Index)].Data;
  SendOwnerDraw(WM_DRAWITEM, LPARAM(&dis));
}

void TCustomListBox::SendOwnerDraw(UINT Msg, LPARAM Struct) {
  HWND parent = HandleAllocated() && (GetWindowLong(FHandle, GWL_STYLE) & WS_CHILD) ? GetParent(FHandle) : nullptr;
  if (Msg == WM_MEASUREITEM) reinterpret_cast<MEASUREITEMSTRUCT*>(Struct)->CtlID = UINT(GetWindowLongPtr(FHandle, GWLP_ID));
  if (parent) SendMessage(parent, Msg, WPARAM(GetDlgCtrlID(FHandle)), Struct);
  else Perform(CN_BASE + Msg, 0, Struct);
}

void TCustomListBox::PaintWindow(HDC DC) {
  RECT client;
  GetClientRect(FHandle, &client);
  int y = 0;
  for (int i = FTopIndex; i < Count() && y < client.bottom; ++i) {
    int h = HeightOf(i);
    RECT r{0, y, client.right, y + h};
    PaintItem(DC, i, r, ODA_DRAWENTIRE);
    y += h;
  }
  if (y < client.bottom) {
    RECT rest{0, y, client.right, client.bottom};
    FillRect(DC, &rest, Brush()->GetHandle());
  }
  // An empty focused list shows the focus rectangle on its first line.
  if (Count() == 0 && Focused()) {
    RECT f{0, 0, client.right, ItemHeight()};
    DrawFocusRect(DC, &f);
  }
}

void TCustomListBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    // ---- the list's messages ----
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
      const char* s = reinterpret_cast<const char*>(Message.LParam);
      int index = Message.Msg == LB_ADDSTRING ? Count() : (int(Message.WParam) < 0 ? Count() : int(Message.WParam));
      if (index > Count()) {
        Message.Result = LB_ERR;
        return;
      }
      Message.Result = InsertItem(index, s ? s : "", 0, Message.Msg == LB_INSERTSTRING);
      return;
    }
    case LB_DELETESTRING:
      if (int(Message.WParam) < 0 || int(Message.WParam) >= Count()) {
        Message.Result = LB_ERR;
        return;
      }
      DeleteItem(int(Message.WParam));
      Message.Result = Count();
      return;
    case LB_RESETCONTENT: ResetContent(); return;
    case LB_GETCOUNT: Message.Result = Count(); return;
    case LB_GETTEXT:
    case LB_GETTEXTLEN: {
      int i = int(Message.WParam);
      if (i < 0 || i >= Count()) {
        Message.Result = LB_ERR;
        return;
      }
      const std::string& t = FItems[size_t(i)].Text;
      if (Message.Msg == LB_GETTEXT && Message.LParam) {
        std::memcpy(reinterpret_cast<char*>(Message.LParam), t.c_str(), t.size() + 1);
      }
      Message.Result = LRESULT(t.size());
      return;
    }
    case LB_GETITEMDATA:
    case LB_SETITEMDATA: {
      int i = int(Message.WParam);
      if (i < 0 || i >= Count()) {
        Message.Result = LB_ERR;
        return;
      }
      if (Message.Msg == LB_GETITEMDATA) Message.Result = LRESULT(FItems[size_t(i)].Data);
      else FItems[size_t(i)].Data = ULONG_PTR(Message.LParam);
      return;
    }
    case LB_GETCURSEL: Message.Result = FMultiSelect ? FCaret : FCurSel; return;
    case LB_SETCURSEL:
      if (FMultiSelect) {
        Message.Result = LB_ERR;
        return;
      }
      if (int(Message.WParam) < 0 || int(Message.WParam) >= Count()) {
        FCurSel = -1;
        Invalidate();
        Message.Result = LB_ERR;
        return;
      }
      SelectSingle(int(Message.WParam), false);
      Message.Result = FCurSel;
      return;
    case LB_GETSEL: {
      int i = int(Message.WParam);
      Message.Result = (i < 0 || i >= Count()) ? LB_ERR : (Selected(i) ? 1 : 0);
      return;
    }
    case LB_SETSEL: {
      if (!FMultiSelect) {
        Message.Result = LB_ERR;
        return;
      }
      int i = int(Message.LParam);
      if (i == -1) {
        for (auto& item : FItems) item.Selected = Message.WParam != 0;
      } else if (i >= 0 && i < Count()) {
        FItems[size_t(i)].Selected = Message.WParam != 0;
      } else {
        Message.Result = LB_ERR;
        return;
      }
      Invalidate();
      return;
    }
    case LB_SELITEMRANGE:
    case LB_SELITEMRANGEEX: {
      if (!FMultiSelect) {
        Message.Result = LB_ERR;
        return;
      }
      int from, to;
      bool on = true;
      if (Message.Msg == LB_SELITEMRANGE) {
        on = Message.WParam != 0;
        from = LOWORD(Message.LParam);
        to = HIWORD(Message.LParam);
      } else {
        from = int(Message.WParam);
        to = int(Message.LParam);
        if (from > to) {
          on = false;
          std::swap(from, to);
        }
      }
      for (int i = std::max(0, from); i <= std::min(to, Count() - 1); ++i) FItems[size_t(i)].Selected = on;
      Invalidate();
      return;
    }
    case LB_GETSELCOUNT: Message.Result = FMultiSelect ? SelCount() : LB_ERR; return;
    case LB_GETSELITEMS: {
      if (!FMultiSelect) {
        Message.Result = LB_ERR;
        return;
      }
      auto* out = reinterpret_cast<int*>(Message.LParam);
      int max = int(Message.WParam), n = 0;
      for (int i = 0; i < Count() && n < max; ++i)
        if (FItems[size_t(i)].Selected) {
          if (out) out[n] = i;
          ++n;
        }
      Message.Result = n;
      return;
    }
    case LB_GETTOPINDEX: Message.Result = FTopIndex; return;
    case LB_SETTOPINDEX:
      if (int(Message.WParam) < 0 || (Count() > 0 && int(Message.WParam) >= Count())) {
        Message.Result = LB_ERR;
        return;
      }
      SetTopIndex(int(Message.WParam));
      return;
    case LB_GETCARETINDEX: Message.Result = FCaret; return;
    case LB_SETCARETINDEX:
      if (int(Message.WParam) < 0 || int(Message.WParam) >= Count()) {
        Message.Result = LB_ERR;
        return;
      }
      SetCaret(int(Message.WParam));
      return;
    case LB_GETANCHORINDEX: Message.Result = FAnchor; return;
    case LB_SETANCHORINDEX: FAnchor = int(Message.WParam); return;
    case LB_GETITEMHEIGHT: Message.Result = HeightOf(int(Message.WParam)); return;
    case LB_SETITEMHEIGHT: {
      int h = LOWORD(Message.LParam);
      if (h <= 0 || h > 255) {
        Message.Result = LB_ERR;
        return;
      }
      if (FStyle == lbOwnerDrawVariable) {
        int i = int(Message.WParam);
        if (i >= 0 && i < Count()) FItems[size_t(i)].Height = h;
      } else {
        FItemHeight = h;
      }
      ItemsChanged();
      return;
    }
    case LB_GETITEMRECT: {
      int i = int(Message.WParam);
      if (i < 0 || i >= Count() || !Message.LParam) {
        Message.Result = LB_ERR;
        return;
      }
      *reinterpret_cast<RECT*>(Message.LParam) = ToRECT(ItemRect(i));
      Message.Result = 1;
      return;
    }
    case LB_ITEMFROMPOINT: {
      TPoint p{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
      int i = ItemAtPos(p, true);
      bool outside = i < 0;
      if (outside) i = ItemAtPos(p, false);
      Message.Result = MAKELRESULT(WORD(std::max(0, i)), WORD(outside ? 1 : 0));
      return;
    }
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
    case LB_SELECTSTRING: {
      const char* s = reinterpret_cast<const char*>(Message.LParam);
      int found = FindString(s ? s : "", int(Message.WParam), Message.Msg == LB_FINDSTRINGEXACT);
      if (Message.Msg == LB_SELECTSTRING && found >= 0) {
        if (FMultiSelect) SetCaret(found);
        else SelectSingle(found, false);
      }
      Message.Result = found < 0 ? LB_ERR : found;
      return;
    }
    case LB_SETCOUNT:
    case LB_INITSTORAGE: Message.Result = 0; return;
    case LB_GETHORIZONTALEXTENT: Message.Result = FScrollWidth; return;
    case LB_SETHORIZONTALEXTENT: FScrollWidth = int(Message.WParam); return;

    // ---- reflected notifications and owner drawing ----
    case CN_COMMAND:
      switch (HIWORD(Message.WParam)) {
        case LBN_SELCHANGE:
          Perform(CM_CHANGED, 0, LPARAM(this));
          Click();
          break;
        case LBN_DBLCLK: DblClick(); break;
      }
      return;
    case CN_MEASUREITEM:
      MeasureOwnerDrawItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam), FItemHeight,
                           FStyle == lbOwnerDrawVariable, [this](int Index, int& Height) { MeasureItem(Index, Height); });
      return;
    case CN_DRAWITEM:
      DrawOwnerDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam), *FCanvas, Font(), Brush(),
                        [this](int Index, const TRect& Rect, TOwnerDrawState State) { DrawItem(Index, Rect, State); });
      Message.Result = 1;
      return;

    // ---- input ----
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case WM_SETFOCUS:
      TWinControl::WndProc(Message);
      if (FCaret < 0 && Count() > 0 && FMultiSelect) FCaret = 0;
      Invalidate();
      return;
    case WM_KILLFOCUS:
      TWinControl::WndProc(Message);
      Invalidate();
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (CanFocus() && !Focused()) SetFocus();
      int i = ItemAtPos(TPoint{Message.XPos(), Message.YPos()}, true);
      TShiftState shift = KeysToShiftState(Message.Keys());
      if (i >= 0) {
        MouseSelect(i, shift, true);
        FTracking = true;
        SetCapture(FHandle);
      }
      TWinControl::WndProc(Message);
      if (Message.Msg == WM_LBUTTONDBLCLK && i >= 0) Notify(LBN_DBLCLK);
      return;
    }
    case WM_MOUSEMOVE:
      if (FTracking && (!FMultiSelect || FExtendedSelect)) {
        int i = ItemAtPos(TPoint{Message.XPos(), Message.YPos()}, false);
        if (Message.YPos() < 0 && FTopIndex > 0) i = FTopIndex - 1;
        if (i >= 0 && i != (FMultiSelect ? FCaret : FCurSel)) {
          if (FMultiSelect) MouseSelect(i, TShiftState{ssShift}, false);
          else MouseSelect(i, {}, false);
        }
      }
      TWinControl::WndProc(Message);
      return;
    case WM_LBUTTONUP:
      if (FTracking) {
        FTracking = false;
        if (GetCapture() == FHandle) ReleaseCapture();
      }
      TWinControl::WndProc(Message);
      return;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      FTracking = false;
      TWinControl::WndProc(Message);
      return;
    case WM_KEYDOWN: {
      TWinControl::WndProc(Message);  // OnKeyDown first; it may take the key
      if (Message.WParam != 0) KeyNavigate(WORD(Message.WParam), KeyDataToShiftState(Message.LParam));
      return;
    }
    case WM_VSCROLL: {
      int page = std::max(1, VisibleItemsFrom(FTopIndex) - 1);
      switch (LOWORD(Message.WParam)) {
        case SB_LINEUP: SetTopIndex(FTopIndex - 1); break;
        case SB_LINEDOWN: SetTopIndex(FTopIndex + 1); break;
        case SB_PAGEUP: SetTopIndex(FTopIndex - page); break;
        case SB_PAGEDOWN: SetTopIndex(FTopIndex + page); break;
        case SB_TOP: SetTopIndex(0); break;
        case SB_BOTTOM: SetTopIndex(Count()); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
          SCROLLINFO si;
          si.fMask = SIF_TRACKPOS;
          GetScrollInfo(FHandle, SB_VERT, &si);
          SetTopIndex(LOWORD(Message.WParam) == SB_THUMBTRACK ? si.nTrackPos : HIWORD(Message.WParam));
          break;
        }
      }
      return;
    }
    case WM_SIZE:
      TWinControl::WndProc(Message);
      UpdateScrollBar();
      return;
    case WM_ERASEBKGND: Message.Result = 1; return;
    case CM_FONTCHANGED:
      TWinControl::WndProc(Message);
      ItemsChanged();
      return;
    default: break;
  }
  TWinControl::WndProc(Message);
}

// =======================================================================================
// Combo box

namespace {
std::unordered_map<HWND, TCustomComboBox*>& CombosByEdit() {
  static std::unordered_map<HWND, TCustomComboBox*> map;
  return map;
}
}  // namespace

void TComboListBox::Publish(TClassBuilder<TComboListBox>& P) { (void)P; }

TComboListBox::TComboListBox(TComponent* AOwner, TCustomComboBox* Combo) : TCustomListBox(AOwner), FCombo(Combo) {
  FTabStop = false;
  FVisible = false;
}

void TComboListBox::CreateParams(TCreateParams& Params) {
  TCustomListBox::CreateParams(Params);
  if (Simple) return;
  Params.Style = (Params.Style & ~DWORD(WS_CHILD | WS_TABSTOP)) | WS_POPUP | WS_BORDER | WS_CLIPSIBLINGS;
  Params.ExStyle = (Params.ExStyle & ~DWORD(WS_EX_CLIENTEDGE)) | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
}

void TComboListBox::SendOwnerDraw(UINT Msg, LPARAM Struct) { FCombo->SendOwnerDraw(Msg, Struct); }

void TComboListBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CN_DRAWITEM:
    case CN_MEASUREITEM:
      // The combo box draws and measures its items (its canvas, its events).
      Message.Result = FCombo->Perform(Message.Msg, Message.WParam, Message.LParam);
      return;
    case CN_COMMAND: return;
    case WM_GETDLGCODE: Message.Result = DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case WM_MOUSEACTIVATE:
      if (!Simple) {
        Message.Result = MA_NOACTIVATE;
        return;
      }
      break;
    default: break;
  }
  if (Simple) {
    if (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) {
      int i = ItemAtPos(TPoint{Message.XPos(), Message.YPos()}, true);
      if (i >= 0) FCombo->ListChoose(i);
      if (FCombo->CanFocus()) FCombo->SetFocus();
      if (Message.Msg == WM_LBUTTONDBLCLK) FCombo->NotifyParent(CBN_DBLCLK);
      return;
    }
    TCustomListBox::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_MOUSEMOVE: {
      // Hovering highlights the item under the mouse.
      int i = ItemAtPos(TPoint{Message.XPos(), Message.YPos()}, true);
      if (i >= 0 && i != ItemIndex()) SetItemIndex(i);
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      TRect r = ClientRect();
      int x = Message.XPos(), y = Message.YPos();
      if (x < r.Left || y < r.Top || x >= r.Right || y >= r.Bottom) {
        // A press outside the list closes it; a press on the combo box's button is
        // taken as that: closing.
        FCombo->CloseList(false);
        return;
      }
      IgnoreNextUp = false;
      return;
    }
    case WM_LBUTTONUP: {
      if (IgnoreNextUp) {
        IgnoreNextUp = false;
        return;
      }
      int i = ItemAtPos(TPoint{Message.XPos(), Message.YPos()}, true);
      if (i >= 0) FCombo->ListChoose(i);
      return;
    }
    case WM_CAPTURECHANGED:
      if (FCombo->DroppedDown() && reinterpret_cast<HWND>(Message.LParam) != FHandle) FCombo->CloseList(false);
      return;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      FCombo->CloseList(false);
      return;
    default: break;
  }
  TCustomListBox::WndProc(Message);
}

// ---------------------------------------------------------------------------------------
static const TEnumInfo* ComboStyleNames = RegisterEnum(
    "TComboBoxStyle", {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"});

void TCustomComboBox::Publish(TClassBuilder<TCustomComboBox>& P) {
  P.Bool("AutoComplete", &TCustomComboBox::AutoComplete, &TCustomComboBox::SetAutoComplete, true)
      .Bool("AutoDropDown", &TCustomComboBox::AutoDropDown, &TCustomComboBox::SetAutoDropDown, false)
      .Enum("Style", ComboStyleNames, &TCustomComboBox::Style, &TCustomComboBox::SetStyle, csDropDown)
      .Int("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount, 8)
      .Int("ItemHeight", &TCustomComboBox::FItemHeight, &TCustomComboBox::SetItemHeight, 16)
      .Int("MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength, 0)
      .Bool("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted, false)
      .Str("Text", &TCustomComboBox::Caption, &TCustomComboBox::SetCaption)
      .Object("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems)
      .Int("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex, -1)
      .Event("OnChange", &TCustomComboBox::OnChange)
      .Event("OnSelect", &TCustomComboBox::OnSelect)
      .Event("OnDropDown", &TCustomComboBox::OnDropDown)
      .Event("OnCloseUp", &TCustomComboBox::OnCloseUp)
      .Event("OnDrawItem", &TCustomComboBox::OnDrawItem)
      .Event("OnMeasureItem", &TCustomComboBox::OnMeasureItem);
}

void TComboBox::Publish(TClassBuilder<TComboBox>& P) { (void)P; }

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TWinControl(AOwner) {
  // No capture on a press: the dropped list takes the mouse.
  FControlStyle = TControlStyle{csSetCaption, csDoubleClicks, csOpaque};
  FWidth = 145;
  FHeight = 21;
  FTabStop = true;
  FColor = clWindow;
  FParentColor = false;
  Brush()->SetColor(FColor);
  FCanvas = std::make_unique<TControlCanvas>();
  FCanvas->SetControl(this);
  FList = std::make_unique<TComboListBox>(nullptr, this);
  FList->SetBorderStyle(bsNone);
}

TCustomComboBox::~TCustomComboBox() {
  Destroying();
  if (FEditHandle) CombosByEdit().erase(FEditHandle);
  FList.reset();
  FCanvas->SetControl(nullptr);
}

void TCustomComboBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style |= DWORD(WS_VSCROLL) | DWORD(CBS_HASSTRINGS) | DWORD(CBS_AUTOHSCROLL);
  Params.Style &= ~DWORD(WS_VSCROLL);
  switch (FStyle) {
    case csDropDown: Params.Style |= CBS_DROPDOWN; break;
    case csSimple: Params.Style |= CBS_SIMPLE; break;
    case csDropDownList: Params.Style |= CBS_DROPDOWNLIST; break;
    case csOwnerDrawFixed: Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED; break;
    case csOwnerDrawVariable: Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE; break;
  }
  if (FList->Sorted()) Params.Style |= CBS_SORT;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TCustomComboBox::CreateWnd() {
  std::string text = FText;
  TWinControl::CreateWnd();
  FList->SetFont(Font());
  FList->SetStyle(FStyle == csOwnerDrawFixed ? lbOwnerDrawFixed
                  : FStyle == csOwnerDrawVariable ? lbOwnerDrawVariable
                                                  : lbStandard);
  FList->SetItemHeight(FItemHeight);
  if (HasEdit()) {
    RegisterEditClass();
    DWORD style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
    FEditHandle = CreateWindowEx(0, WC_EDIT, text.c_str(), style, 0, 0, 10, 10, FHandle, nullptr, HInstance(), nullptr);
    if (FEditHandle) {
      CombosByEdit()[FEditHandle] = this;
      SendMessage(FEditHandle, WM_SETFONT, WPARAM(Font()->GetHandle()), 0);
      if (FMaxLength > 0) SendMessage(FEditHandle, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
      FDefEditProc = reinterpret_cast<WNDPROC>(
          SetWindowLongPtr(FEditHandle, GWLP_WNDPROC, LONG_PTR(&TCustomComboBox::EditSubclassProc)));
    }
  }
  if (FStyle == csSimple) {
    FList->Simple = true;
    FList->SetBorderStyle(bsSingle);
    FList->SetParentWindow(FHandle);
  }
  LayoutEdit();
}

void TCustomComboBox::DestroyWnd() {
  if (FDroppedDown) CloseList(false);
  if (FEditHandle) {
    FText = GetWindowTextStr(FEditHandle);
    CombosByEdit().erase(FEditHandle);
    DestroyWindow(FEditHandle);
    FEditHandle = nullptr;
  } else {
    FText = Caption();
  }
  FList->DestroyHandle();
  TWinControl::DestroyWnd();
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  if (HandleAllocated()) RecreateWnd();
  SetBounds(FLeft, FTop, FWidth, FHeight);
}

int TCustomComboBox::ItemHeight() {
  if (IsOwnerDraw()) return FItemHeight;
  return FList->ItemHeight();
}

void TCustomComboBox::SetItemHeight(int Value) {
  if (Value <= 0) return;
  FItemHeight = Value;
  FList->SetItemHeight(Value);
  SetBounds(FLeft, FTop, FWidth, FHeight);
  Invalidate();
}

void TCustomComboBox::SetMaxLength(int Value) {
  FMaxLength = std::max(0, Value);
  if (FEditHandle) SendMessage(FEditHandle, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
}

void TCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  // A drop-down combo box is as high as its field, as the system makes it.
  if (FStyle != csSimple) {
    int field = FEditHeight > 0 ? FEditHeight : (IsOwnerDraw() ? FItemHeight : FList->ItemHeight()) + 2;
    AHeight = field + 2 + 2 * GetSystemMetrics(SM_CYEDGE);
  }
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  LayoutEdit();
}

TRect TCustomComboBox::ButtonRect() {
  if (FStyle == csSimple) return TRect{0, 0, 0, 0};
  TRect c = ClientRect();
  int w = GetSystemMetrics(SM_CXVSCROLL);
  return TRect{std::max(0, c.Right - w), 0, c.Right, c.Bottom};
}

void TCustomComboBox::LayoutEdit() {
  if (!HandleAllocated()) return;
  TRect c = ClientRect();
  int editBottom = c.Bottom;
  if (FStyle == csSimple) {
    editBottom = (FEditHeight > 0 ? FEditHeight : FList->ItemHeight() + 4);
    if (FList->HandleAllocated() || FList->ParentWindow()) {
      HWND lh = FList->Handle();
      MoveWindow(lh, 0, editBottom, c.Right, std::max(0, c.Bottom - editBottom), TRUE);
      ShowWindow(lh, SW_SHOWNOACTIVATE);
    }
  }
  if (FEditHandle) {
    int right = FStyle == csSimple ? c.Right : ButtonRect().Left;
    MoveWindow(FEditHandle, 2, 2, std::max(0, right - 3), std::max(0, editBottom - 3), TRUE);
  }
}

bool TCustomComboBox::Focused() {
  HWND f = GetFocus();
  return f && (f == FHandle || f == FEditHandle);
}

int TCustomComboBox::ItemIndex() { return int(Perform(CB_GETCURSEL, 0, 0)); }

void TCustomComboBox::SetItemIndex(int Value) {
  if (FComponentState.Contains(csLoading)) FLoadedItemIndex = Value;  // the items may follow
  if (ItemIndex() == Value) return;
  Perform(CB_SETCURSEL, WPARAM(Value), 0);
}

void TCustomComboBox::Loaded() {
  TWinControl::Loaded();
  if (FLoadedItemIndex >= 0 && ItemIndex() != FLoadedItemIndex) SetItemIndex(FLoadedItemIndex);
  FLoadedItemIndex = -1;
}

void TCustomComboBox::SetCurSel(int Index, bool Notify) {
  if (Index < -1 || Index >= FList->Count()) Index = -1;
  bool changed = FList->ItemIndex() != Index;
  FList->SetItemIndex(Index);
  UpdateEditText();
  Invalidate();
  if (Notify && changed) NotifyParent(CBN_SELCHANGE);
}

void TCustomComboBox::UpdateEditText() {
  int i = FList->ItemIndex();
  if (!HasEdit()) return;
  std::string text = i >= 0 ? FList->ItemData()[size_t(i)].Text : std::string();
  if (FEditHandle) {
    FSettingText = true;
    SetWindowText(FEditHandle, text.c_str());
    FSettingText = false;
    SendMessage(FEditHandle, EM_SETSEL, 0, -1);
  } else {
    FText = text;
  }
}

void TCustomComboBox::NotifyParent(WORD Code) {
  if (!HandleAllocated()) return;
  HWND parent = GetParent(FHandle);
  if (parent) SendMessage(parent, WM_COMMAND, MAKEWPARAM(WORD(GetDlgCtrlID(FHandle)), Code), LPARAM(FHandle));
}

void TCustomComboBox::SetDroppedDown(bool Value) {
  if (FStyle == csSimple || Value == FDroppedDown) return;
  if (!Value) {
    CloseList(true);
    return;
  }
  HandleNeeded();
  NotifyParent(CBN_DROPDOWN);
  if (FDroppedDown || !HandleAllocated()) return;
  FSelBeforeDrop = FList->ItemIndex();
  TCustomForm* form = GetParentForm(this);
  FList->SetParentWindow(form ? form->Handle() : GetAncestor(FHandle, GA_ROOT));
  FList->SetFont(Font());
  HWND lh = FList->Handle();
  int n = std::clamp(FList->Count(), 1, FDropDownCount);
  int height = 0;
  for (int i = 0; i < n; ++i) height += FList->Count() ? FList->ItemRect(i).Height() : FList->ItemHeight();
  if (FList->Count() == 0) height = FList->ItemHeight();
  height += 2;
  int width = std::max(FWidth, FDroppedWidth);
  TPoint origin = ClientToScreen(TPoint{0, 0});
  RECT wr;
  GetWindowRect(FHandle, &wr);
  int x = wr.left, y = wr.bottom;
  RECT work{0, 0, 0, 0};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  if (work.bottom > work.top && y + height > work.bottom && wr.top - height >= work.top) y = wr.top - height;
  (void)origin;
  SetWindowPos(lh, HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  if (HasEdit()) {
    // The list opens on the item whose text the edit holds.
    std::string text = Text();
    int match = text.empty() ? -1 : int(Perform(CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(text.c_str())));
    if (match >= 0 && match != FList->ItemIndex()) FList->SetItemIndex(match);
  }
  FList->MakeVisible(std::max(0, FList->ItemIndex()));
  FDroppedDown = true;
  FList->IgnoreNextUp = GetKeyState(VK_LBUTTON) < 0;
  SetCapture(lh);
  Invalidate();
}

void TCustomComboBox::CloseList(bool Accept) {
  if (!FDroppedDown) return;
  FDroppedDown = false;
  int chosen = FList->ItemIndex();
  if (FList->HandleAllocated()) {
    if (GetCapture() == FList->Handle()) ReleaseCapture();
    ShowWindow(FList->Handle(), SW_HIDE);
  }
  // Hovering only highlighted; the selection is what the keys or a click chose
  // (FSelBeforeDrop follows the keys while the list is down).
  if (!Accept) FList->SetItemIndex(FSelBeforeDrop);
  NotifyParent(Accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
  Invalidate();
  NotifyParent(CBN_CLOSEUP);
  if (Accept && chosen != FSelBeforeDrop) {
    UpdateEditText();
    NotifyParent(CBN_SELCHANGE);
  }
  FSelBeforeDrop = FList->ItemIndex();
}

void TCustomComboBox::ListChoose(int Index) {
  if (FStyle == csSimple) {
    SetCurSel(Index, true);
    return;
  }
  FList->SetItemIndex(Index);
  UpdateEditText();
  CloseList(true);
}

int TCustomComboBox::FindPrefix(const std::string& Prefix, int Start) const {
  int n = FList->Count();
  for (int k = 0; k < n; ++k) {
    int i = (Start + 1 + k) % n;
    if (StartsWithNoCase(FList->ItemData()[size_t(i)].Text, Prefix)) return i;
  }
  return -1;
}

bool TCustomComboBox::ComboKey(WORD Key, TShiftState Shift) {
  bool alt = Shift.Contains(ssAlt);
  if (Key == VK_F4 && !alt) {
    SetDroppedDown(!FDroppedDown);
    return true;
  }
  if (alt && (Key == VK_DOWN || Key == VK_UP)) {
    SetDroppedDown(!FDroppedDown);
    return true;
  }
  if (FDroppedDown && (Key == VK_RETURN || Key == VK_ESCAPE)) {
    CloseList(Key == VK_RETURN);
    return true;
  }
  int count = FList->Count();
  if (count == 0) return false;
  int cur = FList->ItemIndex();
  int page = std::max(1, (FDroppedDown ? std::min(count, FDropDownCount) : 1) - 1);
  int target;
  switch (Key) {
    case VK_UP: target = cur < 0 ? 0 : cur - 1; break;
    case VK_DOWN: target = cur < 0 ? 0 : cur + 1; break;
    case VK_PRIOR: target = cur < 0 ? 0 : cur - page; break;
    case VK_NEXT: target = cur < 0 ? 0 : cur + page; break;
    case VK_HOME:
    case VK_END:
      if (HasEdit() && !FDroppedDown) return false;  // the edit moves its caret
      target = Key == VK_HOME ? 0 : count - 1;
      break;
    default: return false;
  }
  target = std::clamp(target, 0, count - 1);
  if (target != cur) {
    SetCurSel(target, !FDroppedDown);
    if (FDroppedDown) {
      FList->MakeVisible(target);
      FSelBeforeDrop = target;  // chosen by the keys: closing keeps it
      NotifyParent(CBN_SELCHANGE);
    }
  }
  return true;
}

void TCustomComboBox::KeyPress(char32_t& Key) {
  TWinControl::KeyPress(Key);
  if (Key == 0 || HasEdit()) return;
  if (Key < 32) return;
  // A drop-down list selects the item starting with the typed characters.
  unsigned long long now = GetTickCount64();
  if (now - FLastTime > kTypingPause) FFilter.clear();
  FLastTime = now;
  Utf8Append(FFilter, Key);
  int cur = FList->ItemIndex();
  int found = FindPrefix(FFilter, FFilter.size() > 1 && cur >= 0 ? cur - 1 : cur);
  if (found < 0 && FFilter.size() > 1) {
    std::string single;
    size_t pos = 0;
    Utf8Append(single, Utf8Next(FFilter, pos));
    found = FindPrefix(single, cur);
  }
  if (found >= 0 && found != cur) {
    SetCurSel(found, !FDroppedDown);
    if (FDroppedDown) {
      FList->MakeVisible(found);
      FSelBeforeDrop = found;
      NotifyParent(CBN_SELCHANGE);
    }
  }
  Key = 0;
}

void TCustomComboBox::AutoCompleteEdit() {
  if (!FEditHandle || !FAutoComplete) return;
  std::string text = GetWindowTextStr(FEditHandle);
  if (text.empty()) return;
  int found = FindPrefix(text, -1);
  if (found < 0) return;
  // The item is selected (which shows its text) and the part not typed is selected in
  // the edit, so typing on replaces it.
  if (FList->ItemIndex() != found) {
    FList->SetItemIndex(found);
    NotifyParent(CBN_SELCHANGE);
  }
  const std::string& item = FList->ItemData()[size_t(found)].Text;
  size_t typed = Utf8ToUtf16(text).size();
  FSettingText = true;
  SetWindowText(FEditHandle, item.c_str());
  FSettingText = false;
  SendMessage(FEditHandle, EM_SETSEL, WPARAM(typed), LPARAM(Utf8ToUtf16(item).size()));
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}
void TCustomComboBox::Select() {
  if (OnSelect) OnSelect(this);
  else Change();
}
void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}
void TCustomComboBox::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}
void TCustomComboBox::MeasureItem(int Index, int& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}
void TCustomComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  (void)State;
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  if (Index >= 0 && Index < FList->Count()) FCanvas->TextOut(Rect.Left + 2, Rect.Top, FList->ItemData()[size_t(Index)].Text);
}

int TCustomComboBox::SelStart() {
  if (!FEditHandle) return 0;
  DWORD start = 0;
  SendMessage(FEditHandle, EM_GETSEL, WPARAM(&start), 0);
  return int(start);
}
void TCustomComboBox::SetSelStart(int Value) {
  if (FEditHandle) SendMessage(FEditHandle, EM_SETSEL, WPARAM(Value), LPARAM(Value));
}
int TCustomComboBox::SelLength() {
  if (!FEditHandle) return 0;
  DWORD start = 0, end = 0;
  SendMessage(FEditHandle, EM_GETSEL, WPARAM(&start), LPARAM(&end));
  return int(end) - int(start);
}
void TCustomComboBox::SetSelLength(int Value) {
  if (FEditHandle) {
    int s = SelStart();
    SendMessage(FEditHandle, EM_SETSEL, WPARAM(s), LPARAM(s + Value));
  }
}
std::string TCustomComboBox::SelText() {
  if (!FEditHandle) return std::string();
  std::u16string t = Utf8ToUtf16(GetWindowTextStr(FEditHandle));
  int s = std::clamp(SelStart(), 0, int(t.size()));
  int l = std::clamp(SelLength(), 0, int(t.size()) - s);
  return Utf16ToUtf8(t.substr(size_t(s), size_t(l)));
}
void TCustomComboBox::SetSelText(const std::string& Value) {
  if (FEditHandle) SendMessage(FEditHandle, EM_REPLACESEL, 1, LPARAM(Value.c_str()));
}
void TCustomComboBox::SelectAll() {
  if (FEditHandle) SendMessage(FEditHandle, EM_SETSEL, 0, -1);
}
void TCustomComboBox::Clear() {
  SetCaption("");
  FList->Clear();
}

LRESULT TCustomComboBox::EditSubclassProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto it = CombosByEdit().find(Wnd);
  if (it == CombosByEdit().end()) return EditWindowProc(Wnd, Msg, WParam, LParam);
  TCustomComboBox* combo = it->second;
  TMessage m;
  m.Msg = Msg;
  m.WParam = WParam;
  m.LParam = LParam;
  try {
    combo->ComboWndProc(m, Wnd, combo->FDefEditProc ? combo->FDefEditProc : &EditWindowProc);
  } catch (const std::exception&) {
    if (Application) Application->HandleException(combo);
    else throw;
  }
  return m.Result;
}

void TCustomComboBox::ComboWndProc(TMessage& Message, HWND ComboWnd, WNDPROC ComboProc) {
  switch (Message.Msg) {
    case WM_SETFOCUS: {
      Message.Result = CallWindowProc(ComboProc, ComboWnd, Message.Msg, Message.WParam, Message.LParam);
      TCustomForm* form = GetParentForm(this);
      if (form) form->SetFocusedControl(this);
      NotifyParent(CBN_SETFOCUS);
      return;
    }
    case WM_KILLFOCUS:
      Message.Result = CallWindowProc(ComboProc, ComboWnd, Message.Msg, Message.WParam, Message.LParam);
      if (FDroppedDown && reinterpret_cast<HWND>(Message.WParam) != ListHandle()) CloseList(false);
      NotifyParent(CBN_KILLFOCUS);
      return;
    case WM_GETDLGCODE:
      Message.Result = CallWindowProc(ComboProc, ComboWnd, Message.Msg, Message.WParam, Message.LParam) |
                       DLGC_WANTARROWS | (FDroppedDown ? UINT(DLGC_WANTALLKEYS) : 0u);
      return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (DoKeyDown(Message)) return;
      if (ComboKey(WORD(Message.WParam), KeyDataToShiftState(Message.LParam))) return;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (DoKeyUp(Message)) return;
      break;
    case WM_CHAR:
      if (DoKeyPress(Message)) return;
      if (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE) return;  // no beep in the edit
      FTypedChar = Message.WParam >= 32;
      break;
    case WM_LBUTTONDOWN:
      if (FDroppedDown) CloseList(false);
      break;
    default: break;
  }
  Message.Result = CallWindowProc(ComboProc, ComboWnd, Message.Msg, Message.WParam, Message.LParam);
  FTypedChar = false;
  if (FPendingChange) {
    FPendingChange = false;
    AutoCompleteEdit();
    NotifyParent(CBN_EDITUPDATE);
    NotifyParent(CBN_EDITCHANGE);
  }
}

void TCustomComboBox::SendOwnerDraw(UINT Msg, LPARAM Struct) {
  UINT id = HandleAllocated() ? UINT(GetWindowLongPtr(FHandle, GWLP_ID)) : 0;
  if (Msg == WM_DRAWITEM) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(Struct);
    dis->CtlType = ODT_COMBOBOX;
    dis->CtlID = id;
    dis->hwndItem = FHandle;
  } else {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(Struct);
    mis->CtlType = ODT_COMBOBOX;
    mis->CtlID = id;
  }
  HWND parent = HandleAllocated() && (GetWindowLong(FHandle, GWL_STYLE) & WS_CHILD) ? GetParent(FHandle) : nullptr;
  if (parent) SendMessage(parent, Msg, WPARAM(id), Struct);
  else Perform(CN_BASE + Msg, 0, Struct);
}

void TCustomComboBox::PaintWindow(HDC DC) {
  RECT client = ToRECT(ClientRect());
  FillRect(DC, &client, Brush()->GetHandle());
  if (FStyle != csSimple) {
    RECT b = ToRECT(ButtonRect());
    HTHEME theme = IsThemeActive() ? OpenThemeData(FHandle, "combobox") : nullptr;
    if (theme) {
      int state = !Enabled() ? CBXS_DISABLED : FDroppedDown ? CBXS_PRESSED : CBXS_NORMAL;
      DrawThemeBackground(theme, DC, CP_DROPDOWNBUTTON, state, &b, nullptr);
      CloseThemeData(theme);
    } else {
      UINT flags = DFCS_SCROLLCOMBOBOX;
      if (FDroppedDown) flags |= DFCS_PUSHED | DFCS_FLAT;
      if (!Enabled()) flags |= DFCS_INACTIVE;
      DrawFrameControl(DC, &b, DFC_SCROLL, flags);
    }
  }
  if (HasEdit()) return;
  // The field of a drop-down list: the selected item, highlighted while focused.
  RECT field{client.left + 2, client.top + 2, ButtonRect().Left - 2, client.bottom - 2};
  if (field.right <= field.left) return;
  int index = FList->ItemIndex();
  bool focused = Focused() && !FDroppedDown;
  UINT state = ODS_COMBOBOXEDIT;
  if (focused) state |= ODS_SELECTED | ODS_FOCUS;
  if (!Enabled()) state |= ODS_DISABLED;
  DRAWITEMSTRUCT dis;
  dis.CtlType = ODT_COMBOBOX;
  dis.CtlID = UINT(GetDlgCtrlID(FHandle));
  dis.itemID = UINT(index);
  dis.itemAction = ODA_DRAWENTIRE;
  dis.itemState = state;
  dis.hwndItem = FHandle;
  dis.hDC = DC;
  dis.rcItem = field;
  dis.itemData = index >= 0 ? FList->ItemData()[size_t(index)].Data : 0;
  if (IsOwnerDraw()) {
    SendOwnerDraw(WM_DRAWITEM, LPARAM(&dis));
    return;
  }
  HFONT oldFont = HFONT(SelectObject(DC, Font()->GetHandle()));
  if (focused) {
    HBRUSH hl = CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT));
    FillRect(DC, &field, hl);
    DeleteObject(hl);
    SetTextColor(DC, GetSysColor(COLOR_HIGHLIGHTTEXT));
  } else {
    SetTextColor(DC, Enabled() ? ColorToRGB(Font()->GetColor()) : GetSysColor(COLOR_GRAYTEXT));
  }
  SetBkMode(DC, TRANSPARENT);
  if (index >= 0) {
    RECT t{field.left + 2, field.top, field.right, field.bottom};
    std::string text = FList->ItemData()[size_t(index)].Text;
    DrawText(DC, text.c_str(), -1, &t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (focused) DrawFocusRect(DC, &field);
  SelectObject(DC, oldFont);
}

void TCustomComboBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    // ---- the combo box's messages ----
    case CB_ADDSTRING: Message.Result = FList->Perform(LB_ADDSTRING, Message.WParam, Message.LParam); return;
    case CB_INSERTSTRING: Message.Result = FList->Perform(LB_INSERTSTRING, Message.WParam, Message.LParam); return;
    case CB_DELETESTRING: Message.Result = FList->Perform(LB_DELETESTRING, Message.WParam, Message.LParam); Invalidate(); return;
    case CB_RESETCONTENT:
      FList->ResetContent();
      if (FEditHandle) SetWindowText(FEditHandle, "");
      Invalidate();
      return;
    case CB_GETCOUNT: Message.Result = FList->Count(); return;
    case CB_GETLBTEXT: Message.Result = FList->Perform(LB_GETTEXT, Message.WParam, Message.LParam); return;
    case CB_GETLBTEXTLEN: Message.Result = FList->Perform(LB_GETTEXTLEN, Message.WParam, 0); return;
    case CB_GETITEMDATA: Message.Result = FList->Perform(LB_GETITEMDATA, Message.WParam, 0); return;
    case CB_SETITEMDATA: Message.Result = FList->Perform(LB_SETITEMDATA, Message.WParam, Message.LParam); return;
    case CB_FINDSTRING: Message.Result = FList->Perform(LB_FINDSTRING, Message.WParam, Message.LParam); return;
    case CB_FINDSTRINGEXACT: Message.Result = FList->Perform(LB_FINDSTRINGEXACT, Message.WParam, Message.LParam); return;
    case CB_SELECTSTRING: {
      const char* s = reinterpret_cast<const char*>(Message.LParam);
      int found = FindPrefix(s ? s : "", int(Message.WParam));
      if (found >= 0) SetCurSel(found, false);
      Message.Result = found < 0 ? CB_ERR : found;
      return;
    }
    case CB_GETCURSEL: Message.Result = FList->ItemIndex(); return;
    case CB_SETCURSEL: {
      int i = int(Message.WParam);
      SetCurSel(i, false);
      FSelBeforeDrop = FList->ItemIndex();
      Message.Result = (i < 0 || i >= FList->Count()) ? CB_ERR : i;
      return;
    }
    case CB_SHOWDROPDOWN: SetDroppedDown(Message.WParam != 0); Message.Result = 1; return;
    case CB_GETDROPPEDSTATE: Message.Result = FDroppedDown ? 1 : 0; return;
    case CB_SETITEMHEIGHT: {
      int h = int(Message.LParam);
      if (h <= 0 || h > 255) {
        Message.Result = CB_ERR;
        return;
      }
      if (int(Message.WParam) == -1) {
        FEditHeight = h;
        SetBounds(FLeft, FTop, FWidth, FHeight);
      } else if (FStyle == csOwnerDrawVariable) {
        FList->Perform(LB_SETITEMHEIGHT, Message.WParam, h);
      } else {
        FItemHeight = h;
        FList->SetItemHeight(h);
      }
      return;
    }
    case CB_GETITEMHEIGHT:
      Message.Result = int(Message.WParam) == -1 ? (FEditHeight > 0 ? FEditHeight : ItemHeight() + 2)
                                                 : FList->Perform(LB_GETITEMHEIGHT, Message.WParam, 0);
      return;
    case CB_SETDROPPEDWIDTH: FDroppedWidth = int(Message.WParam); Message.Result = std::max(FDroppedWidth, FWidth); return;
    case CB_GETDROPPEDWIDTH: Message.Result = std::max(FDroppedWidth, FWidth); return;
    case CB_GETEDITSEL: Message.Result = FEditHandle ? SendMessage(FEditHandle, EM_GETSEL, Message.WParam, Message.LParam) : CB_ERR; return;
    case CB_SETEDITSEL:
      if (!FEditHandle) {
        Message.Result = CB_ERR;
        return;
      }
      SendMessage(FEditHandle, EM_SETSEL, WPARAM(SHORT(LOWORD(Message.LParam))), LPARAM(SHORT(HIWORD(Message.LParam))));
      Message.Result = 1;
      return;
    case CB_LIMITTEXT: SetMaxLength(int(Message.WParam)); Message.Result = 1; return;
    case CB_GETTOPINDEX: Message.Result = FList->TopIndex(); return;
    case CB_SETTOPINDEX: FList->SetTopIndex(int(Message.WParam)); return;
    case CB_SETMINVISIBLE: SetDropDownCount(int(Message.WParam)); Message.Result = 1; return;
    case CB_GETMINVISIBLE: Message.Result = FDropDownCount; return;
    case CB_SETEXTENDEDUI:
    case CB_GETEXTENDEDUI:
    case CB_INITSTORAGE:
    case CB_SETLOCALE:
    case CB_GETLOCALE: Message.Result = 0; return;
    case CB_GETDROPPEDCONTROLRECT: {
      if (auto* r = reinterpret_cast<RECT*>(Message.LParam)) {
        GetWindowRect(FHandle, r);
        if (FList->HandleAllocated() && FDroppedDown) {
          RECT lr;
          GetWindowRect(FList->Handle(), &lr);
          r->bottom = std::max(r->bottom, lr.bottom);
        }
      }
      Message.Result = 1;
      return;
    }
    case CB_GETCOMBOBOXINFO: {
      if (auto* info = reinterpret_cast<COMBOBOXINFO*>(Message.LParam)) {
        info->hwndCombo = FHandle;
        info->hwndItem = FEditHandle;
        info->hwndList = ListHandle();
        info->rcButton = ToRECT(ButtonRect());
        TRect c = ClientRect();
        info->rcItem = RECT{2, 2, ButtonRect().Left - 2, c.Bottom - 2};
        info->stateButton = FDroppedDown ? 0x8 : 0;
      }
      Message.Result = 1;
      return;
    }

    // ---- text: the edit's, or the selected item's ----
    case WM_SETTEXT: {
      const char* s = reinterpret_cast<const char*>(Message.LParam);
      std::string text = s ? s : "";
      if (FEditHandle) {
        Message.Result = SendMessage(FEditHandle, WM_SETTEXT, 0, LPARAM(text.c_str()));
      } else if (HasEdit() || !HandleAllocated()) {
        FText = text;
        Message.Result = 1;
      } else {
        int found = FList->Items()->IndexOf(text);
        if (found >= 0 || text.empty()) SetCurSel(found, false);
        Message.Result = found >= 0 || text.empty() ? 1 : CB_ERR;
      }
      TWinControl::DefaultHandler(Message);
      Message.Result = 1;
      return;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
      std::string text;
      if (FEditHandle) text = GetWindowTextStr(FEditHandle);
      else if (HasEdit() || !HandleAllocated()) text = FText;
      else if (FList->ItemIndex() >= 0) text = FList->ItemData()[size_t(FList->ItemIndex())].Text;
      if (Message.Msg == WM_GETTEXTLENGTH) {
        Message.Result = LRESULT(text.size());
        return;
      }
      auto* buffer = reinterpret_cast<char*>(Message.LParam);
      int size = int(Message.WParam);
      if (!buffer || size <= 0) {
        Message.Result = 0;
        return;
      }
      int n = std::min<int>(int(text.size()), size - 1);
      std::memcpy(buffer, text.data(), size_t(n));
      buffer[n] = 0;
      Message.Result = n;
      return;
    }
    case WM_SETFONT:
      if (FEditHandle) SendMessage(FEditHandle, WM_SETFONT, Message.WParam, Message.LParam);
      return;
    case CM_FONTCHANGED:
      TWinControl::WndProc(Message);
      FList->SetFont(Font());
      if (FEditHandle) SendMessage(FEditHandle, WM_SETFONT, WPARAM(Font()->GetHandle()), 1);
      SetBounds(FLeft, FTop, FWidth, FHeight);
      return;

    // ---- notifications from the edit, reflected notifications, owner drawing ----
    case WM_COMMAND:
      if (FEditHandle && reinterpret_cast<HWND>(Message.LParam) == FEditHandle) {
        if (HIWORD(Message.WParam) == EN_CHANGE && !FSettingText) {
          // A typed character is completed once the edit has taken it (ComboWndProc).
          if (FTypedChar) {
            FPendingChange = true;
          } else {
            NotifyParent(CBN_EDITUPDATE);
            NotifyParent(CBN_EDITCHANGE);
          }
        }
        return;
      }
      break;
    case CN_COMMAND:
      switch (HIWORD(Message.WParam)) {
        case CBN_DBLCLK: DblClick(); break;
        case CBN_EDITCHANGE: Change(); break;
        case CBN_DROPDOWN: DropDown(); break;
        case CBN_SELCHANGE:
          if (HasEdit()) {
            int i = FList->ItemIndex();
            if (i >= 0 && FEditHandle) {
              std::string t = FList->ItemData()[size_t(i)].Text;
              if (GetWindowTextStr(FEditHandle) != t) {
                FSettingText = true;
                SetWindowText(FEditHandle, t.c_str());
                FSettingText = false;
              }
            }
          }
          Click();
          Select();
          break;
        case CBN_CLOSEUP: CloseUp(); break;
      }
      return;
    case CN_MEASUREITEM:
      MeasureOwnerDrawItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam), FItemHeight,
                           FStyle == csOwnerDrawVariable, [this](int Index, int& Height) { MeasureItem(Index, Height); });
      return;
    case CN_DRAWITEM:
      DrawOwnerDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam), *FCanvas, Font(), Brush(),
                        [this](int Index, const TRect& Rect, TOwnerDrawState State) { DrawItem(Index, Rect, State); });
      Message.Result = 1;
      return;

    // ---- input on the combo box's own window ----
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (FDroppedDown ? UINT(DLGC_WANTALLKEYS) : 0u);
      return;
    case WM_SETFOCUS:
      if (FEditHandle) {
        ::SetFocus(FEditHandle);
        SendMessage(FEditHandle, EM_SETSEL, 0, -1);
        return;
      }
      TWinControl::WndProc(Message);
      NotifyParent(CBN_SETFOCUS);
      Invalidate();
      return;
    case WM_KILLFOCUS:
      TWinControl::WndProc(Message);
      if (FDroppedDown && reinterpret_cast<HWND>(Message.WParam) != ListHandle()) CloseList(false);
      if (!FEditHandle) NotifyParent(CBN_KILLFOCUS);
      Invalidate();
      return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (DoKeyDown(Message)) return;
      if (ComboKey(WORD(Message.WParam), KeyDataToShiftState(Message.LParam))) return;
      DefaultHandler(Message);
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (CanFocus() && !Focused()) SetFocus();
      TRect b = ButtonRect();
      int x = Message.XPos(), y = Message.YPos();
      bool onButton = x >= b.Left && x < b.Right && y >= b.Top && y < b.Bottom;
      if (FStyle != csSimple && (onButton || !HasEdit())) {
        SetDroppedDown(!FDroppedDown);
        // The release of this press is not a choice in the list.
        if (FDroppedDown) FList->IgnoreNextUp = true;
      }
      TWinControl::WndProc(Message);
      return;
    }
    case WM_SIZE:
      TWinControl::WndProc(Message);
      LayoutEdit();
      return;
    case WM_ERASEBKGND: Message.Result = 1; return;
    case CM_ENABLEDCHANGED:
      TWinControl::WndProc(Message);
      if (FEditHandle) EnableWindow(FEditHandle, Enabled() ? TRUE : FALSE);
      return;
    case CM_CANCELMODE:
      if (FDroppedDown && reinterpret_cast<TControl*>(Message.LParam) != this) CloseList(false);
      break;
    default: break;
  }
  TWinControl::WndProc(Message);
}

// Every class of the unit can be named in a stored form.
static const bool kListBoxesRegistered = [] {
  RegisterClasses({TListBox::StaticClass(), TComboBox::StaticClass()});
  return true;
}();
