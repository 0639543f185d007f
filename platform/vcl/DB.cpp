// DB: the in-memory data set, the data source and the data link.
#include "platform/vcl/DB.h"

#include <algorithm>

namespace {
constexpr const char* kClosed = "Cannot perform this operation on a closed dataset";
constexpr const char* kReadOnly = "Cannot modify a read-only dataset";
constexpr const char* kNotEditing = "Dataset not in edit or insert mode";
constexpr const char* kEmpty = "Cannot perform this operation on an empty dataset";
}  // namespace

// =======================================================================================
// TDataSet

TDataSet::TDataSet(TComponent* AOwner) : TComponent(AOwner) {}

TDataSet::~TDataSet() {
  // The sources forget the data set; their links hear that it is gone.
  std::vector<TDataSource*> sources = FSources;
  for (TDataSource* s : sources) s->SetDataSet(nullptr);
}

void TDataSet::CheckActive() const {
  if (!Active()) throw EDatabaseError(kClosed);
}

void TDataSet::CheckCanModify() const {
  CheckActive();
  if (FReadOnly) throw EDatabaseError(kReadOnly);
}

void TDataSet::SetState(TDataSetState Value) {
  if (FState == Value) return;
  bool wasEditing = FState == dsEdit || FState == dsInsert;
  FState = Value;
  bool editing = FState == dsEdit || FState == dsInsert;
  if (wasEditing != editing)
    for (TDataSource* s : std::vector<TDataSource*>(FSources)) s->DataEvent(TDataSource::deEditingChanged);
}

void TDataSet::DataChanged() {
  for (TDataSource* s : std::vector<TDataSource*>(FSources)) s->DataEvent(TDataSource::deDataSetChanged);
}

void TDataSet::SetActive(bool Value) {
  if (Value == Active()) return;
  if (Value) {
    FState = dsBrowse;
    FCurrent = 0;
    FBof = true;
    FEof = FRecords.empty();
  } else {
    if (FState == dsInsert && FInsertedAt >= 0) FRecords.erase(FRecords.begin() + FInsertedAt);
    FInsertedAt = -1;
    FBuffer.clear();
    FState = dsInactive;
    FBof = FEof = true;
  }
  for (TDataSource* s : std::vector<TDataSource*>(FSources)) s->DataEvent(TDataSource::deActiveChanged);
}

void TDataSet::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  if (Value) CheckBrowseMode();
  FReadOnly = Value;
  DataChanged();
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  if (FState == dsEdit || FState == dsInsert) Post();
}

void TDataSet::First() {
  CheckBrowseMode();
  FCurrent = 0;
  FBof = true;
  FEof = FRecords.empty();
  DataChanged();
}

void TDataSet::Last() {
  CheckBrowseMode();
  FCurrent = std::max(0, RecordCount() - 1);
  FEof = true;
  FBof = FRecords.empty();
  DataChanged();
}

void TDataSet::Next() {
  CheckBrowseMode();
  if (FCurrent + 1 < RecordCount()) {
    ++FCurrent;
    FBof = false;
    FEof = false;
  } else {
    FEof = true;
  }
  DataChanged();
}

void TDataSet::Prior() {
  CheckBrowseMode();
  if (FCurrent > 0) {
    --FCurrent;
    FBof = false;
    FEof = false;
  } else {
    FBof = true;
  }
  DataChanged();
}

void TDataSet::Edit() {
  if (FState == dsEdit || FState == dsInsert) return;
  CheckCanModify();
  if (FRecords.empty()) throw EDatabaseError(kEmpty);
  FBuffer = FRecords[size_t(FCurrent)];
  SetState(dsEdit);
  DataChanged();
}

void TDataSet::Insert() {
  CheckBrowseMode();
  CheckCanModify();
  FInsertedAt = FRecords.empty() ? 0 : FCurrent;
  FRecords.insert(FRecords.begin() + FInsertedAt, TRecord{});
  FCurrent = FInsertedAt;
  FBuffer.clear();
  FBof = FEof = false;
  SetState(dsInsert);
  DataChanged();
}

