// The main window run headless: start-up, the grids, record editing, the key filter, the
// percent mode, the menus and shortcuts, the file dialogs and the recalculation.
#include "MainWindowFixture.h"

#include "grid/VezIdid.h"

namespace {

TEST_F(MainWindowTest, FirstStartInAnEmptyFolder) {
  StartProgram();
  ASSERT_NE(F, nullptr);
  EXPECT_EQ(FBoxes->Shown().size(), 2u);
  EXPECT_EQ(Rows(F->Grid), 2);
  CloseProgram();
  EXPECT_EQ(FileBytes("converting.cnv"), std::string(4, '\0'));
}

}  // namespace
