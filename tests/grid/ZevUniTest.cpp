// Wide string lists (text forms, names and values, comparison, copying, the stored
// "WideStrings" value) and the unicode edit, memo, edit-with-button and combo box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/ZevUni.h"
#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"

namespace {

// A list kept in a vector; it also counts the update-state changes.
class TVectorWideStrings : public TWideStrings {
public:
  std::u16string Get(int Index) const override { return FItems.at(static_cast<size_t>(Index)).first; }
  int GetCount() const override { return static_cast<int>(FItems.size()); }
  TObject* GetObject(int Index) const override { return FItems.at(static_cast<size_t>(Index)).second; }
  void PutObject(int Index, TObject* O) override { FItems.at(static_cast<size_t>(Index)).second = O; }
  void Clear() override { FItems.clear(); }
  void Delete(int Index) override { FItems.erase(FItems.begin() + Index); }
  void Insert(int Index, const std::u16string& S) override { FItems.insert(FItems.begin() + Index, {S, nullptr}); }
  void SetUpdateState(bool Updating) override { States.push_back(Updating); }
  std::vector<bool> States;

private:
  std::vector<std::pair<std::u16string, TObject*>> FItems;
};

std::vector<std::u16string> Items(const TWideStrings& L) {
  std::vector<std::u16string> r;
  for (int i = 0; i < L.Count(); ++i) r.push_back(L.Get(i));
  return r;
}

// An 8-bit test message for the failure output.
std::string U8(const std::u16string& S) { return Utf16ToUtf8(S); }

}  // namespace

TEST(WideStrings, CommaTextOut) {
  struct {
    std::vector<std::u16string> Items;
    std::u16string Text;
  } cases[] = {
      {{u""}, u"\"\""},
      {{}, u""},
      {{u"a b", u"c\"d"}, u"\"a b\",\"c\"\"d\""},
      {{u"x", u"", u"y"}, u"x,,y"},
      {{u"п,р", u"и"}, u"\"п,р\",и"},
  };
  for (const auto& c : cases) {
    TVectorWideStrings l;
    for (const auto& s : c.Items) l.Add(s);
    EXPECT_EQ(l.GetCommaText(), c.Text) << U8(c.Text);
  }
}

TEST(WideStrings, CommaTextIn) {
  struct {
    std::u16string Text;
    std::vector<std::u16string> Items;
  } cases[] = {
      {u"\"x,y\", z", {u"x,y", u"z"}},
      {u"a, b", {u"a", u"b"}},
      {u"a,,b", {u"a", u"", u"b"}},
      {u"a,", {u"a"}},
      {u"  \" k , l \"", {u" k , l "}},
      {u"\"a\"\"b\"", {u"a\"b"}},
      // A quoted item without its closing quote keeps every character.
      {u"\"abc", {u"abc"}},
      {u"\"a", {u"a"}},
      {u"x,\"y", {u"x", u"y"}},
  };
  for (const auto& c : cases) {
    TVectorWideStrings l;
    l.SetCommaText(c.Text);
    EXPECT_EQ(Items(l), c.Items) << U8(c.Text);
  }
}

TEST(WideStrings, TextSplitsAtEveryLineBreak) {
  struct {
    std::u16string Text;
    std::vector<std::u16string> Items;
  } cases[] = {
      {u"a\r\nb\r\r\n", {u"a", u"b", u""}},
      {u"x\r\n", {u"x"}},
      {u"p\u2028q\u2029r\vs\ft\nu", {u"p", u"q", u"r", u"s", u"t", u"u"}},
      {std::u16string(u"one\0two", 7), {u"one"}},
      {u"", {}},
  };
  for (const auto& c : cases) {
    TVectorWideStrings l;
    l.SetTextStr(c.Text);
    EXPECT_EQ(Items(l), c.Items) << U8(c.Text);
  }
  TVectorWideStrings l;
  l.SetTextStr(u"a\nб");
  EXPECT_EQ(l.GetTextStr(), u"a\r\nб\r\n");
  char16_t* buf = l.GetText();
  EXPECT_EQ(std::u16string(buf), u"a\r\nб\r\n");
  // The size field: two bytes per character with the zero, plus its own four.
  EXPECT_EQ(WideTextAllocSize(buf), (6u + 1u) * 2u + 4u);
  TVectorWideStrings back;
  back.SetText(buf);
  EXPECT_TRUE(back.Equals(&l));
  FreeWideText(buf);
}

