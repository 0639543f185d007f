// The string grid's column layout: the column state string and the column-size store in
// an INI file, read back by Python's configparser.
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "GridTestSupport.h"

namespace {

class ColumnStateTest : public GridTest {
protected:
  void Make(std::vector<int> Widths) {
    grid->SetFixedColsEx(0);
    grid->SetColCountEx(int(Widths.size()));
    grid->SetRowCountEx(2);
    for (int c = 0; c < int(Widths.size()); ++c) {
      grid->SetColWidths(c, Widths[size_t(c)]);
      grid->SetCellEx(c, 1, "c" + std::to_string(c));
    }
    grid->SetColumnOrder();
  }
  std::vector<std::string> Shown() {
    std::vector<std::string> v;
    for (int d = 0; d < grid->ColCount(); ++d) v.push_back(grid->GetCellEx(grid->RemapCol(d), 1));
    return v;
  }
  std::vector<int> Widths() {
    std::vector<int> v;
    for (int d = 0; d < grid->ColCount(); ++d) v.push_back(grid->ColWidths(d));
    return v;
  }
};

TEST_F(ColumnStateTest, StatesAsText) {
  Make({64, 80, 100});
  EXPECT_EQ(grid->ColumnStatesToString(), "3#64,80,100#0,1,2#1,1,1");
  grid->HideColumn(1);
  EXPECT_EQ(grid->ColumnStatesToString(), "3#64,100,64#0,1,2#1,0,1");
}

TEST_F(ColumnStateTest, ApplyingStates) {
  Make({64, 64, 64});
  grid->StringToColumnStates("3#50,60,70#2,0,1#1,1,1");
  EXPECT_EQ(Shown(), (std::vector<std::string>{"c2", "c0", "c1"}));
  EXPECT_EQ(Widths(), (std::vector<int>{50, 60, 70}));
  EXPECT_EQ(grid->ColumnOrder()->Items(), (std::vector<int>{2, 0, 1}));

  Make({64, 80, 100, 10, 10});
  grid->StringToColumnStates("3#64,80,100#0,1,2#1,1,1");
  EXPECT_EQ(Widths(), (std::vector<int>{64, 80, 100}));

  Make({20, 20, 20});
  grid->StringToColumnStates("3#64,100,64#0,1,2#1,0,1");
  EXPECT_TRUE(grid->IsHiddenColumn(1));
  EXPECT_EQ(Widths(), (std::vector<int>{64, 100}));
  EXPECT_EQ(grid->ColumnStatesToString(), "3#64,100,64#0,1,2#1,0,1");
}

TEST_F(ColumnStateTest, BadStatesRaiseAndChangeNothing) {
  for (const char* bad : {"3#50,60#0,1,2#1,1,1", "3#a,60,70#0,1,2#1,1,1", "3#50,60,70#0,0,1#1,1,1",
                          "3#50,60,70#0,1#1,1,1", "3#50,60,70#0,1,2#1,1", "x#1#0#1", "3#50,60,70#0,1,2"}) {
    Make({64, 80, 100});
    grid->HideColumn(2);
    std::string before = grid->ColumnStatesToString();
    EXPECT_THROW(grid->StringToColumnStates(bad), EVezIdidError) << bad;
    EXPECT_EQ(grid->ColumnStatesToString(), before) << bad;
  }
  // A text without "#" only forgets the order.
  grid->StringToColumnStates("none");
  EXPECT_EQ(grid->ColumnOrder()->Count(), 0);
}

// Runs python3 and returns what it printed.
std::string Python(const std::string& Code) {
  std::string cmd = "python3 -c '" + Code + "' 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(cmd.c_str(), "r"), pclose);
  std::string out;
  std::array<char, 256> buf{};
  while (pipe && fgets(buf.data(), int(buf.size()), pipe.get())) out += buf.data();
  return out;
}

class IniDir {
public:
  IniDir() : FOld(std::filesystem::current_path()) {
    FDir = std::filesystem::temp_directory_path() / ("lorm-colsize-" + std::to_string(getpid()));
    std::filesystem::create_directories(FDir);
    std::filesystem::current_path(FDir);
  }
  ~IniDir() {
    std::filesystem::current_path(FOld);
    std::filesystem::remove_all(FDir);
  }

private:
  std::filesystem::path FOld, FDir;
};

TEST_F(ColumnStateTest, WidthsKeptInAnIniFileBetweenRuns) {
  IniDir dir;
  auto setup = [](TDavEvadurAvuz* g) {
    g->ColumnSize()->Save = true;
    g->ColumnSize()->Key = "Grid";
    g->ColumnSize()->Section = "Cols";
    g->ColumnSize()->Location = clIniFile;
    g->SetColCountEx(2);
  };
  auto* first = new TDavEvadurAvuz(form);
  setup(first);
  first->SetColWidths(0, 33);
  first->SetColWidths(1, 77);
  delete first;
  EXPECT_EQ(Python("import configparser; c = configparser.ConfigParser(); c.read(\"Grid\"); "
                   "print(c[\"Cols\"][\"Col0\"], c[\"Cols\"][\"Col1\"])"),
            "33 77\n");
  auto* second = new TDavEvadurAvuz(form);
  setup(second);
  second->Loaded();
  EXPECT_EQ(second->ColWidths(0), 33);
  EXPECT_EQ(second->ColWidths(1), 77);
  second->ColumnSize()->Key.clear();
  second->SetColWidths(0, 5);
  second->SaveColSizes();  // no key: nothing written
  EXPECT_EQ(Python("import configparser; c = configparser.ConfigParser(); c.read(\"Grid\"); print(c[\"Cols\"][\"Col0\"])"),
            "33\n");
}

TEST_F(ColumnStateTest, ColumnPositionsInTheStore) {
  IniDir dir;
  Make({30, 40, 50});
  grid->ColumnSize()->Key = "Grid";
  grid->ColumnSize()->Section = "Cols";
  grid->ColumnSize()->Location = clIniFile;
  grid->LoadColPositions();  // no Pos0: the order stays
  EXPECT_EQ(Shown(), (std::vector<std::string>{"c0", "c1", "c2"}));
  grid->MoveColumn(0, 2);
  grid->SaveColPositions();
  EXPECT_EQ(Python("import configparser; c = configparser.ConfigParser(); c.read(\"Grid\"); "
                   "print(*[c[\"Cols\"][\"Pos%d\" % i] for i in range(3)])"),
            "1 2 0\n");
  grid->MoveColumn(2, 0);
  grid->HideColumn(0);  // original column 0 stays hidden wherever it lands
  grid->LoadColPositions();
  EXPECT_EQ(Shown(), (std::vector<std::string>{"c1", "c2"}));
  grid->UnHideColumnsAll();
  EXPECT_EQ(Shown(), (std::vector<std::string>{"c1", "c2", "c0"}));
  // Positions that do not name every column raise and change nothing.
  Python("import configparser; c = configparser.ConfigParser(); c.optionxform = str; c.read(\"Grid\"); "
         "c[\"Cols\"][\"Pos1\"] = \"1\"; c.write(open(\"Grid\", \"w\"))");
  EXPECT_THROW(grid->LoadColPositions(), EVezIdidError);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"c1", "c2", "c0"}));
}

}  // namespace
