// DovAvarOrodez, the data-aware button: one navigator action on a data source's data
// set, enabled from the data set's state, with an optional confirmation and a built-in
// glyph per action.
#include "menus/DovAvarOrodez.h"

namespace {
const TEnumInfo* DBButtonTypeNames() {
  static const TEnumInfo* info =
      RegisterEnum("TDBGlowButtonType", {"dbCustom", "dbFirst", "dbPrior", "dbNext", "dbLast", "dbInsert",
                                         "dbAppend", "dbDelete", "dbEdit", "dbPost", "dbCancel", "dbRefresh"});
  return info;
}
const TEnumInfo* DisableControlNames() {
  static const TEnumInfo* info = RegisterEnum(
      "TDBBDisableControl", {"drBOF", "drEOF", "drReadonly", "drNotEditing", "drEditing", "drEmpty", "drEvent"});
  return info;
}

// The bitmap resources of the built-in glyphs (enabled, disabled).
struct TGlyphNames {
  const char* Enabled;
  const char* Disabled;
};
TGlyphNames GlyphNames(TDBGlowButtonType Type) {
  switch (Type) {
    case dbFirst: return {"DBIMGFIRST", "DBIMGFIRSTD"};
    case dbPrior: return {"DBIMGPRIOR", "DBIMGPRIORD"};
    case dbNext: return {"DBIMGNEXT", "DBIMGNEXTD"};
    case dbLast: return {"DBIMGLAST", "DBIMGLASTD"};
    case dbInsert:
    case dbAppend: return {"DBIMGINSERT", "DBIMGINSERTD"};
    case dbDelete: return {"DBIMGDELETE", "DBIMGDELETED"};
    case dbEdit: return {"DBIMGEDIT", "DBIMGEDITD"};
    case dbPost: return {"DBIMGPOST", "DBIMGPOSTD"};
    case dbCancel: return {"DBIMGCANCEL", "DBIMGCANCELD"};
    case dbRefresh: return {"DBIMGREFRESH", "DBIMGREFRESHD"};
    case dbCustom: break;
  }
  return {nullptr, nullptr};
}

TDBBDisableControls ReasonsFor(TDBGlowButtonType Type) {
  switch (Type) {
    case dbFirst:
    case dbPrior: return {drBOF, drEditing, drEmpty};
    case dbNext:
    case dbLast: return {drEOF, drEditing, drEmpty};
    case dbInsert:
    case dbAppend: return {drReadonly, drEditing};
    case dbDelete:
    case dbEdit: return {drReadonly, drEditing, drEmpty};
    case dbPost:
    case dbCancel: return {drNotEditing};
    case dbRefresh: return {drEditing};
    case dbCustom: break;
  }
  return {};
}

constexpr const char* kDeleteRecord = "Delete record?";
}  // namespace

// =======================================================================================
// TDBGlowButtonDataLink

void TDBGlowButtonDataLink::ActiveChanged() {
  if (OnActiveChanged) OnActiveChanged(this);
}
void TDBGlowButtonDataLink::DataSetChanged() {
  if (OnDataSetChanged) OnDataSetChanged(this);
}
void TDBGlowButtonDataLink::EditingChanged() {
  if (OnEditingChanged) OnEditingChanged(this);
}

// =======================================================================================
// TDBDovAvarOrodez