TEST(WideStrings, SearchIgnoresCaseButEqualsDoesNot) {
  TVectorWideStrings l, other;
  l.Add(u"ABC");
  l.Add(u"ПРИВЕТ");
  l.Add(u"key=v=w");
  EXPECT_EQ(l.IndexOf(u"abc"), 0);
  EXPECT_EQ(l.IndexOf(u"привет"), 1);
  EXPECT_EQ(l.IndexOf(u"none"), -1);
  EXPECT_EQ(l.IndexOfName(u"KEY"), 2);
  EXPECT_EQ(l.GetValue(u"key"), u"v=w");
  EXPECT_EQ(l.GetName(2), u"key");
  EXPECT_EQ(l.GetName(0), u"");
  other.Add(u"abc");
  other.Add(u"привет");
  other.Add(u"key=v=w");
  EXPECT_FALSE(l.Equals(&other));
  other.Put(0, u"ABC");
  other.Put(1, u"ПРИВЕТ");
  EXPECT_TRUE(l.Equals(&other));
  l.SetValue(u"key", u"");
  EXPECT_EQ(l.IndexOfName(u"key"), -1);
  l.SetValue(u"new", u"1");
  EXPECT_EQ(l.Get(l.Count() - 1), u"new=1");
  TVectorWideStrings empty;
  EXPECT_EQ(empty.IndexOf(u""), -1);
}

TEST(WideStrings, UpdatesNestAndMovesKeepObjects) {
  TVectorWideStrings l;
  TObject a, b;
  l.AddObject(u"a", &a);
  l.AddObject(u"b", &b);
  l.BeginUpdate();
  l.Exchange(0, 1);
  l.Move(0, 1);
  l.EndUpdate();
  // Only the outermost bracket reaches SetUpdateState.
  EXPECT_EQ(l.States, (std::vector<bool>{true, false}));
  EXPECT_EQ(Items(l), (std::vector<std::u16string>{u"a", u"b"}));
  EXPECT_EQ(l.GetObject(0), &a);
  EXPECT_EQ(l.IndexOfObject(&b), 1);
}

TEST(WideStrings, AssignsWithTheFrameworkLists) {
  TStringList ansi;
  ansi.Add("один");
  ansi.Add("two");
  TVectorWideStrings w;
  w.Assign(&ansi);
  EXPECT_EQ(Items(w), (std::vector<std::u16string>{u"один", u"two"}));
  TStringList out;
  w.AssignTo(&out);
  EXPECT_EQ(out.Text(), "один\r\ntwo\r\n");
  // The 8-bit view reads and writes the wide list.
  w.AnsiStrings()->Add("три");
  EXPECT_EQ(w.Get(2), u"три");
  EXPECT_EQ(w.AnsiStrings()->Get(0), "один");
  TVectorWideStrings copy;
  copy.Assign(&w);
  EXPECT_TRUE(copy.Equals(&w));
  TFont font;
  EXPECT_THROW(w.Assign(&font), EConvertError);
}

TEST(WideStrings, AbstractOperationsRaise) {
  class TBare : public TWideStrings {};
  TBare l;
  EXPECT_THROW(l.GetCount(), EAbstractError);
  EXPECT_THROW(l.Add(u"x"), EAbstractError);
  EXPECT_THROW(l.Clear(), EAbstractError);
}

namespace {
// The bytes of the binary stored form of a combo box with the given items.
std::string StoredItems(const std::vector<std::u16string>& Items) {
  THeadlessScope scope;
  auto* combo = new TDEAUniComboBox(nullptr);
  combo->SetName("Combo");
  for (const auto& s : Items) combo->Items()->Add(s);
  TMemoryStream ms;
  WriteComponent(ms, combo);
  delete combo;
  std::string bytes(static_cast<size_t>(ms.Size()), '\0');
  ms.SetPosition(0);
  ms.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  return bytes;
}
// The value after the property name "Items.WideStrings" (empty when not written).
std::string WideStringsValue(const std::string& Form) {
  const std::string name = "\x11Items.WideStrings";
  size_t p = Form.find(name);
  if (p == std::string::npos) return {};
  p += name.size();
  size_t end = p + 1;
  // Up to the end-of-list byte of the value (items here hold no zero bytes except
  // UTF-16 ones, which the callers account for by checking a prefix).
  return Form.substr(p, end - p + 64);
}
}  // namespace

