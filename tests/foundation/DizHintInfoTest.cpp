// Tests of the office hint data: copying and storing with a form.
#include "foundation/DizHintInfo.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/image/PngCodec.h"
#include "platform/vcl/Filer.h"

namespace {

std::string SamplePng() {
  TRawImage img(3, 2, MakeArgb(255, 0, 128, 255));
  TByteBuffer b = EncodePng(img);
  return std::string(b.begin(), b.end());
}

void LoadPicture(TGDIPPicture* picture, const std::string& bytes) {
  TStringStream in(bytes);
  picture->LoadFromStream(in);
}

void Fill(TDizHintInfo& hint) {
  hint.SetTitle("Коэффициенты");
  hint.Notes()->Add("first line");
  hint.Notes()->Add("second line");
  hint.SetShowHelp(true);
  hint.SetWideTitle(u"Ширина");
  hint.SetWideNotes(u"notes");
  LoadPicture(hint.Picture(), SamplePng());
}

// A control publishing its hint, as the library's controls do.
class THintedButton : public TComponent {
  LORM_PUBLISHED(THintedButton, TComponent)
public:
  using TComponent::TComponent;
  TDizHintInfo* OfficeHint() { return &FOfficeHint; }
  void SetOfficeHint(TDizHintInfo* Value) { FOfficeHint.Assign(Value); }

private:
  TDizHintInfo FOfficeHint;
};
void THintedButton::Publish(TClassBuilder<THintedButton>& P) {
  P.Object("OfficeHint", &THintedButton::OfficeHint, &THintedButton::SetOfficeHint);
}

}  // namespace

TEST(DizHintInfo, StartsEmpty) {
  TDizHintInfo hint;
  EXPECT_EQ(hint.Title(), "");
  EXPECT_EQ(hint.Notes()->Count(), 0);
  EXPECT_TRUE(hint.Picture()->GetEmpty());
  EXPECT_FALSE(hint.ShowHelp());
}

TEST(DizHintInfo, AssignCopiesEverythingAndThePictureOutlivesTheSource) {
  TDizHintInfo copy;
  {
    auto source = std::make_unique<TDizHintInfo>();
    Fill(*source);
    copy.Assign(source.get());
  }
  EXPECT_EQ(copy.Title(), "Коэффициенты");
  ASSERT_EQ(copy.Notes()->Count(), 2);
  EXPECT_EQ(copy.Notes()->Strings(1), "second line");
  EXPECT_TRUE(copy.ShowHelp());
  EXPECT_EQ(copy.WideTitle(), u"Ширина");
  EXPECT_EQ(copy.WideNotes(), u"notes");
  EXPECT_EQ(copy.Picture()->DataStream().DataString(), SamplePng());
  EXPECT_TRUE(copy.Picture()->GetImageSizes());
  EXPECT_EQ(copy.Picture()->GetWidth(), 3);
}

TEST(DizHintInfo, AssigningAnotherKindOfObjectChangesNothing) {
  TDizHintInfo hint;
  Fill(hint);
  TStringList other;
  other.Add("x");
  EXPECT_NO_THROW(hint.Assign(&other));
  EXPECT_NO_THROW(hint.Assign(nullptr));
  EXPECT_EQ(hint.Title(), "Коэффициенты");
  EXPECT_EQ(hint.Notes()->Count(), 2);
  EXPECT_FALSE(hint.Picture()->GetEmpty());
}

TEST(DizHintInfo, SettersCopyTheirValue) {
  TDizHintInfo hint;
  TStringList lines;
  lines.Add("one");
  hint.SetNotes(&lines);
  lines.Add("two");
  EXPECT_EQ(hint.Notes()->Count(), 1);
  hint.SetNotes(nullptr);
  EXPECT_EQ(hint.Notes()->Count(), 0);

  TGDIPPicture picture;
  LoadPicture(&picture, SamplePng());
  hint.SetPicture(&picture);
  EXPECT_NE(hint.Picture(), &picture);
  EXPECT_EQ(hint.Picture()->DataStream().DataString(), SamplePng());
  hint.SetPicture(nullptr);
  EXPECT_TRUE(hint.Picture()->GetEmpty());
}

TEST(DizHintInfo, StoredWithTheFormInTextAndBinary) {
  RegisterClass(THintedButton::StaticClass());
  THintedButton source(nullptr);
  source.SetName("Button1");
  Fill(*source.OfficeHint());
  const std::string text = WriteComponentToText(&source);
  EXPECT_NE(text.find("OfficeHint.Title"), std::string::npos);
  EXPECT_NE(text.find("OfficeHint.ShowHelp = True"), std::string::npos);
  EXPECT_NE(text.find("OfficeHint.Picture.Data"), std::string::npos);
  EXPECT_EQ(text.find("Wide"), std::string::npos);  // unicode texts are not stored

  for (int binary = 0; binary < 2; ++binary) {
    THintedButton target(nullptr);
    if (binary) {
      TMemoryStream s;
      WriteComponent(s, &source);
      s.SetPosition(0);
      ReadComponent(s, &target);
    } else {
      ReadComponentFromText(text, &target);
    }
    TDizHintInfo* hint = target.OfficeHint();
    EXPECT_EQ(hint->Title(), "Коэффициенты");
    EXPECT_EQ(hint->Notes()->Text(), source.OfficeHint()->Notes()->Text());
    EXPECT_TRUE(hint->ShowHelp());
    EXPECT_EQ(hint->Picture()->DataStream().DataString(), SamplePng());
    EXPECT_EQ(hint->WideTitle(), u"");
  }

  // An empty hint stores nothing at all.
  THintedButton plain(nullptr);
  plain.SetName("Button2");
  EXPECT_EQ(WriteComponentToText(&plain).find("OfficeHint"), std::string::npos);
}
