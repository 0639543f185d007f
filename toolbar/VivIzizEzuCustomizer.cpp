// The tool bar customizer: recording, applying and resetting a tool bar's layout through
// its INI file, and the customizer's settings objects.
#include "toolbar/VivIzizEzuCustomizer.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

namespace VivIzizEzu {

namespace {
const char* const kButtonKey = "VIVIZIZEZUBUTTON";
const char* const kSeparatorKey = "VIVIZIZEZUSEPARATOR";
const char* const kGlowKey = "DIZCUSTOMGLOWBUTTON";

std::string Upper(std::string S) {
  for (char& c : S)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return S;
}

std::string ItemKey(int I) { return "Name" + std::to_string(I); }

// Every item takes at least one key, so a section never describes more items than it has
// keys: a damaged count cannot make the readers loop for ever.
int KeyCount(const TCustomIniFile& Ini, const std::string& Section) {
  TStringList keys;
  Ini.ReadSection(Section, &keys);
  return keys.Count();
}

// 0..3 are left, top, right and bottom for both kinds of item.
TButtonLayout LayoutOf(int G) {
  switch (G) {
    case 1: return blGlyphTop;
    case 2: return blGlyphRight;
    case 3: return blGlyphBottom;
    default: return blGlyphLeft;
  }
}
}  // namespace

// ---- settings objects -------------------------------------------------------------------
void TVIECommand::SetCaption(const std::string& Value) {
  std::string v = Value;
  for (char& c : v)
    if (c == ' ') c = '_';
  FCaption = v;
}

void TVIECommand::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TVIECommand*>(Source)) {
    SetCaption(src->FCaption);
    OnExecute = src->OnExecute;
    return;
  }
  TCollectionItem::Assign(Source);
}

TVIECommands::TVIECommands(TVivIzizEzuCustomizer* Owner) : TOwnedCollection(Owner, ItemClassOf<TVIECommand>()) {
  SetPropName("Commands");
}

void TButtonProperties::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TButtonProperties*>(Source)) {
    FCaption = src->FCaption;
    FShowCaption = src->FShowCaption;
    FVisible = src->FVisible;
    FHint = src->FHint;
    FGlyph = src->FGlyph;
    return;
  }
  TPersistent::Assign(Source);
}

void TCustomizedOptions::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TCustomizedOptions*>(Source)) {
    FAddButton = src->FAddButton;
    FReOrder = src->FReOrder;
    FDelete = src->FDelete;
    FDeleteAll = src->FDeleteAll;
    FAddSeparator = src->FAddSeparator;
    FAddGlowButton = src->FAddGlowButton;
    SetEditButton(src->FEditButton);
    return;
  }
  TPersistent::Assign(Source);
}

void TDialogSettings::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TDialogSettings*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  const std::string keep = FCustomize;
#define COPY(Name) F##Name = src->F##Name;
  COPY(ToolBarLabel) COPY(CommandLabel) COPY(CaptionLabel) COPY(GlyphPosLabel) COPY(LargeIconCheck)
  COPY(TopHint) COPY(UpHint) COPY(DownHint) COPY(BottomHint) COPY(AddHint) COPY(AddSeparatorHint)
  COPY(DeleteHint) COPY(DeleteAllHint) COPY(EditHint) COPY(Caption) COPY(ButtonEditCaption)
  COPY(ButtonEditCaptionLabel) COPY(ButtonEditHintLabel) COPY(ButtonEditIconLabel)
  COPY(ButtonEditCaptionCheck) COPY(ButtonEditVisibleCheck) COPY(OKButtonCaption) COPY(OKButtonHint)
  COPY(CancelButtonCaption) COPY(CancelButtonHint) COPY(ResetButtonCaption) COPY(ResetButtonHint)
  COPY(AddGlowButtonHint) COPY(GlyphPositionLeftCaption) COPY(GlyphPositionTopCaption)
  COPY(GlyphPositionRightCaption) COPY(GlyphPositionBottomCaption) COPY(GlyphEditNoneIconCaption)
  COPY(EditGlyph) COPY(EditGlyphVisible) COPY(EditCaption) COPY(EditGlyphPosition) COPY(LargeIcon)
