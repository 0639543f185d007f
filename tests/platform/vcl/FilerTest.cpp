#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/vcl/Filer.h"

namespace {

enum TTestAlign { alNone, alTop, alBottom, alClient };
enum TTestAnchor { akLeft, akTop, akRight, akBottom };
using TTestAnchors = TSet<TTestAnchor>;
enum TTestFontStyle { fsBold, fsItalic, fsUnderline };
using TTestFontStyles = TSet<TTestFontStyle>;
using TKeyEvent = std::function<void(TObject*, char32_t&)>;

const TEnumInfo* AlignInfo = RegisterEnum("TTestAlign", {"alNone", "alTop", "alBottom", "alClient"});
const TEnumInfo* AnchorInfo = RegisterEnum("TTestAnchor", {"akLeft", "akTop", "akRight", "akBottom"});
const TEnumInfo* FontStyleInfo = RegisterEnum("TTestFontStyle", {"fsBold", "fsItalic", "fsUnderline"});
const TIntConsts* ColorConsts = RegisterIntConsts("TTestColor", {{"clRed", 0xFF}, {"clBtnFace", -16777201}});

class TTestFont : public TPersistent {
  LORM_PUBLISHED(TTestFont, TPersistent)
public:
  std::string Name = "MS Sans Serif";
  int Size = 8;
  TTestFontStyles Style;
};
void TTestFont::Publish(TClassBuilder<TTestFont>& P) {
  P.Str("Name", &TTestFont::Name, &TTestFont::Name, "MS Sans Serif")
   .Int("Size", &TTestFont::Size, &TTestFont::Size, 8)
   .Set("Style", FontStyleInfo, &TTestFont::Style, &TTestFont::Style, TTestFontStyles{});
}

class TTestColumn : public TCollectionItem {
  LORM_PUBLISHED(TTestColumn, TCollectionItem)
public:
  using TCollectionItem::TCollectionItem;
  std::string Title;
  int Width = 64;
};
void TTestColumn::Publish(TClassBuilder<TTestColumn>& P) {
  P.Str("Title", &TTestColumn::Title, &TTestColumn::Title).Int("Width", &TTestColumn::Width, &TTestColumn::Width, 64);
}

// A component with a parent in the stored form (the way controls nest).
class TTestPanel : public TComponent {
  LORM_PUBLISHED(TTestPanel, TComponent)
public:
  explicit TTestPanel(TComponent* AOwner)
      : TComponent(AOwner), Columns(this, ItemClassOf<TTestColumn>()) {}
  ~TTestPanel() override {
    SetPopup(nullptr);
    if (FParent) std::erase(FParent->FChildren, this);
    for (TTestPanel* c : FChildren) c->FParent = nullptr;
  }

  int Left = 0;
  std::string Caption;
  int Color = -16777201;
  TTestAlign Align = alNone;
  TTestAnchors Anchors{akLeft, akTop};
  bool Visible = true;
  double Ratio = 0;
  TTestFont Font;
  TStringList Items;
  TOwnedCollection Columns;
  TNotifyEvent OnClick;
  TKeyEvent OnKey;
  std::string Data;
  std::vector<int> Extra;
  int LoadedCount = 0;
  bool PopupResolvedAtLoaded = false;

  TTestFont* GetFont() { return &Font; }
  TStrings* GetItems() { return &Items; }
  TOwnedCollection* GetColumns() { return &Columns; }
  TComponent* GetPopup() const { return FPopup; }
  void SetPopup(TComponent* Value) {
    if (FPopup) FPopup->RemoveFreeNotification(this);
    FPopup = Value;
    if (FPopup) FPopup->FreeNotification(this);
  }
  TTestPanel* ParentPanel() const { return FParent; }