void TDBDovAvarOrodez::Publish(TClassBuilder<TDBDovAvarOrodez>& P) {
  using B = TDBDovAvarOrodez;
  P.Object("Appearance", &B::Appearance, &B::SetAppearance)
      .Enum("Layout", GlowButtonLayoutInfo(), &B::Layout, &B::SetLayout, blGlyphLeft)
      .Bool("AutoDisable", &B::AutoDisable, &B::SetAutoDisable)
      .Bool("ConfirmAction", &B::ConfirmAction, &B::SetConfirmAction, false)
      .Str("ConfirmActionString", &B::ConfirmActionString, &B::SetConfirmActionString)
      .Component("DataSource", &B::DataSource, &B::SetDataSource)
      .Enum("DBButtonType", DBButtonTypeNames(), &B::DBButtonType, &B::SetDBButtonType, dbCustom)
      .Set("DisableControl", DisableControlNames(), &B::DisableControl, &B::SetDisableControl, TDBBDisableControls{})
      .Event("OnBeforeAction", &B::OnBeforeAction)
      .Event("OnAfterAction", &B::OnAfterAction)
      .Event("OnGetConfirm", &B::OnGetConfirm)
      .Event("OnGetEnabled", &B::OnGetEnabled)
      .Event("OnEnabledChanged", &B::OnEnabledChanged);
}

TDBDovAvarOrodez::TDBDovAvarOrodez(TComponent* AOwner) : TDizCustomGlowButton(AOwner) {
  FDataLink = std::make_unique<TDBGlowButtonDataLink>();
  auto update = [this](TObject* Sender) { LinkChanged(Sender); };
  FDataLink->OnActiveChanged = update;
  FDataLink->OnDataSetChanged = update;
  FDataLink->OnEditingChanged = update;
}

TDBDovAvarOrodez::~TDBDovAvarOrodez() {
  Destroying();
  FDataLink.reset();
}

TDataSource* TDBDovAvarOrodez::DataSource() const { return FDataLink->DataSource(); }

void TDBDovAvarOrodez::SetDataSource(TDataSource* Value) {
  FDataLink->SetDataSource(Value);
  if (Value) Value->FreeNotification(this);
  if (!ComponentState().Contains(csLoading)) UpdateEnabled();
}

void TDBDovAvarOrodez::SetConfirmActionString(const std::string& Value) {
  if (FConfirmActionString != Value) FConfirmActionString = Value;
}

void TDBDovAvarOrodez::SetDBButtonType(TDBGlowButtonType Value) {
  if (FDBButtonType == Value) return;
  if (Value == dbDelete && FConfirmActionString.empty()) FConfirmActionString = kDeleteRecord;
  FDBButtonType = Value;
  if (!ComponentState().Contains(csLoading) && !ComponentState().Contains(csReading)) LoadGlyph();
  if (Value != dbCustom) FDisableControl = ReasonsFor(Value);
}

void TDBDovAvarOrodez::Notification(TComponent* AComponent, TOperation Operation) {
  TDizCustomGlowButton::Notification(AComponent, Operation);
  if (Operation == opRemove && FDataLink && AComponent == FDataLink->DataSource()) FDataLink->SetDataSource(nullptr);
}

void TDBDovAvarOrodez::Loaded() {
  TDizCustomGlowButton::Loaded();
  LoadGlyph();
  UpdateEnabled();
}

void TDBDovAvarOrodez::WndProc(TMessage& Message) {
  if (Message.Msg == CM_ENABLEDCHANGED) {
    TDizCustomGlowButton::WndProc(Message);
    TComponentState st = ComponentState();
    if (!FUpdating && !st.Contains(csLoading) && !st.Contains(csDestroying)) UpdateEnabled();
    return;
  }
  TDizCustomGlowButton::WndProc(Message);
}

TDBBDisableControls TDBDovAvarOrodez::CalcDisableReasons() {
  TDBBDisableControls reasons;
  TDataSet* ds = FDataLink->DataSet();
  if (!FDataLink->Active() || !ds) return reasons;
  if (ds->Bof()) reasons += drBOF;
  if (ds->Eof()) reasons += drEOF;
  if (!ds->CanModify()) reasons += drReadonly;
  if (ds->Bof() && ds->Eof()) reasons += drEmpty;
  if (FDataLink->Editing()) reasons += drEditing;
  else reasons += drNotEditing;
  return reasons;
}