#undef COPY
  FCustomize = keep;
}

// ---- the customizer ---------------------------------------------------------------------
TVivIzizEzuCustomizer::TVivIzizEzuCustomizer(TComponent* AOwner) : TComponent(AOwner) {
  FCommands = std::make_unique<TVIECommands>(this);
  FButtonProperties = std::make_unique<TButtonProperties>();
  FDialogSettings = std::make_unique<TDialogSettings>();
  FOptions = std::make_unique<TCustomizedOptions>();
  FRemovedItems = std::make_unique<TDbgList>();
}

TVivIzizEzuCustomizer::~TVivIzizEzuCustomizer() {
  // The parked controls belong to their owners: only the list goes.
  for (int i = 0; i < FRemovedItems->Count(); ++i)
    static_cast<TControl*>(FRemovedItems->Get(i))->RemoveFreeNotification(this);
  FRemovedItems->Clear();
  if (FVivIzizEzu) {
    if (FVivIzizEzu->Customizer() == this) FVivIzizEzu->SetCustomizer(nullptr);
    FVivIzizEzu->RemoveFreeNotification(this);
    FVivIzizEzu = nullptr;
  }
}

void TVivIzizEzuCustomizer::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove || !AComponent) return;
  // A parked control that its owner frees is forgotten, even while the customizer itself
  // goes.
  // (The component is partly destroyed already: compared by address, never cast down.)
  for (int i = FRemovedItems->Count() - 1; i >= 0; --i)
    if (static_cast<TComponent*>(static_cast<TControl*>(FRemovedItems->Get(i))) == AComponent) FRemovedItems->Delete(i);
  if (ComponentState().Contains(csDestroying)) return;
  // The tool bar is partly destroyed already: only the link goes.
  if (AComponent == FVivIzizEzu) FVivIzizEzu = nullptr;
  if (AComponent == FLargeImages) FLargeImages = nullptr;
  if (AComponent == FSmallImages) FSmallImages = nullptr;
}

void TVivIzizEzuCustomizer::SetVivIzizEzu(TVivIzizEzu* Value) {
  if (Value == FVivIzizEzu) return;
  if (FVivIzizEzu) {
    if (FVivIzizEzu->Customizer() == this) FVivIzizEzu->SetCustomizer(nullptr);
    FVivIzizEzu->RemoveFreeNotification(this);
  }
  FVivIzizEzu = Value;
  if (Value) {
    Value->SetCustomizer(this);
    Value->FreeNotification(this);
  }
}

void TVivIzizEzuCustomizer::SetLargeImages(TCustomImageList* Value) {
  FLargeImages = Value;
  if (Value) Value->FreeNotification(this);
}

void TVivIzizEzuCustomizer::SetSmallImages(TCustomImageList* Value) {
  FSmallImages = Value;
  if (Value) Value->FreeNotification(this);
}

void TVivIzizEzuCustomizer::SetFileName(const std::string& Value) {
  if (Value == FFileName) return;
  FFileName = Value;
  if (!Value.empty() && !ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading)) {
    SaveInitialState();
    UpdateVivIzizEzu();
  }
}

std::string TVivIzizEzuCustomizer::IniPath() const {
  std::string p = FFileName;
  for (char& c : p)
    if (c == '\\') c = '/';
  return p;
}

bool TVivIzizEzuCustomizer::CanUseIni() const {
  return FVivIzizEzu && FEnablePersistence && !FFileName.empty() && !ComponentState().Contains(csDesigning);
}

TControl* TVivIzizEzuCustomizer::GetCtrl(const std::string& Name) const {
  if (!FVivIzizEzu || Name.empty()) return nullptr;
  const std::string want = Upper(Name);
  for (int i = 0; i < FVivIzizEzu->GetToolBarControlCount(); ++i) {
    TControl* c = FVivIzizEzu->GetToolBarControls(i);
    if (c && Upper(c->Name()) == want) return c;
  }
  return nullptr;
}