  bool HasParent() const override { return FParent != nullptr; }
  TComponent* GetParentComponent() const override { return FParent; }
  void SetParentComponent(TComponent* Value) override {
    auto* p = dynamic_cast<TTestPanel*>(Value);
    if (FParent) std::erase(FParent->FChildren, this);
    FParent = p;
    if (p) p->FChildren.push_back(this);
  }
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override {
    TComponent::GetChildren(Proc, Root);
    for (TTestPanel* c : FChildren)
      if (c->Owner() == Root) Proc(c);
  }
  void Loaded() override {
    TComponent::Loaded();
    ++LoadedCount;
    PopupResolvedAtLoaded = FPopup != nullptr;
  }
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopup) FPopup = nullptr;
  }
  void DefineProperties(TFiler* Filer) override {
    Filer->DefineBinaryProperty(
        "Data", [this](TStream& s) { Data.resize(static_cast<size_t>(s.Size())); s.ReadBuffer(Data.data(), s.Size()); },
        [this](TStream& s) { s.WriteString(Data); }, !Data.empty());
    Filer->DefineProperty(
        "Extra",
        [this](TReader& r) {
          Extra.clear();
          r.ReadListBegin();
          while (!r.EndOfList()) Extra.push_back(static_cast<int>(r.ReadInteger()));
          r.ReadListEnd();
        },
        [this](TWriter& w) {
          w.WriteListBegin();
          for (int v : Extra) w.WriteInteger(v);
          w.WriteListEnd();
        },
        !Extra.empty());
  }

private:
  TComponent* FPopup = nullptr;
  TTestPanel* FParent = nullptr;
  std::vector<TTestPanel*> FChildren;
};
void TTestPanel::Publish(TClassBuilder<TTestPanel>& P) {
  P.Int("Left", &TTestPanel::Left, &TTestPanel::Left, 0)
   .Str("Caption", &TTestPanel::Caption, &TTestPanel::Caption)
   .Int("Color", &TTestPanel::Color, &TTestPanel::Color, -16777201).Consts(ColorConsts)
   .Enum("Align", AlignInfo, &TTestPanel::Align, &TTestPanel::Align, alNone)
   .Set("Anchors", AnchorInfo, &TTestPanel::Anchors, &TTestPanel::Anchors, TTestAnchors{akLeft, akTop})
   .Bool("Visible", &TTestPanel::Visible, &TTestPanel::Visible, true)
   .Float("Ratio", &TTestPanel::Ratio, &TTestPanel::Ratio)
   .Object("Font", &TTestPanel::GetFont)
   .Object("Items", &TTestPanel::GetItems)
   .Object("Columns", &TTestPanel::GetColumns)
   .Component("Popup", &TTestPanel::GetPopup, &TTestPanel::SetPopup)
   .Event("OnClick", &TTestPanel::OnClick)
   .Event("OnKey", &TTestPanel::OnKey);
}

class TTestComp : public TComponent {
  LORM_PUBLISHED(TTestComp, TComponent)
public:
  using TComponent::TComponent;
  std::string Hint;
  int LoadedCount = 0;
  void Loaded() override { TComponent::Loaded(); ++LoadedCount; }
};
void TTestComp::Publish(TClassBuilder<TTestComp>& P) { P.Str("Hint", &TTestComp::Hint, &TTestComp::Hint); }

class TTestForm : public TTestPanel {
  LORM_PUBLISHED(TTestForm, TTestPanel)
public:
  using TTestPanel::TTestPanel;
  TTestComp* Menu1 = nullptr;
  TTestPanel* Panel1 = nullptr;
  TTestPanel* Button = nullptr;
  std::vector<std::string> Calls;
  void FormClick(TObject* Sender) { Calls.push_back(std::string("click ") + static_cast<TComponent*>(Sender)->Name()); }
  void KeyHandler(TObject*, char32_t& Key) { Key = U'X'; }
  void Other(int) {}
};
void TTestForm::Publish(TClassBuilder<TTestForm>& P) {
  P.Field("Menu1", &TTestForm::Menu1)
   .Field("Panel1", &TTestForm::Panel1)
   .Field("Button", &TTestForm::Button)
   .Handler("FormClick", &TTestForm::FormClick)
   .Handler("KeyHandler", &TTestForm::KeyHandler)
   .Handler("Other", &TTestForm::Other);
}

