// INI files and the registry store built on them.
#include "platform/rtl/IniFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/rtl/FileRead.h"
#include "platform/rtl/SysUtils.h"

namespace {


// Writes Text to Name through a temporary file beside it; the old file stays intact when
// any step fails.
bool WriteAtomically(const std::string& Name, const std::string& Text) {
  std::string temporary = Name + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return false;
  struct stat st {};
  if (::stat(Name.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
  bool ok = true;
  std::size_t done = 0;
  while (ok && done < Text.size()) {
    const ssize_t n = ::write(fd, Text.data() + done, Text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<std::size_t>(n);
  }
  ok = ok && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temporary.c_str(), Name.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

}  // namespace

TCustomIniFile::TCustomIniFile(std::string FileName) : FFileName(std::move(FileName)) { Load(); }

void TCustomIniFile::Load() {
  std::vector<std::uint8_t> bytes;
  if (ReadFileBytes(FFileName, bytes) != TReadFileResult::Ok) return;
  std::string text(bytes.begin(), bytes.end());
  std::size_t pos = 0;
  TSection* current = nullptr;
  while (pos <= text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    const std::string line = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      current = &Ensure(Trim(line.substr(1, line.size() - 2)));
      continue;
    }
    const auto eq = line.find('=');
    if (!current || eq == std::string::npos) continue;
    const std::string name = Trim(line.substr(0, eq));
    bool replaced = false;
    for (auto& [n, v] : current->Values)
      if (SameText(n, name)) {
        v = line.substr(eq + 1);
        replaced = true;
      }
    if (!replaced) current->Values.emplace_back(name, line.substr(eq + 1));
  }
}

const TCustomIniFile::TSection* TCustomIniFile::Find(const std::string& Section) const {
  for (const TSection& s : FSections)
    if (SameText(s.Name, Section)) return &s;
  return nullptr;
}

TCustomIniFile::TSection& TCustomIniFile::Ensure(const std::string& Section) {
  for (TSection& s : FSections)
    if (SameText(s.Name, Section)) return s;
  FSections.push_back(TSection{Section, {}});
  return FSections.back();
}

std::string TCustomIniFile::ReadString(const std::string& Section, const std::string& Ident,
                                       const std::string& Default) const {
  if (const TSection* s = Find(Section))
    for (const auto& [n, v] : s->Values)
      if (SameText(n, Ident)) return v;
  return Default;
}

int TCustomIniFile::ReadInteger(const std::string& Section, const std::string& Ident, int Default) const {
  const std::string text = Trim(ReadString(Section, Ident, std::string()));
  if (text.empty()) return Default;
  int value = 0;
  return TryStrToInt(text, value) ? value : Default;
}

bool TCustomIniFile::ReadBool(const std::string& Section, const std::string& Ident, bool Default) const {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) {
  // Line breaks would split the value into lines of their own.
  std::string clean = Value;
  for (char& c : clean)
    if (c == '\n' || c == '\r') c = ' ';
  TSection& s = Ensure(Section);
  bool found = false;
  for (auto& [n, v] : s.Values)
    if (SameText(n, Ident)) {
      v = clean;
      found = true;
    }
  if (!found) s.Values.emplace_back(Ident, clean);
  UpdateFile();
}

void TCustomIniFile::WriteInteger(const std::string& Section, const std::string& Ident, int Value) {
  WriteString(Section, Ident, std::to_string(Value));
}

void TCustomIniFile::WriteBool(const std::string& Section, const std::string& Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

bool TCustomIniFile::SectionExists(const std::string& Section) const { return Find(Section) != nullptr; }

bool TCustomIniFile::ValueExists(const std::string& Section, const std::string& Ident) const {
  if (const TSection* s = Find(Section))
    for (const auto& [n, v] : s->Values)
      if (SameText(n, Ident)) return true;
  return false;
}

void TCustomIniFile::ReadSection(const std::string& Section, TStrings* Strings) const {
  Strings->Clear();
  if (const TSection* s = Find(Section))
    for (const auto& [n, v] : s->Values) Strings->Add(n);
}

void TCustomIniFile::ReadSections(TStrings* Strings) const {
  Strings->Clear();
  for (const TSection& s : FSections) Strings->Add(s.Name);
}

void TCustomIniFile::EraseSection(const std::string& Section) {
  std::erase_if(FSections, [&](const TSection& s) { return SameText(s.Name, Section); });
  UpdateFile();
}

void TCustomIniFile::DeleteKey(const std::string& Section, const std::string& Ident) {
  for (TSection& s : FSections)
    if (SameText(s.Name, Section)) std::erase_if(s.Values, [&](const auto& p) { return SameText(p.first, Ident); });
  UpdateFile();
}

void TCustomIniFile::UpdateFile() {
  std::string text;
  for (const TSection& s : FSections) {
    text += "[" + s.Name + "]\n";
    for (const auto& [n, v] : s.Values) text += n + "=" + v + "\n";
    text += "\n";
  }
  if (!WriteAtomically(FFileName, text)) throw EIniFileException("Unable to write to " + FFileName);
}

std::string RegistryRoot() {
  if (const char* dir = std::getenv("LORM_REGISTRY_DIR"); dir && *dir) return dir;
  std::string config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) config = xdg;
  else if (const char* home = std::getenv("HOME"); home && *home) config = std::string(home) + "/.config";
  else config = ".";
  return config + "/lorm/registry";
}

std::string RegistryKeyFile(const std::string& KeyPath) {
  // Each key path is one file; separators and anything unsafe in a file name become '_'.
  std::string name;
  for (char c : KeyPath) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '\\' || c == '/') name += '_';
    else if (u < 32 || c == '.' || c == ':') name += '_';
    else name += c;
  }
  if (name.empty()) name = "_";
  const std::string root = RegistryRoot();
  std::error_code ec;
  std::filesystem::create_directories(root, ec);
  return root + "/" + name + ".ini";
}
