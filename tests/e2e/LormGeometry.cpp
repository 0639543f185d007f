// Screen points of the lorm program's main window for the end-to-end driver: the window is
// built headless on a screen of the given size exactly as the program builds it, and the
// centres of the controls the driver uses are printed as "name X Y" (menu items as they
// are placed when their menu is open).
//
//   e2e_lorm_geometry WIDTH HEIGHT
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/Unitabout.h"
#include "app/Unitconverting.h"
#include "editors/DizSpin.h"
#include "grid/VezIdid.h"
#include "office/ZorOzirazIrezi.h"
#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/rtl/MessageService.h"
#include "platform/win/WinMenu.h"
#include "platform/win/WinUser.h"

namespace {

void Print(const std::string& name, int x, int y) { std::printf("%s %d %d\n", name.c_str(), x, y); }

void PrintControl(const std::string& name, TControl* control, int x = -1, int y = -1) {
  TPoint p = control->ClientToScreen(TPoint{x < 0 ? control->Width() / 2 : x, y < 0 ? control->Height() / 2 : y});
  Print(name, p.X, p.Y);
}

void PrintCell(const std::string& name, TDavEvadurAvuz* grid, int col, int row) {
  TRect r = grid->CellRect(col, row);
  TPoint p = grid->ClientToScreen(TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
  Print(name, p.X, p.Y);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: e2e_lorm_geometry WIDTH HEIGHT\n");
    return 2;
  }
  // An empty folder of its own: the window's start-up reads and its close would write there.
  auto dir = std::filesystem::temp_directory_path() / ("lorm_geometry_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::filesystem::current_path(dir);
  int rc = 0;
  {
    THeadlessScope scope;
    scope.Backend().SetScreenSize(std::atoi(argv[1]), std::atoi(argv[2]));
    TMessageBoxRecorder boxes;
    Application->CreateForm(Form1);
    Application->CreateForm(FormAbout);
    TForm1* f = Form1;
    f->Show();
    scope.Backend().Pump();
    // Rows for four records, as the grids show them once the records are there.
    f->Grid1->SetRowCountEx(5);
    f->Grid->SetRowCountEx(5);
    TRect tab1 = f->ZorOzirazIrezi1->GetTabRect(0), tab2 = f->ZorOzirazIrezi1->GetTabRect(1);
    PrintControl("tab1", f->ZorOzirazIrezi1, (tab1.Left + tab1.Right) / 2, (tab1.Top + tab1.Bottom) / 2);
    PrintControl("tab2", f->ZorOzirazIrezi1, (tab2.Left + tab2.Right) / 2, (tab2.Top + tab2.Bottom) / 2);
    PrintControl("spinOldA", f->SpinOldA, 10);
    PrintControl("spinOldB", f->SpinOldB, 10);
    PrintControl("spinOldN", f->SpinOldN, 10);
    PrintControl("spinDensity", f->SpinDensityOfMix, 10);
    for (int row = 1; row <= 4; ++row) {
      PrintCell("share" + std::to_string(row), f->Grid1, 2, row);
      PrintCell("mixname" + std::to_string(row), f->Grid1, 0, row);
    }
    TRect a = f->SpinNewA->BoundsRect();
    TPoint a0 = f->SpinNewA->Parent()->ClientToScreen(TPoint{a.Left, a.Top});
    std::printf("newA %d %d %d %d\n", a0.X, a0.Y, a.Width(), a.Height());
    f->ZorOzirazIrezi1->SetActivePage(f->DizOfficePage2);
    scope.Backend().Pump();
    PrintControl("edit1", f->Edit1, 10);
    PrintControl("edit2", f->Edit2, 10);
    PrintControl("spin1", f->Spin1, 10);
    PrintControl("spin2", f->Spin2, 10);
    PrintControl("spin3", f->Spin3, 10);
    PrintControl("spin4", f->Spin4, 10);
    for (int row = 1; row <= 4; ++row) PrintCell("basename" + std::to_string(row), f->Grid, 0, row);
    // The menu bar's items, and the items of two of its menus while they are open.
    HWND h = f->Handle();
    HMENU bar = dynamic_cast<TMainMenu*>(f->Menu())->Handle();
    RECT r;
    const struct {
      const char* Name;
      int Index;
      TMenuItem* Menu;
      int Item;
      const char* ItemName;
    } menus[] = {{"menuFile", 0, f->File1, 3, "itemExit"}, {"menuCoef", 2, f->N3, 1, "itemRecalc"}};
    TRobot robot;
    for (const auto& m : menus) {
      if (!GetMenuItemRect(h, bar, UINT(m.Index), &r)) rc = 1;
      const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
      Print(m.Name, x, y);
      scope.Backend().WhenIdle([&] {
        RECT ir;
        if (!GetMenuItemRect(nullptr, m.Menu->Handle(), UINT(m.Item), &ir)) rc = 1;
        Print(m.ItemName, (ir.left + ir.right) / 2, (ir.top + ir.bottom) / 2);
        robot.AutoProcess = false;
        robot.PressKey(VK_ESCAPE);
        robot.PressKey(VK_ESCAPE);
        robot.AutoProcess = true;
      });
      robot.Click(nullptr, x, y);
      scope.Backend().ClearSteps();
    }
    Application->Restart();
    Form1 = nullptr;
    FormAbout = nullptr;
  }
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  std::filesystem::remove_all(dir);
  return rc;
}
