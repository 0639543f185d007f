// VezIdid, editing: the editor controls' own members, the in-place editor's show and
// hide, the fixed-cell test and the grid's cell-selection check.
#include "grid/VezIdidEdit.h"

#include "grid/VezIdid.h"

void TGridColorDropDown::AddDefaultColors() {
  static const std::pair<const char*, TColor> kColors[] = {
      {"Black", clBlack},   {"Maroon", clMaroon}, {"Green", clGreen}, {"Olive", clOlive},
      {"Navy", clNavy},     {"Purple", clPurple}, {"Teal", clTeal},   {"Gray", clGray},
      {"Silver", clSilver}, {"Red", clRed},       {"Lime", clLime},   {"Yellow", clYellow},
      {"Blue", clBlue},     {"Fuchsia", clFuchsia}, {"Aqua", clAqua}, {"White", clWhite}};
  FColors.clear();
  for (const auto& c : kColors) FColors.emplace_back(c.first, c.second);
}

std::string TGridColorDropDown::GetSelectedColorText() const {
  for (const auto& c : FColors)
    if (c.second == SelectedColor) return c.first;
  return std::string();
}

// ---------------------------------------------------------------------------------------
// Fixed rows and columns, counted by the remembered counts when the grid keeps a header.
bool TDavEvadurAvuz::IsFixed(int ACol, int ARow) {
  bool fixed = false;
  GetCellFixed(ACol, ARow, fixed);
  return fixed;
}

