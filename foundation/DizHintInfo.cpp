#include "foundation/DizHintInfo.h"

void TDizHintInfo::Publish(TClassBuilder<TDizHintInfo>& P) {
  P.Str("Title", &TDizHintInfo::Title, &TDizHintInfo::SetTitle)
      .Object("Notes", &TDizHintInfo::Notes, &TDizHintInfo::SetNotes)
      .Object("Picture", &TDizHintInfo::Picture, &TDizHintInfo::SetPicture)
      .Bool("ShowHelp", &TDizHintInfo::ShowHelp, &TDizHintInfo::SetShowHelp, false);
}

TDizHintInfo::TDizHintInfo() : FNotes(std::make_unique<TStringList>()), FPicture(std::make_unique<TGDIPPicture>()) {}

TDizHintInfo::~TDizHintInfo() = default;

void TDizHintInfo::SetNotes(TStrings* Value) {
  if (Value == FNotes.get()) return;
  if (Value) FNotes->Assign(Value);
  else FNotes->Clear();
}

void TDizHintInfo::SetPicture(TGDIPPicture* Value) {
  if (Value == FPicture.get()) return;
  FPicture->Assign(Value);
}

void TDizHintInfo::Assign(TPersistent* Source) {
  auto* other = dynamic_cast<TDizHintInfo*>(Source);
  if (!other || other == this) return;
  FTitle = other->FTitle;
  FNotes->Assign(other->FNotes.get());
  FShowHelp = other->FShowHelp;
  FPicture->Assign(other->FPicture.get());
  FWideTitle = other->FWideTitle;
  FWideNotes = other->FWideNotes;
}
