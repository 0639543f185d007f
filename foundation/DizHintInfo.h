#pragma once
// What an office-style hint shows for a control or a grid cell: a bold title, a few
// lines of notes, a picture beside them and whether the help line is shown. Controls
// publish one as their OfficeHint property; the drawing belongs to the controls.
#include <functional>
#include <memory>
#include <string>

#include "foundation/GDIPicture.h"
#include "platform/rtl/Classes.h"
#include "platform/vcl/TypInfo.h"

class TDizHintInfo : public TPersistent {
  LORM_PUBLISHED(TDizHintInfo, TPersistent)
public:
  TDizHintInfo();
  ~TDizHintInfo() override;

  // Copies everything from another hint info (the picture's bytes included); any other
  // source is ignored.
  void Assign(TPersistent* Source) override;

  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }
  TStrings* Notes() const { return FNotes.get(); }
  // Copies the lines of Value (nullptr empties the notes).
  void SetNotes(TStrings* Value);
  TGDIPPicture* Picture() const { return FPicture.get(); }
  // Copies Value (nullptr empties the picture).
  void SetPicture(TGDIPPicture* Value);
  bool ShowHelp() const { return FShowHelp; }
  void SetShowHelp(bool Value) { FShowHelp = Value; }

  // Texts of unicode hints; not stored with the form.
  const std::u16string& WideTitle() const { return FWideTitle; }
  void SetWideTitle(const std::u16string& Value) { FWideTitle = Value; }
  const std::u16string& WideNotes() const { return FWideNotes; }
  void SetWideNotes(const std::u16string& Value) { FWideNotes = Value; }

private:
  std::string FTitle;
  std::unique_ptr<TStringList> FNotes;
  std::unique_ptr<TGDIPPicture> FPicture;
  bool FShowHelp = false;
  std::u16string FWideTitle;
  std::u16string FWideNotes;
};

// The string grid asks its handler for a cell's hint (column, then row).
using TOfficeHintEvent = std::function<void(TObject* Sender, int ACol, int ARow, TDizHintInfo* OfficeHint)>;
