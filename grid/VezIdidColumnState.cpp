// VezIdid, column layout persistence: the column state string (count, widths, order and
// visibility in one text) and the column-size store (widths and order as integer entries
// of an INI file or the registry store, at the place the ColumnSize options name).
#include <algorithm>
#include <memory>

#include "grid/VezIdid.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"

namespace {
std::vector<std::string> SplitOn(const std::string& S, char Sep) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t p = S.find(Sep, start);
    parts.push_back(S.substr(start, p == std::string::npos ? std::string::npos : p - start));
    if (p == std::string::npos) break;
    start = p + 1;
  }
  return parts;
}

[[noreturn]] void BadState(const std::string& S) { throw EVezIdidError("Invalid column states \"" + S + "\""); }

// N integers from a comma list (more items are ignored); anything else raises.
std::vector<int> Integers(const std::string& Field, int N, const std::string& S) {
  std::vector<int> v;
  if (N == 0) return v;
  std::vector<std::string> items = SplitOn(Field, ',');
  if (int(items.size()) < N) BadState(S);
  for (int i = 0; i < N; ++i) {
    int x = 0;
    if (!TryStrToInt(Trim(items[size_t(i)]), x)) BadState(S);
    v.push_back(x);
  }
  return v;
}

// Whether the entries other than -1 name every column of 0 .. N-1 once.
bool IsArrangement(const std::vector<int>& Order, int N) {
  std::vector<bool> seen(size_t(N), false);
  int named = 0;
  for (int v : Order) {
    if (v == -1) continue;
    if (v < 0 || v >= N || seen[size_t(v)]) return false;
    seen[size_t(v)] = true;
    ++named;
  }
  return named == N;
}
}  // namespace

std::string TDavEvadurAvuz::ColumnStatesToString() {
  int n = ColCount() + NumHiddenColumns();
  std::string s = std::to_string(n) + "#";
  for (int i = 0; i < n; ++i) {
    if (i) s += ",";
    s += std::to_string(i < ColCount() ? ColWidths(i) : DefaultColWidth());
  }
  s += "#";
  if (FColumnOrder->Count() == 0) {
    for (int i = 0; i < n; ++i) s += (i ? "," : "") + std::to_string(i);
  } else {
    for (int i = 0; i < FColumnOrder->Count(); ++i) s += (i ? "," : "") + std::to_string(FColumnOrder->GetInteger(i));
  }
  s += "#";
  for (int i = 0; i < n; ++i) s += std::string(i ? "," : "") + (IsHiddenColumn(i) ? "0" : "1");
  return s;
}

// Moves the columns (all shown) from the arrangement the order list describes (the original
// one when it is empty) to Target: entry p is the original column to show at position p.
static void Arrange(TDavEvadurAvuz* Grid, const std::vector<int>& Target) {
  int n = int(Target.size());
  if (Grid->ColumnOrder()->Count() != n) Grid->SetColumnOrder();
  std::vector<int> cur = Grid->ColumnOrder()->Items();
  if (int(cur.size()) != n) return;
  for (int p = 0; p < n; ++p) {
    auto it = std::find(cur.begin() + p, cur.end(), Target[size_t(p)]);
    if (it == cur.end()) continue;
    int q = int(it - cur.begin());
    if (q == p) continue;
    Grid->MoveColumn(q, p);
    std::rotate(cur.begin() + p, cur.begin() + q, cur.begin() + q + 1);
  }
}