TEST(WideStrings, StoredFormPicksTheShortestKind) {
  std::string v = WideStringsValue(StoredItems({u"abc"}));
  EXPECT_EQ(v.substr(0, 7), std::string("\x01\x06\x03" "abc\x00", 7));
  v = WideStringsValue(StoredItems({u""}));
  EXPECT_EQ(v.substr(0, 7), std::string("\x01\x12\x00\x00\x00\x00\x00", 7));
  v = WideStringsValue(StoredItems({u"пр"}));
  EXPECT_EQ(v.substr(0, 11), std::string("\x01\x12\x02\x00\x00\x00\x3F\x04\x40\x04\x00", 11));
  v = WideStringsValue(StoredItems({u"abcп"}));
  EXPECT_EQ(v.substr(0, 12), std::string("\x01\x14\x05\x00\x00\x00" "abc\xD0\xBF\x00", 12));
  v = WideStringsValue(StoredItems({std::u16string(300, u'x')}));
  EXPECT_EQ(v.substr(0, 6), std::string("\x01\x0C\x2C\x01\x00\x00", 6));
  // An empty list is not written.
  EXPECT_EQ(StoredItems({}).find("WideStrings"), std::string::npos);
}

TEST(WideStrings, StoredFormReadsBack) {
  THeadlessScope scope;
  const std::vector<std::u16string> items{u"abc", u"", u"пр", u"abcп", std::u16string(300, u'x')};
  auto* combo = new TDEAUniComboBox(nullptr);
  combo->SetName("Combo");
  for (const auto& s : items) combo->Items()->Add(s);
  const std::string text = WriteComponentToText(combo);
  delete combo;
  auto* back = dynamic_cast<TDEAUniComboBox*>(ReadComponentFromText(text));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(Items(*back->Items()), items);
  delete back;
  // A value of another kind is refused.
  const std::string bad = "object Combo: TDEAUniComboBox\n  Items.WideStrings = (\n    1)\nend\n";
  EXPECT_THROW(delete ReadComponentFromText(bad), EReadError);
}

// ---------------------------------------------------------------------------------------
namespace {
class UniControlTest : public ::testing::Test {
protected:
  UniControlTest() {
    Application->Restart();
    Application->CreateForm(form);
    form->SetBounds(40, 40, 400, 300);
    form->Show();
  }
  ~UniControlTest() override { Application->Restart(); }
  THeadlessScope scope;
  TForm* form = nullptr;
  TRobot robot;
};
}  // namespace

TEST_F(UniControlTest, EditKeepsCharactersBeyond8BitsWhileKeyHandlersSee255) {
  auto* e = new TZevUniEdit(form);
  e->SetParent(form);
  e->SetFocus();
  std::vector<char32_t> seen;
  e->OnKeyPress = [&](TObject*, char32_t& k) {
    seen.push_back(k);
    if (k == U'x') k = 0;
  };
  robot.Type("aПx中");
  EXPECT_EQ(e->GetWideText(), u"aП中");
  EXPECT_EQ(seen, (std::vector<char32_t>{U'a', 255, U'x', 255}));
  // A handler may swallow a wide character.
  e->OnKeyPress = [&](TObject*, char32_t& k) {
    if (k == 255) k = 0;
  };
  robot.Type("Ж");
  EXPECT_EQ(e->GetWideText(), u"aП中");
  e->SetSelStart(1);
  e->SetSelLength(1);
  EXPECT_EQ(e->GetSelText(), u"П");
  e->SetSelText(u"Ω");
  EXPECT_EQ(e->GetWideText(), u"aΩ中");
  int changes = 0;
  e->OnChange = [&](TObject*) { ++changes; };
  e->SetWideText(u"aΩ中");
  EXPECT_EQ(changes, 0);
  e->SetWideText(u"aΩ下");
  EXPECT_EQ(changes, 1);
}