bool TVivIzizEzuCustomizer::UsableName(const std::string& Name) const {
  if (!IsValidIdent(Name)) return false;
  // The new control is owned by the tool bar, whose components must have unique names;
  // a name the form already uses would make the control unreachable by name.
  if (FVivIzizEzu->FindComponent(Name)) return false;
  if (TComponent* owner = FVivIzizEzu->Owner())
    if (owner->FindComponent(Name) || SameTextAscii(owner->Name(), Name)) return false;
  return true;
}

void TVivIzizEzuCustomizer::Park(TControl* C) {
  if (FRemovedItems->IndexOf(C) < 0) {
    FRemovedItems->Add(C);
    C->FreeNotification(this);
  }
  C->SetParent(nullptr);
}

void TVivIzizEzuCustomizer::ApplyGlyphPosition(TControl* C, int G) {
  if (G < 0 || G > 3) G = 0;
  if (auto* b = dynamic_cast<TVivIzizEzuButton*>(C)) b->SetGlyphPosition(static_cast<TGlyphPosition>(G));
  else if (auto* g = dynamic_cast<TDizCustomGlowButton*>(C)) g->SetLayout(LayoutOf(G));
}

void TVivIzizEzuCustomizer::WriteIni(const std::function<void(TCustomIniFile&)>& Writer) {
  namespace fs = std::filesystem;
  const std::string path = IniPath();
  const std::string temporary = path + ".saving";
  std::error_code ec;
  fs::remove(temporary, ec);
  if (fs::exists(path, ec)) {
    fs::copy_file(path, temporary, fs::copy_options::overwrite_existing, ec);
    if (ec) throw EIniFileException("Unable to write to " + path);
  }
  try {
    TIniFile ini(temporary);
    Writer(ini);
    ini.UpdateFile();
  } catch (...) {
    fs::remove(temporary, ec);
    throw EIniFileException("Unable to write to " + path);
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    fs::remove(temporary, ec);
    throw EIniFileException("Unable to write to " + path);
  }
}

void TVivIzizEzuCustomizer::SaveInitialState() {
  if (!CanUseIni()) return;
  TVivIzizEzu* bar = FVivIzizEzu;
  const std::string sec = Name() + "Org";
  WriteIni([&](TCustomIniFile& ini) {
    ini.WriteString(sec, "VIECaption", bar->Caption());
    const int n = bar->GetToolBarControlCount();
    int glyph = 0;
    for (int i = 0; i < n; ++i)
      if (auto* b = dynamic_cast<TVivIzizEzuButton*>(bar->GetToolBarControls(i))) {
        glyph = static_cast<int>(b->GlyphPosition());
        break;
      }
    ini.WriteInteger(sec, "GlyphPosition", glyph);
    ini.WriteInteger(sec, "LargeIcon", bar->Images() == FLargeImages ? 1 : 0);
    ini.WriteInteger(sec, "ToolBarItemCount", n);
    for (int i = 0; i < n; ++i) {
      TControl* c = bar->GetToolBarControls(i);
      const std::string key = ItemKey(i);
      ini.WriteString(sec, key, c->Name());
      auto values = [&](int Image, bool Visible, bool ShowCaption, const std::string& Caption) {
        ini.WriteInteger(sec, key + ".ImageIndex", Image);
        ini.WriteInteger(sec, key + ".Visible", Visible ? 1 : 0);
        ini.WriteInteger(sec, key + ".ShowCaption", ShowCaption ? 1 : 0);
        ini.WriteString(sec, key + ".Caption", Caption);
        ini.WriteString(sec, key + ".Hint", c->Hint());
      };
      if (auto* b = dynamic_cast<TVivIzizEzuButton*>(c)) {
        ini.WriteString(sec, key + ".ClassName", kButtonKey);
        values(b->ImageIndex(), b->Visible(), b->ShowCaption(), b->Caption());
      } else if (dynamic_cast<TVivIzizEzuSeparator*>(c)) {
        ini.WriteString(sec, key + ".ClassName", kSeparatorKey);
      } else if (auto* g = dynamic_cast<TDizCustomGlowButton*>(c)) {
        ini.WriteString(sec, key + ".ClassName", kGlowKey);
        values(g->ImageIndex(), g->Visible(), g->ShowCaption(), g->Caption());
      } else {
        ini.WriteString(sec, key + ".ClassName", "-1");
      }
    }
  });
}

