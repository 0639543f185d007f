// VivIzizEzuStylers: the office and fantasy stylers, their style files and their theme
// notification. The colour presets are in VivIzizEzuPresets.cpp.
#include "toolbar/VivIzizEzuStylers.h"

#include <cstdint>
#include <fstream>
#include <sstream>
#include <vector>

#include "foundation/DizAppStyler.h"

#include "platform/rtl/FileRead.h"
#include "platform/rtl/SysUtils.h"

namespace VivIzizEzu {

namespace {
const char* const kOfficeNames[] = {"bsOffice2003Blue", "bsOffice2003Silver", "bsOffice2003Olive",
                                    "bsOffice2003Classic", "bsOffice2007Luna", "bsOffice2007Obsidian",
                                    "bsWindowsXP", "bsWhidbey", "bsCustom", "bsOffice2007Silver",
                                    "bsOfficeXP", "bsWindowsVista", "bsWindows7", "bsTerminal"};
const char* const kFantasyNames[] = {"bsArctic", "bsAquaBlue", "bsChocolate", "bsMacOS",
                                     "bsSilverFox", "bsSoftSand", "bsTerminalGreen", "bsTextured",
                                     "bsWindowsClassic", "bsUser", "bsWhidbey"};

std::string UpperAscii(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// Writes the first line and the theme text.
void WriteStyleFile(TCustomVivIzizEzuStyler& Styler, const std::string& FileName, const std::string& StyleName) {
  std::ofstream f(FileName, std::ios::binary | std::ios::trunc);
  if (!f) throw Exception("Cannot Create " + FileName);
  f << StyleName << "\r\n";
  Styler.SavePropToFile(f);
}

// A style file is a name line and 303 short lines; anything far larger is no style file.
constexpr std::int64_t kMaxStyleFileSize = std::int64_t(1) << 20;

// Reads the first line (the style name, upper-cased) and the theme text after it, which
// is checked here (a damaged one raises "Corrupt file" before anything is applied). The
// file is read whole through the reader that refuses FIFOs, devices and folders without
// blocking, and files beyond the size a style file can have.
std::string ReadStyleFile(const std::string& FileName, std::string& Block) {
  std::vector<std::uint8_t> bytes;
  switch (ReadFileBytes(FileName, bytes, kMaxStyleFileSize)) {
    case TReadFileResult::Ok: break;
    case TReadFileResult::NotRegular: throw Exception("Cannot open file " + FileName + ": not a regular file");
    case TReadFileResult::TooLarge: throw Exception("Cannot open file " + FileName + ": too large for a style file");
    default: throw Exception("Cannot open file " + FileName);
  }
  const std::string text(bytes.begin(), bytes.end());
  const std::size_t end = text.find('\n');
  std::string first = text.substr(0, end);
  if (!first.empty() && first.back() == '\r') first.pop_back();
  Block = end == std::string::npos ? std::string() : text.substr(end + 1);
  TCustomVivIzizEzuStyler check(nullptr);
  std::istringstream in(Block);
  check.LoadPropFromFile(in);
  return UpperAscii(first);
}
}  // namespace

std::string ToolBarStyleName(TToolBarStyle Value) { return kOfficeNames[Value]; }
std::string ToolBarFantasyStyleName(TToolBarFantasyStyle Value) { return kFantasyNames[Value]; }

// ---- office styler ---------------------------------------------------------------------------
TVivIzizEzuOfficeStyler::TVivIzizEzuOfficeStyler(TComponent* AOwner) : TCustomVivIzizEzuStyler(AOwner) {
  bool designing = AOwner && AOwner->ComponentState().Contains(csDesigning);
  if (!designing) FNotifier = std::make_unique<TThemeNotifierWindow>([this](TObject* s) { ThemeChanged(s); });
  FStyle = bsCustom;
  if (designing && !AOwner->ComponentState().Contains(csReading) &&
      !AOwner->ComponentState().Contains(csLoading)) {
    SetToolBarStyle(bsWindowsXP);
    SetToolBarStyle(bsOffice2003Blue);
  }
}

TVivIzizEzuOfficeStyler::~TVivIzizEzuOfficeStyler() = default;

void TVivIzizEzuOfficeStyler::Loaded() {
  TCustomVivIzizEzuStyler::Loaded();
  if (!ComponentState().Contains(csDesigning)) ThemeChanged(this);
}

void TVivIzizEzuOfficeStyler::ThemeChanged(TObject*) {
  if (!AutoThemeAdapt()) return;
  switch (XPColorSchemeStyle()) {
    case tsOffice2003Blue: SetToolBarStyle(bsOffice2003Blue); break;
    case tsOffice2003Olive: SetToolBarStyle(bsOffice2003Olive); break;
    case tsOffice2003Silver: SetToolBarStyle(bsOffice2003Silver); break;
    default: SetToolBarStyle(bsOffice2003Classic); break;
  }
}

void TVivIzizEzuOfficeStyler::SetComponentStyle(DUZERazav AStyle) {
  static const TToolBarStyle map[] = {bsOffice2003Blue,   bsOffice2003Silver, bsOffice2003Olive, bsOffice2003Classic,
                                      bsOffice2007Luna,   bsOffice2007Obsidian, bsWindowsXP,     bsWhidbeyStyle,
                                      bsCustom,           bsOffice2007Silver, bsWindowsVista,    bsWindows7,
                                      bsTerminal};
  if (AStyle == tsCustom || AStyle < 0 || AStyle > tsTerminal) return;
  SetToolBarStyle(map[AStyle]);
}

void TVivIzizEzuOfficeStyler::SaveToFile(const std::string& FileName) {
  WriteStyleFile(*this, FileName, ToolBarStyleName(FStyle));
}

void TVivIzizEzuOfficeStyler::LoadFromFile(const std::string& FileName) {
  std::string block;
  std::string name = ReadStyleFile(FileName, block);
  for (int i = 0; i <= bsTerminal; ++i)
    if (name == UpperAscii(kOfficeNames[i])) {
      SetToolBarStyle(static_cast<TToolBarStyle>(i));
      break;
    }
  std::istringstream in(block);
  LoadPropFromFile(in);
}

// ---- fantasy styler ----------------------------------------------------------------------------
TVivIzizEzuFantasyStyler::TVivIzizEzuFantasyStyler(TComponent* AOwner) : TCustomVivIzizEzuStyler(AOwner) {
  SetToolBarStyle(bsChocolate);
}

void TVivIzizEzuFantasyStyler::SaveToFile(const std::string& FileName) {
  WriteStyleFile(*this, FileName, ToolBarFantasyStyleName(FStyle));
}

void TVivIzizEzuFantasyStyler::LoadFromFile(const std::string& FileName) {
  std::string block;
  std::string name = ReadStyleFile(FileName, block);
  for (int i = 0; i <= bsWhidbey; ++i)
    if (name == UpperAscii(kFantasyNames[i])) {
      SetToolBarStyle(static_cast<TToolBarFantasyStyle>(i));
      break;
    }
  std::istringstream in(block);
  LoadPropFromFile(in);
}

}  // namespace VivIzizEzu