TEST(UniCharMessages, OnlyCharactersBeyond8BitsAreMoved) {
  struct {
    UINT Msg;
    WPARAM In, Out8, Restored;
  } cases[] = {
      {WM_CHAR, 0x41, 0x41, 0x41},
      {WM_CHAR, 0x41F, 0x041F00FF, 0x41F},
      // Any other message, or a character message already carrying an upper word, passes.
      {WM_KEYDOWN, 0x41F, 0x41F, 0x41F},
      {WM_CHAR, 0x00010041, 0x00010041, 0x41},
  };
  for (const auto& c : cases) {
    TMessage m{c.Msg, c.In, 0, 0};
    MakeCharMessage8Bit(m);
    EXPECT_EQ(m.WParam, c.Out8);
    m.WParam = c.Out8;
    RestoreCharMessage(m);
    EXPECT_EQ(m.WParam, c.Restored);
  }
}

TEST_F(UniControlTest, MemoAndButtonEditKeepTheirTextWhenRecreated) {
  auto* memo = new TZevUniMemo(form);
  memo->SetParent(form);
  EXPECT_EQ(memo->Width(), 200);
  EXPECT_EQ(memo->Height(), 100);
  memo->SetWideText(u"строка");
  memo->HandleNeeded();
  memo->SetWordWrap(true);
  EXPECT_EQ(memo->GetWideText(), u"строка");
  EXPECT_NE(GetWindowLong(memo->Handle(), GWL_STYLE) & ES_MULTILINE, 0);

  auto* btn = new TZevUniEditBtn(form);
  btn->SetParent(form);
  btn->SetWideText(u"кнопка");
  EXPECT_EQ(btn->ButtonWidth(), 0);
  EXPECT_EQ(btn->Button()->Width(), 18);
  btn->SetButtonWidth(22);
  EXPECT_EQ(btn->Button()->Width(), 22);
  btn->SetRightAlign(true);
  EXPECT_EQ(btn->GetWideText(), u"кнопка");
  EXPECT_NE(GetWindowLong(btn->Handle(), GWL_STYLE) & ES_RIGHT, 0);
  int clicks = 0;
  btn->OnClickBtn = [&](TObject* s) {
    EXPECT_EQ(s, btn);
    ++clicks;
  };
  btn->SetFocus();
  robot.PressKey(VK_F4);
  EXPECT_EQ(clicks, 1);
  btn->SetEditorEnabled(false);
  btn->SetSelStart(0);
  robot.Type("z");
  EXPECT_EQ(btn->GetWideText(), u"кнопка");
  btn->SetEditorEnabled(true);
  robot.Type("z");
  EXPECT_EQ(btn->GetWideText(), u"zкнопка");
}

TEST_F(UniControlTest, ComboButtonWidthFlatAndItems) {
  auto* combo = new TDEAUniComboBox(form);
  combo->SetParent(form);
  EXPECT_TRUE(combo->Flat());
  EXPECT_FALSE(combo->Ctl3D());
  struct {
    int Set, Expect;
  } widths[] = {{13, 0}, {14, 14}, {33, 14}, {32, 32}};
  for (const auto& w : widths) {
    const int before = combo->ButtonWidth();
    combo->SetButtonWidth(w.Set);
    EXPECT_EQ(combo->ButtonWidth(), w.Expect ? w.Expect : before) << w.Set;
  }
  combo->SetFlat(false);
  EXPECT_TRUE(combo->Ctl3D());
  combo->SetDropWidth(150);
  EXPECT_EQ(combo->DroppedWidth(), 150);
  combo->Items()->Add(u"Метан");
  combo->Items()->Add(u"Этан");
  EXPECT_EQ(combo->Items()->IndexOf(u"метан"), 0);
  combo->SetWideText(u"текст");
  combo->Items()->Clear();
  EXPECT_EQ(combo->Items()->Count(), 0);
  EXPECT_EQ(combo->GetWideText(), u"текст");
}