void TVivIzizEzuCustomizer::UpdateVivIzizEzu() {
  if (!CanUseIni()) return;
  TVivIzizEzu* bar = FVivIzizEzu;
  TIniFile ini(IniPath());
  const std::string sec = Name();
  TDialogSettings* ds = FDialogSettings.get();
  TButtonProperties* bp = FButtonProperties.get();
  if (ds->EditCaption()) bar->SetCaption(ini.ReadString(sec, "VIECaption", bar->Caption()));
  const int G = ds->EditGlyphPosition() ? ini.ReadInteger(sec, "GlyphPosition", 0) : 0;
  const int L = ds->LargeIcon() && FLargeImages ? ini.ReadInteger(sec, "LargeIcon", 0) : 0;
  const int N = std::min(ini.ReadInteger(sec, "ToolBarItemCount", -1), KeyCount(ini, sec));
  if (N > 0) {
    std::vector<TControl*> W;
    for (int i = 0; i < N; ++i) {
      const std::string key = ItemKey(i);
      const std::string name = ini.ReadString(sec, key, "");
      const std::string cls = Upper(ini.ReadString(sec, key + ".ClassName", ""));
      if (cls.empty()) continue;
      TControl* c = GetCtrl(name);
      if (!c) {
        if (cls != kButtonKey && cls != kSeparatorKey && cls != kGlowKey) continue;
        // A name that is no identifier or is taken would break the form: skipped.
        if (!UsableName(name)) continue;
        const int K = ini.ReadInteger(sec, key + ".CommandID", -1);
        TVIECommand* command = K >= 0 && K < FCommands->Count() ? FCommands->Items(K) : nullptr;
        if (cls == kButtonKey) {
          auto* b = new TVivIzizEzuButton(bar);
          b->SetName(name);
          b->MadeByCustomizer = true;
          b->SetParent(bar);
          if (command) {
            b->OnClick = command->OnExecute;
            b->SetAction(command->Action());
            b->CommandID = K;
          }
          c = b;
        } else if (cls == kSeparatorKey) {
          auto* s = new TVivIzizEzuSeparator(bar);
          s->SetName(name);
          s->SetParent(bar);
          c = s;
        } else {
          auto* g = new TDovAvarOrodez(bar);
          g->SetName(name);
          if (auto* images = dynamic_cast<TImageList*>(bar->Images())) g->SetImages(images);
          g->SetWidth(23);
          g->SetHeight(22);
          g->SetAutoSize(true);
          g->SetMadeByCustomizer(true);
          g->SetParent(bar);
          if (command) {
            g->OnClick = command->OnExecute;
            g->SetAction(command->Action());
            g->SetCommandID(K);
          }
          c = g;
        }
      }
      if (auto* b = dynamic_cast<TVivIzizEzuButton*>(c)) {
        if (bp->Glyph()) {
          b->SetImageIndex(ini.ReadInteger(sec, key + ".ImageIndex", b->ImageIndex()));
          b->SetForceImageIndex(ini.ReadInteger(sec, key + ".ForceImageIndex", b->ForceImageIndex() ? 1 : 0) != 0);
        }
        if (bp->Visible()) b->SetVisible(ini.ReadInteger(sec, key + ".Visible", b->Visible() ? 1 : 0) != 0);
        if (bp->ShowCaption()) b->SetShowCaption(ini.ReadInteger(sec, key + ".ShowCaption", b->ShowCaption() ? 1 : 0) == 1);
        if (bp->Caption()) b->SetCaption(ini.ReadString(sec, key + ".Caption", b->Caption()));
        if (bp->Hint()) b->SetHint(ini.ReadString(sec, key + ".Hint", b->Hint()));
      } else if (auto* g = dynamic_cast<TDizCustomGlowButton*>(c)) {
        if (bp->Glyph() && g->MadeByCustomizer())
          g->SetImageIndex(ini.ReadInteger(sec, key + ".ImageIndex", g->ImageIndex()));
        if (bp->Visible()) g->SetVisible(ini.ReadInteger(sec, key + ".Visible", g->Visible() ? 1 : 0) != 0);
        if (bp->ShowCaption()) g->SetShowCaption(ini.ReadInteger(sec, key + ".ShowCaption", g->ShowCaption() ? 1 : 0) == 1);
        if (bp->Caption()) g->SetCaption(ini.ReadString(sec, key + ".Caption", g->Caption()));
        if (bp->Hint()) g->SetHint(ini.ReadString(sec, key + ".Hint", g->Hint()));
      }
      // A control named twice keeps its first place.
      if (std::find(W.begin(), W.end(), c) == W.end()) W.push_back(c);
    }
    const int w = static_cast<int>(W.size());
    for (int i = 0; i < w && i < bar->GetToolBarControlCount(); ++i) {
      if (ds->EditGlyphPosition()) ApplyGlyphPosition(W[static_cast<size_t>(i)], G);
      const int J = bar->IndexOfToolBarControl(W[static_cast<size_t>(i)]);
      if (J >= 0 && J != i) bar->MoveToolBarControl(J, i);
    }
    const int M = bar->GetToolBarControlCount();
    for (int k = 0; k < M - w; ++k)
      if (bar->GetToolBarControlCount() > w) Park(bar->GetToolBarControls(w));
  } else if (N == 0) {
    const int M = bar->GetToolBarControlCount();
    for (int k = 0; k < M && bar->GetToolBarControlCount() > 0; ++k) Park(bar->GetToolBarControls(0));
  }
  if (L == 1 && FLargeImages) bar->SetImages(FLargeImages);
  else if (FSmallImages) bar->SetImages(FSmallImages);
}

