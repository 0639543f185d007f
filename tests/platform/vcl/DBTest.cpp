// The in-memory data set, its data source and data links: navigation marks, editing
// states, errors and the notifications links receive.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/vcl/DB.h"

namespace {

class TRecordingLink : public TDataLink {
public:
  std::vector<std::string> Events;

protected:
  void ActiveChanged() override { Events.push_back("active"); }
  void DataSetChanged() override { Events.push_back("changed"); }
  void EditingChanged() override { Events.push_back("editing"); }
};

TDataSet* Gases(TComponent* owner, int count) {
  auto* data = new TDataSet(owner);
  const char* names[] = {"Air", "Methane", "Propane"};
  for (int i = 0; i < count; ++i) data->AppendRecord({{"Name", names[i]}});
  return data;
}

TEST(DataSet, NavigationSetsTheBeginningAndEndMarks) {
  TComponent owner(nullptr);
  TDataSet* data = Gases(&owner, 3);
  data->Open();
  EXPECT_TRUE(data->Bof());
  EXPECT_FALSE(data->Eof());
  EXPECT_EQ(data->FieldValue("Name"), "Air");
  data->Prior();  // already first: stays, Bof stays
  EXPECT_TRUE(data->Bof());
  data->Next();
  EXPECT_FALSE(data->Bof());
  EXPECT_EQ(data->RecNo(), 2);
  data->Last();
  EXPECT_TRUE(data->Eof());
  EXPECT_EQ(data->FieldValue("Name"), "Propane");
  data->Next();
  EXPECT_TRUE(data->Eof());
  EXPECT_EQ(data->RecNo(), 3);

  TDataSet* empty = Gases(&owner, 0);
  empty->Open();
  EXPECT_TRUE(empty->Bof() && empty->Eof());
  EXPECT_EQ(empty->RecNo(), 0);
  EXPECT_THROW(empty->Edit(), EDatabaseError);
  EXPECT_THROW(empty->Delete(), EDatabaseError);
}

TEST(DataSet, EditingPostsCancelsAndMovingPostsFirst) {
  TComponent owner(nullptr);
  TDataSet* data = Gases(&owner, 2);
  data->Open();
  data->Edit();
  EXPECT_EQ(data->State(), dsEdit);
  data->SetFieldValue("Name", "Nitrogen");
  data->Cancel();
  EXPECT_EQ(data->FieldValue("Name"), "Air");
  data->Edit();
  data->SetFieldValue("Name", "Nitrogen");
  data->Next();  // posts the edit
  EXPECT_EQ(data->State(), dsBrowse);
  data->First();
  EXPECT_EQ(data->FieldValue("Name"), "Nitrogen");

  data->Insert();
  EXPECT_EQ(data->RecordCount(), 3);
  data->Cancel();  // an inserted record goes again
  EXPECT_EQ(data->RecordCount(), 2);
  data->Append();
  data->SetFieldValue("Name", "Helium");
  data->Post();
  EXPECT_EQ(data->RecNo(), 3);
  EXPECT_EQ(data->FieldValue("Name"), "Helium");
  data->Delete();
  EXPECT_EQ(data->RecordCount(), 2);
  EXPECT_EQ(data->FieldValue("Name"), "Methane");
  EXPECT_THROW(data->Post(), EDatabaseError);
  EXPECT_THROW(data->SetFieldValue("Name", "x"), EDatabaseError);
}

TEST(DataSet, ClosedAndReadOnlyDataSetsRefuse) {
  TComponent owner(nullptr);
  TDataSet* data = Gases(&owner, 2);
  EXPECT_THROW(data->Next(), EDatabaseError);
  EXPECT_THROW(data->Edit(), EDatabaseError);
  data->Open();
  data->SetReadOnly(true);
  EXPECT_FALSE(data->CanModify());
  for (auto op : {&TDataSet::Edit, &TDataSet::Insert, &TDataSet::Append, &TDataSet::Delete})
    EXPECT_THROW((data->*op)(), EDatabaseError);
  EXPECT_EQ(data->RecordCount(), 2);
  // Closing drops an unposted insert.
  data->SetReadOnly(false);
  data->Append();
  data->Close();
  data->Open();
  EXPECT_EQ(data->RecordCount(), 2);
}

TEST(DataLink, HearsOpeningMovingAndEditingAndForgetsFreedObjects) {
  TComponent owner(nullptr);
  TDataSet* data = Gases(&owner, 2);
  auto* source = new TDataSource(&owner);
  source->SetDataSet(data);
  TRecordingLink link;
  link.SetDataSource(source);
  EXPECT_FALSE(link.Active());
  link.Events.clear();
  data->Open();
  EXPECT_TRUE(link.Active());
  data->Next();
  data->Edit();
  EXPECT_TRUE(link.Editing());
  data->Post();
  EXPECT_EQ(link.Events, (std::vector<std::string>{"active", "changed", "editing", "changed", "editing", "changed"}));
  EXPECT_EQ(source->State(), dsBrowse);

  delete data;  // the source and the link hear of it
  EXPECT_EQ(source->DataSet(), nullptr);
  EXPECT_EQ(source->State(), dsInactive);
  EXPECT_FALSE(link.Active());
  delete source;
  EXPECT_EQ(link.DataSource(), nullptr);
}

}  // namespace
