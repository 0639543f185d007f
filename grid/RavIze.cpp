// RavIze: the helper lists and the small grid controls.
#include "grid/RavIze.h"

#include <algorithm>
#include <cstdint>

#include "foundation/DizTBXPVS.h"
#include "foundation/DizThemeBinding.h"
#include "foundation/DizUtil.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"
#include "platform/gdi/Regions.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinUser.h"

// ---------------------------------------------------------------------------------------
// TIntList
void TIntList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

void TIntList::Changed() {
  if (OnChange) OnChange(this, FCol, FRow);
}

int TIntList::Add(int Value) {
  FItems.push_back(Value);
  Changed();
  return Count() - 1;
}

void TIntList::Insert(int Index, int Value) {
  if (Index < 0 || Index > Count()) CheckIndex(Index);
  FItems.insert(FItems.begin() + Index, Value);
}

void TIntList::Delete(int Index) {
  CheckIndex(Index);
  FItems.erase(FItems.begin() + Index);
  Changed();
}

void TIntList::DeleteValue(int Value) {
  int i = IndexOf(Value);
  if (i >= 0) Delete(i);
}

int TIntList::IndexOf(int Value) const {
  auto it = std::find(FItems.begin(), FItems.end(), Value);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

bool TIntList::HasValue(int Value) const { return IndexOf(Value) >= 0; }

int TIntList::GetInteger(int Index) const {
  CheckIndex(Index);
  return FItems[static_cast<size_t>(Index)];
}

void TIntList::SetInteger(int Index, int Value) {
  CheckIndex(Index);
  FItems[static_cast<size_t>(Index)] = Value;
  Changed();
}

std::string TIntList::GetStrValue() const {
  std::string s;
  for (size_t i = 0; i < FItems.size(); ++i) {
    if (i) s += ',';
    s += std::to_string(FItems[i]);
  }
  return s;
}

void TIntList::SetStrValue(const std::string& Value) {
  TStringList items;
  items.SetCommaText(Value);
  FItems.clear();
  for (int i = 0; i < items.Count(); ++i) Add(StrToInt(items[i]));
}

// ---------------------------------------------------------------------------------------
// TSortIndexList
static constexpr uint32_t kDescendingBit = 0x80000000u;

static int KeyColumn(int Key) { return static_cast<int>(static_cast<uint32_t>(Key) & ~kDescendingBit); }
static bool KeyAscending(int Key) { return (static_cast<uint32_t>(Key) & kDescendingBit) == 0; }

void TSortIndexList::AddIndex(int ACol, bool Ascending) {
  uint32_t key = static_cast<uint32_t>(ACol) & ~kDescendingBit;
  if (!Ascending) key |= kDescendingBit;
  Add(static_cast<int>(key));
}

int TSortIndexList::FindIndex(int ACol) const {
  for (int i = 0; i < Count(); ++i)
    if (KeyColumn(FItems[static_cast<size_t>(i)]) == ACol) return i;
  return -1;
}

void TSortIndexList::ToggleIndex(int ACol) {
  int i = FindIndex(ACol);
  if (i >= 0) SetInteger(i, static_cast<int>(static_cast<uint32_t>(GetInteger(i)) ^ kDescendingBit));
}

int TSortIndexList::GetSortColumns(int Index) const { return KeyColumn(GetInteger(Index)); }

void TSortIndexList::SetSortColumns(int Index, int ACol) {
  uint32_t key = static_cast<uint32_t>(GetInteger(Index));
  key = (key & kDescendingBit) | (static_cast<uint32_t>(ACol) & ~kDescendingBit);
  SetInteger(Index, static_cast<int>(key));
}

bool TSortIndexList::GetSortDirections(int Index) const { return KeyAscending(GetInteger(Index)); }

void TSortIndexList::SetSortDirections(int Index, bool Ascending) {
  uint32_t key = static_cast<uint32_t>(GetInteger(Index));
  key = Ascending ? (key & ~kDescendingBit) : (key | kDescendingBit);
  SetInteger(Index, static_cast<int>(key));
}

std::string TSortIndexList::SaveToString() const {
  std::string s;
  for (int i = 0; i < Count(); ++i) {
    if (i) s += ';';
    int key = FItems[static_cast<size_t>(i)];
    s += KeyAscending(key) ? 'u' : 'd';
    s += std::to_string(KeyColumn(key));
  }
  return s;
}

// The framework's Val for integers: leading blanks, an optional sign, "$", "x" or "0x"
// for hexadecimal; the digits read before a fault give the value.
static int ValInt(const std::string& s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  int base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i < s.size() && (s[i] == 'x' || s[i] == 'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  int64_t v = 0;
  for (; i < s.size(); ++i) {
    int d;
    char c = s[i];
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else break;
    v = v * base + d;
    if (v > INT32_MAX) break;
  }
  if (negative) v = -v;
  return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

void TSortIndexList::LoadFromString(const std::string& S) {
  Clear();
  std::string rest = S;
  while (!rest.empty()) {
    size_t p = rest.find(';');
    std::string item = p == std::string::npos ? rest : rest.substr(0, p);
    rest = p == std::string::npos ? std::string() : rest.substr(p + 1);
    if (item.size() < 2) continue;
    AddIndex(ValInt(item.substr(1)), item[0] == 'u');
  }
}

// ---------------------------------------------------------------------------------------
// TControlList
TControlList::~TControlList() = default;

int TControlList::AddControl(int ACol, int ARow, TControl* AControl) {
  FItems.push_back(std::make_unique<TControlItem>(ACol, ARow, AControl));
  return Count() - 1;
}

int TControlList::ControlIndex(int ACol, int ARow) const {
  for (int i = 0; i < Count(); ++i)
    if (FItems[static_cast<size_t>(i)]->Col == ACol && FItems[static_cast<size_t>(i)]->Row == ARow) return i;
  return -1;
}

TControlItem* TControlList::GetControl(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FItems[static_cast<size_t>(Index)].get();
}

bool TControlList::HasHandle(HWND Handle) const {
  for (const auto& item : FItems)
    if (auto* w = dynamic_cast<TWinControl*>(item->Control); w && w->HandleAllocated() && w->Handle() == Handle)
      return true;
  return false;
}

void TControlList::RemoveControl(int Index) {
  GetControl(Index);
  FItems.erase(FItems.begin() + Index);
}

// ---------------------------------------------------------------------------------------
// TFileStringList
void TFileStringList::Reset() {
  FReadPos = 0;
  FPending.clear();
}

void TFileStringList::ReadLn(std::string& S) {
  if (FReadPos >= Count()) throw EListError("List index out of bounds (" + std::to_string(FReadPos) + ")");
  S = Get(FReadPos++);
}

void TFileStringList::WriteLn(const std::string& S) {
  Add(FPending + S);
  FPending.clear();
}

// ---------------------------------------------------------------------------------------
// The file-version query.
int GetVersionOfFile(const std::string& FileName) {
  if (FileName.empty()) return -1;
  return GetFileVersion(FileName.substr(0, 255));
}