void TVivIzizEzuCustomizer::ResetToolBar() {
  if (!CanUseIni()) return;
  TVivIzizEzu* bar = FVivIzizEzu;
  const std::string org = Name() + "Org";
  int L = 0;
  {
    TIniFile ini(IniPath());
    bar->SetCaption(ini.ReadString(org, "VIECaption", bar->Caption()));
    const int G = ini.ReadInteger(org, "GlyphPosition", 0);
    L = ini.ReadInteger(org, "LargeIcon", 0);
    const int N = std::min(ini.ReadInteger(org, "ToolBarItemCount", 0), KeyCount(ini, org));
    if (N > 0) {
      // The parked items come back first.
      while (FRemovedItems->Count() > 0) {
        auto* c = static_cast<TControl*>(FRemovedItems->Get(0));
        FRemovedItems->Delete(0);
        c->RemoveFreeNotification(this);
        c->SetParent(bar);
      }
      std::vector<TControl*> W;
      for (int i = 0; i < N; ++i) {
        const std::string key = ItemKey(i);
        const std::string name = ini.ReadString(org, key, "");
        const std::string cls = ini.ReadString(org, key + ".ClassName", "");
        if (cls.empty()) continue;
        TControl* c = GetCtrl(name);
        if (!c) continue;
        if (auto* b = dynamic_cast<TVivIzizEzuButton*>(c)) {
          b->SetImageIndex(ini.ReadInteger(org, key + ".ImageIndex", b->ImageIndex()));
          b->SetVisible(ini.ReadInteger(org, key + ".Visible", b->Visible() ? 1 : 0) != 0);
          b->SetShowCaption(ini.ReadInteger(org, key + ".ShowCaption", b->ShowCaption() ? 1 : 0) == 1);
          b->SetCaption(ini.ReadString(org, key + ".Caption", b->Caption()));
          b->SetHint(ini.ReadString(org, key + ".Hint", b->Hint()));
        } else if (auto* g = dynamic_cast<TDizCustomGlowButton*>(c)) {
          g->SetImageIndex(ini.ReadInteger(org, key + ".ImageIndex", g->ImageIndex()));
          g->SetVisible(ini.ReadInteger(org, key + ".Visible", g->Visible() ? 1 : 0) != 0);
          g->SetShowCaption(ini.ReadInteger(org, key + ".ShowCaption", g->ShowCaption() ? 1 : 0) == 1);
          g->SetCaption(ini.ReadString(org, key + ".Caption", g->Caption()));
          g->SetHint(ini.ReadString(org, key + ".Hint", g->Hint()));
        }
        // A control named twice keeps its first place.
      if (std::find(W.begin(), W.end(), c) == W.end()) W.push_back(c);
      }
      const int w = static_cast<int>(W.size());
      for (int i = 0; i < w && i < bar->GetToolBarControlCount(); ++i) {
        if (FDialogSettings->EditGlyphPosition()) ApplyGlyphPosition(W[static_cast<size_t>(i)], G);
        const int J = bar->IndexOfToolBarControl(W[static_cast<size_t>(i)]);
        if (J >= 0 && J != i) bar->MoveToolBarControl(J, i);
      }
      // What the recorded layout does not name goes: the customizer's own items are
      // freed; a control the application owns is only taken off the tool bar.
      const int M = bar->GetToolBarControlCount();
      for (int k = 0; k < M - w; ++k) {
        if (bar->GetToolBarControlCount() <= w) break;
        TControl* c = bar->GetToolBarControls(w);
        auto* button = dynamic_cast<TDizCustomToolBarButton*>(c);
        auto* glow = dynamic_cast<TDizCustomGlowButton*>(c);
        const bool ours = (button && button->MadeByCustomizer) || (glow && glow->MadeByCustomizer());
        c->SetParent(nullptr);
        if (ours) {
          delete c;
        } else {
          Park(c);
        }
      }
    }
  }
  if (L == 1 && FLargeImages) bar->SetImages(FLargeImages);
  else if (FSmallImages) bar->SetImages(FSmallImages);
  // The user's section loses every key.
  WriteIni([&](TCustomIniFile& ini) {
    TStringList keys;
    ini.ReadSection(Name(), &keys);
    for (int i = 0; i < keys.Count(); ++i) ini.DeleteKey(Name(), keys.Strings(i));
  });
}

