#pragma once
// INI files and the registry store. TIniFile keeps a file of "[Section]" headers and
// "Name=Value" lines in memory in file order and writes it back, whole and atomically
// (temporary file, fsync, rename), after every change, so a failed write leaves the old
// file as it was. TRegistryIniFile offers the same interface over the registry store: a
// key path under the current user's root becomes one such file below the registry
// folder (see RegistryRoot). Section and value names compare case-insensitively (ASCII).
#include <string>
#include <utility>
#include <vector>

#include "platform/rtl/Classes.h"

class TCustomIniFile : public TObject {
public:
  explicit TCustomIniFile(std::string FileName);
  ~TCustomIniFile() override = default;

  const std::string& FileName() const { return FFileName; }
  std::string ReadString(const std::string& Section, const std::string& Ident, const std::string& Default) const;
  // A value that is not a whole number reads as Default.
  int ReadInteger(const std::string& Section, const std::string& Ident, int Default) const;
  bool ReadBool(const std::string& Section, const std::string& Ident, bool Default) const;
  // Raises EIniFileException "Unable to write to <file>" when the file cannot be written.
  void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value);
  void WriteInteger(const std::string& Section, const std::string& Ident, int Value);
  void WriteBool(const std::string& Section, const std::string& Ident, bool Value);
  bool SectionExists(const std::string& Section) const;
  bool ValueExists(const std::string& Section, const std::string& Ident) const;
  // The names of a section's values, in file order.
  void ReadSection(const std::string& Section, TStrings* Strings) const;
  void ReadSections(TStrings* Strings) const;
  void EraseSection(const std::string& Section);
  void DeleteKey(const std::string& Section, const std::string& Ident);
  // Writes the file now (every change already does).
  void UpdateFile();

private:
  struct TSection {
    std::string Name;
    std::vector<std::pair<std::string, std::string>> Values;
  };
  const TSection* Find(const std::string& Section) const;
  TSection& Ensure(const std::string& Section);
  void Load();

  std::string FFileName;
  std::vector<TSection> FSections;
};

class TIniFile : public TCustomIniFile {
public:
  explicit TIniFile(const std::string& FileName) : TCustomIniFile(FileName) {}
};

LORM_DECLARE_EXCEPTION(EIniFileException, Exception);

// The folder of the registry store: $LORM_REGISTRY_DIR when set, else
// $XDG_CONFIG_HOME/lorm/registry (or ~/.config/lorm/registry).
std::string RegistryRoot();
// The file that holds a key path of the current user's root ("Software\\Maker\\App").
std::string RegistryKeyFile(const std::string& KeyPath);

class TRegistryIniFile : public TCustomIniFile {
public:
  explicit TRegistryIniFile(const std::string& KeyPath) : TCustomIniFile(RegistryKeyFile(KeyPath)) {}
};
