#pragma once
// DB: the least of the framework's data access that data-aware controls use.
//
// TDataSet holds its records in memory (each a list of field texts by field name) and
// keeps a current record, the BOF and EOF marks and a state: inactive, browsing, editing
// or inserting. Moving off an edited record posts it first. TDataSource connects one
// data set to data links; a TDataLink hears of the data set being opened or closed
// (ActiveChanged), of the current record or the records changing (DataSetChanged) and
// of editing starting or ending (EditingChanged).
//
// Records are numbered from 1 (RecNo); RecNo is 0 while the data set is empty or closed.
#include <map>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Component.h"

LORM_DECLARE_EXCEPTION(EDatabaseError, Exception);

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

class TDataSource;
class TDataLink;

class TDataSet : public TComponent {
  LORM_CLASS(TDataSet, TComponent)
public:
  explicit TDataSet(TComponent* AOwner);
  ~TDataSet() override;

  // Opening moves to the first record; closing drops an unposted edit.
  bool Active() const { return FState != dsInactive; }
  void SetActive(bool Value);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  TDataSetState State() const { return FState; }
  // A read-only data set cannot be edited, inserted into or deleted from.
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  bool CanModify() const { return Active() && !FReadOnly; }

  bool Bof() const { return FBof; }
  bool Eof() const { return FEof; }
  bool IsEmpty() const { return FRecords.empty(); }
  int RecordCount() const { return static_cast<int>(FRecords.size()); }
  int RecNo() const { return FRecords.empty() ? 0 : FCurrent + 1; }

  // Navigation. Each raises EDatabaseError on a closed data set and posts an edit first.
  void First();
  void Last();
  void Next();
  void Prior();
  // Editing. Insert adds an empty record before the current one, Append at the end;
  // Post keeps the edit buffer, Cancel drops it (and an inserted record).
  void Edit();
  void Insert();
  void Append();
  void Post();
  void Cancel();
  void Delete();
  // Tells the links that the records may have changed.
  void Refresh();
  void CheckBrowseMode();

  // Field texts of the current record (the edit buffer while editing). Setting raises
  // EDatabaseError unless the data set is in edit or insert state.
  std::string FieldValue(const std::string& FieldName) const;
  void SetFieldValue(const std::string& FieldName, const std::string& Value);
  // Adds a record while browsing (for filling a data set in code); moves to it.
  void AppendRecord(const std::map<std::string, std::string>& Fields);

private:
  friend class TDataSource;
  using TRecord = std::map<std::string, std::string>;
  void CheckActive() const;
  void CheckCanModify() const;
  void SetState(TDataSetState Value);
  void DataChanged();
  std::vector<TRecord> FRecords;
  std::vector<TDataSource*> FSources;
  TRecord FBuffer;
  int FCurrent = 0;
  int FInsertedAt = -1;
  bool FBof = true, FEof = true;
  bool FReadOnly = false;
  TDataSetState FState = dsInactive;
};

class TDataSource : public TComponent {
  LORM_CLASS(TDataSource, TComponent)
public:
  explicit TDataSource(TComponent* AOwner);
  ~TDataSource() override;
  TDataSet* DataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* Value);
  // dsInactive without a data set.
  TDataSetState State() const { return FDataSet ? FDataSet->State() : dsInactive; }

private:
  friend class TDataSet;
  friend class TDataLink;
  enum TDataEvent { deActiveChanged, deDataSetChanged, deEditingChanged };
  void DataEvent(TDataEvent Event);
  std::vector<TDataLink*> FLinks;
  TDataSet* FDataSet = nullptr;
};

class TDataLink : public TPersistent {
  LORM_CLASS(TDataLink, TPersistent)
public:
  TDataLink() = default;
  ~TDataLink() override;
  TDataSource* DataSource() const { return FDataSource; }
  void SetDataSource(TDataSource* Value);
  TDataSet* DataSet() const { return FDataSource ? FDataSource->DataSet() : nullptr; }
  // The data source has an open data set.
  bool Active() const { return DataSet() && DataSet()->Active(); }
  // The data set is in edit or insert state (and the link is not read-only).
  bool Editing() const;
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }

protected:
  friend class TDataSource;
  virtual void ActiveChanged() {}
  virtual void DataSetChanged() {}
  virtual void EditingChanged() {}

private:
  TDataSource* FDataSource = nullptr;
  bool FReadOnly = false;
};