void TDavEvadurAvuz::StringToColumnStates(const std::string& S) {
  if (S.find('#') == std::string::npos) {
    FColumnOrder->Clear();
    return;
  }
  // The whole text is checked before anything changes.
  std::vector<std::string> fields = SplitOn(S, '#');
  if (fields.size() != 4) BadState(S);
  int n = 0;
  if (!TryStrToInt(Trim(fields[0]), n) || n < 0 || n > MaxGridCount) BadState(S);
  std::vector<int> widths = Integers(fields[1], n, S);
  for (int w : widths)
    if (w < 0) BadState(S);
  std::vector<int> order;
  if (!Trim(fields[2]).empty()) {
    order = Integers(fields[2], n, S);
    if (!IsArrangement(order, n)) BadState(S);
    order.erase(std::remove(order.begin(), order.end(), -1), order.end());
  }
  std::vector<std::string> flags = n ? SplitOn(fields[3], ',') : std::vector<std::string>();
  if (int(flags.size()) < n) BadState(S);

  UnHideColumnsAll();
  FColumnOrder->Clear();
  if (n > 0) SetColCountEx(n);
  if (!order.empty()) Arrange(this, order);
  for (int c = n - 1; c >= 0; --c)
    if (flags[size_t(c)] == "0") HideColumn(c);
  bool stretch = FColumnSize->Stretch();
  FColumnSize->SetStretch(false);
  if (stretch) {
    int sc = FColumnSize->StretchColumn < 0 ? ColCount() - 1 : FColumnSize->StretchColumn;
    if (sc >= 0 && sc < ColCount()) SetDefaultColWidth(ColWidths(sc));
  }
  for (int i = 0; i < ColCount() && i < n; ++i) SetColWidths(i, widths[size_t(i)]);
  FColumnSize->SetStretch(stretch);
}

// ---------------------------------------------------------------------------------------
// The column-size store.
namespace {
std::unique_ptr<TCustomIniFile> OpenColumnStore(TColumnSize* S) {
  if (S->Location == clIniFile) return std::make_unique<TIniFile>(S->Key);
  return std::make_unique<TRegistryIniFile>(S->Key);
}
}  // namespace

void TDavEvadurAvuz::SaveColSizes() {
  if (FColumnSize->Key.empty() || FColumnSize->Section.empty() || Designing()) return;
  auto ini = OpenColumnStore(FColumnSize.get());
  for (int i = 0; i < ColCount(); ++i) ini->WriteInteger(FColumnSize->Section, "Col" + std::to_string(i), ColWidths(i));
  ini->UpdateFile();
}

void TDavEvadurAvuz::LoadColSizes() {
  if (FColumnSize->Key.empty() || FColumnSize->Section.empty() || Designing()) return;
  auto ini = OpenColumnStore(FColumnSize.get());
  for (int i = 0; i < ColCount(); ++i) {
    int w = ini->ReadInteger(FColumnSize->Section, "Col" + std::to_string(i), ColWidths(i));
    if (w != ColWidths(i) && w >= 0) SetColWidths(i, w);
  }
  ini->UpdateFile();
}

void TDavEvadurAvuz::SaveColPositions() {
  if (FColumnSize->Key.empty() || FColumnSize->Section.empty() || Designing()) return;
  auto ini = OpenColumnStore(FColumnSize.get());
  for (int i = 0; i < FColumnOrder->Count(); ++i)
    ini->WriteInteger(FColumnSize->Section, "Pos" + std::to_string(i), FColumnOrder->GetInteger(i));
  ini->UpdateFile();
}

void TDavEvadurAvuz::LoadColPositions() {
  if (FColumnSize->Key.empty() || FColumnSize->Section.empty() || Designing()) return;
  auto ini = OpenColumnStore(FColumnSize.get());
  const std::string& sec = FColumnSize->Section;
  if (ini->ReadInteger(sec, "Pos0", -1) == -1) {
    ini->UpdateFile();
    return;
  }
  int total = GetAllColCount();
  std::vector<int> order;
  for (int i = 0; i < total; ++i) {
    int v = ini->ReadInteger(sec, "Pos" + std::to_string(i), -1);
    if (v != -1) order.push_back(v);
  }
  // Checked whole before anything changes.
  if (int(order.size()) != total || !IsArrangement(order, total))
    throw EVezIdidError("Invalid column positions in section " + sec);
  // The hidden columns stay hidden wherever they land.
  std::vector<int> cur = FColumnOrder->Items();
  if (int(cur.size()) != total) {
    cur.resize(size_t(total));
    for (int k = 0; k < total; ++k) cur[size_t(k)] = k;
  }
  std::vector<int> hiddenOriginals;
  for (int k = 0; k < total; ++k)
    if (IsHiddenColumn(k)) hiddenOriginals.push_back(cur[size_t(k)]);
  UnHideColumnsAll();
  if (FColumnOrder->Count() != total) SetColumnOrder();
  Arrange(this, order);
  for (int k = total - 1; k >= 0; --k)
    if (std::find(hiddenOriginals.begin(), hiddenOriginals.end(), FColumnOrder->GetInteger(k)) != hiddenOriginals.end())
      HideColumn(k);
  ini->UpdateFile();
}