std::string Crlf(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

const std::string kForm = Crlf(R"(object Form1: TTestForm
  Caption = 'Main'#13#10'window'
  OnClick = FormClick
  object Menu1: TTestComp
    Hint = 'It''s a menu'
  end
  object Panel1: TTestPanel
    Left = 10
    Caption = #1055#1088#1080#1074#1077#1090' ''quoted'''
    Color = clRed
    Align = alTop
    Anchors = [akLeft, akRight]
    Visible = False
    Ratio = 0.125000000000000000
    Font.Name = 'Tahoma'
    Font.Size = -11
    Font.Style = [fsBold, fsUnderline]
    Items.Strings = (
      'one'
      #1076#1074#1072)
    Columns = <
      item
        Title = 'A'
      end
      item
        Title = 'B'
        Width = 100
      end>
    Popup = Button
    OnClick = FormClick
    OnKey = KeyHandler
    Data = {
      0102FF}
    Extra = (
      1
      -300
      70000)
    object Button: TTestPanel
      Caption = 
        'A very long caption that is cut into pieces of sixty-four charac' +
        'ters each'
      Popup = Form1
    end
  end
end
)");

TEST(FilerTest, ReadsNestedFormWithEveryKindOfValue) {
  TTestForm form(nullptr);
  ASSERT_NO_THROW(ReadComponentFromText(kForm, &form));
  EXPECT_EQ(form.Name(), "Form1");
  EXPECT_EQ(form.Caption, "Main\r\nwindow");
  ASSERT_NE(form.Panel1, nullptr);
  ASSERT_NE(form.Button, nullptr);
  ASSERT_NE(form.Menu1, nullptr);
  TTestPanel& p = *form.Panel1;
  EXPECT_EQ(p.Owner(), &form);
  EXPECT_EQ(p.ParentPanel(), &form);
  EXPECT_EQ(form.Button->ParentPanel(), &p);
  EXPECT_EQ(form.Button->Owner(), &form);
  EXPECT_EQ(form.Menu1->Hint, "It's a menu");
  EXPECT_EQ(p.Left, 10);
  EXPECT_EQ(p.Caption, "Привет 'quoted'");
  EXPECT_EQ(p.Color, 0xFF);
  EXPECT_EQ(p.Align, alTop);
  EXPECT_EQ(p.Anchors, (TTestAnchors{akLeft, akRight}));
  EXPECT_FALSE(p.Visible);
  EXPECT_EQ(p.Ratio, 0.125);
  EXPECT_EQ(p.Font.Name, "Tahoma");
  EXPECT_EQ(p.Font.Size, -11);
  EXPECT_EQ(p.Font.Style, (TTestFontStyles{fsBold, fsUnderline}));
  EXPECT_EQ(p.Items.ToVector(), (std::vector<std::string>{"one", "два"}));
  ASSERT_EQ(p.Columns.Count(), 2);
  EXPECT_EQ(static_cast<TTestColumn*>(p.Columns.Items(0))->Width, 64);
  EXPECT_EQ(static_cast<TTestColumn*>(p.Columns.Items(1))->Title, "B");
  EXPECT_EQ(static_cast<TTestColumn*>(p.Columns.Items(1))->Width, 100);
  EXPECT_EQ(p.GetPopup(), form.Button);  // a forward reference
  EXPECT_EQ(form.Button->GetPopup(), &form);
  EXPECT_EQ(p.Data, std::string("\x01\x02\xFF", 3));
  EXPECT_EQ(p.Extra, (std::vector<int>{1, -300, 70000}));
  EXPECT_EQ(form.Button->Caption,
            "A very long caption that is cut into pieces of sixty-four characters each");

  // Events are bound to the root's handlers.
  ASSERT_TRUE(p.OnClick);
  p.OnClick(&p);
  form.OnClick(&form);
  EXPECT_EQ(form.Calls, (std::vector<std::string>{"click Panel1", "click Form1"}));
  char32_t key = 'a';
  p.OnKey(&p, key);
  EXPECT_EQ(key, U'X');
}

TEST(FilerTest, LoadedRunsOncePerComponentAfterTheWholeStream) {
  TTestForm form(nullptr);
  ReadComponentFromText(kForm, &form);
  EXPECT_EQ(form.LoadedCount, 1);
  EXPECT_EQ(form.Panel1->LoadedCount, 1);
  EXPECT_EQ(form.Button->LoadedCount, 1);
  EXPECT_EQ(form.Menu1->LoadedCount, 1);
  EXPECT_TRUE(form.Panel1->PopupResolvedAtLoaded);
  for (TComponent* c : form.ComponentList()) {
    EXPECT_FALSE(c->ComponentState().Contains(csLoading));
    EXPECT_FALSE(c->ComponentState().Contains(csReading));
  }
}

TEST(FilerTest, WritingBackGivesTheSameText) {
  TTestForm form(nullptr);
  ReadComponentFromText(kForm, &form);
  EXPECT_EQ(WriteComponentToText(&form), kForm);
}

TEST(FilerTest, TextBinaryTextRoundTrip) {
  std::string binary = ObjectTextToBinary(kForm);
  ASSERT_EQ(binary.substr(0, 4), "TPF0");
  EXPECT_EQ(ObjectBinaryToText(binary), kForm);

  // Components written to and read from the binary form.
  TTestForm form(nullptr);
  ReadComponentFromText(kForm, &form);
  TMemoryStream stream;
  WriteComponent(stream, &form);
  stream.SetPosition(0);
  TTestForm copy(nullptr);
  ReadComponent(stream, &copy);
  EXPECT_EQ(WriteComponentToText(&copy), kForm);
  EXPECT_EQ(copy.Panel1->GetPopup(), copy.Button);
}

TEST(FilerTest, LiteralAndCodedNonAsciiTextReadTheSame) {
  const std::string coded = "object F: TTestComp\n  Hint = #1055#1088#1080'!'#55357#56832\nend\n";
  const std::string literal = "object F: TTestComp\n  Hint = 'При!\xF0\x9F\x98\x80'\nend\n";
  TTestComp a(nullptr), b(nullptr);
  ReadComponentFromText(coded, &a);
  ReadComponentFromText(literal, &b);
  EXPECT_EQ(a.Hint, "При!\xF0\x9F\x98\x80");
  EXPECT_EQ(b.Hint, a.Hint);
  // Written back with codes (UTF-16 units, the surrogate pair kept).
  EXPECT_NE(WriteComponentToText(&b).find("#1055#1088#1080'!'#55357#56832"), std::string::npos);
}

TEST(FilerTest, FreedReferencedComponentClearsTheReference) {
  TTestForm form(nullptr);
  ReadComponentFromText(kForm, &form);
  delete form.Button;
  EXPECT_EQ(form.Panel1->GetPopup(), nullptr);
  EXPECT_EQ(form.Button, nullptr);  // the form's field follows the component
}

struct TErrorCase {
  const char* text;
  const char* message;
};

TEST(FilerTest, ErrorsNamePropertyComponentAndLine) {
  const TErrorCase cases[] = {
      {"object Form1: TTestForm\n  Left = 1\n  Foo = 2\nend\n",
       "Error reading Form1.Foo: Property Foo does not exist (line 3)"},
      {"object Form1: TTestForm\n  object P: TTestPanel\n    Align = alSideways\n  end\nend\n",
       "Error reading P.Align: Invalid property value (line 3)"},
      {"object Form1: TTestForm\n  object P: TTestPanel\n    Font.Bogus = 1\n  end\nend\n",
       "Error reading P.Font.Bogus: Property Bogus does not exist (line 3)"},
      {"object Form1: TTestForm\n\n  object X: TNoSuchClass\n  end\nend\n",
       "Error reading X: Class TNoSuchClass not found (line 3)"},
      {"object Form1: TTestForm\n  OnClick = Missing\nend\n",
       "Error reading Form1.OnClick: Method Missing not found in TTestForm (line 2)"},
      {"object Form1: TTestForm\n  OnClick = Other\nend\n",
       "Error reading Form1.OnClick: Method Other does not match the type of event OnClick (line 2)"},
      {"object Form1: TTestForm\n  Popup = Nowhere\nend\n",
       "Error reading Form1.Popup: Component Nowhere not found (line 2)"},
      {"object Form1: TTestForm\n  object P: TTestPanel\n    Columns = <\n      item\n        Wide = 1\n      end>\n  end\nend\n",
       "Error reading P.Columns[0].Wide: Property Wide does not exist (line 5)"},
      // A later item is named by its own index, not by the path of the item before it.
      {"object Form1: TTestForm\n  object P: TTestPanel\n    Columns = <\n      item\n        Title = 'A'\n      end\n"
       "      item\n        Wide = 1\n      end>\n  end\nend\n",
       "Error reading P.Columns[1].Wide: Property Wide does not exist (line 8)"},
      {"object Form1: TTestForm\n  object A: TTestComp\n  end\n  object a: TTestComp\n  end\nend\n",
       "Error reading a: A component named a already exists (line 4)"},
      {"object Form1: TTestForm\n  Left = 'x\nend\n", "Unterminated string on line 2"},
      {"object Form1: TTestForm\n  Left = 1\n", "'end' expected on line 3"},
  };
  for (const auto& c : cases) {
    TTestForm form(nullptr);
    try {
      ReadComponentFromText(c.text, &form);
      ADD_FAILURE() << "no error for: " << c.text;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
    for (TComponent* comp : form.ComponentList()) EXPECT_FALSE(comp->ComponentState().Contains(csLoading));
  }
}

TEST(FilerTest, ReadingWithoutInstanceCreatesRegisteredRoot) {
  RegisterClass(TTestForm::StaticClass());
  TComponent* root = ReadComponentFromText(kForm);
  ASSERT_NE(root, nullptr);
  EXPECT_STREQ(root->ClassName(), "TTestForm");
  EXPECT_EQ(root->ComponentCount(), 3);
  delete root;
}

// Records written one after another into a stream, as the grid's cell stream does.
class TCellRecord : public TComponent {
  LORM_PUBLISHED(TCellRecord, TComponent)
public:
  using TComponent::TComponent;
  uint16_t Col = 0, Row = 0;
  std::string Cell;
  bool HasProp = false;
  float Scale = 0;
};
void TCellRecord::Publish(TClassBuilder<TCellRecord>& P) {
  P.Int("Col", &TCellRecord::Col, &TCellRecord::Col)
   .Int("Row", &TCellRecord::Row, &TCellRecord::Row)
   .Str("Cell", &TCellRecord::Cell, &TCellRecord::Cell)
   .Bool("HasProp", &TCellRecord::HasProp, &TCellRecord::HasProp)
   .Float("Scale", &TCellRecord::Scale, &TCellRecord::Scale);
}

TEST(FilerTest, BinaryRecordsInSequence) {
  TComponent grid(nullptr);
  TMemoryStream stream;
  auto* rec = new TCellRecord(&grid);
  for (int i = 0; i < 3; ++i) {
    rec->Col = static_cast<uint16_t>(60000 + i);
    rec->Row = static_cast<uint16_t>(i);
    rec->Cell = i == 1 ? "" : "Ячейка " + std::to_string(i);
    rec->HasProp = i == 2;
    rec->Scale = 0.1f * static_cast<float>(i);
    WriteComponent(stream, rec);
  }
  delete rec;
  stream.SetPosition(0);
  for (int i = 0; i < 3; ++i) {
    TCellRecord in(&grid);
    in.Cell = "stale";
    ReadComponent(stream, &in);
    EXPECT_EQ(in.Col, 60000 + i);
    EXPECT_EQ(in.Row, i);
    EXPECT_EQ(in.Cell, i == 1 ? "stale" : "Ячейка " + std::to_string(i));  // empty strings are not stored
    EXPECT_EQ(in.HasProp, i == 2);
    EXPECT_EQ(in.Scale, 0.1f * static_cast<float>(i));
  }
  EXPECT_EQ(stream.Position(), stream.Size());
  // A truncated or foreign stream is an error, not a crash.
  std::string bytes = stream.DataString();
  for (size_t cut : {size_t(2), size_t(10), bytes.size() / 3 - 1}) {
    TStringStream broken(bytes.substr(0, cut));
    TCellRecord in(&grid);
    EXPECT_THROW(ReadComponent(broken, &in), EReadError);
  }
}

TEST(FilerTest, FloatsKeepTheirValueThroughText) {
  TTestPanel p(nullptr);
  for (double v : {0.0001, 1e-05, 1.24, 26.2e-3, 17.1e-6, 1e300, -3.5, 1e-30}) {
    p.Ratio = v;
    std::string text = WriteComponentToText(&p);
    TTestPanel q(nullptr);
    ReadComponentFromText(text, &q);
    EXPECT_EQ(q.Ratio, v) << text;
    EXPECT_EQ(ObjectBinaryToText(ObjectTextToBinary(text)), text);
  }
  p.Ratio = 0.0001;
  EXPECT_NE(WriteComponentToText(&p).find("Ratio = 0.000100000000000000\r\n"), std::string::npos);
}

TEST(FilerTest, StoredFormsAreFoundByClassName) {
  RegisterStoredForm("TTestForm", kForm);
  auto text = FindStoredForm("ttestform");
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(*text, kForm);
  EXPECT_FALSE(FindStoredForm("TNoForm").has_value());
  TTestForm form(nullptr);
  EXPECT_TRUE(LoadStoredForm(&form));
  EXPECT_NE(form.Panel1, nullptr);
  TTestPanel other(nullptr);
  EXPECT_FALSE(LoadStoredForm(&other));
}

// ---- hostile and odd stored forms ----------------------------------------------------

std::string Repeat(const std::string& piece, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += piece;
  return out;
}

// The message of the EReadError the text raises, or "" when it parses.
std::string TextError(const std::string& text) {
  try {
    ParseTextForm(text);
  } catch (const EReadError& e) {
    return e.Message();
  }
  return "";
}

std::string BinaryError(const std::string& binary) {
  try {
    ObjectBinaryToText(binary);
  } catch (const EReadError& e) {
    return e.Message();
  }
  return "";
}

// Nesting far beyond any real form is refused with a clear error instead of running out
// of stack; nesting a real form uses still reads.
TEST(FilerTest, DeepNestingIsRefusedByBothReaders) {
  const int deep = 20000;
  struct Case {
    const char* what;
    std::string text;
    std::string message;
  };
  const Case cases[] = {
      {"lists", "object F: T\n  L =\n" + Repeat("(", deep) + Repeat(")", deep) + "\nend\n",
       "Too deeply nested on line 3"},
      {"objects", Repeat("object A: T\n", deep) + Repeat("end\n", deep), "Too deeply nested on line 129"},
      {"collections", "object F: T\n  C = " + Repeat("<item X = ", deep) + "1" + Repeat(" end>", deep) + "\nend\n",
       "Too deeply nested on line 2"},
  };
  for (const Case& c : cases) EXPECT_EQ(TextError(c.text), c.message) << c.what;

  // Binary: lists in lists, and objects in objects.
  std::string lists = std::string("TPF0") + char(1) + "T" + char(1) + "F" + char(1) + "L";
  lists += std::string(deep, char(vaList)) + std::string(deep, char(vaNull)) + std::string(2, char(vaNull));
  EXPECT_EQ(BinaryError(lists), "Too deeply nested");
  std::string objects = "TPF0";
  for (int i = 0; i < deep; ++i) objects += std::string() + char(1) + "T" + char(1) + "A" + char(vaNull);
  objects += std::string(deep, char(vaNull));
  EXPECT_EQ(BinaryError(objects), "Too deeply nested");

  // Moderate nesting reads in both forms.
  const std::string fine = Repeat("object A: T\n", 40) + "  L = " + Repeat("(", 40) + Repeat(")", 40) +
                           "\n" + Repeat("end\n", 40);
  EXPECT_EQ(TextError(fine), "");
  EXPECT_EQ(BinaryError(ObjectTextToBinary(fine)), "");
}

TEST(FilerTest, OutOfRangeCodesAndNumbersAreReportedNotOverflowed) {
  const TErrorCase cases[] = {
      {"object F: T\n  S = #$FFFFFFFFFFFFFFFFFFFF\nend\n", "Invalid character code on line 2"},
      {"object F: T\n  S = #$110000\nend\n", "Invalid character code on line 2"},
      {"object F: T\n  S = #99999999999999999999999\nend\n", "Invalid character code on line 2"},
      {"object F: T\n  N = -$8000000000000000\nend\n", "Number out of range: -$8000000000000000 on line 2"},
      {"object F: T\n  N = -9223372036854775809\nend\n", "Number out of range: -9223372036854775809 on line 2"},
  };
  for (const auto& c : cases) EXPECT_EQ(TextError(c.text), c.message) << c.text;
  // The edges themselves read.
  const TFormObject o = ParseTextForm(
      "object F: T\n  A = #$10FFFF\n  B = -$7FFFFFFFFFFFFFFF\n  C = $8000000000000000\n  D = -9223372036854775808\nend\n");
  EXPECT_EQ(o.Props[0].Value.Str, "\xF4\x8F\xBF\xBF");
  EXPECT_EQ(o.Props[1].Value.Int, -INT64_MAX);
  EXPECT_EQ(o.Props[2].Value.Int, INT64_MIN);
  EXPECT_EQ(o.Props[3].Value.Int, INT64_MIN);
}

bool SameValue(const TFormValue& a, const TFormValue& b) {
  if (a.Kind != b.Kind) return false;
  switch (a.Kind) {
    case TFormValue::vkInt: return a.Int == b.Int;
    case TFormValue::vkFloat:
      return a.FloatType == b.FloatType && a.IsDate == b.IsDate &&
             (a.Float == b.Float || (std::isnan(a.Float) && std::isnan(b.Float)));
    case TFormValue::vkBool: return a.Bool == b.Bool;
    case TFormValue::vkNil: return true;
    case TFormValue::vkSet: return a.SetItems == b.SetItems;
    case TFormValue::vkList:
      if (a.List.size() != b.List.size()) return false;
      for (size_t i = 0; i < a.List.size(); ++i)
        if (!SameValue(a.List[i], b.List[i])) return false;
      return true;
    case TFormValue::vkCollection:
      if (a.Items.size() != b.Items.size()) return false;
      for (size_t i = 0; i < a.Items.size(); ++i) {
        if (a.Items[i].Order != b.Items[i].Order || a.Items[i].Props.size() != b.Items[i].Props.size()) return false;
        for (size_t k = 0; k < a.Items[i].Props.size(); ++k)
          if (a.Items[i].Props[k].Name != b.Items[i].Props[k].Name ||
              !SameValue(a.Items[i].Props[k].Value, b.Items[i].Props[k].Value))
            return false;
      }
      return true;
    default: return a.Str == b.Str;
  }
}

TFormValue Float(long double v, TFloatType type, bool date = false) {
  TFormValue r;
  r.Kind = TFormValue::vkFloat;
  r.Float = v;
  r.FloatType = type;
  r.IsDate = date;
  return r;
}

// Every kind of value, the non-finite floats of every float kind among them, reads back
// as written through the text form and through the binary form.
TEST(FilerTest, EveryValueKindRoundTripsThroughTextAndBinary) {
  std::vector<TFormValue> values = {
      TFormValue::MakeInt(0), TFormValue::MakeInt(-129), TFormValue::MakeInt(40000),
      TFormValue::MakeInt(INT64_MIN), TFormValue::MakeInt(INT64_MAX), TFormValue::MakeString(""),
      TFormValue::MakeString("Газ 'ЛОРМ' \xF0\x9F\x98\x80"), TFormValue::MakeString(std::string(300, 'x')),
      TFormValue::MakeIdent("alClient"), TFormValue::MakeBool(true), TFormValue::MakeBool(false), TFormValue{},
      Float(1.5L, ftExtended), Float(0.25L, ftSingle), Float(45000.5L, ftDouble, true), Float(12.3456L, ftCurr)};
  for (TFloatType type : {ftExtended, ftSingle, ftCurr})
    for (long double v : {(long double)NAN, HUGE_VALL, -HUGE_VALL}) values.push_back(Float(v, type));
  for (long double v : {(long double)NAN, HUGE_VALL, -HUGE_VALL}) values.push_back(Float(v, ftDouble, true));
  TFormValue set;
  set.Kind = TFormValue::vkSet;
  set.SetItems = {"fsBold", "fsItalic"};
  values.push_back(set);
  TFormValue list;
  list.Kind = TFormValue::vkList;
  list.List = {TFormValue::MakeInt(1), TFormValue::MakeString("a"), Float(NAN, ftSingle)};
  values.push_back(list);
  TFormValue binary;
  binary.Kind = TFormValue::vkBinary;
  binary.Str = std::string("\x00\xFF\x10", 3);
  values.push_back(binary);
  TFormValue collection;
  collection.Kind = TFormValue::vkCollection;
  collection.Items.resize(2);
  collection.Items[0].Props.push_back({"Width", TFormValue::MakeInt(5), 0});
  collection.Items[1].Order = 7;
  values.push_back(collection);

  for (const TFormValue& v : values) {
    TFormObject o;
    o.Name = "F";
    o.ClassName = "TF";
    o.Props.push_back({"P", v, 0});
    const std::string text = FormatTextForm(o);
    SCOPED_TRACE(text);
    TFormObject fromText;
    ASSERT_NO_THROW(fromText = ParseTextForm(text));
    ASSERT_EQ(fromText.Props.size(), 1u);
    EXPECT_TRUE(SameValue(fromText.Props[0].Value, v));

    const bool currencyOutOfRange = v.Kind == TFormValue::vkFloat && v.FloatType == ftCurr && !std::isfinite(v.Float);
    TStringStream stream;
    if (currencyOutOfRange) {  // a currency holds no NaN or infinity: refused, not garbled
      EXPECT_THROW(WriteBinaryForm(stream, o), EWriteError);
      continue;
    }
    WriteBinaryForm(stream, o);
    stream.SetPosition(0);
    const TFormObject fromBinary = ReadBinaryForm(stream);
    EXPECT_TRUE(SameValue(fromBinary.Props[0].Value, v));
  }
}

// Bytes that are not UTF-8 inside a quoted string read the same in both forms (as Latin-1).
TEST(FilerTest, InvalidUtf8InStringsReadsTheSameInBothForms) {
  const TFormObject text = ParseTextForm("object F: T\n  S = 'a\xFF" "b'#1071\nend\n");
  std::string binary = std::string("TPF0") + char(1) + "T" + char(1) + "F" + char(1) + "S" + char(vaString) +
                       char(3) + "a\xFF" "b" + char(vaNull) + char(vaNull);
  TStringStream in(binary);
  const TFormObject fromBinary = ReadBinaryForm(in);
  EXPECT_EQ(fromBinary.Props[0].Value.Str, "a\xC3\xBF" "b");
  EXPECT_EQ(text.Props[0].Value.Str, "a\xC3\xBF" "b\xD0\xAF");
  // Valid UTF-8 stays as it is.
  EXPECT_EQ(ParseTextForm("object F: T\n  S = 'Газ'\nend\n").Props[0].Value.Str, "Газ");
}

// Malformed binary forms found by fuzzing: refused, so what is read writes back the same.
TEST(FilerTest, AmbiguousBinaryObjectsAreRefused) {
  const std::string cases[] = {
      // A child (behind a flags prefix) whose class name is empty: written back, it would
      // read as the end of its parent's children.
      std::string("TPF0\x01T\x00\x00\xF0\x00\x00\x00\x00\x00", 14),
      // Flag bits nobody writes.
      std::string("TPF0\xF8\x01T\x00\x00\x00", 10),
  };
  for (const std::string& c : cases) EXPECT_EQ(BinaryError(c), "Invalid stream format");
  // Currency counts at the ends of the range and their neighbours are written back exactly.
  for (int64_t count : {INT64_MAX, INT64_MAX - 1, INT64_MIN, INT64_MIN + 1, int64_t(4611686018427387905)}) {
    std::string binary = std::string("TPF0\x01T\x00\x01P", 9) + char(vaCurrency);
    binary.append(reinterpret_cast<const char*>(&count), 8);
    binary += std::string(2, char(vaNull));
    TStringStream in(binary), out;
    WriteBinaryForm(out, ReadBinaryForm(in));
    EXPECT_EQ(out.DataString(), binary) << count;
  }
}

// Class names up to the binary form's 255 bytes survive text, binary and text again;
// longer ones are refused when writing.
TEST(FilerTest, LongClassNamesSurviveTheBinaryForm) {
  for (size_t length : {size_t(239), size_t(240), size_t(247), size_t(255)}) {
    const std::string cls = "T" + std::string(length - 1, 'x');
    const std::string text = "object F: " + cls + "\n  Left = 1\n  object G: " + cls + "\n  end\nend\n";
    const std::string binary = ObjectTextToBinary(text);
    TStringStream in(binary);
    TFormObject o;
    ASSERT_NO_THROW(o = ReadBinaryForm(in)) << length;
    EXPECT_EQ(o.ClassName, cls);
    EXPECT_EQ(o.Name, "F");
    ASSERT_EQ(o.Children.size(), 1u);
    EXPECT_EQ(o.Children[0].ClassName, cls);
  }
  EXPECT_THROW(ObjectTextToBinary("object F: T" + std::string(255, 'x') + "\nend\n"), EWriteError);
}

}  // namespace
