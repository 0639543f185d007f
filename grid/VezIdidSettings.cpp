// VezIdid, the grid's look saved to a text file of name=value lines and loaded back, and
// its print settings kept in a section of an INI file.
#include <fstream>
#include <functional>
#include <vector>

#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"

namespace {
std::string BoolText(bool V) { return V ? "true" : "false"; }
bool TextBool(const std::string& V) { return UpperCase(V) == "TRUE"; }
TColor TextColor(const std::string& V) { return V.empty() ? static_cast<TColor>(clNone) : StringToColor(V); }

std::string StyleText(TFontStyles S) {
  static const char* const kNames[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
  std::string out;
  for (int i = 0; i < 4; ++i) {
    if (!S.Contains(static_cast<TFontStyle>(i))) continue;
    if (!out.empty()) out += ',';
    out += kNames[i];
  }
  return out;
}

TFontStyles TextStyle(const std::string& V) {
  static const char* const kNames[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
  TFontStyles s;
  for (int i = 0; i < 4; ++i)
    if (V.find(kNames[i]) != std::string::npos) s += static_cast<TFontStyle>(i);
  return s;
}

// The index of a name in a list compared without regard to case; -1 when none matches.
int EnumIndex(const std::string& V, std::initializer_list<const char*> Names) {
  int i = 0;
  for (const char* n : Names) {
    if (SameText(V, n)) return i;
    ++i;
  }
  return -1;
}

// One line of the look file: how the value is written and how a read value is applied.
struct TLookLine {
  std::string Name;
  std::function<std::string()> Get;
  std::function<void(const std::string&)> Set;
};

const std::initializer_list<const char*> kControlStyles = {"csClassic", "csFlat", "csWinXP", "csBorland",
                                                           "csZAD",     "csGlyph", "csTheme"};
const std::initializer_list<const char*> kLooks = {"glStandard", "glSoft",  "glClassic", "glZAD",       "glXP",
                                                   "glListView", "glVista", "glWin7",    "glOffice2007"};
const std::initializer_list<const char*> kDisplays = {"bdTile", "bdFixed", "bdGradientHorz", "bdGradientVert"};
const std::initializer_list<const char*> kCells = {"bcNormal", "bcFixed", "bcAll"};

const char* NameAt(std::initializer_list<const char*> Names, int I) {
  return I >= 0 && I < static_cast<int>(Names.size()) ? Names.begin()[I] : "";
}
}  // namespace

// The 69 lines in the order they are written.
static std::vector<TLookLine> LookLines(TDavEvadurAvuz* G) {
  std::vector<TLookLine> L;
  auto color = [&](const char* n, std::function<TColor()> get, std::function<void(TColor)> set) {
    L.push_back({n, [get] { return ColorToString(get()); }, [set](const std::string& v) { set(TextColor(v)); }});
  };
  auto boolean = [&](const char* n, std::function<bool()> get, std::function<void(bool)> set) {
    L.push_back({n, [get] { return BoolText(get()); }, [set](const std::string& v) { set(TextBool(v)); }});
  };
  auto integer = [&](const char* n, std::function<int()> get, std::function<void(int)> set) {
    L.push_back({n, [get] { return IntToStr(get()); }, [set](const std::string& v) { set(StrToInt(v)); }});
  };
  auto font = [&](const std::string& n, TFont* f) {
    color((n + ".Color").c_str(), [f] { return f->GetColor(); }, [f](TColor c) { f->SetColor(c); });
    L.push_back({n + ".Style", [f] { return StyleText(f->GetStyle()); },
                 [f](const std::string& v) { f->SetStyle(TextStyle(v)); }});
    integer((n + ".Size").c_str(), [f] { return f->GetSize(); }, [f](int s) { f->SetSize(s); });
    L.push_back({n + ".Name", [f] { return f->GetName(); }, [f](const std::string& v) { f->SetName(v); }});
  };
  auto enumeration = [&](const char* n, std::initializer_list<const char*> names, std::function<int()> get,
                         std::function<void(int)> set) {
    L.push_back({n, [names, get] { return std::string(NameAt(names, get())); },
                 [names, set](const std::string& v) {
                   const int i = EnumIndex(v, names);
                   if (i >= 0) set(i);
                 }});
  };
  TControlLook* cl = G->ControlLook();
  TGrouping* gr = G->Grouping();
  TBackGround* bg = G->BackGround();
  color("Color", [G] { return G->Color(); }, [G](TColor c) { G->SetColor(c); });
  color("HintColor", [G] { return G->HintColor; }, [G](TColor c) { G->HintColor = c; });
  color("SelectionColor", [G] { return G->SelectionColor(); }, [G](TColor c) { G->SetSelectionColor(c); });
  color("SelectionColorTo", [G] { return G->SelectionColorTo(); }, [G](TColor c) { G->SetSelectionColorTo(c); });
  color("SelectionMirrorColor", [G] { return G->SelectionMirrorColor(); },
        [G](TColor c) { G->SetSelectionMirrorColor(c); });
  color("SelectionMirrorColorTo", [G] { return G->SelectionMirrorColorTo(); },
        [G](TColor c) { G->SetSelectionMirrorColorTo(c); });
  color("SelectionTextColor", [G] { return G->SelectionTextColor(); },
        [G](TColor c) { G->SetSelectionTextColor(c); });
  color("URLColor", [G] { return G->URLColor(); }, [G](TColor c) { G->SetURLColor(c); });
  boolean("URLShow", [G] { return G->URLShow(); }, [G](bool b) { G->SetURLShow(b); });
  boolean("URLShowInText", [G] { return G->URLShowInText(); }, [G](bool b) { G->SetURLShowInText(b); });
  color("ScrollColor", [G] { return G->ScrollColor(); }, [G](TColor c) { G->SetScrollColor(c); });
  color("ActiveRowColor", [G] { return G->ActiveRowColor(); }, [G](TColor c) { G->SetActiveRowColor(c); });
  boolean("ActiveRowShow", [G] { return G->ActiveRowShow(); }, [G](bool b) { G->SetActiveRowShow(b); });
  boolean("ActiveCellShow", [G] { return G->ActiveCellShow(); }, [G](bool b) { G->SetActiveCellShow(b); });
  font("Font", G->Font());
  color("ActiveCellColor", [G] { return G->ActiveCellColor(); }, [G](TColor c) { G->SetActiveCellColor(c); });
  color("ActiveCellColorTo", [G] { return G->ActiveCellColorTo(); }, [G](TColor c) { G->SetActiveCellColorTo(c); });
  font("ActiveCellFont", G->ActiveCellFont());
  font("FixedFont", G->FixedFont());
  color("Balloon.BackgroundColor", [G] { return G->Balloon()->BackgroundColor; },
        [G](TColor c) { G->Balloon()->BackgroundColor = c; });
  color("Balloon.TextColor", [G] { return G->Balloon()->TextColor; }, [G](TColor c) { G->Balloon()->TextColor = c; });
  integer("Balloon.Transparency", [G] { return static_cast<int>(G->Balloon()->Transparency); },
          [G](int v) { G->Balloon()->Transparency = static_cast<uint8_t>(v); });
  color("Bands.PrimaryColor", [G] { return G->Bands()->PrimaryColor(); },
        [G](TColor c) { G->Bands()->SetPrimaryColor(c); });
  color("Bands.SecondaryColor", [G] { return G->Bands()->SecondaryColor(); },
        [G](TColor c) { G->Bands()->SetSecondaryColor(c); });
  boolean("Bands.Active", [G] { return G->Bands()->Active(); }, [G](bool b) { G->Bands()->SetActive(b); });
  color("SortSettings.IndexColor", [G] { return G->SortSettings()->IndexColor; },
        [G](TColor c) { G->SortSettings()->IndexColor = c; });
  color("FloatingFooter.Color", [G] { return G->FloatingFooter()->Color(); },
        [G](TColor c) { G->FloatingFooter()->SetColor(c); });
  integer("ControlLook.CheckSize", [cl] { return cl->CheckBoxSize(); }, [cl](int v) { cl->SetCheckBoxSize(v); });
  color("ControlLook.Color", [cl] { return cl->Color(); }, [cl](TColor c) { cl->SetColor(c); });
  color("ControlLook.CommentColor", [cl] { return cl->CommentColor(); }, [cl](TColor c) { cl->SetCommentColor(c); });
  enumeration("ControlLook.ControlStyle", kControlStyles, [cl] { return static_cast<int>(cl->ControlStyle()); },
              [cl](int v) { cl->SetControlStyle(static_cast<TGridControlStyle>(v)); });
  color("ControlLook.FixedGradientFrom", [cl] { return cl->FixedGradientFrom(); },
        [cl](TColor c) { cl->SetFixedGradientFrom(c); });
  color("ControlLook.FixedGradientTo", [cl] { return cl->FixedGradientTo(); },
        [cl](TColor c) { cl->SetFixedGradientTo(c); });
  integer("ControlLook.RadioSize", [cl] { return cl->RadioSize(); }, [cl](int v) { cl->SetRadioSize(v); });
  boolean("ControlLook.FlatButton", [cl] { return cl->FlatButton(); }, [cl](bool b) { cl->SetFlatButton(b); });
  color("ControlLook.ProgressBorderColor", [cl] { return cl->ProgressBorderColor; },
        [cl](TColor c) { cl->ProgressBorderColor = c; });
  boolean("ControlLook.ProgressXP", [cl] { return cl->ProgressXP(); }, [cl](bool b) { cl->SetProgressXP(b); });
  enumeration("Look", kLooks, [G] { return G->Look() == glCustom ? -1 : static_cast<int>(G->Look()); },
              [G](int v) { G->SetLook(static_cast<TGridLook>(v)); });
  color("SearchFooter.Color", [G] { return G->SearchFooter()->Color(); },
        [G](TColor c) { G->SearchFooter()->SetColor(c); });
  color("SearchFooter.ColorTo", [G] { return G->SearchFooter()->ColorTo(); },
        [G](TColor c) { G->SearchFooter()->SetColorTo(c); });
  color("Grouping.HeaderColor", [gr] { return gr->HeaderColor; }, [gr](TColor c) { gr->HeaderColor = c; });
  color("Grouping.HeaderColorTo", [gr] { return gr->HeaderColorTo; }, [gr](TColor c) { gr->HeaderColorTo = c; });
  color("Grouping.HeaderTextColor", [gr] { return gr->HeaderTextColor; }, [gr](TColor c) { gr->HeaderTextColor = c; });
  boolean("Grouping.HeaderUnderline", [gr] { return gr->HeaderUnderline; }, [gr](bool b) { gr->HeaderUnderline = b; });
  color("Grouping.HeaderLineColor", [gr] { return gr->HeaderLineColor; }, [gr](TColor c) { gr->HeaderLineColor = c; });
  integer("Grouping.HeaderLineWidth", [gr] { return gr->HeaderLineWidth; }, [gr](int v) { gr->HeaderLineWidth = v; });
  color("Grouping.SummaryColor", [gr] { return gr->SummaryColor; }, [gr](TColor c) { gr->SummaryColor = c; });
  color("Grouping.SummaryColorTo", [gr] { return gr->SummaryColorTo; }, [gr](TColor c) { gr->SummaryColorTo = c; });
  color("Grouping.SummaryTextColor", [gr] { return gr->SummaryTextColor; },
        [gr](TColor c) { gr->SummaryTextColor = c; });
  boolean("Grouping.SummaryLine", [gr] { return gr->SummaryLine; }, [gr](bool b) { gr->SummaryLine = b; });
  color("Grouping.SummaryLineColor", [gr] { return gr->SummaryLineColor; },
        [gr](TColor c) { gr->SummaryLineColor = c; });
  integer("Grouping.SummaryLineWidth", [gr] { return gr->SummaryLineWidth; }, [gr](int v) { gr->SummaryLineWidth = v; });
  color("GridLineColor", [G] { return G->GridLineColor(); }, [G](TColor c) { G->SetGridLineColor(c); });
  color("GridFixedLineColor", [G] { return G->GridFixedLineColor(); }, [G](TColor c) { G->SetGridFixedLineColor(c); });
  integer("BackGround.Top", [bg] { return bg->Top(); }, [bg](int v) { bg->SetTop(v); });
  integer("BackGround.Left", [bg] { return bg->Left(); }, [bg](int v) { bg->SetLeft(v); });
  enumeration("BackGround.Display", kDisplays, [bg] { return static_cast<int>(bg->Display()); },
              [bg](int v) { bg->SetDisplay(static_cast<TBackGroundDisplay>(v)); });
  enumeration("BackGround.Cells", kCells, [bg] { return static_cast<int>(bg->Cells()); },
              [bg](int v) { bg->SetBackGroundCells(static_cast<TBackGroundCells>(v)); });
  color("BackGround.Color", [bg] { return bg->Color(); }, [bg](TColor c) { bg->SetColor(c); });
  color("BackGround.ColorTo", [bg] { return bg->ColorTo(); }, [bg](TColor c) { bg->SetColorTo(c); });
  return L;
}

int TDavEvadurAvuz::VisualPropsLineCount() { return static_cast<int>(LookLines(this).size()); }

void TDavEvadurAvuz::SaveVisualProps(const std::string& FileName) {
  std::ofstream out(FileName, std::ios::binary | std::ios::trunc);
  if (!out) throw Exception("Cannot Create " + FileName);
  for (const TLookLine& line : LookLines(this)) out << line.Name << '=' << line.Get() << "\r\n";
  out.close();
  if (!out) throw Exception("Cannot Create " + FileName);
}

void TDavEvadurAvuz::LoadVisualProps(const std::string& FileName) {
  std::ifstream in(FileName, std::ios::binary);
  if (!in) throw Exception("Cannot open file " + FileName);
  std::vector<std::string> lines;
  std::string s;
  while (std::getline(in, s)) {
    if (!s.empty() && s.back() == '\r') s.pop_back();
    lines.push_back(s);
  }
  // The first line whose name (before the first "=") matches without regard to case.
  auto value = [&](const std::string& Name) {
    for (const std::string& l : lines) {
      const size_t eq = l.find('=');
      if (eq != std::string::npos && SameText(l.substr(0, eq), Name)) return l.substr(eq + 1);
    }
    return std::string();
  };
  std::vector<TLookLine> table = LookLines(this);
  // The grid line colours follow the search footer's, so the look preset (line 47) is
  // overridden by the saved values of what comes after it.
  std::vector<const TLookLine*> order;
  for (size_t i = 0; i < table.size(); ++i) {
    if (i == 61 || i == 62) continue;
    order.push_back(&table[i]);
    if (i == 48) {
      order.push_back(&table[61]);
      order.push_back(&table[62]);
    }
  }
  for (const TLookLine* line : order) line->Set(value(line->Name));
}

// ---------------------------------------------------------------------------------------
// Print settings.
namespace {
int StyleBits(TFontStyles S) {
  return (S.Contains(fsBold) ? 1 : 0) | (S.Contains(fsItalic) ? 2 : 0) | (S.Contains(fsUnderline) ? 4 : 0) |
         (S.Contains(fsStrikeOut) ? 8 : 0);
}

TFontStyles BitsStyle(int B) {
  TFontStyles s;
  if (B & 1) s += fsBold;
  if (B & 2) s += fsItalic;
  if (B & 4) s += fsUnderline;
  if (B & 8) s += fsStrikeOut;
  return s;
}

std::string YN(bool V) { return V ? "Y" : "N"; }
}  // namespace

void TDavEvadurAvuz::SavePrintSettings(const std::string& FileName, const std::string& Section) {
  TPrintSettings* p = FPrintSettings.get();
  TIniFile ini(FileName);
  auto i = [&](const char* n, int v) { ini.WriteInteger(Section, n, v); };
  auto b = [&](const char* n, bool v) { ini.WriteString(Section, n, YN(v)); };
  auto t = [&](const char* n, const std::string& v) { ini.WriteString(Section, n, v); };
  auto font = [&](const std::string& prefix, TFont* f) {
    ini.WriteString(Section, prefix + "Name", f->GetName());
    ini.WriteInteger(Section, prefix + "Size", f->GetSize());
    ini.WriteInteger(Section, prefix + "Style", StyleBits(f->GetStyle()));
    ini.WriteInteger(Section, prefix + "Color", static_cast<int>(f->GetColor()));
  };
  i("ColumnSpacing", p->ColumnSpacing);
  i("RowSpacing", p->RowSpacing);
  i("TitleSpacing", p->TitleSpacing);
  i("FixedHeight", p->FixedHeight);
  i("FixedWidth", p->FixedWidth);
  b("Centered", p->Centered);
  b("NoAutoSize", p->NoAutoSize);
  b("UseFixedHeight", p->UseFixedHeight);
  b("UseFixedWidth", p->UseFixedWidth);
  b("RepeatFixedRows", p->RepeatFixedRows);
  b("RepeatFixedCols", p->RepeatFixedCols);
  b("UseDisplFont", p->UseDisplayFont);
  b("UseDefOrientation", p->UseDefaultOrientation);
  i("Borders", p->Borders);
  i("BorderColor", static_cast<int>(p->BorderColor));
  i("BorderStyle", p->BorderStyle);
  i("Date", p->Date);
  i("PageNr", p->PageNr);
  i("Title", p->Title);
  i("Time", p->Time);
  t("DateFormat", p->DateFormat);
  t("TitleText", p->TitleText);
  i("FooterSize", p->FooterSize);
  i("HeaderSize", p->HeaderSize);
  i("LeftSize", p->LeftSize);
  i("RightSize", p->RightSize);
  i("FitToPage", p->FitToPage);
  font("Font", p->Font());
  font("HeaderFont", p->HeaderFont());
  font("FooterFont", p->FooterFont());
  t("PageNumSep", p->PageNumSep);
  t("PageSuffix", p->PageSuffix);
  t("PagePrefix", p->PagePrefix);
  i("Orientation", p->Orientation);
  t("TitleLines", LFToCLF(p->TitleLines()->Text()));
  ini.UpdateFile();
}

void TDavEvadurAvuz::LoadPrintSettings(const std::string& FileName, const std::string& Section) {
  TPrintSettings* p = FPrintSettings.get();
  TIniFile ini(FileName);
  auto i = [&](const char* n, int d) { return ini.ReadInteger(Section, n, d); };
  auto b = [&](const char* n, const char* d) { return ini.ReadString(Section, n, d) == "Y"; };
  auto t = [&](const char* n) { return ini.ReadString(Section, n, ""); };
  auto position = [&](const char* n) {
    const int v = i(n, 0);
    return v >= 1 && v <= 6 ? static_cast<TPrintPosition>(v) : ppNone;
  };
  auto font = [&](const std::string& prefix, TFont* f) {
    f->SetName(ini.ReadString(Section, prefix + "Name", "Arial"));
    f->SetSize(ini.ReadInteger(Section, prefix + "Size", 10));
    f->SetStyle(f->GetStyle() + BitsStyle(ini.ReadInteger(Section, prefix + "Style", 0)));
    f->SetColor(static_cast<TColor>(ini.ReadInteger(Section, prefix + "Color", 0)));
  };
  p->ColumnSpacing = i("ColumnSpacing", 20);
  p->RowSpacing = i("RowSpacing", 20);
  p->TitleSpacing = i("TitleSpacing", 20);
  p->FixedHeight = i("FixedHeight", 0);
  p->FixedWidth = i("FixedWidth", 0);
  p->Centered = b("Centered", "Y");
  p->NoAutoSize = b("NoAutoSize", "N");
  p->UseFixedHeight = b("UseFixedHeight", "N");
  p->UseFixedWidth = b("UseFixedWidth", "N");
  p->RepeatFixedRows = b("RepeatFixedRows", "N");
  p->RepeatFixedCols = b("RepeatFixedCols", "N");
  p->UseDisplayFont = b("UseDisplFont", "N");
  p->UseDefaultOrientation = b("UseDefOrientation", "N");
  if (int v = i("Borders", 0); v >= pbNoborder && v <= pbCustom) p->Borders = static_cast<TPrintBorders>(v);
  p->BorderColor = static_cast<TColor>(i("BorderColor", 0));
  if (int v = i("BorderStyle", 0); v >= psSolid && v <= psInsideFrame) p->BorderStyle = static_cast<TPenStyle>(v);
  p->Date = position("Date");
  p->PageNr = position("PageNr");
  p->Title = position("Title");
  p->Time = position("Time");
  p->DateFormat = t("DateFormat");
  p->TitleText = t("TitleText");
  p->FooterSize = i("FooterSize", 100);
  p->HeaderSize = i("HeaderSize", 100);
  p->LeftSize = i("LeftSize", 100);
  p->RightSize = i("RightSize", 100);
  if (int v = i("FitToPage", 0); v >= fpNever && v <= fpCustom) p->FitToPage = static_cast<TFitToPage>(v);
  font("Font", p->Font());
  font("HeaderFont", p->HeaderFont());
  font("FooterFont", p->FooterFont());
  p->PageNumSep = t("PageNumSep");
  p->PageSuffix = t("PageSuffix");
  p->PagePrefix = t("PagePrefix");
  if (int v = i("Orientation", 0); v == 0 || v == 1) p->Orientation = static_cast<TPrinterOrientation>(v);
  p->TitleLines()->SetText(CLFToLF(t("TitleLines")));
  ini.UpdateFile();
}