void TDBDovAvarOrodez::UpdateEnabled() {
  TComponentState st = ComponentState();
  if (st.Contains(csDesigning) || st.Contains(csDestroying) || !FAutoDisable) return;
  FUpdating = true;
  struct TReset {
    bool& F;
    ~TReset() { F = false; }
  } reset{FUpdating};
  bool was = Enabled();
  bool enabled = false;
  if (FDataLink->Active()) {
    TDBBDisableControls reasons = CalcDisableReasons();
    TDBBDisableControls test = FDisableControl;
    test -= drEvent;
    enabled = (reasons * test).Empty();
    if (FDisableControl.Contains(drEvent) && OnGetEnabled) OnGetEnabled(this, enabled);
  }
  SetEnabled(enabled);
  if (Enabled() != was && OnEnabledChanged) OnEnabledChanged(this);
  FUpdating = false;
  LoadGlyph();
}

void TDBDovAvarOrodez::LoadGlyph() {
  if (ComponentState().Contains(csLoading) || Images()) return;
  if (!Enabled() && DisabledImages()) return;
  if (FDBButtonType == dbCustom) return;
  TGlyphNames names = GlyphNames(FDBButtonType);
  TCustomImageList* list = EnsureGlyphList();
  list->Clear();
  TBitmap bitmap;
  try {
    bitmap.LoadFromResourceName(nullptr, Enabled() ? names.Enabled : names.Disabled);
  } catch (const Exception&) {
    return;  // no glyph for a missing resource
  }
  list->DrawingStyle = dsTransparent;
  list->Masked = true;
  list->AddMasked(&bitmap, TColor(0xFF00FF));
  SetImageIndex(0);
  Repaint();
}

void TDBDovAvarOrodez::Click() {
  TDizCustomGlowButton::Click();
  DoAction();
}

void TDBDovAvarOrodez::DoBeforeAction(bool& DoIt) {
  if (ComponentState().Contains(csDesigning) || !OnBeforeAction) return;
  OnBeforeAction(this, DoIt);
}

void TDBDovAvarOrodez::DoGetQuestion(std::string& Question, TMsgDlgButtons& Buttons, int& HelpCtx) {
  Question.clear();
  if (!FConfirmAction) return;
  Question = FConfirmActionString;
  Buttons = TMsgDlgButtons{mbOK, mbCancel};
  HelpCtx = 0;
  if (OnGetConfirm) OnGetConfirm(this, Question, Buttons, HelpCtx);
}

bool TDBDovAvarOrodez::DoConfirmAction() {
  std::string question;
  TMsgDlgButtons buttons{mbOK, mbCancel};
  int help = 0;
  DoGetQuestion(question, buttons, help);
  if (question.empty()) return true;
  int answer = MessageDlg(question, mtConfirmation, buttons, help);
  return answer == mrOk || answer == mrYes;
}

void TDBDovAvarOrodez::DoAction() {
  if (!DoConfirmAction()) return;
  bool doIt = FDBButtonType != dbCustom;
  DoBeforeAction(doIt);
  TDataSource* source = DataSource();
  if (doIt && source && source->State() != dsInactive) {
    TDataSet* ds = source->DataSet();
    try {
      switch (FDBButtonType) {
        case dbFirst: ds->First(); break;
        case dbPrior: ds->Prior(); break;
        case dbNext: ds->Next(); break;
        case dbLast: ds->Last(); break;
        case dbInsert: ds->Insert(); break;
        case dbAppend: ds->Append(); break;
        case dbDelete: ds->Delete(); break;
        case dbEdit: ds->Edit(); break;
        case dbPost: ds->Post(); break;
        case dbCancel: ds->Cancel(); break;
        case dbRefresh: ds->Refresh(); break;
        case dbCustom: break;
      }
    } catch (...) {
      bool show = true;
      if (OnAfterAction) OnAfterAction(this, show);
      if (show) throw;
      return;
    }
  }
  if (doIt && OnAfterAction) {
    bool show = false;
    OnAfterAction(this, show);
  }
}
