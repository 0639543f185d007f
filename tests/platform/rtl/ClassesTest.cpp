#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Streams.h"

namespace {

TEST(ClassesTest, AssignWithoutSupportRaisesTheFrameworkError) {
  TStringList list;
  TPersistent other;
  try {
    list.Assign(&other);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TPersistent to a TStringList");
  }
}

TEST(ClassesTest, ListOperationsAndIndexErrors) {
  TList list;
  int a = 1, b = 2, c = 3;
  list.Add(&a);
  list.Add(nullptr);
  list.Add(&b);
  list.Insert(0, &c);
  EXPECT_EQ(list.IndexOf(&b), 3);
  list.Pack();
  EXPECT_EQ(list.Count(), 3);
  list.Move(0, 2);
  EXPECT_EQ(list[2], &c);
  list.Exchange(0, 1);
  EXPECT_EQ(list[0], &b);
  list.Sort([](void* x, void* y) { return *static_cast<int*>(x) - *static_cast<int*>(y); });
  EXPECT_EQ(list[0], &a);
  EXPECT_EQ(list.Remove(&c), 2);
  try {
    list.Get(5);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (5)");
  }
  EXPECT_THROW(list.Insert(-1, &a), EListError);
}

TEST(ClassesTest, TextSplitsEveryLineEndAndJoinsWithLineBreak) {
  TStringList list;
  list.SetText("a\r\nb\nc\rd\r\n\r\ne");
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
  EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n");
  list.SetLineBreak("\n");
  EXPECT_EQ(list.Text(), "a\nb\nc\nd\n\ne\n");
}

struct TDelimitedCase {
  const char* text;
  std::vector<std::string> items;
  const char* written;
};

TEST(ClassesTest, CommaTextReadsAndWritesQuotedItems) {
  const TDelimitedCase cases[] = {
      {"a,b,c", {"a", "b", "c"}, "a,b,c"},
      {"\"a b\",c", {"a b", "c"}, "\"a b\",c"},
      {"a b", {"a", "b"}, "a,b"},
      {"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}, "\"say \"\"hi\"\"\",x"},
      {"a,,b", {"a", "", "b"}, "a,,b"},
      {"a,", {"a", ""}, "a,"},
      {"", {}, ""},
      {"Газ,\"Два слова\"", {"Газ", "Два слова"}, "Газ,\"Два слова\""},
  };
  for (const auto& c : cases) {
    TStringList list;
    list.SetCommaText(c.text);
    EXPECT_EQ(list.ToVector(), c.items) << c.text;
    EXPECT_EQ(list.CommaText(), c.written) << c.text;
  }
  TStringList strict;
  strict.SetDelimiter(';');
  strict.SetStrictDelimiter(true);
  strict.SetDelimitedText("a b; c");
  EXPECT_EQ(strict.ToVector(), (std::vector<std::string>{"a b", " c"}));
}

TEST(ClassesTest, NamesAndValues) {
  TStringList list;
  list.Add("Width=10");
  list.Add("Name=Газ");
  EXPECT_EQ(list.Values("name"), "Газ");
  EXPECT_EQ(list.Names(0), "Width");
  EXPECT_EQ(list.ValueFromIndex(0), "10");
  list.SetValues("Height", "5");
  list.SetValues("Width", "");
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"Name=Газ", "Height=5"}));
  EXPECT_EQ(list.IndexOfName("HEIGHT"), 1);
}

TEST(ClassesTest, SortedListsHonourDuplicatesAndCase) {
  TStringList list;
  list.SetSorted(true);
  for (const char* s : {"банан", "Apple", "apple", "Яблоко", "абрикос"}) list.Add(s);
  // Case-insensitive by default: "apple" is a duplicate and ignored.
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"Apple", "абрикос", "банан", "Яблоко"}));
  int index = -1;
  EXPECT_TRUE(list.Find("БАНАН", index));
  EXPECT_EQ(index, 2);
  EXPECT_THROW(list.Insert(0, "x"), EStringListError);
  list.SetDuplicates(dupError);
  EXPECT_THROW(list.Add("APPLE"), EStringListError);
  list.SetDuplicates(dupAccept);
  list.Add("APPLE");
  EXPECT_EQ(list.Count(), 5);
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("apple"), -1);
  try {
    list.Get(9);
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (9)");
  }
}

TEST(ClassesTest, ChangeEventsAreHeldDuringUpdate) {
  TStringList list;
  int changing = 0, changed = 0;
  list.OnChanging = [&](TObject*) { ++changing; };
  list.OnChange = [&](TObject*) { ++changed; };
  list.Add("a");
  EXPECT_EQ(changed, 1);
  list.BeginUpdate();
  list.Add("b");
  list.Add("c");
  list.Delete(0);
  EXPECT_EQ(changed, 1);
  list.EndUpdate();
  EXPECT_EQ(changed, 2);
  EXPECT_EQ(changing, 2);
  list.CustomSort([](TStringList* l, int i, int j) { return l->Get(j).compare(l->Get(i)); });
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"c", "b"}));
}

TEST(ClassesTest, OwnedObjectsAreFreedWithTheirStrings) {
  struct TCounted : TObject {
    int* count;
    explicit TCounted(int* c) : count(c) {}
    ~TCounted() override { ++*count; }
  };
  int freed = 0;
  {
    TStringList list;
    list.SetOwnsObjects(true);
    list.AddObject("a", new TCounted(&freed));
    list.AddObject("b", new TCounted(&freed));
    list.Delete(0);
    EXPECT_EQ(freed, 1);
  }
  EXPECT_EQ(freed, 2);
}