void TVivIzizEzuCustomizer::ShowCustomizer() {
  if (!FVivIzizEzu) return;
  // The dialogs are not part of this build; nothing to show.
}

// ---- published properties ---------------------------------------------------------------
void TVIECommand::Publish(TClassBuilder<TVIECommand>& P) {
  using C = TVIECommand;
  P.Str("Caption", &C::Caption, &C::SetCaption)
      .Int("ItemIndex", &C::ItemIndex, &C::SetItemIndex, -1)
      .Component("Action", &C::Action, &C::SetAction)
      .Event("OnExecute", &C::OnExecute);
}

void TButtonProperties::Publish(TClassBuilder<TButtonProperties>& P) {
  using C = TButtonProperties;
  P.Bool("Caption", &C::Caption, &C::SetCaption, true)
      .Bool("Glyph", &C::Glyph, &C::SetGlyph, true)
      .Bool("Hint", &C::Hint, &C::SetHint, true)
      .Bool("Visible", &C::Visible, &C::SetVisible, false)
      .Bool("ShowCaption", &C::ShowCaption, &C::SetShowCaption, true);
}

void TCustomizedOptions::Publish(TClassBuilder<TCustomizedOptions>& P) {
  using C = TCustomizedOptions;
  P.Bool("ReOrder", &C::ReOrder, &C::SetReOrder, true)
      .Bool("AddButton", &C::AddButton, &C::SetAddButton, true)
      .Bool("AddSeparator", &C::AddSeparator, &C::SetAddSeparator, true)
      .Bool("AddGlowButton", &C::AddGlowButton, &C::SetAddGlowButton, true)
      .Bool("Delete", &C::Delete, &C::SetDelete, true)
      .Bool("DeleteAll", &C::DeleteAll, &C::SetDeleteAll, false)
      .Bool("EditButton", &C::EditButton, &C::SetEditButton, true);
}