void TDataSet::Append() {
  CheckBrowseMode();
  CheckCanModify();
  FRecords.push_back(TRecord{});
  FInsertedAt = RecordCount() - 1;
  FCurrent = FInsertedAt;
  FBuffer.clear();
  FBof = FEof = false;
  SetState(dsInsert);
  DataChanged();
}

void TDataSet::Post() {
  CheckActive();
  if (FState != dsEdit && FState != dsInsert) throw EDatabaseError(kNotEditing);
  FRecords[size_t(FCurrent)] = FBuffer;
  FBuffer.clear();
  FInsertedAt = -1;
  SetState(dsBrowse);
  DataChanged();
}

void TDataSet::Cancel() {
  CheckActive();
  if (FState != dsEdit && FState != dsInsert) return;
  if (FState == dsInsert && FInsertedAt >= 0) {
    FRecords.erase(FRecords.begin() + FInsertedAt);
    FCurrent = std::clamp(FCurrent, 0, std::max(0, RecordCount() - 1));
    if (FRecords.empty()) FBof = FEof = true;
  }
  FInsertedAt = -1;
  FBuffer.clear();
  SetState(dsBrowse);
  DataChanged();
}

void TDataSet::Delete() {
  CheckActive();
  if (FState == dsInsert) {
    Cancel();
    return;
  }
  CheckCanModify();
  if (FRecords.empty()) throw EDatabaseError(kEmpty);
  FBuffer.clear();
  FRecords.erase(FRecords.begin() + FCurrent);
  if (FCurrent >= RecordCount()) FCurrent = std::max(0, RecordCount() - 1);
  if (FRecords.empty()) FBof = FEof = true;
  else FBof = FEof = false;
  SetState(dsBrowse);
  DataChanged();
}

void TDataSet::Refresh() {
  CheckBrowseMode();
  DataChanged();
}

std::string TDataSet::FieldValue(const std::string& FieldName) const {
  if (!Active()) return {};
  const TRecord* r = nullptr;
  if (FState == dsEdit || FState == dsInsert) r = &FBuffer;
  else if (!FRecords.empty()) r = &FRecords[size_t(FCurrent)];
  if (!r) return {};
  auto it = r->find(FieldName);
  return it == r->end() ? std::string() : it->second;
}

void TDataSet::SetFieldValue(const std::string& FieldName, const std::string& Value) {
  CheckActive();
  if (FState != dsEdit && FState != dsInsert) throw EDatabaseError(kNotEditing);
  FBuffer[FieldName] = Value;
}

void TDataSet::AppendRecord(const std::map<std::string, std::string>& Fields) {
  if (Active()) {
    CheckBrowseMode();
    if (FReadOnly) throw EDatabaseError(kReadOnly);
  }
  FRecords.push_back(Fields);
  if (Active()) {
    FCurrent = RecordCount() - 1;
    FBof = FEof = false;
    DataChanged();
  }
}

// =======================================================================================
// TDataSource

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource() {
  SetDataSet(nullptr);
  std::vector<TDataLink*> links = FLinks;
  for (TDataLink* l : links) l->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet* Value) {
  if (FDataSet == Value) return;
  if (FDataSet) {
    auto& v = FDataSet->FSources;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
  FDataSet = Value;
  if (FDataSet) FDataSet->FSources.push_back(this);
  DataEvent(deActiveChanged);
}

void TDataSource::DataEvent(TDataEvent Event) {
  for (TDataLink* l : std::vector<TDataLink*>(FLinks)) {
    switch (Event) {
      case deActiveChanged: l->ActiveChanged(); break;
      case deDataSetChanged: l->DataSetChanged(); break;
      case deEditingChanged: l->EditingChanged(); break;
    }
  }
}

// =======================================================================================
// TDataLink

TDataLink::~TDataLink() {
  if (FDataSource) {
    auto& v = FDataSource->FLinks;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
}

void TDataLink::SetDataSource(TDataSource* Value) {
  if (FDataSource == Value) return;
  if (FDataSource) {
    auto& v = FDataSource->FLinks;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
  FDataSource = Value;
  if (FDataSource) FDataSource->FLinks.push_back(this);
  ActiveChanged();
}

bool TDataLink::Editing() const {
  TDataSet* ds = DataSet();
  return !FReadOnly && ds && (ds->State() == dsEdit || ds->State() == dsInsert);
}