TEST(ClassesTest, FilesRoundTripAndSkipByteOrderMark) {
  std::string path = ::testing::TempDir() + "classes_strings.txt";
  TStringList out;
  out.Add("Первая");
  out.Add("second");
  out.SaveToFile(path);
  {
    TFileStream f(path, fmOpenReadWrite);
    std::string data(static_cast<size_t>(f.Size()), '\0');
    f.ReadBuffer(data.data(), f.Size());
    f.SetPosition(0);
    f.WriteString("\xEF\xBB\xBF" + data);
  }
  TStringList in;
  in.LoadFromFile(path);
  EXPECT_EQ(in.ToVector(), out.ToVector());
  EXPECT_THROW(in.LoadFromFile(path + ".missing"), EFOpenError);
}

}  // namespace

TEST(ClassesTest, SortKeepsEqualItemsInOrderAndIndexOfFindsTheFirstMatch) {
  TStringList list;
  TObject first, second, third;
  list.AddObject("beta", &first);
  list.AddObject("Яблоко", nullptr);
  list.AddObject("BETA", &second);
  list.AddObject("alpha", nullptr);
  list.AddObject("Beta", &third);
  list.AddObject("яблоко", nullptr);
  EXPECT_EQ(list.IndexOf("BeTa"), 0) << "unsorted lists compare without case";
  EXPECT_EQ(list.IndexOf("ЯБЛОКО"), 1);
  EXPECT_EQ(list.IndexOf("gamma"), -1);
  list.Sort();
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"alpha", "beta", "BETA", "Beta", "Яблоко", "яблоко"}));
  EXPECT_EQ(list.Objects(1), &first) << "items equal without case keep their order";
  EXPECT_EQ(list.Objects(2), &second);
  EXPECT_EQ(list.Objects(3), &third);
  list.SetCaseSensitive(true);
  list.Sort();
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"alpha", "beta", "Beta", "BETA", "яблоко", "Яблоко"}))
      << "with case, lower case comes first at the first differing letter";
  EXPECT_EQ(list.IndexOf("BETA"), 3);
}

TEST(ClassesTest, ComparisonDecidesAtTheFirstDifferingCharacterWhateverItsBytes) {
  struct Case {
    const char* a;
    const char* b;
    int sign;
  } cases[] = {
      {"Плотность", "плотность", 0},
      {"Плотность", "Плотномер", 1},    // "с" > "м", both two-byte letters sharing a lead byte
      {"абв\xD0", "абв\xD0\x90", -1},   // a cut letter compares as its byte (folded: ð) before "А"
      {"абв\xD0\x90", "абв\xD0", 1},
      {"abc", "abcd", -1},
      {"ABC", "abd", -1},
      {"item 10", "Item 9", -1},
      {"\xD0\x90x", "\xD0\xB0y", -1},   // "Аx" against "аy": equal letters apart from case, then x < y
  };
  for (const Case& c : cases) {
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(dupAccept);
    list.Add(c.a);
    list.Add(c.b);
    int ia = list.IndexOf(c.a), ib = list.IndexOf(c.b);
    if (c.sign == 0) {
      EXPECT_EQ(ia, ib) << c.a << " / " << c.b;
    } else {
      EXPECT_EQ(c.sign < 0, list[0] == c.a) << c.a << " / " << c.b;
    }
  }
}

TEST(ClassesTest, UnsortedIndexOfMatchesAsTheSortedLookupDoes) {
  struct Case {
    const char* item;
    const char* sought;
    bool sameWithoutCase, sameWithCase;
  } cases[] = {
      {"Item 1000123", "Item 1000123", true, true},
      {"Item 1000123", "item 1000123", true, false},
      {"Item 1000123", "Item 1000124", false, false},
      {"Coefficient of air", "COEFFICIENT OF AIR", true, false},  // parts after eight bytes
      {"Coefficient of air", "Coefficient of ai", false, false},
      {"abc", "abcd", false, false},
      {"", "", true, true},
      {"", "a", false, false},
      {"Плотность", "ПЛОТНОСТЬ", true, false},
      {"Плотность", "Плотномер", false, false},
      {"абв\xD0", "абв\xD0\x90", false, false},  // a cut letter against the whole one
      {"Density Плотность", "density плотность", true, false},
      {"a@", "A`", false, false},  // '@' and '`' are not letters
  };
  for (bool withCase : {false, true})
    for (const Case& c : cases) {
      bool same = withCase ? c.sameWithCase : c.sameWithoutCase;
      TStringList unsorted, sorted;
      unsorted.SetCaseSensitive(withCase);
      sorted.SetCaseSensitive(withCase);
      sorted.SetSorted(true);
      for (TStringList* list : {&unsorted, &sorted}) {
        list->Add("~other");
        list->Add(c.item);
      }
      EXPECT_EQ(unsorted.IndexOf(c.sought), same ? 1 : -1) << c.item << " / " << c.sought << " case " << withCase;
      EXPECT_EQ(sorted.IndexOf(c.sought) >= 0, same) << c.item << " / " << c.sought << " case " << withCase;
    }
}

TEST(ClassesTest, IndexOfUsesTheComparisonOfADescendant) {
  // Compares by the first letter only.
  class TInitialList : public TStringList {
  protected:
    int CompareStrings(const std::string& S1, const std::string& S2) const override {
      return (S1.empty() ? 0 : S1[0]) - (S2.empty() ? 0 : S2[0]);
    }
  };
  TInitialList list;
  list.Add("alpha");
  list.Add("beta");
  EXPECT_EQ(list.IndexOf("bravo"), 1);
  EXPECT_EQ(list.IndexOf("Beta"), -1);
}