void TDialogSettings::Publish(TClassBuilder<TDialogSettings>& P) {
  using C = TDialogSettings;
#define TEXT(Name, Default) .Str(#Name, &C::Name, &C::Set##Name, Default)
#define FLAG(Name, Default) .Bool(#Name, &C::Name, &C::Set##Name, Default)
  P TEXT(ToolBarLabel, "ToolBar Items:") TEXT(CommandLabel, "Commands") TEXT(CaptionLabel, "Caption")
      TEXT(GlyphPosLabel, "Glyph Position") TEXT(LargeIconCheck, "Large Icon") TEXT(TopHint, "Move to Top")
      TEXT(UpHint, "Move Up") TEXT(DownHint, "Move Down") TEXT(BottomHint, "Move to Bottom")
      TEXT(AddHint, "Add Item") TEXT(AddSeparatorHint, "Add Separator") TEXT(DeleteHint, "Delete Item")
      TEXT(DeleteAllHint, "Delete All") TEXT(EditHint, "Edit Item") TEXT(Caption, "Customizer")
      TEXT(ButtonEditCaption, "Customize Button") TEXT(ButtonEditCaptionLabel, "Caption")
      TEXT(ButtonEditHintLabel, "Hint") TEXT(ButtonEditIconLabel, "Icon")
      TEXT(ButtonEditCaptionCheck, "Show Caption") TEXT(ButtonEditVisibleCheck, "Visible")
      TEXT(OKButtonCaption, "&Ok") TEXT(OKButtonHint, "") TEXT(CancelButtonCaption, "&Cancel")
      TEXT(CancelButtonHint, "") TEXT(ResetButtonCaption, "&Reset") TEXT(ResetButtonHint, "")
      TEXT(AddGlowButtonHint, "Insert GlowButton") TEXT(GlyphPositionLeftCaption, "Left")
      TEXT(GlyphPositionTopCaption, "Top") TEXT(GlyphPositionRightCaption, "Right")
      TEXT(GlyphPositionBottomCaption, "Bottom") TEXT(GlyphEditNoneIconCaption, "None")
      FLAG(EditGlyph, true) FLAG(EditGlyphVisible, true) FLAG(EditCaption, true) FLAG(EditGlyphPosition, true)
      FLAG(LargeIcon, false) TEXT(Customize, "Customize");
#undef TEXT
#undef FLAG
}

void TVivIzizEzuCustomizer::Publish(TClassBuilder<TVivIzizEzuCustomizer>& P) {
  using C = TVivIzizEzuCustomizer;
  P.Component("VivIzizEzu", &C::VivIzizEzu, &C::SetVivIzizEzu)
      .Component("LargeImages", &C::LargeImages, &C::SetLargeImages)
      .Component("SmallImages", &C::SmallImages, &C::SetSmallImages)
      .Object("Commands", &C::Commands, &C::SetCommands)
      .Bool("EnablePersistence", &C::EnablePersistence, &C::SetEnablePersistence)
      .Str("FileName", &C::FileName, &C::SetFileName, ".\\untitled.ini")
      .Object("ButtonProperties", &C::ButtonProperties, &C::SetButtonProperties)
      .Object("DialogSettings", &C::DialogSettings, &C::SetDialogSettings)
      .Object("Options", &C::Options, &C::SetOptions)
      .Event("OnBeforeDisplay", &C::OnBeforeDisplay)
      .Event("OnAfterPost", &C::OnAfterPost)
      .Event("OnCanShow", &C::OnCanShow);
}

namespace {
const bool kRegistered = [] {
  RegisterClasses({TVivIzizEzuCustomizer::StaticClass()});
  return true;
}();
}  // namespace

}  // namespace VivIzizEzu
